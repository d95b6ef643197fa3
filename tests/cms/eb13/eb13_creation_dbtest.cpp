// EB13 creation against a real server: who is selected, what the file holds
// byte for byte, what is recorded, and that a refused or interrupted
// creation leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cms/eb13/eb13_creation.h"
#include "cms/eb13/eb13_targets.h"
#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "platform/codepage.h"
#include "platform/profile_ini.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

struct Member {
    std::string remove = "1", cms_status = "0", settle_accounts = "1";
    std::string username = "회원", bank_code = "0040000", account_no = "12345678901";
    std::string account_name = "예금주", account_jumin = "800101";
    std::string certificate_kind = "3", certificate_number, cms_agree_status = "0";
};

class Eb13CreationTest : public test::FreshInstitutionTest {
  protected:
    void Open(int cmsrunprg) {
        OpenInstitution(cmsrunprg);
        root = fs::temp_directory_path() / ("qx-eb13-" + std::to_string(inst.inx));
        fs::create_directories(root);
        session.SystemDrive = root.string() + "/";
        session.fileback_folder = (root / "back").string();
        // Thursday 3 December 2026, morning.
        test::PinServerClock(*db, "2026-12-03 10:00:00");
    }
    void SetUp() override { Open(1); }
    void TearDown() override {
        test::UnpinServerClock(*db);
        fs::remove_all(root);
    }

    long long Add(const Member& m) {
        db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                           ".member_user (remove, cms_status, settle_accounts, username, "
                           "bank_code, account_no, account_name, account_jumin, certificate_kind, "
                           "certificate_number, cms_agree_status) values (?,?,?,?,?,?,?,?,?,?,?)",
                       {m.remove, m.cms_status, m.settle_accounts, m.username, m.bank_code,
                        m.account_no, m.account_name, m.account_jumin, m.certificate_kind,
                        m.certificate_number, m.cms_agree_status});
        return db->lastInsertId();
    }
    std::string Column(long long member, const std::string& column) {
        return db->scalar("select " + column + " from " + InstitutionSchema(inst.inx) +
                              ".member_user where member_inx=?",
                          {member});
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + InstitutionSchema(inst.inx) + "." + table +
                             " where " + where);
    }
    std::vector<long long> Selected() {
        std::vector<long long> out;
        for (const auto& t : SearchEb13Targets(*db, session)) out.push_back(t.member_inx);
        return out;
    }
    Eb13Result Create(const CivilDate& date, Eb13ClosingQuestion q = Eb13ClosingQuestion::Send) {
        Eb13Request request;
        request.fileDate = date;
        request.targets = SearchEb13Targets(*db, session);
        request.question = q;
        return CreateEb13File(*db, session, ui, request);
    }
    std::vector<std::string> FolderEntries() {
        std::vector<std::string> names;
        const fs::path folder = ExchangeFolder(session, "EB13");
        if (!fs::exists(folder)) return names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
        return names;
    }
    std::string ReadFile(const std::string& path) { return ReadWholeFile(path).value_or(""); }

    test::ScriptedInteraction ui;
    fs::path root;
    const CivilDate friday{2026, 12, 4};
};

TEST_F(Eb13CreationTest, KftcSelectionMarksBadBankCodesAndOrdersNewFirst) {
    Member cancel;
    cancel.remove = "2";
    cancel.cms_status = "11";
    const long long c1 = Add(cancel);
    const long long n1 = Add({});
    Member deleted;
    deleted.remove = "4";
    deleted.cms_status = "15";
    const long long d15 = Add(deleted);
    deleted.cms_status = "3";
    const long long d3 = Add(deleted);
    Member badBank;
    badBank.bank_code = "004";
    const long long bb = Add(badBank);
    Member requested;
    requested.cms_status = "1";
    Add(requested);
    Member card;
    card.settle_accounts = "5";
    Add(card);
    Member broken;
    broken.username = "줄\r\n바꿈\t";
    const long long n2 = Add(broken);

    EXPECT_EQ(Selected(), (std::vector<long long>{n1, n2, c1, d15, d3}));
    EXPECT_EQ(Column(bb, "cms_status"), "2");
    EXPECT_EQ(Column(bb, "cms_error"), "은행코드오류");
    EXPECT_EQ(Column(n2, "username"), "줄바꿈");
}

