// The EB13 file list and detail, applying EB14 results, and the EB13
// rollback behind the maintenance password.
#include <CLI/CLI.hpp>

#include "app/cli/cli_context.h"
#include "app/cli/file_list_command.h"
#include "cms/eb13/eb13_files.h"
#include "cms/eb14/auth_requery.h"
#include "cms/eb14/eb13_detail.h"
#include "cms/eb14/eb14_apply.h"
#include "cms/rollback/eb13_rollback.h"
#include "cms/workspace/head_office_gate.h"
#include "session/service_web.h"

namespace qx::cli {

void RegisterEb13FileCommands(CLI::App& eb13, CliContext& ctx) {
    RegisterFileListCommand(eb13, ctx, "list the EB13 files with their results",
                            {Eb13WaitingText, Eb13FileColumns, ListEb13Files,
                             SearchAllRows<Eb13SearchDetail, Eb13DetailFilter::All>});

    static std::string file, filter = "all";
    auto* detail = eb13.add_subcommand("detail", "the rows of one EB13 file with their results");
    detail->add_option("FILE", file, "EB13 + YYMMDD")->required();
    detail->add_option("--filter", filter, "all, open or refused");
    detail->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const auto f = ParseEb13DetailFilter(filter);
            if (!f) throw std::invalid_argument("--filter 는 all, open, refused 입니다: " + filter);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            PrintFileDetail(Eb13FileDetail(ctx.db, ctx.session, file, *f));
            return int(kExitDone);
        });
    });

    // The authentication re-query of one new registration (relay institutions).
    static std::string reauthFile;
    static long long payer = 0;
    static int limit = kAuthRequeryLimitSeconds;
    auto* reauth =
        eb13.add_subcommand("reauth", "ask the relay again for an authentication result");
    reauth->add_option("FILE", reauthFile, "EB13 + YYMMDD")->required();
    reauth->add_option("PAYER", payer, "payer number of the row")->required();
    reauth->add_option("--limit", limit, "seconds to wait for the answer");
    reauth->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (ctx.session.cmsrunprg != 2)
                throw std::invalid_argument("중계 이용기관만 인증결과를 재조회할 수 있습니다.");
            return int(RequeryAuth(ctx.db, ctx.session, ctx.ui, reauthFile, payer, limit, 500)
                           ? kExitDone
                           : kExitStopped);
        });
    });
}

void RegisterEb14Commands(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("eb14", "EB14 registration results");
    cmd->require_subcommand(1);
    auto* apply = cmd->add_subcommand("apply", "apply every EB14 of the exchange folder");
    apply->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
            const Eb14RunResult r = ApplyEb14Files(ctx.db, ctx.session, ctx.ui,
                                                   ServiceWebResultRequest(ReadWebHost(*ctx.ini)));
            const bool allDone = !r.noFiles && !r.stopped && r.failed == 0;
            return int(allDone ? kExitDone : kExitStopped);
        });
    });

    static std::string file, password;
    auto* rollback = app.add_subcommand("rollback", "take back a request file");
    rollback->require_subcommand(1);
    auto* eb13 = rollback->add_subcommand("eb13", "take back an EB13 whose result is not applied");
    eb13->add_option("FILE", file, "EB13 + YYMMDD")->required();
    eb13->add_option("--maintenance-password", password, "the maintenance password")->required();
    eb13->callback([&ctx]() {
        ctx.exitCode = RunRollback(ctx, password, [&ctx]() {
            return RollbackEb13Files(ctx.db, ctx.session, ctx.ui, {file});
        });
    });
}

}  // namespace qx::cli
