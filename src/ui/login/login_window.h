// The program's entry window: id, password, the latest notices.
#pragma once

#include <QWidget>
#include <vector>

#include "session/notices.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qx {
class Database;
class ProfileIni;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class GuiInteraction;
class SplashWindow;

class LoginWindow : public QWidget {
    Q_OBJECT
  public:
    LoginWindow(Database& db, SessionContext& session, const ProfileIni& ini, GuiInteraction& ui,
                QWidget* parent = nullptr);

    void setNotices(std::vector<Notice> notices);
    // Shows the window in the middle of its screen.
    void showCentred();
    void setSavedCredentials(const QString& id, const QString& password);
    // Puts launch credentials in the boxes and logs in at once.
    void loginWith(const QString& id, const QString& password);

    // True once the login and the whole start-up after it have succeeded.
    bool succeeded() const { return succeeded_; }
    // True when the start-up after an accepted login failed: the program ends.
    bool abandoned() const { return abandoned_; }
    const std::string& newestNotice() const { return newestNotice_; }
    const std::vector<Notice>& notices() const { return notices_; }

  signals:
    void loggedIn();
    void noticeChosen(const QString& number, const QString& subject);

  private:
    void login();
    void attemptLogin();
    void onNoticeClicked(QTreeWidgetItem* item);
    void abandonStartUp();

    Database& db_;
    SessionContext& session_;
    const ProfileIni& ini_;
    GuiInteraction& ui_;
    QLineEdit* idBox_;
    QLineEdit* passwordBox_;
    QPushButton* loginButton_;
    QTreeWidget* noticeList_;
    std::vector<Notice> notices_;
    std::string newestNotice_;
    bool succeeded_ = false;
    bool abandoned_ = false;
};

}  // namespace qx::ui
