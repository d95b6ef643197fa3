// member list / show / add / change / delete / bank-cancel: the member
// screens' operations, with the same checks and texts.
#include <CLI/CLI.hpp>
#include <iostream>
#include <stdexcept>

#include "app/cli/cli_context.h"
#include "members/member_record.h"
#include "members/whole_number.h"

namespace qx::cli {

namespace {

// NAME:PRICE:COUNT, the name may itself hold ':'.
MemberItem ParseItem(const std::string& text) {
    const auto second = text.rfind(':');
    const auto first = second == std::string::npos || second == 0 ? std::string::npos
                                                                  : text.rfind(':', second - 1);
    if (first == std::string::npos) {
        throw std::invalid_argument("품목은 NAME:PRICE:COUNT 형식으로 입력하십시오: " + text);
    }
    MemberItem item;
    item.name = text.substr(0, first);
    const auto price = ParseWholeNumber(text.substr(first + 1, second - first - 1));
    const auto count = ParseWholeNumber(text.substr(second + 1), 99999);
    if (!price) throw std::invalid_argument("단가가 잘못되었습니다.");
    if (!count || *count < 1) throw std::invalid_argument("수량이 잘못되었습니다.(1이상)");
    item.pay = *price;
    item.count = *count;
    return item;
}

// --set values; a few names are fields of the screens rather than columns.
MemberInput BuildInput(const std::vector<std::string>& sets,
                       const std::vector<std::string>& items) {
    MemberInput in;
    for (const auto& s : sets) {
        auto [column, value] = SplitAssignment(s);
        if (column == "initial_nonpayment") {
            in.initial_nonpayment = value;
        } else if (column == "instalment_total") {
            in.instalment_total = value;
        } else if (column == "instalment_months") {
            in.instalment_months = value;
        } else if (column == "period_months") {
            in.period_months = value;
        } else if (column == "virtual_bank") {
            in.virtual_bank = value;
        } else {
            CheckInputColumn(column);
            in.set(column, value);
        }
    }
    if (!items.empty()) {
        std::vector<MemberItem> parsed;
        for (const auto& i : items) parsed.push_back(ParseItem(i));
        in.items = std::move(parsed);
    }
    return in;
}

void PrintListRow(const MemberListRow& r) {
    const char* columns[] = {
        "username",        "client_company",   "settle_text",    "account_divide_text",
        "cms_status_text", "pay_monthdefault", "pay_nonpayment", "bank_name",
        "account_no",      "account_jumin",    "payday",         "inday",
        "client_manager",  "branch_name"};
    std::cout << r.payer_number << "\t" << MemberStateText(r.get("remove"));
    for (const char* c : columns) std::cout << "\t" << r.get(c);
    std::cout << "\n";
}

struct MemberOptions {
    std::vector<std::string> where, sets, items;
    long long number = 0;
    bool full = false;
};

}  // namespace

void RegisterMemberCommands(CLI::App& app, CliContext& ctx) {
    auto opts = std::make_shared<MemberOptions>();
    auto* member =
        app.add_subcommand("member", "members: list, show, add, change, delete, bank-cancel");
    member->require_subcommand(1);

    auto* list = member->add_subcommand("list", "list the user's members");
    list->add_option("--where", opts->where, "COLUMN=VALUE filter (repeatable)");
    list->add_flag("--full", opts->full,
                   "show account holder numbers unmasked (institutions permitted to)");
    list->callback([&ctx, opts]() {
        ctx.exitCode = ctx.guarded([&ctx, opts]() {
            MemberFilter filter;
            for (const auto& w : opts->where) {
                auto [column, value] = SplitAssignment(w);
                SetMemberFilter(filter, column, value);
            }
            if (int code = ctx.login(); code != kExitDone) return code;
            // Full holder numbers only where the screens would show them.
            if (opts->full && !MayShowFullHolderNumbers(ctx.db, ctx.session)) {
                ctx.ui.inform("예금주번호 전체 조회 권한이 없습니다.", kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            const auto rows = ListMembers(ctx.db, ctx.session, filter, opts->full);
            std::cout << "납부자번호\t회원상태\t고객명\t상호\t수금방식\t매출구분\tCMS상태\t매출예정"
                         "액\t미수금\t"
                         "은행명\t계좌번호\t예금주번호\t매출예정일\t이체예정일\t담당자\t지사\n";
            for (const auto& r : rows) PrintListRow(r);
            std::cout << rows.size() << "건" << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* show = member->add_subcommand("show", "show one member");
    show->add_option("number", opts->number, "payer number")->required();
    show->callback([&ctx, opts]() {
        ctx.exitCode = ctx.guarded([&ctx, opts]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto m = LoadMember(ctx.db, ctx.session, opts->number);
            if (!m) {
                ctx.ui.inform(kMemberNotFoundText, kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            for (const auto& [column, value] : m->values)
                std::cout << column << "=" << value << "\n";
            for (const auto& item : LoadMemberItems(ctx.db, ctx.session, opts->number)) {
                std::cout << "item=" << item.name << ":" << item.pay << ":" << item.count << "\n";
            }
            std::cout.flush();
            return static_cast<int>(kExitDone);
        });
    });

    auto* add = member->add_subcommand("add", "register a new member");
    add->add_option("--set", opts->sets, "COLUMN=VALUE (repeatable)");
    add->add_option("--item", opts->items, "NAME:PRICE:COUNT (repeatable)");
    add->callback([&ctx, opts]() {
        ctx.exitCode = ctx.guarded([&ctx, opts]() {
            MemberInput in = BuildInput(opts->sets, opts->items);
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto id = CreateMember(ctx.db, ctx.session, ctx.ui, in);
            if (!id) return static_cast<int>(kExitStopped);
            std::cout << "member_inx="
                      << std::string(10 - std::min<std::size_t>(10, std::to_string(*id).size()),
                                     '0')
                      << *id << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* change = member->add_subcommand("change", "change a member");
    change->add_option("number", opts->number, "payer number")->required();
    change->add_option("--set", opts->sets, "COLUMN=VALUE (repeatable)");
    change->add_option("--item", opts->items, "NAME:PRICE:COUNT; replaces the items (repeatable)");
    change->callback([&ctx, opts]() {
        ctx.exitCode = ctx.guarded([&ctx, opts]() {
            MemberInput in = BuildInput(opts->sets, opts->items);
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto m = LoadMember(ctx.db, ctx.session, opts->number);
            if (!m) {
                ctx.ui.inform(kMemberNotFoundText, kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            const ChangeResult r =
                ChangeMember(ctx.db, ctx.session, ctx.ui, opts->number, OpenedStateOf(*m), in);
            if (!r.saved) return static_cast<int>(kExitStopped);
            std::cout << "member_inx="
                      << std::string(
                             10 - std::min<std::size_t>(10, std::to_string(r.member_inx).size()),
                             '0')
                      << r.member_inx << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* del = member->add_subcommand("delete", "delete a member");
    del->add_option("number", opts->number, "payer number")->required();
    del->callback([&ctx, opts]() {
        ctx.exitCode = ctx.guarded([&ctx, opts]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            return DeleteMember(ctx.db, ctx.session, ctx.ui, opts->number)
                       ? static_cast<int>(kExitDone)
                       : static_cast<int>(kExitStopped);
        });
    });

    auto* bank = member->add_subcommand("bank-cancel", "record a cancellation made at the bank");
    bank->add_option("number", opts->number, "payer number")->required();
    bank->callback([&ctx, opts]() {
        ctx.exitCode = ctx.guarded([&ctx, opts]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            return BankCancelMember(ctx.db, ctx.session, ctx.ui, opts->number)
                       ? static_cast<int>(kExitDone)
                       : static_cast<int>(kExitStopped);
        });
    });
}

}  // namespace qx::cli
