#include "ui/export/bill_screens.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "export/bills/bills.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/member_filter_bar.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

constexpr const char* kBatchExportTitle = "청구서발행내역";
constexpr const char* kBillExportTitle = "청구서상세내역";
constexpr const char* kCandidateExportTitle = "청구서발행대상";

// Columns as wide as their texts (as the least width grows to them), the
// counts and amounts (`right`, by index) aligned to the right.
std::vector<StatusColumn> FittedColumns(const std::vector<std::string>& captions,
                                        const std::set<int>& right) {
    constexpr int kLeastTwips = 300;
    std::vector<StatusColumn> columns;
    for (int c = 0; c < static_cast<int>(captions.size()); ++c)
        columns.push_back({captions[static_cast<std::size_t>(c)], kLeastTwips,
                           right.count(c) != 0 ? kAlignRight : kAlignLeft});
    return columns;
}

const std::vector<StatusColumn> kBatchColumns =
    FittedColumns({"청구월", "발행일시", "발행건수", "메일발송", "총청구액"}, {2, 3, 4});
const std::vector<StatusColumn> kBillColumns =
    FittedColumns({"번호", "청구월", "발행일시", "고객명", "사업자/주민번호", "당월청구액",
                   "총청구액", "발송", "이메일"},
                  {0, 5, 6, 7});
const std::vector<StatusColumn> kCandidateColumns =
    FittedColumns({"납부자번호", "고객명(상호)", "사업자/주민번호", "대체입금계좌", "이메일",
                   "출금일", "이체개시월", "전월미납액", "당월청구액", "총청구액"},
                  {5, 7, 8, 9});

QLineEdit* MonthEdit(QWidget* parent, const char* name, const std::string& month) {
    auto* edit = new QLineEdit(Q(month), parent);
    edit->setObjectName(name);
    edit->setInputMask("9999-99");
    edit->setMinimumWidth(80);
    edit->setMaximumWidth(90);
    return edit;
}

// The current month "yyyy-mm" from the session's "yy-mm".
std::string CurrentMonth(const SessionContext& s) {
    return s.month_current.size() == 5 ? "20" + s.month_current : std::string();
}

}  // namespace

// frmDoc54 ------------------------------------------------------------------

BillListScreen::BillListScreen(Database& db, SessionContext& session, Interaction& ui,
                               std::string webHost, UrlOpener openUrl, QWidget* parent)
    : QWidget(parent),
      db_(db),
      session_(session),
      ui_(ui),
      webHost_(std::move(webHost)),
      openUrl_(std::move(openUrl)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    const std::string month = CurrentMonth(session_);
    from_ = MonthEdit(this, "txtFrom", month.empty() ? month : month.substr(0, 4) + "-01");
    to_ = MonthEdit(this, "txtTo", month);
    auto* find = NewButton(this, "cmdList", "조회");
    auto* issue = NewButton(this, "cmdIssue", "청구서 발행");
    auto* texts = NewButton(this, "cmdTexts", "청구서설정");
    auto* mail = NewButton(this, "cmdMail", "메일 재발송");
    bar->addWidget(new QLabel(QStringLiteral("청구월"), this));
    for (QWidget* w : std::initializer_list<QWidget*>{from_, new QLabel(QStringLiteral("~"), this),
                                                      to_, find, issue, texts, mail})
        bar->addWidget(w);
    bar->addStretch(1);
    layout->addLayout(bar);
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    layout->addWidget(count_);
    batches_ = NewStatusGrid(this, "grdBatch", kBatchColumns);
    bills_ = NewStatusGrid(this, "grdBill", kBillColumns);
    AttachExcelExport(*batches_, QString::fromUtf8(kBatchExportTitle), db_, session_, ui_);
    AttachExcelExport(*bills_, QString::fromUtf8(kBillExportTitle), db_, session_, ui_);
    layout->addWidget(batches_, 1);
    layout->addWidget(bills_, 2);

    connect(find, &QPushButton::clicked, this, &BillListScreen::search);
    connect(to_, &QLineEdit::returnPressed, this, &BillListScreen::search);
    connect(batches_, &QTableWidget::cellClicked, this, [this](int row, int) { showBatch(row); });
    connect(issue, &QPushButton::clicked, this, [this] { openIssue(); });
    connect(texts, &QPushButton::clicked, this, [this] { openTexts(); });
    connect(mail, &QPushButton::clicked, this, &BillListScreen::mailBatch);
    search();
}

