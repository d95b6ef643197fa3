// Sending, confirming, cancelling and receiving through the real library,
// loaded at run time, against a simulated clearing house in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "center.h"
#include "cms/transmission/clearing_house_fixture.h"
#include "cms/transmission/kftc_transfer.h"
#include "cms/workspace/cms_folders.h"
#include "db/database.h"
#include "platform/codepage.h"
#include "support/hand_made_cms_file.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

using test::HandMadeEb13;
using test::HandMadeEi13;
using test::Pad;
using test::ReadAll;

class KftcTransferTest : public test::ClearingHouseTest {
  protected:
    void SetUp() override {
        OpenClearingHouse("qx-kftc-");
        setenv("QUORISDEX_DRIVE", (root / "drive").c_str(), 1);
        ASSERT_TRUE(lib.load(QUORISDEX_CMSCOMM_LIB)) << lib.loadError();
        transfer = std::make_unique<KftcTransfer>(*db, session, ui, lib);
        transfer->pause = [](int) {};
        ASSERT_TRUE(transfer->Start()) << ::testing::PrintToString(ui.texts());
        center = std::make_unique<center::Center>((root / "center").string());
    }
    void TearDown() override {
        if (transfer) transfer->Close();
        fs::remove_all(root);
    }
    HandMadeEb13 Eb13(const std::string& mmdd, const std::string& yymmdd) const {
        HandMadeEb13 f{inst.org_code, mmdd, yymmdd, {}};
        f.rows = {
            "1" + Pad("0000000101", 20) + "0040000" + Pad("11111111", 16) + Pad("800101", 16),
            "1" + Pad("0000000102", 20) + "0880000" + Pad("22222222", 16) + Pad("810202", 16),
            "3" + Pad("0000000103", 20) + "0200000" + Pad("33333333", 16) + Pad("820303", 16)};
        return f;
    }
    // The file in the EB13 exchange folder, its ea13 row and (when asked) the
    // EI13 of the same day marked sent.
    void Place(const std::string& kind, const std::string& name, const std::string& bytes) {
        const fs::path folder = MakeExchangeFolder(session, kind);
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    void Rows(const std::string& yymmdd, bool ei13Sent, const std::string& sendStat = "0") {
        db->ExecuteSql("delete from " + schema() + ".ea13 where filename=?", {"EB13" + yymmdd});
        db->ExecuteSql("delete from " + schema() + ".ei13 where filename=?", {"EI13" + yymmdd});
        db->ExecuteSql("insert into " + schema() +
                           ".ea13 (filename, total_cnt, pross_stat, send_stat) values (?,3,'0',?)",
                       {"EB13" + yymmdd, sendStat});
        db->ExecuteSql("insert into " + schema() + ".ei13 (filename, send_stat) values (?,?)",
                       {"EI13" + yymmdd, ei13Sent ? "5" : "0"});
    }
    std::string SendStat(const std::string& dbName) {
        auto rs = db->OpenRecordset("select send_stat from " + schema() + ".ea13 where filename=?",
                                    {dbName});
        return rs.empty() ? "" : rs[0]["send_stat"];
    }
    std::string Sound(const HandMadeEb13& f) {
        return f.header("EB13") + f.data(0, "") + f.data(1, "") + f.data(2, "") +
               f.trailer("EB13", 3, 2, 1);
    }

    test::ScriptedInteraction ui;
    KftcLibrary lib;
    std::unique_ptr<KftcTransfer> transfer;
    std::unique_ptr<center::Center> center;
};

TEST_F(KftcTransferTest, SentEb13ComesBackAsEb14ByteExactWithTheRefusalRules) {
    center->AddRule("refuse 11111111 0012");
    center->AddRule("refuse 33333333 0023");
    const HandMadeEb13 f = Eb13("0311", "270311");
    Place("EB13", f.name(), Sound(f));
    Rows("270311", true);

    EXPECT_TRUE(transfer->SendOne(f.name())) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(SendStat("EB13270311"), "5");
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().title, "파일송신 결과확인");
    EXPECT_EQ(ui.shown.back().text.rfind("파일명 : EB130311\r\n송신결과 : 정상\r\n", 0), 0u);

