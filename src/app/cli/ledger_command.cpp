// ledger / sales / collect / remove: the member card's ledger panel, batch
// sales, batch collections with their history and cancellation, and the
// bulk removals, with the screens' checks and texts. Server-backed steps
// need SYSTEM/WEBHOST like the screens.
#include <CLI/CLI.hpp>
#include <iostream>
#include <stdexcept>

#include "app/cli/cli_context.h"
#include "ledger/batch_collection.h"
#include "ledger/batch_runs.h"
#include "ledger/batch_sales.h"
#include "ledger/bulk_removal.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_rules.h"
#include "session/service_web.h"

namespace qx::cli {

namespace {

struct LedgerOptions {
    long long number = 0;
    bool sale = false, collection = false, unbilled = false;
    std::string amount, date, item, memo, day = "all", from, to, filter = "all", mode, title;
    std::vector<std::string> where;
};

int Result(bool done) {
    return done ? static_cast<int>(kExitDone) : static_cast<int>(kExitStopped);
}

BatchFilter ParseWhere(const std::vector<std::string>& where) {
    BatchFilter filter;
    for (const auto& w : where) {
        auto [column, value] = SplitAssignment(w);
        SetBatchFilter(filter, column, value);
    }
    return filter;
}

SaleQuery ParseSaleQuery(const LedgerOptions& o) {
    SaleQuery q;
    q.filter = ParseWhere(o.where);
    q.unbilledOnly = o.unbilled;
    if (o.day != "all") {
        if (o.day.empty() || o.day.size() > 2 ||
            o.day.find_first_not_of("0123456789") != std::string::npos || std::stoi(o.day) < 1 ||
            std::stoi(o.day) > 31) {
            throw std::invalid_argument("이체예정일은 1~31 또는 all 입니다: " + o.day);
        }
        q.day = std::to_string(std::stoi(o.day));
    }
    return q;
}

// A typed date for a range; `fallback` when none was given.
std::string RangeDate(const std::string& typed, const std::string& fallback) {
    if (typed.empty()) return fallback;
    const auto date = LedgerDate(typed);
    if (!date) throw std::invalid_argument(std::string(kDateInvalidText) + ": " + typed);
    return *date;
}

RunRowFilter ParseRowFilter(const std::string& text) {
    if (text == "all") return RunRowFilter::kAll;
    if (text == "ok") return RunRowFilter::kOk;
    if (text == "refused") return RunRowFilter::kRefused;
    throw std::invalid_argument("--filter 는 all, ok, refused 입니다: " + text);
}

std::string WebHost(CliContext& ctx) {
    return ReadWebHost(*ctx.ini);
}

void PrintRuns(const std::vector<RunSummary>& runs, RunKind kind) {
    const bool sale = kind == RunKind::kSale;
    PrintTabRow({"번호", sale ? "매출일자" : "수금일자", sale ? "정상매출" : "정상수금",
                 sale ? "불능매출" : "불능수금", sale ? "일괄매출액" : "일괄수금액", "회원수",
                 "의뢰건수", "정상건수", "불능건수"});
    for (const auto& r : runs) {
        PrintTabRow({std::to_string(r.run_key), r.date, std::to_string(r.ok_amount),
                     std::to_string(r.refused_amount), std::to_string(r.total_amount),
                     std::to_string(r.members), std::to_string(r.requests),
                     std::to_string(r.ok_count), std::to_string(r.refused_count)});
    }
    std::cout << runs.size() << " 건" << std::endl;
}

void PrintDetail(const std::vector<RunDetailRow>& rows, RunKind kind) {
    const bool sale = kind == RunKind::kSale;
    PrintTabRow({sale ? "매출일자" : "수금일자", "납부자번호", "외부참조키", "상호", "고객명",
                 "요청금액", "정상금액", "불능금액", "처리결과"});
    for (const auto& r : rows) {
        PrintTabRow({r.date, r.payer_number, r.ext_key, r.client_company, r.username,
                     std::to_string(r.requested), std::to_string(r.ok_amount),
                     std::to_string(r.refused_amount), r.result});
    }
    std::cout << rows.size() << " 건" << std::endl;
}

// runs / show / cancel, the same for sales and collections.
void RegisterRunCommands(CLI::App* parent, CliContext& ctx, std::shared_ptr<LedgerOptions> o,
                         RunKind kind) {
    auto* runs = parent->add_subcommand("runs", "the history of runs");
    runs->add_option("--from", o->from, "first date YYYY-MM-DD");
    runs->add_option("--to", o->to, "last date YYYY-MM-DD");
    runs->callback([&ctx, o, kind]() {
        ctx.exitCode = ctx.guarded([&ctx, o, kind]() {
            const std::string from = RangeDate(o->from, "00-01-01");
            const std::string to = RangeDate(o->to, "99-12-31");
            if (int code = ctx.login(); code != kExitDone) return code;
            PrintRuns(ListRuns(ctx.db, ctx.session, kind, from, to), kind);
            return static_cast<int>(kExitDone);
        });
    });

    auto* show = parent->add_subcommand("show", "the rows of one run");
    show->add_option("runkey", o->number, "run key")->required();
    show->add_option("--filter", o->filter, "all, ok or refused");
    show->callback([&ctx, o, kind]() {
        ctx.exitCode = ctx.guarded([&ctx, o, kind]() {
            const RunRowFilter filter = ParseRowFilter(o->filter);
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto rows = RunDetail(ctx.db, ctx.session, kind, o->number, filter);
            if (rows.empty() && filter == RunRowFilter::kAll) {
                ctx.ui.inform(kRunMissingText, kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            PrintDetail(rows, kind);
            return static_cast<int>(kExitDone);
        });
    });

    auto* cancel = parent->add_subcommand("cancel", "cancel a run");
    cancel->add_option("runkey", o->number, "run key")->required();
    cancel->callback([&ctx, o, kind]() {
        ctx.exitCode = ctx.guarded([&ctx, o, kind]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            return Result(CancelRun(ctx.db, ctx.session, ctx.ui, WebHost(ctx), kind, o->number));
        });
    });
}

void RegisterLedger(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<LedgerOptions>();
    auto* ledger = app.add_subcommand("ledger", "one member's ledger: list, add, cancel");
    ledger->require_subcommand(1);

    auto* list = ledger->add_subcommand("list", "the member's ledger rows, newest first");
    list->add_option("number", o->number, "payer number")->required();
    list->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            std::vector<LedgerRow> rows;
            try {
                rows = ListLedger(ctx.db, ctx.session, o->number);
            } catch (const LedgerRefused& refused) {
                ctx.ui.inform(refused.what(), kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            PrintTabRow({"원장번호", "일자", "구분", "금액", "미수금", "수금방식", "품목", "메모",
                         "일괄번호"});
            for (const auto& r : rows) {
                PrintTabRow({std::to_string(r.pay_inx), r.signdate,
                             r.paystat == "0" ? "매출" : "수금", std::to_string(r.amount),
                             std::to_string(r.pros_nonpayment), r.settle_title, r.item_name, r.memo,
                             std::to_string(r.addmuskey)});
            }
            std::cout << rows.size() << " 건" << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* add = ledger->add_subcommand("add", "book a sale or a collection");
    add->add_option("number", o->number, "payer number")->required();
    auto* sale = add->add_flag("--sale", o->sale, "a sale");
    add->add_flag("--collection", o->collection, "a collection")->excludes(sale);
    add->add_option("--amount", o->amount, "amount in won")->required();
    add->add_option("--date", o->date, "YYYY-MM-DD (default: the server's date)");
    add->add_option("--item", o->item, "item name");
    add->add_option("--memo", o->memo, "remark");
    add->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (o->sale == o->collection) {
                throw std::invalid_argument("--sale 또는 --collection 을 지정하십시오.");
            }
            if (int code = ctx.login(); code != kExitDone) return code;
            const auto row = AddLedgerEntry(ctx.db, ctx.session, ctx.ui, o->number,
                                            o->sale ? LedgerKind::kSale : LedgerKind::kCollection,
                                            o->amount, o->date, o->item, o->memo);
            if (!row) return static_cast<int>(kExitStopped);
            std::cout << "pay_inx=" << *row << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* cancel = ledger->add_subcommand("cancel", "cancel one ledger row");
    cancel->add_option("pay_inx", o->number, "ledger row number")->required();
    cancel->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            return Result(CancelLedgerEntry(ctx.db, ctx.session, ctx.ui, o->number));
        });
    });
}

void RegisterSales(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<LedgerOptions>();
    auto* sales = app.add_subcommand("sales", "batch sales: candidates, run, runs, show, cancel");
    sales->require_subcommand(1);
    auto addQuery = [o](CLI::App* cmd) {
        cmd->add_option("--day", o->day, "transfer day 1-31 or all");
        cmd->add_flag("--unbilled", o->unbilled, "only members without sales this month");
        cmd->add_option("--where", o->where, "COLUMN=VALUE filter (repeatable)");
    };

    auto* candidates = sales->add_subcommand("candidates", "members due for the batch sale");
    addQuery(candidates);
    candidates->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            const SaleQuery q = ParseSaleQuery(*o);
            if (int code = ctx.login(); code != kExitDone) return code;
            const SaleCandidates list = ListSaleCandidates(ctx.db, ctx.session, q);
            PrintTabRow({"납부자번호", "고객명", "상호", "매출구분", "매출예정일", "매출예정액",
                         "미수금", "당월매출"});
            for (const auto& r : list.rows) {
                PrintTabRow({r.payer_number, r.username, r.client_company, r.account_divide,
                             r.payday, std::to_string(r.expected), std::to_string(r.pay_nonpayment),
                             r.billed_this_month ? "Y" : "N"});
            }
            std::cout << list.rows.size() << " 건\n"
                      << "매출예정액\t" << list.expected_total << "\n"
                      << "당월 미발생 매출예정액\t" << list.expected_unbilled << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* run = sales->add_subcommand("run", "book the batch sale");
    run->add_option("--date", o->date, "YYYY-MM-DD")->required();
    addQuery(run);
    run->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            const SaleQuery q = ParseSaleQuery(*o);
            if (int code = ctx.login(); code != kExitDone) return code;
            const SaleCandidates list = ListSaleCandidates(ctx.db, ctx.session, q);
            const SaleRunResult r =
                RunBatchSale(ctx.db, ctx.session, ctx.ui, WebHost(ctx), q, &list, o->date);
            if (r.run_key > 0) std::cout << "runkey=" << r.run_key << std::endl;
            return Result(r.done);
        });
    });
    RegisterRunCommands(sales, ctx, o, RunKind::kSale);
}

