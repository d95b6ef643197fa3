#include "ui/members/member_screens.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "members/agreement_file.h"
#include "members/cms_code.h"
#include "members/member_list_columns.h"
#include "members/member_rules.h"
#include "members/virtual_account.h"
#include "platform/profile_ini.h"
#include "ui/cms/ei13_screen.h"
#include "ui/code_combo.h"
#include "ui/export/grid_export.h"
#include "ui/export/sample_workbook_window.h"
#include "ui/frozen_columns.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/ledger_panel.h"
#include "ui/members/bank_choice.h"
#include "ui/members/member_form.h"
#include "ui/messaging/sms_screens.h"

namespace qx::ui {

namespace {

QScrollArea* Scrolled(QWidget* inner, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidget(inner);
    area->setWidgetResizable(true);
    return area;
}

// Chains the tab order through the widgets in the order given.
void ChainTabs(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

}  // namespace

// --- frmDoc20 -------------------------------------------------------------

MemberListScreen::MemberListScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                                   QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(session.prgset9 == 0 ? "frmDoc20" : "frmDoc20_1");
    auto* bar = new QHBoxLayout;
    auto add = [&](const std::string& column, const QString& caption) {
        auto* c = new QComboBox(this);
        c->setObjectName(Q(column));
        c->addItem("전체", QString());
        filters_[column] = c;
        bar->addWidget(new QLabel(caption, this));
        bar->addWidget(c);
        return c;
    };
    auto fillCodes = [&](QComboBox* c, const std::vector<CodeEntry>& entries) {
        for (const auto& e : entries) c->addItem(Q(e.text), Q(e.data));
    };
    fillCodes(add("settle_accounts", "수금방식"),
              LoadInstitutionCodeList(db_, session_.institution_number, "settleacnt"));
    fillCodes(add("account_divide", "매출구분"),
              {{"월매출", "1"}, {"수시매출", "2"}, {"할부매출", "3"}, {"기간매출", "4"}});
    fillCodes(add("pay_nonpayment", "미수"), {{"미수있음", "Y"}, {"미수없음", "N"}});
    fillCodes(add("p_tax", "영수처리"),
              LoadInstitutionCodeList(db_, session_.institution_number, "tallysheet"));
    fillCodes(add("cms_status", "CMS상태"), LoadSharedCodeList(db_, "cmsstat"));
    fillCodes(add("remove", "회원상태"), {{"정상", "1"}, {"해지", "2"}, {"보류", "3"}});
    const std::pair<const char*, const char*> distinct[] = {{"client_manager", "담당자"},
                                                            {"payday", "매출예정일"},
                                                            {"client_info1", "관리(A)"},
                                                            {"client_info2", "관리(B)"},
                                                            {"client_info3", "관리(C)"}};
    for (const auto& [column, caption] : distinct) {
        auto* c = add(column, caption);
        for (const auto& v : DistinctFilterValues(db_, session_, column)) c->addItem(Q(v), Q(v));
    }
    name_ = new QLineEdit(this);
    name_->setObjectName("username");
    name_->setPlaceholderText("고객명");
    // The bar scrolls sideways rather than squeezing the name to nothing.
    name_->setMinimumWidth(kNameBoxMinimumWidth);
    bar->addWidget(name_);
    auto* find = new QPushButton("조회", this);
    bar->addWidget(find);
    connect(find, &QPushButton::clicked, this, &MemberListScreen::search);
    connect(name_, &QLineEdit::returnPressed, this, &MemberListScreen::search);
    auto* excel = new QPushButton("엑셀", this);
    excel->setObjectName("cmdExcel");
    bar->addWidget(excel);
    connect(excel, &QPushButton::clicked, this,
            [this] { ExportGridToExcel(*table_, "회원목록", db_, session_, ui_); });
    auto* sms = new QPushButton("SMS", this);
    sms->setObjectName("cmdSms");
    bar->addWidget(sms);
    connect(sms, &QPushButton::clicked, this, &MemberListScreen::openSms);
    // The sample workbooks for a batch of new members or of changes, where
    // the members are listed.
    for (const auto& [which, name] :
         {std::pair{SampleWorkbook::kAddUser, "cmdAddUserSample"},
          std::pair{SampleWorkbook::kEditMemberInfo, "cmdEditSample"}}) {
        auto* sample = new QPushButton(Q(SampleWorkbookTitle(which)), this);
        sample->setObjectName(name);
        bar->addWidget(sample);
        connect(sample, &QPushButton::clicked, this,
                [this, which = which] { ShowSampleWorkbook(which, session_, ui_, this); });
    }

