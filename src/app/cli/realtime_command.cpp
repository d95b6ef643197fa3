// realtime inquiry|register|cancel|history|list: the real-time account
// services of the clearing house, on the same library session as transmit.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/realtime/realtime_service.h"
#include "cms/transmission/kftc_transfer.h"

namespace qx::cli {

namespace {

struct RealtimeOptions {
    std::string bank, account, holder, payer, name;
    std::string kind, search, before, after, from, to;
};

void PrintList(const KftcList& list) {
    PrintTabRow(list.headers);
    for (const auto& row : list.rows) PrintTabRow(row);
    std::cout << list.rows.size() << " 건" << std::endl;
}

std::string CompactDay(CliContext& ctx, const std::string& text) {
    const CivilDate d = DateOption(text, ServerToday(ctx));
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

// A request through the service; done when the clearing house answered.
bool Run(CliContext& ctx, KftcTransfer& t, const RealtimeRequest& r) {
    RealtimeService service(ctx.db, ctx.session, ctx.ui, t);
    const RealtimeOutcome out = service.Request(r);
    if (!out.answered) return false;
    std::cout << "row=" << out.row << " response=" << out.responseCode
              << " post_cms_status=" << out.postCmsStatus << std::endl;
    return true;
}

// Registration and cancellation take the member's own account data, as the
// screen's member search fills them in.
bool RunForMember(CliContext& ctx, KftcTransfer& t, RealtimeKind kind, const std::string& payer) {
    RealtimeRequest r;
    r.kind = kind;
    r.payerNumber = payer;
    auto rs = ctx.db.OpenRecordset(
        "select bank_code, account_no, if(length(account_jumin) >= 13, "
        "mid(account_jumin,1,6), account_jumin) account_jumin, "
        "username from " +
            InstitutionSchema(ctx.session.institution_number) +
            ".member_user where member_inx=? and remove<>'4'",
        {payer});
    if (!rs.empty()) {
        r.bankCode = rs[0]["bank_code"];
        r.accountNo = rs[0]["account_no"];
        r.holderId = rs[0]["account_jumin"];
        r.name = rs[0]["username"];
    }
    return Run(ctx, t, r);
}

int WithService(CliContext& ctx, const std::function<bool(KftcTransfer&)>& body) {
    return WithTransfer(ctx, [&](KftcTransfer& t) {
        EnsureKftcAddservTable(ctx.db, ctx.session.institution_number);
        return body(t);
    });
}

}  // namespace

void RegisterRealtimeCommands(CLI::App& app, CliContext& ctx) {
    static RealtimeOptions o;
    auto* cmd =
        app.add_subcommand("realtime", "real-time account inquiry, registration, cancellation");
    cmd->require_subcommand(1);

    auto* inquiry = cmd->add_subcommand("inquiry", "the registered holder of an account");
    inquiry->add_option("--bank", o.bank, "bank code (3 or 7 digits)")->required();
    inquiry->add_option("--account", o.account, "account number")->required();
    inquiry->add_option("--holder", o.holder, "holder id (6 or 10 digits)")->required();
    inquiry->add_option("--payer", o.payer, "payer number");
    inquiry->add_option("--name", o.name, "member name");
    inquiry->callback([&ctx]() {
        ctx.exitCode = WithService(ctx, [&ctx](KftcTransfer& t) {
            RealtimeRequest r{RealtimeKind::Inquiry, o.bank, o.account, o.holder, o.payer, o.name};
            return Run(ctx, t, r);
        });
    });

    auto* reg = cmd->add_subcommand("register", "register a member's debit in real time");
    reg->add_option("PAYER", o.payer)->required();
    reg->callback([&ctx]() {
        ctx.exitCode = WithService(ctx, [&ctx](KftcTransfer& t) {
            return RunForMember(ctx, t, RealtimeKind::Registration, o.payer);
        });
    });

    auto* cancel = cmd->add_subcommand("cancel", "cancel a member's debit in real time");
    cancel->add_option("PAYER", o.payer)->required();
    cancel->callback([&ctx]() {
        ctx.exitCode = WithService(ctx, [&ctx](KftcTransfer& t) {
            return RunForMember(ctx, t, RealtimeKind::Cancellation, o.payer);
        });
    });

    // The history reads only the database: no library session is needed.
    auto* history = cmd->add_subcommand("history", "the requests this program made");
    history->add_option("--kind", o.kind, "50|51|52")->check(CLI::IsMember({"50", "51", "52"}));
    history->add_option("--search", o.search, "holder id, payer, external key or name");
    history->add_option("--before", o.before, "CMS state before");
    history->add_option("--after", o.after, "CMS state after");
    history->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            EnsureKftcAddservTable(ctx.db, ctx.session.institution_number);
            KftcLibrary lib;  // never loaded: the history needs no session
            KftcTransfer t(ctx.db, ctx.session, ctx.ui, lib);
            RealtimeService service(ctx.db, ctx.session, ctx.ui, t);
            PrintList(service.History({o.before, o.kind, o.after, o.search}));
            return int(kExitDone);
        });
    });

    auto* list = cmd->add_subcommand("list", "results the clearing house kept for a period");
    list->add_option("--from", o.from, "YYYY-MM-DD")->required();
    list->add_option("--to", o.to, "YYYY-MM-DD")->required();
    list->add_option("--kind", o.kind, "50|51|52 (all three when left out)")
        ->check(CLI::IsMember({"50", "51", "52"}));
    list->callback([&ctx]() {
        ctx.exitCode = WithService(ctx, [&ctx](KftcTransfer& t) {
            RealtimeService service(ctx.db, ctx.session, ctx.ui, t);
            const std::string from = CompactDay(ctx, o.from), to = CompactDay(ctx, o.to);
            std::vector<std::string> kinds = {o.kind};
            if (o.kind.empty()) kinds = {"50", "51", "52"};
            KftcList all;
            for (const std::string& k : kinds) {
                auto l = service.ResultList(RealtimeKindOf(k), from, to);
                if (!l) return false;
                all.headers = l->headers;
                for (auto& row : l->rows) all.rows.push_back(std::move(row));
            }
            PrintList(all);
            return true;
        });
    });
}

}  // namespace qx::cli
