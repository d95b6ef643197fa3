// quorisdex-cli: the client's operations without windows.
#include <CLI/CLI.hpp>

#include "app/cli/cli_context.h"

namespace {

using namespace qx::cli;

void RegisterCommands(CLI::App& app, CliContext& ctx) {
    RegisterLoginCommand(app, ctx);
    RegisterAdminCommands(app, ctx);
    RegisterMemberCommands(app, ctx);
    RegisterSummaryCommand(app, ctx);
    RegisterSettingsCommand(app, ctx);
    RegisterEb13Commands(app, ctx);
    RegisterEb14Commands(app, ctx);
    RegisterEb21RollbackCommand(app, ctx);
    RegisterEb21Commands(app, ctx);
    RegisterEb22Commands(app, ctx);
    RegisterCmsCommand(app, ctx);
    RegisterLedgerCommands(app, ctx);
    RegisterExportCommand(app, ctx);
    RegisterTransmitCommands(app, ctx);
    RegisterRelayCommands(app, ctx);
    RegisterSmsCommands(app, ctx);
    RegisterEb11Commands(app, ctx);
    RegisterEi13Commands(app, ctx);
    RegisterGiroCommands(app, ctx);
    RegisterCardCommands(app, ctx);
    RegisterBillCommands(app, ctx);
    RegisterReportCommands(app, ctx);
    RegisterRealtimeCommands(app, ctx);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Quorisdex command line"};
    app.require_subcommand(1);
    CliContext ctx;
    ctx.registerCommands = RegisterCommands;
    app.add_option("--app-path", ctx.appPathOption, "program folder holding Login.ini");
    app.add_option("--id", ctx.id, "login id");
    app.add_option("--password", ctx.password, "login password");
    auto* yes = app.add_flag("--yes", ctx.yes, "answer every question with yes");
    app.add_flag("--no", ctx.no, "answer every question with no")->excludes(yes);
    app.add_option("--answers", ctx.answers, "answers in order, e.g. y,n,y");

    RegisterCommands(app, ctx);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : kExitStopped;
    }
    return ctx.exitCode;
}
