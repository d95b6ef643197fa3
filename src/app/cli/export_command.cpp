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
#include "export/spooled_rows.h"
#include "members/member_list_columns.h"
#include "members/member_record.h"

namespace qx::cli {

namespace {

constexpr const char* kEmptyListText = "엑셀로 저장할 행이 없습니다.";

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

// A list command that only reads. Those without a source of their own run
// as typed, their printed rows taken over by a spool; nothing that writes
// may ever be run this way.
struct ExportableList {
    std::vector<std::string> words;
    std::string title;  // the list's title, for the chooser's rules
    SourceMaker make;
};

const std::vector<ExportableList>& ExportableLists() {
    static const std::vector<ExportableList> lists = {
        {{"member", "list"}, "회원목록", MemberListSource},
        {{"eb13", "targets"}, "신규해지신청대상", nullptr},
        {{"eb13", "files"}, "EB13파일목록", nullptr},
        {{"eb13", "detail"}, "EB13파일상세내역", nullptr},
        {{"eb21", "files"}, "EB21파일목록", nullptr},
        {{"eb21", "detail"}, "EB21파일상세내역", nullptr},
        {{"eb21", "targets"}, "출금대상내역", nullptr},
        {{"ledger", "list"}, "매출수금내역", nullptr},
        {{"sales", "candidates"}, "일괄매출대상", nullptr},
        {{"sales", "runs"}, "일괄매출내역", nullptr},
        {{"sales", "show"}, "일괄매출상세", nullptr},
        {{"collect", "runs"}, "일괄수금내역", nullptr},
        {{"collect", "show"}, "일괄수금상세", nullptr},
        {{"transmit", "results"}, "송신결과", nullptr},
        {{"transmit", "cancellable"}, "송신취소대상", nullptr},
        {{"transmit", "receivable"}, "수신대상", nullptr},
        {{"transmit", "notices"}, "공지사항", nullptr},
        {{"relay", "status"}, "중계송신내역", nullptr},
        {{"sms", "history"}, "보고서_SMS사용내역", nullptr},
        {{"eb11", "list"}, "EB11파일목록", nullptr},
        {{"eb11", "detail"}, "EB11처리내역", nullptr},
        {{"giro", "files"}, "GR15LIST", nullptr},
        {{"giro", "detail"}, "GR15LIST", nullptr},
        {{"bills", "candidates"}, "청구서발행대상", nullptr},
        {{"bills", "batches"}, "청구서발행내역", nullptr},
        {{"bills", "show"}, "청구서상세내역", nullptr},
        {{"report", "channel"}, "보고서_수금파일별", nullptr},
        {{"report", "channel-detail"}, "보고서_수금파일상세", nullptr},
        {{"report", "monthly"}, "보고서_월별", nullptr},
        {{"report", "daily"}, "보고서_일자별", nullptr},
        {{"report", "member"}, "보고서_고객별", nullptr},
        {{"report", "annual"}, "보고서_고객별월현황", nullptr},
        {{"realtime", "history"}, "실시간부가서비스요청내역", nullptr},
        {{"realtime", "list"}, "실시간부가서비스내역", nullptr},
        {{"card", "members", "files"}, "카드회원신청내역", nullptr},
        {{"card", "members", "detail"}, "카드회원신청상세", nullptr},
        {{"card", "pay", "targets"}, "카드출금대상내역", nullptr},
        {{"card", "pay", "files"}, "카드출금신청내역", nullptr},
        {{"card", "pay", "detail"}, "카드출금신청상세", nullptr},
        {{"card", "cancel", "list"}, "카드출금취소대상", nullptr},
    };
    return lists;
}

// Runs the list command as typed with its printed rows spooled. Returns
// the command's exit code.
int RunListIntoSpool(CliContext& ctx, const std::vector<std::string>& words, SpooledRows& spool) {
    if (!ctx.registerCommands) throw std::logic_error("the commands are not registered");
    CLI::App inner{"Quorisdex command line"};
    inner.require_subcommand(1);
    ctx.registerCommands(inner, ctx);
    const RedirectTabRows redirect(
        [&spool](const std::vector<std::string>& cells) { spool.add(cells); });
    // The parser takes its arguments last first.
    std::vector<std::string> args(words.rbegin(), words.rend());
    try {
        inner.parse(args);
    } catch (const CLI::ParseError& e) {
        inner.exit(e);
        return int(kExitStopped);
    }
    return ctx.exitCode;
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

    std::unique_ptr<ExportRowSource> source;
    if (list->make) {
        if (int code = ctx.login(); code != kExitDone) return code;
        const std::vector<std::string> args(rest.begin() + static_cast<long>(list->words.size()),
                                            rest.end());
        source = list->make(ctx, args);
    } else {
        auto spool = std::make_unique<SpooledRows>();
        if (int code = RunListIntoSpool(ctx, rest, *spool); code != kExitDone) return code;
        if (!spool->finish()) {
            ctx.ui.inform(kExportFailedText, kDefaultTitle);
            return int(kExitFailure);
        }
        source = std::move(spool);
    }
    const auto& columns = source->columns();
    // An empty list exports nothing.
    if (columns.empty() || source->rowCount() == 0) {
        ctx.ui.inform(kEmptyListText, kDefaultTitle);
        return int(kExitStopped);
    }
    std::vector<int> ticked;
    if (opts.columns.empty()) {
        ticked = OfferedColumns(list->title, columns);
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
