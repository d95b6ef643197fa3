// The monthly report over a large ledger, measured against the floor of
// the same GROUP BY run bare on the same data in the same run.
//   quorisdex-report-bench HOST:PORT [LEDGER_ROWS] [ROUNDS]
#include <fmt/format.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "core/session_context.h"
#include "db/database.h"
#include "member_generator.h"
#include "reports/ledger_report.h"

namespace {

using namespace qx;
using namespace qx::bench;

struct Institution {
    long long inx = 0;
    SessionContext session;
    std::string schema;
};

// Members in the proportions of a grown institution (one per 20 ledger
// rows) and a year of sales and collections spread over them.
Institution Make(Database& db, long long rows) {
    Institution t;
    const BenchInstitution made = CreateBenchInstitution(db, 82000, "bench", 9800000000LL);
    t.inx = made.inx;
    t.schema = made.schema;
    GenerateMembers(db, t.schema, TypicalMix(std::max(1000LL, rows / 20)));
    const long long members = db.scalarInt("select count(*) from " + t.schema + ".member_user");
    const long long first =
        db.scalarInt("select min(member_inx) from " + t.schema + ".member_user");
    // Sales, collections by the own method and substitute ones, over 2026.
    for (long long done = 0; done < rows; done += 200000) {
        const long long n = std::min<long long>(200000, rows - done);
        db.ExecuteSql(
            "insert into " + t.schema +
            ".pay_pross (userlink_inx, input_pay, paystat, settle_code, settle_title, signdate) "
            "select " +
            std::to_string(first) + " + (seq * 7919) % " + std::to_string(members) +
            ", 1000 + seq % 50 * 1000, if(seq % 2 = 0, '0', '1'), if(seq % 5 = 0, '2', '1'), "
            "case when seq % 2 = 0 then 'CMS출금' when seq % 9 = 1 then '대체수금' else 'CMS' "
            "end, concat('26-', lpad(1 + seq % 12, 2, '0'), '-', lpad(1 + seq % 28, 2, '0')) "
            "from seq_" +
            std::to_string(done + 1) + "_to_" + std::to_string(done + n));
    }
    SessionContext& s = t.session;
    s = BenchSession(made);
    db.setLogSchema(t.schema);
    return t;
}

double Report(Database& db, const Institution& t, std::size_t& rowsOut) {
    LedgerQuery q;
    q.period = {{2026, 1, 1}, {2026, 12, 1}};
    const auto start = Clock::now();
    rowsOut = LedgerSummary(db, t.session, q).rows.size();
    return Seconds(start);
}

// The same sums grouped the same way, nothing else.
double Floor(Database& db, const Institution& t) {
    const auto start = Clock::now();
    db.OpenRecordset(
        "select mid(p.signdate,1,5) k, p.settle_code, sum(if(p.paystat='0',p.input_pay,0)), "
        "sum(if(p.paystat='1' and p.settle_title<>'대체수금',p.input_pay,0)), "
        "sum(if(p.paystat='1' and p.settle_title='대체수금',p.input_pay,0)), "
        "sum(if(p.paystat='1',p.input_pay,0)) from " +
        t.schema + ".pay_pross p join " + t.schema +
        ".member_user m on p.userlink_inx=m.member_inx where p.signdate between '26-01-01' and "
        "'26-12-99' and m.remove<>'4' group by k, p.settle_code");
    return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-report-bench HOST:PORT [LEDGER_ROWS] [ROUNDS]", 1000000,
        [](Database& db, const BenchArgs& args) {
            const long long rows = args.size;
            const int rounds = args.rounds;
            const auto made = Clock::now();
            const Institution t = Make(db, rows);
            const double generated = Seconds(made);
            std::vector<double> floors, reports;
            std::size_t shown = 0;
            for (int i = 0; i < rounds; ++i) {
                floors.push_back(Floor(db, t));
                reports.push_back(Report(db, t, shown));
            }
            const double floor = Median(floors), report = Median(reports);
            std::cout << fmt::format(
                "Monthly report, {} ledger rows (generated in {:.1f} s), {} grid rows, median of "
                "{} "
                "rounds\n"
                "  floor (the bare GROUP BY)                    {:8.3f} s\n"
                "  report (filters, method titles, formatting)  {:8.3f} s   ratio {:.2f}\n",
                rows, generated, shown, rounds, floor, report, report / floor);
            return 0;
        });
}
