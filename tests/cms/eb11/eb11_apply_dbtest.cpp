// Applying EB11 files against a real server: every outcome of both screens,
// the members they create, register again or cancel, the stored rows and
// their MAC, the EB12 answer byte for byte, marking it sent, malformed
// files that leave nothing behind and two desks applying the same day.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cms/eb11/eb11_apply.h"
#include "cms/eb11/eb11_file.h"
#include "cms/eb11/eb11_test_file.h"
#include "cms/eb11/eb12_writer.h"
#include "cms/eb11/relay_notices.h"
#include "cms/workspace/cms_folders.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::Eb11Line;

struct Existing {
    std::string bank, account, idNumber, remove = "1", cmsStatus = "3", settle = "1";
};

class Eb11ApplyTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(1);
        root = fs::temp_directory_path() / ("qx-eb11-" + std::to_string(inst.inx));
        fs::remove_all(root);
        session.SystemDrive = (root / "desk").string() + "/";
        session.fileback_folder = (root / "back").string();
    }
    void TearDown() override { fs::remove_all(root); }

    std::string Member(const Existing& e) {
        test::MemberRow m;
        m.remove = e.remove;
        m.cms_status = e.cmsStatus;
        m.settle_accounts = e.settle;
        const long long n = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema +
                           ".member_user set bank_code=?, account_no=?, account_jumin=? where "
                           "member_inx=?",
                       {e.bank, e.account, e.idNumber, n});
        return fmt::format("{:010}", n);
    }
    std::string Drop(const std::string& bytes, const std::string& name = "EB111204") {
        const fs::path folder = MakeExchangeFolder(session, "EB11");
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }
    std::string Row(const std::string& column, long long serial,
                    const std::string& day = "20261204") {
        return db->scalar(
            "select " + column + " from " + schema + ".file_ea11 where reg_date=? and seq_num=?",
            {day, serial});
    }
    std::string MemberField(const std::string& column, const std::string& member) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {member});
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }

    fs::path root;
    test::ScriptedInteraction ui;
};

struct Expect {
    Eb11Line line;
    std::string result;
    bool refused;
    std::string code = "";
};

