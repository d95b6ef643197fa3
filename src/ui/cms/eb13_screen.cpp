#include "ui/cms/eb13_screen.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "cms/eb13/eb13_files.h"
#include "cms/eb13/eb13_targets.h"
#include "cms/eb14/auth_requery.h"
#include "cms/eb14/eb13_detail.h"
#include "cms/eb14/eb14_apply.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "db/server_clock.h"
#include "session/menu_catalogue.h"
#include "ui/cms/eb13_creation_dialog.h"
#include "ui/cms/eb13_rollback_screen.h"
#include "ui/cms/rollback_password_dialog.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/ledger_screens.h"
#include "ui/main/business_screen.h"
#include "ui/messaging/sms_screens.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

constexpr const char* kNoTargetsText = "신규신청 또는 해지 대상이 없습니다.";

}  // namespace

Eb13Screen::Eb13Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent)
    : CmsFileScreen(db, session, ui, parent) {
    authPollMs_ = kAuthRequeryPollMilliseconds;
    authLimitMs_ = kAuthRequeryLimitSeconds * 1000;
    build({Eb13FileColumns(),
           QStringLiteral("EB13파일목록"),
           QStringLiteral("EB13파일상세내역"),
           {QStringLiteral("전체"), QStringLiteral("미처리/성공"), QStringLiteral("불능")}});
    // Relay institutions only, and only with a detail row chosen.
    connect(details_, &QTableWidget::itemSelectionChanged, this, [this] {
        requery_->setEnabled(session_.cmsrunprg == 2 && !details_->selectedItems().isEmpty() &&
                             !authPoll_->isActive());
    });
    refresh();
}

void Eb13Screen::addActions(QHBoxLayout* actions) {
    auto* create = NewButton(this, "cmdEb13Create", QStringLiteral("EB13 파일생성"));
    auto* apply = NewButton(this, "cmdEb14Apply", QStringLiteral("EB14 파일처리"));
    requery_ = NewButton(this, "cmdRequery", QStringLiteral("인증결과 재조회"));
    requery_->setEnabled(false);
    requery_->setVisible(session_.cmsrunprg == 2);
    authWait_ = new QLabel(this);
    authWait_->setObjectName("lblAuthWait");
    authPoll_ = new QTimer(this);
    actions->addWidget(authWait_);
    actions->addWidget(create);
    actions->addWidget(apply);
    actions->addWidget(requery_);
    auto* sms = NewButton(this, "cmdSms", QStringLiteral("SMS"));
    actions->addWidget(sms);
    connect(create, &QPushButton::clicked, this, [this] { openCreation(); });
    connect(apply, &QPushButton::clicked, this, &Eb13Screen::applyEb14);
    connect(sms, &QPushButton::clicked, this, &Eb13Screen::openSms);
    connect(requery_, &QPushButton::clicked, this, &Eb13Screen::requeryAuth);
    connect(authPoll_, &QTimer::timeout, this, &Eb13Screen::pollAuth);
}

void Eb13Screen::refresh() {
    Guarded(ui_, [this] {
        waiting_->setText(Q(Eb13WaitingText(db_, session_)));
        FillStatusGrid(files_, Eb13FileColumns(),
                       ListEb13Files(db_, session_, from(), to(), searchText()));
    });
    showDetail();
}

void Eb13Screen::showDetail() {
    Guarded(ui_, [this] {
        const auto filter = static_cast<Eb13DetailFilter>(filter_->currentIndex());
        Eb13Detail detail;
        const std::string file = SelectedCellText(files_, 0);
        if (searchSet()) {
            detail = Eb13SearchDetail(db_, session_, from(), to(), searchText(), filter);
        } else if (!file.empty()) {
            detail = Eb13FileDetail(db_, session_, file, filter);
        }
        detailTitle_->setText(Q(detail.title));
        FillDetailGrid(details_, detail);
    });
}

void Eb13Screen::applyEb14() {
    Guarded(ui_, [this] {
        if (!HeadOfficeMayWorkOnFiles(session_, ui_)) return;
        ApplyEb14Files(db_, session_, ui_, ServiceWebResultRequest(ScreenWebHost(session_)));
    });
    refresh();
}

void Eb13Screen::setAuthRequeryTiming(int pollMilliseconds, int limitMilliseconds) {
    authPollMs_ = pollMilliseconds;
    authLimitMs_ = limitMilliseconds;
}

