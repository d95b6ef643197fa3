#include "ui/card/card_screens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "channels/card/card_members.h"
#include "channels/card/card_payments.h"
#include "channels/card/card_request_lists.h"
#include "cms/rollback/card_rollback.h"
#include "cms/transmission/relay_send.h"
#include "core/session_context.h"
#include "db/server_clock.h"
#include "members/program_settings.h"
#include "messaging/sms_file_members.h"
#include "platform/amount_text.h"
#include "ui/cms/eb21_choice_panel.h"
#include "ui/cms/relay_send_screen.h"
#include "ui/cms/rollback_password_dialog.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/ledger_screens.h"
#include "ui/messaging/sms_screens.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

std::vector<StatusColumn> Columns(const std::vector<std::string>& captions) {
    std::vector<StatusColumn> out;
    for (const auto& c : captions) out.push_back({c, 1400, kAlignCentre});
    return out;
}

QTableWidget* Grid(QWidget* parent, const char* name, const std::vector<std::string>& captions,
                   const QString& title, Database& db, const SessionContext& s, Interaction& ui) {
    auto* grid = NewStatusGrid(parent, name, Columns(captions));
    AttachExcelExport(*grid, title, db, s, ui);
    return grid;
}

// The rows of a grid whose first column is the payment key, when ticked.
std::vector<long long> CheckedKeys(const QTableWidget* grid) {
    std::vector<long long> keys;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QTableWidgetItem* item = grid->item(r, 0);
        if (item && item->checkState() == Qt::Checked) keys.push_back(item->text().toLongLong());
    }
    return keys;
}

void FillCheckable(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows,
                   bool checked) {
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()) && c < grid->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(Q(rows[r][c]));
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            if (c == 0) item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
            grid->setItem(r, c, item);
        }
}

FileRollbackSetup CardRollbackSetup(Database& db, const SessionContext& s, Interaction& ui,
                                    bool members) {
    FileRollbackSetup setup;
    setup.id = members ? "frmCMEMroolback" : "frmCPAYroolback";
    setup.title =
        members ? QStringLiteral("카드회원 파일 롤백") : QStringLiteral("카드결제 파일 롤백");
    setup.captions = members ? QStringList{QStringLiteral("생성일자"), QStringLiteral("파일명"),
                                           QStringLiteral("신규건수"), QStringLiteral("해지건수"),
                                           QStringLiteral("전체건수"), QStringLiteral("파일상태")}
                             : QStringList{QStringLiteral("생성일자"), QStringLiteral("파일명"),
                                           QStringLiteral("출금건수"), QStringLiteral("총출금액"),
                                           QStringLiteral("파일상태")};
    setup.fileNameColumn = 1;
    const CardRollbackKind kind = members ? CardRollbackKind::Members : CardRollbackKind::Payments;
    setup.list = [&db, &s, kind, members] {
        std::vector<QStringList> rows;
        for (const auto& c : ListCardRollbackCandidates(db, s, kind)) {
            if (members)
                rows.push_back({Q(c.created), Q(c.filename), QString::number(c.newCount),
                                QString::number(c.cancelCount), QString::number(c.totalCount),
                                Q(c.state)});
            else
                rows.push_back({Q(c.created), Q(c.filename), QString::number(c.totalCount),
                                Q(FormatAmount(c.totalMoney)), Q(c.state)});
        }
        return rows;
    };
    setup.rollBack = [&db, &s, &ui, kind](const std::vector<std::string>& files) {
        RollbackCardRequests(db, s, ui, kind, files);
    };
    return setup;
}

}  // namespace

CardRollbackScreen::CardRollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                                       bool members, QWidget* parent)
    : FileRollbackScreen(ui, CardRollbackSetup(db, session, ui, members), parent) {}

// ---------------------------------------------------------------- frmDoc38_1