TEST_F(Eb11ApplyTest, BankReceiptScreenGivesEveryOutcomeAndAnswersTheRefusedOnes) {
    session.bank_receipt_switch = true;
    const std::string kb = Member({"0060000", "1111", "800101"});
    const std::string wrongAccount = Member({"0040000", "2222", "800101"});
    const std::string cancelled = Member({"0040000", "3333", "800101", "2", "13"});
    const std::string normal = Member({"0040000", "4444", "800101"});
    const std::string deleted = Member({"0040000", "5555", "800101", "4"});
    const std::string again = Member({"0200000", "6666", "800101", "2", "13"});
    const std::string giro = Member({"0040000", "7777", "800101", "1", "0", "3"});
    const std::string twoWrong = Member({"0110000", "8888", "800101"});
    db->ExecuteSql("insert into " + schema + ".item (item_name) values ('월회비')");

    const std::vector<Expect> cases = {
        {{"1", "0000012345", "004", "12345678", "900101"}, kEb11CreatedText, false},
        {{"3", "0000012346", "004", "12345678", "900101"}, kEb11UnknownMemberText, true, "A013"},
        {{"1", "9000000000", "004", "12345678", "900101"}, kEb11PayerTooHighText, true, "A013"},
        {{"1", "8999999999", "088", "87654321", "900101"}, kEb11CreatedText, false},
        {{"1", "12A4", "004", "12345678", "900101"}, kEb11PayerNotNumberText, true, "A013"},
        {{"1", "0000000000", "004", "12345678", "900101"}, kEb11PayerNotNumberText, true, "A013"},
        // Stored 0060000 and received 004 are the same bank.
        {{"3", kb, "004", "1111", "800101"}, kEb11CancelledText, false},
        {{"7", wrongAccount, "004", "9999", "800101"},
         "해지대상의 정보(계좌번호) 가 파일정보와 다릅니다.",
         true,
         "A013"},
        {{"3", twoWrong, "004", "8888", "700101"},
         "해지대상의 정보(은행,생년월일(법인)번호) 가 파일정보와 다릅니다.",
         true,
         "A013"},
        {{"7", cancelled, "004", "3333", "800101"}, kEb11AlreadyCancelledText, false},
        {{"1", normal, "004", "4444", "800101"}, kEb11AlreadyRegisteredText, true, "A013"},
        {{"3", deleted, "004", "5555", "800101"}, kEb11DeletedMemberText, true, "A013"},
        {{"1", again, "081", "6060", "810101"}, kEb11ReRegisteredText, false},
        {{"3", giro, "004", "7777", "800101"}, kEb11NotCmsText, true, "A013"},
        {{"3", normal, "004", "4444", "800101", "9999999999"},
         kEb11WrongInstitutionText,
         true,
         "A013"},
    };
    std::vector<Eb11Line> lines;
    for (const auto& c : cases) lines.push_back(c.line);
    const std::string path = Drop(test::Eb11Bytes(inst.org_code, "261204", lines, "MAC0123456"));

    const Eb11ApplyResult r = ApplyEb11File(*db, session, ui, path, Eb11Mode::BankReceipt);

    ASSERT_TRUE(r.applied) << r.error;
    EXPECT_EQ(r.records, static_cast<long long>(cases.size()));
    EXPECT_EQ(r.refused, 10);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const long long serial = static_cast<long long>(i) + 1;
        EXPECT_EQ(Row("result", serial), cases[i].result) << serial;
        EXPECT_EQ(Row("result_char", serial), cases[i].refused ? "N" : "") << serial;
        EXPECT_EQ(Row("result_code", serial), cases[i].code) << serial;
    }
    // The created members.
    for (const std::string& payer : {std::string("12345"), std::string("8999999999")}) {
        EXPECT_EQ(MemberField("concat(remove,'|',cms_status,'|',payday,'|',inday,'|',start_date,"
                              "'|',comment)",
                              payer),
                  "1|3|25|25|2026-12|은행접수 (2026-12-04)")
            << payer;
        EXPECT_EQ(Count("user_item",
                        "ui_perinx=" + payer + " and ui_name='월회비' and ui_pay=0 and ui_cnt=1"),
                  1);
    }
    EXPECT_EQ(MemberField("bank_code", "8999999999"), "0880000");
    EXPECT_EQ(Count("member_user", "member_inx in (12346, 9000000000, 0)"), 0);
    EXPECT_EQ(MemberField("concat(remove,cms_status)", kb), "213");
    EXPECT_EQ(MemberField("concat(remove,cms_status)", wrongAccount), "13");
    EXPECT_EQ(MemberField("concat(remove,cms_status,'|',bank_code,'|',account_no,'|',"
                          "account_jumin)",
                          again),
              "13|0810000|6060|810101");
    EXPECT_EQ(MemberField("concat(remove,cms_status)", normal), "13");
    // The trailer's MAC on every row of the day; the received record kept.
    EXPECT_EQ(Count("file_ea11", "reg_date='20261204' and mac_value='MAC0123456'"),
              static_cast<long long>(cases.size()));
    EXPECT_EQ(Row("length(file_orig_msg)", 1), "120");
    EXPECT_EQ(Count("pross_log", "prostxt='EB111204 파일처리 완료'"), 1);

    // The answer: the refused records only, as received but for bytes 92-96.
    const std::string eb12 = CreateEb12File(*db, session, ui, "20261204");
    ASSERT_FALSE(eb12.empty());
    std::ifstream in(eb12, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 12u * 120u);
    EXPECT_EQ(bytes.substr(0, 33), "H00000000" + inst.org_code + "EB121204261204");
    const std::string first = bytes.substr(120, 120);
    const std::string received = test::Eb11Data(inst.org_code, "261204", 2, cases[1].line);
    EXPECT_EQ(first.substr(0, 91), received.substr(0, 91));
    EXPECT_EQ(first.substr(91, 5), "NA013");
    EXPECT_EQ(first.substr(96), received.substr(96));
    const std::string trailer = bytes.substr(11 * 120);
    EXPECT_EQ(trailer.substr(0, 27), "T99999999" + inst.org_code + "EB121204");
    // 10 returned: 4 new, 0, 5 cancellations, 1 arbitrary.
    EXPECT_EQ(trailer.substr(27, 40), "0000001000000004000000000000000500000001");
    EXPECT_EQ(trailer.substr(67, 43), std::string(43, ' '));
    EXPECT_EQ(trailer.substr(110), "MAC0123456");

    // The same day again is refused and changes nothing.
    const std::string copy =
        Drop(test::Eb11Bytes(inst.org_code, "261204", lines, "MAC0123456"), "EB111204");
    ui.shown.clear();
    EXPECT_FALSE(ApplyEb11File(*db, session, ui, copy, Eb11Mode::BankReceipt).applied);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb11AlreadyAppliedText});
    EXPECT_EQ(Count("file_ea11"), static_cast<long long>(cases.size()));

    // Answered: marked once.
    ui.shown.clear();
    EXPECT_TRUE(MarkEb12Sent(*db, session, ui, "20261204"));
    EXPECT_FALSE(MarkEb12Sent(*db, session, ui, "20261204"));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kEb12MarkedText, kEb12CannotMarkText}));
    EXPECT_EQ(Count("file_ea11", "pross_stat='1'"), static_cast<long long>(cases.size()));
}

