// frmDoc31: the institution's EB13 files with their transmission and result
// states, and the way to the EB13 creation.
#pragma once

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb13CreationDialog;

class Eb13Screen : public QWidget {
    Q_OBJECT
  public:
    Eb13Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);

    void refresh();
    // Opens the creation window when a member awaits a request; it closes
    // with the question of going back, as opened from here.
    Eb13CreationDialog* openCreation();
    // Applies every EB14 of the exchange folder, then lists again.
    void applyEb14();
    // Ctrl+F10: the maintenance password, then the EB13 rollback screen.
    void openRollback();
    // The detail grid: the selected file's rows, or the search's rows.
    void showDetail();
    // The SMS button: frmLMS2 for the members of the selected file.
    void openSms();
    // Chooses the first file of the list (the newest), when there is one.
    void selectNewestFile();
    // The authentication re-query of the selected detail row: the gates,
    // the request, then the answer looked for on a timer until the limit.
    void requeryAuth();
    void setAuthRequeryTiming(int pollMilliseconds, int limitMilliseconds);

  signals:
    void ei13ScreenWanted();

  private:
    void toggleSearch();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* search_;
    QPushButton* searchToggle_;
    QLabel* waiting_;
    QTableWidget* files_;
    QLabel* detailTitle_;
    QComboBox* filter_;
    QTableWidget* details_;
    bool searchSet_ = false;
    // The re-query under way.
    QPushButton* requery_;
    QLabel* authWait_;
    QTimer* authPoll_;
    long long authKey_ = 0;
    int authPollMs_ = 0, authLimitMs_ = 0, authWaitedMs_ = 0;
    void pollAuth();
};

// frmDoc31 in a window of its own over `parent`, until the user closes it.
void ShowEb13Window(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);

}  // namespace qx::ui
