// EB22 application for many requests (the client's reading and staging and
// the result script's booking), measured against floors on the same data:
// one INSERT … SELECT of the collections into pay_pross, one UPDATE of the
// members and one UPDATE of file_ea21, once with the bare values and once
// leaving exactly the rows the application leaves.
//   quorisdex-eb22-bench HOST:PORT [REQUESTS] [ROUNDS]
#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "cms/eb22/eb22_apply.h"
#include "cms/eb22/eb22_results.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "core/session_context.h"
#include "db/database.h"
#include "ledger/server_scripts.h"
#include "member_generator.h"
#include "platform/interaction.h"

namespace {

namespace fs = std::filesystem;
using namespace qx;
using namespace qx::bench;

constexpr const char* kDay = "260316";

class Quiet : public Interaction {
  public:
    void inform(const std::string& text, const std::string&) override { last = text; }
    bool confirm(const std::string&, const std::string&) override { return false; }
    std::string last;
};

struct Institution {
    long long inx = 0;
    SessionContext session;
    std::string schema;
    std::vector<long long> amounts;  // by serial - 1
};

// One EB21 request per registered member, waiting for its result.
Institution Make(Database& db, long long members, const std::string& drive) {
    Institution t;
    const BenchInstitution made = CreateBenchInstitution(db, 81000, "bench", 9800000000LL);
    t.inx = made.inx;
    t.schema = made.schema;
    MemberMix mix;
    mix.registered = members;
    GenerateMembers(db, t.schema, mix);
    db.ExecuteSql("insert into " + t.schema +
                  ".file_ea21 (seq_num,reg_date,bank_code,account_no,amount,id_no,user_no,"
                  "amount_kind,oldcms_status) select row_number() over (order by member_inx), '" +
                  kDay +
                  "', '0040000', account_no, 10000+member_inx%7*1000, '800101', member_inx, '2', "
                  "'3' from " +
                  t.schema + ".member_user where cms_status='3'");
    const Recordset rs =
        db.OpenRecordset("select amount from " + t.schema + ".file_ea21 order by seq_num");
    for (std::size_t i = 0; i < rs.size(); ++i) t.amounts.push_back(rs[i].asInt(std::size_t{0}));
    SessionContext& s = t.session;
    s = CmsBenchSession(made, drive);
    s.fileback_folder = drive + "back";
    db.setLogSchema(t.schema);
    return t;
}

// Members owe their request, nothing is booked, the file waits at '0' with
// its per-item fees, and its EB22 (1 in 12 refused, 1 in 50 partial) is in
// the exchange folder.
void Reset(Database& db, const Institution& t) {
    db.ExecuteSql("delete from " + t.schema + ".pay_pross");
    db.ExecuteSql("delete from " + t.schema + ".ea21");
    db.ExecuteSql("update " + t.schema +
                  ".file_ea21 set result='', result_code='', rp_err='', "
                  "div_amount=0");
    db.ExecuteSql("update " + t.schema + ".member_user m join " + t.schema +
                  ".file_ea21 f on f.user_no=m.member_inx set m.pay_nonpayment=f.amount, "
                  "m.total_payment=0, m.cms_status='6', m.cms_error=''");
    db.ExecuteSql("insert into " + t.schema +
                  ".ea21 (makedate,filename,total_cnt,total_money,ok_commission,false_commission,"
                  "pross_stat) select unix_timestamp(), 'EB21" +
                  std::string(kDay) + "', count(*), sum(amount), 150, 300, '0' from " + t.schema +
                  ".file_ea21");
    const fs::path path = fs::path(MakeExchangeFolder(t.session, "EB22")) / "EB220316";
    std::ofstream out(path, std::ios::binary);
    out << RecordBuilder(150)
               .text("H", 1)
               .number(0, 8)
               .text(t.session.org_code, 10)
               .text("EB220316", 8)
               .text(kDay, 6)
               .finish();
    for (std::size_t i = 0; i < t.amounts.size(); ++i) {
        const long long serial = static_cast<long long>(i) + 1;
        const bool refused = serial % 12 == 0, partial = serial % 50 == 0;
        out << RecordBuilder(150)
                   .text("R", 1)
                   .number(serial, 8)
                   .text(t.session.org_code, 10)
                   .text("0040000", 7)
                   .text("12345678901", 16)
                   .number(partial ? t.amounts[i] / 2 : t.amounts[i], 13)
                   .text("800101", 13)
                   .text(refused   ? "N"
                         : partial ? "P"
                                   : " ",
                         1)
                   .text(refused ? "0012" : "0000", 4)
                   .text("측정기관회비", 16)
                   .finish();
    }
    out << RecordBuilder(150)
               .text("T", 1)
               .number(99999999, 8)
               .text(t.session.org_code, 10)
               .text("EB220316", 8)
               .finish();
}

struct Run {
    double seconds = 0;
    long long extraKib = 0;
};

Run Apply(Database& db, Institution& t) {
    Quiet ui;
    StepCost cost;
    const Eb22RunResult r = MeasureStep(cost, [&] {
        return ApplyEb22Files(db, t.session, ui,
                              [&](long long inx, long long, const std::string& day) {
                                  return ApplyEb22Results(db, inx, day, "26-03-16");
                              });
    });
    Run run{cost.seconds, cost.extraKib};
    if (r.succeeded != 1) throw std::runtime_error("not applied: " + ui.last);
    return run;
}

// What the floors are held to: the rows both leave behind.
std::string EndState(Database& db, const Institution& t) {
    return db.scalar(
        "select concat_ws(' ', (select sum(crc32(concat_ws('|',seq_num,result,result_code,"
        "div_amount,rp_err))) from " +
        t.schema +
        ".file_ea21), (select sum(crc32(concat_ws('|',userlink_inx,userbrlink_inx,input_pay,"
        "pros_nonpayment,paystat,settle_code,settle_title,signdate,memo,pay_prossag,item_name,"
        "item_stan,item_cnt,addmuskey,addkey))) from " +
        t.schema +
        ".pay_pross), (select sum(crc32(concat_ws('|',member_inx,pay_nonpayment,total_payment,"
        "pay_prossagreement,cms_status,cms_error))) from " +
        t.schema + ".member_user))");
}

// The least the database must do, from the staged results: one UPDATE of
// the requests, one INSERT … SELECT of the collections and one UPDATE of the
// members. kBare writes only the results, amounts and states; kSameRows
// writes every column the application writes, with the same values, so that
// both leave the same rows behind (each member here has one request).
enum class FloorKind { kBare, kSameRows };

double Floor(Database& db, const Institution& t, FloorKind kind) {
    const std::string path = (fs::path(ExchangeFolder(t.session, "EB22")) / "EB220316").string();
    db.ExecuteSql("delete from " + t.schema + ".file_ea21_run");
    for (const std::string& sql : Eb22StagingStatements(t.schema, ReadEb22File(path, kDay).results))
        db.ExecuteSql(sql);
    const std::string f = t.schema + ".file_ea21 f", day = std::string("'") + kDay + "'";
    const std::string taken = "if(f.result='P',f.div_amount,if(f.result='N',0,f.amount))";
    const auto start = Clock::now();
    Database::Transaction tx(db);
    if (kind == FloorKind::kBare) {
        db.ExecuteSql("update " + f + " join " + t.schema +
                      ".file_ea21_run r on r.seq_num=f.seq_num set f.result=r.result, "
                      "f.result_code=r.result_code, f.div_amount=r.div_amount where f.reg_date=" +
                      day);
        db.ExecuteSql("insert into " + t.schema +
                      ".pay_pross (userlink_inx,input_pay,pros_nonpayment,paystat,settle_code,"
                      "settle_title,signdate) select f.user_no, if(f.result='P',f.div_amount,"
                      "f.amount), 0, '1', 1, 'CMS', '26-03-16' from " +
                      f + " where f.reg_date=" + day + " and f.result<>'N'");
        db.ExecuteSql("update " + t.schema + ".member_user m join " + f +
                      " on f.user_no=m.member_inx set m.pay_nonpayment=m.pay_nonpayment-" + taken +
                      ", m.cms_status=if(f.result='N','8','7') where f.reg_date=" + day);
    } else {
        db.ExecuteSql("update " + f + " join " + t.schema +
                          ".file_ea21_run r on r.seq_num=f.seq_num left join quorisdex.error_code "
                          "e on e.code=r.result_code set f.result=r.result, "
                          "f.result_code=r.result_code, f.div_amount=if(r.result='P',"
                          "r.div_amount,0), f.rp_err=case r.result when 'N' then "
                          "left(coalesce(e.errtext,?),30) when 'P' then ? else '' end where "
                          "f.reg_date=" +
                          day,
                      {kUnknownWithdrawalErrorText, kPartialWithdrawalText});
        db.ExecuteSql("insert into " + t.schema +
                      ".pay_pross (userlink_inx, userbrlink_inx, input_pay, pros_nonpayment, "
                      "paystat, settle_code, settle_title, signdate, memo, regdate, pay_prossag, "
                      "item_name, item_stan, item_cnt, addmuskey, addkey) select f.user_no, "
                      "m.branch_inx, " +
                      taken + ", m.pay_nonpayment-" + taken +
                      ", '1', 1, 'CMS', '26-03-16', '', unix_timestamp(sysdate()), "
                      "if(m.account_divide='3',m.pay_prossagreement+" +
                      taken + ",0), '', '', 1, 0, 0 from " + f + " join " + t.schema +
                      ".member_user m on m.member_inx=f.user_no where f.reg_date=" + day +
                      " and f.result<>'N'");
        db.ExecuteSql("update " + t.schema + ".member_user m join " + f +
                          " on f.user_no=m.member_inx set m.pay_nonpayment=m.pay_nonpayment-" +
                          taken + ", m.total_payment=m.total_payment+" + taken +
                          ", m.pay_prossagreement=if(m.account_divide='3',m.pay_prossagreement+" +
                          taken +
                          ",0), m.cms_error=case f.result when 'N' then f.rp_err when 'P' then "
                          "? else '' end, m.cms_status=if(f.result='N','8','7') where "
                          "f.reg_date=" +
                          day,
                      {kPartialWithdrawalText});
    }
    tx.commit();
    return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-eb22-bench HOST:PORT [REQUESTS] [ROUNDS]", 100000,
        [](Database& db, const BenchArgs& args) {
            const long long requests = args.size;
            const int rounds = args.rounds;
            const std::string drive = BenchFolder("qx-eb22-bench", true);

            // A small institution first: the application's memory must not grow with N.
            Institution small = Make(db, requests / 10, drive + "small/");
            Reset(db, small);
            const Run smallRun = Apply(db, small);

            Institution t = Make(db, requests, drive + "large/");
            std::vector<double> bare, same, applies;
            Run last;
            for (int i = 0; i < rounds; ++i) {
                Reset(db, t);
                last = Apply(db, t);
                applies.push_back(last.seconds);
                const std::string applied = EndState(db, t);
                Reset(db, t);
                bare.push_back(Floor(db, t, FloorKind::kBare));
                Reset(db, t);
                same.push_back(Floor(db, t, FloorKind::kSameRows));
                if (EndState(db, t) != applied)
                    throw std::runtime_error("the floor left other rows than the application");
            }
            const double apply = Median(applies), bareFloor = Median(bare),
                         sameFloor = Median(same);
            std::cout << fmt::format(
                "EB22 application, {} requests, median of {} rounds\n"
                "  floor, results/amounts/states only (3 statements)       {:8.3f} s\n"
                "  floor, the application's rows (3 statements)            {:8.3f} s\n"
                "  application (read, stage, book, members, totals)        {:8.3f} s   ratio "
                "{:.2f} / {:.2f}\n"
                "  application's own peak memory: {} KiB for {} requests, {} KiB for {}\n",
                t.amounts.size(), rounds, bareFloor, sameFloor, apply, apply / bareFloor,
                apply / sameFloor, smallRun.extraKib, small.amounts.size(), last.extraKib,
                t.amounts.size());
            fs::remove_all(drive);
            return 0;
        });
}