TEST_F(Eb11ApplyTest, AnEb12WithoutRefusalsIsHeaderAndTrailerOnly) {
    session.bank_receipt_switch = true;
    const std::string path = Drop(test::Eb11Bytes(
        inst.org_code, "261204", {{"1", "0000012345", "004", "12345678", "900101"}}, "ABCDE"));
    ASSERT_TRUE(ApplyEb11File(*db, session, ui, path, Eb11Mode::BankReceipt).applied);
    const std::string eb12 = CreateEb12File(*db, session, ui, "20261204");
    ASSERT_FALSE(eb12.empty());
    std::ifstream in(eb12, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 240u);
    EXPECT_EQ(bytes.substr(120, 1), "T");
    EXPECT_EQ(bytes.substr(147, 8), "00000000");
    EXPECT_EQ(bytes.substr(230), "ABCDE     ");
    // Written once: a second writing is refused and the file kept.
    ui.shown.clear();
    EXPECT_TRUE(CreateEb12File(*db, session, ui, "20261204").empty());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb12ExistsText});
    // Days that were not applied have no answer.
    ui.shown.clear();
    EXPECT_TRUE(CreateEb12File(*db, session, ui, "20261205").empty());
    EXPECT_TRUE(CreateEb12File(*db, session, ui, "").empty());
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kEb12NotAppliedText, kEb12NoSelectionText}));
}

