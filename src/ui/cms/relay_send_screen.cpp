#include "ui/cms/relay_send_screen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "cms/transmission/kftc_transfer.h"
#include "cms/workspace/cms_status.h"
#include "core/session_context.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

constexpr int kWatchMs = 1000;

std::vector<StatusColumn> RelayColumns(bool withError) {
    std::vector<StatusColumn> columns;
    const int widths[] = {1400, 1000, 900, 900, 900, 1300, 1200, 3000};
    const int aligns[] = {kAlignCentre, kAlignCentre, kAlignRight,  kAlignRight,
                          kAlignRight,  kAlignRight,  kAlignCentre, kAlignLeft};
    for (std::size_t i = 0; i < (withError ? 8u : 7u); ++i)
        columns.push_back({kRelayListHeaders[i], widths[i], aligns[i]});
    return columns;
}

void Fill(QTableWidget* grid, std::vector<std::vector<std::string>> rows, bool withError,
          bool checkable) {
    for (auto& row : rows)
        for (std::size_t c = 2; c <= 5 && c < row.size(); ++c) row[c] = FormatAmount(row[c]);
    const auto columns = RelayColumns(withError);
    SetUpStatusGrid(grid, columns);
    FillStatusGrid(grid, columns, rows);
    if (!checkable) return;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QTableWidgetItem* item = grid->item(r, 0);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // The tick box takes room beside the name: the column grows with it.
    grid->resizeColumnToContents(0);
}

QPushButton* Button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Enter never sends: only a click does.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace

RelaySendScreen::RelaySendScreen(Database& db, SessionContext& session, Interaction& ui,
                                 RelayChannel channel, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), channel_(channel) {
    const bool cards = channel_ == RelayChannel::Cards;
    setObjectName(cards ? "frmCreditCardSend" : "frmFileSend");
    setWindowTitle(QString::fromUtf8(cards ? kCardScreenTitle : kRelayScreenTitle));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    progress_ = new QLabel(QString::fromUtf8(kRelayProgressText), this);
    progress_->setObjectName("lblProgress");
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setMinimumHeight(64);
    progress_->setStyleSheet(
        "QLabel { background: #fff8d8; border: 1px solid #c8a800; font-weight: bold; }");
    progress_->hide();
    layout->addWidget(progress_);
    layout->addWidget(new QLabel(QStringLiteral("전송가능 파일"), this));
    sendable_ = new QTableWidget(this);
    sendable_->setObjectName("grdSendable");
    sendable_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(sendable_, 2);
    layout->addWidget(new QLabel(QStringLiteral("전송오류/전송불가 파일"), this));
    failed_ = new QTableWidget(this);
    failed_->setObjectName("grdFailed");
    failed_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(failed_, 1);
    AttachExcelExport(*sendable_, QStringLiteral("전송가능파일"), db_, session_, ui_);
    AttachExcelExport(*failed_, QStringLiteral("전송오류파일"), db_, session_, ui_);

    auto* buttons = new QHBoxLayout;
    send_ = Button("cmdSend", QStringLiteral("파일송신"), this);
    auto* refresh = Button("cmdRefresh", QStringLiteral("새로고침"), this);
    auto* close = Button("cmdClose", QStringLiteral("닫기"), this);
    buttons->addWidget(send_);
    buttons->addWidget(refresh);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(send_, &QPushButton::clicked, this, &RelaySendScreen::send);
    connect(refresh, &QPushButton::clicked, this, &RelaySendScreen::refresh);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    watch_ = new QTimer(this);
    watch_->setObjectName("tmrWatch");
    watch_->setInterval(kWatchMs);
    connect(watch_, &QTimer::timeout, this, &RelaySendScreen::watchTick);
    resize(1000, 600);
}

bool RelaySendScreen::start() {
    if (!RelayInstitutionCodeValid(session_.org_code)) {
        ui_.inform(kBadInstitutionCodeText, kDefaultTitle);
        return false;
    }
    refresh();
    return true;
}

void RelaySendScreen::setWatchInterval(int ms) {
    watch_->setInterval(ms);
}

bool RelaySendScreen::watching() const {
    return watch_->isActive();
}

void RelaySendScreen::refresh() {
    Guarded(ui_, [this] {
        Fill(sendable_, RelaySendableFiles(db_, session_, channel_), false, true);
        Fill(failed_, RelayFailedFiles(db_, session_, channel_), true, false);
    });
}

void RelaySendScreen::send() {
    if (watching()) return;
    std::vector<std::string> names;
    for (int r = 0; r < sendable_->rowCount(); ++r)
        if (sendable_->item(r, 0)->checkState() == Qt::Checked)
            names.push_back(S(sendable_->item(r, 0)->text()));
    Guarded(ui_, [&] {
        progress_->show();
        send_->setEnabled(false);
        pending_ = RelaySendFiles(db_, session_, ui_, names, channel_);
    });
    if (pending_.empty()) {
        progress_->hide();
        send_->setEnabled(true);
        refresh();
        return;
    }
    ticks_ = 0;
    watch_->start();
}

void RelaySendScreen::watchTick() {
    // The first tick comes too soon for the relay to have looked.
    if (++ticks_ < 2) return;
    Guarded(ui_, [this] {
        std::vector<long long> still;
        for (long long key : pending_)
            if (PollRelayRun(db_, ui_, key, channel_) == RelayRunState::Waiting)
                still.push_back(key);
        pending_ = std::move(still);
    });
    if (!pending_.empty()) return;
    watch_->stop();
    progress_->hide();
    send_->setEnabled(true);
    refresh();
}

void ShowRelaySendScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent,
                         RelayChannel channel) {
    RelaySendScreen screen(db, session, ui, channel, parent);
    if (screen.start()) screen.exec();
}

}  // namespace qx::ui