TEST_F(Eb13CreationTest, RelaySelectionChecksPhonesAccountsAndEvidence) {
    Open(2);
    Member phone;
    phone.certificate_kind = "1";
    phone.certificate_number = "01012345678";
    const long long ok = Add(phone);
    phone.certificate_number = "0211234567";
    const long long badPhone = Add(phone);
    Member shortAccount;
    shortAccount.account_no = "123456";
    const long long shortAcc = Add(shortAccount);
    Member sevenDigits;
    sevenDigits.account_no = "1234567";
    const long long seven = Add(sevenDigits);  // passes the mark, but the relay wants 8
    Member deleted;
    deleted.remove = "4";
    deleted.cms_status = "3";
    Add(deleted);  // only state 15 is cancelled through the relay
    deleted.cms_status = "15";
    deleted.certificate_kind = "";
    const long long d15 = Add(deleted);

    EXPECT_EQ(Selected(), (std::vector<long long>{ok, d15}));
    EXPECT_EQ(Column(badPhone, "cms_error"), "계좌주휴대폰오류");
    EXPECT_EQ(Column(shortAcc, "cms_error"), "계좌자릿수오류 또는 예금주번호오류");
    EXPECT_EQ(Column(seven, "cms_status"), "0");

    // With agreement evidence required, a new member waits for its evidence.
    session.agreement_evidence_switch = true;
    EXPECT_EQ(Selected(), (std::vector<long long>{d15}));
    db->ExecuteSql("update " + InstitutionSchema(inst.inx) +
                       ".member_user set cms_agree_status='2' where member_inx=?",
                   {ok});
    EXPECT_EQ(Selected(), (std::vector<long long>{ok, d15}));
}

TEST_F(Eb13CreationTest, RelayAcceptsOnlyMobileNumbersOfTenOrElevenDigits) {
    Open(2);
    Member phone;
    phone.certificate_kind = "1";
    std::vector<long long> ok, bad;
    for (const char* n : {"0101234567", "01912345678"}) {
        phone.certificate_number = n;
        ok.push_back(Add(phone));
    }
    for (const char* n : {"012123456789", "0121234567", "010123456"}) {
        phone.certificate_number = n;
        bad.push_back(Add(phone));
    }
    EXPECT_EQ(Selected(), ok);
    for (long long m : bad) EXPECT_EQ(Column(m, "cms_error"), "계좌주휴대폰오류") << m;
}

TEST_F(Eb13CreationTest, ThreeNewAndTwoCancellationsWriteTheFileRowsAndStates) {
    std::vector<long long> news;
    Member m;
    m.account_jumin = "8001011234567";
    news.push_back(Add(m));
    m.account_jumin = "1234567890";
    m.account_name = "";
    news.push_back(Add(m));
    m.bank_code = "0881234";
    news.push_back(Add(m));
    Member cancel;
    cancel.remove = "2";
    cancel.cms_status = "11";
    const long long c1 = Add(cancel);
    cancel.remove = "4";
    cancel.cms_status = "15";
    const long long c2 = Add(cancel);

    const Eb13Result r = Create(friday);
    ASSERT_EQ(r.outcome, Eb13Outcome::Created);
    EXPECT_EQ(r.newCount, 3);
    EXPECT_EQ(r.cancelCount, 2);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"EB131204"});

    const std::string bytes = ReadFile(r.path);
    ASSERT_EQ(bytes.size(), 7u * 120u);
    EXPECT_EQ(bytes.substr(0, 33), "H00000000" + inst.org_code + "EB131204261204");
    const std::string first = bytes.substr(120, 120);
    EXPECT_EQ(first.substr(0, 26), "R00000001" + inst.org_code + "2612041");
    EXPECT_EQ(first.substr(26, 20),
              PadPayerNumber(std::to_string(news[0]), 10) + std::string(10, ' '));
    EXPECT_EQ(first.substr(69, 16), "800101          ");
    EXPECT_EQ(bytes.substr(360 + 46, 7), "0880000");
    EXPECT_EQ(bytes.substr(480 + 25, 1), "3");
    const std::string trailer = bytes.substr(720);
    EXPECT_EQ(trailer.substr(27, 40), "0000000500000003000000000000000200000000");

    EXPECT_EQ(Count("ea13",
                    "filename='EB13261204' and create_cnt=3 and delete_cnt=2 and "
                    "total_cnt=5 and pross_stat='0' and send_stat='0'"),
              1);
    EXPECT_EQ(Count("file_ea13", "reg_date='261204'"), 5);
    EXPECT_EQ(db->scalar("select id_no from " + InstitutionSchema(inst.inx) +
                         ".file_ea13 where seq_num=1 and reg_date='261204'"),
              "8001011234567");
    EXPECT_EQ(db->scalar("select concat(reg_kind,'|',user_no,'|',bank_code,'|',account_name,'|',"
                         "oldcms_status) from " +
                         InstitutionSchema(inst.inx) + ".file_ea13 where seq_num=3"),
              "1|" + std::to_string(news[2]) + "|0880000|빈값|0");
    for (long long n : news) EXPECT_EQ(Column(n, "cms_status"), "1");
    EXPECT_EQ(Column(c1, "cms_status"), "12");
    EXPECT_EQ(Column(c2, "cms_status"), "12");
    EXPECT_EQ(Count("pross_log", "prosnum=5 and prostxt like 'EB13261204 파일생성%'"), 1);

    ASSERT_FALSE(ui.shown.empty());
    const auto& closing = ui.shown.back();
    EXPECT_TRUE(closing.question);
    EXPECT_EQ(closing.text,
              "총 '5' 건의 [EB131204] 파일을 생성하였습니다.\r\n\r\n생성한 파일을 바로 올려주시지 "
              "않으면,\r\n송신시 데이터 오류가 발생할 수 있습니다.\r\n\r\n작성한 파일을 송신 "
              "하시겠습니까?");

    // The same day again is refused before anything is written.
    ui.shown.clear();
    Add({});
    EXPECT_EQ(Create(friday).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13DuplicateText});
    EXPECT_EQ(Count("file_ea13"), 5);
}