TEST_F(Eb11ApplyTest, MalformedFilesAreRefusedWholeAndWriteNothing) {
    session.bank_receipt_switch = true;
    const Eb11Line line{"1", "0000012345", "004", "12345678", "900101"};
    const std::string org = inst.org_code;
    const std::string data = test::Eb11Data(org, "261204", 1, line);
    const std::string trailer = test::Eb11Trailer(org, "EB111204", 1, 1, 0, 0, "M");
    struct Case {
        const char* what;
        std::string bytes, name, message;
    };
    const std::vector<Case> cases = {
        {"record type X",
         test::Eb11Header(org, "EB111204", "261204") + test::Eb11Data(org, "261204", 1, line, 'X') +
             trailer,
         "EB111204", kEb11BadRecordText},
        {"no header", data + trailer, "EB111204", kEb11BadRecordText},
        {"no trailer", test::Eb11Header(org, "EB111204", "261204") + data, "EB111204",
         kEb11BadRecordText},
        {"cut record", test::Eb11Header(org, "EB111204", "261204") + data.substr(0, 60), "EB111204",
         kEb11BadRecordText},
        {"kind 5",
         test::Eb11Header(org, "EB111204", "261204") +
             test::Eb11Data(org, "261204", 1, {"5", "0000012345", "004", "1", "2"}) + trailer,
         "EB111204", kEb11BadRecordText},
        {"header names another file", test::Eb11Header(org, "EB111205", "261204") + data + trailer,
         "EB111204", kEb11NameDateText},
        {"header date of another day", test::Eb11Header(org, "EB111204", "261205") + data + trailer,
         "EB111204", kEb11NameDateText},
        {"no real date",
         test::Eb11Header(org, "EB111231", "261231").replace(27, 6, "26123X") + data + trailer,
         "EB111231", kEb11NameDateText},
        {"foreign institution",
         test::Eb11Header("9999999999", "EB111204", "261204") + data + trailer, "EB111204",
         kEb11OtherInstitutionText},
    };
    for (const Case& c : cases) {
        ui.shown.clear();
        const std::string path = Drop(c.bytes, c.name);
        const Eb11ApplyResult r = ApplyEb11File(*db, session, ui, path, Eb11Mode::BankReceipt);
        EXPECT_FALSE(r.applied) << c.what;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{c.message}) << c.what;
        fs::remove(path);
    }
    EXPECT_EQ(Count("file_ea11"), 0);
    EXPECT_EQ(Count("member_user"), 0);
    EXPECT_EQ(Count("pross_log", "prostxt like '%처리불가 파일'"),
              static_cast<long long>(cases.size()));
}

TEST_F(Eb11ApplyTest, StandardScreenRefusesUnknownPayersAndChangesAccountsWithHistory) {
    session.bank_receipt_switch = false;
    const std::string change = Member({"0040000", "1111", "800101", "2", "13"});
    const std::string onHold = Member({"0040000", "1212", "800101", "3", "13"});
    const std::string pending = Member({"0040000", "2222", "800101", "1", "1"});
    const std::string deleted = Member({"0040000", "3333", "800101", "4"});
    const std::string cancel = Member({"0060000", "4444", "800101"});
    const std::string giro = Member({"0040000", "5555", "800101", "1", "0", "3"});
    const std::vector<Expect> cases = {
        {{"1", change, "020", "7777", "900101"}, kEb11AccountChangedText, false},
        {{"1", onHold, "004", "1212", "800101"}, kEb11AccountChangedText, false},
        {{"1", pending, "004", "2222", "800101"}, kEb11PendingText, false},
        {{"3", deleted, "004", "3333", "800101"}, kEb11DeletedText, true, "A017"},
        {{"3", cancel, "004", "4444", "800101"}, kEb11CancelledText, false},
        {{"1", "0000099999", "004", "1", "1"}, kEb11UnregisteredText, true, "A013"},
        {{"1", "ABC", "004", "1", "1"}, kEb11BadPayerFormText, true, "A013"},
        {{"3", giro, "004", "5555", "800101"}, kEb11NotCmsText, true, "A013"},
        {{"3", cancel, "004", "4444", "800101", "1234567890"},
         kEb11WrongInstitutionText,
         true,
         "A013"},
    };
    std::vector<Eb11Line> lines;
    for (const auto& c : cases) lines.push_back(c.line);
    const std::string path = Drop(test::Eb11Bytes(inst.org_code, "261204", lines, "MAC"));

    const Eb11ApplyResult r = ApplyEb11File(*db, session, ui, path, Eb11Mode::Standard);

    ASSERT_TRUE(r.applied) << r.error;
    EXPECT_EQ(r.refused, 5);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const long long serial = static_cast<long long>(i) + 1;
        EXPECT_EQ(Row("result", serial), cases[i].result) << serial;
        EXPECT_EQ(Row("result_char", serial), cases[i].refused ? "N" : "") << serial;
        EXPECT_EQ(Row("result_code", serial), cases[i].code) << serial;
    }
    EXPECT_EQ(MemberField("concat(remove,cms_status,cms_agree_status,'|',bank_code,'|',"
                          "account_no,'|',account_jumin)",
                          change),
              "13P|0200000|7777|900101");
    EXPECT_EQ(MemberField("concat(remove,cms_status,cms_agree_status)", onHold), "33P");
    EXPECT_EQ(MemberField("concat(remove,cms_status)", pending), "11");
    EXPECT_EQ(MemberField("concat(remove,cms_status)", cancel), "213");
    EXPECT_EQ(
        Count("iltable", "illinkinx=" + change +
                             " and ilcombo='EB11-계좌변경' and ilstat='3' "
                             "and ilsang='0040000/1111/800101 에서 0200000/7777/900101 로 변경'"),
        1);
    EXPECT_EQ(Count("iltable", "illinkinx=" + cancel +
                                   " and ilcombo='EB11-회원상태변경' and "
                                   "ilsang='납부자번호 : [" +
                                   cancel + "], 회원상태 : [정상]->[해지] 로 변경'"),
              1);
    EXPECT_EQ(Count("iltable"), 3);
    EXPECT_EQ(Count("member_user", "member_inx=99999"), 0);
}

