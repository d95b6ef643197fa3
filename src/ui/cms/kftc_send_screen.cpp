#include "ui/cms/kftc_send_screen.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "cms/transmission/eb11_summary.h"
#include "cms/transmission/open_transmission.h"
#include "core/session_context.h"
#include "db/server_clock.h"
#include "platform/interaction.h"
#include "ui/cms/kftc_list_grid.h"
#include "ui/cms/realtime_screen.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/period_row.h"
#include "ui/worker_call.h"

namespace qx::ui {

namespace {

// A session ended by this code may be closed even while a call is running.
constexpr int16_t kSessionGoneCode = 15;
constexpr int kAnimationMs = 250;

std::vector<StatusColumn> Columns(const KftcList& list) {
    return KftcListColumns(list);
}

QTableWidget* Grid(const char* name, QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QWidget* Titled(const QString& title, QWidget* content, QLabel** caption = nullptr) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    if (caption) {
        *caption = new QLabel(box);
        layout->addWidget(*caption);
    }
    layout->addWidget(content);
    return box;
}

}  // namespace

KftcSendScreen::KftcSendScreen(Database& db, SessionContext& session, Interaction& ui,
                               KftcLibrary& lib, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmFileSend_kftc");
    setWindowTitle(QString::fromUtf8(kKftcScreenTitle));
    setModal(true);
    worker_ = std::make_unique<WorkerInteraction>(this, ui_, [this](const QString& text) {
        progressText_ = text;
        progress_->setText(text);
    });
    transfer_ = std::make_unique<KftcTransfer>(db_, session_, *worker_, lib);

    auto* layout = new QVBoxLayout(this);
    progress_ = new QLabel(this);
    progress_->setObjectName("lblProgress");
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setMinimumHeight(56);
    progress_->setStyleSheet(
        "QLabel { background: #fff8d8; border: 1px solid #c8a800; font-weight: bold; }");
    progress_->hide();
    layout->addWidget(progress_);
    animation_ = new QTimer(this);
    animation_->setObjectName("tmrProgress");
    connect(animation_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % 4;
        progress_->setText(progressText_ + QString(" ") + QString(frame_, QChar(0x25CF)));
    });

    const PeriodRow row = NewPeriodRow(this, QStringLiteral("조회기간"));
    auto* period = row.row;
    from_ = row.from;
    to_ = row.to;
    from_->setDate(QDate::currentDate().addDays(-7));
    to_->setDate(QDate::currentDate());
    period->addWidget(new QLabel(QStringLiteral("수신구분"), this));
    receiveKind_ = new QComboBox(this);
    receiveKind_->setObjectName("cboRecvKind");
    receiveKind_->addItems(
        {QStringLiteral("전체"), QStringLiteral("미수신"), QStringLiteral("수신완료")});
    period->addWidget(receiveKind_);
    period->addStretch(1);
    layout->addLayout(period);

    auto* actions = new QGridLayout;
    actions->addWidget(button("cmdSend", "파일송신", &KftcSendScreen::send), 0, 0);
    actions->addWidget(button("cmdSendResult", "송신결과조회", &KftcSendScreen::showSendResults), 0,
                       1);
    actions->addWidget(
        button("cmdCancelList", "송신취소가능조회", &KftcSendScreen::showCancellable), 0, 2);
    actions->addWidget(button("cmdCancel", "송신취소", &KftcSendScreen::cancelSend), 0, 3);
    actions->addWidget(button("cmdRecvList", "수신가능조회", &KftcSendScreen::showReceivable), 0,
                       4);
    actions->addWidget(button("cmdRecv", "파일수신", &KftcSendScreen::receive), 0, 5);
    actions->addWidget(
        button("cmdRecvExpired", "기간만료파일수신", &KftcSendScreen::receiveExpired), 1, 0);
    actions->addWidget(
        button("cmdReverseList", "역수신가능조회", &KftcSendScreen::showReverseReceivable), 1, 1);
    actions->addWidget(button("cmdReverse", "역수신", &KftcSendScreen::reverseReceive), 1, 2);
    actions->addWidget(button("cmdDeposit", "입금통지서조회", &KftcSendScreen::depositNotice), 1,
                       3);
    actions->addWidget(button("cmdMonthLimit", "월한도조회", &KftcSendScreen::monthLimit), 1, 4);
    actions->addWidget(button("cmdRefresh", "새로고침", &KftcSendScreen::refreshLocal), 1, 5);
    actions->addWidget(button("cmdRealtime", "실시간 조회/등록", &KftcSendScreen::openRealtime), 0,
                       6);
    layout->addLayout(actions);