TEST_F(Eb13CreationTest, TwoHundredFiftyTargetsGoInStatementsOfAHundred) {
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".member_user (username, bank_code, account_no, account_jumin) "
                   "select concat('회원', seq), '0040000', '12345678901', '800101' "
                   "from seq_1_to_250");
    const Eb13Result r = Create(friday, Eb13ClosingQuestion::Return);
    ASSERT_EQ(r.outcome, Eb13Outcome::Created);
    EXPECT_EQ(ui.progressed,
              (std::vector<std::pair<long long, long long>>{{100, 250}, {200, 250}, {250, 250}}));
    EXPECT_EQ(Count("file_ea13"), 250);
    EXPECT_EQ(Count("file_ea13", "seq_num between 1 and 250"), 250);
    EXPECT_EQ(Count("member_user", "cms_status='1'"), 250);
    EXPECT_EQ(fs::file_size(r.path), 252u * 120u);
    const std::string& closing = ui.shown.back().text;
    EXPECT_EQ(closing.substr(closing.rfind("\r\n") + 2), kEb13ReturnQuestion);
}

TEST_F(Eb13CreationTest, RefusalsComeInOrderAndWriteNothing) {
    // A Saturday is refused before the empty list is noticed.
    EXPECT_EQ(Create(CivilDate{2026, 12, 5}).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13HolidayText});
    ui.shown.clear();
    EXPECT_EQ(Create(friday).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13NoTargetsText});

    Add({});
    db->ExecuteSql(
        "insert ignore into quorisdex.holiday (inday, holiname) values "
        "('2026-12-08', '시험휴일')");
    ui.shown.clear();
    EXPECT_EQ(Create(CivilDate{2026, 12, 8}).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13HolidayText});
    db->ExecuteSql("delete from quorisdex.holiday where inday='2026-12-08'");

    ui.shown.clear();
    const Eb13Result past = Create(CivilDate{2026, 12, 2});
    EXPECT_EQ(past.outcome, Eb13Outcome::DateReset);
    EXPECT_EQ(past.fileDate, (CivilDate{2026, 12, 3}));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13PastDateText});

    // A request that is neither an evidenced new member nor a pending
    // cancellation: the user is sent to the EI13 screen first.
    session.agreement_evidence_switch = true;
    Member deleted;
    deleted.remove = "4";
    deleted.cms_status = "3";
    Add(deleted);
    ui.shown.clear();
    ui.answers = {true};
    EXPECT_EQ(Create(friday).outcome, Eb13Outcome::OpenEi13Screen);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13Ei13FirstText});

    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Count("member_user", "cms_status in ('1','12')"), 0);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(Eb13CreationTest, AnInterruptedCreationLeavesNoHalfState) {
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".member_user (username, bank_code, account_no, account_jumin) "
                   "select concat('회원', seq), '0040000', '12345678901', '800101' "
                   "from seq_1_to_180");
    Eb13Request request;
    request.fileDate = friday;
    request.targets = SearchEb13Targets(*db, session);
    // Another workstation requests member 150 after this one listed it.
    db->ExecuteSql("update " + InstitutionSchema(inst.inx) +
                       ".member_user set cms_status='1' where member_inx=?",
                   {request.targets[149].member_inx});
    const Eb13Result r = CreateEb13File(*db, session, ui, request);
    EXPECT_EQ(r.outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13StaleTargetsText});
    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Count("member_user", "cms_status='1'"), 1);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(Eb13CreationTest, BranchUsersAreNotOfferedTransmission) {
    Add({});
    session.brinx = 1;
    ui.answers = {true};
    ASSERT_EQ(Create(friday).outcome, Eb13Outcome::Created);
    EXPECT_EQ(ui.texts().back(), kEb13BranchSendText);
}

}  // namespace
}  // namespace qx