TEST_F(Eb11ApplyTest, TwoDesksApplyingOneDayApplyItOnce) {
    session.bank_receipt_switch = true;
    const std::string bytes = test::Eb11Bytes(
        inst.org_code, "261204", {{"1", "0000012345", "004", "12345678", "900101"}}, "M");
    const std::string path = Drop(bytes);
    SessionContext other = session;
    other.SystemDrive = (root / "desk2").string() + "/";
    const std::string otherPath = [&] {
        const fs::path folder = MakeExchangeFolder(other, "EB11");
        std::ofstream(folder / "EB111204", std::ios::binary) << bytes;
        return (folder / "EB111204").string();
    }();
    std::atomic<int> applied{0};
    auto desk = [&](const SessionContext& s, const std::string& p) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        test::ScriptedInteraction quiet;
        if (ApplyEb11File(*conn, s, quiet, p, Eb11Mode::BankReceipt).applied) ++applied;
    };
    std::thread a(desk, session, path), b(desk, other, otherPath);
    a.join();
    b.join();
    EXPECT_EQ(applied.load(), 1);
    EXPECT_EQ(Count("file_ea11"), 1);
    EXPECT_EQ(Count("user_item", "ui_perinx=12345"), 1);
}

TEST_F(Eb11ApplyTest, AFailureHalfWayThroughLeavesNothingOfTheFile) {
    session.bank_receipt_switch = true;
    const std::string cancelled = Member({"0040000", "1111", "800101"});
    // The first record cancels a member, the second creates one whose item
    // cannot be written: the cancellation must be undone with it.
    const std::string path = Drop(test::Eb11Bytes(inst.org_code, "261204",
                                                  {{"3", cancelled, "004", "1111", "800101"},
                                                   {"1", "0000054321", "004", "1", "2"},
                                                   {"1", "0000012345", "004", "1", "2"}},
                                                  "M"));
    db->ExecuteSql("insert into " + schema + ".item (item_name) values ('월회비')");
    db->ExecuteSql("alter table " + schema + ".user_item rename to " + schema + ".user_item_gone");
    EXPECT_THROW(ApplyEb11File(*db, session, ui, path, Eb11Mode::BankReceipt), DatabaseError);
    db->ExecuteSql("alter table " + schema + ".user_item_gone rename to " + schema + ".user_item");
    EXPECT_EQ(Count("file_ea11"), 0);
    EXPECT_EQ(Count("member_user", "member_inx in (54321, 12345)"), 0);
    EXPECT_EQ(MemberField("concat(remove,cms_status)", cancelled), "13");
    // Applied again once the table is back: every record, once.
    ASSERT_TRUE(ApplyEb11File(*db, session, ui, path, Eb11Mode::BankReceipt).applied);
    EXPECT_EQ(Count("file_ea11"), 3);
    EXPECT_EQ(MemberField("concat(remove,cms_status)", cancelled), "213");
}

