#include "ui/ledger/ledger_screens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "ledger/bulk_removal.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_rules.h"
#include "members/member_record.h"
#include "platform/amount_text.h"
#include "platform/profile_ini.h"
#include "session/service_web.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/member_filter_bar.h"
#include "ui/main/business_screen.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

QLineEdit* DateBox(QWidget* parent, const char* name, const std::string& text) {
    auto* e = new QLineEdit(Q(text), parent);
    e->setObjectName(name);
    e->setPlaceholderText("yyyy-mm-dd");
    e->setMaximumWidth(110);
    return e;
}

// Today's date from the session, "" before a login filled it.
std::string Today(const SessionContext& s) {
    return s.server_date.empty() ? "" : "20" + s.server_date;
}

const std::vector<StatusColumn>& SaleCandidateColumns() {
    static const std::vector<StatusColumn> columns = {
        {"납부자번호", 1500, kAlignCentre}, {"고객명", 1500, kAlignLeft},
        {"상호", 2000, kAlignLeft},         {"매출구분", 900, kAlignCentre},
        {"매출예정일", 900, kAlignCentre},  {"매출예정액", 1500, kAlignRight},
        {"미수금", 1500, kAlignRight},      {"당월매출", 900, kAlignCentre}};
    return columns;
}

const std::vector<StatusColumn>& MemberAmountColumns() {
    static const std::vector<StatusColumn> columns = {{"납부자번호", 1500, kAlignCentre},
                                                      {"고객명", 1500, kAlignLeft},
                                                      {"상호", 2000, kAlignLeft},
                                                      {"미수금", 1500, kAlignRight},
                                                      {"매출예정액", 1500, kAlignRight}};
    return columns;
}

std::vector<StatusColumn> RunColumns(bool sale) {
    return {{"번호", 700, kAlignCentre},
            {sale ? "매출일자" : "수금일자", 1100, kAlignCentre},
            {sale ? "정상매출" : "정상수금", 1500, kAlignRight},
            {sale ? "불능매출" : "불능수금", 1500, kAlignRight},
            {sale ? "일괄매출액" : "일괄수금액", 1500, kAlignRight},
            {"회원수", 900, kAlignRight},
            {"의뢰건수", 900, kAlignRight},
            {"정상건수", 900, kAlignRight},
            {"불능건수", 900, kAlignRight}};
}

std::vector<StatusColumn> DetailColumns(bool sale) {
    return {{sale ? "매출일자" : "수금일자", 1100, kAlignCentre},
            {"납부자번호", 1500, kAlignCentre},
            {"외부참조키", 1300, kAlignLeft},
            {"상호", 1800, kAlignLeft},
            {"고객명", 1500, kAlignLeft},
            {"요청금액", 1400, kAlignRight},
            {"정상금액", 1400, kAlignRight},
            {"불능금액", 1400, kAlignRight},
            {"처리결과", 4000, kAlignLeft}};
}

// One grid row per member of a batch list.
std::vector<std::vector<std::string>> MemberAmountRows(
    const std::vector<CollectionCandidate>& rows) {
    std::vector<std::vector<std::string>> cells;
    for (const auto& r : rows) {
        cells.push_back({r.payer_number, r.username, r.client_company,
                         FormatAmount(r.pay_nonpayment), FormatAmount(r.pay_monthdefault)});
    }
    return cells;
}

}  // namespace

std::string ScreenWebHost(const SessionContext& session) {
    return ReadWebHost(ProfileIni(session.AppPath + "Login.ini"));
}

// frmDoc23 ------------------------------------------------------------------

SaleRunScreen::SaleRunScreen(Database& db, SessionContext& session, Interaction& ui,
                             std::string webHost, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui), webHost_(std::move(webHost)) {
    setObjectName("frmDoc23");
    filter_ = new MemberFilterBar(db, session, ui, this);
    unbilled_ = new QCheckBox("당월 미발생 매출분", this);
    unbilled_->setObjectName("chkUnbilled");
    date_ = DateBox(this, "txtDate", Today(session));
    auto* searchButton = NewButton(this, "cmdSearch", "조회");
    auto* runButton = NewButton(this, "cmdRun", "일괄매출");
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    connect(runButton, &QPushButton::clicked, this, [this] { runSale(); });
    auto* bar = new QHBoxLayout;
    bar->addWidget(unbilled_);
    bar->addWidget(new QLabel("매출일자", this));
    bar->addWidget(date_);
    bar->addStretch(1);
    bar->addWidget(searchButton);
    bar->addWidget(runButton);
    table_ = NewStatusGrid(this, "grdCandidates", SaleCandidateColumns());
    AttachExcelExport(*table_, "일괄매출대상", db_, session_, ui_);
    totals_ = new QLabel(this);
    totals_->setObjectName("lblTotals");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
    layout->addWidget(totals_);
}