CardMemberRequestDialog::CardMemberRequestDialog(Database& db, SessionContext& session,
                                                 Interaction& ui, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmDoc38_1");
    setWindowTitle(QStringLiteral("신용카드 신규/해지 신청"));
    resize(1100, 600);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("신청일자"), this));
    date_ = NewDateBox(this, "dtpDate");
    bar->addWidget(date_);
    auto* list = NewButton(this, "cmdList", QStringLiteral("조회"));
    auto* create = NewButton(this, "cmdCreate", QStringLiteral("파일생성"));
    bar->addWidget(list);
    bar->addWidget(create);
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    bar->addWidget(count_);
    bar->addStretch(1);
    layout->addLayout(bar);
    grid_ = Grid(this, "grdMembers", CardMemberColumns(), windowTitle(), db_, session_, ui_);
    layout->addWidget(grid_, 1);
    connect(list, &QPushButton::clicked, this, &CardMemberRequestDialog::refresh);
    connect(create, &QPushButton::clicked, this, &CardMemberRequestDialog::create);
    Guarded(ui_, [this] { date_->setDate(ServerQDate(db_, session_)); });
    refresh();
}

void CardMemberRequestDialog::refresh() {
    Guarded(ui_, [this] {
        std::vector<std::vector<std::string>> rows;
        for (const auto& t : ListCardMemberTargets(db_, session_))
            rows.push_back(CardMemberCells(t));
        FillStatusGrid(grid_, Columns(CardMemberColumns()), rows);
        count_->setText(QStringLiteral("총 %1 건").arg(rows.size()));
    });
}

void CardMemberRequestDialog::create() {
    CardMemberResult r;
    Guarded(ui_, [this, &r] {
        r = CreateCardMemberRequest(
            db_, session_, ui_, FromQDate(date_->date()), ListCardMemberTargets(db_, session_),
            [this] { ShowRelaySendScreen(db_, session_, ui_, this, RelayChannel::Cards); });
    });
    if (r.date.year > 0) date_->setDate(ToQDate(r.date));  // today after a past date
    if (r.created && r.closing.closeScreen) {
        accept();
        return;
    }
    refresh();
}

// ---------------------------------------------------------------- frmDoc39_1

CardPaymentRequestDialog::CardPaymentRequestDialog(Database& db, SessionContext& session,
                                                   Interaction& ui, BillablePreparer prepare,
                                                   QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), prepare_(std::move(prepare)) {
    setObjectName("frmDoc39_1");
    setWindowTitle(QStringLiteral("신용카드 결제 신청"));
    resize(1200, 650);
    if (!prepare_)
        prepare_ = ServiceBillablePreparer(ScreenWebHost(session_), session_.institution_number,
                                           BillingChannel::Card);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("결제일자"), this));
    date_ = NewDateBox(this, "dtpDate");
    bar->addWidget(date_);
    bar->addStretch(1);
    layout->addLayout(bar);
    choices_ = new Eb21ChoicePanel(ui_, true, this);
    layout->addWidget(choices_);
    auto* list = NewButton(this, "cmdList", QStringLiteral("조회"));
    auto* create = NewButton(this, "cmdCreate", QStringLiteral("파일생성"));
    // A request cannot be taken back from here: Enter lists and never creates.
    create->setAutoDefault(false);
    list->setDefault(true);
    choices_->bar()->addWidget(list);
    choices_->bar()->addWidget(create);
    std::vector<std::string> captions = {"선택"};
    for (const auto& c : CardPaymentColumns()) captions.push_back(c);
    grid_ = Grid(this, "grdPayments", captions, windowTitle(), db_, session_, ui_);
    layout->addWidget(grid_, 1);
    figures_ = new QLabel(this);
    figures_->setObjectName("lblFigures");
    layout->addWidget(figures_);
    connect(list, &QPushButton::clicked, this, [this] { search(); });
    connect(create, &QPushButton::clicked, this, &CardPaymentRequestDialog::create);
    connect(choices_->excludeButton(), &QPushButton::clicked, this,
            &CardPaymentRequestDialog::exclude);
    connect(choices_->selectAllButton(), &QPushButton::clicked, this,
            &CardPaymentRequestDialog::toggleAll);
    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() != 0 || item->row() >= static_cast<int>(rows_.size())) return;
        rows_[static_cast<std::size_t>(item->row())].selected = item->checkState() == Qt::Checked;
        showFigures();
    });
    Guarded(ui_, [this] {
        choices_->setSettings(LoadProgramSettings(db_, session_).cms_set);
        date_->setDate(ServerQDate(db_, session_).addDays(1));
    });
}

