// Bank-received registrations: the EB11 files with their states, applying
// them, the applied rows of a day, the EB12 answer and marking it sent.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/eb11/eb11_apply.h"
#include "cms/eb11/eb11_file.h"
#include "cms/eb11/eb12_writer.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_names.h"
#include "db/business_days.h"

namespace qx::cli {

namespace {

// YYYY-MM-DD (or any form ParseDate takes) as yyyymmdd.
std::string DayOption(const std::string& text) {
    const auto d = ParseDate(text);
    if (!d) throw std::invalid_argument("날짜를 YYYY-MM-DD 로 입력하십시오: " + text);
    return Yyyymmdd(*d);
}

}  // namespace

void RegisterEb11Commands(CLI::App& app, CliContext& ctx) {
    auto* eb11 = app.add_subcommand("eb11", "EB11 registrations made at banks");
    eb11->require_subcommand(1);

    auto* list = eb11->add_subcommand("list", "the EB11 files with their state");
    list->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const auto files = ListEb11Files(ctx.db, ctx.session);
            for (const auto& f : files) PrintTabRow({f.name, f.state});
            std::cout << files.size() << " 건" << std::endl;
            return int(kExitDone);
        });
    });

    static std::string file;
    auto* apply = eb11->add_subcommand("apply", "apply one EB11 file, or every applicable one");
    apply->add_option("FILE", file, "EB11 + MMDD in the exchange folder");
    apply->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            std::vector<std::string> paths;
            if (!file.empty()) {
                // Only a plain name of the exchange folder: no path of elsewhere.
                if (file.find('/') != std::string::npos || file.find('\\') != std::string::npos ||
                    file.rfind(kEb11Kind, 0) != 0) {
                    ctx.ui.inform(kEb11NoFileText, "확인");
                    return int(kExitStopped);
                }
                const auto path =
                    std::filesystem::path(ExchangeFolder(ctx.session, kEb11Kind)) / file;
                std::error_code ec;
                if (!std::filesystem::is_regular_file(path, ec)) {
                    ctx.ui.inform(kEb11NoFileText, "확인");
                    return int(kExitStopped);
                }
                paths.push_back(path.string());
            } else {
                for (const auto& f : ListEb11Files(ctx.db, ctx.session))
                    if (f.state == kEb11NotAppliedState) paths.push_back(f.path);
                if (paths.empty()) {
                    ctx.ui.inform(kEb11NoFileText, "확인");
                    return int(kExitStopped);
                }
            }
            bool all = true;
            for (const std::string& path : paths) {
                const Eb11ApplyResult r =
                    ApplyEb11File(ctx.db, ctx.session, ctx.ui, path, Eb11ModeOf(ctx.session));
                if (!r.applied) {
                    all = false;
                    continue;
                }
                std::cout << std::filesystem::path(path).filename().string() << "\t" << r.yyyymmdd
                          << "\trecords=" << r.records << "\trefused=" << r.refused << std::endl;
            }
            return int(all ? kExitDone : kExitStopped);
        });
    });

    static std::string day;
    auto* detail = eb11->add_subcommand("detail", "the applied rows of one day");
    detail->add_option("DATE", day, "YYYY-MM-DD")->required();
    detail->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const std::string d = DayOption(day);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            PrintTabRow(Eb11DetailColumns());
            const auto rows = Eb11Detail(ctx.db, ctx.session, d);
            for (const auto& row : rows) PrintTabRow(row);
            std::cout << rows.size() << " 건" << std::endl;
            return int(kExitDone);
        });
    });

    auto* eb12 = app.add_subcommand("eb12", "EB12 answers to EB11 files");
    eb12->require_subcommand(1);
    static std::string eb12Day;
    auto* create = eb12->add_subcommand("create", "write the EB12 of an applied day");
    create->add_option("DATE", eb12Day, "YYYY-MM-DD of the EB11")->required();
    create->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const std::string d = DayOption(eb12Day);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            const std::string path = CreateEb12File(ctx.db, ctx.session, ctx.ui, d);
            if (path.empty()) return int(kExitStopped);
            std::cout << "path=" << path << std::endl;
            return int(kExitDone);
        });
    });
    auto* mark = eb12->add_subcommand("mark-sent", "mark the EB12 of a day as sent");
    mark->add_option("DATE", eb12Day, "YYYY-MM-DD of the EB11")->required();
    mark->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const std::string d = DayOption(eb12Day);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            return int(MarkEb12Sent(ctx.db, ctx.session, ctx.ui, d) ? kExitDone : kExitStopped);
        });
    });
}

}  // namespace qx::cli
