// Applying the EB22 withdrawal results of the exchange folder.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/eb22/eb22_apply.h"
#include "cms/workspace/head_office_gate.h"
#include "session/service_web.h"

namespace qx::cli {

void RegisterEb22Commands(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("eb22", "EB22 withdrawal results");
    cmd->require_subcommand(1);
    auto* apply = cmd->add_subcommand("apply", "apply every EB22 of the exchange folder");
    apply->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
            const Eb22RunResult r = ApplyEb22Files(ctx.db, ctx.session, ctx.ui,
                                                   ServiceWebEb22Request(ReadWebHost(*ctx.ini)));
            // One line per applied file with the figures of the file list.
            for (const Eb22FileOutcome& f : r.files) {
                if (!f.applied) continue;
                std::cout << f.file << "\t출금 " << f.withdrawnCount << "건 " << f.rtnokMoney
                          << "원\t불능 " << f.failedCount << "건 " << f.rtnfalseMoney
                          << "원\t수수료 " << f.okCommission + f.falseCommission << "원\t실입금 "
                          << f.rtnokMoney - (f.okCommission + f.falseCommission) << "원"
                          << std::endl;
            }
            const bool allDone = !r.noFiles && !r.stopped && r.failed == 0;
            return int(allDone ? kExitDone : kExitStopped);
        });
    });
}

}  // namespace qx::cli
