#include "ui/giro/giro_screens.h"

#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "channels/giro/gr15_apply.h"
#include "channels/giro/gr15_report.h"
#include "core/session_context.h"
#include "db/server_clock.h"
#include "platform/profile_ini.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

// Amounts and fees to the right, the kinds to the left, the rest centred.
std::vector<StatusColumn> ReceiptColumns() {
    const auto captions = Gr15GridColumns();
    const auto widths = Gr15GridWidths();
    std::vector<StatusColumn> columns;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int align = (i == 7 || i == 8) ? kAlignRight : (i >= 9 ? kAlignLeft : kAlignCentre);
        columns.push_back({captions[i], widths[i], align});
    }
    return columns;
}

ProfileIni SettingsFile(const SessionContext& s) {
    return ProfileIni(s.AppPath + "Login.ini");
}

}  // namespace

GiroReceiptDialog::GiroReceiptDialog(Database& db, SessionContext& session, Interaction& ui,
                                     QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("popupGIRO");
    setWindowTitle(QStringLiteral("OCR지로 수납명세서(GR15)"));
    resize(1150, 600);
    chooser_ = [this](const QString& caption, const QString& folder, const QString& filter) {
        return QFileDialog::getOpenFileName(this, caption, folder, filter);
    };
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* open = new QPushButton(QStringLiteral("파일열기"), this);
    open->setObjectName("cmdOpen");
    bar->addWidget(open);
    path_ = new QLabel(this);
    path_->setObjectName("lblFile");
    bar->addWidget(path_, 1);
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    bar->addWidget(count_);
    apply_ = new QPushButton(QStringLiteral("적용"), this);
    apply_->setObjectName("cmdApply");
    apply_->setEnabled(false);
    bar->addWidget(apply_);
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName("cmdClose");
    bar->addWidget(close);
    layout->addLayout(bar);
    grid_ = new QTableWidget(this);
    grid_->setObjectName("grdGiro");
    SetUpStatusGrid(grid_, ReceiptColumns());
    AttachExcelExport(*grid_, kGr15ListTitle, db_, session_, ui_);
    layout->addWidget(grid_, 1);
    connect(open, &QPushButton::clicked, this, &GiroReceiptDialog::openFile);
    connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QString GiroReceiptDialog::startFolder() const {
    const ProfileIni ini = SettingsFile(session_);
    const std::string last = ini.read("FILEFOLDER", "PICKFOLDER");
    return Q(last.empty() ? session_.fileback_folder : last);
}

void GiroReceiptDialog::openFile() {
    const QString path =
        chooser_(Q(kGr15OpenTitle), startFolder(), QStringLiteral("GR15 (%1)").arg(kGr15Filter));
    if (path.isEmpty()) return;
    // The next file is most likely in the same folder.
    SettingsFile(session_).write("FILEFOLDER", "PICKFOLDER", S(QFileInfo(path).absolutePath()));
    load(path);
}

void GiroReceiptDialog::load(const QString& path) {
    file_.reset();
    apply_->setEnabled(false);
    grid_->setRowCount(0);
    count_->clear();
    path_->setText(path);
    Guarded(ui_, [&] { file_ = OpenGr15File(db_, session_, ui_, S(path)); });
    if (!file_) return;
    FillStatusGrid(grid_, ReceiptColumns(), Gr15GridRows(*file_));
    count_->setText(QStringLiteral("( %1 건)").arg(file_->payments.size()));
    apply_->setEnabled(true);
}

bool GiroReceiptDialog::apply() {
    if (!file_) return false;
    const bool done =
        GuardedValue(ui_, [&] { return ApplyGr15File(db_, session_, ui_, *file_).applied; });
    if (done) {
        file_.reset();
        apply_->setEnabled(false);
        emit applied();
    }
    return done;
}

Gr15ReportScreen::Gr15ReportScreen(Database& db, SessionContext& session, Interaction& ui,
                                   QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const PeriodRow period = AddListPeriodRow(layout, this, QStringLiteral("처리일자"));
    from_ = period.from;
    to_ = period.to;
    auto* receipts = NewButton(this, "cmdGiro", QStringLiteral("GR15 파일처리"));
    period.row->addWidget(receipts);

    files_ = NewStatusGrid(this, "grdFiles", Gr15FileColumns());
    AttachExcelExport(*files_, kGr15ListTitle, db_, session_, ui_);
    layout->addWidget(files_, 1);

    const LabelRow detailBar = NewLabelRow(this, "lblDetail");
    detailTitle_ = detailBar.label;
    unbooked_ = new QLabel(this);
    unbooked_->setObjectName("lblUnbooked");
    unbooked_->setStyleSheet("color: #b00020;");
    detailBar.row->addWidget(unbooked_);
    layout->addLayout(detailBar.row);
    details_ = NewStatusGrid(this, "grdDetail", Gr15DetailColumns());
    AttachExcelExport(*details_, kGr15ListTitle, db_, session_, ui_);
    layout->addWidget(details_, 2);

    connect(period.list, &QPushButton::clicked, this, &Gr15ReportScreen::refresh);
    connect(receipts, &QPushButton::clicked, this, [this] { openReceipts(); });
    connect(files_, &QTableWidget::itemSelectionChanged, this, &Gr15ReportScreen::showDetail);

    Guarded(ui_, [this] {
        const QDate date = ServerQDate(db_, session_);
        from_->setDate(QDate(date.year(), date.month(), 1));
        to_->setDate(date);
    });
    refresh();
}

void Gr15ReportScreen::refresh() {
    Guarded(ui_, [this] {
        FillStatusGrid(
            files_, Gr15FileColumns(),
            ListGr15Files(db_, session_, FromQDate(from_->date()), FromQDate(to_->date())));
    });
    if (files_->rowCount() > 0) files_->selectRow(0);
    showDetail();
}

void Gr15ReportScreen::showDetail() {
    Guarded(ui_, [this] {
        const std::string file = SelectedCellText(files_, 0);
        if (file.empty()) {
            detailTitle_->clear();
            unbooked_->clear();
            details_->setRowCount(0);
            return;
        }
        const Gr15Detail d = Gr15FileDetail(db_, session_, file);
        detailTitle_->setText(Q(d.title));
        unbooked_->setText(QStringLiteral("%1 건 ").arg(d.unbookedCount) + Q(d.unbookedText));
        FillStatusGrid(details_, d.columns, d.rows);
    });
}

GiroReceiptDialog* Gr15ReportScreen::openReceipts() {
    auto* dialog = new GiroReceiptDialog(db_, session_, ui_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &GiroReceiptDialog::applied, this, &Gr15ReportScreen::refresh);
    dialog->open();
    return dialog;
}

}  // namespace qx::ui
