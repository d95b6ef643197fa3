// EB21 creation for many members, measured against a floor on the same data:
// one INSERT … SELECT of the same file_ea21 rows and one UPDATE of the
// members. The search before it (the server's preparation and the grid) is
// reported apart.
//   quorisdex-eb21-bench HOST:PORT [MEMBERS] [ROUNDS]
#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "cms/eb21/eb21_creation.h"
#include "cms/eb21/eb21_preparation.h"
#include "cms/eb21/eb21_targets.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "ledger/server_scripts.h"
#include "member_generator.h"
#include "platform/interaction.h"

namespace {

using namespace qx;
using namespace qx::bench;

const CivilDate kFileDate{2026, 3, 16};

class Quiet : public Interaction {
  public:
    void inform(const std::string& text, const std::string&) override { last = text; }
    bool confirm(const std::string& text, const std::string&) override {
        last = text;
        // Yes to creating, no to everything after it.
        return text.find("진행하시겠습니까?") != std::string::npos;
    }
    std::string last;
};

struct Institution {
    long long inx;
    SessionContext session;
    std::string schema;
};

Institution Make(Database& db, long long members, const std::string& drive) {
    Institution t;
    const BenchInstitution made = CreateBenchInstitution(db, 80000, "bench", 9800000000LL);
    t.inx = made.inx;
    db.ExecuteSql(
        "update quorisdex.admin_company set monthdivide='Y', month_out_limit=0x7fffffffffff, "
        "account_title='측정기관회비' where inx=?",
        {t.inx});
    t.schema = made.schema;
    MemberMix mix;
    mix.registered = members;
    mix.cardPayers = members / 10;
    GenerateMembers(db, t.schema, mix);
    // Every registered member owes last month's and this month's sale.
    for (const char* day : {"26-02-10", "26-03-10"}) {
        db.ExecuteSql("insert into " + t.schema +
                      ".pay_pross (userlink_inx,input_pay,paystat,signdate) select member_inx,"
                      "10000+member_inx%7*1000,'0','" +
                      day + "' from " + t.schema +
                      ".member_user where settle_accounts='1' and cms_status='3'");
    }
    db.ExecuteSql("update " + t.schema +
                  ".member_user m set pay_nonpayment=(select sum(input_pay) "
                  "from " +
                  t.schema +
                  ".pay_pross p where p.userlink_inx=m.member_inx) where "
                  "settle_accounts='1' and cms_status='3'");
    SessionContext& s = t.session;
    s = CmsBenchSession(made, drive);
    s.month_divide_switch = true;
    db.setLogSchema(t.schema);
    BuildCodeCaseSql(db, s);
    return t;
}

void Reset(Database& db, const Institution& t) {
    db.ExecuteSql("delete from " + t.schema + ".file_ea21");
    db.ExecuteSql("delete from " + t.schema + ".ea21");
    db.ExecuteSql("update " + t.schema + ".member_user set cms_status='3' where cms_status='6'");
}

// The same rows and member updates as the monthly method over newpay.
double Floor(Database& db, const Institution& t) {
    const auto start = Clock::now();
    Database::Transaction tx(db);
    db.ExecuteSql(
        "insert into " + t.schema +
        ".file_ea21 (seq_num,reg_date,bank_code,account_no,amount,id_no,title,user_no,"
        "amount_kind,oldcms_status,cash_rcpt_info) select row_number() over (order by n.userinx "
        "desc,n.addcount), '260316', concat(left(m.bank_code,3),'0000'), m.account_no, n.amount, "
        "if(char_length(m.account_jumin)<=10,m.account_jumin,left(m.account_jumin,6)), "
        "'측정기관회비', n.userinx, '1', m.cms_status, '' from (select userinx,sum(firstpay) "
        "amount,max(addcount) addcount from " +
        t.schema + ".newpay group by userinx,mid(rep_day,1,5)) n join " + t.schema +
        ".member_user m on m.member_inx=n.userinx");
    db.ExecuteSql("update " + t.schema +
                  ".member_user set cms_status=6 where member_inx in "
                  "(select userinx from " +
                  t.schema + ".newpay)");
    tx.commit();
    return Seconds(start);
}

struct Run {
    double prepare = 0, grid = 0, create = 0;
    long long rows = 0, extraKib = 0;
};

Run Create(Database& db, Institution& t) {
    Run run;
    Quiet ui;
    const BillablePreparer prepare = [&](const std::string& nuday, const std::string& month) {
        const auto start = Clock::now();
        PrepareBillableItems(db, t.inx, nuday, month);
        run.prepare = Seconds(start);
        return std::string(kScriptDoneReply);
    };
    const auto start = Clock::now();
    Eb21Request request;
    request.fileDate = kFileDate;
    request.rows = SearchEb21Targets(db, t.session, ui, kFileDate, {}, prepare).rows;
    run.grid = Seconds(start) - run.prepare;
    run.rows = static_cast<long long>(request.rows.size());
    StepCost cost;
    const Eb21Result r =
        MeasureStep(cost, [&] { return CreateEb21File(db, t.session, ui, request); });
    run.create = cost.seconds;
    run.extraKib = cost.extraKib;
    if (r.outcome != Eb21Outcome::Created) throw std::runtime_error("creation refused: " + ui.last);
    std::filesystem::remove(r.path);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-eb21-bench HOST:PORT [MEMBERS] [ROUNDS]", 100000,
        [](Database& db, const BenchArgs& args) {
            const long long members = args.size;
            const int rounds = args.rounds;
            const std::string drive = BenchFolder("qx-eb21-bench");
            db.ExecuteSql("SET timestamp = UNIX_TIMESTAMP('2026-03-13 10:00:00')");

            // A small institution first: the creation's memory must not grow with N.
            Institution small = Make(db, members / 10, drive);
            Reset(db, small);
            const Run smallRun = Create(db, small);

            Institution t = Make(db, members, drive);
            std::vector<double> floors, creations, prepares, grids;
            Run last;
            for (int i = 0; i < rounds; ++i) {
                Reset(db, t);
                last = Create(db, t);
                creations.push_back(last.create);
                prepares.push_back(last.prepare);
                grids.push_back(last.grid);
                Reset(db, t);
                floors.push_back(Floor(db, t));
            }
            const double floor = Median(floors), create = Median(creations);
            std::cout << fmt::format(
                "EB21 creation, {} rows ({} billable members), median of {} rounds\n"
                "  floor (INSERT…SELECT + UPDATE)   {:8.3f} s\n"
                "  creation (file, rows, members)   {:8.3f} s   ratio {:.2f}\n"
                "  search: server preparation       {:8.3f} s\n"
                "  search: grid                     {:8.3f} s\n"
                "  creation's own peak memory: {} KiB for {} rows, {} KiB for {} rows\n",
                last.rows, members, rounds, floor, create, create / floor, Median(prepares),
                Median(grids), smallRun.extraKib, smallRun.rows, last.extraKib, last.rows);
            return 0;
        });
}
