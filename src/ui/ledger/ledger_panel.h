// The member card's ledger panel ("원장작업"): books a sale or a collection
// for the member on the card and cancels the row chosen in its list.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class LedgerPanel : public QWidget {
    Q_OBJECT
  public:
    LedgerPanel(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);
    // Shows the member's ledger; 0 empties the panel.
    void setMember(long long member);
    bool book();
    bool cancelSelected();
    QTableWidget* table() const { return table_; }

  signals:
    // The member's totals changed.
    void booked();

  private:
    void reload();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    long long member_ = 0;
    QComboBox* kind_;
    QLineEdit *date_, *amount_, *item_, *memo_;
    QTableWidget* table_;
    std::vector<long long> rows_;  // pay_inx of each grid row
};

}  // namespace qx::ui