    table_ = new QTableWidget(this);
    table_->setObjectName("memberGrid");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const ProfileIni ini(session_.AppPath + "Login.ini");
    layout_ =
        MemberListColumns(ini.read("V1", "VIEW", kDefaultMemberView), session_.fixing_columns);
    fullHolderNumbers_ = MayShowFullHolderNumbers(db_, session_);
    frozen_ = new FrozenColumns(table_, layout_.frozen);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (auto* item = table_->item(row, 0)) emit memberChosen(item->text().toLongLong());
    });
    auto* layout = new QVBoxLayout(this);
    auto* top = new QWidget(this);
    top->setLayout(bar);
    layout->addWidget(Scrolled(top, this), 0);
    layout->addWidget(table_, 1);
    search();
}

QComboBox* MemberListScreen::filter(const std::string& column) const {
    auto it = filters_.find(column);
    return it == filters_.end() ? nullptr : it->second;
}

MemberListState MemberListScreen::state() const {
    MemberListState st;
    st.rows = table_->rowCount();
    const int row = table_->currentRow();
    if (row >= 0 && table_->selectionModel()->isRowSelected(row, QModelIndex())) {
        if (auto* item = table_->item(row, 0)) st.selectedMember = item->text().toLongLong();
    }
    return st;
}

bool MemberListScreen::selectMember(long long memberInx) {
    const QString payer = Q(TenDigits(memberInx));
    for (int r = 0; r < table_->rowCount(); ++r) {
        if (table_->item(r, 0) && table_->item(r, 0)->text() == payer) {
            table_->selectRow(r);
            table_->setCurrentCell(r, 0);
            return true;
        }
    }
    return false;
}

void MemberListScreen::openSms() {
    std::vector<MemberListRow> chosen;
    const auto selected = table_->selectionModel()->selectedRows();
    for (const auto& index : selected) {
        if (index.row() < static_cast<int>(rows_.size()))
            chosen.push_back(rows_[static_cast<std::size_t>(index.row())]);
    }
    OpenMemberSms(db_, session_, ui_, RecipientsFromMemberList(selected.isEmpty() ? rows_ : chosen),
                  this);
}

void MemberListScreen::search() {
    Guarded(ui_, [this] { fill(); });
}

void MemberListScreen::fill() {
    MemberFilter f;
    for (const auto& [column, c] : filters_) {
        const std::string value = S(c->currentData().toString());
        if (!value.empty()) SetMemberFilter(f, column, value);
    }
    f.username = S(name_->text());
    rows_ = ListMembers(db_, session_, f, fullHolderNumbers_);
    const auto& rows = rows_;
    table_->clear();
    table_->setColumnCount(static_cast<int>(layout_.columns.size()));
    QStringList headers;
    for (const auto& c : layout_.columns) headers << QString::fromUtf8(c.caption);
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(layout_.columns.size()); ++c) {
            const auto& column = layout_.columns[static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(
                Q(MemberListCell(rows[static_cast<std::size_t>(r)], column.key)));
            if (IsAmountColumn(column.key))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    frozen_->refresh();
}

// --- frmDoc21 -------------------------------------------------------------

NewMemberScreen::NewMemberScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                                 QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmDoc21");
    form_ = new MemberForm(db_, session_, true, this);
    auto* save = new QPushButton("저장", this);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    registered_ = new QLabel(this);
    registered_->setObjectName("registered");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(registered_);
    if (AssignsVirtualAccountOnRegistration(session_)) {
        virtualBank_ = new QComboBox(this);
        virtualBank_->setObjectName("virtual_bank");
        virtualBank_->addItem("선택안함", QString());
        for (const char* b : kVirtualBanks)
            virtualBank_->addItem(QString::fromUtf8(b), QString::fromUtf8(b));
        // Offer the bank that still has accounts; none when the pool is empty.
        const int i = virtualBank_->findData(Q(FirstBankWithFreeVirtualAccount(db_, session_)));
        virtualBank_->setCurrentIndex(std::max(0, i));
        bottom->addWidget(new QLabel("가상계좌 자동등록", this));
        bottom->addWidget(virtualBank_);
    }
    bottom->addStretch();
    bottom->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Scrolled(form_, this), 1);
    layout->addLayout(bottom);
    ChainTabs({form_->lastField(), virtualBank_, save});
}

