#include "ui/cms/eb21_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "cms/eb22/eb21_detail.h"
#include "cms/eb22/eb21_files.h"
#include "cms/eb22/eb22_apply.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "db/server_clock.h"
#include "session/menu_catalogue.h"
#include "ui/cms/eb21_creation_dialog.h"
#include "ui/cms/eb21_rollback_screen.h"
#include "ui/cms/rollback_password_dialog.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/ledger_screens.h"
#include "ui/messaging/sms_screens.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

// The wait cursor while the files are applied; the progress goes through
// the Interaction.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

Eb21Screen::Eb21Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const PeriodRow period = NewPeriodRow(this, QStringLiteral("생성일자"));
    auto* bar = period.row;
    from_ = period.from;
    to_ = period.to;
    auto* list = AddListButton(bar, this);
    bar->addStretch(1);
    layout->addLayout(bar);

    const CmsSearchRow searchRow = NewCmsSearchRow(this);
    search_ = searchRow.text;
    searchToggle_ = searchRow.toggle;
    layout->addLayout(searchRow.row);

    auto* actions = new QHBoxLayout;
    waiting_ = new QLabel(this);
    waiting_->setObjectName("lblWaiting");
    actions->addWidget(waiting_);
    actions->addStretch(1);
    auto* create = new QPushButton(QStringLiteral("CMS 출금파일 생성"), this);
    create->setObjectName("cmdEb21Create");
    auto* apply = new QPushButton(QStringLiteral("EB22 처리"), this);
    apply->setObjectName("cmdEb22Apply");
    auto* sms = new QPushButton(QStringLiteral("SMS"), this);
    sms->setObjectName("cmdSms");
    actions->addWidget(create);
    actions->addWidget(apply);
    actions->addWidget(sms);
    layout->addLayout(actions);

    files_ = new QTableWidget(this);
    files_->setObjectName("grdFiles");
    SetUpStatusGrid(files_, Eb21FileColumns());
    AttachExcelExport(*files_, QStringLiteral("EB21파일목록"), db_, session_, ui_);
    layout->addWidget(files_, 1);

    auto* detailBar = new QHBoxLayout;
    detailTitle_ = new QLabel(this);
    detailTitle_->setObjectName("lblDetail");
    detailBar->addWidget(detailTitle_);
    detailBar->addStretch(1);
    filter_ = new QComboBox(this);
    filter_->setObjectName("cboFilter");
    // In the order of Eb21DetailFilter.
    filter_->addItems({QStringLiteral("전체"), QStringLiteral("미처리/출금"),
                       QStringLiteral("출금불능"), QStringLiteral("부분출금")});
    detailBar->addWidget(filter_);
    layout->addLayout(detailBar);
    details_ = new QTableWidget(this);
    details_->setObjectName("grdDetail");
    details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    details_->setSelectionBehavior(QAbstractItemView::SelectRows);
    AttachExcelExport(*details_, QStringLiteral("EB21파일상세내역"), db_, session_, ui_);
    layout->addWidget(details_, 1);

    connect(list, &QPushButton::clicked, this, &Eb21Screen::refresh);
    connect(searchToggle_, &QPushButton::clicked, this, &Eb21Screen::toggleSearch);
    connect(create, &QPushButton::clicked, this, [this] { openCreation(); });
    connect(apply, &QPushButton::clicked, this, &Eb21Screen::applyEb22);
    connect(sms, &QPushButton::clicked, this, &Eb21Screen::openSms);
    connect(files_, &QTableWidget::itemSelectionChanged, this, &Eb21Screen::showDetail);
    connect(filter_, &QComboBox::currentIndexChanged, this, &Eb21Screen::showDetail);
    auto* rollback = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F10), this);
    rollback->setContext(Qt::WidgetWithChildrenShortcut);
    connect(rollback, &QShortcut::activated, this, &Eb21Screen::openRollback);

    Guarded(ui_, [this] {
        const auto today = ParseDate(ReadServerDate(db_, session_));
        const QDate date = today ? ToQDate(*today) : QDate::currentDate();
        from_->setDate(date);
        to_->setDate(date);
    });
    refresh();
}

void Eb21Screen::toggleSearch() {
    searchSet_ = !searchSet_;
    searchToggle_->setText(searchSet_ ? QStringLiteral("설정 취소") : QStringLiteral("설정"));
    search_->setReadOnly(searchSet_);
    refresh();
}

void Eb21Screen::refresh() {
    Guarded(ui_, [this] {
        waiting_->setText(Q(Eb21WaitingText(db_, session_)));
        FillStatusGrid(
            files_, Eb21FileColumns(),
            ListEb21Files(db_, session_, FromQDate(from_->date()), FromQDate(to_->date()),
                          searchSet_ ? S(search_->text()) : std::string()));
    });
    showDetail();
}

void Eb21Screen::showDetail() {
    Guarded(ui_, [this] {
        const auto filter = static_cast<Eb21DetailFilter>(filter_->currentIndex());
        FileDetail detail;
        const std::string file = SelectedCellText(files_, kEb21FileNameColumn);
        if (searchSet_) {
            detail = Eb21SearchDetail(db_, session_, FromQDate(from_->date()),
                                      FromQDate(to_->date()), S(search_->text()), filter);
        } else if (!file.empty()) {
            detail = Eb21FileDetail(db_, session_, file, filter);
        }
        detailTitle_->setText(Q(detail.title));
        FillDetailGrid(details_, detail);
    });
}

void Eb21Screen::applyEb22() {
    Guarded(ui_, [this] {
        if (!HeadOfficeMayWorkOnFiles(session_, ui_)) return;
        WaitCursor wait;
        ApplyEb22Files(db_, session_, ui_, ServiceWebEb22Request(ScreenWebHost(session_)));
    });
    refresh();
}

void Eb21Screen::openSms() {
    if (const auto file = ChosenSmsFile(files_, kEb21FileNameColumn, SmsFileKind::Eb21, ui_))
        OpenFileSms(db_, session_, ui_, *file, this);
}

void Eb21Screen::openRollback() {
    RollbackPasswordDialog password(ui_, this);
    if (!password.ask()) return;
    Eb21RollbackScreen screen(db_, session_, ui_, this);
    screen.exec();
    refresh();
}

bool Eb21Screen::openCreation() {
    const bool opened = GuardedValue(ui_, [this] {
        if (!HeadOfficeMayWorkOnFiles(session_, ui_)) return false;
        if (!HasWithdrawalTargets(db_, session_)) {
            ui_.inform(kNoWithdrawalTargetsText, kDefaultTitle);
            return false;
        }
        return OpenEb21Creation(db_, session_, ui_, this);
    });
    // The list shows the new file once the creation window closes.
    if (opened)
        for (auto* dialog : findChildren<Eb21CreationDialog*>())
            connect(dialog, &QDialog::finished, this, &Eb21Screen::refresh, Qt::UniqueConnection);
    return opened;
}

void ShowEb21Window(Database& db, SessionContext& session, Interaction& ui, QWidget* parent) {
    QDialog window(parent);
    window.setObjectName("frmDoc32");
    window.setWindowTitle(Q(ScreenTitle("frmDoc32")));
    window.resize(1200, 700);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new Eb21Screen(db, session, ui, &window));
    window.exec();
}

}  // namespace qx::ui
