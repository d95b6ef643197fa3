#include "ui/cms/ei13_screen.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "cms/ei13/agreement_evidence.h"
#include "cms/ei13/ei13_creation.h"
#include "cms/rollback/ei13_rollback.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/holidays.h"
#include "db/server_clock.h"
#include "members/agreement_file.h"
#include "ui/cms/file_rollback_screen.h"
#include "ui/cms/rollback_password_dialog.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/period_row.h"

namespace qx::ui {

Ei13Screen::Ei13Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const PeriodRow period = AddListPeriodRow(layout, this, QStringLiteral("생성일자"));
    from_ = period.from;
    to_ = period.to;

    const LabelRow figures = NewLabelRow(this, "lblFigures");
    figures_ = figures.label;
    auto* actions = figures.row;
    actions->addWidget(new QLabel(QStringLiteral("파일일자"), this));
    fileDate_ = NewDateBox(this, "dtpFileDate");
    actions->addWidget(fileDate_);
    auto* create = new QPushButton(QStringLiteral("EI13 파일생성"), this);
    create->setObjectName("cmdCreate");
    auto* send = new QPushButton(QStringLiteral("EI13 파일전송"), this);
    send->setObjectName("cmdSend");
    actions->addWidget(create);
    actions->addWidget(send);
    layout->addLayout(actions);

    files_ = NewTextGrid(this, "grdFiles",
                         {QStringLiteral("파일명"), QStringLiteral("생성일시"),
                          QStringLiteral("전체건수"), QStringLiteral("전송상태")});
    AttachExcelExport(*files_, "EI13파일목록", db_, session_, ui_);
    layout->addWidget(files_, 1);
    QStringList detailCaptions;
    for (const auto& c : Ei13DetailColumns()) detailCaptions << Q(c);
    details_ = NewTextGrid(this, "grdDetail", detailCaptions);
    AttachExcelExport(*details_, "EI13상세내역", db_, session_, ui_);
    layout->addWidget(details_, 2);

    connect(period.list, &QPushButton::clicked, this, &Ei13Screen::refresh);
    connect(create, &QPushButton::clicked, this, &Ei13Screen::create);
    connect(send, &QPushButton::clicked, this, &Ei13Screen::send);
    connect(files_, &QTableWidget::itemSelectionChanged, this, &Ei13Screen::showDetail);
    OnRollbackKey(this, [this] { openRollback(); });

    Guarded(ui_, [this] {
        ReadServerDate(db_, session_);
        const auto now = ParseServerClock(session_.server_datetime);
        const QDate today = now ? ToQDate(now->date) : QDate::currentDate();
        from_->setDate(today.addDays(-30));
        to_->setDate(today);
        fileDate_->setDate(now ? ToQDate(Ei13RequestDate(*now, session_.cmsrunprg,
                                                         session_.launched_with_credentials,
                                                         DatabaseHolidays(db_)))
                               : today);
    });
    refresh();
}

void Ei13Screen::refresh() {
    Guarded(ui_, [this] {
        figures_->setText(Q(LoadEi13Figures(db_, session_).text()));
        std::vector<std::vector<std::string>> rows;
        for (const auto& f :
             ListEi13Files(db_, session_, FromQDate(from_->date()), FromQDate(to_->date())))
            rows.push_back({f.filename, f.created, std::to_string(f.total), f.state});
        FillTextGrid(files_, rows);
    });
    details_->setRowCount(0);
}

void Ei13Screen::showDetail() {
    const int row = files_->currentRow();
    Guarded(ui_, [&] {
        FillTextGrid(details_,
                     row < 0 || !files_->item(row, 0)
                         ? std::vector<std::vector<std::string>>{}
                         : Ei13FileDetail(db_, session_, S(files_->item(row, 0)->text())));
    });
}

void Ei13Screen::create() {
    const CivilDate date = FromQDate(fileDate_->date());
    if (!ui_.confirm(Ei13CreateQuestion(date), kDefaultTitle)) return;
    Guarded(ui_, [&] { CreateEi13File(db_, session_, ui_, date); });
    refresh();
}

