// export COMMAND… --out FILE [--columns TITLE,…] [--format xls|xlsx]: a list
// command's rows written as an Excel file through the same writers and the
// same permission rule as the screens.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "app/cli/cli_context.h"
#include "export/column_choice.h"
#include "export/excel_export.h"
#include "export/member_export.h"
#include "members/member_list_columns.h"
#include "members/member_record.h"

namespace qx::cli {

namespace {

struct ExportOptions {
    std::string out, columns, format;
};

// The list commands that can be exported, each turned into a row source
// after the login.
using SourceMaker = std::function<std::unique_ptr<ExportRowSource>(
    CliContext&, const std::vector<std::string>& args)>;

std::unique_ptr<ExportRowSource> MemberListSource(CliContext& ctx,
                                                  const std::vector<std::string>& args) {
    MemberFilter filter;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--where" && i + 1 < args.size()) {
            auto [column, value] = SplitAssignment(args[++i]);
            SetMemberFilter(filter, column, value);
        } else {
            throw std::invalid_argument("member list 에 쓸 수 없는 옵션입니다: " + args[i]);
        }
    }
    const auto layout = MemberListColumns(ctx.ini->read("V1", "VIEW", kDefaultMemberView), 0);
    return std::make_unique<MemberExportSource>(ctx.db, ctx.session, filter, layout,
                                                MayShowFullHolderNumbers(ctx.db, ctx.session));
}

struct ExportableList {
    std::vector<std::string> words;
    SourceMaker make;
};

const std::vector<ExportableList>& ExportableLists() {
    static const std::vector<ExportableList> lists = {
        {{"member", "list"}, MemberListSource},
    };
    return lists;
}

std::vector<std::string> SplitTitles(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) out.push_back(item);
    return out;
}

int RunExport(CliContext& ctx, const ExportOptions& opts, const std::vector<std::string>& rest) {
    const ExportableList* list = nullptr;
    for (const auto& l : ExportableLists()) {
        if (rest.size() >= l.words.size() &&
            std::equal(l.words.begin(), l.words.end(), rest.begin()))
            list = &l;
    }
    if (!list) {
        std::string known;
        for (const auto& l : ExportableLists()) {
            known += known.empty() ? "" : ", ";
            for (std::size_t i = 0; i < l.words.size(); ++i) known += (i ? " " : "") + l.words[i];
        }
        throw std::invalid_argument("내보낼 수 있는 목록이 아닙니다. (" + known + ")");
    }
    ExportFormat format = FormatOfFileName(opts.out);
    if (opts.format == "xls")
        format = ExportFormat::kHtmlXls;
    else if (opts.format == "xlsx")
        format = ExportFormat::kXlsx;
    else if (!opts.format.empty())
        throw std::invalid_argument("--format 은 xls 또는 xlsx 입니다.");

    if (int code = ctx.login(); code != kExitDone) return code;
    const std::vector<std::string> args(rest.begin() + static_cast<long>(list->words.size()),
                                        rest.end());
    auto source = list->make(ctx, args);
    const auto& columns = source->columns();
    std::vector<int> ticked;
    if (opts.columns.empty()) {
        ticked = OfferedColumns("", columns);
    } else {
        std::string unknown;
        const auto byTitle = ColumnsByTitle(SplitTitles(opts.columns), columns, &unknown);
        if (!byTitle) {
            ctx.ui.inform("목록에 없는 항목입니다: " + unknown, kDefaultTitle);
            return int(kExitStopped);
        }
        ticked = *byTitle;
    }
    if (ticked.empty()) {
        ctx.ui.inform(kNothingTickedText, kDefaultTitle);
        return int(kExitStopped);
    }
    const auto chosen =
        PermittedColumns(ticked, columns, MayExportPersonalColumns(ctx.db, ctx.session));
    if (chosen.empty()) {
        ctx.ui.inform(kNothingTickedText, kDefaultTitle);
        return int(kExitStopped);
    }
    const ExportOutcome outcome = ExportToFile(*source, chosen, opts.out, format, ctx.ui);
    if (!outcome.written) return int(kExitFailure);
    std::cout << "rows=" << outcome.rows << std::endl;
    return int(kExitDone);
}

}  // namespace

void RegisterExportCommand(CLI::App& app, CliContext& ctx) {
    auto opts = std::make_shared<ExportOptions>();
    auto* cmd = app.add_subcommand(
        "export",
        "write a list command's rows as an Excel file, e.g. export member list --out "
        "members.xls");
    cmd->allow_extras();
    cmd->add_option("--out", opts->out, "file to write (.xls or .xlsx)")->required();
    cmd->add_option("--columns", opts->columns, "column titles to write, e.g. 고객명,미수금");
    cmd->add_option("--format", opts->format, "xls (HTML page, default) or xlsx (workbook)");
    cmd->callback([&ctx, opts, cmd]() {
        const std::vector<std::string> rest = cmd->remaining();
        ctx.exitCode = ctx.guarded([&ctx, opts, rest]() { return RunExport(ctx, *opts, rest); });
    });
}

}  // namespace qx::cli
