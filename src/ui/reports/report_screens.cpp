#include "ui/reports/report_screens.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "db/server_clock.h"
#include "ledger/batch_filter_choices.h"
#include "reports/channel_report.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

// The columns and rows a grid shows, for the print list.
ReportTable GridTable(const QTableWidget* grid) {
    ReportTable t;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const auto* h = grid->horizontalHeaderItem(c);
        t.columns.push_back({h ? S(h->text()) : std::string()});
    }
    for (int r = 0; r < grid->rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < grid->columnCount(); ++c) {
            const auto* item = grid->item(r, c);
            row.push_back(item ? S(item->text()) : std::string());
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

// The report's columns change with its kind and grouping: set them each time.
void ShowTable(QTableWidget* grid, const ReportTable& t) {
    SetUpStatusGrid(grid, t.columns);
    FillStatusGrid(grid, t.columns, t.rows);
}

QDateEdit* DateField(QWidget* parent, const char* name, const char* format) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(format);
    return d;
}

QDate ServerDay(Database& db, SessionContext& s, Interaction& ui) {
    QDate day = QDate::currentDate();
    Guarded(ui, [&] {
        if (const auto today = ParseDate(ReadServerDate(db, s))) day = ToQDate(*today);
    });
    return day;
}

std::string Text(const QDateEdit* d) {
    return S(d->date().toString(d->displayFormat()));
}

void FillCombo(QComboBox* box, const std::vector<CodeEntry>& entries) {
    box->addItem(QStringLiteral("전체"), QString());
    for (const auto& e : entries) box->addItem(Q(e.text), Q(e.data));
}

}  // namespace

ReportScreen::ReportScreen(Database& db, SessionContext& session, Interaction& ui, QString title,
                           PrintLayout layout, QWidget* parent)
    : QWidget(parent),
      db_(db),
      session_(session),
      ui_(ui),
      title_(std::move(title)),
      layout_(layout),
      workFolder_(Q(session.AppPath)) {
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(0, 0, 0, 0);
    bar_ = new QHBoxLayout;
    layoutBox->addLayout(bar_);
    branch_ = new QComboBox(this);
    branch_->setObjectName("cboBranch");
    agency_ = new QComboBox(this);
    agency_->setObjectName("cboAgency");
    manager_ = new QComboBox(this);
    manager_->setObjectName("cboManager");
    Guarded(ui_, [this] {
        const BatchFilterChoices c = LoadBatchFilterChoices(db_, session_);
        FillCombo(branch_, c.branches);
        // The members without an agency are picked as "없음".
        std::vector<CodeEntry> agencies;
        for (const auto& a : c.agencies)
            agencies.push_back(a.data == "0" ? CodeEntry{kNoneChoice, kNoneChoice} : a);
        FillCombo(agency_, agencies);
        manager_->addItem(QStringLiteral("전체"), QString());
        for (const auto& m : c.client_manager) manager_->addItem(Q(m), Q(m));
    });
    grid_ = new QTableWidget(this);
    grid_->setObjectName("grdReport");
    AttachExcelExport(*grid_, title_, db_, session_, ui_);
    layoutBox->addWidget(grid_, 2);
}

void ReportScreen::addPeriod(QWidget* from, QWidget* to) {
    bar_->addWidget(new QLabel(QStringLiteral("조회기간"), this));
    bar_->addWidget(from);
    bar_->addWidget(new QLabel(QStringLiteral("∼"), this));
    bar_->addWidget(to);
}

void ReportScreen::finishBar() {
    using Labelled = std::pair<const char*, QComboBox*>;
    for (auto [label, box] :
         {Labelled{"지사", branch_}, Labelled{"대리점", agency_}, Labelled{"담당자", manager_}}) {
        bar_->addWidget(new QLabel(QString::fromUtf8(label), this));
        bar_->addWidget(box);
    }
    auto* list = new QPushButton(QStringLiteral("조회"), this);
    list->setObjectName("cmdList");
    auto* excel = new QPushButton(QStringLiteral("엑셀"), this);
    excel->setObjectName("cmdExcel");
    auto* print = new QPushButton(QStringLiteral("인쇄"), this);
    print->setObjectName("cmdPrint");
    bar_->addStretch(1);
    for (auto* b : {list, excel, print}) bar_->addWidget(b);
    connect(list, &QPushButton::clicked, this, [this] { refresh(); });
    connect(excel, &QPushButton::clicked, this, [this] { exportToExcel(); });
    connect(print, &QPushButton::clicked, this, [this] { this->print(); });
}

