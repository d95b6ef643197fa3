#include "ui/cms/eb21_choice_panel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/gui_interaction.h"

namespace qx::ui {

Eb21ChoicePanel::Eb21ChoicePanel(Interaction& ui, bool withChoices, QWidget* parent)
    : QWidget(parent), ui_(ui) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (withChoices) {
        auto* choices = new QHBoxLayout;
        both_ = new QRadioButton(Q(Eb21AmountsCaption(Eb21Amounts::Both)), this);
        both_->setObjectName("optBoth");
        regular_ = new QRadioButton(Q(Eb21AmountsCaption(Eb21Amounts::Regular)), this);
        regular_->setObjectName("optRegular");
        unpaid_ = new QRadioButton(Q(Eb21AmountsCaption(Eb21Amounts::Unpaid)), this);
        unpaid_->setObjectName("optUnpaid");
        auto* group = new QButtonGroup(this);
        for (auto* b : {both_, regular_, unpaid_}) {
            group->addButton(b);
            choices->addWidget(b);
        }
        both_->setChecked(true);
        method_ = new QComboBox(this);
        method_->setObjectName("cboMethod");
        kind_ = new QComboBox(this);
        kind_->setObjectName("cboKind");
        passbook_ = new QComboBox(this);
        passbook_->setObjectName("cboPassbook");
        for (auto p : {Eb21Passbook::Setting, Eb21Passbook::Instalment, Eb21Passbook::Month})
            passbook_->addItem(Q(Eb21PassbookCaption(p)), static_cast<int>(p));
        choices->addWidget(method_);
        choices->addWidget(kind_);
        choices->addWidget(passbook_);
        choices->addStretch(1);
        layout->addLayout(choices);
        connect(group, &QButtonGroup::buttonClicked, this, [this] { fillChoices(); });
    }

    bar_ = new QHBoxLayout;
    criterion_ = new QComboBox(this);
    criterion_->setObjectName("cboExclusion");
    for (const auto& [e, name] : Eb21Exclusions())
        criterion_->addItem(Q(name), static_cast<int>(e));
    value_ = new QLineEdit(this);
    value_->setObjectName("txtExclusion");
    exclude_ = new QPushButton(QStringLiteral("제외"), this);
    exclude_->setObjectName("cmdExclude");
    selectAll_ = new QPushButton(QStringLiteral("전체선택"), this);
    selectAll_->setObjectName("cmdSelectAll");
    for (QPushButton* b : {exclude_, selectAll_}) b->setAutoDefault(false);
    bar_->addWidget(criterion_);
    bar_->addWidget(value_);
    bar_->addWidget(exclude_);
    bar_->addWidget(selectAll_);
    bar_->addStretch(1);
    layout->addLayout(bar_);
    if (withChoices) fillChoices();
}

void Eb21ChoicePanel::setSettings(const std::string& cmsSet) {
    cmsSet_ = cmsSet;
    if (method_) fillChoices();
}

Eb21Amounts Eb21ChoicePanel::amounts() const {
    if (!both_) return Eb21Amounts::Both;
    return regular_->isChecked()  ? Eb21Amounts::Regular
           : unpaid_->isChecked() ? Eb21Amounts::Unpaid
                                  : Eb21Amounts::Both;
}

// The entries offered depend on the amounts; the institution's settings choose.
void Eb21ChoicePanel::fillChoices() {
    const Eb21Options d = Eb21DefaultOptions(cmsSet_, amounts());
    method_->clear();
    for (auto m : Eb21MethodsFor(d.amounts))
        method_->addItem(Q(Eb21MethodCaption(m)), static_cast<int>(m));
    method_->setCurrentIndex(method_->findData(static_cast<int>(d.method)));
    kind_->clear();
    for (auto k : Eb21KindsFor(d.amounts))
        kind_->addItem(Q(Eb21KindCaption(k)), static_cast<int>(k));
    kind_->setCurrentIndex(kind_->findData(static_cast<int>(d.kind)));
    passbook_->setCurrentIndex(passbook_->findData(static_cast<int>(d.passbook)));
}

Eb21Options Eb21ChoicePanel::options() const {
    Eb21Options o;
    o.amounts = amounts();
    if (!method_) return o;
    o.method = static_cast<Eb21Method>(method_->currentData().toInt());
    o.kind = static_cast<Eb21Kind>(kind_->currentData().toInt());
    o.passbook = static_cast<Eb21Passbook>(passbook_->currentData().toInt());
    return o;
}

bool Eb21ChoicePanel::exclude(std::vector<Eb21Row>& rows, const CivilDate& fileDate) {
    const auto c = static_cast<Eb21Exclusion>(criterion_->currentData().toInt());
    return GuardedValue(ui_, [&] {
        return ApplyEb21Exclusion(rows, c, value_->text().toStdString(), fileDate, ui_).has_value();
    });
}

void Eb21ChoicePanel::toggleAll(std::vector<Eb21Row>& rows) {
    const bool all = SelectedOf(rows).count == static_cast<long long>(rows.size());
    for (auto& r : rows) r.selected = !all;
}

}  // namespace qx::ui
