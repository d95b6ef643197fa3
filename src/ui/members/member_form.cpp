#include "ui/members/member_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "members/items.h"
#include "members/member_rules.h"
#include "members/whole_number.h"
#include "ui/code_combo.h"
#include "ui/gui_interaction.h"
#include "ui/members/bank_choice.h"

namespace qx::ui {

namespace {

void FillFixed(QComboBox* combo,
               std::initializer_list<std::pair<const char*, const char*>> entries) {
    for (const auto& [data, text] : entries)
        combo->addItem(QString::fromUtf8(text), QString::fromUtf8(data));
}

void SelectData(QComboBox* combo, const std::string& value) {
    const int i = combo->findData(Q(value));
    combo->setCurrentIndex(i >= 0 ? i : 0);
}

}  // namespace

MemberForm::MemberForm(Database& db, SessionContext& session, bool newMember, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), itemsUsed_(session.prgstat[kItemsUnused] == 0) {
    auto* grid = new QGridLayout;
    int cell = 0;
    auto place = [&](const QString& label, QWidget* w) {
        tabChain_.push_back(w);
        const int row = cell / 3, col = (cell % 3) * 2;
        grid->addWidget(new QLabel(label, this), row, col);
        grid->addWidget(w, row, col + 1);
        ++cell;
    };
    auto newCombo = [&](const std::string& column) {
        auto* c = new QComboBox(this);
        c->setObjectName(Q(column));
        combos_[column] = c;
        return c;
    };
    auto* settle = newCombo("settle_accounts");
    FillCodeCombo(settle, LoadInstitutionCodeList(db_, session_.institution_number, "settleacnt"));
    auto* divide = newCombo("account_divide");
    FillFixed(divide, {{"1", "월매출"}, {"2", "수시매출"}, {"3", "할부매출"}, {"4", "기간매출"}});
    auto* ptax = newCombo("p_tax");
    FillCodeCombo(ptax, LoadInstitutionCodeList(db_, session_.institution_number, "tallysheet"));
    auto* remove = newCombo("remove");
    FillFixed(remove, {{"1", "정상"}, {"2", "해지"}, {"3", "보류"}});
    auto* cert = newCombo("certificate_kind");
    FillFixed(
        cert,
        {{"0", "미선택"}, {"1", "휴대전화"}, {"2", "FAX"}, {"3", "동의서"}, {"4", "해당없음"}});
    bank_ = new BankChoice(newCombo("bank_code"), db_, session_);
    bank_->setMethod(S(settle->currentData().toString()));
    connect(settle, &QComboBox::currentIndexChanged, this,
            [this, settle] { bank_->setMethod(S(settle->currentData().toString())); });
    for (const char* day : {"payday", "inday"}) {
        auto* c = newCombo(day);
        c->addItem("선택", QString());
        for (int d = 1; d <= 31; ++d) c->addItem(QString::number(d), QString::number(d));
    }
    for (const auto& column : EditableMemberColumns()) {
        const QString label = Q(MemberColumnLabel(column));
        if (auto it = combos_.find(column); it != combos_.end()) {
            place(label, it->second);
            continue;
        }
        auto* e = new QLineEdit(this);
        e->setObjectName(Q(column));
        lines_[column] = e;
        place(label, e);
    }
    if (newMember) {
        initial_ = new QLineEdit(this);
        initial_->setObjectName("initial_nonpayment");
        place("초기미수금", initial_);
    }
    if (!session_.isHeadOffice()) {
        line("branch_inx")->setEnabled(false);
        line("agency_inx")->setEnabled(false);
    }
    instalmentTotal_ = new QLineEdit(this);
    instalmentTotal_->setObjectName("instalment_total");
    place("할부매출액", instalmentTotal_);
    instalmentMonths_ = new QLineEdit(this);
    instalmentMonths_->setObjectName("instalment_months");
    place("할부기간(개월)", instalmentMonths_);
    periodMonths_ = new QLineEdit(this);
    periodMonths_->setObjectName("period_months");
    place("기간(개월)", periodMonths_);
    periodEnd_ = new QLabel(this);
    grid->addWidget(periodEnd_, cell / 3 + 1, 0, 1, 6);
    connect(periodMonths_, &QLineEdit::textChanged, this, &MemberForm::showPeriodEnd);
    connect(line("start_date"), &QLineEdit::textChanged, this, &MemberForm::showPeriodEnd);

    items_ = new QTableWidget(0, 4, this);
    items_->setHorizontalHeaderLabels({"품목명", "규격", "단가", "수량"});
    items_->horizontalHeader()->setStretchLastSection(true);
    auto* pick = new QPushButton("품목추가", this);
    auto* drop = new QPushButton("품목삭제", this);
    connect(pick, &QPushButton::clicked, this, [this] {
        GuiInteraction ui(this);
        Guarded(ui, [this] { pickItem(); });
    });
    connect(drop, &QPushButton::clicked, this, [this] {
        if (items_->currentRow() >= 0) items_->removeRow(items_->currentRow());
    });
    auto* itemButtons = new QHBoxLayout;
    itemButtons->addWidget(pick);
    itemButtons->addWidget(drop);
    itemButtons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(itemButtons);
    layout->addWidget(items_);
    for (QWidget* w :
         {static_cast<QWidget*>(items_), static_cast<QWidget*>(pick), static_cast<QWidget*>(drop)})
        w->setVisible(itemsUsed_);
    // Tab follows the form as it is read: row by row, then the items.
    tabChain_.insert(tabChain_.end(), {pick, drop, items_});
    for (std::size_t i = 1; i < tabChain_.size(); ++i)
        QWidget::setTabOrder(tabChain_[i - 1], tabChain_[i]);
    if (newMember) clear();
}

void MemberForm::clear() {
    for (const auto& [column, e] : lines_) e->clear();
    for (const auto& [column, c] : combos_) {
        if (column != "bank_code" && c->count() > 0) c->setCurrentIndex(0);
    }
    bank_->load({}, S(combo("settle_accounts")->currentData().toString()));
    if (initial_) initial_->clear();
    instalmentTotal_->clear();
    instalmentMonths_->clear();
    periodMonths_->clear();
    periodEnd_->clear();
    items_->setRowCount(0);
    if (initial_) {
        // A new member starts active, with the user's own organisation.
        SelectData(combo("remove"), "1");
        line("month_max")->setText(QString::number(session_.month_max));
        line("branch_inx")->setText(QString::number(session_.brinx));
        line("agency_inx")->setText(QString::number(session_.aginx));
        line("cms_printkey")->setText("0");
        line("pay_monthdefault")->setText("0");
    }
}

QLineEdit* MemberForm::line(const std::string& column) const {
    auto it = lines_.find(column);
    return it == lines_.end() ? nullptr : it->second;
}

QComboBox* MemberForm::combo(const std::string& column) const {
    auto it = combos_.find(column);
    return it == combos_.end() ? nullptr : it->second;
}

void MemberForm::setValue(const std::string& column, const std::string& value) {
    if (auto* e = line(column)) e->setText(Q(value));
    if (column == "bank_code") return;  // with the collection method, in load()
    if (auto* c = combo(column)) {
        const int i = c->findData(Q(value));
        c->setCurrentIndex(i >= 0 ? i : 0);
    }
}

void MemberForm::load(const MemberRecord& member, const std::vector<MemberItem>& items) {
    for (const auto& column : EditableMemberColumns()) setValue(column, member.get(column));
    bank_->load(member.get("bank_code"), member.get("settle_accounts"));
    if (member.get("account_divide") == "3") {
        instalmentTotal_->setText(Q(member.get("pay_agreement")));
        const long long monthly = ParseWholeNumber(member.get("pay_monthdefault")).value_or(0);
        const long long total = ParseWholeNumber(member.get("pay_agreement")).value_or(0);
        if (monthly > 0)
            instalmentMonths_->setText(QString::number(std::max<long long>(1, total / monthly)));
    }
    periodEnd_->setText(Q(PeriodEndCaption(member.get("p_seday"))));
    items_->setRowCount(0);
    for (const auto& item : items) addItem(item);
}

void MemberForm::addItem(const MemberItem& item) {
    const int row = items_->rowCount();
    items_->insertRow(row);
    items_->setItem(row, 0, new QTableWidgetItem(Q(item.name)));
    items_->setItem(row, 1, new QTableWidgetItem(Q(item.stan)));
    items_->setItem(row, 2, new QTableWidgetItem(QString::number(item.pay)));
    items_->setItem(row, 3, new QTableWidgetItem(QString::number(item.count)));
}

void MemberForm::pickItem() {
    const auto catalogue = ListItems(db_, session_);
    QStringList names;
    for (const auto& i : catalogue)
        names << Q(i.name + " " + i.stan + " (" + std::to_string(i.priceWithTax()) + ")");
    if (names.isEmpty()) return;
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, "품목선택", "품목", names, 0, false, &ok);
    if (!ok) return;
    const auto& item = catalogue[static_cast<std::size_t>(names.indexOf(chosen))];
    GuiInteraction ui(this);
    const QString count =
        QInputDialog::getText(this, "품목선택", "수량", QLineEdit::Normal, "1", &ok);
    if (!ok) return;
    const auto quantity = CheckQuantity(S(count), ui);
    if (!quantity) return;
    addItem({item.name, item.stan, item.priceWithTax(), *quantity});
}

