#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <thread>

#include "app/cli/cli_context.h"
#include "cms/transmission/relay_send.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/head_office_gate.h"
#include "platform/system_drive.h"

namespace qx::cli {

namespace {

// EB130303 in the exchange folder → EB13260303 by its header date.
std::optional<std::string> DatabaseName(CliContext& ctx, const std::string& file) {
    const std::string kind = file.substr(0, 4);
    if (file.size() != 8 || (kind != "EB13" && kind != "EB21")) {
        ctx.ui.inform("[" + file + "] 송신할 수 없는 파일입니다.", kDefaultTitle);
        return std::nullopt;
    }
    const std::string date =
        ReadHeaderDate(JoinPath(ExchangeFolder(ctx.session, kind), file), ctx.ui);
    if (date.empty()) return std::nullopt;
    return kind + date.substr(2);
}

}  // namespace

void RegisterRelayCommands(CLI::App& app, CliContext& ctx) {
    static std::vector<std::string> files;
    static int waitSeconds = 60;
    auto* cmd = app.add_subcommand("relay", "send files through the relay");
    cmd->require_subcommand(1);

    auto* send = cmd->add_subcommand("send", "register files for the relay and watch them");
    send->add_option("FILE", files, "disk names, e.g. EB130303")->required();
    send->add_option("--wait", waitSeconds, "seconds to watch the runs (default 60)");
    send->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
            std::vector<std::string> names;
            for (const std::string& f : files) {
                const auto name = DatabaseName(ctx, f);
                if (!name) return int(kExitStopped);
                names.push_back(*name);
            }
            auto keys = RelaySendFiles(ctx.db, ctx.session, ctx.ui, names);
            if (keys.size() != names.size()) return int(kExitStopped);
            bool allDone = true;
            for (const long long key : keys) {
                RelayRunState state = RelayRunState::Waiting;
                for (int s = 0; s <= waitSeconds && state == RelayRunState::Waiting; ++s) {
                    if (s > 0) std::this_thread::sleep_for(std::chrono::seconds(1));
                    state = PollRelayRun(ctx.db, ctx.ui, key);
                }
                if (state == RelayRunState::Waiting)
                    std::cout << "run=" << key << " 송신중" << std::endl;
                allDone = allDone && state == RelayRunState::Done;
            }
            return allDone ? int(kExitDone) : int(kExitStopped);
        });
    });

    cmd->add_subcommand("status", "the institution's relay runs")->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            auto rs = ctx.db.OpenRecordset(
                "select inx, filename, stat, senddate, err_msg from sdsi.filerun where id=? "
                "order by inx",
                {ctx.session.org_code});
            PrintTabRow({"run", "filename", "stat", "senddate", "err_msg"});
            for (std::size_t i = 0; i < rs.size(); ++i)
                PrintTabRow({rs[i]["inx"], rs[i]["filename"], rs[i]["stat"], rs[i]["senddate"],
                             rs[i]["err_msg"]});
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
