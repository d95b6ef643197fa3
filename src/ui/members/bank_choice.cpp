#include "ui/members/bank_choice.h"

#include <QComboBox>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "members/member_rules.h"
#include "platform/text_checks.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

// Phone-payment carriers by the codes the record keeps for them.
constexpr std::pair<const char*, const char*> kCarriers[] = {
    {"00", "KT"}, {"11", "SKT"}, {"16", "KTF"}, {"19", "LGT"}};

constexpr const char* kBranchPartNone = "0000";

}  // namespace

std::string BankCodeOf(const std::string& bank3) {
    return bank3 + kBranchPartNone;
}

BankChoice::BankChoice(QComboBox* combo, Database& db, const SessionContext& session)
    : QObject(combo), combo_(combo) {
    combo_->setEditable(false);
    for (const auto& e : LoadSharedCodeList(db, session.relay_prefix))
        banks_.emplace_back(e.data, e.text);
    fill();
}

void BankChoice::setMethod(const std::string& settle) {
    if (settle == method_) return;
    // Switching the method back and forth keeps what was chosen for each.
    chosen_[method_] = S(combo_->currentData().toString());
    method_ = settle;
    fill();
    if (auto it = chosen_.find(method_); it != chosen_.end() && !it->second.empty()) {
        const int i = combo_->findData(Q(it->second));
        if (i > 0) combo_->setCurrentIndex(i);
    }
}

void BankChoice::load(const std::string& stored, const std::string& settle) {
    stored_ = stored;
    storedMethod_ = settle;
    chosen_.clear();
    method_ = settle;
    fill();
}

bool BankChoice::keepsStored() const {
    return !stored_.empty() && method_ == storedMethod_;
}

void BankChoice::fill() {
    const QSignalBlocker quiet(combo_);
    combo_->clear();
    combo_->addItem("선택", QString());
    const bool phone = method_ == kSettlePhone;
    if (phone) {
        for (const auto& [code, text] : kCarriers)
            combo_->addItem(QString::fromUtf8(text), QString::fromUtf8(code));
    } else {
        for (const auto& [code, text] : banks_) combo_->addItem(Q(text), Q(code));
    }
    combo_->setEnabled(phone || method_ == kSettleCms);
    if (!keepsStored()) return;
    const std::string key = phone ? stored_ : stored_.substr(0, 3);
    const int i = combo_->findData(Q(key));
    if (i > 0) {
        combo_->setCurrentIndex(i);
    } else if (phone || method_ == kSettleCms) {
        // A stored code the list does not offer is shown, but cannot be saved:
        // the user chooses again.
        combo_->addItem(Q(stored_ + " (목록에 없는 코드)"), QString());
        combo_->setCurrentIndex(combo_->count() - 1);
    }
}

std::string BankChoice::value() const {
    if (method_ != kSettleCms && method_ != kSettlePhone) return stored_;
    const std::string chosen = S(combo_->currentData().toString());
    if (chosen.empty()) return {};
    if (method_ == kSettlePhone) return chosen;
    // The branch part stays while the bank does; a code written before the
    // branch part was kept (three digits) gets it on the next save.
    if (keepsStored() && stored_.size() == 7 && IsAllDigits(stored_) &&
        stored_.substr(0, 3) == chosen)
        return stored_;
    return BankCodeOf(chosen);
}

}  // namespace qx::ui
