// bills candidates | issue | batches | show | mail | texts | preview: the
// e-mailed bills without windows. Issuing and mailing need SYSTEM/WEBHOST
// like the screens.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "app/cli/cli_context.h"
#include "export/bills/bills.h"
#include "session/service_web.h"

namespace qx::cli {

namespace {

struct BillOptions {
    std::string month, from, to, crdate, search, text;
    bool exact = false;
    std::vector<std::string> where, set;
};

BillSelection ParseSelection(const BillOptions& o) {
    if (!IsBillingMonth(o.month)) throw std::invalid_argument(kBillMonthText);
    BillSelection sel;
    sel.month = o.month;
    for (const auto& w : o.where) {
        auto [column, value] = SplitAssignment(w);
        SetBillCondition(sel, column, value);
    }
    if (!o.text.empty()) {
        sel.textColumn = o.search.empty() ? "username" : o.search;
        sel.text = o.text;
        sel.textEquals = o.exact;
    }
    return sel;
}

void AddSelection(CLI::App* cmd, const std::shared_ptr<BillOptions>& o) {
    cmd->add_option("--month", o->month, "billing month YYYY-MM")->required();
    cmd->add_option("--where", o->where,
                    "COLUMN=VALUE filter (repeatable): remove=1|3|12, branch_inx, agency_inx, "
                    "client_manager, settle_accounts, account_divide, payday, client_info1..3 "
                    "(없음 = empty), pay_nonpayment=Y|N, p_tax, cms_status");
    std::string columns;
    for (const auto& c : BillTextColumns())
        columns += (columns.empty() ? "" : ", ") + std::string(c.column);
    cmd->add_option("--search", o->search, "column of the text condition: " + columns);
    cmd->add_option("--text", o->text, "text the column contains (or equals with --exact)");
    cmd->add_flag("--exact", o->exact, "the column equals the text");
}

}  // namespace

void RegisterBillCommands(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<BillOptions>();
    auto* bills = app.add_subcommand("bills",
                                     "e-mailed bills: candidates, issue, batches, show, "
                                     "mail, texts, preview");
    bills->require_subcommand(1);

    auto* candidates = bills->add_subcommand("candidates", "members a month's bill goes to");
    AddSelection(candidates, o);
    candidates->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            const BillSelection sel = ParseSelection(*o);
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto rows = ListBillCandidates(ctx.db, ctx.session, sel);
            PrintTabRow({"납부자번호", "고객명", "사업자/주민번호", "대체입금계좌", "이메일",
                         "출금일", "이체개시월", "전월미납액", "당월청구액", "총청구액"});
            for (const auto& r : rows) {
                PrintTabRow({r.payer_number, r.name, r.id, r.account, r.email, r.payday,
                             r.start_date, std::to_string(r.outstanding),
                             std::to_string(r.month_amount), std::to_string(r.total)});
            }
            std::cout << rows.size() << " 건" << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* issue = bills->add_subcommand("issue", "issue and mail the month's bills");
    AddSelection(issue, o);
    issue->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            const BillSelection sel = ParseSelection(*o);
            if (int code = ctx.login(); code != kExitDone) return code;
            const BillIssueResult r =
                IssueBills(ctx.db, ctx.session, ctx.ui, ReadWebHost(*ctx.ini), sel);
            if (!r.done) return static_cast<int>(kExitStopped);
            std::cout << "issued=" << r.issued << "\n";
            if (!r.crdate.empty()) std::cout << "crdate=" << r.crdate << "\n";
            std::cout << std::flush;
            return static_cast<int>(kExitDone);
        });
    });

    auto* batches = bills->add_subcommand("batches", "issued batches of a range of months");
    batches->add_option("--from", o->from, "YYYY-MM")->required();
    batches->add_option("--to", o->to, "YYYY-MM")->required();
    batches->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (!IsBillingMonth(o->from) || !IsBillingMonth(o->to))
                throw std::invalid_argument(kBillMonthText);
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto rows = ListBillBatches(ctx.db, ctx.session, o->from, o->to);
            PrintTabRow({"청구월", "발행일시", "발행건수", "메일발송", "총청구액"});
            for (const auto& b : rows) {
                PrintTabRow({b.month, b.crdate, std::to_string(b.count),
                             std::to_string(b.mailed) + " 건", std::to_string(b.total)});
            }
            std::cout << rows.size() << " 건" << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* show = bills->add_subcommand("show", "the bills of one batch");
    show->add_option("CRDATE", o->crdate, "issue time \"YYYY-MM-DD hh:mm:ss\"")->required();
    show->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto rows = ListBills(ctx.db, ctx.session, o->crdate);
            PrintTabRow({"번호", "청구월", "발행일시", "고객명", "사업자/주민번호", "당월청구액",
                         "총청구액", "발송", "이메일"});
            for (const auto& b : rows) {
                PrintTabRow({std::to_string(b.crinx), b.month, b.crdate, b.name, b.id,
                             std::to_string(b.month_amount), std::to_string(b.total),
                             std::to_string(b.mailcnt) + " 회", b.email});
            }
            std::cout << rows.size() << " 건" << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* mail = bills->add_subcommand("mail", "mail the bills of a batch not mailed yet");
    mail->add_option("CRDATE", o->crdate, "issue time \"YYYY-MM-DD hh:mm:ss\"")->required();
    mail->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            const std::string reply = RequestBillMailing(ReadWebHost(*ctx.ini), o->crdate,
                                                         ctx.session.institution_number);
            const std::string notice = BillMailingNotice(reply);
            if (!notice.empty()) ctx.ui.inform(notice, kDefaultTitle);
            std::cout << reply << std::endl;
            return notice.empty() ? static_cast<int>(kExitDone) : static_cast<int>(kExitStopped);
        });
    });

    auto* texts = bills->add_subcommand("texts", "the bill texts in use, or --set new ones");
    texts->add_option("--set", o->set, "TEXT1 TEXT2 TEXT3 TEXT4")->expected(4);
    texts->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            if (!o->set.empty()) {
                const BillTexts t{0, o->set[0], o->set[1], o->set[2], o->set[3]};
                if (!SaveBillTexts(ctx.db, ctx.session, ctx.ui, t))
                    return static_cast<int>(kExitStopped);
            }
            const auto current = CurrentBillTexts(ctx.db, ctx.session);
            if (!current) {
                ctx.ui.inform(kNoBillTextsText, kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            std::cout << "set=" << current->inx << "\ntitle1=" << current->title1
                      << "\ntitle2=" << current->title2 << "\ntitle3=" << current->title3
                      << "\ntitle4=" << current->title4 << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* preview = bills->add_subcommand("preview", "address of the preview page");
    preview->add_option("--month", o->month, "billing month YYYY-MM")->required();
    preview->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (!IsBillingMonth(o->month)) throw std::invalid_argument(kBillMonthText);
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto current = CurrentBillTexts(ctx.db, ctx.session);
            if (!current) {
                ctx.ui.inform(kNoBillTextsText, kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            std::cout << BillPreviewUrl(ReadWebHost(*ctx.ini), ctx.session, *current, o->month)
                      << std::endl;
            return static_cast<int>(kExitDone);
        });
    });
}

}  // namespace qx::cli
