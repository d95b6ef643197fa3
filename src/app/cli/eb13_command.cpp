#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/eb13/eb13_creation.h"
#include "cms/eb13/eb13_targets.h"
#include "cms/workspace/head_office_gate.h"
#include "session/menu_catalogue.h"

namespace qx::cli {

namespace {

// The EB13 screens open from the file menu; the same gate applies here, and
// listing (which marks members) and creating are for the head office only.
bool MayOpenEb13(CliContext& ctx) {
    if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return false;
    const MenuChoice choice = ChooseMenuScreen(ctx.session, 30, 1);
    if (choice.action == MenuAction::kOpen) return true;
    if (!choice.message.empty()) ctx.ui.inform(choice.message, kDefaultTitle);
    return false;
}

void PrintTargets(const std::vector<Eb13Target>& targets, const SessionContext& s) {
    PrintTabRow(ColumnCaptions(Eb13GridColumns(s)));
    for (const Eb13Target& t : targets) PrintTabRow(Eb13GridCells(t, s));
    std::cout << targets.size() << " 건" << std::endl;
}

}  // namespace

TransmissionLaunchers CommandLineLaunchers(CliContext& ctx) {
    TransmissionLaunchers l;
    l.openKftcScreen = [&ctx]() {
        ctx.ui.inform("금결원 파일 송수신 화면은 프로그램 창에서 여십시오.", kDefaultTitle);
    };
    return l;
}

void RegisterEb13Commands(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("eb13", "EB13 registration and cancellation requests");
    cmd->require_subcommand(1);
    RegisterEb13FileCommands(*cmd, ctx);

    auto* targets = cmd->add_subcommand("targets", "list the members due for a request");
    targets->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!MayOpenEb13(ctx)) return int(kExitStopped);
            PrintTargets(SearchEb13Targets(ctx.db, ctx.session), ctx.session);
            return int(kExitDone);
        });
    });

    static std::string date;
    static bool backInstead = false;
    auto* create = cmd->add_subcommand("create", "write the day's EB13 file");
    create->add_option("--date", date, "file date YYYY-MM-DD (default: the usual request day)");
    create->add_flag("--return", backInstead,
                     "close with the question of going back instead of sending");
    create->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!MayOpenEb13(ctx)) return int(kExitStopped);
            Eb13Request request;
            if (date.empty()) {
                request.fileDate = Eb13DefaultFileDate(ctx.db, ctx.session);
            } else {
                const auto parsed = ParseDate(date);
                if (!parsed)
                    throw std::invalid_argument("날짜를 YYYY-MM-DD 로 입력하십시오: " + date);
                request.fileDate = *parsed;
            }
            request.targets = SearchEb13Targets(ctx.db, ctx.session);
            request.question =
                backInstead ? Eb13ClosingQuestion::Return : Eb13ClosingQuestion::Send;
            request.launch = CommandLineLaunchers(ctx);
            const Eb13Result r = CreateEb13File(ctx.db, ctx.session, ctx.ui, request);
            if (r.outcome != Eb13Outcome::Created) return int(kExitStopped);
            std::cout << "file=" << r.path << "\nnew=" << r.newCount << "\ncancel=" << r.cancelCount
                      << std::endl;
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