void Eb13Screen::requeryAuth() {
    if (authPoll_->isActive() || details_->selectedItems().isEmpty()) return;
    // The row's file and payer number, found by their column captions.
    auto cell = [this](const char* caption) {
        for (int c = 0; c < details_->columnCount(); ++c)
            if (details_->horizontalHeaderItem(c) &&
                S(details_->horizontalHeaderItem(c)->text()) == caption)
                return SelectedCellText(details_, c);
        return std::string();
    };
    const std::string file = searchSet() ? cell("파일명") : SelectedCellText(files_, 0);
    Guarded(ui_, [&] {
        const std::string payer = cell("납부자번호");
        const auto row = payer.empty() || payer.find_first_not_of("0123456789") != std::string::npos
                             ? std::nullopt
                             : FindAuthRequeryRow(db_, session_, file, std::stoll(payer));
        if (!row) {
            ui_.inform(kAuthRequeryOnlyUnverifiedText, kDefaultTitle);
            return;
        }
        const auto key = StartAuthRequery(db_, session_, ui_, *row);
        if (!key) return;
        authKey_ = *key;
        authWaitedMs_ = 0;
        authWait_->setText(QString::fromUtf8(kAuthRequeryWaitText));
        requery_->setEnabled(false);
        authPoll_->start(authPollMs_);
    });
}

void Eb13Screen::pollAuth() {
    authWaitedMs_ += authPollMs_;
    AuthAnswer answer = AuthAnswer::Unanswerable;
    const bool read = Guarded(ui_, [&] { answer = PollAuthRequery(db_, authKey_); });
    if (read && answer == AuthAnswer::Waiting && authWaitedMs_ < authLimitMs_) return;
    authPoll_->stop();
    authWait_->clear();
    requery_->setEnabled(!details_->selectedItems().isEmpty());
    if (!read) return;  // the database failure has been shown
    if (answer == AuthAnswer::Waiting || answer == AuthAnswer::Unanswerable)
        ui_.inform(kAuthRequeryFailedText, kDefaultTitle);
    else
        ui_.inform(AuthAnswerText(answer), kAuthResultTitle);
    showDetail();
}

void Eb13Screen::selectNewestFile() {
    if (files_->rowCount() > 0) files_->selectRow(0);
}

void Eb13Screen::openSms() {
    auto file = ChosenSmsFile(files_, 0, SmsFileKind::Eb13, ui_);
    if (!file) return;
    // A file of cancellations only opens on its cancelled members.
    auto count = [&](int column) {
        return Q(SelectedCellText(files_, column)).remove(QLatin1Char(',')).toLongLong();
    };
    file->cancelled = count(1) == 0 && count(2) > 0;
    OpenFileSms(db_, session_, ui_, *file, this);
}

void Eb13Screen::openRollback() {
    RollbackPasswordDialog password(ui_, this);
    if (!password.ask()) return;
    Eb13RollbackScreen screen(db_, session_, ui_, this);
    screen.exec();
    refresh();
}

Eb13CreationDialog* Eb13Screen::openCreation() {
    Eb13CreationDialog* dialog = nullptr;
    Guarded(ui_, [&] {
        if (!HeadOfficeMayWorkOnFiles(session_, ui_)) return;
        if (CountEb13Targets(db_, session_) == 0) {
            ui_.inform(kNoTargetsText, kDefaultTitle);
            return;
        }
        // With "run the transmission program after a file is created" on, the
        // window closes by offering to send; otherwise by offering to go back.
        const auto question =
            session_.prgstat[kTolvexOpen] ? Eb13ClosingQuestion::Send : Eb13ClosingQuestion::Return;
        dialog = new Eb13CreationDialog(db_, session_, ui_, question, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &Eb13CreationDialog::ei13ScreenWanted, this, &Eb13Screen::ei13ScreenWanted);
        connect(dialog, &QDialog::finished, this, &Eb13Screen::refresh);
        dialog->open();
    });
    return dialog;
}

void ShowEb13Window(Database& db, SessionContext& session, Interaction& ui, QWidget* parent) {
    ShowScreenWindow("frmDoc31", parent,
                     [&](QWidget* window) { return new Eb13Screen(db, session, ui, window); });
}

}  // namespace qx::ui
