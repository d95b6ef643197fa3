#include "ui/ledger/member_filter_bar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "core/session_context.h"
#include "ledger/batch_filter_choices.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

constexpr int kPairsPerRow = 6;

}  // namespace

MemberFilterBar::MemberFilterBar(Database& db, const SessionContext& session, Interaction& ui,
                                 QWidget* parent)
    : QWidget(parent) {
    BatchFilterChoices choices;
    Guarded(ui, [&] { choices = LoadBatchFilterChoices(db, session); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int at = 0;
    // `forced`: the role fixes this column, so the only entry is the user's
    // own and there is nothing to choose.
    auto add = [&](const char* column, const char* caption, const std::vector<CodeEntry>& entries,
                   bool forced = false) {
        auto* c = new QComboBox(this);
        c->setObjectName(column);
        if (!forced) c->addItem("전체", QString());
        for (const auto& e : entries) c->addItem(Q(e.text), Q(e.data));
        c->setEnabled(!forced);
        if (forced) forced_.insert(column);
        combos_[column] = c;
        grid->addWidget(new QLabel(caption, this), at / kPairsPerRow, 2 * (at % kPairsPerRow));
        grid->addWidget(c, at / kPairsPerRow, 2 * (at % kPairsPerRow) + 1);
        ++at;
    };
    auto values = [](const std::vector<std::string>& vs) {
        std::vector<CodeEntry> entries;
        for (const auto& v : vs) entries.push_back({v, v});
        return entries;
    };
    add("branch_inx", "지사", choices.branches, !session.isHeadOffice());
    add("agency_inx", "대리점", choices.agencies, session.isAgency());
    add("client_manager", "담당자", values(choices.client_manager));
    add("settle_accounts", "수금방식", choices.settle_accounts);
    add("account_divide", "매출구분", choices.account_divide);
    add("payday", "매출예정일", values(choices.payday));
    add("client_info1", "관리(A)", values(choices.client_info1));
    add("client_info2", "관리(B)", values(choices.client_info2));
    add("client_info3", "관리(C)", values(choices.client_info3));
    add("member_kind", "회원구분", {{"CMS회원", "cms"}, {"일반회원", "general"}});
    grid->setColumnStretch(2 * kPairsPerRow, 1);
}

BatchFilter MemberFilterBar::filter() const {
    BatchFilter f;
    for (const auto& [column, c] : combos_) {
        // A column the role fixes is imposed again by the domain.
        if (!forced_.count(column)) SetBatchFilter(f, column, S(c->currentData().toString()));
    }
    return f;
}

QComboBox* MemberFilterBar::combo(const std::string& column) const {
    auto it = combos_.find(column);
    return it == combos_.end() ? nullptr : it->second;
}

}  // namespace qx::ui