SaleQuery SaleRunScreen::query() const {
    SaleQuery q;
    q.filter = filter_->filter();
    // The chosen sales day also dates the run, so it travels as the run's day.
    q.day = q.filter.payday;
    q.filter.payday.clear();
    q.unbilledOnly = unbilled_->isChecked();
    return q;
}

void SaleRunScreen::search() {
    Guarded(ui_, [&] {
        searchedQuery_ = query();
        searched_ = ListSaleCandidates(db_, session_, searchedQuery_);
        std::vector<std::vector<std::string>> cells;
        for (const auto& r : searched_->rows) {
            cells.push_back({r.payer_number, r.username, r.client_company, r.account_divide,
                             r.payday, FormatAmount(r.expected), FormatAmount(r.pay_nonpayment),
                             r.billed_this_month ? "Y" : ""});
        }
        FillStatusGrid(table_, SaleCandidateColumns(), cells);
        totals_->setText(Q(std::to_string(searched_->rows.size()) + " 건   매출예정액 " +
                           FormatAmount(searched_->expected_total) + "   당월 미발생 매출예정액 " +
                           FormatAmount(searched_->expected_unbilled)));
    });
}

SaleRunResult SaleRunScreen::runSale() {
    SaleRunResult result;
    Guarded(ui_, [&] {
        // The run books what was searched, as it was searched.
        result = RunBatchSale(db_, session_, ui_, webHost_, searchedQuery_,
                              searched_ ? &*searched_ : nullptr, S(date_->text()));
    });
    if (result.done) {
        searched_.reset();
        table_->setRowCount(0);
        emit finished(result.next);
    }
    return result;
}

// frmDoc25 ------------------------------------------------------------------

