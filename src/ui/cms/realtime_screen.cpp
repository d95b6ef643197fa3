#include "ui/cms/realtime_screen.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "platform/interaction.h"
#include "ui/cms/kftc_list_grid.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/worker_call.h"

namespace qx::ui {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    // Enter in a field never sends a request: only a click does.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLineEdit* Field(QWidget* parent, const char* name, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

QTableWidget* Grid(QWidget* parent, const char* name) {
    auto* g = new QTableWidget(parent);
    g->setObjectName(name);
    return g;
}

QComboBox* KindChoice(QWidget* parent, const char* name, bool listTexts) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItem(QString::fromUtf8(listTexts ? "전체" : "선택"), QString());
    for (RealtimeKind k :
         {RealtimeKind::Inquiry, RealtimeKind::Registration, RealtimeKind::Cancellation})
        c->addItem(Q(listTexts ? RealtimeKindListText(k) : RealtimeKindChoiceText(k)),
                   QString::number(static_cast<int>(k)));
    return c;
}

std::string Data(const QComboBox* c) {
    return S(c->currentData().toString());
}

// Member search columns of the row a choice fills the request from.
enum MemberColumn { kName = 1, kAccount = 2, kBankCode = 4, kHolder = 5, kPayer = 6 };

}  // namespace

RealtimeScreen::RealtimeScreen(Database& db, SessionContext& session, Interaction& ui,
                               KftcTransfer& transfer, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmRealtime_kftc");
    setWindowTitle(QString::fromUtf8(kRealtimeScreenTitle));
    setModal(true);
    worker_ = std::make_unique<WorkerInteraction>(
        this, ui_, [this](const QString& text) { progress_->setText(text); });
    service_ = std::make_unique<RealtimeService>(db_, session_, *worker_, transfer);

    auto* layout = new QVBoxLayout(this);
    progress_ = new QLabel(this);
    progress_->setObjectName("lblProgress");
    layout->addWidget(progress_);

    // Request: kind, member search, fields.
    auto* requestBox = new QGroupBox(QStringLiteral("실시간 요청"), this);
    auto* requestLayout = new QGridLayout(requestBox);
    kind_ = KindChoice(requestBox, "cboKind", false);
    requestLayout->addWidget(new QLabel(QStringLiteral("부가서비스 구분"), requestBox), 0, 0);
    requestLayout->addWidget(kind_, 0, 1, 1, 2);
    searchField_ = new QComboBox(requestBox);
    searchField_->setObjectName("cboSearchField");
    searchField_->addItems({QStringLiteral("상호"), QStringLiteral("고객명"),
                            QStringLiteral("계좌번호"), QStringLiteral("납부자번호"),
                            QStringLiteral("예금주번호"), QStringLiteral("외부참조키")});
    searchField_->setCurrentIndex(static_cast<int>(RealtimeMemberField::Name));
    searchText_ = Field(requestBox, "txtSearch", 32);
    searchCms_ = cmsStatusChoice("cboSearchCms");
    auto* search = Button(requestBox, "cmdSearch", "회원검색");
    requestLayout->addWidget(new QLabel(QStringLiteral("회원검색"), requestBox), 1, 0);
    requestLayout->addWidget(searchField_, 1, 1);
    requestLayout->addWidget(searchText_, 1, 2);
    requestLayout->addWidget(searchCms_, 1, 3);
    requestLayout->addWidget(search, 1, 4);
    members_ = Grid(requestBox, "grdMembers");
    requestLayout->addWidget(members_, 2, 0, 1, 6);

    bank_ = Field(requestBox, "txtBank", 7);
    account_ = Field(requestBox, "txtAccount", 16);
    holder_ = Field(requestBox, "txtHolder", 10);
    payer_ = Field(requestBox, "txtPayer", 10);
    name_ = Field(requestBox, "txtName", 32);
    const std::pair<const char*, QLineEdit*> fields[] = {{"은행코드", bank_},
                                                         {"계좌번호", account_},
                                                         {"예금주번호", holder_},
                                                         {"납부자번호", payer_},
                                                         {"고객명", name_}};
    int column = 0;
    for (const auto& [caption, edit] : fields) {
        requestLayout->addWidget(new QLabel(QString::fromUtf8(caption), requestBox), 3, column);
        requestLayout->addWidget(edit, 4, column++);
    }
    auto* send = Button(requestBox, "cmdRequest", "실시간 요청");
    requestLayout->addWidget(send, 4, column);
    layout->addWidget(requestBox, 3);

    // Results the clearing house kept.
    auto* resultBox = new QGroupBox(QStringLiteral("CMS 실시간 부가서비스 내역(금결원제공)"), this);
    auto* resultLayout = new QVBoxLayout(resultBox);
    auto* period = new QHBoxLayout;
    from_ = new QDateEdit(QDate::currentDate().addDays(-7), resultBox);
    from_->setObjectName("dtpFrom");
    to_ = new QDateEdit(QDate::currentDate(), resultBox);
    to_->setObjectName("dtpTo");
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat("yyyy-MM-dd");
    }
    auto* showResults = Button(resultBox, "cmdResultList", "내역조회");
    period->addWidget(new QLabel(QStringLiteral("조회기간"), resultBox));
    period->addWidget(from_);
    period->addWidget(new QLabel(QStringLiteral("~"), resultBox));
    period->addWidget(to_);
    period->addWidget(showResults);
    period->addStretch(1);
    resultLayout->addLayout(period);
    results_ = Grid(resultBox, "grdResults");
    resultLayout->addWidget(results_);
    layout->addWidget(resultBox, 2);

    // The program's own requests.
    auto* historyBox = new QGroupBox(QStringLiteral("요청내역"), this);
    auto* historyLayout = new QVBoxLayout(historyBox);
    auto* filters = new QHBoxLayout;
    historyBefore_ = cmsStatusChoice("cboHistBefore");
    historyKind_ = KindChoice(historyBox, "cboHistKind", true);
    historyAfter_ = cmsStatusChoice("cboHistAfter");
    historySearch_ = Field(historyBox, "txtHistSearch", 32);
    auto* showHistory = Button(historyBox, "cmdHistory", "요청내역조회");
    filters->addWidget(new QLabel(QStringLiteral("CMS상태"), historyBox));
    filters->addWidget(historyBefore_);
    filters->addWidget(new QLabel(QStringLiteral("처리구분"), historyBox));
    filters->addWidget(historyKind_);
    filters->addWidget(new QLabel(QStringLiteral("처리후CMS상태"), historyBox));
    filters->addWidget(historyAfter_);
    filters->addWidget(historySearch_, 1);
    filters->addWidget(showHistory);
    historyLayout->addLayout(filters);
    history_ = Grid(historyBox, "grdHistory");
    historyLayout->addWidget(history_);
    layout->addWidget(historyBox, 3);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* close = Button(this, "cmdClose", "닫기");
    bottom->addWidget(close);
    layout->addLayout(bottom);

    for (auto [grid, title] : {std::pair{members_, "실시간부가서비스회원검색"},
                               std::pair{results_, "실시간부가서비스내역"},
                               std::pair{history_, "실시간부가서비스요청내역"}})
        AttachExcelExport(*grid, QString::fromUtf8(title), db_, session_, ui_);

    connect(search, &QPushButton::clicked, this, &RealtimeScreen::searchMembers);
    connect(searchText_, &QLineEdit::returnPressed, this, &RealtimeScreen::searchMembers);
    connect(historySearch_, &QLineEdit::returnPressed, this, &RealtimeScreen::showHistory);
    connect(send, &QPushButton::clicked, this, &RealtimeScreen::request);
    connect(showResults, &QPushButton::clicked, this, &RealtimeScreen::showResults);
    connect(showHistory, &QPushButton::clicked, this, &RealtimeScreen::showHistory);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // A double click or Enter on a found member fills the request.
    connect(members_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { fillFromMember(row); });
    connect(members_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { fillFromMember(index.row()); });
    resize(1200, 820);
    // The history opens with the screen: a plain read, done before it shows.
    ShowKftcList(history_, service_->History({}));
}

