// Applying a GR15 statement of many payments (several per member, some for
// numbers nobody has): reading and checking the file, storing its rows,
// matching and booking, measured against a floor on the same rows in the
// same run: one INSERT … SELECT of the members' collections and one UPDATE
// of their totals, as little as the database can do for the booking alone.
//   quorisdex-gr15-bench HOST:PORT [PAYMENTS] [ROUNDS]
#include <fmt/format.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "channels/giro/gr15_apply.h"
#include "core/session_context.h"
#include "db/database.h"
#include "member_generator.h"
#include "platform/interaction.h"
#include "support/gr15_generator.h"

namespace {

using namespace qx;
using namespace qx::bench;

constexpr const char* kGiro = "7000001";
constexpr const char* kDate = "261207";

class Silent : public Interaction {
  public:
    void inform(const std::string&, const std::string&) override {}
    bool confirm(const std::string&, const std::string&) override { return true; }
};

struct Institution {
    SessionContext session;
    std::string schema;
    std::vector<std::string> numbers;
};

Institution Make(Database& db, long long members) {
    Institution t;
    const BenchInstitution made = CreateBenchInstitution(db, 85000, "girobench", 9700000000LL);
    t.schema = made.schema;
    MemberMix mix;
    mix.registered = members;
    GenerateMembers(db, t.schema, mix);
    db.ExecuteSql("update " + t.schema +
                  ".member_user set settle_accounts='3', account_name=member_inx*7+100000");
    const Recordset rs = db.OpenRecordset("select account_name from " + t.schema +
                                          ".member_user order by member_inx");
    for (std::size_t i = 0; i < rs.size(); ++i) t.numbers.push_back(rs[i][std::size_t{0}]);
    // Every twentieth payment is for a number nobody has.
    for (long long i = 0; i < members / 19; ++i) t.numbers.push_back(std::to_string(3 + i * 7));
    t.session = BenchSession(made);
    t.session.giro_account = kGiro;
    db.setLogSchema(t.schema);
    return t;
}

void ResetBooking(Database& db, const Institution& t) {
    db.ExecuteSql("delete from " + t.schema + ".pay_pross");
    db.ExecuteSql("update " + t.schema +
                  ".member_user set pay_nonpayment=0, total_payment=0, pay_prossagreement=0");
}

void Reset(Database& db, const Institution& t) {
    ResetBooking(db, t);
    db.ExecuteSql("delete from " + t.schema + ".file_gr15");
    db.ExecuteSql("delete from " + t.schema + ".gr15");
}

double Floor(Database& db, const Institution& t) {
    const std::string s = t.schema;
    const std::string sums = "(select lnk_inx, sum(amount) amount from " + s +
                             ".file_gr15 where su_stat='' and lnk_inx<>0 group by lnk_inx) g";
    const auto start = Clock::now();
    Database::Transaction tx(db);
    db.ExecuteSql("update " + s + ".member_user m join " + sums +
                  " on g.lnk_inx=m.member_inx set m.pay_nonpayment=m.pay_nonpayment-g.amount, "
                  "m.total_payment=m.total_payment+g.amount");
    db.ExecuteSql(
        "insert into " + s +
        ".pay_pross (userlink_inx, input_pay, pros_nonpayment, paystat, settle_code, "
        "settle_title, signdate, memo, regdate, item_name) select m.member_inx, "
        "g.amount, m.pay_nonpayment, '1', '3', 'OCR지로', '26-12-07', "
        "'[GR15261207] OCR지로 수금처리', unix_timestamp(sysdate()), 'OCR지로수납' from " +
        sums + " join " + s + ".member_user m on m.member_inx=g.lnk_inx");
    tx.commit();
    return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-gr15-bench HOST:PORT [PAYMENTS] [ROUNDS]", 100000,
        [](Database& db, const BenchArgs& args) {
            const long long payments = args.size;
            const int rounds = args.rounds;
            db.ExecuteSql("SET timestamp = UNIX_TIMESTAMP('2026-12-07 15:00:00')");
            // About three payments per member.
            Institution t = Make(db, std::max(1LL, payments / 3));
            const auto folder = std::filesystem::temp_directory_path() / "quorisdex-gr15-bench";
            const std::string path = qx::test::WriteGr15File(
                folder.string(), kDate,
                qx::test::Gr15FileBytes(kGiro, kDate, qx::test::Gr15Payments(t.numbers, payments)));
            EnsureGr15Tables(db, t.session);
            Silent ui;
            std::vector<double> reads, applies, floors;
            Gr15ApplyResult last;
            for (int i = 0; i < rounds; ++i) {
                Reset(db, t);
                auto start = Clock::now();
                const auto file = OpenGr15File(db, t.session, ui, path);
                if (!file) throw std::runtime_error("the generated file was refused");
                reads.push_back(Seconds(start));
                start = Clock::now();
                last = ApplyGr15File(db, t.session, ui, *file);
                applies.push_back(Seconds(start));
                if (!last.applied) throw std::runtime_error("the generated file was not applied");
                // The floor books the same stored rows again from scratch.
                ResetBooking(db, t);
                floors.push_back(Floor(db, t));
            }
            std::filesystem::remove_all(folder);
            const double read = Median(reads), apply = Median(applies), floor = Median(floors);
            std::cout << fmt::format(
                "GR15 of {} payments ({} members booked, {} unmatched), median of {} rounds\n"
                "  floor (INSERT…SELECT + UPDATE)        {:8.3f} s\n"
                "  read and check the file               {:8.3f} s\n"
                "  apply (store, match, book, record)    {:8.3f} s   ratio to floor {:.2f}\n",
                payments, last.members, last.unmatched, rounds, floor, read, apply, apply / floor);
            return 0;
        });
}