    sendFiles_ = Grid("grdSendFiles", this);
    receivedFiles_ = Grid("grdRecvFiles", this);
    notices_ = Grid("grdNotice", this);
    held_ = Grid("grdKftc", this);
    auto* lists = new QGridLayout;
    lists->addWidget(Titled(QStringLiteral("송신할 파일"), sendFiles_), 0, 0);
    lists->addWidget(Titled(QStringLiteral("수신된 파일"), receivedFiles_), 1, 0);
    lists->addWidget(Titled(QStringLiteral("금결원 내역"), held_, &heldCaption_), 0, 1);
    heldCaption_->setObjectName("lblKftcList");
    lists->addWidget(Titled(QStringLiteral("금결원 공지"), notices_), 1, 1);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(1, 5);
    layout->addLayout(lists, 1);
    for (auto [grid, title] :
         {std::pair{sendFiles_, "송신할파일목록"}, std::pair{receivedFiles_, "수신된파일목록"},
          std::pair{notices_, "금결원공지"}, std::pair{held_, "금결원내역"}})
        AttachExcelExport(*grid, QString::fromUtf8(title), db_, session_, ui_);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName("cmdClose");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(1280, 760);
}

KftcSendScreen::~KftcSendScreen() {
    if (started_ && !busy_) transfer_->Close();
}

QPushButton* KftcSendScreen::button(const char* name, const char* text,
                                    void (KftcSendScreen::*slot)()) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(name);
    // Enter never sends, cancels or receives: only a click does.
    b->setAutoDefault(false);
    b->setDefault(false);
    connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
    return b;
}

void KftcSendScreen::setPause(std::function<void(int ms)> pause) {
    transfer_->pause = std::move(pause);
}

bool KftcSendScreen::isBusy() const {
    return busy_;
}

void KftcSendScreen::setBusy(bool busy) {
    busy_ = busy;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w != progress_ && w->parentWidget() == this) w->setEnabled(!busy);
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QTableWidget*>(w)) w->setEnabled(!busy);
    }
    if (busy) {
        progress_->setText(progressText_);
        progress_->show();
        animation_->start(kAnimationMs);
    } else {
        animation_->stop();
        progress_->hide();
        progressText_.clear();
    }
}

bool KftcSendScreen::runBusy(const std::function<void()>& work) {
    if (busy_) return false;
    setBusy(true);
    std::exception_ptr failure;
    try {
        RunOffThread(work);
    } catch (...) {
        failure = std::current_exception();
    }
    lastResult_ = transfer_->lastResult();
    setBusy(false);
    return Guarded(ui_, [&] {
        if (failure) std::rethrow_exception(failure);
    });
}

bool KftcSendScreen::start() {
    bool ok = false;
    if (!runBusy([&] {
            EnsureKftcAddservTable(db_, session_.institution_number);
            ok = transfer_->Start();
        }) ||
        !ok)
        return false;
    started_ = true;
    std::optional<KftcList> notices;
    runBusy([&] { notices = transfer_->Notices(); });
    if (notices) {
        SetUpStatusGrid(notices_, Columns(*notices));
        FillStatusGrid(notices_, Columns(*notices), notices->rows);
    }
    refreshLocal();
    return true;
}

void KftcSendScreen::done(int result) {
    if (busy_) {
        if (lastResult_ != kSessionGoneCode) {
            ui_.inform(kBusyClosingText, kDefaultTitle);
            return;
        }
        QDialog::done(result);
        return;
    }
    if (started_) {
        started_ = false;
        runBusy([this] { transfer_->Close(); });
    }
    QDialog::done(result);
}

