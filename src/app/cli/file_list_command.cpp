#include "app/cli/file_list_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

namespace qx::cli {

void RegisterFileListCommand(CLI::App& parent, CliContext& ctx, const std::string& description,
                             FileListParts parts) {
    struct Options {
        std::string from, to, search;
        FileListParts parts;
    };
    // The options outlive this call: the parser fills them later.
    auto options = std::make_shared<Options>(Options{{}, {}, {}, std::move(parts)});
    auto* files = parent.add_subcommand("files", description);
    files->add_option("--from", options->from, "first creation day YYYY-MM-DD (default: today)");
    files->add_option("--to", options->to, "last creation day YYYY-MM-DD (default: today)");
    files->add_option("--search", options->search,
                      "payer number, account, holder number or external key");
    files->callback([&ctx, options]() {
        ctx.exitCode = ctx.guarded([&ctx, &o = *options]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const CivilDate today = ServerToday(ctx);
            const CivilDate f = DateOption(o.from, today), t = DateOption(o.to, today);
            std::cout << o.parts.waitingText(ctx.db, ctx.session) << std::endl;
            PrintTabRow(ColumnCaptions(o.parts.columns()));
            const auto rows = o.parts.list(ctx.db, ctx.session, f, t, o.search);
            for (const auto& row : rows) PrintTabRow(row);
            std::cout << rows.size() << " 건" << std::endl;
            if (!o.search.empty())
                PrintFileDetail(o.parts.searchDetail(ctx.db, ctx.session, f, t, o.search));
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