long long NewMemberScreen::save() {
    return GuardedValue(ui_, [&]() -> long long {
        std::string focus;
        MemberInput input = form_->input();
        if (virtualBank_) input.virtual_bank = S(virtualBank_->currentData().toString());
        const auto id = CreateMember(db_, session_, ui_, std::move(input), &focus);
        if (!id) {
            form_->focusColumn(focus);
            return 0;
        }
        // The input is used up: a second 저장 finds an empty form instead of
        // registering the same person again.
        form_->clear();
        registered_->setText(Q("등록된 납부자번호 : " + TenDigits(*id)));
        form_->focusColumn("username");
        return *id;
    });
}

// --- frmDoc22 -------------------------------------------------------------

MemberCardScreen::MemberCardScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                                   QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmDoc22");
    number_ = new QLineEdit(this);
    number_->setPlaceholderText("납부자번호");
    auto* find = new QPushButton("조회", this);
    auto* save = new QPushButton("저장", this);
    auto* del = new QPushButton("삭제", this);
    auto* bank = new QPushButton("은행해지", this);
    auto* account = new QPushButton("계좌/카드변경", this);
    number_->setObjectName("member_inx");
    connect(find, &QPushButton::clicked, this, [this] { openTyped(); });
    connect(number_, &QLineEdit::returnPressed, this, [this] { openTyped(); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(del, &QPushButton::clicked, this, [this] { removeMember(); });
    connect(bank, &QPushButton::clicked, this, [this] { bankCancel(); });
    connect(account, &QPushButton::clicked, this, &MemberCardScreen::changeAccount);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("납부자번호", this));
    bar->addWidget(number_);
    bar->addWidget(find);
    bar->addStretch();
    for (auto* b : {save, del, bank, account}) bar->addWidget(b);
    auto* virtualBar = new QHBoxLayout;
    virtualBank_ = new QComboBox(this);
    for (const char* b : kVirtualBanks) virtualBank_->addItem(QString::fromUtf8(b));
    virtualInfo_ = new QLabel(this);
    auto* assign = new QPushButton("가상계좌등록", this);
    auto* release = new QPushButton("가상계좌해지", this);
    auto* agree = new QPushButton("동의자료설정", this);
    connect(assign, &QPushButton::clicked, this, &MemberCardScreen::assignVirtualAccount);
    connect(release, &QPushButton::clicked, this, &MemberCardScreen::cancelVirtualAccount);
    connect(agree, &QPushButton::clicked, this, &MemberCardScreen::setAgreementFile);
    virtualBar->addWidget(new QLabel("가상계좌", this));
    virtualBar->addWidget(virtualBank_);
    virtualBar->addWidget(assign);
    virtualBar->addWidget(release);
    virtualBar->addWidget(virtualInfo_, 1);
    if (session_.cmsinx_style != "N-10") {
        cmsCode_ = new QLineEdit(this);
        cmsCode_->setObjectName("cl_cmsinx");
        cmsCode_->setMaxLength(20);
        auto* code = new QPushButton("CMS코드변경", this);
        code->setObjectName("cmdCmsCode");
        connect(code, &QPushButton::clicked, this, [this] { changeCmsCode(); });
        virtualBar->addWidget(new QLabel("CMS코드", this));
        virtualBar->addWidget(cmsCode_);
        virtualBar->addWidget(code);
    }
    virtualBar->addWidget(agree);
    form_ = new MemberForm(db_, session_, false, this);
    ChainTabs({number_, find, save, del, bank, account, virtualBank_, assign, release, cmsCode_,
               findChild<QPushButton*>("cmdCmsCode"), agree, form_->firstField()});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(virtualBar);
    layout->addWidget(Scrolled(form_, this), 3);
    ledgerPanel_ = new LedgerPanel(db_, session_, ui_, this);
    layout->addWidget(ledgerPanel_, 1);
    QWidget::setTabOrder(form_->lastField(), ledgerPanel_);
    clearCard();
}

