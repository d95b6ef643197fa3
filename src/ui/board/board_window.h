// frmBoard: one service notice, shown modal and centred. The notice page comes
// from the service's web server.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QTextBrowser;

namespace qx::ui {

class BoardWindow : public QDialog {
    Q_OBJECT
  public:
    explicit BoardWindow(QWidget* parent = nullptr);
    // Shows notice `number` with `caption`, read from the web server at
    // `webHost`; an empty page when the server cannot be reached.
    void showNotice(const QString& caption, const std::string& webHost, const QString& number);

  private:
    QLabel* caption_;
    QTextBrowser* view_;
};

}  // namespace qx::ui