    auto list = transfer->Receivable("20270301", "20270331", ReceiveKind::New);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->rows.size(), 1u);
    EXPECT_EQ(list->rows[0][1], "EB140311");
    EXPECT_EQ(list->rows[0][3], "2027-03-11");
    EXPECT_EQ(list->rows[0][4], "600 byte");
    EXPECT_EQ(list->rows[0][5], "미수신");

    ASSERT_TRUE(transfer->Receive("EB140311", "20270311"));
    const std::string expected = f.header("EB14") + f.data(0, "N0012") + f.data(1, "Y0000") +
                                 f.data(2, "N0023") + f.trailer("EB14", 3, 2, 1);
    EXPECT_EQ(ReadAll(fs::path(ExchangeFolder(session, "EB14")) / "EB140311"), expected);

    list = transfer->Receivable("20270301", "20270331", ReceiveKind::All);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->rows.at(0)[5], "수신완료");
    list = transfer->Receivable("20270301", "20270331", ReceiveKind::New);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->rows.empty());
}

TEST_F(KftcTransferTest, SecondSendOfAHeldFileEndsSentNotFailed) {
    const HandMadeEb13 f = Eb13("0312", "270312");
    Place("EB13", f.name(), Sound(f));
    Rows("270312", true);
    ASSERT_TRUE(transfer->SendOne(f.name()));
    // The answer of the first send was lost: the row is back at 0.
    db->ExecuteSql("update " + schema() + ".ea13 set send_stat='0' where filename='EB13270312'");
    ui.shown.clear();
    EXPECT_TRUE(transfer->SendOne(f.name()));
    EXPECT_EQ(SendStat("EB13270312"), "5");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("에러코드 : 8\r\n에러메세지 : 파일이 이미 송신되었습니다."),
              std::string::npos);
    EXPECT_EQ(transfer->lastResult(), 8);
}

TEST_F(KftcTransferTest, Eb13WaitsForItsAgreementEvidence) {
    const HandMadeEb13 f = Eb13("0313", "270313");
    Place("EB13", f.name(), Sound(f));
    Rows("270313", false);
    EXPECT_FALSE(transfer->SendOne(f.name()));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{
                              "EB130313 파일의 동의자료인 EI130313 파일이 송신되지 않았습니다."});
    EXPECT_EQ(SendStat("EB13270313"), "0");
    EXPECT_TRUE(center->SentFiles(inst.org_code, "", "").empty());
}