bool CardPaymentRequestDialog::search() {
    return GuardedValue(ui_, [this] {
        const Eb21Search found =
            SearchEb21Targets(db_, session_, ui_, FromQDate(date_->date()),
                              CardPaymentOptions(choices_->options()), prepare_);
        if (found.failed) return false;
        rows_ = found.rows;
        std::vector<std::vector<std::string>> cells;
        for (const auto& r : rows_) {
            std::vector<std::string> row = {""};
            for (auto& c : CardPaymentCells(r)) row.push_back(std::move(c));
            cells.push_back(std::move(row));
        }
        QSignalBlocker quiet(grid_);
        FillCheckable(grid_, cells, true);
        showFigures();
        return true;
    });
}

void CardPaymentRequestDialog::exclude() {
    choices_->exclude(rows_, FromQDate(date_->date()));
    showTicks();
}

void CardPaymentRequestDialog::toggleAll() {
    Eb21ChoicePanel::toggleAll(rows_);
    showTicks();
}

// The grid's ticks follow the rows after an exclusion or "전체선택".
void CardPaymentRequestDialog::showTicks() {
    {
        QSignalBlocker quiet(grid_);
        for (int r = 0; r < grid_->rowCount() && r < static_cast<int>(rows_.size()); ++r)
            if (QTableWidgetItem* item = grid_->item(r, 0))
                item->setCheckState(rows_[static_cast<std::size_t>(r)].selected ? Qt::Checked
                                                                                : Qt::Unchecked);
    }
    showFigures();
}

void CardPaymentRequestDialog::showFigures() {
    Guarded(ui_, [this] {
        const Eb21MonthFigures f =
            LoadMonthFigures(db_, session_, FromQDate(date_->date()), BillingChannel::Card);
        figures_->setText(Q(SelectionText(SelectedOf(rows_)) + "  월출금한도 : " +
                            FormatAmount(f.limit) + " / 금월사용액 : " + FormatAmount(f.used) +
                            " / 잔여한도 : " + FormatAmount(f.remaining())));
    });
}

void CardPaymentRequestDialog::create() {
    CardPaymentResult r;
    Guarded(ui_, [this, &r] {
        r = CreateCardPaymentRequest(
            db_, session_, ui_,
            {FromQDate(date_->date()), rows_,
             [this] { ShowRelaySendScreen(db_, session_, ui_, this, RelayChannel::Cards); }});
    });
    if (!r.created) {
        if (r.date != FromQDate(date_->date()) && r.date.year > 0) date_->setDate(ToQDate(r.date));
        return;
    }
    if (r.closing.closeScreen) {
        accept();
        return;
    }
    rows_.clear();
    grid_->setRowCount(0);
}

// ---------------------------------------------------------------- frmDoc39_2

CardCancellationDialog::CardCancellationDialog(Database& db, SessionContext& session,
                                               Interaction& ui, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmDoc39_2");
    setWindowTitle(QStringLiteral("신용카드 출금취소 선택"));
    resize(1100, 650);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("결제일자"), this));
    date_ = NewDateBox(this, "dtpDate");
    bar->addWidget(date_);
    auto* list = NewButton(this, "cmdList", QStringLiteral("조회"));
    auto* add = NewButton(this, "cmdAdd", QStringLiteral("취소내역 추가"));
    auto* remove = NewButton(this, "cmdRemove", QStringLiteral("취소내역 제거"));
    for (auto* b : {list, add, remove}) bar->addWidget(b);
    bar->addStretch(1);
    layout->addLayout(bar);
    exclusions_ = new Eb21ChoicePanel(ui_, false, this);
    layout->addWidget(exclusions_);
    std::vector<std::string> captions = {"번호"};
    for (const auto& c : ApprovedPaymentColumns()) captions.push_back(c);
    candidates_ = Grid(this, "grdCandidates", captions, windowTitle(), db_, session_, ui_);
    layout->addWidget(candidates_, 1);
    layout->addWidget(new QLabel(QStringLiteral("취소 예정 내역"), this));
    scheduled_ = Grid(this, "grdScheduled", captions, windowTitle(), db_, session_, ui_);
    layout->addWidget(scheduled_, 1);
    connect(list, &QPushButton::clicked, this, &CardCancellationDialog::refresh);
    connect(add, &QPushButton::clicked, this, &CardCancellationDialog::add);
    connect(remove, &QPushButton::clicked, this, &CardCancellationDialog::remove);
    connect(exclusions_->excludeButton(), &QPushButton::clicked, this,
            &CardCancellationDialog::exclude);
    connect(exclusions_->selectAllButton(), &QPushButton::clicked, this,
            &CardCancellationDialog::toggleAll);
    Guarded(ui_, [this] { date_->setDate(ServerQDate(db_, session_)); });
    refresh();
}