CollectionRunScreen::CollectionRunScreen(Database& db, SessionContext& session, Interaction& ui,
                                         QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmDoc25");
    filter_ = new MemberFilterBar(db, session, ui, this);
    mode_ = new QComboBox(this);
    mode_->setObjectName("cboMode");
    mode_->addItems({"미수금전액", "매출예정액"});
    date_ = DateBox(this, "txtDate", Today(session));
    item_ = new QLineEdit(this);
    item_->setObjectName("txtItem");
    title_ = new QLineEdit(this);
    title_->setObjectName("txtTitle");
    title_->setPlaceholderText("수금방식 10 이상의 수금명");
    auto* searchButton = NewButton(this, "cmdSearch", "조회");
    auto* runButton = NewButton(this, "cmdRun", "일괄수금");
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    connect(runButton, &QPushButton::clicked, this, [this] { runCollection(); });
    auto* bar = new QHBoxLayout;
    bar->addWidget(mode_);
    bar->addWidget(new QLabel("수금일자", this));
    bar->addWidget(date_);
    bar->addWidget(new QLabel("품목명", this));
    bar->addWidget(item_);
    bar->addWidget(title_);
    bar->addStretch(1);
    bar->addWidget(searchButton);
    bar->addWidget(runButton);
    table_ = NewStatusGrid(this, "grdCandidates", MemberAmountColumns());
    AttachExcelExport(*table_, "일괄수금대상", db_, session_, ui_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
}

void CollectionRunScreen::search() {
    Guarded(ui_, [&] {
        searchedFilter_ = filter_->filter();
        FillStatusGrid(table_, MemberAmountColumns(),
                       MemberAmountRows(ListCollectionCandidates(db_, session_, searchedFilter_)));
        searched_ = true;
    });
}

CollectionRunResult CollectionRunScreen::runCollection() {
    CollectionRunResult result;
    Guarded(ui_, [&] {
        result = RunBatchCollection(
            db_, session_, ui_, searchedFilter_,
            mode_->currentIndex() == 0 ? CollectionMode::kOutstanding : CollectionMode::kExpected,
            searched_, S(date_->text()), S(item_->text()), S(title_->text()));
    });
    if (result.done) {
        searched_ = false;
        table_->setRowCount(0);
        emit finished(result.open_history);
    }
    return result;
}

// frmDoc24 / frmDoc26 ---------------------------------------------------------

RunHistoryScreen::RunHistoryScreen(Database& db, SessionContext& session, Interaction& ui,
                                   std::string webHost, RunKind kind, QWidget* parent)
    : QWidget(parent),
      db_(db),
      session_(session),
      ui_(ui),
      webHost_(std::move(webHost)),
      kind_(kind) {
    const bool sale = kind == RunKind::kSale;
    setObjectName(sale ? "frmDoc24" : "frmDoc26");
    const std::string today = Today(session);
    from_ = DateBox(this, "txtFrom", today.empty() ? "" : today.substr(0, 8) + "01");
    to_ = DateBox(this, "txtTo", today);
    rowFilter_ = new QComboBox(this);
    rowFilter_->setObjectName("cboFilter");
    rowFilter_->addItems({"전체", "정상", "불능"});
    auto* searchButton = NewButton(this, "cmdSearch", "조회");
    auto* newButton = NewButton(this, "cmdNew", sale ? "일괄매출" : "일괄수금");
    auto* cancelButton = NewButton(this, "cmdCancelRun", sale ? "일괄매출취소" : "일괄수금취소");
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    connect(newButton, &QPushButton::clicked, this, [this] { openRunWindow(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelSelected(); });
    connect(rowFilter_, &QComboBox::currentIndexChanged, this, [this] { showDetail(); });
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("기간", this));
    bar->addWidget(from_);
    bar->addWidget(new QLabel("~", this));
    bar->addWidget(to_);
    bar->addWidget(searchButton);
    bar->addStretch(1);
    bar->addWidget(rowFilter_);
    bar->addWidget(newButton);
    bar->addWidget(cancelButton);
    runs_ = NewStatusGrid(this, "grdRuns", RunColumns(sale));
    detail_ = NewStatusGrid(this, "grdDetail", DetailColumns(sale));
    AttachExcelExport(*runs_, sale ? "일괄매출내역" : "일괄수금내역", db_, session_, ui_);
    AttachExcelExport(*detail_, sale ? "일괄매출상세" : "일괄수금상세", db_, session_, ui_);
    connect(runs_, &QTableWidget::itemSelectionChanged, this, [this] { showDetail(); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(runs_, 1);
    layout->addWidget(detail_, 2);
}

void RunHistoryScreen::search() {
    const auto from = LedgerDate(S(from_->text()));
    const auto to = LedgerDate(S(to_->text()));
    if ((!from_->text().isEmpty() && !from) || (!to_->text().isEmpty() && !to)) {
        ui_.inform(kDateInvalidText, kDefaultTitle);
        return;
    }
    Guarded(ui_, [&] {
        const auto runs =
            ListRuns(db_, session_, kind_, from.value_or("00-01-01"), to.value_or("99-12-31"));
        keys_.clear();
        std::vector<std::vector<std::string>> cells;
        for (const auto& r : runs) {
            keys_.push_back(r.run_key);
            cells.push_back({std::to_string(r.run_key), r.date, FormatAmount(r.ok_amount),
                             FormatAmount(r.refused_amount), FormatAmount(r.total_amount),
                             std::to_string(r.members), std::to_string(r.requests),
                             std::to_string(r.ok_count), std::to_string(r.refused_count)});
        }
        FillStatusGrid(runs_, RunColumns(kind_ == RunKind::kSale), cells);
    });
    detail_->setRowCount(0);
}

void RunHistoryScreen::showDetail() {
    const int row = runs_->currentRow();
    if (row < 0 || row >= static_cast<int>(keys_.size())) {
        detail_->setRowCount(0);
        return;
    }
    const RunRowFilter filter = rowFilter_->currentIndex() == 1   ? RunRowFilter::kOk
                                : rowFilter_->currentIndex() == 2 ? RunRowFilter::kRefused
                                                                  : RunRowFilter::kAll;
    Guarded(ui_, [&] {
        std::vector<std::vector<std::string>> cells;
        for (const auto& r :
             RunDetail(db_, session_, kind_, keys_[static_cast<std::size_t>(row)], filter)) {
            cells.push_back({r.date, r.payer_number, r.ext_key, r.client_company, r.username,
                             FormatAmount(r.requested), FormatAmount(r.ok_amount),
                             FormatAmount(r.refused_amount), r.result});
        }
        FillStatusGrid(detail_, DetailColumns(kind_ == RunKind::kSale), cells);
    });
}

bool RunHistoryScreen::cancelSelected() {
    const int row = runs_->currentRow();
    if (row < 0 || row >= static_cast<int>(keys_.size())) {
        ui_.inform("취소할 일괄작업을 선택 하십시오.", kDefaultTitle);
        return false;
    }
    bool done = false;
    Guarded(ui_, [&] {
        done = CancelRun(db_, session_, ui_, webHost_, kind_, keys_[static_cast<std::size_t>(row)]);
    });
    search();
    return done;
}

QWidget* RunHistoryScreen::openRunWindow() {
    auto* window = new QDialog(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    if (kind_ == RunKind::kSale) {
        window->setWindowTitle("▶ 회원관리 > 일괄매출");
        auto* screen = new SaleRunScreen(db_, session_, ui_, webHost_, window);
        connect(screen, &SaleRunScreen::finished, this, [this, window](AfterSaleRun next) {
            search();
            if (next == AfterSaleRun::kOpenEb21 && openEb21_) openEb21_();
            if (next != AfterSaleRun::kStay) window->close();
        });
        layout->addWidget(screen);
    } else {
        window->setWindowTitle("▶ 회원관리 > 일괄수금");
        auto* screen = new CollectionRunScreen(db_, session_, ui_, window);
        connect(screen, &CollectionRunScreen::finished, this, [this, window](bool history) {
            search();
            if (history) window->close();
        });
        layout->addWidget(screen);
    }
    window->resize(1100, 600);
    window->show();
    return window;
}

// frmDoc27 / frmDoc27_1 -------------------------------------------------------

BulkRemovalScreen::BulkRemovalScreen(Database& db, SessionContext& session, Interaction& ui,
                                     bool outstanding, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui), outstanding_(outstanding) {
    setObjectName(outstanding ? "frmDoc27" : "frmDoc27_1");
    filter_ = new MemberFilterBar(db, session, ui, this);
    auto* searchButton = NewButton(this, "cmdSearch", "조회");
    auto* runButton =
        NewButton(this, "cmdRun", outstanding ? "미수금 일괄 제거" : "매출예정액 제거 (0원 처리)");
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    connect(runButton, &QPushButton::clicked, this, [this] { removeAll(); });
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(searchButton);
    bar->addWidget(runButton);
    table_ = NewStatusGrid(this, "grdMembers", MemberAmountColumns());
    AttachExcelExport(*table_, "금액삭제대상", db_, session_, ui_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
}

void BulkRemovalScreen::search() {
    Guarded(ui_, [&] {
        searchedFilter_ = filter_->filter();
        FillStatusGrid(table_, MemberAmountColumns(),
                       MemberAmountRows(ListCollectionCandidates(db_, session_, searchedFilter_)));
        searched_ = true;
    });
}

long long BulkRemovalScreen::removeAll() {
    if (!searched_ || table_->rowCount() == 0) {
        ui_.inform("조회된 회원이 없습니다.", kDefaultTitle);
        return -1;
    }
    long long n = -1;
    Guarded(ui_, [&] {
        n = outstanding_ ? RemoveOutstanding(db_, session_, ui_, searchedFilter_)
                         : RemoveExpected(db_, session_, ui_, searchedFilter_);
    });
    if (n >= 0) search();
    return n;
}

QWidget* CreateLedgerScreen(const std::string& id, ScreenContext& c, QWidget* parent) {
    if (id == "frmDoc24" || id == "frmDoc26") {
        auto* screen =
            new RunHistoryScreen(c.db, c.session, c.ui, ScreenWebHost(c.session),
                                 id == "frmDoc24" ? RunKind::kSale : RunKind::kCollection, parent);
        if (c.openScreen) screen->setEb21Opener([open = c.openScreen] { open("frmDoc32"); });
        screen->search();
        return screen;
    }
    if (id == "frmDoc27" || id == "frmDoc27_1") {
        return new BulkRemovalScreen(c.db, c.session, c.ui, id == "frmDoc27", parent);
    }
    return nullptr;
}

}  // namespace qx::ui
