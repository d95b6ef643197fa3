// The EB21 file list and the requests of a file, as the EB21/EB22 screen
// shows them, and the EB21 rollback behind the maintenance password.
#include <CLI/CLI.hpp>

#include "app/cli/cli_context.h"
#include "app/cli/file_list_command.h"
#include "cms/eb22/eb21_detail.h"
#include "cms/eb22/eb21_files.h"
#include "cms/rollback/eb21_rollback.h"

namespace qx::cli {

void RegisterEb21FileCommands(CLI::App& eb21, CliContext& ctx) {
    RegisterFileListCommand(eb21, ctx, "list the EB21 files with their result figures",
                            {Eb21WaitingText, Eb21FileColumns, ListEb21Files,
                             SearchAllRows<Eb21SearchDetail, Eb21DetailFilter::All>});

    static std::string file, filter = "all", detailSearch;
    auto* detail =
        eb21.add_subcommand("detail", "the requests of one EB21 file with their results");
    detail->add_option("FILE", file, "EB21 + YYMMDD")->required();
    detail->add_option("--filter", filter, "all, open, failed or partial");
    detail->add_option("--search", detailSearch,
                       "payer number, account, holder number or external key");
    detail->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const auto f = ParseEb21DetailFilter(filter);
            if (!f)
                throw std::invalid_argument("--filter 는 all, open, failed, partial 입니다: " +
                                            filter);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            PrintFileDetail(Eb21FileDetail(ctx.db, ctx.session, file, *f, detailSearch));
            return int(kExitDone);
        });
    });
}

void RegisterEb21RollbackCommand(CLI::App& app, CliContext& ctx) {
    static std::string file, password;
    CLI::App* rollback = app.get_subcommand("rollback");
    auto* eb21 = rollback->add_subcommand("eb21", "take back an EB21 whose result is not applied");
    eb21->add_option("FILE", file, "EB21 + YYMMDD")->required();
    eb21->add_option("--maintenance-password", password, "the maintenance password")->required();
    eb21->callback([&ctx]() {
        ctx.exitCode = RunRollback(ctx, password, [&ctx]() {
            return RollbackEb21Files(ctx.db, ctx.session, ctx.ui, {file});
        });
    });
}

}  // namespace qx::cli