TEST_F(Eb11ApplyTest, TheListShowsEachFileWithItsState) {
    Drop(test::Eb11Bytes(inst.org_code, "261204", {{"1", "1", "004", "1", "1"}}, "M"));
    Drop(test::Eb11Bytes("9999999999", "261205", {{"1", "1", "004", "1", "1"}}, "M"), "EB111205");
    const auto files = ListEb11Files(*db, session);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].state, kEb11NotAppliedState);
    EXPECT_EQ(files[1].state, kEb11OtherInstitutionText);
    session.bank_receipt_switch = true;
    ASSERT_TRUE(ApplyEb11File(*db, session, ui, files[0].path, Eb11Mode::BankReceipt).applied);
    EXPECT_EQ(ListEb11Files(*db, session)[0].state, kEb11AlreadyAppliedText);
    EXPECT_EQ(Eb11Years(*db, session), std::vector<std::string>{"2026"});
    const auto rows = Eb11Detail(*db, session, "20261204");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "신규");
    EXPECT_EQ(rows[0][1], "0000000001");
    EXPECT_EQ(rows[0][7], "참가기관 접수처리");
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

// Records of every channel on the screen for institutions that take no new
// members from banks: the channel each shows, and an account change that
// arrives as the old account's cancellation and the new account's
// registration.
TEST_F(Eb11ApplyTest, EveryChannelIsShownAndAnAccountChangeKeepsTheMembersState) {
    session.bank_receipt_switch = false;
    const std::string held = Member({"0040000", "1000", "800101", "3", "3"});
    const std::string active = Member({"0200000", "2000", "800202", "1", "3"});
    const std::string counter = Member({"0040000", "3000", "800303", "1", "3"});
    const std::string service = Member({"0040000", "4000", "800404", "1", "3"});
    Eb11Line oldHeld{"7", held, "004", "1000", "800101"};
    oldHeld.channel = "CHNG";
    Eb11Line newHeld{"1", held, "088", "1001", "800101"};
    newHeld.channel = "CHNG";
    Eb11Line oldActive{"3", active, "020", "2000", "800202"};
    oldActive.channel = "CHNG";
    Eb11Line newActive{"1", active, "011", "2001", "800202"};
    newActive.channel = "CHNG";
    Eb11Line counterCancel{"3", counter, "004", "3000", "800303"};
    Eb11Line serviceCancel{"7", service, "004", "4000", "800404"};
    Eb11Line unknown{"1", "0000077777", "004", "5000", "800505"};
    unknown.channel = "";
    const std::string path = Drop(test::Eb11Bytes(
        inst.org_code, "261204",
        {oldHeld, newHeld, oldActive, newActive, counterCancel, serviceCancel, unknown}, "MAC"));

    ASSERT_TRUE(ApplyEb11File(*db, session, ui, path, Eb11Mode::Standard).applied);

    const auto rows = Eb11Detail(*db, session, "20261204");
    ASSERT_EQ(rows.size(), 7u);
    const char* channels[] = {"통합관리서비스 계좌변경", "참가기관 계좌변경",
                              "참가기관 계좌변경",       "참가기관 계좌변경",
                              "참가기관 접수처리",       "통합관리서비스 접수처리",
                              "접수채널 정보없음"};
    const char* results[] = {kEb11CancelledText,      kEb11AccountChangedText, kEb11CancelledText,
                             kEb11AccountChangedText, kEb11CancelledText,      kEb11CancelledText,
                             kEb11UnregisteredText};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][7], channels[i]) << i;
        EXPECT_EQ(rows[i][5], results[i]) << i;
    }
    // The held member is still on hold on the new account; the active one
    // is active on his; both wait for their agreement evidence.
    EXPECT_EQ(MemberField("concat(remove,'|',cms_status,'|',cms_agree_status,'|',bank_code,'|',"
                          "account_no)",
                          held),
              "3|3|P|0880000|1001");
    EXPECT_EQ(MemberField("concat(remove,'|',cms_status,'|',cms_agree_status,'|',bank_code,'|',"
                          "account_no)",
                          active),
              "1|3|P|0110000|2001");
    EXPECT_EQ(MemberField("concat(remove,cms_status)", counter), "213");
    EXPECT_EQ(MemberField("concat(remove,cms_status)", service), "213");
    EXPECT_EQ(Count("iltable", "illinkinx=" + held +
                                   " and ilcombo='EB11-계좌변경' and ilsang='0040000/1000/800101 "
                                   "에서 0880000/1001/800101 로 변경'"),
              1);
    EXPECT_EQ(Count("iltable", "illinkinx=" + held +
                                   " and ilcombo='EB11-회원상태변경' and "
                                   "ilsang like '%[보류]->[해지]%'"),
              1);
    EXPECT_EQ(Count("iltable", "illinkinx=" + active + " and ilcombo='EB11-계좌변경'"), 1);
}

