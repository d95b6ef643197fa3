// OCR giro receipt statements: checking and applying a GR15 file, the
// applied files of a period and the rows of one of them.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "channels/giro/gr15_apply.h"
#include "channels/giro/gr15_report.h"

namespace qx::cli {

namespace {

void PrintPayments(const Gr15File& file) {
    PrintTabRow(Gr15GridColumns());
    for (const auto& row : Gr15GridRows(file)) PrintTabRow(row);
    std::cout << "( " << file.payments.size() << " 건)" << std::endl;
}

}  // namespace

void RegisterGiroCommands(CLI::App& app, CliContext& ctx) {
    auto* giro = app.add_subcommand("giro", "OCR giro receipt statements (GR15)");
    giro->require_subcommand(1);

    static std::string checkPath;
    auto* check = giro->add_subcommand("check", "reads a GR15 file and prints its rows");
    check->add_option("FILE", checkPath, "the GR15 file")->required();
    check->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const auto file = OpenGr15File(ctx.db, ctx.session, ctx.ui, checkPath);
            if (!file) return int(kExitStopped);
            PrintPayments(*file);
            return int(kExitDone);
        });
    });

    static std::string applyPath;
    auto* apply = giro->add_subcommand("apply", "applies a GR15 file (--yes answers the question)");
    apply->add_option("FILE", applyPath, "the GR15 file")->required();
    apply->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const auto file = OpenGr15File(ctx.db, ctx.session, ctx.ui, applyPath);
            if (!file) return int(kExitStopped);
            const Gr15ApplyResult r = ApplyGr15File(ctx.db, ctx.session, ctx.ui, *file);
            if (!r.applied) return int(kExitStopped);
            std::cout << "stored=" << r.stored << "\nmembers=" << r.members
                      << "\nbooked=" << r.booked << "\nunmatched=" << r.unmatched << std::endl;
            return int(kExitDone);
        });
    });

    static std::string from, to;
    auto* files = giro->add_subcommand("files", "the GR15 files applied in a period");
    files->add_option("--from", from, "first day YYYY-MM-DD (default: the month's first day)");
    files->add_option("--to", to, "last day YYYY-MM-DD (default: today)");
    files->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const CivilDate today = ServerToday(ctx);
            const CivilDate f = DateOption(from, {today.year, today.month, 1});
            const CivilDate t = DateOption(to, today);
            PrintTabRow(ColumnCaptions(Gr15FileColumns()));
            const auto rows = ListGr15Files(ctx.db, ctx.session, f, t);
            for (const auto& row : rows) PrintTabRow(row);
            std::cout << rows.size() << " 건" << std::endl;
            return int(kExitDone);
        });
    });

    static std::string name;
    auto* detail = giro->add_subcommand("detail", "the rows of one applied GR15 file");
    detail->add_option("FILE", name, "GR15 + YYMMDD")->required();
    detail->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const Gr15Detail d = Gr15FileDetail(ctx.db, ctx.session, name);
            std::cout << d.title << std::endl;
            PrintTabRow(ColumnCaptions(d.columns));
            for (const auto& row : d.rows) PrintTabRow(row);
            std::cout << d.rows.size() << " 건, " << d.unbookedCount << " 건 " << d.unbookedText
                      << std::endl;
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
