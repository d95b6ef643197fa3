#include "ui/cms/eb11_screen.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "cms/eb11/ea12_create.h"
#include "cms/eb11/eb11_apply.h"
#include "cms/eb11/eb11_file.h"
#include "cms/eb11/eb12_writer.h"
#include "cms/eb11/relay_notices.h"
#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/database.h"
#include "session/menu_catalogue.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace fs = std::filesystem;

namespace {

enum FileColumn { kName = 0, kDay = 1, kState = 2, kPath = 3 };

QStringList Captions(const std::vector<std::string>& names) {
    QStringList out;
    for (const auto& n : names) out << Q(n);
    return out;
}

}  // namespace

const char* Eb11Screen::ScreenId(const SessionContext& session) {
    return session.bank_receipt_switch ? "frmDoc33_1" : "frmDoc33";
}

Eb11Screen::Eb11Screen(Database& db, const SessionContext& session, Interaction& ui,
                       QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(ScreenId(session));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("처리년도"), this));
    years_ = new QComboBox(this);
    years_->setObjectName("cboYear");
    bar->addWidget(years_);
    auto* list = new QPushButton(QStringLiteral("조회"), this);
    list->setObjectName("cmdList");
    bar->addWidget(list);
    bar->addStretch(1);
    auto* apply = new QPushButton(QStringLiteral("EB11 파일적용"), this);
    apply->setObjectName("cmdApply");
    auto* eb12 = new QPushButton(QStringLiteral("EB12 파일생성"), this);
    eb12->setObjectName("cmdEb12");
    auto* sent = new QPushButton(QStringLiteral("EB12 송신완료"), this);
    sent->setObjectName("cmdEb12Sent");
    bar->addWidget(apply);
    bar->addWidget(eb12);
    bar->addWidget(sent);
    layout->addLayout(bar);

    files_ = NewTextGrid(
        this, "grdFiles",
        {QStringLiteral("파일명"), QStringLiteral("파일일자"), QStringLiteral("상태"), QString()});
    files_->setColumnHidden(kPath, true);
    AttachExcelExport(*files_, "EB11파일목록", db_, session_, ui_);
    layout->addWidget(files_, 1);
    details_ = NewTextGrid(this, "grdDetail", Captions(Eb11DetailColumns()));
    AttachExcelExport(*details_, "EB11처리내역", db_, session_, ui_);
    layout->addWidget(details_, 2);
    if (!session_.bank_receipt_switch) {
        layout->addWidget(new QLabel(QStringLiteral("계좌변경/해지 통지내역"), this));
        notices_ = NewTextGrid(this, "grdNotices", Captions(RelayNoticeColumns()));
        AttachExcelExport(*notices_, "계좌변경해지통지내역", db_, session_, ui_);
        layout->addWidget(notices_, 1);
    }

    connect(list, &QPushButton::clicked, this, &Eb11Screen::refresh);
    connect(apply, &QPushButton::clicked, this, &Eb11Screen::apply);
    connect(eb12, &QPushButton::clicked, this, &Eb11Screen::writeEb12);
    connect(sent, &QPushButton::clicked, this, &Eb11Screen::markSent);
    connect(files_, &QTableWidget::itemSelectionChanged, this, &Eb11Screen::showDetail);
    Guarded(ui_, [this] {
        for (const std::string& y : Eb11Years(db_, session_)) years_->addItem(Q(y));
        if (years_->count() == 0) {
            const std::string today = db_.scalar("select date_format(now(),'%Y')");
            years_->addItem(Q(today));
        }
    });
    refresh();
}

void Eb11Screen::refresh() {
    Guarded(ui_, [this] {
        const auto entries = ListEb11FilesAndDays(db_, session_, S(years_->currentText()));
        std::vector<std::vector<std::string>> rows;
        for (const auto& e : entries) rows.push_back({e.name, e.day, e.state, e.path});
        FillTextGrid(files_, rows);
        if (notices_) FillTextGrid(notices_, RelayNotices(db_, session_, S(years_->currentText())));
    });
    details_->setRowCount(0);
}

std::string Eb11Screen::selectedDay() const {
    const int row = files_->currentRow();
    if (row < 0 || !files_->item(row, kDay)) return {};
    return S(files_->item(row, kDay)->text());
}

std::string Eb11Screen::selectedPath() const {
    const int row = files_->currentRow();
    if (row < 0 || !files_->item(row, kPath)) return {};
    return S(files_->item(row, kPath)->text());
}

