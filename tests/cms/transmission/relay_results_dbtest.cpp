// The relay's results: due from 13:00 of the next business day, produced by
// its rules and applied to the members, the file rows and the ledger with
// the result scripts' own code, once, whatever the number of agents.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "cms/transmission/relay_send.h"
#include "db/database.h"
#include "relay_agent.h"
#include "relay_results.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

// Dates later than every other test's runs, so that a pass before ours are
// due has dealt with whatever other tests left taken.
constexpr const char* kEb13Date = "360411";  // a Friday: the receipt date is Monday the 14th
constexpr const char* kEb21Date = "360415";  // a Tuesday: Wednesday the 16th

class RelayResultsTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(2);
        setenv("QUORISDEX_RELAY_ACCOUNT", "RLYACC", 1);
    }
    long long Member(const std::string& status, long long outstanding = 0) {
        test::MemberRow m;
        m.cms_status = status;
        m.pay_nonpayment = outstanding;
        return test::InsertMember(*db, inst.inx, m);
    }
    // Registers the file with the relay and lets the relay take it (5).
    long long Send(const std::string& filename) {
        const auto key = RegisterRelayRun(*db, session, ui, filename);
        EXPECT_TRUE(key);
        relay::TakeRuns(*db, {});
        EXPECT_EQ(Run(*key), "5");
        return key.value_or(0);
    }
    std::string Run(long long key) {
        return db->scalar(
            "select concat(stat, if(err_msg='','',concat(':',err_msg))) from "
            "sdsi.filerun where inx=?",
            {key});
    }
    std::string Status(long long member) {
        return db->scalar("select concat(cms_status,'|',cms_error,'|',pay_nonpayment) from " +
                              schema + ".member_user where member_inx=?",
                          {member});
    }
    test::ScriptedInteraction ui;
};

TEST_F(RelayResultsTest, Eb13ResultArrivesAtOnePmOfTheReceiptDateAndIsAppliedOnce) {
    const long long fresh = Member("1"), refused = Member("1"), leaving = Member("11");
    db->ExecuteSql("insert into " + schema +
                       ".ea13 (filename, create_cnt, delete_cnt, total_cnt) values (?,2,1,3)",
                   {std::string("EB13") + kEb13Date});
    db->ExecuteSql("insert into " + schema +
                       ".file_ea13 (seq_num, reg_date, reg_kind, user_no, bank_code, account_no, "
                       "id_no, account_name) values (1,?,'1',?,'0881234','1101','800101','김'),"
                       "(2,?,'1',?,'0881234','1102','800102','이'),(3,?,'3',?,'0040000','1103',"
                       "'800103','박')",
                   {kEb13Date, fresh, kEb13Date, refused, kEb13Date, leaving});
    const long long run = Send(std::string("EB13") + kEb13Date);
    relay::ResultRules rules;
    rules.registrationRefusals[std::to_string(refused)] = "0013";

    // Boundaries from both sides: the Saturday, Monday 12:59:59, 13:00:00.
    struct Clock {
        const char* now;
        const char* stat;
    };
    for (const Clock& c : {Clock{"2036-04-12 15:00:00", "5"}, Clock{"2036-04-14 12:59:59", "5"},
                           Clock{"2036-04-14 13:00:00", "11"}}) {
        relay::ApplyDueResults(*db, rules, c.now);
        EXPECT_EQ(Run(run), c.stat) << c.now;
    }
    EXPECT_EQ(Status(fresh), "3||0");
    EXPECT_EQ(Status(refused).substr(0, 2), "2|");
    EXPECT_NE(Status(refused), "2||0");  // the code's text (or the unknown-code text)
    EXPECT_EQ(Status(leaving), "13||0");
    EXPECT_EQ(db->scalar("select concat(pross_stat,createok_cnt,deleteok_cnt,false_cnt) from " +
                             schema + ".ea13 where filename=?",
                         {std::string("EB13") + kEb13Date}),
              "1111");
    EXPECT_EQ(db->scalar("select group_concat(concat(seq_num,result,result_code) order by "
                         "seq_num) from " +
                             schema + ".file_ea13 where reg_date=?",
                         {kEb13Date}),
              "1,2N0013,3");
    // A later pass applies nothing again.
    Member("1");
    EXPECT_EQ(relay::ApplyDueResults(*db, rules, "2036-04-20 13:00:00"), 0);
    EXPECT_EQ(Status(fresh), "3||0");
}