// The relay's notices: only the institution's own, of the year asked for,
// with their kind, channel and state texts.
TEST_F(Eb11ApplyTest, RelayNoticesListTheInstitutionsOwnOfTheYear) {
    ASSERT_EQ(db->scalarInt("select count(*) from information_schema.tables where "
                            "table_schema='sdsi' and table_name='acnt_status_check'"),
              1);
    db->ExecuteSql("delete from sdsi.acnt_status_check where asc_cominx in (?, ?)",
                   {inst.inx, inst.inx + 900000});
    struct Notice {
        long long inx;
        const char *day, *kind, *payer, *channel, *state, *msg;
    };
    const Notice notices[] = {
        {inst.inx, "20261204", "C", "0000000010", "CHNG", "2", ""},
        {inst.inx, "20261204", "D", "0000000011", "CNCL", "4", "미등록"},
        {inst.inx, "20261130", "D", "0000000012", "", "3", ""},
        {inst.inx, "20251231", "C", "0000000013", "CHNG", "0", ""},
        {inst.inx + 900000, "20261204", "C", "0000000014", "CHNG", "1", ""},
    };
    for (const Notice& n : notices) {
        db->ExecuteSql(
            "insert into sdsi.acnt_status_check (asc_cominx, asc_reg_date, asc_reg_kind, "
            "asc_user_no, asc_bank_code, asc_account_no, asc_id_no, asc_channel, "
            "asc_pross_status, asc_result_msg) values (?,?,?,?,'0040000','123','800101',?,?,?)",
            {n.inx, n.day, n.kind, n.payer, n.channel, n.state, n.msg});
    }
    const auto rows = RelayNotices(*db, session, "2026");
    db->ExecuteSql("delete from sdsi.acnt_status_check where asc_cominx in (?, ?)",
                   {inst.inx, inst.inx + 900000});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"계좌변경", "20261204", "0000000010", "0040000", "123",
                                        "800101", "참가기관 계좌변경", "처리대기중", ""}));
    EXPECT_EQ(rows[1][0], "해지");
    EXPECT_EQ(rows[1][6], "참가기관 접수처리");
    EXPECT_EQ(rows[1][7], "처리불가");
    EXPECT_EQ(rows[1][8], "미등록");
    EXPECT_EQ(rows[2][1], "20261130");
    EXPECT_EQ(rows[2][6], "접수채널 정보없음");
    EXPECT_EQ(rows[2][7], "처리완료");
    EXPECT_EQ(RelayNoticeColumns().size(), rows[0].size());
}

}  // namespace
}  // namespace qx