void MemberForm::showPeriodEnd() {
    const auto months = ParseWholeNumber(S(periodMonths_->text()), 998);
    periodEnd_->setText(months ? Q(PeriodEndCaption(PeriodEndMonth(S(line("start_date")->text()),
                                                                   static_cast<int>(*months))))
                               : QString());
}

MemberInput MemberForm::input() const {
    MemberInput in;
    for (const auto& [column, e] : lines_) in.set(column, S(e->text()));
    for (const auto& [column, c] : combos_) in.set(column, S(c->currentData().toString()));
    in.set("bank_code", bank_->value());
    if (initial_) in.initial_nonpayment = S(initial_->text());
    in.instalment_total = S(instalmentTotal_->text());
    in.instalment_months = S(instalmentMonths_->text());
    in.period_months = S(periodMonths_->text());
    if (itemsUsed_) {
        std::vector<MemberItem> list;
        for (int r = 0; r < items_->rowCount(); ++r) {
            auto text = [&](int c) {
                return items_->item(r, c) ? S(items_->item(r, c)->text()) : std::string();
            };
            list.push_back({text(0), text(1), ParseWholeNumber(text(2)).value_or(0),
                            ParseWholeNumber(text(3), 99999).value_or(0)});
        }
        in.items = std::move(list);
    }
    return in;
}

void MemberForm::focusColumn(const std::string& column) {
    if (auto* e = line(column)) e->setFocus();
    if (auto* c = combo(column)) c->setFocus();
    if (column == "initial_nonpayment" && initial_) initial_->setFocus();
    if (column == "instalment_total") instalmentTotal_->setFocus();
    if (column == "instalment_months") instalmentMonths_->setFocus();
    if (column == "period_months") periodMonths_->setFocus();
    if (column == "items") items_->setFocus();
}

}  // namespace qx::ui