void MemberCardScreen::clearCard() {
    member_ = 0;
    opened_ = {};
    form_->clear();
    // Nothing on an empty card can be changed.
    form_->setEnabled(false);
    virtualInfo_->clear();
    if (cmsCode_) cmsCode_->clear();
    ledgerPanel_->setMember(0);
}

bool MemberCardScreen::hasMember() {
    if (member_ != 0) return true;
    ui_.inform(kNoMemberOnCardText, kDefaultTitle);
    return false;
}

void MemberCardScreen::openTyped() {
    const QString typed = number_->text().trimmed();
    bool ok = false;
    const long long number = typed.toLongLong(&ok);
    if (!ok || number <= 0) {
        clearCard();
        ui_.inform(kMemberNotFoundText, kDefaultTitle);
        return;
    }
    open(number);
}

bool MemberCardScreen::open(long long memberInx) {
    return GuardedValue(ui_, [&] { return showMember(memberInx); });
}

bool MemberCardScreen::showMember(long long memberInx) {
    const auto member = LoadMember(db_, session_, memberInx);
    if (!member) {
        // The card never keeps another member under a number it does not show.
        clearCard();
        ui_.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    form_->setEnabled(true);
    member_ = memberInx;
    opened_ = OpenedStateOf(*member);
    number_->setText(Q(TenDigits(memberInx)));
    form_->load(*member, LoadMemberItems(db_, session_, memberInx));
    virtualInfo_->setText(Q(member->get("virtual_bank") + " " + member->get("virtual_no")));
    if (cmsCode_) cmsCode_->setText(Q(LoadCmsCode(db_, session_, memberInx)));
    ledgerPanel_->setMember(memberInx);
    return true;
}

bool MemberCardScreen::save() {
    if (!hasMember()) return false;
    return GuardedValue(ui_, [&]() -> bool {
        std::string focus;
        const ChangeResult r =
            ChangeMember(db_, session_, ui_, member_, opened_, form_->input(), &focus);
        if (!r.saved) {
            form_->focusColumn(focus);
            return false;
        }
        showMember(r.member_inx);
        return true;
    });
}

bool MemberCardScreen::removeMember() {
    if (!hasMember()) return false;
    return GuardedValue(ui_, [&] {
        if (!DeleteMember(db_, session_, ui_, member_)) return false;
        // A deleted member is listed nowhere; the card lets it go.
        clearCard();
        number_->clear();
        return true;
    });
}

bool MemberCardScreen::bankCancel() {
    if (!hasMember()) return false;
    return GuardedValue(ui_, [&] {
        if (!ui_.confirm(kBankCancelQuestionText, kDefaultTitle)) return false;
        if (!BankCancelMember(db_, session_, ui_, member_)) return false;
        ui_.inform(kBankCancelDoneText, kDefaultTitle);
        showMember(member_);
        return true;
    });
}

void MemberCardScreen::changeAccount() {
    if (!hasMember()) return;
    Guarded(ui_, [&] {
        const auto member = LoadMember(db_, session_, member_);
        if (!member) {
            clearCard();
            ui_.inform(kMemberNotFoundText, kDefaultTitle);
            return;
        }
        const std::string settle = member->get("settle_accounts");
        if (settle != kSettleCms && settle != kSettleCard) {
            ui_.inform(kChannelChangeMethodsText, kDefaultTitle);
            return;
        }
        AccountChangeDialog dialog(db_, session_, ui_, *member, this);
        if (dialog.exec() == QDialog::Accepted && dialog.created() > 0)
            showMember(dialog.created());
    });
}

void MemberCardScreen::assignVirtualAccount() {
    if (!hasMember()) return;
    Guarded(ui_, [&] {
        if (AssignVirtualAccount(db_, session_, ui_, member_, S(virtualBank_->currentText())))
            showMember(member_);
    });
}

void MemberCardScreen::cancelVirtualAccount() {
    if (!hasMember()) return;
    Guarded(ui_, [&] {
        if (CancelVirtualAccount(db_, session_, ui_, member_)) showMember(member_);
    });
}

void MemberCardScreen::setAgreementFile() {
    if (!hasMember()) return;
    AgreementChooserDialog chooser(db_, session_, ui_, member_, this);
    if (chooser.exec() == QDialog::Accepted) showMember(member_);
}

bool MemberCardScreen::changeCmsCode() {
    if (!cmsCode_ || !hasMember()) return false;
    return GuardedValue(ui_, [&] {
        if (!ChangeCmsCode(db_, session_, ui_, member_, S(cmsCode_->text()))) return false;
        cmsCode_->setText(Q(LoadCmsCode(db_, session_, member_)));
        return true;
    });
}

// --- popupFrm22 -----------------------------------------------------------

AccountChangeDialog::AccountChangeDialog(Database& db, SessionContext& session, GuiInteraction& ui,
                                         const MemberRecord& member, QWidget* parent)
    : QDialog(parent),
      db_(db),
      session_(session),
      ui_(ui),
      member_(member),
      card_(member.get("settle_accounts") == kSettleCard) {
    setObjectName("popupFrm22");
    setWindowTitle(card_ ? "신용카드변경" : "계좌정보변경");
    auto* form = new QFormLayout;
    auto field = [&](const std::string& key, const QString& caption, const std::string& value) {
        auto* e = new QLineEdit(Q(value), this);
        e->setObjectName(Q(key));
        fields_[key] = e;
        form->addRow(caption, e);
    };
    if (!card_) {
        auto* bank = new QComboBox(this);
        bank->setObjectName("bank_code");
        bank_ = new BankChoice(bank, db_, session_);
        bank_->load(member.get("bank_code"), kSettleCms);
        form->addRow("거래은행", bank);
        field("account_no", "계좌번호", member.get("account_no"));
        field("account_jumin", "예금주번호", member.get("account_jumin"));
        field("account_name", "예금주명", member.get("account_name"));
    } else {
        field("card_no", "카드번호", member.get("account_no"));
        field("card_expiry", "유효년월", member.get("account_jumin"));
        field("card_mobile", "카드주휴대폰", member.get("certificate_number"));
    }
    auto* ok = new QPushButton("변경", this);
    // The change re-issues the member: only a click runs it, never Enter.
    ok->setAutoDefault(false);
    ok->setDefault(false);
    auto* cancel = new QPushButton("닫기", this);
    connect(ok, &QPushButton::clicked, this, &AccountChangeDialog::apply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void AccountChangeDialog::apply() {
    auto text = [&](const std::string& key) {
        auto it = fields_.find(key);
        return it == fields_.end() ? std::string() : S(it->second->text());
    };
    ChannelChange change;
    if (bank_) change.bank_code = bank_->value();
    change.account_no = text("account_no");
    change.account_jumin = text("account_jumin");
    change.account_name = text("account_name");
    change.card_no = text("card_no");
    change.card_expiry = text("card_expiry");
    change.card_mobile = text("card_mobile");
    const auto created = GuardedValue(ui_, [&]() -> std::optional<long long> {
        return ChangeMemberChannel(db_, session_, ui_, member_.member_inx, OpenedStateOf(member_),
                                   change);
    });
    if (created) {
        created_ = *created;
        accept();
    }
}

}  // namespace qx::ui