RealtimeScreen::~RealtimeScreen() = default;

QComboBox* RealtimeScreen::cmsStatusChoice(const char* name) {
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->addItem(QStringLiteral("전체"), QString());
    for (const auto& e : LoadSharedCodeList(db_, "cmsstat")) c->addItem(Q(e.text), Q(e.data));
    return c;
}

bool RealtimeScreen::runBusy(const std::function<void()>& work) {
    if (busy_) return false;
    busy_ = true;
    for (auto* w : findChildren<QWidget*>())
        if (w != progress_) w->setEnabled(false);
    std::exception_ptr failure;
    try {
        RunOffThread(work);
    } catch (...) {
        failure = std::current_exception();
    }
    for (auto* w : findChildren<QWidget*>()) w->setEnabled(true);
    busy_ = false;
    return Guarded(ui_, [&] {
        if (failure) std::rethrow_exception(failure);
    });
}

void RealtimeScreen::done(int result) {
    if (busy_) {
        ui_.inform(kBusyClosingText, kDefaultTitle);
        return;
    }
    QDialog::done(result);
}

void RealtimeScreen::searchMembers() {
    const RealtimeMemberFilter filter{
        static_cast<RealtimeMemberField>(searchField_->currentIndex()), S(searchText_->text()),
        Data(searchCms_)};
    KftcList list;
    if (runBusy([&] { list = service_->SearchMembers(filter); })) ShowKftcList(members_, list);
}

void RealtimeScreen::fillFromMember(int row) {
    auto text = [&](int column) {
        auto* item = members_->item(row, column);
        return item ? item->text() : QString();
    };
    bank_->setText(text(kBankCode));
    account_->setText(text(kAccount));
    holder_->setText(text(kHolder));
    payer_->setText(text(kPayer));
    name_->setText(text(kName));
}

void RealtimeScreen::request() {
    const RealtimeRequest r{RealtimeKindOf(Data(kind_)),   S(bank_->text().trimmed()),
                            S(account_->text().trimmed()), S(holder_->text().trimmed()),
                            S(payer_->text().trimmed()),   S(name_->text().trimmed())};
    runBusy([&] { last_ = service_->Request(r); });
    if (last_.row > 0) {
        showHistory();
        if (members_->rowCount() > 0) searchMembers();
    }
}

void RealtimeScreen::showResults() {
    const auto kind = RealtimeKindOf(Data(kind_));
    const std::string from = S(from_->date().toString("yyyyMMdd"));
    const std::string to = S(to_->date().toString("yyyyMMdd"));
    std::optional<KftcList> list;
    if (runBusy([&] { list = service_->ResultList(kind, from, to); }) && list)
        ShowKftcList(results_, *list);
}

void RealtimeScreen::showHistory() {
    const RealtimeHistoryFilter filter{Data(historyBefore_), Data(historyKind_),
                                       Data(historyAfter_), S(historySearch_->text().trimmed())};
    KftcList list;
    if (runBusy([&] { list = service_->History(filter); })) ShowKftcList(history_, list);
}

}  // namespace qx::ui