void BillListScreen::search() {
    Guarded(ui_, [this] {
        const std::string from = S(from_->text()), to = S(to_->text());
        if (!IsBillingMonth(from) || !IsBillingMonth(to)) {
            ui_.inform(kBillMonthText, kDefaultTitle);
            return;
        }
        const auto rows = ListBillBatches(db_, session_, from, to);
        std::vector<std::vector<std::string>> cells;
        for (const BillBatch& b : rows)
            cells.push_back({b.month, b.crdate, FormatAmount(b.count),
                             FormatAmount(b.mailed) + " 건", FormatAmount(b.total)});
        FillStatusGrid(batches_, kBatchColumns, cells);
        bills_->setRowCount(0);
        count_->setText(QString::number(rows.size()) + QStringLiteral(" 건 "));
    });
}

void BillListScreen::showBatch(int row) {
    if (row < 0 || row >= batches_->rowCount() || !batches_->item(row, 1)) return;
    batches_->selectRow(row);
    const std::string crdate = S(batches_->item(row, 1)->text());
    Guarded(ui_, [this, &crdate] {
        std::vector<std::vector<std::string>> cells;
        for (const BillRow& b : ListBills(db_, session_, crdate))
            cells.push_back({std::to_string(b.crinx), b.month, b.crdate, b.name, b.id,
                             FormatAmount(b.month_amount), FormatAmount(b.total),
                             std::to_string(b.mailcnt) + " 회", b.email});
        FillStatusGrid(bills_, kBillColumns, cells);
    });
}

void BillListScreen::mailBatch() {
    const int row = batches_->currentRow();
    if (row < 0 || !batches_->item(row, 1)) {
        ui_.inform("메일을 발송할 청구서 발행내역을 선택하십시요.", kDefaultTitle);
        return;
    }
    const std::string crdate = S(batches_->item(row, 1)->text());
    Guarded(ui_, [this, &crdate] {
        const std::string notice =
            BillMailingNotice(RequestBillMailing(webHost_, crdate, session_.institution_number));
        ui_.inform(notice.empty() ? std::string("메일 발송을 완료하였습니다.") : notice,
                   kDefaultTitle);
    });
    search();
    for (int i = 0; i < batches_->rowCount(); ++i)
        if (batches_->item(i, 1) && S(batches_->item(i, 1)->text()) == crdate) showBatch(i);
}

BillIssueDialog* BillListScreen::openIssue() {
    auto* dialog = new BillIssueDialog(db_, session_, ui_, webHost_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &BillIssueDialog::issued, this, &BillListScreen::search);
    connect(dialog, &BillIssueDialog::textsWanted, this, [this] { openTexts(); });
    dialog->show();
    return dialog;
}

