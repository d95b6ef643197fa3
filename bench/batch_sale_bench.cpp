// A month's batch sale over many members (some with two items, some paying
// by instalments): the client's staging of the run plus the server's
// booking, measured against a floor on the same data: one INSERT … SELECT
// into payadd, one INSERT … SELECT into pay_pross and one UPDATE of the
// members, which is as little as the database can do for the same result.
//   quorisdex-batch-sale-bench HOST:PORT [MEMBERS] [ROUNDS]
#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "core/session_context.h"
#include "db/database.h"
#include "ledger/batch_sales.h"
#include "ledger/server_scripts.h"
#include "member_generator.h"

namespace {

using namespace qx;
using namespace qx::bench;

struct Institution {
    SessionContext session;
    std::string schema;
};

Institution Make(Database& db, long long members) {
    Institution t;
    const BenchInstitution made = CreateBenchInstitution(db, 80000, "salebench", 9700000000LL);
    t.schema = made.schema;
    bench::MemberMix mix;
    mix.registered = members;
    bench::GenerateMembers(db, t.schema, mix);
    // Every member has an item; every fifth a second one; every tenth pays an
    // instalment of 100,000 of which part is collected.
    db.ExecuteSql("insert into " + t.schema +
                  ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) select "
                  "member_inx, '회비', pay_monthdefault, 1, pay_monthdefault from " +
                  t.schema + ".member_user");
    db.ExecuteSql("insert into " + t.schema +
                  ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) select "
                  "member_inx, '교재', 3000, 1, 3000 from " +
                  t.schema + ".member_user where member_inx % 5 = 0 and member_inx % 10 <> 0");
    db.ExecuteSql("update " + t.schema +
                  ".member_user set account_divide='3', pay_agreement=100000, "
                  "pay_prossagreement=(member_inx % 7) * 15000 where member_inx % 10 = 0");
    t.session = BenchSession(made);
    db.setLogSchema(t.schema);
    return t;
}

void Reset(Database& db, const Institution& t) {
    db.ExecuteSql("delete from " + t.schema + ".pay_pross");
    db.ExecuteSql("delete from " + t.schema + ".payadd");
    db.ExecuteSql("update " + t.schema +
                  ".member_user set pay_nonpayment=0, total_prosspay=0, total_payment=0");
}

double Floor(Database& db, const Institution& t) {
    const std::string s = t.schema;
    const std::string left =
        "(member_user.pay_agreement-member_user.pay_nonpayment)-member_user.pay_prossagreement";
    const auto start = Clock::now();
    Database::Transaction tx(db);
    db.ExecuteSql("insert into " + s +
                  ".payadd (add_usrnum, create_date, add_runkey, add_startdate, "
                  "add_accountdivide, add_monthdefault, add_nonpayment, add_agreement, "
                  "add_prossagreement, add_create, item_name, item_stan, item_cnt, add_err, "
                  "add_errcode) select member_user.member_inx, '26-03-25', 1, "
                  "member_user.start_date, member_user.account_divide, if(member_user."
                  "account_divide='3' and " +
                  left + "<ui.ui_payment," + left +
                  ",ui.ui_payment), member_user.pay_nonpayment, member_user.pay_agreement, "
                  "member_user.pay_prossagreement, unix_timestamp(sysdate()), ui.ui_name, "
                  "ui.ui_stan, ui.ui_cnt, '', '0' from " +
                  s + ".member_user member_user join " + s +
                  ".user_item ui on ui.ui_perinx=member_user.member_inx where "
                  "member_user.remove='1'");
    db.ExecuteSql("insert into " + s +
                  ".pay_pross (userlink_inx, input_pay, pros_nonpayment, paystat, settle_code, "
                  "signdate, memo, regdate, item_name, addmuskey, addkey) select a.add_usrnum, "
                  "a.add_monthdefault, a.add_nonpayment+a.add_monthdefault, '0', '1', "
                  "'26-03-25', '26년 03월 일괄매출', unix_timestamp(sysdate()), a.item_name, 1, "
                  "a.payadd_inx from " +
                  s + ".payadd a where a.add_runkey=1");
    db.ExecuteSql("update " + s +
                  ".member_user m join (select add_usrnum, sum(add_monthdefault) "
                  "amount from " +
                  s +
                  ".payadd where add_runkey=1 group by add_usrnum) run on "
                  "m.member_inx=run.add_usrnum set m.pay_nonpayment=m.pay_nonpayment+run.amount, "
                  "m.total_prosspay=m.total_prosspay+run.amount");
    tx.commit();
    return Seconds(start);
}

struct SaleRun {
    double stage = 0, book = 0;
    long long rows = 0, booked = 0;
    long long peakKib = 0;
};

SaleRun Run(Database& db, const Institution& t) {
    SaleRun run;
    std::ofstream("/proc/self/clear_refs") << "5";
    ResetPeak();
    const long long before = StatusKib("VmRSS");
    auto start = Clock::now();
    SqlParams params;
    const std::string where = SaleCandidateWhere(t.session, {}, params);
    const StagedRun staged = StageSaleRun(db, t.session, where, params, "26-03-25");
    run.stage = Seconds(start);
    start = Clock::now();
    run.booked = BookSaleRun(db, t.session.institution_number, staged.run_key, "26-03-25");
    run.book = Seconds(start);
    run.rows = staged.rows;
    run.peakKib = std::max(0LL, StatusKib("VmHWM") - before);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-batch-sale-bench HOST:PORT [MEMBERS] [ROUNDS]", 100000,
        [](Database& db, const BenchArgs& args) {
            const long long members = args.size;
            const int rounds = args.rounds;
            db.ExecuteSql("SET timestamp = UNIX_TIMESTAMP('2026-03-10 10:00:00')");

            // A small institution first: the run's memory must not grow with N.
            Institution small = Make(db, members / 10);
            Reset(db, small);
            const SaleRun smallRun = Run(db, small);

            Institution t = Make(db, members);
            std::vector<double> floors, runs;
            SaleRun last;
            for (int i = 0; i < rounds; ++i) {
                Reset(db, t);
                floors.push_back(Floor(db, t));
                Reset(db, t);
                last = Run(db, t);
                runs.push_back(last.stage + last.book);
            }
            const double floor = Median(floors), run = Median(runs);
            std::cout << fmt::format(
                "Batch sale of {} members ({} rows, {} booked), median of {} rounds\n"
                "  floor (2 INSERT…SELECT + UPDATE)     {:8.3f} s\n"
                "  run (staging {:.3f} s + booking {:.3f} s) {:8.3f} s   ratio {:.2f}\n"
                "  peak memory of the run: {} KiB for {} members, {} KiB for {} members\n",
                members, last.rows, last.booked, rounds, floor, last.stage, last.book, run,
                run / floor, smallRun.peakKib, members / 10, last.peakKib, members);
            return 0;
        });
}