void CardCancellationDialog::refresh() {
    Guarded(ui_, [this] {
        auto rowsOf = [](const std::vector<ApprovedPayment>& list) {
            std::vector<std::vector<std::string>> rows;
            for (const auto& p : list) {
                std::vector<std::string> row = {std::to_string(p.cdp_inx)};
                for (auto& c : ApprovedPaymentCells(p)) row.push_back(std::move(c));
                rows.push_back(std::move(row));
            }
            return rows;
        };
        found_ = ListCancellationCandidates(db_, session_, FromQDate(date_->date()));
        FillCheckable(candidates_, rowsOf(found_), false);
        FillCheckable(scheduled_, rowsOf(ListScheduledCancellations(db_, session_)), false);
    });
}

// The candidates with their ticks, as listing rows keyed by cdp_inx.
std::vector<Eb21Row> CardCancellationDialog::tickedRows() const {
    std::vector<Eb21Row> rows = ApprovedPaymentRows(found_, false);
    const std::vector<long long> ticked = CheckedKeys(candidates_);
    for (auto& r : rows)
        r.selected = std::find(ticked.begin(), ticked.end(), r.member_inx) != ticked.end();
    return rows;
}

void CardCancellationDialog::showTicks(const std::vector<Eb21Row>& rows) {
    for (int i = 0; i < candidates_->rowCount(); ++i) {
        QTableWidgetItem* item = candidates_->item(i, 0);
        if (!item) continue;
        const long long key = item->text().toLongLong();
        for (const auto& r : rows)
            if (r.member_inx == key) item->setCheckState(r.selected ? Qt::Checked : Qt::Unchecked);
    }
}

void CardCancellationDialog::exclude() {
    std::vector<Eb21Row> rows = tickedRows();
    // Every candidate carries the listed payment date, so months counted back
    // from that date would never exclude one: they count back from today, the
    // day the cancellation is asked for.
    QDate today;
    if (!Guarded(ui_, [&] { today = ServerQDate(db_, session_); })) return;
    if (exclusions_->exclude(rows, FromQDate(today))) showTicks(rows);
}

void CardCancellationDialog::toggleAll() {
    std::vector<Eb21Row> rows = tickedRows();
    Eb21ChoicePanel::toggleAll(rows);
    showTicks(rows);
}

void CardCancellationDialog::add() {
    bool back = false;
    Guarded(ui_, [this, &back] {
        ScheduleCancellations(db_, session_, ui_, CheckedKeys(candidates_), &back);
    });
    if (back) {
        accept();
        return;
    }
    refresh();
}

void CardCancellationDialog::remove() {
    bool back = false;
    Guarded(ui_, [this, &back] {
        UnscheduleCancellations(db_, session_, ui_, CheckedKeys(scheduled_), &back);
    });
    if (back) {
        accept();
        return;
    }
    refresh();
}

// ---------------------------------------------------------------- frmDoc38 / frmDoc39

