#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/workspace/cms_status.h"

namespace qx::cli {

namespace {

void PrintPanel(const StatusPanel& panel) {
    std::cout << "[" << panel.title << "]" << (panel.highlighted ? " *" : "") << "\n";
    PrintTabRow(ColumnCaptions(panel.columns));
    for (const auto& row : panel.rows) PrintTabRow(row);
}

}  // namespace

void RegisterCmsCommand(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("cms", "CMS files of the exchange folders");
    cmd->require_subcommand(1);
    auto* status = cmd->add_subcommand(
        "status",
        "tidy the exchange folders and print the file status panels (EB11/EB12, EB13/EB14, "
        "EB21/EB22) as tab-separated rows");
    status->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const CmsStatus s = BuildCmsStatus(ctx.db, ctx.session, ctx.ui);
            if (s.refused) return int(kExitStopped);
            PrintPanel(s.eb11);
            std::cout << "\n";
            PrintPanel(s.eb13);
            std::cout << "\n";
            PrintPanel(s.eb21);
            std::cout << std::flush;
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