BillTextsDialog* BillListScreen::openTexts() {
    auto* dialog = new BillTextsDialog(db_, session_, ui_, webHost_, openUrl_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

// frmDoc54_1 ----------------------------------------------------------------

BillIssueDialog::BillIssueDialog(Database& db, SessionContext& session, Interaction& ui,
                                 std::string webHost, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), webHost_(std::move(webHost)) {
    setObjectName("frmDoc54_1");
    setWindowTitle(QStringLiteral("청구서 발행"));
    resize(1100, 640);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    month_ = MonthEdit(this, "txtMonth", CurrentMonth(session_));
    state_ = new QComboBox(this);
    state_->setObjectName("cboState");
    state_->addItem(QStringLiteral("정상"), static_cast<int>(BillMemberState::kNormal));
    state_->addItem(QStringLiteral("보류"), static_cast<int>(BillMemberState::kOnHold));
    state_->addItem(QStringLiteral("정상+해지"),
                    static_cast<int>(BillMemberState::kNormalAndCancelled));
    nonpayment_ = new QComboBox(this);
    nonpayment_->setObjectName("cboNonpayment");
    nonpayment_->addItem(QStringLiteral("전체"), QString());
    nonpayment_->addItem(QStringLiteral("미수있음"), QStringLiteral("Y"));
    nonpayment_->addItem(QStringLiteral("미수없음"), QStringLiteral("N"));
    pTax_ = new QComboBox(this);
    pTax_->setObjectName("cboPtax");
    pTax_->addItem(QStringLiteral("전체"), QString());
    cmsStatus_ = new QComboBox(this);
    cmsStatus_->setObjectName("cboCmsStatus");
    cmsStatus_->addItem(QStringLiteral("전체"), QString());
    Guarded(ui_, [this] {
        for (const auto& e :
             LoadInstitutionCodeList(db_, session_.institution_number, "tallysheet"))
            pTax_->addItem(Q(e.text), Q(e.data));
        for (const auto& e : LoadSharedCodeList(db_, "cmsstat"))
            cmsStatus_->addItem(Q(e.text), Q(e.data));
    });
    textColumn_ = new QComboBox(this);
    textColumn_->setObjectName("cboTextColumn");
    for (const auto& c : BillTextColumns())
        textColumn_->addItem(QString::fromUtf8(c.caption), QString::fromUtf8(c.column));
    textMode_ = new QComboBox(this);
    textMode_->setObjectName("cboTextMode");
    textMode_->addItem(QStringLiteral("포함"));
    textMode_->addItem(QStringLiteral("일치"));
    text_ = new QLineEdit(this);
    text_->setObjectName("txtSearch");
    auto* find = NewButton(this, "cmdList", "조회");
    auto* issue = NewButton(this, "cmdIssue", "청구서 발행");
    auto* texts = NewButton(this, "cmdTexts", "청구서설정");
    text_->setMinimumWidth(160);
    top->addWidget(new QLabel(QStringLiteral("청구월"), this));
    for (QWidget* w : std::initializer_list<QWidget*>{
             month_, new QLabel(QStringLiteral("회원상태"), this), state_,
             new QLabel(QStringLiteral("미수"), this), nonpayment_,
             new QLabel(QStringLiteral("영수처리"), this), pTax_,
             new QLabel(QStringLiteral("CMS상태"), this), cmsStatus_})
        top->addWidget(w);
    top->addStretch(1);
    layout->addLayout(top);
    auto* actions = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{new QLabel(QStringLiteral("검색"), this), textColumn_,
                                         textMode_, text_, find, issue, texts})
        actions->addWidget(w);
    actions->addStretch(1);
    layout->addLayout(actions);
    filter_ = new MemberFilterBar(db_, session_, ui_, this);
    layout->addWidget(filter_);
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    layout->addWidget(count_);
    grid_ = NewStatusGrid(this, "grdMember", kCandidateColumns);
    AttachExcelExport(*grid_, QString::fromUtf8(kCandidateExportTitle), db_, session_, ui_);
    layout->addWidget(grid_, 1);

    connect(find, &QPushButton::clicked, this, &BillIssueDialog::search);
    connect(text_, &QLineEdit::returnPressed, this, &BillIssueDialog::search);
    connect(issue, &QPushButton::clicked, this, &BillIssueDialog::issue);
    connect(texts, &QPushButton::clicked, this, &BillIssueDialog::textsWanted);
}

namespace {

BillSelection Selection(const QLineEdit* month, const QComboBox* state,
                        const MemberFilterBar* filter, const QComboBox* nonpayment,
                        const QComboBox* pTax, const QComboBox* cmsStatus,
                        const QComboBox* textColumn, const QComboBox* textMode,
                        const QLineEdit* text) {
    BillSelection sel;
    sel.month = S(month->text());
    sel.state = static_cast<BillMemberState>(state->currentData().toInt());
    sel.filter = filter->filter();
    sel.nonpayment = S(nonpayment->currentData().toString());
    sel.p_tax = S(pTax->currentData().toString());
    sel.cms_status = S(cmsStatus->currentData().toString());
    sel.text = S(text->text());
    if (!sel.text.empty()) {
        sel.textColumn = S(textColumn->currentData().toString());
        sel.textEquals = textMode->currentIndex() == 1;
    }
    return sel;
}

}  // namespace

void BillIssueDialog::search() {
    Guarded(ui_, [this] {
        const BillSelection sel = Selection(month_, state_, filter_, nonpayment_, pTax_, cmsStatus_,
                                            textColumn_, textMode_, text_);
        if (!IsBillingMonth(sel.month)) {
            ui_.inform(kBillMonthText, kDefaultTitle);
            return;
        }
        const auto rows = ListBillCandidates(db_, session_, sel);
        std::vector<std::vector<std::string>> cells;
        for (const BillCandidate& c : rows)
            cells.push_back({c.payer_number, c.name, c.id, c.account, c.email, c.payday,
                             c.start_date, FormatAmount(c.outstanding),
                             FormatAmount(c.month_amount), FormatAmount(c.total)});
        FillStatusGrid(grid_, kCandidateColumns, cells);
        count_->setText(QString::number(rows.size()) + QStringLiteral(" 건 "));
    });
}

void BillIssueDialog::issue() {
    if (grid_->rowCount() == 0) {
        ui_.inform("발행할 회원이 없습니다. 먼저 조회하십시요.", kDefaultTitle);
        return;
    }
    BillIssueResult result;
    Guarded(ui_, [this, &result] {
        const BillSelection sel = Selection(month_, state_, filter_, nonpayment_, pTax_, cmsStatus_,
                                            textColumn_, textMode_, text_);
        result = IssueBills(db_, session_, ui_, webHost_, sel);
    });
    if (!result.done) return;
    emit issued();
    if (result.backToList) {
        close();
        return;
    }
    search();
}

// frmFreeView ---------------------------------------------------------------

BillTextsDialog::BillTextsDialog(Database& db, SessionContext& session, Interaction& ui,
                                 std::string webHost, UrlOpener openUrl, QWidget* parent)
    : QDialog(parent),
      db_(db),
      session_(session),
      ui_(ui),
      webHost_(std::move(webHost)),
      openUrl_(std::move(openUrl)) {
    setObjectName("frmFreeView");
    setWindowTitle(QStringLiteral("청구서 설정"));
    resize(720, 320);
    auto* layout = new QGridLayout(this);
    const char* captions[] = {"제목", "안내문구1", "안내문구2", "안내문구3"};
    for (int i = 0; i < 4; ++i) {
        titles_[i] = new QLineEdit(this);
        titles_[i]->setObjectName(QStringLiteral("txtTitle%1").arg(i + 1));
        titles_[i]->setMaxLength(255);
        layout->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), i, 0);
        layout->addWidget(titles_[i], i, 1, 1, 3);
    }
    month_ = MonthEdit(this, "txtMonth", CurrentMonth(session_));
    layout->addWidget(new QLabel(QStringLiteral("미리보기 청구월"), this), 4, 0);
    layout->addWidget(month_, 4, 1);
    auto* preview = NewButton(this, "cmdPreview", "미리보기");
    auto* save = NewButton(this, "cmdSave", "적용");
    layout->addWidget(preview, 4, 2);
    layout->addWidget(save, 4, 3);
    layout->setRowStretch(5, 1);
    connect(save, &QPushButton::clicked, this, &BillTextsDialog::save);
    connect(preview, &QPushButton::clicked, this, &BillTextsDialog::preview);
    Guarded(ui_, [this] {
        if (const auto current = CurrentBillTexts(db_, session_)) {
            titles_[0]->setText(Q(current->title1));
            titles_[1]->setText(Q(current->title2));
            titles_[2]->setText(Q(current->title3));
            titles_[3]->setText(Q(current->title4));
        }
    });
}

void BillTextsDialog::save() {
    Guarded(ui_, [this] {
        SaveBillTexts(db_, session_, ui_,
                      {0, S(titles_[0]->text()), S(titles_[1]->text()), S(titles_[2]->text()),
                       S(titles_[3]->text())});
    });
}

void BillTextsDialog::preview() {
    const std::string month = S(month_->text());
    if (!IsBillingMonth(month)) {
        ui_.inform(kBillMonthText, kDefaultTitle);
        return;
    }
    const BillTexts texts{0, S(titles_[0]->text()), S(titles_[1]->text()), S(titles_[2]->text()),
                          S(titles_[3]->text())};
    const std::string url = BillPreviewUrl(webHost_, session_, texts, month);
    if (url.empty()) {
        ui_.inform("서비스 서버 주소(WEBHOST)가 설정되지 않았습니다.", kDefaultTitle);
        return;
    }
    if (openUrl_) openUrl_(url);
}

}  // namespace qx::ui