std::string KftcSendScreen::from() const {
    return S(from_->date().toString("yyyyMMdd"));
}

std::string KftcSendScreen::to() const {
    return S(to_->date().toString("yyyyMMdd"));
}

void KftcSendScreen::fillLocal(QTableWidget* grid, const KftcList& list, bool checkable) {
    const auto columns = Columns(list);
    SetUpStatusGrid(grid, columns);
    FillStatusGrid(grid, columns, list.rows);
    if (!checkable) return;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QTableWidgetItem* item = grid->item(r, 0);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // The tick box takes room beside the name: the column grows with it.
    grid->resizeColumnToContents(0);
}

void KftcSendScreen::refreshLocal() {
    KftcList toSend, received;
    if (!runBusy([&] {
            toSend = transfer_->LocalSendList();
            received = transfer_->LocalReceivedList();
        }))
        return;
    fillLocal(sendFiles_, toSend, true);
    fillLocal(receivedFiles_, received, false);
}

void KftcSendScreen::showList(Shown which, const std::optional<KftcList>& list) {
    static const char* const captions[] = {"", "파일송신 결과확인내역", "송신취소 가능파일내역",
                                           "역수신 파일 가능내역", "파일 수신 가능내역"};
    if (!list) {
        held_->setRowCount(0);
        shown_ = Shown::None;
        heldCaption_->clear();
        return;
    }
    shown_ = which;
    heldCaption_->setText(QString::fromUtf8(captions[static_cast<int>(which)]));
    SetUpStatusGrid(held_, Columns(*list));
    FillStatusGrid(held_, Columns(*list), list->rows);
}

void KftcSendScreen::showFetched(Shown which,
                                 const std::function<std::optional<KftcList>()>& fetch) {
    std::optional<KftcList> list;
    if (runBusy([&] { list = fetch(); })) showList(which, list);
}

void KftcSendScreen::showSendResults() {
    showFetched(Shown::SendResults, [this] { return transfer_->SendResults(from(), to()); });
}

void KftcSendScreen::showCancellable() {
    showFetched(Shown::Cancellable, [this] { return transfer_->Cancellable(from(), to()); });
}

void KftcSendScreen::showReverseReceivable() {
    showFetched(Shown::ReverseReceivable,
                [this] { return transfer_->ReverseReceivable(from(), to()); });
}

void KftcSendScreen::showReceivable() {
    const auto kind = static_cast<ReceiveKind>(receiveKind_->currentIndex());
    showFetched(Shown::Receivable,
                [this, kind] { return transfer_->Receivable(from(), to(), kind); });
}

void KftcSendScreen::fetchShown(Shown which) {
    switch (which) {
        case Shown::SendResults:
            showSendResults();
            break;
        case Shown::Cancellable:
            showCancellable();
            break;
        case Shown::ReverseReceivable:
            showReverseReceivable();
            break;
        case Shown::Receivable:
            showReceivable();
            break;
        case Shown::None:
            break;
    }
}

void KftcSendScreen::refreshShown() {
    fetchShown(shown_);
}

bool KftcSendScreen::selectedHeld(Shown which, std::string& file, std::string& fileDate) {
    // The action works on the list it belongs to: shown first when another
    // list is on the screen, so that the person picks a row of it.
    if (shown_ != which) {
        fetchShown(which);
        if (shown_ == which) ui_.inform(kNoFileChosenText, kDefaultTitle);
        return false;
    }
    const int row = held_->currentRow();
    if (row < 0 || !held_->item(row, 1) || !held_->item(row, 3)) {
        ui_.inform(kNoFileChosenText, kDefaultTitle);
        return false;
    }
    file = S(held_->item(row, 1)->text());
    fileDate = S(held_->item(row, 3)->text().remove('-'));
    return true;
}

void KftcSendScreen::send() {
    std::vector<std::string> files;
    for (int r = 0; r < sendFiles_->rowCount(); ++r)
        if (sendFiles_->item(r, 0)->checkState() == Qt::Checked)
            files.push_back(S(sendFiles_->item(r, 0)->text()));
    if (files.empty()) {
        ui_.inform(kNoFileChosenText, kDefaultTitle);
        return;
    }
    runBusy([&] { transfer_->Send(files); });
    refreshLocal();
    refreshShown();
}