void RegisterCollect(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<LedgerOptions>();
    auto* collect = app.add_subcommand("collect", "batch collections: run, runs, show, cancel");
    collect->require_subcommand(1);
    auto* run = collect->add_subcommand("run", "book the batch collection");
    run->add_option("--mode", o->mode, "outstanding or expected")->required();
    run->add_option("--date", o->date, "YYYY-MM-DD")->required();
    run->add_option("--item", o->item, "item name")->required();
    run->add_option("--title", o->title, "collection title of methods 10 and above");
    run->add_option("--where", o->where, "COLUMN=VALUE filter (repeatable)");
    run->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            if (o->mode != "outstanding" && o->mode != "expected") {
                throw std::invalid_argument("--mode 는 outstanding 또는 expected 입니다: " +
                                            o->mode);
            }
            const BatchFilter filter = ParseWhere(o->where);
            if (int code = ctx.login(); code != kExitDone) return code;
            const CollectionRunResult r = RunBatchCollection(
                ctx.db, ctx.session, ctx.ui, filter,
                o->mode == "outstanding" ? CollectionMode::kOutstanding : CollectionMode::kExpected,
                true, o->date, o->item, o->title);
            if (r.run_key > 0) std::cout << "runkey=" << r.run_key << std::endl;
            return Result(r.done);
        });
    });
    RegisterRunCommands(collect, ctx, o, RunKind::kCollection);
}

