// frmFileSend_kftc "금결원 파일 송수신": the day's files sent to the clearing
// house, its lists (send results, cancellable sends, reverse receipts,
// receivable files, notices) and the files received into the exchange
// folders. Every library call runs on a worker thread so that the window
// keeps painting; while one runs the window is busy and refuses to close.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cms/transmission/kftc_transfer.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class WorkerInteraction;

inline constexpr const char* kKftcScreenTitle = "금결원 파일 송수신";
inline constexpr const char* kBusyClosingText = "작업 중 화면 종료 불가";

class KftcSendScreen : public QDialog {
    Q_OBJECT
  public:
    // The clearing-house list the right grid shows.
    enum class Shown { None, SendResults, Cancellable, ReverseReceivable, Receivable };

    KftcSendScreen(Database& db, SessionContext& session, Interaction& ui, KftcLibrary& lib,
                   QWidget* parent = nullptr);
    ~KftcSendScreen() override;

    // Institution code check, CP_CMSInit and the first lists. False: the
    // screen must not be shown (the person has been told why).
    bool start();
    bool isBusy() const;
    Shown shown() const { return shown_; }
    // Pauses between a send and its confirmation (tests make them instant).
    void setPause(std::function<void(int ms)> pause);

    void send();
    void showSendResults();
    void showCancellable();
    void showReverseReceivable();
    void showReceivable();
    void cancelSend();
    void receive();
    void receiveExpired();
    // Receives the chosen receivable file the way `receiveFile` does; the
    // file's name when it was received.
    std::optional<std::string> receiveChosen(bool (KftcTransfer::*receiveFile)(const std::string&,
                                                                               const std::string&));
    void reverseReceive();
    void depositNotice();
    void monthLimit();
    void refreshLocal();
    // The real-time inquiry and registration, on this screen's session.
    void openRealtime();

  public slots:
    void done(int result) override;

  private:
    // Runs `work` on a worker thread with the window busy, and returns when
    // it has finished; the event loop keeps running meanwhile. False when
    // another operation is running or the work failed (the person was told).
    bool runBusy(const std::function<void()>& work);
    void setBusy(bool busy);
    void showList(Shown which, const std::optional<KftcList>& list);
    // The list `fetch` asks the clearing house for, shown as `which`.
    void showFetched(Shown which, const std::function<std::optional<KftcList>()>& fetch);
    // Asks the clearing house for the list `which` (None: nothing).
    void fetchShown(Shown which);
    void refreshShown();
    // Runs `act` on the file and date of the chosen row of the list `which`
    // (shown first when it is not); the file's name when `act` succeeded.
    using HeldAction = std::function<bool(const std::string& file, const std::string& fileDate)>;
    std::optional<std::string> actOnHeld(Shown which, const HeldAction& act);
    // The selected row of the clearing-house list when it shows `which`:
    // file name and file date (yyyymmdd); false (person told) otherwise.
    bool selectedHeld(Shown which, std::string& file, std::string& fileDate);
    void fillLocal(QTableWidget* grid, const KftcList& list, bool checkable);
    QPushButton* button(const char* name, const char* text, void (KftcSendScreen::*slot)());
    std::string from() const;
    std::string to() const;

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::unique_ptr<WorkerInteraction> worker_;
    std::unique_ptr<KftcTransfer> transfer_;
    bool started_ = false;
    bool busy_ = false;
    int16_t lastResult_ = 0;
    Shown shown_ = Shown::None;

    QLabel* progress_ = nullptr;
    QTimer* animation_ = nullptr;
    int frame_ = 0;
    QString progressText_;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QComboBox* receiveKind_ = nullptr;
    QLabel* heldCaption_ = nullptr;
    QTableWidget* sendFiles_ = nullptr;
    QTableWidget* receivedFiles_ = nullptr;
    QTableWidget* notices_ = nullptr;
    QTableWidget* held_ = nullptr;
};

// Opens the screen modally: the library loaded from the program folder
// (missing: the message of the transmission path, nothing else), started,
// shown, closed with its logout.
void ShowKftcSendScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);

// The main window's EB11 line through the library, asked off the window's
// thread while `window` is disabled; nullopt when nothing could be asked.
std::optional<std::string> QueryKftcEb11Summary(Database& db, SessionContext& session,
                                                Interaction& ui, QWidget* window);

}  // namespace qx::ui