// The center reads each file by the layout's byte positions and refuses
// what a faulty writer would produce; the row goes back to 0.
TEST_F(KftcTransferTest, CenterRefusesFaultyFiles) {
    const HandMadeEb13 f = Eb13("0314", "270314");
    std::string wrongSerial = f.data(1, "");
    wrongSerial.replace(1, 8, "00000003");
    std::string otherOrg = f.data(2, "");
    otherOrg.replace(9, 10, "1234567890");
    std::string shiftedBank = f.data(0, "");
    shiftedBank.replace(46, 7, "004123 ");
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
        const char* headerDate = "270314";
    } cases[] = {
        {"trailer count",
         f.header("EB13") + f.data(0, "") + f.data(1, "") + f.data(2, "") +
             f.trailer("EB13", 2, 2, 1),
         "레코드 5: 트레일러의 데이터 건수가 다릅니다."},
        {"new count",
         f.header("EB13") + f.data(0, "") + f.data(1, "") + f.data(2, "") +
             f.trailer("EB13", 3, 3, 0),
         "레코드 5: 트레일러의 신규 건수가 다릅니다."},
        {"serial",
         f.header("EB13") + f.data(0, "") + wrongSerial + f.data(2, "") +
             f.trailer("EB13", 3, 2, 1),
         "레코드 3: 일련번호가 올바르지 않습니다."},
        {"institution",
         f.header("EB13") + f.data(0, "") + f.data(1, "") + otherOrg + f.trailer("EB13", 3, 2, 1),
         "레코드 4: 이용기관코드가 다릅니다."},
        {"bank code",
         f.header("EB13") + shiftedBank + f.data(1, "") + f.data(2, "") +
             f.trailer("EB13", 3, 2, 1),
         "레코드 2: 은행코드가 올바르지 않습니다."},
        {"header date",
         Pad(f.header("EB13").substr(0, 27) + "270315", 120) + f.data(0, "") + f.data(1, "") +
             f.data(2, "") + f.trailer("EB13", 3, 2, 1),
         "레코드 1: 헤더의 파일일자가 올바르지 않습니다.", "270315"},
        {"record length",
         f.header("EB13") + f.data(0, "") + f.data(1, "") + f.data(2, "") +
             f.trailer("EB13", 3, 2, 1) + "\r\n",
         "레코드 길이가 120바이트가 아닙니다."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Place("EB13", f.name(), c.bytes);
        Rows(c.headerDate, true);
        ui.shown.clear();
        EXPECT_FALSE(transfer->SendOne(f.name()));
        EXPECT_EQ(SendStat(std::string("EB13") + c.headerDate), "0");
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_NE(ui.shown[0].text.find(std::string("에러메세지 : [EB130314] ") + c.reason),
                  std::string::npos)
            << ui.shown[0].text;
        EXPECT_TRUE(center->SentFiles(inst.org_code, "", "").empty());
    }
}

TEST_F(KftcTransferTest, Eb12SendMarksTheDaysEb11RowsAndTheMainWindowMark) {
    db->ExecuteSql("delete from " + schema() +
                   ".file_ea11 where reg_date in ('20270316','20270317')");
    db->ExecuteSql("insert into " + schema() +
                   ".file_ea11 (seq_num, reg_date, pross_stat) values (1,'20270316','0'),"
                   "(2,'20270316','0'),(1,'20270317','0')");
    db->ExecuteSql("update quorisdex.admin_company set eb11chk='○○○○○○○○○○[2]' where inx=?",
                   {inst.inx});
    HandMadeEb13 f{inst.org_code,
                   "0316",
                   "270316",
                   {"1" + Pad("0000000101", 20) + "0040000" + Pad("11111111", 16)}};
    Place("EB12", "EB120316", f.header("EB12") + f.data(0, "") + f.trailer("EB12", 1, 1, 0));
    EXPECT_TRUE(transfer->SendOne("EB120316")) << ::testing::PrintToString(ui.texts());
    auto rs = db->OpenRecordset("select reg_date, pross_stat from " + schema() +
                                ".file_ea11 where reg_date in ('20270316','20270317') order by "
                                "reg_date, seq_num");
    ASSERT_EQ(rs.size(), 3u);
    EXPECT_EQ(rs[0]["pross_stat"], "1");
    EXPECT_EQ(rs[1]["pross_stat"], "1");
    EXPECT_EQ(rs[2]["pross_stat"], "0");
    rs = db->OpenRecordset("select eb11chk from quorisdex.admin_company where inx=?", {inst.inx});
    EXPECT_EQ(rs[0]["eb11chk"], "○○○○○○○○○●[2]");
}