void Eb11Screen::showDetail() {
    Guarded(ui_, [this] {
        const std::string day = selectedDay();
        FillTextGrid(details_, day.empty() ? std::vector<std::vector<std::string>>{}
                                           : Eb11Detail(db_, session_, day));
    });
}

void Eb11Screen::apply() {
    const std::string path = selectedPath();
    if (path.empty()) {
        ui_.inform(kEb11NoFileText, kDefaultTitle);
        return;
    }
    const int row = files_->currentRow();
    Guarded(ui_, [&] { ApplyEb11File(db_, session_, ui_, path, Eb11ModeOf(session_)); });
    refresh();
    if (row >= 0 && row < files_->rowCount()) files_->selectRow(row);
}

void Eb11Screen::writeEb12() {
    const std::string day = selectedDay();
    Guarded(ui_, [&] { CreateEb12File(db_, session_, ui_, day); });
}

void Eb11Screen::markSent() {
    const std::string day = selectedDay();
    if (day.empty()) {
        ui_.inform(kEb12NoSelectionText, kDefaultTitle);
        return;
    }
    const int row = files_->currentRow();
    Guarded(ui_, [&] { MarkEb12Sent(db_, session_, ui_, day); });
    refresh();
    if (row >= 0 && row < files_->rowCount()) files_->selectRow(row);
}

Ea12Dialog::Ea12Dialog(const SessionContext& session, Interaction& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
    setObjectName("frmEa12Create");
    setWindowTitle(QStringLiteral("EA12 파일 작성"));
    resize(600, 360);
    auto* layout = new QVBoxLayout(this);
    files_ = NewTextGrid(this, "grdFiles",
                         {QStringLiteral("파일명"), QStringLiteral("신규"), QStringLiteral("해지"),
                          QStringLiteral("상태"), QString()});
    files_->setColumnHidden(4, true);
    layout->addWidget(files_, 1);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("신규 불능건수"), this));
    news_ = new QLineEdit(QStringLiteral("0"), this);
    news_->setObjectName("txtNew");
    bar->addWidget(news_);
    bar->addWidget(new QLabel(QStringLiteral("해지 불능건수"), this));
    cancels_ = new QLineEdit(QStringLiteral("0"), this);
    cancels_->setObjectName("txtCancel");
    bar->addWidget(cancels_);
    auto* create = new QPushButton(QStringLiteral("EA12 작성"), this);
    create->setObjectName("cmdCreate");
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName("cmdClose");
    bar->addWidget(create);
    bar->addWidget(close);
    layout->addLayout(bar);
    connect(create, &QPushButton::clicked, this, &Ea12Dialog::create);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    refresh();
}

void Ea12Dialog::refresh() {
    std::vector<std::vector<std::string>> rows;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ExchangeFolder(session_, "EA11"), ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const Ea11Reading r = ReadEa11File(session_, entry.path().string());
        rows.push_back({entry.path().filename().string(), std::to_string(r.news.size()),
                        std::to_string(r.cancels.size()), r.error, entry.path().string()});
    }
    std::sort(rows.begin(), rows.end());
    FillTextGrid(files_, rows);
    if (files_->rowCount() > 0) files_->selectRow(0);
}

void Ea12Dialog::create() {
    const int row = files_->currentRow();
    if (row < 0) {
        ui_.inform(kEb12NoSelectionText, kDefaultTitle);
        return;
    }
    bool okNew = false, okCancel = false;
    const long long news = news_->text().trimmed().toLongLong(&okNew);
    const long long cancels = cancels_->text().trimmed().toLongLong(&okCancel);
    if (!okNew || !okCancel) {
        ui_.inform(kEa12NoCountText, kDefaultTitle);
        return;
    }
    Guarded(ui_,
            [&] { CreateEa12File(session_, ui_, S(files_->item(row, 4)->text()), news, cancels); });
}

void OpenEb11FromStatus(Database& db, const SessionContext& session, Interaction& ui,
                        QWidget* parent) {
    if (session.stat_company == "0") {
        if (!ui.confirm("테스트 계정인경우 EB12 작성만 처리합니다. EB12파일을 작성 하시겠습니까?",
                        kDefaultTitle))
            return;
        Ea12Dialog dialog(session, ui, parent);
        dialog.exec();
        return;
    }
    QDialog window(parent);
    const char* id = Eb11Screen::ScreenId(session);
    window.setObjectName(QString::fromLatin1(id) + "Window");
    window.setWindowTitle(Q(ScreenTitle(id)));
    window.resize(1000, 640);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new Eb11Screen(db, session, ui, &window));
    window.exec();
}

}  // namespace qx::ui
