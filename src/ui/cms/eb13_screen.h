// frmDoc31: the institution's EB13 files with their transmission and result
// states, and the way to the EB13 creation.
#pragma once

#include "ui/cms/cms_file_screen.h"

class QLabel;
class QPushButton;
class QTimer;

namespace qx::ui {

class Eb13CreationDialog;

class Eb13Screen : public CmsFileScreen {
    Q_OBJECT
  public:
    Eb13Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);

    void refresh() override;
    // Opens the creation window when a member awaits a request; it closes
    // with the question of going back, as opened from here.
    Eb13CreationDialog* openCreation();
    // Applies every EB14 of the exchange folder, then lists again.
    void applyEb14();
    // Ctrl+F10: the maintenance password, then the EB13 rollback screen.
    void openRollback() override;
    void showDetail() override;
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

  protected:
    void addActions(QHBoxLayout* actions) override;

  private:
    // The re-query under way.
    QPushButton* requery_ = nullptr;
    QLabel* authWait_ = nullptr;
    QTimer* authPoll_ = nullptr;
    long long authKey_ = 0;
    int authPollMs_ = 0, authLimitMs_ = 0, authWaitedMs_ = 0;
    void pollAuth();
};

// frmDoc31 in a window of its own over `parent`, until the user closes it.
void ShowEb13Window(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);

}  // namespace qx::ui