void ReportScreen::addDetailGrid() {
    detail_ = new QTableWidget(this);
    detail_->setObjectName("grdDetail");
    AttachExcelExport(*detail_, title_, db_, session_, ui_);
    static_cast<QVBoxLayout*>(layout())->addWidget(detail_, 2);
}

ReportFilter ReportScreen::shownFilter() const {
    auto shown = [](const QComboBox* box) {
        return box->currentData().toString().isEmpty() ? std::string() : S(box->currentText());
    };
    return {shown(branch_), shown(agency_), shown(manager_)};
}

ReportFilter ReportScreen::filter() const {
    return {S(branch_->currentData().toString()), S(agency_->currentData().toString()),
            S(manager_->currentData().toString())};
}

std::vector<PrintSection> ReportScreen::sections() const {
    std::vector<PrintSection> out{{"합계", GridTable(grid_)}};
    if (detail_ && detail_->rowCount() > 0) out.push_back({"상세내역", GridTable(detail_)});
    return out;
}

QString ReportScreen::print() {
    const PrintList list{S(title_), criteria(), sections()};
    if (IsEmpty(list)) {
        ui_.inform(kNothingToPrintText, kNothingToPrintTitle);
        return {};
    }
    return GuardedValue(ui_, [&] {
        const std::string folder = S(workFolder_).empty() ? S(QDir::tempPath()) : S(workFolder_);
        return Q(PrintReport(folder, layout_, list).string());
    });
}

bool ReportScreen::exportToExcel() {
    if (dialogs_) return ExportGridToExcel(*grid_, title_, db_, session_, ui_, *dialogs_);
    return ExportGridToExcel(*grid_, title_, db_, session_, ui_);
}

ChannelReportScreen::ChannelReportScreen(Database& db, SessionContext& session, Interaction& ui,
                                         QWidget* parent)
    : ReportScreen(db, session, ui, kChannelReportTitle, PrintLayout::kChannel, parent) {
    from_ = DateField(this, "dtpFrom", "yyyy-MM-dd");
    to_ = DateField(this, "dtpTo", "yyyy-MM-dd");
    const QDate today = ServerDay(db_, session_, ui_);
    from_->setDate(QDate(today.year(), today.month(), 1));
    to_->setDate(today);
    kind_ = new QComboBox(this);
    kind_->setObjectName("cboKind");
    kind_->addItem(QStringLiteral("CMS"), "cms");
    kind_->addItem(QStringLiteral("카드"), "card");
    kind_->addItem(QStringLiteral("가상계좌"), "virtual");
    bar_->addWidget(kind_);
    addPeriod(from_, to_);
    finishBar();
    auto* detailBar = new QHBoxLayout;
    detailBar->addWidget(new QLabel(QStringLiteral("상세내역"), this));
    show_ = new QComboBox(this);
    show_->setObjectName("cboShow");
    show_->addItems({QStringLiteral("전체"), QStringLiteral("정상"), QStringLiteral("불능")});
    detailBar->addWidget(show_);
    detailBar->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addLayout(detailBar);
    addDetailGrid();
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &ChannelReportScreen::showDetail);
    connect(show_, &QComboBox::currentIndexChanged, this, &ChannelReportScreen::showDetail);
    connect(kind_, &QComboBox::currentIndexChanged, this, &ChannelReportScreen::refresh);
    refresh();
}

void ChannelReportScreen::refresh() {
    grid_->setRowCount(0);
    Guarded(ui_, [this] {
        const ReportPeriod p = CheckedPeriod(Text(from_), Text(to_));
        const ReportTable t = ChannelReport(
            db_, session_, ParseChannelKind(S(kind_->currentData().toString())), p, filter());
        ShowTable(grid_, t);
    });
    detail_->setRowCount(0);
    if (grid_->rowCount() > 0) grid_->selectRow(0);
}

void ChannelReportScreen::showDetail() {
    Guarded(ui_, [this] {
        detail_->setRowCount(0);
        // Virtual-account rows are days, not files: they have no items here.
        if (kind_->currentData().toString() == "virtual") return;
        const std::string file = SelectedCellText(grid_, 1);
        if (file.empty()) return;
        const auto show = static_cast<DetailShow>(show_->currentIndex());
        const ReportTable t = ChannelFileDetail(db_, session_, file, show, filter());
        ShowTable(detail_, t);
    });
}

std::string ChannelReportScreen::criteria() const {
    return CriteriaLine(Text(from_), Text(to_), shownFilter());
}

