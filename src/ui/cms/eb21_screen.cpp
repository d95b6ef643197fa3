#include "ui/cms/eb21_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

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
    : CmsFileScreen(db, session, ui, parent) {
    build({Eb21FileColumns(),
           QStringLiteral("EB21파일목록"),
           QStringLiteral("EB21파일상세내역"),
           // In the order of Eb21DetailFilter.
           {QStringLiteral("전체"), QStringLiteral("미처리/출금"), QStringLiteral("출금불능"),
            QStringLiteral("부분출금")}});
    refresh();
}

void Eb21Screen::addActions(QHBoxLayout* actions) {
    auto* create = NewButton(this, "cmdEb21Create", QStringLiteral("CMS 출금파일 생성"));
    auto* apply = NewButton(this, "cmdEb22Apply", QStringLiteral("EB22 처리"));
    auto* sms = NewButton(this, "cmdSms", QStringLiteral("SMS"));
    for (QWidget* w : {create, apply, sms}) actions->addWidget(w);
    connect(create, &QPushButton::clicked, this, [this] { openCreation(); });
    connect(apply, &QPushButton::clicked, this, &Eb21Screen::applyEb22);
    connect(sms, &QPushButton::clicked, this, &Eb21Screen::openSms);
}

void Eb21Screen::refresh() {
    Guarded(ui_, [this] {
        waiting_->setText(Q(Eb21WaitingText(db_, session_)));
        FillStatusGrid(files_, Eb21FileColumns(),
                       ListEb21Files(db_, session_, from(), to(), searchText()));
    });
    showDetail();
}

void Eb21Screen::showDetail() {
    Guarded(ui_, [this] {
        const auto filter = static_cast<Eb21DetailFilter>(filter_->currentIndex());
        FileDetail detail;
        const std::string file = SelectedCellText(files_, kEb21FileNameColumn);
        if (searchSet()) {
            detail = Eb21SearchDetail(db_, session_, from(), to(), searchText(), filter);
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
    ShowScreenWindow("frmDoc32", parent,
                     [&](QWidget* window) { return new Eb21Screen(db, session, ui, window); });
}

}  // namespace qx::ui