std::optional<std::string> KftcSendScreen::actOnHeld(Shown which, const HeldAction& act) {
    std::string file, date;
    if (!selectedHeld(which, file, date)) return std::nullopt;
    bool done = false;
    runBusy([&] { done = act(file, date); });
    return done ? std::optional<std::string>(file) : std::nullopt;
}

void KftcSendScreen::cancelSend() {
    if (actOnHeld(Shown::Cancellable, [this](const std::string& file, const std::string& date) {
            return transfer_->Cancel(file, date);
        }))
        showCancellable();
}

void KftcSendScreen::receive() {
    receiveChosen(&KftcTransfer::Receive);
}

void KftcSendScreen::receiveExpired() {
    const auto file = receiveChosen(&KftcTransfer::ReceiveExpired);
    // The expired file is never applied: its list is what the person works
    // from, so they are told where it is.
    if (file && !transfer_->expiredListPath().empty())
        ui_.inform(ExpiredListSavedText(*file, transfer_->expiredListPath()), kDefaultTitle);
}

std::optional<std::string> KftcSendScreen::receiveChosen(
    bool (KftcTransfer::*receiveFile)(const std::string&, const std::string&)) {
    const auto file = actOnHeld(Shown::Receivable,
                                [this, receiveFile](const std::string& f, const std::string& date) {
                                    return (transfer_.get()->*receiveFile)(f, date);
                                });
    if (!file) return std::nullopt;
    refreshLocal();
    showReceivable();
    return file;
}

void KftcSendScreen::reverseReceive() {
    if (actOnHeld(Shown::ReverseReceivable,
                  [this](const std::string& file, const std::string& date) {
                      return transfer_->ReverseReceive(file, date);
                  }))
        showReverseReceivable();
}

void KftcSendScreen::depositNotice() {
    actOnHeld(Shown::Receivable, [this](const std::string& file, const std::string& date) {
        return transfer_->DepositNotice(file, date);
    });
}

void KftcSendScreen::monthLimit() {
    runBusy([&] {
        const std::string yymmdd = ReadServerDate(db_, session_);
        transfer_->MonthLimit("20" + yymmdd.substr(0, 2) + yymmdd.substr(3, 2));
    });
}

void KftcSendScreen::openRealtime() {
    if (busy_ || !started_) return;
    RealtimeScreen screen(db_, session_, ui_, *transfer_, this);
    screen.exec();
}

void ShowKftcSendScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent) {
    Guarded(ui, [&] {
        KftcLibrary lib;
        std::error_code ec;
        const std::string path = KftcLibraryPath(session);
        if (!std::filesystem::exists(path, ec) || !lib.load(path)) {
            ui.inform(kKftcLibraryMissingText, kDefaultTitle);
            return;
        }
        KftcSendScreen screen(db, session, ui, lib, parent);
        if (!screen.start()) return;
        screen.exec();
    });
}

std::optional<std::string> QueryKftcEb11Summary(Database& db, SessionContext& session,
                                                Interaction& ui, QWidget* window) {
    return GuardedValue(ui, [&]() -> std::optional<std::string> {
        KftcLibrary lib;
        std::error_code ec;
        const std::string path = KftcLibraryPath(session);
        if (!std::filesystem::exists(path, ec) || !lib.load(path)) {
            ui.inform(kKftcLibraryMissingText, kDefaultTitle);
            return std::nullopt;
        }
        WorkerInteraction worker(window, ui,
                                 [&ui](const QString& text) { ui.progress(S(text), 0, 0); });
        std::optional<std::string> text;
        window->setEnabled(false);
        try {
            RunOffThread([&] { text = KftcEb11Summary(db, session, worker, lib); });
        } catch (...) {
            window->setEnabled(true);
            throw;
        }
        window->setEnabled(true);
        return text;
    });
}

}  // namespace qx::ui