// An EI13 is read block by block by the clearing house: a trailer that
// miscounts is refused and changes nothing; the sound file is sent and its
// members' agreement evidence counts as sent.
TEST_F(KftcTransferTest, Ei13SendMarksItsMembersAndAMiscountedOneIsRefused) {
    std::vector<std::string> members;
    for (int i = 0; i < 2; ++i) {
        db->ExecuteSql("insert into " + schema() +
                       ".member_user (username, cms_agree_status) values ('동의자', '2')");
        members.push_back(std::to_string(db->lastInsertId()));
    }
    db->ExecuteSql("delete from " + schema() + ".file_ei13 where reg_date='270322'");
    db->ExecuteSql("delete from " + schema() + ".ei13 where filename='EI13270322'");
    db->ExecuteSql("insert into " + schema() +
                       ".file_ei13 (seq_num, reg_date, user_no) values (1,'270322',?),"
                       "(2,'270322',?)",
                   {members[0], members[1]});
    db->ExecuteSql("insert into " + schema() +
                   ".ei13 (filename, total_cnt, send_stat) values ('EI13270322', 2, '0')");
    HandMadeEi13 f{inst.org_code, "20270322", members, {std::string(2000, 'J'), "%PDF-1.4"}};
    auto state = [&] {
        auto rs = db->OpenRecordset(
            "select (select send_stat from " + schema() +
                ".ei13 where filename='EI13270322') s, group_concat(cms_agree_status order by "
                "member_inx) a from " +
                schema() + ".member_user where member_inx in (?, ?)",
            {members[0], members[1]});
        return rs[0]["s"] + "/" + rs[0]["a"];
    };

    HandMadeEi13 miscounted = f;
    miscounted.trailerCount = 1;
    Place("EI13", "EI130322", miscounted.bytes());
    EXPECT_FALSE(transfer->SendOne("EI130322"));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("트레일러의 데이터 건수가 다릅니다."), std::string::npos)
        << ui.shown[0].text;
    EXPECT_EQ(state(), "0/2,2");

    Place("EI13", "EI130322", f.bytes());
    ui.shown.clear();
    EXPECT_TRUE(transfer->SendOne("EI130322")) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(state(), "5/3,3");
}

TEST_F(KftcTransferTest, CancelResetsTheRowsOfThatDayUntilTheResultExists) {
    const HandMadeEb13 f = Eb13("1204", "251204");
    Place("EB13", f.name(), Sound(f));
    Rows("251204", true);
    db->ExecuteSql("delete from " + schema() +
                   ".ea13 where filename in ('EB13241204','EB13251205','EB13261204')");
    db->ExecuteSql("insert into " + schema() +
                   ".ea13 (filename, send_stat) values ('EB13241204','5'),('EB13251205','5'),"
                   "('EB13261204','5')");
    ASSERT_TRUE(transfer->SendOne(f.name()));
    auto cancellable = transfer->Cancellable("20251201", "20251231");
    ASSERT_TRUE(cancellable);
    ASSERT_EQ(cancellable->rows.size(), 1u);
    EXPECT_EQ(cancellable->rows[0][1], "EB131204");

    ui.answers = {false};
    EXPECT_FALSE(transfer->Cancel("EB131204", "20251204"));
    EXPECT_EQ(SendStat("EB13251204"), "5");

    ui.shown.clear();
    ui.answers = {true};
    ASSERT_TRUE(transfer->Cancel("EB131204", "20251204"));
    EXPECT_EQ(ui.shown.front().text, "EB131204 파일을 송신취소 하시겠습니까?");
    EXPECT_EQ(ui.shown.back().text, "[EB131204] 파일 송신 취소완료");
    EXPECT_EQ(ui.shown.back().title, "파일 송신 취소확인");
    EXPECT_EQ(SendStat("EB13251204"), "0");
    EXPECT_EQ(SendStat("EB13261204"), "0");  // same MMDD, YYMMDD above 251203
    EXPECT_EQ(SendStat("EB13241204"), "5");
    EXPECT_EQ(SendStat("EB13251205"), "5");

    // Sent again and answered: the send can no longer be taken back.
    Rows("251204", true);
    ASSERT_TRUE(transfer->SendOne(f.name()));
    ASSERT_TRUE(transfer->Receivable("20251201", "20251231", ReceiveKind::All));
    ui.answers = {true};
    EXPECT_FALSE(transfer->Cancel("EB131204", "20251204"));
    EXPECT_EQ(transfer->lastResult(), 12);
    EXPECT_EQ(SendStat("EB13251204"), "5");
}

