// Collection reports: per file and channel, per month or day, per member
// and a member's year, each printed tab-separated and, with --print, laid
// out as a PDF through the print program.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "app/cli/cli_context.h"
#include "reports/channel_report.h"
#include "reports/ledger_report.h"
#include "reports/print_list.h"
#include "session/service_web.h"

namespace qx::cli {

namespace {

struct ReportOptions {
    std::string from, to, branch, agency, manager, kind, by, method, year, file, show, print;
    ReportFilter filter() const { return {branch, agency, manager}; }
};

void AddFilterOptions(CLI::App* cmd, ReportOptions& o) {
    cmd->add_option("--branch", o.branch, "branch number or name");
    cmd->add_option("--agency", o.agency, "agency number or name (없음: none)");
    cmd->add_option("--manager", o.manager, "manager (없음: none)");
    cmd->add_option("--print", o.print, "also write the report as this PDF");
}

// Prints the table; with --print also lays it out. An empty table is not
// printed: the message says so and nothing is written.
int Show(CliContext& ctx, const ReportOptions& o, const std::string& title,
         const std::string& criteria, PrintLayout layout, const std::string& section,
         const ReportTable& table) {
    PrintTabRow(ColumnCaptions(table.columns));
    for (const auto& row : table.rows) PrintTabRow(row);
    std::cout << table.rows.size() << " 건" << std::endl;
    if (o.print.empty()) return kExitDone;
    const PrintList list{title, criteria, {{section, table}}};
    if (IsEmpty(list)) {
        ctx.ui.inform(kNothingToPrintText, kNothingToPrintTitle);
        return kExitStopped;
    }
    const std::filesystem::path pdf = std::filesystem::absolute(o.print);
    const auto written = PrintReport(pdf.parent_path(), layout, list, pdf, false);
    std::cout << "인쇄: " << written.string() << std::endl;
    return kExitDone;
}

// Runs `body` after the login, its bad input reported like every other.
void Run(CLI::App* cmd, CliContext& ctx, std::function<int()> body) {
    cmd->callback([&ctx, body]() {
        ctx.exitCode = ctx.guarded([&ctx, &body]() {
            if (const int code = ctx.login(); code != kExitDone) return code;
            return body();
        });
    });
}

}  // namespace

void RegisterReportCommands(CLI::App& app, CliContext& ctx) {
    auto* report = app.add_subcommand("report", "collection reports");
    report->require_subcommand(1);

    static ReportOptions ch;
    auto* channel =
        report->add_subcommand("channel", "per collection file: requested, withdrawn, fees");
    channel->add_option("--from", ch.from, "first file day YYYY-MM-DD")->required();
    channel->add_option("--to", ch.to, "last file day YYYY-MM-DD")->required();
    channel->add_option("--kind", ch.kind, "cms, card or virtual (default cms)");
    AddFilterOptions(channel, ch);
    Run(channel, ctx, [&ctx]() {
        const ReportPeriod p = CheckedPeriod(ch.from, ch.to);
        const auto table =
            ChannelReport(ctx.db, ctx.session, ParseChannelKind(ch.kind), p, ch.filter());
        return Show(ctx, ch, kChannelReportTitle, CriteriaLine(ch.from, ch.to, ch.filter()),
                    PrintLayout::kChannel, "수금파일별", table);
    });

    static ReportOptions cd;
    auto* detail = report->add_subcommand("channel-detail", "the items of one applied file");
    detail->add_option("FILE", cd.file, "EB21yymmdd or CPAYyymmdd")->required();
    detail->add_option("--show", cd.show, "all, ok or failed (default all)");
    AddFilterOptions(detail, cd);
    Run(detail, ctx, [&ctx]() {
        DetailShow show = DetailShow::kAll;
        if (cd.show == "ok")
            show = DetailShow::kWithdrawn;
        else if (cd.show == "failed")
            show = DetailShow::kFailed;
        else if (!cd.show.empty() && cd.show != "all")
            throw std::invalid_argument("--show 는 all, ok 또는 failed 입니다.");
        const auto table = ChannelFileDetail(ctx.db, ctx.session, cd.file, show, cd.filter());
        return Show(ctx, cd, kChannelDetailTitle, CriteriaLine(cd.file, cd.file, cd.filter()),
                    PrintLayout::kChannelDetail, "[" + cd.file + "] 상세내역", table);
    });

    static ReportOptions mo, da;
    struct Period {
        const char* name;
        ReportOptions* o;
        bool monthly;
    };
    for (const Period& period : {Period{"monthly", &mo, true}, Period{"daily", &da, false}}) {
        const char* name = period.name;
        ReportOptions* o = period.o;
        const bool monthly = period.monthly;
        auto* cmd = report->add_subcommand(
            name, monthly ? "sales and collections per month" : "sales and collections per day");
        cmd->add_option("--from", o->from, monthly ? "first month YYYY-MM" : "first day YYYY-MM-DD")
            ->required();
        cmd->add_option("--to", o->to, monthly ? "last month YYYY-MM" : "last day YYYY-MM-DD")
            ->required();
        cmd->add_option("--by", o->by, "method (default), manager, agency or branch");
        cmd->add_option("--method", o->method, "one collection method code");
        cmd->add_option("--detail", o->file,
                        monthly ? "the members of month YYYY-MM" : "the members of day YYYY-MM-DD");
        AddFilterOptions(cmd, *o);
        Run(cmd, ctx, [&ctx, o, monthly]() {
            LedgerQuery q;
            q.monthly = monthly;
            q.period = monthly ? CheckedMonths(o->from, o->to) : CheckedPeriod(o->from, o->to);
            q.grouping = ParseLedgerGrouping(o->by);
            q.settleCode = o->method;
            q.filter = o->filter();
            const std::string title = monthly ? kMonthlyReportTitle : kDailyReportTitle;
            const std::string criteria = CriteriaLine(o->from, o->to, o->filter());
            const PrintLayout layout = monthly ? PrintLayout::kMonthly : PrintLayout::kDaily;
            if (!o->file.empty()) {
                const auto key = monthly ? ParseReportMonth(o->file) : ParseDate(o->file);
                if (!key) throw std::invalid_argument("--detail 이 잘못 되었습니다: " + o->file);
                const std::string k = FormatShortDate(*key).substr(0, monthly ? 5 : 8);
                return Show(ctx, *o, title, criteria, layout, "[" + k + "] 고객별 내역",
                            LedgerPeriodDetail(ctx.db, ctx.session, q, k));
            }
            return Show(ctx, *o, title, criteria, layout, "합계",
                        LedgerSummary(ctx.db, ctx.session, q));
        });
    }

    static ReportOptions me;
    auto* member = report->add_subcommand("member", "sales and collections per member");
    member->add_option("--from", me.from, "first day YYYY-MM-DD")->required();
    member->add_option("--to", me.to, "last day YYYY-MM-DD")->required();
    AddFilterOptions(member, me);
    Run(member, ctx, [&ctx]() {
        const ReportPeriod p = CheckedPeriod(me.from, me.to);
        return Show(ctx, me, kMemberReportTitle, CriteriaLine(me.from, me.to, me.filter()),
                    PrintLayout::kMember, "매출/수금 정보",
                    MemberReport(ctx.db, ctx.session, p, me.filter()));
    });

    static ReportOptions an;
    auto* annual = report->add_subcommand("annual", "each member's twelve months of one year");
    annual->add_option("--year", an.year, "YYYY")->required();
    AddFilterOptions(annual, an);
    Run(annual, ctx, [&ctx]() {
        const int year = CheckedYear(an.year);
        const auto table = AnnualReport(ctx.db, ctx.session, year, an.filter(),
                                        ServiceWebMonthdivRequest(ReadWebHost(*ctx.ini)));
        return Show(ctx, an, kAnnualReportTitle,
                    CriteriaLine(an.year + "-01", an.year + "-12", an.filter()),
                    PrintLayout::kAnnual, "매출/수금 정보", table);
    });
}

}  // namespace qx::cli