TEST_F(RelayResultsTest, Eb21ResultBooksWhatWasTakenByTwoAgentsExactlyOnce) {
    const long long full = Member("6", 10000), failed = Member("6", 20000),
                    partial = Member("6", 30000);
    db->ExecuteSql("insert into " + schema +
                       ".ea21 (makedate, filename, total_cnt, total_money, ok_commission, "
                       "false_commission) values (unix_timestamp(), ?, 3, 60000, 200, 400)",
                   {std::string("EB21") + kEb21Date});
    db->ExecuteSql("insert into " + schema +
                       ".file_ea21 (seq_num, reg_date, amount, user_no, amount_kind) values "
                       "(1,?,10000,?,'2'),(2,?,20000,?,'2'),(3,?,30000,?,'2')",
                   {kEb21Date, full, kEb21Date, failed, kEb21Date, partial});
    const long long run = Send(std::string("EB21") + kEb21Date);
    relay::ResultRules rules;
    rules.withdrawalRefusals[std::to_string(failed)] = "0012";
    rules.partials[std::to_string(partial)] = 12000;

    relay::ApplyDueResults(*db, rules, "2036-04-16 12:00:00");  // others' leftovers, not ours
    ASSERT_EQ(Run(run), "5");
    std::atomic<int> applied{0};
    auto agent = [&] {
        auto conn = test::ConnectTestDatabase();
        applied += relay::ApplyDueResults(*conn, rules, "2036-04-16 13:00:00");
    };
    std::thread a(agent), b(agent);
    a.join();
    b.join();
    EXPECT_EQ(applied.load(), 1);
    EXPECT_EQ(Run(run), "11");
    EXPECT_EQ(Status(full), "7||0");
    EXPECT_EQ(Status(failed).substr(0, 2), "8|");
    EXPECT_EQ(Status(partial), "7|부분출금|18000");
    // The ledger, the requests and the file's totals tell the same story.
    EXPECT_EQ(db->scalar("select concat(count(*),'|',sum(input_pay)) from " + schema +
                         ".pay_pross where paystat='1' and settle_title='CMS'"),
              "2|22000");
    EXPECT_EQ(db->scalar("select concat(pross_stat,'|',rtnok_money,'|',rtnfalse_money,'|',"
                         "ok_commission,'|',false_commission) from " +
                             schema + ".ea21 where filename=?",
                         {std::string("EB21") + kEb21Date}),
              "1|22000|38000|400|400");
}

// Whatever stands in the way is written on the run, and nothing is applied:
// here the file was claimed by a desk in the meantime.
TEST_F(RelayResultsTest, RunWhoseFileIsNotWaitingFailsWithItsReason) {
    db->ExecuteSql("insert into " + schema +
                   ".ea13 (filename, create_cnt, total_cnt) values ('EB13360422',1,1)");
    const long long m = Member("1");
    db->ExecuteSql("insert into " + schema +
                       ".file_ea13 (seq_num, reg_date, reg_kind, user_no, bank_code, account_no, "
                       "id_no, account_name) values (1,'360422','1',?,'0881234','1','800101','김')",
                   {m});
    const long long run = Send("EB13360422");
    db->ExecuteSql("update " + schema + ".ea13 set pross_stat='9' where filename='EB13360422'");
    relay::ApplyDueResults(*db, {}, "2036-04-23 13:00:00");
    EXPECT_EQ(Run(run), "12:[EB13360422] 적용 대기중인 파일이 아닙니다.");
    EXPECT_EQ(Status(m), "1||0");
}

TEST(RelayResultRules, ReadsEachVerbAndSkipsMalformedLines) {
    const std::string path = testing::TempDir() + "relay-result-rules.txt";
    {
        std::ofstream out(path);
        out << "refuse 9900000001 해지된 기관\n"  // the run refusal: not a result rule
               "register-refuse 101 0013\n"
               "withdraw-refuse 102 0012\n"
               "withdraw-partial 103 5000\n"
               "withdraw-partial 104 5천\n"
               "register-refuse 105\n"
               "withdraw-refuse 106 0012 extra\n";
    }
    const relay::ResultRules r = relay::ReadResultRules(path);
    EXPECT_EQ(r.registrationRefusals, (std::map<std::string, std::string>{{"101", "0013"}}));
    EXPECT_EQ(r.withdrawalRefusals, (std::map<std::string, std::string>{{"102", "0012"}}));
    EXPECT_EQ(r.partials, (std::map<std::string, long long>{{"103", 5000}}));
}

}  // namespace
}  // namespace qx
