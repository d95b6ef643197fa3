// frmFileSend: a relay institution's created EB13/EB21 files handed to the
// relay (sdsi), the files the relay refused, and the watch that waits until
// the relay has taken what was sent. frmCreditCardSend is the same screen on
// the card files and the card relay (aegis).
#pragma once

#include <QDialog>
#include <vector>

#include "cms/transmission/relay_send.h"

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

inline constexpr const char* kRelayScreenTitle = "파일 송신";
inline constexpr const char* kCardScreenTitle = "신용카드 파일 송신";
inline constexpr const char* kRelayProgressText =
    "파일처리중입니다.\r\n잠시만 기다려 주십시오.\r\n송신작업은 최대 1분이 소요됩니다.";

class RelaySendScreen : public QDialog {
    Q_OBJECT
  public:
    RelaySendScreen(Database& db, SessionContext& session, Interaction& ui,
                    RelayChannel channel = RelayChannel::Files, QWidget* parent = nullptr);

    // The institution code check; false: the screen must not be shown.
    bool start();
    void refresh();
    void send();
    // One tick of the watch; it looks at the runs from its second tick on.
    void watchTick();
    bool watching() const;
    void setWatchInterval(int ms);

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    RelayChannel channel_;
    QLabel* progress_ = nullptr;
    QTableWidget* sendable_ = nullptr;
    QTableWidget* failed_ = nullptr;
    QPushButton* send_ = nullptr;
    QTimer* watch_ = nullptr;
    int ticks_ = 0;
    std::vector<long long> pending_;
};

void ShowRelaySendScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent,
                         RelayChannel channel = RelayChannel::Files);

}  // namespace qx::ui
