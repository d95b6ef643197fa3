// frmBoard: one service notice, shown modal and centred.
#pragma once

#include <QDialog>

class QLabel;
class QTextBrowser;

namespace qx::ui {

class BoardWindow : public QDialog {
    Q_OBJECT
  public:
    explicit BoardWindow(QWidget* parent = nullptr);
    void showNotice(const QString& caption, const QString& html);

  private:
    QLabel* caption_;
    QTextBrowser* view_;
};

}  // namespace qx::ui
