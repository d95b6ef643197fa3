#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"

namespace qx::cli {

void RegisterSummaryCommand(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand(
        "summary", "log in and print the CMS summary figures of the main window (whole won)");
    cmd->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            // The login computed them, exactly as for the main window.
            const CmsSummary& f = ctx.session.cms_summary;
            std::cout << "regular_outstanding=" << f.regular_outstanding << "\n"
                      << "arrears_outstanding=" << f.arrears_outstanding << "\n"
                      << "sales_to_book=" << f.sales_to_book << "\n"
                      << "expected_monthly_sales=" << f.expected_monthly_sales << std::endl;
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
