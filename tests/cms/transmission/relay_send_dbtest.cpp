// Relay runs: records byte-exact, handed over complete, the maintenance
// hour, and the watch.
#include <gtest/gtest.h>

#include "cms/transmission/relay_send.h"
#include "db/database.h"
#include "relay_agent.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

std::string Pad(std::string t, size_t w) {
    t.resize(w, ' ');
    return t;
}

class RelaySendTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(2);
        session.org_code = "HS" + std::to_string(100000 + inst.inx % 900000);
        session.add_in_code = "pw12    ";
        session.company = "릴레이기관";
        db->ExecuteSql("delete from sdsi.filerun where id=?", {session.org_code});
    }
    void TearDown() override { test::UnpinServerClock(*db); }
    Recordset Details(long long key) {
        return db->OpenRecordset(
            "select u_seq, u_detail, u_rtn, c_rtn, hex(u_end) u_end, d_inx from sdsi.filedetail "
            "where u_inx=? order by d_inx",
            {key});
    }
    test::ScriptedInteraction ui;
};

TEST_F(RelaySendTest, Eb13RunRecordsAreByteExactAndHandedOverComplete) {
    db->ExecuteSql(
        "insert into " + schema +
        ".ea13 (filename, create_cnt, delete_cnt, total_cnt) values ('EB13270405',1,1,2)");
    db->ExecuteSql("insert into " + schema +
                   ".file_ea13 (seq_num, reg_date, reg_kind, user_no, bank_code, account_no, id_no,"
                   " account_name, certifi_kind, user_phone) values "
                   "(1,'270405','1',101,'0881234','110222333444','8001011234567',"
                   "'김　하나','1','01012345678'),"
                   "(2,'270405','3',102,'0040000','999','800202','박둘','','')");
    setenv("QUORISDEX_RELAY_ACCOUNT", "RLYACC", 1);
    const auto key = RegisterRelayRun(*db, session, ui, "EB13270405");
    ASSERT_TRUE(key);
    auto run = db->OpenRecordset(
        "select filename, filediv, id, company, stat, senddate, recvdate, sdsiver from "
        "sdsi.filerun where inx=?",
        {*key});
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0]["filename"], "13270405");
    EXPECT_EQ(run[0]["filediv"], "MEM");
    EXPECT_EQ(run[0]["stat"], "1");
    EXPECT_EQ(run[0]["senddate"], "27040512");
    EXPECT_EQ(run[0]["recvdate"], "27040512");
    EXPECT_EQ(run[0]["sdsiver"], "140512");

    const std::string code = Pad(session.org_code, 10);
    const auto d = Details(*key);
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d[0]["u_detail"],
              "S" + code + "pw12      RLYACC    RLYACC    MEMA20270405" + std::string(190, ' '));
    EXPECT_EQ(d[1]["u_detail"], "H" + code + "2     0         " + std::string(216, ' '));
    // The full-width blank of the name becomes two blanks; the 13-digit
    // number goes out as its birth date.
    EXPECT_EQ(d[2]["u_detail"], "D" + code + "N" + Pad("김  하나", 20 + 3) + Pad("101", 20) +
                                    std::string(20, ' ') + "88" + Pad("110222333444", 15) +
                                    Pad("800101", 13) + "M" + Pad("01012345678", 15) +
                                    std::string(44, ' '));
    EXPECT_EQ(d[3]["u_detail"],
              "D" + code + "D" + Pad("박둘", 20 + 2) + Pad("102", 20) + std::string(130, ' '));
    EXPECT_EQ(d[4]["u_detail"], "T" + code + std::string(232, ' '));
    EXPECT_EQ(d[2]["u_seq"], "1         ");
    EXPECT_EQ(d[0]["u_seq"], std::string(10, ' '));
    for (std::size_t i = 0; i < d.size(); ++i) {
        EXPECT_EQ(d[i]["u_rtn"], std::string(35, ' '));
        EXPECT_EQ(d[i]["c_rtn"], std::string(61, ' '));
    }
    // Own key in 10 characters, then CR LF.
    std::string endHex;
    for (char c : Pad(d[2]["d_inx"], 10)) {
        char h[3];
        std::snprintf(h, sizeof h, "%02X", static_cast<unsigned char>(c));
        endHex += h;
    }
    EXPECT_EQ(d[2]["u_end"], endHex + "0D0A");

    // A second registration replaces the run only after the person agrees.
    ui.answers = {false};
    EXPECT_FALSE(RegisterRelayRun(*db, session, ui, "EB13270405"));
    EXPECT_EQ(ui.texts().back(), kRelayResendQuestion);
    ui.answers = {true};
    const auto again = RegisterRelayRun(*db, session, ui, "EB13270405");
    ASSERT_TRUE(again);
    EXPECT_EQ(Details(*key).size(), 0u);  // the earlier run's records went with it
    EXPECT_EQ(Details(*again).size(), 5u);
    EXPECT_EQ(
        db->OpenRecordset("select inx from sdsi.filerun where id=?", {session.org_code}).size(),
        1u);
}