void RegisterRemove(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<LedgerOptions>();
    auto* remove = app.add_subcommand("remove", "bulk removal: outstanding, expected");
    remove->require_subcommand(1);
    for (const bool outstanding : {true, false}) {
        auto* cmd = remove->add_subcommand(
            outstanding ? "outstanding" : "expected",
            outstanding ? "clear the outstanding amounts" : "set the expected amounts to 0");
        cmd->add_option("--where", o->where, "COLUMN=VALUE filter (repeatable)");
        cmd->callback([&ctx, o, outstanding]() {
            ctx.exitCode = ctx.guarded([&ctx, o, outstanding]() {
                const BatchFilter filter = ParseWhere(o->where);
                if (int code = ctx.login(); code != kExitDone) return code;
                const long long n = outstanding
                                        ? RemoveOutstanding(ctx.db, ctx.session, ctx.ui, filter)
                                        : RemoveExpected(ctx.db, ctx.session, ctx.ui, filter);
                if (n < 0) return static_cast<int>(kExitStopped);
                std::cout << n << " 건" << std::endl;
                return static_cast<int>(kExitDone);
            });
        });
    }
}

}  // namespace

void RegisterLedgerCommands(CLI::App& app, CliContext& ctx) {
    RegisterLedger(app, ctx);
    RegisterSales(app, ctx);
    RegisterCollect(app, ctx);
    RegisterRemove(app, ctx);
}

}  // namespace qx::cli