LedgerReportScreen::LedgerReportScreen(Database& db, SessionContext& session, Interaction& ui,
                                       bool monthly, QWidget* parent)
    : ReportScreen(db, session, ui, monthly ? kMonthlyReportTitle : kDailyReportTitle,
                   monthly ? PrintLayout::kMonthly : PrintLayout::kDaily, parent),
      monthly_(monthly) {
    const char* format = monthly ? "yyyy-MM" : "yyyy-MM-dd";
    from_ = DateField(this, "dtpFrom", format);
    to_ = DateField(this, "dtpTo", format);
    const QDate today = ServerDay(db_, session_, ui_);
    from_->setDate(monthly ? QDate(today.year(), 1, 1) : QDate(today.year(), today.month(), 1));
    to_->setDate(today);
    addPeriod(from_, to_);
    by_ = new QComboBox(this);
    by_->setObjectName("cboBy");
    by_->addItem(QStringLiteral("수금방법별"), "method");
    by_->addItem(QStringLiteral("담당자별"), "manager");
    by_->addItem(QStringLiteral("대리점별"), "agency");
    by_->addItem(QStringLiteral("지사별"), "branch");
    bar_->addWidget(by_);
    finishBar();
    addDetailGrid();
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &LedgerReportScreen::showDetail);
    refresh();
}

LedgerQuery LedgerReportScreen::query() const {
    LedgerQuery q;
    q.monthly = monthly_;
    q.period =
        monthly_ ? CheckedMonths(Text(from_), Text(to_)) : CheckedPeriod(Text(from_), Text(to_));
    q.grouping = ParseLedgerGrouping(S(by_->currentData().toString()));
    q.filter = filter();
    return q;
}

void LedgerReportScreen::refresh() {
    grid_->setRowCount(0);
    Guarded(ui_, [this] {
        const ReportTable t = LedgerSummary(db_, session_, query());
        ShowTable(grid_, t);
    });
    detail_->setRowCount(0);
    if (grid_->rowCount() > 0) grid_->selectRow(0);
}

void LedgerReportScreen::showDetail() {
    Guarded(ui_, [this] {
        detail_->setRowCount(0);
        // The members behind a month or a day; the summaries by person have none.
        if (by_->currentData().toString() != "method") return;
        const std::string key = SelectedCellText(grid_, 0);
        if (key.empty()) return;
        const ReportTable t = LedgerPeriodDetail(db_, session_, query(), key);
        ShowTable(detail_, t);
    });
}

std::string LedgerReportScreen::criteria() const {
    return CriteriaLine(Text(from_), Text(to_), shownFilter());
}

MemberReportScreen::MemberReportScreen(Database& db, SessionContext& session, Interaction& ui,
                                       QWidget* parent)
    : ReportScreen(db, session, ui, kMemberReportTitle, PrintLayout::kMember, parent) {
    from_ = DateField(this, "dtpFrom", "yyyy-MM-dd");
    to_ = DateField(this, "dtpTo", "yyyy-MM-dd");
    const QDate today = ServerDay(db_, session_, ui_);
    from_->setDate(QDate(today.year(), today.month(), 1));
    to_->setDate(today);
    addPeriod(from_, to_);
    finishBar();
    refresh();
}

void MemberReportScreen::refresh() {
    grid_->setRowCount(0);
    Guarded(ui_, [this] {
        const ReportTable t =
            MemberReport(db_, session_, CheckedPeriod(Text(from_), Text(to_)), filter());
        ShowTable(grid_, t);
    });
}

std::string MemberReportScreen::criteria() const {
    return CriteriaLine(Text(from_), Text(to_), shownFilter());
}

AnnualReportScreen::AnnualReportScreen(Database& db, SessionContext& session, Interaction& ui,
                                       MonthdivRequest fill, QWidget* parent)
    : ReportScreen(db, session, ui, kAnnualReportTitle, PrintLayout::kAnnual, parent),
      fill_(std::move(fill)) {
    year_ = new QLineEdit(this);
    year_->setObjectName("txtYear");
    year_->setMaxLength(4);
    year_->setText(QString::number(ServerDay(db_, session_, ui_).year()));
    bar_->addWidget(new QLabel(QStringLiteral("조회년도"), this));
    bar_->addWidget(year_);
    finishBar();
    connect(year_, &QLineEdit::returnPressed, this, &AnnualReportScreen::refresh);
}

void AnnualReportScreen::refresh() {
    grid_->setRowCount(0);
    Guarded(ui_, [this] {
        const int year = CheckedYear(S(year_->text()));
        const ReportTable t = AnnualReport(db_, session_, year, filter(), fill_);
        ShowTable(grid_, t);
    });
}

std::string AnnualReportScreen::criteria() const {
    const std::string y = S(year_->text());
    return CriteriaLine(y + "-01", y + "-12", shownFilter());
}

}  // namespace qx::ui
