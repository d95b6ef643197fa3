// "실시간 조회/등록" inside the KFTC screen: the kind of request, the member
// search that fills a request, the request fields, the results kept by the
// clearing house for a period and the program's own request history. It
// works on the KFTC screen's library session; every call runs off the
// window's thread while the window is busy.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "cms/realtime/realtime_service.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class WorkerInteraction;

inline constexpr const char* kRealtimeScreenTitle = "실시간 조회/등록";

class RealtimeScreen : public QDialog {
    Q_OBJECT
  public:
    RealtimeScreen(Database& db, SessionContext& session, Interaction& ui, KftcTransfer& transfer,
                   QWidget* parent = nullptr);
    ~RealtimeScreen() override;

    bool isBusy() const { return busy_; }
    // The outcome of the last request (row 0 when refused before sending).
    const RealtimeOutcome& lastOutcome() const { return last_; }

    void searchMembers();
    void request();
    void showResults();
    void showHistory();

  public slots:
    void done(int result) override;

  private:
    bool runBusy(const std::function<void()>& work);
    void fillFromMember(int row);
    QComboBox* cmsStatusChoice(const char* name);

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::unique_ptr<WorkerInteraction> worker_;
    std::unique_ptr<RealtimeService> service_;
    bool busy_ = false;
    RealtimeOutcome last_;

    QLabel* progress_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* searchField_ = nullptr;
    QLineEdit* searchText_ = nullptr;
    QComboBox* searchCms_ = nullptr;
    QTableWidget* members_ = nullptr;
    QLineEdit* bank_ = nullptr;
    QLineEdit* account_ = nullptr;
    QLineEdit* holder_ = nullptr;
    QLineEdit* payer_ = nullptr;
    QLineEdit* name_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QTableWidget* results_ = nullptr;
    QComboBox* historyKind_ = nullptr;
    QComboBox* historyBefore_ = nullptr;
    QComboBox* historyAfter_ = nullptr;
    QLineEdit* historySearch_ = nullptr;
    QTableWidget* history_ = nullptr;
};

}  // namespace qx::ui
