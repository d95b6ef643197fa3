// EB13 creation for many new members, measured against a floor on the same
// data: one INSERT … SELECT of the same file_ea13 rows and one UPDATE of the
// members, which is as little as the database can do for the same result.
//   quorisdex-eb13-bench HOST:PORT [NEW_MEMBERS] [ROUNDS]
#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "cms/eb13/eb13_creation.h"
#include "cms/eb13/eb13_targets.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "member_generator.h"
#include "platform/interaction.h"

namespace {

using namespace qx;
using namespace qx::bench;

class Quiet : public Interaction {
  public:
    void inform(const std::string& text, const std::string&) override { last = text; }
    bool confirm(const std::string& text, const std::string&) override {
        last = text;
        return false;
    }
    std::string last;
};

struct Institution {
    long long inx;
    SessionContext session;
    std::string schema;
};

Institution Make(Database& db, long long newMembers, const std::string& drive) {
    Institution t;
    const BenchInstitution made = CreateBenchInstitution(db, 70000, "bench", 9800000000LL);
    t.inx = made.inx;
    t.schema = made.schema;
    bench::MemberMix mix;
    mix.newApplications = newMembers;
    mix.registered = newMembers * 8 / 10;
    mix.cardPayers = newMembers / 10;
    bench::GenerateMembers(db, t.schema, mix);
    SessionContext& s = t.session;
    s = CmsBenchSession(made, drive);
    db.setLogSchema(t.schema);
    // Bank names are shown in the list, as on the screen.
    BuildCodeCaseSql(db, s);
    return t;
}

void Reset(Database& db, const Institution& t) {
    db.ExecuteSql("delete from " + t.schema + ".file_ea13");
    db.ExecuteSql("delete from " + t.schema + ".ea13");
    db.ExecuteSql("update " + t.schema +
                  ".member_user set cms_status='0' where remove='1' and "
                  "settle_accounts='1' and cms_status='1'");
}

double Floor(Database& db, const Institution& t) {
    const std::string where = Eb13TargetCondition(t.session);
    const auto start = Clock::now();
    Database::Transaction tx(db);
    db.ExecuteSql("insert into " + t.schema +
                  ".file_ea13 (seq_num,reg_date,reg_kind,user_no,bank_code,account_no,id_no,"
                  "account_name,oldcms_status,user_phone) select row_number() over (order by "
                  "if(remove='1',0,1), member_inx), '261204', if(remove='1','1','3'), "
                  "member_inx, concat(left(bank_code,3),'0000'), account_no, account_jumin, "
                  "if(account_name='','빈값',account_name), cms_status, '' from " +
                  t.schema + ".member_user where " + where);
    db.ExecuteSql("update " + t.schema +
                  ".member_user set cms_status=if(remove='1','1','12') "
                  "where " +
                  where);
    tx.commit();
    return Seconds(start);
}

struct CreationRun {
    double search = 0, create = 0;
    long long rows = 0;
    long long extraKib = 0;  // peak memory of the creation above what the listed targets hold
};

CreationRun Create(Database& db, Institution& t) {
    CreationRun run;
    Quiet ui;
    const auto start = Clock::now();
    Eb13Request request;
    request.fileDate = qx::CivilDate{2026, 12, 4};
    request.targets = SearchEb13Targets(db, t.session);
    run.search = Seconds(start);
    run.rows = static_cast<long long>(request.targets.size());
    StepCost cost;
    const Eb13Result r =
        MeasureStep(cost, [&] { return CreateEb13File(db, t.session, ui, request); });
    run.create = cost.seconds;
    run.extraKib = cost.extraKib;
    if (r.outcome != Eb13Outcome::Created) {
        throw std::runtime_error("creation refused: " + ui.last);
    }
    std::filesystem::remove(r.path);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-eb13-bench HOST:PORT [NEW_MEMBERS] [ROUNDS]", 100000,
        [](Database& db, const BenchArgs& args) {
            const long long newMembers = args.size;
            const int rounds = args.rounds;
            const std::string drive = BenchFolder("qx-eb13-bench");
            // The server does not run 2026-12-04 as a past day: pin its clock before it.
            db.ExecuteSql("SET timestamp = UNIX_TIMESTAMP('2026-12-03 10:00:00')");

            // A small institution first: memory of the creation must not grow with N.
            Institution small = Make(db, newMembers / 10, drive);
            Reset(db, small);
            const CreationRun smallRun = Create(db, small);

            Institution t = Make(db, newMembers, drive);
            std::vector<double> floors, creations, searches;
            CreationRun last;
            for (int i = 0; i < rounds; ++i) {
                Reset(db, t);
                floors.push_back(Floor(db, t));
                Reset(db, t);
                last = Create(db, t);
                creations.push_back(last.create);
                searches.push_back(last.search);
            }
            const double floor = Median(floors), create = Median(creations),
                         search = Median(searches);
            std::cout << fmt::format(
                "EB13 creation, {} targets (institution of {} members), median of {} rounds\n"
                "  floor (INSERT…SELECT + UPDATE)   {:8.3f} s\n"
                "  creation (file, rows, members)   {:8.3f} s   ratio {:.2f}\n"
                "  search before it (clean, mark, list) {:5.3f} s\n"
                "  search + creation                {:8.3f} s   ratio {:.2f}\n"
                "  creation's own peak memory: {} KiB for {} targets, {} KiB for {} targets\n",
                last.rows, newMembers * 19 / 10, rounds, floor, create, create / floor, search,
                search + create, (search + create) / floor, smallRun.extraKib, smallRun.rows,
                last.extraKib, last.rows);
            return 0;
        });
}