TEST_F(KftcTransferTest, UnknownReceiveStateStopsTheList) {
    const HandMadeEb13 f = Eb13("0318", "270318");
    Place("EB13", f.name(), Sound(f));
    Rows("270318", true);
    ASSERT_TRUE(transfer->SendOne(f.name()));
    ASSERT_EQ(center->SetState(inst.org_code, "EB140318", "20270318", "07").code, 0);
    ui.shown.clear();
    EXPECT_FALSE(transfer->Receivable("20270318", "20270318", ReceiveKind::All));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{
                  "[07] : 알수없는 상태값입니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다."});
}

TEST_F(KftcTransferTest, ExpiredEb11IsKeptOnlyUnderItsExpiredName) {
    const std::string eb11 = Pad("H00000000" + Pad(inst.org_code, 10) + "EB110319270319", 120) +
                             Pad("R00000001" + Pad(inst.org_code, 10) + "2703191", 120) +
                             Pad("T99999999" + Pad(inst.org_code, 10) + "EB11031900000001", 120);
    ASSERT_EQ(center->IssueFile(inst.org_code, "EB110319", "20270319", eb11).code, 0);
    const fs::path folder = MakeExchangeFolder(session, "EB11");

    ASSERT_EQ(center->SetState(inst.org_code, "EB110319", "20270319", "09").code, 0);
    // An expired file never arrives through the ordinary receive.
    EXPECT_FALSE(transfer->Receive("EB110319", "20270319"));
    EXPECT_FALSE(fs::exists(folder / "EB110319"));

    // An unapplied ordinary file of the same name is not overwritten.
    std::ofstream(folder / "EB110319") << "waiting";
    EXPECT_FALSE(transfer->ReceiveExpired("EB110319", "20270319"));
    EXPECT_EQ(ReadAll(folder / "EB110319"), "waiting");
    fs::remove(folder / "EB110319");

    session.excel_folder = (root / "excel").string();
    ASSERT_TRUE(transfer->ReceiveExpired("EB110319", "20270319"))
        << ::testing::PrintToString(ui.texts());
    EXPECT_FALSE(fs::exists(folder / "EB110319"));
    EXPECT_EQ(ReadAll(folder / "ExpiredEB110319"), eb11);
    // Its records are handed over as an Excel list instead.
    std::vector<fs::path> lists;
    for (const auto& e : fs::directory_iterator(root / "excel")) lists.push_back(e.path());
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].filename().string().rfind("ExpiredEB110319_", 0), 0u);
    EXPECT_NE(FromCp949(ReadAll(lists[0])).find("기관만료내역-파일 미적용"), std::string::npos);
    auto list = transfer->Receivable("20270319", "20270319", ReceiveKind::All);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->rows.at(0)[5], "기간만료파일");
}

TEST_F(KftcTransferTest, TwoDesksSendingTheSameFileLeaveOneSendAndATruthfulRow) {
    const HandMadeEb13 f = Eb13("0320", "270320");
    Place("EB13", f.name(), Sound(f));
    Rows("270320", true);
    auto db2 = test::ConnectTestDatabase();
    db2->setLogSchema(schema());
    test::ScriptedInteraction ui2;
    KftcTransfer second(*db2, session, ui2, lib);
    second.pause = [](int) {};
    bool firstSent = false, secondSent = false;
    std::thread a([&] { firstSent = transfer->SendOne(f.name()); });
    std::thread b([&] { secondSent = second.SendOne(f.name()); });
    a.join();
    b.join();
    EXPECT_TRUE(firstSent);
    EXPECT_TRUE(secondSent);  // the loser hears "already sent", which counts as sent
    EXPECT_EQ(SendStat("EB13270320"), "5");
    EXPECT_EQ(center->SentFiles(inst.org_code, "20270320", "20270320").size(), 1u);
}