TEST_F(RelaySendTest, Eb21DataRecordCarriesSerialAndAmount) {
    db->ExecuteSql("insert into " + schema +
                   ".ea21 (filename, total_cnt, total_money) values ('EB21270406',1,15000)");
    db->ExecuteSql("insert into " + schema +
                   ".file_ea21 (seq_num, reg_date, user_no, amount, cash_rcpt_info) values "
                   "(7,'270406',101,15000,'01099998888')");
    const auto key = RegisterRelayRun(*db, session, ui, "EB21270406");
    ASSERT_TRUE(key);
    const auto d = Details(*key);
    ASSERT_EQ(d.size(), 4u);
    const std::string code = Pad(session.org_code, 10);
    EXPECT_EQ(d[1]["u_detail"], "H" + code + "1     15000     " + std::string(216, ' '));
    EXPECT_EQ(d[2]["u_detail"], "D" + code + "N" + Pad("101", 20) + "zelmor" +
                                    std::string(14, ' ') + "000007" + std::string(6, ' ') +
                                    Pad("15000", 10) + Pad("01099998888", 20) +
                                    std::string(149, ' '));
    auto run = db->OpenRecordset("select filediv, senddate from sdsi.filerun where inx=?", {*key});
    EXPECT_EQ(run[0]["filediv"], "PAY");
    EXPECT_EQ(run[0]["senddate"], "27040617");
}

TEST_F(RelaySendTest, MaintenanceHourAndInstitutionCode) {
    db->ExecuteSql("insert into " + schema + ".ea13 (filename, total_cnt) values ('EB13270407',0)");
    const struct {
        const char* clock;
        bool sent;
    } cases[] = {{"2027-04-07 17:59:59", true},
                 {"2027-04-07 18:00:00", false},
                 {"2027-04-07 18:30:00", false},
                 {"2027-04-07 19:00:00", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clock);
        test::PinServerClock(*db, c.clock);
        ui.shown.clear();
        ui.answers = {true};
        const auto keys = RelaySendFiles(*db, session, ui, {"EB13270407"});
        EXPECT_EQ(keys.size(), c.sent ? 1u : 0u);
        if (!c.sent) {
            EXPECT_EQ(ui.texts(), std::vector<std::string>{kRelayClosedText});
        }
    }
    for (const std::string code : {"HS12345", "XS123456", "hv1234567", ""}) {
        SCOPED_TRACE(code);
        session.org_code = code;
        ui.shown.clear();
        EXPECT_TRUE(RelaySendFiles(*db, session, ui, {"EB13270407"}).empty());
        EXPECT_EQ(ui.texts(),
                  std::vector<std::string>{"잘못된 이용기관 코드입니다. 쿼리스CMS(0000-0000)로 "
                                           "문의주시기 바랍니다."});
    }
}

TEST_F(RelaySendTest, WatchWaitsWhileTheRunIsAtOne) {
    db->ExecuteSql("insert into " + schema + ".ea13 (filename, total_cnt) values ('EB13270408',0)");
    const auto key = RegisterRelayRun(*db, session, ui, "EB13270408");
    ASSERT_TRUE(key);
    ui.shown.clear();
    EXPECT_EQ(PollRelayRun(*db, ui, *key), RelayRunState::Waiting);
    EXPECT_TRUE(ui.shown.empty());
    const struct {
        const char* stat;
        RelayRunState state;
        const char* text;
    } cases[] = {{"5", RelayRunState::Done, kRelayDoneText},
                 {"3", RelayRunState::Failed, kRelayFailedText},
                 {"9", RelayRunState::Failed, kRelayFailedText},
                 {"2", RelayRunState::Waiting, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stat);
        db->ExecuteSql("update sdsi.filerun set stat=? where inx=?", {std::string(c.stat), *key});
        ui.shown.clear();
        EXPECT_EQ(PollRelayRun(*db, ui, *key), c.state);
        if (c.text)
            EXPECT_EQ(ui.texts(), std::vector<std::string>{c.text});
        else
            EXPECT_TRUE(ui.shown.empty());
    }
}

// The relay stand-in reads the records by their own positions: a sound run
// reaches 5, a rule refuses with 9, a run whose records do not add up gets 3.
TEST_F(RelaySendTest, RelayAgentTakesSoundRunsAndRefusesOthers) {
    db->ExecuteSql("insert into " + schema +
                   ".ea13 (filename, total_cnt) values ('EB13270409',1),('EB13270410',1),"
                   "('EB13270411',1)");
    db->ExecuteSql("insert into " + schema +
                   ".file_ea13 (seq_num, reg_date, reg_kind, user_no, bank_code, account_no, id_no,"
                   " account_name) values (1,'270409','1',101,'0881234','110222333444','800101',"
                   "'김하나'),(1,'270410','1',101,'0881234','110222333444','800101','김하나')");
    const auto sound = RegisterRelayRun(*db, session, ui, "EB13270409");
    const auto other = RegisterRelayRun(*db, session, ui, "EB13270410");
    const auto short1 = RegisterRelayRun(*db, session, ui, "EB13270411");  // no records: H says 1
    ASSERT_TRUE(sound && other && short1);
    db->ExecuteSql("update sdsi.filerun set stat=0 where inx=?", {*other});  // still being written
    // Other tests' runs share the table: counts are not this test's to check.
    EXPECT_GE(relay::TakeRuns(*db, {}), 2);
    auto stat = [&](long long key) {
        auto rs = db->OpenRecordset("select stat, err_msg from sdsi.filerun where inx=?", {key});
        return rs[0]["stat"] + ":" + rs[0]["err_msg"];
    };
    EXPECT_EQ(stat(*sound), "5:");
    EXPECT_EQ(stat(*other), "0:");  // a run not yet handed over is left alone
    EXPECT_EQ(stat(*short1), "3:레코드 건수가 다릅니다.");

    db->ExecuteSql("update sdsi.filerun set stat=1 where inx=?", {*other});
    EXPECT_GE(relay::TakeRuns(*db, {{session.org_code, "해지된 기관입니다."}}), 1);
    EXPECT_EQ(stat(*other), "9:해지된 기관입니다.");
    relay::TakeRuns(*db, {});
    EXPECT_EQ(stat(*sound), "5:");  // a taken run is not taken again
}

}  // namespace
}  // namespace qx