void Ei13Screen::send() {
    Guarded(ui_, [&] { SendEi13File(db_, session_, ui_, FromQDate(fileDate_->date())); });
    refresh();
}

void Ei13Screen::openRollback() {
    RollbackPasswordDialog password(ui_, this);
    if (!password.ask()) return;
    Ei13RollbackScreen screen(db_, session_, ui_, this);
    screen.exec();
    refresh();
}

Ei13RollbackScreen::Ei13RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                                       QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmEi13roolback");
    setWindowTitle(QStringLiteral("EI13 파일 롤백"));
    resize(700, 240);
    auto* layout = new QVBoxLayout(this);
    files_ = NewTextGrid(this, "grdFiles",
                         {QStringLiteral("생성일자"), QStringLiteral("파일명"),
                          QStringLiteral("전체건수"), QStringLiteral("처리상태")});
    layout->addWidget(files_, 1);
    connect(AddRollbackButtons(this, layout), &QPushButton::clicked, this,
            &Ei13RollbackScreen::rollBack);
    refill();
}

void Ei13RollbackScreen::refill() {
    Guarded(ui_, [this] {
        const auto c = LatestEi13RollbackCandidate(db_, session_);
        FillTextGrid(files_,
                     c ? std::vector<std::vector<std::string>>{{c->created, c->filename,
                                                                std::to_string(c->total), c->state}}
                       : std::vector<std::vector<std::string>>{});
    });
}

void Ei13RollbackScreen::rollBack() {
    const int row = files_->currentRow();
    const std::string name =
        row < 0 || !files_->item(row, 1) ? std::string() : S(files_->item(row, 1)->text());
    Guarded(ui_, [&] { RollbackEi13File(db_, session_, ui_, name); });
    refill();
}

AgreementChooserDialog::AgreementChooserDialog(Database& db, const SessionContext& session,
                                               Interaction& ui, long long member, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), member_(member) {
    setObjectName("popupFrm21_EI");
    setWindowTitle(QStringLiteral("CMS 출금동의자료 설정"));
    auto* layout = new QVBoxLayout(this);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(new QLabel(QStringLiteral("동의자료구분"), this));
    kind_ = new QComboBox(this);
    kind_->setObjectName("cboKind");
    for (const char* k : kAgreementKinds) kind_->addItem(QString::fromUtf8(k));
    kindRow->addWidget(kind_, 1);
    layout->addLayout(kindRow);
    auto* fileRow = new QHBoxLayout;
    path_ = new QLineEdit(this);
    path_->setObjectName("txtPath");
    fileRow->addWidget(path_, 1);
    auto* browse = new QPushButton(QStringLiteral("찾기"), this);
    browse->setObjectName("cmdBrowse");
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("설정"), this);
    ok->setObjectName("cmdOk");
    auto* cancel = new QPushButton(QStringLiteral("취소"), this);
    cancel->setObjectName("cmdCancel");
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(browse, &QPushButton::clicked, this, &AgreementChooserDialog::browse);
    connect(ok, &QPushButton::clicked, this, &AgreementChooserDialog::attach);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(path_, &QLineEdit::returnPressed, this, &AgreementChooserDialog::attach);
}

void AgreementChooserDialog::browse() {
    const std::string kind = S(kind_->currentText()).substr(0, 1);
    const char* filter = kind == "2"                  ? "공인전자서명 파일(*.der)|*.der"
                         : kind == "4" || kind == "5" ? kChooserVoiceFilter
                                                      : kChooserImageFilter;
    const std::string chosen = ui_.chooseFile("CMS 출금동의자료", filter);
    if (!chosen.empty()) path_->setText(Q(chosen));
}

void AgreementChooserDialog::attach() {
    const std::string kind = S(kind_->currentText()).substr(0, 1);
    const std::string path = S(path_->text().trimmed());
    const bool done = GuardedValue(
        ui_, [&] { return AttachAgreementFile(db_, session_, ui_, member_, path, kind); });
    if (done) accept();
}

}  // namespace qx::ui