TEST_F(KftcTransferTest, HostileOrMalformedNamesNeverReachTheLibrary) {
    for (const std::string name : {"../EB1403", "EB14031", "eb140311", "EB14/311", ""}) {
        SCOPED_TRACE(name);
        ui.shown.clear();
        EXPECT_FALSE(transfer->Receive(name, "20270311"));
        EXPECT_EQ(ui.texts(),
                  std::vector<std::string>{"[" + name + "] 수신할 수 없는 파일입니다."});
    }
    EXPECT_FALSE(transfer->Receive("EB140311", "20271311"));
    EXPECT_FALSE(transfer->DepositNotice("EB140311", "20270311"));
    EXPECT_EQ(ui.shown.back().text,
              "[EB140311] 는 출금이체 입금 통지서 내역조회에 적합한 파일이 아닙니다.");
}

TEST(KftcStartTest, WrongInstitutionCodeOrFailedInitCloses) {
    auto db = test::ConnectTestDatabase();
    const auto inst = test::SharedInstitution(*db, 1);
    SessionContext s = test::SessionFor(inst);
    KftcLibrary lib;
    ASSERT_TRUE(lib.load(QUORISDEX_CMSCOMM_LIB));
    test::ScriptedInteraction ui;
    s.org_code = "123456789";
    KftcTransfer t(*db, s, ui, lib);
    EXPECT_FALSE(t.Start());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kBadInstitutionCodeText});

    // A library without a center to talk to fails its initialisation.
    unsetenv("CMSCOMM_CENTER");
    s.org_code = inst.org_code;
    ui.shown.clear();
    EXPECT_FALSE(t.Start());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("작업명 : 금결원 송수신 초기화"), std::string::npos);
    EXPECT_NE(ui.shown[0].text.find("금결원 파일 송수신 프로그램을 종료합니다."),
              std::string::npos);

    KftcLibrary missing;
    EXPECT_FALSE(missing.load("/nonexistent/libCMSCommDLL.so"));
}

// The real-time service table: made when missing; an older one whose
// result-code column is shorter is widened without losing its rows.
TEST(KftcAddservTableTest, CreatedWhenMissingAndWidenedWhenShort) {
    auto db = test::ConnectTestDatabase();
    const auto inst = test::SharedInstitution(*db, 1);
    const std::string table = InstitutionSchema(inst.inx) + ".kftc_addserv";
    auto width = [&] {
        auto rs = db->OpenRecordset(
            "select character_maximum_length n from information_schema.columns where "
            "table_schema=? and table_name='kftc_addserv' and column_name='kas_resultcode'",
            {InstitutionSchema(inst.inx)});
        return rs.empty() ? -1 : rs[0].asInt("n");
    };
    db->ExecuteSql("drop table if exists " + table);
    EnsureKftcAddservTable(*db, inst.inx);
    EXPECT_EQ(width(), 20);

    db->ExecuteSql("drop table " + table);
    db->ExecuteSql("create table " + table +
                   " (kas_inx bigint auto_increment primary key, kas_resultcode varchar(4))");
    db->ExecuteSql("insert into " + table + " (kas_resultcode) values ('0000')");
    EnsureKftcAddservTable(*db, inst.inx);
    EXPECT_EQ(width(), 20);
    auto rs = db->OpenRecordset("select kas_resultcode from " + table);
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0]["kas_resultcode"], "0000");
    EnsureKftcAddservTable(*db, inst.inx);  // again: nothing changes
    EXPECT_EQ(width(), 20);

    db->ExecuteSql("drop table " + table);
    EnsureKftcAddservTable(*db, inst.inx);
}

}  // namespace
}  // namespace qx
