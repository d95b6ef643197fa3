// The whole month for one institution of many members, each step timed:
// the batch sale, the EB21 creation, the send to the simulated clearing
// house, the receipt of its EB22 and the application.
//   quorisdex-cycle-bench HOST:PORT [MEMBERS]
#include <fmt/format.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "admin/provisioning.h"
#include "bench_support.h"
#include "center.h"
#include "cms/eb21/eb21_creation.h"
#include "cms/eb21/eb21_preparation.h"
#include "cms/eb21/eb21_targets.h"
#include "cms/eb22/eb22_apply.h"
#include "cms/eb22/eb22_results.h"
#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "ledger/batch_sales.h"
#include "ledger/server_scripts.h"
#include "member_generator.h"
#include "platform/interaction.h"

namespace {

namespace fs = std::filesystem;
using namespace qx;
using namespace qx::bench;

const CivilDate kFileDate{2026, 3, 16};
constexpr const char* kSaleDate = "26-03-10";

class Quiet : public Interaction {
  public:
    void inform(const std::string& text, const std::string&) override { last = text; }
    bool confirm(const std::string& text, const std::string&) override {
        last = text;
        return text.find("진행하시겠습니까?") != std::string::npos;
    }
    std::string last;
};

SessionContext Make(Database& db, long long members, const std::string& drive) {
    const BenchInstitution made = CreateBenchInstitution(db, 82000, "cycle", 9600000000LL);

    db.ExecuteSql(
        "update quorisdex.admin_company set monthdivide='Y', month_out_limit=0x7fffffffffff, "
        "account_title='측정기관회비', ok_commission=150, no_commission=300 where inx=?",
        {made.inx});
    const std::string schema = made.schema;
    MemberMix mix;
    mix.registered = members;
    GenerateMembers(db, schema, mix);
    db.ExecuteSql("insert into " + schema +
                  ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) select "
                  "member_inx, '회비', pay_monthdefault, 1, pay_monthdefault from " +
                  schema + ".member_user");
    SessionContext s = CmsBenchSession(made, drive);
    s.fileback_folder = drive + "back";
    s.month_divide_switch = true;
    db.setLogSchema(schema);
    BuildCodeCaseSql(db, s);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    return RunBench(
        argc, argv, "quorisdex-cycle-bench HOST:PORT [MEMBERS]", 100000,
        [](Database& db, const BenchArgs& args) {
            const long long members = args.size;
            const std::string drive = BenchFolder("qx-cycle-bench", true);
            SessionContext s = Make(db, members, drive);
            const std::string schema = InstitutionSchema(s.institution_number);
            Quiet ui;
            ResetPeak();
            const auto whole = Clock::now();

            // 1. The batch sale of the month.
            auto start = Clock::now();
            SqlParams params;
            const StagedRun staged =
                StageSaleRun(db, s, SaleCandidateWhere(s, {}, params), params, kSaleDate);
            const long long sold = BookSaleRun(db, s.institution_number, staged.run_key, kSaleDate);
            const double sale = Seconds(start);

            // 2. The EB21 of everyone who owes.
            start = Clock::now();
            Eb21Request request;
            request.fileDate = kFileDate;
            request.rows =
                SearchEb21Targets(db, s, ui, kFileDate, {},
                                  [&](const std::string& nuday, const std::string& month) {
                                      PrepareBillableItems(db, s.institution_number, nuday, month);
                                      return std::string(kScriptDoneReply);
                                  })
                    .rows;
            const Eb21Result eb21 = CreateEb21File(db, s, ui, request);
            if (eb21.outcome != Eb21Outcome::Created)
                throw std::runtime_error("EB21 refused: " + ui.last);
            const double create = Seconds(start);

            // 3. Sent to the clearing house, which refuses one account in 40.
            start = Clock::now();
            center::Center house(drive + "center");
            const Recordset refusals =
                db.OpenRecordset("select distinct account_no from " + schema +
                                 ".file_ea21 where seq_num % 40 = 0 and reg_date='260316'");
            for (std::size_t i = 0; i < refusals.size(); ++i)
                house.AddRule("withdraw-refuse " + refusals[i]["account_no"] + " 0012");
            std::string bytes;
            if (!center::ReadWhole(eb21.path, bytes)) throw std::runtime_error("EB21 unreadable");
            const center::Answer sent =
                house.Accept(s.org_code, fs::path(eb21.path).filename().string(), bytes);
            if (sent.code != center::kOk) throw std::runtime_error("send refused: " + sent.text);
            const double send = Seconds(start);

            // 4. Its EB22 received into the exchange folder.
            start = Clock::now();
            std::string result;
            bool received = false;
            for (const center::HeldFile& f : house.Receivable(s.org_code, "", ""))
                if (f.name == "EB220316" &&
                    house.Fetch(s.org_code, f.name, f.fileDate, false, result).code == center::kOk)
                    received = true;
            if (!received) throw std::runtime_error("no EB22");
            std::ofstream(fs::path(MakeExchangeFolder(s, "EB22")) / "EB220316", std::ios::binary)
                << result;
            const double receive = Seconds(start);

            // 5. Applied.
            start = Clock::now();
            const Eb22RunResult applied =
                ApplyEb22Files(db, s, ui, [&](long long inx, long long, const std::string& day) {
                    return ApplyEb22Results(db, inx, day, "26-03-16");
                });
            if (applied.succeeded != 1) throw std::runtime_error("not applied: " + ui.last);
            const double apply = Seconds(start);
            const double total = Seconds(whole);

            const Recordset file =
                db.OpenRecordset("select total_cnt, rtnok_money, rtnfalse_money from " + schema +
                                 ".ea21 where filename='EB21260316'");
            const auto row = file[0];
            const long long collected = db.scalarInt("select coalesce(sum(input_pay),0) from " +
                                                     schema + ".pay_pross where paystat='1'");
            std::cout << fmt::format(
                "The month of {} members\n"
                "  batch sale ({} sales booked)\n"
                "                                        {:8.3f} s\n"
                "  EB21 creation ({} requests)\n"
                "                                        {:8.3f} s\n"
                "  send to the clearing house            {:8.3f} s\n"
                "  receive the EB22                      {:8.3f} s\n"
                "  apply the EB22 (withdrawn {} won, not {} won)\n"
                "                                        {:8.3f} s\n"
                "  whole month                           {:8.3f} s\n"
                "  collections booked {} = withdrawn {}: {}\n"
                "  peak memory of the process (the clearing house in it) {} KiB\n",
                members, sold, sale, row.asInt(std::size_t{0}), create, send, receive, row.asInt(1),
                row.asInt(2), apply, total, collected, row.asInt(1),
                collected == row.asInt(1) ? "reconciled" : "MISMATCH", StatusKib("VmHWM"));
            fs::remove_all(drive);
            return collected == row.asInt(1) ? 0 : 1;
        });
}