CardResultScreen::CardResultScreen(Database& db, SessionContext& session, Interaction& ui,
                                   bool members, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui), members_(members) {
    setObjectName(members ? "frmDoc38" : "frmDoc39");
    const QString title =
        members ? QStringLiteral("신용카드 신규/해지") : QStringLiteral("신용카드 결제");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("생성일자"), this));
    from_ = NewDateBox(this, "dtpFrom");
    to_ = NewDateBox(this, "dtpTo");
    bar->addWidget(from_);
    bar->addWidget(new QLabel(QStringLiteral("~"), this));
    bar->addWidget(to_);
    auto* list = NewButton(this, "cmdList", QStringLiteral("조회"));
    bar->addWidget(list);
    bar->addStretch(1);
    if (members) {
        auto* request = NewButton(this, "cmdRequest", QStringLiteral("신규/해지 신청"));
        bar->addWidget(request);
        connect(request, &QPushButton::clicked, this, [this] { openMemberRequest(); });
    } else {
        auto* request = NewButton(this, "cmdRequest", QStringLiteral("결제 신청"));
        auto* cancel = NewButton(this, "cmdCancel", QStringLiteral("출금취소 선택"));
        auto* sms = NewButton(this, "cmdSms", QStringLiteral("SMS"));
        bar->addWidget(request);
        bar->addWidget(cancel);
        bar->addWidget(sms);
        connect(sms, &QPushButton::clicked, this, &CardResultScreen::openSms);
        connect(request, &QPushButton::clicked, this, [this] { openPaymentRequest(); });
        connect(cancel, &QPushButton::clicked, this, [this] { openCancellations(); });
    }
    layout->addLayout(bar);
    files_ =
        Grid(this, "grdFiles", members ? CardMemberRequestColumns() : CardPaymentRequestColumns(),
             title, db_, session_, ui_);
    layout->addWidget(files_, 1);
    const LabelRow detailBar = NewLabelRow(this, "lblDetail");
    detailTitle_ = detailBar.label;
    filter_ =
        AddDetailFilter(detailBar.row, this,
                        {QStringLiteral("전체"), QStringLiteral("정상"), QStringLiteral("불능")});
    layout->addLayout(detailBar.row);
    details_ = Grid(this, "grdDetail", {}, title, db_, session_, ui_);
    layout->addWidget(details_, 2);

    connect(list, &QPushButton::clicked, this, &CardResultScreen::refresh);
    connect(files_, &QTableWidget::itemSelectionChanged, this, &CardResultScreen::showDetail);
    connect(filter_, &QComboBox::currentIndexChanged, this, &CardResultScreen::showDetail);
    OnRollbackKey(this, [this] { openRollback(); });
    Guarded(ui_, [this] {
        const QDate today = ServerQDate(db_, session_);
        from_->setDate(today.addMonths(-1));
        to_->setDate(today.addMonths(1));
    });
    refresh();
}

void CardResultScreen::refresh() {
    Guarded(ui_, [this] {
        const CivilDate from = FromQDate(from_->date()), to = FromQDate(to_->date());
        FillStatusGrid(files_,
                       Columns(members_ ? CardMemberRequestColumns() : CardPaymentRequestColumns()),
                       members_ ? ListCardMemberRequests(db_, session_, from, to)
                                : ListCardPaymentRequests(db_, session_, from, to));
    });
    if (files_->rowCount() > 0) files_->selectRow(0);
    showDetail();
}

void CardResultScreen::showDetail() {
    Guarded(ui_, [this] {
        const std::string file = SelectedCellText(files_, 0);
        if (file.empty()) {
            detailTitle_->clear();
            details_->setRowCount(0);
            return;
        }
        const auto filter = static_cast<CardDetailFilter>(filter_->currentIndex());
        const FileDetail d = members_ ? CardMemberRequestDetail(db_, session_, file, filter)
                                      : CardPaymentRequestDetail(db_, session_, file, filter);
        detailTitle_->setText(Q(d.title));
        FillDetailGrid(details_, d);
    });
}

CardMemberRequestDialog* CardResultScreen::openMemberRequest() {
    auto* dialog = new CardMemberRequestDialog(db_, session_, ui_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, &CardResultScreen::refresh);
    dialog->open();
    return dialog;
}

CardPaymentRequestDialog* CardResultScreen::openPaymentRequest(BillablePreparer prepare) {
    auto* dialog = new CardPaymentRequestDialog(db_, session_, ui_, std::move(prepare), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, &CardResultScreen::refresh);
    dialog->open();
    return dialog;
}

CardCancellationDialog* CardResultScreen::openCancellations() {
    auto* dialog = new CardCancellationDialog(db_, session_, ui_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, &CardResultScreen::refresh);
    dialog->open();
    return dialog;
}

void CardResultScreen::openSms() {
    if (const auto file = ChosenSmsFile(files_, 0, SmsFileKind::CardPayment, ui_))
        OpenFileSms(db_, session_, ui_, *file, this);
}

void CardResultScreen::openRollback() {
    RollbackPasswordDialog password(ui_, this);
    if (!password.ask()) return;
    CardRollbackScreen screen(db_, session_, ui_, members_, this);
    screen.exec();
    refresh();
}

}  // namespace qx::ui
