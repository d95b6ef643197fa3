// Keeps the first columns of a table in place while the rest scroll
// sideways: a second view over the same model lies on top of them.
#pragma once

#include <QObject>

class QTableView;

namespace qx::ui {

class FrozenColumns : public QObject {
    Q_OBJECT
  public:
    FrozenColumns(QTableView* table, int count);
    // Call after the table's columns or rows changed.
    void refresh();
    int count() const { return count_; }
    QTableView* overlay() const { return frozen_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();

    QTableView* table_;
    QTableView* frozen_;
    int count_;
};

}  // namespace qx::ui
