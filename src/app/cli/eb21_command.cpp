#include <CLI/CLI.hpp>
#include <iostream>
#include <set>

#include "app/cli/cli_context.h"
#include "app/cli/eb21_choices.h"
#include "cms/eb21/eb21_creation.h"
#include "cms/eb21/eb21_targets.h"
#include "cms/workspace/head_office_gate.h"
#include "members/program_settings.h"
#include "platform/amount_text.h"
#include "session/menu_catalogue.h"
#include "session/service_web.h"

namespace qx::cli {

namespace {

// The EB21 screen opens from the file menu; listing (which refills the work
// tables) and creating are for the head office only.
bool MayOpenEb21(CliContext& ctx) {
    if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return false;
    const MenuChoice choice = ChooseMenuScreen(ctx.session, 30, 2);
    if (choice.action == MenuAction::kOpen) return true;
    if (!choice.message.empty()) ctx.ui.inform(choice.message, kDefaultTitle);
    return false;
}

template <class E>
E Pick(const std::string& value, const std::vector<std::pair<std::string, E>>& names,
       const char* option) {
    for (const auto& [name, e] : names)
        if (name == value) return e;
    throw std::invalid_argument(std::string("알 수 없는 ") + option + " 값입니다: " + value);
}

}  // namespace

CivilDate Eb21CliFileDate(CliContext& ctx, const std::string& date) {
    if (date.empty()) return Eb21DefaultFileDate(ctx.db, ctx.session);
    const auto parsed = ParseDate(date);
    if (!parsed || date.size() != 10)
        throw std::invalid_argument("날짜를 YYYY-MM-DD 로 입력하십시오: " + date);
    return *parsed;
}

namespace {

// The screen's choices: the amounts as given (both by default), the rest
// from the institution's settings unless given.
Eb21Options Options(CliContext& ctx, const Eb21CliOptions& o) {
    const Eb21Amounts amounts = o.amounts.empty()
                                    ? Eb21Amounts::Both
                                    : Pick<Eb21Amounts>(o.amounts,
                                                        {{"both", Eb21Amounts::Both},
                                                         {"regular", Eb21Amounts::Regular},
                                                         {"unpaid", Eb21Amounts::Unpaid}},
                                                        "--amounts");
    Eb21Options out = Eb21DefaultOptions(LoadProgramSettings(ctx.db, ctx.session).cms_set, amounts);
    if (!o.method.empty()) {
        out.method = Pick<Eb21Method>(o.method,
                                      {{"monthly", Eb21Method::Monthly},
                                       {"item", Eb21Method::Item},
                                       {"sum", Eb21Method::Sum},
                                       {"merge", Eb21Method::MergeBoth},
                                       {"merge-split", Eb21Method::MergeSplit}},
                                      "--method");
        const auto offered = Eb21MethodsFor(amounts);
        if (std::find(offered.begin(), offered.end(), out.method) == offered.end())
            throw std::invalid_argument(std::string(Eb21AmountsCaption(amounts)) + "에는 " +
                                        Eb21MethodCaption(out.method) + "를 쓸 수 없습니다.");
    }
    if (!o.kind.empty()) {
        out.kind = Pick<Eb21Kind>(o.kind,
                                  {{"full", Eb21Kind::Full},
                                   {"partial", Eb21Kind::Partial},
                                   {"unpaid-partial", Eb21Kind::UnpaidPartial}},
                                  "--kind");
        const auto offered = Eb21KindsFor(amounts);
        if (std::find(offered.begin(), offered.end(), out.kind) == offered.end())
            throw std::invalid_argument(std::string(Eb21AmountsCaption(amounts)) + "에는 " +
                                        Eb21KindCaption(out.kind) + "를 쓸 수 없습니다.");
    }
    if (!o.passbook.empty())
        out.passbook = Pick<Eb21Passbook>(o.passbook,
                                          {{"setting", Eb21Passbook::Setting},
                                           {"instalment", Eb21Passbook::Instalment},
                                           {"month", Eb21Passbook::Month}},
                                          "--passbook");
    return out;
}

}  // namespace

std::optional<std::vector<Eb21Row>> Eb21CliRows(CliContext& ctx, const CivilDate& date,
                                                const Eb21CliOptions& o, BillingChannel channel) {
    Eb21Options options = Options(ctx, o);
    options.channel = channel;
    Eb21Search search = SearchEb21Targets(
        ctx.db, ctx.session, ctx.ui, date, options,
        ServiceBillablePreparer(ReadWebHost(*ctx.ini), ctx.session.institution_number, channel));
    if (search.failed) return std::nullopt;
    for (const std::string& e : o.exclude) {
        const auto eq = e.find('=');
        const auto criterion = FindEb21Exclusion(e.substr(0, eq));
        if (!criterion) throw std::invalid_argument("알 수 없는 제외 기준입니다: " + e);
        const std::string value = eq == std::string::npos ? "" : e.substr(eq + 1);
        if (!ApplyEb21Exclusion(search.rows, *criterion, value, date, ctx.ui)) return std::nullopt;
    }
    const std::set<std::string> off(o.deselect.begin(), o.deselect.end());
    for (auto& r : search.rows)
        if (off.count(r.payerNumber) || off.count(std::to_string(r.member_inx))) r.selected = false;
    return search.rows;
}

namespace {

void PrintRows(CliContext& ctx, const std::vector<Eb21Row>& rows, const CivilDate& date) {
    std::vector<std::string> header = {"선택"};
    for (const auto& c : Eb21GridColumns()) header.push_back(c);
    PrintTabRow(header);
    for (const auto& r : rows) {
        std::vector<std::string> cells = {r.selected ? "1" : "0"};
        for (auto& c : Eb21GridCells(r)) cells.push_back(std::move(c));
        PrintTabRow(cells);
    }
    const Eb21Selection sel = SelectedOf(rows);
    const Eb21MonthFigures f = LoadMonthFigures(ctx.db, ctx.session, date);
    std::cout << SelectionText(sel) << "\n월출금한도 : " << FormatAmount(f.limit)
              << " / 금월사용액 : " << FormatAmount(f.used)
              << " / 잔여한도 : " << FormatAmount(f.remaining()) << std::endl;
    if (const long long over = f.excess(sel.amount); over > 0)
        std::cout << "월이체한도 초과 : " << FormatAmount(over) << std::endl;
}

}  // namespace

void AddEb21ChoiceOptions(CLI::App* cmd, Eb21CliOptions& o) {
    cmd->add_option("--date", o.date, "file date YYYY-MM-DD (default: the usual withdrawal day)");
    cmd->add_option("--amounts", o.amounts, "both|regular|unpaid (default: both)");
    cmd->add_option("--method", o.method, "monthly|item|sum|merge|merge-split");
    cmd->add_option("--kind", o.kind, "full|partial|unpaid-partial");
    cmd->add_option("--passbook", o.passbook, "setting|instalment|month");
    cmd->add_option("--exclude", o.exclude, "CRITERION=VALUE, e.g. 출금액(이상)=100000");
}

void RegisterEb21Commands(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("eb21", "EB21 withdrawal requests");
    cmd->require_subcommand(1);
    RegisterEb21FileCommands(*cmd, ctx);
    static Eb21CliOptions o;

    auto* targets = cmd->add_subcommand("targets", "list what is due on the file date");
    AddEb21ChoiceOptions(targets, o);
    targets->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!MayOpenEb21(ctx)) return int(kExitStopped);
            const CivilDate date = Eb21CliFileDate(ctx, o.date);
            const auto rows = Eb21CliRows(ctx, date, o, BillingChannel::Account);
            if (!rows) return int(kExitStopped);
            PrintRows(ctx, *rows, date);
            return int(kExitDone);
        });
    });

    auto* create = cmd->add_subcommand("create", "write the day's EB21 file");
    AddEb21ChoiceOptions(create, o);
    create->add_option("--deselect", o.deselect, "payer numbers left out of the file");
    create->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!MayOpenEb21(ctx)) return int(kExitStopped);
            const CivilDate date = Eb21CliFileDate(ctx, o.date);
            if (!RunAutoSaleFirst(ctx.db, ctx.session, ctx.ui, ReadWebHost(*ctx.ini), date))
                return int(kExitStopped);
            const auto rows = Eb21CliRows(ctx, date, o, BillingChannel::Account);
            if (!rows) return int(kExitStopped);
            Eb21Request request;
            request.fileDate = date;
            request.rows = *rows;
            request.launch.openKftcScreen = [&ctx]() {
                ctx.ui.inform("금결원 파일 송수신 화면은 프로그램 창에서 여십시오.", kDefaultTitle);
            };
            const Eb21Result r = CreateEb21File(ctx.db, ctx.session, ctx.ui, request);
            if (r.outcome != Eb21Outcome::Created) return int(kExitStopped);
            std::cout << "file=" << r.path << "\ncount=" << r.count << "\ntotal=" << r.total
                      << std::endl;
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
