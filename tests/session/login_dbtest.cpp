// Login against real accounts: refusal codes, the session it fills, the
// saveip record, hostile ids.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>

#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/database.h"
#include "platform/http.h"
#include "platform/loopback_http.h"
#include "session/login.h"
#include "session/service_web.h"
#include "support/test_database.h"

namespace qx {
namespace {

class LoginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        inst = test::CreateTestInstitution(*db);
        brinx = db->scalarInt("select coalesce(max(brinx),0)+1 from quorisdex.company_branch");
        CreateBranch(*db, {inst.inx, brinx, 0, inst.id + "b", "bpw", "시험지사"});
        aginx = db->scalarInt("select coalesce(max(aginx),0)+1 from quorisdex.company_agency");
        CreateAgency(*db, {inst.inx, brinx, aginx, inst.id + "a", "apw", "시험대리점"});
    }

    int Login(const std::string& id, const std::string& pw, const std::string& ip = "") {
        session = SessionContext{};
        return ValidateLogin(*db, session, id, pw, [ip] { return ip; });
    }

    long long SaveipRows(const std::string& id) {
        return db->scalarInt("select count(*) from quorisdex.saveip where login_id=?", {id});
    }

    std::unique_ptr<Database> db;
    test::TestInstitution inst;
    long long brinx = 0, aginx = 0;
    SessionContext session;
};

TEST_F(LoginTest, HeadOfficeFillsSessionFromItsRow) {
    db->ExecuteSql(
        "update quorisdex.admin_company set company_number='123-45-67890', cms_set=?, "
        "cmsinx_style='N-12', monthdivide='Y', bank_receipt='Y', vir_prgcre='1', "
        "add_info6='  ABCDEFGHIJ ', month_max=3 where inx=?",
        {"000000000700001", inst.inx});
    ASSERT_EQ(Login(inst.id, inst.password), kLoginAccepted);
    EXPECT_EQ(session.institution_number, inst.inx);
    EXPECT_EQ(session.brinx, 0);
    EXPECT_EQ(session.aginx, 0);
    EXPECT_TRUE(session.isHeadOffice());
    EXPECT_EQ(session.org_code, inst.org_code);
    EXPECT_EQ(session.company_number, "1234567890");
    EXPECT_EQ(session.payer_number_length, 12);
    EXPECT_EQ(session.prgset9, 7);
    EXPECT_EQ(session.prgstat[kItemsUnused], 0);  // position 15 is "1": items used
    EXPECT_TRUE(session.month_divide_switch);
    EXPECT_TRUE(session.bank_receipt_switch);
    EXPECT_TRUE(session.virtual_account_switch);
    EXPECT_EQ(session.add_in_code, "ABCDEFGH");
    EXPECT_EQ(session.month_max, 3);
    // A style other than N-10 needs the translation table.
    EXPECT_EQ(db->scalarInt("select count(*) from information_schema.tables where "
                            "table_schema=? and table_name='cmsinx_list'",
                            {session.schema()}),
              1);
}

TEST_F(LoginTest, BranchAndAgencyTakeTheirOwnNumbersAndCaps) {
    db->ExecuteSql("update quorisdex.company_branch set month_max=5 where brinx=?", {brinx});
    ASSERT_EQ(Login(inst.id + "b", "bpw"), kLoginAccepted);
    EXPECT_EQ(session.institution_number, inst.inx);
    EXPECT_EQ(session.brinx, brinx);
    EXPECT_EQ(session.aginx, 0);
    EXPECT_EQ(session.company, "시험지사");
    EXPECT_EQ(session.org_code, "");
    EXPECT_EQ(session.month_max, 5);
    EXPECT_FALSE(session.bank_receipt_switch);

    ASSERT_EQ(Login(inst.id + "a", "apw"), kLoginAccepted);
    EXPECT_EQ(session.brinx, brinx);
    EXPECT_EQ(session.aginx, aginx);
    EXPECT_TRUE(session.isAgency());
    EXPECT_EQ(session.company, "시험대리점");
}

TEST_F(LoginTest, RefusalCodes) {
    EXPECT_EQ(Login("nobody-" + inst.id, "x"), kLoginUnknownId);
    EXPECT_EQ(Login(inst.id, "wrong"), kLoginWrongPassword);
    // The head office compares pw_org, never the MD5 column.
    const std::string md5 =
        db->scalar("select pw from quorisdex.admin_company where inx=?", {inst.inx});
    EXPECT_EQ(Login(inst.id, md5), kLoginWrongPassword);

    db->ExecuteSql("update quorisdex.admin_company set branch_name='cmsdorn' where inx=?",
                   {inst.inx});
    EXPECT_EQ(Login(inst.id, inst.password), kLoginAccountDisabled);
    db->ExecuteSql("update quorisdex.admin_company set branch_name='', usetag='N' where inx=?",
                   {inst.inx});
    EXPECT_EQ(Login(inst.id, inst.password), kLoginAccountDisabled);
    // A disabled head office shuts out its branches and agencies too.
    EXPECT_EQ(Login(inst.id + "b", "bpw"), kLoginAccountDisabled);
    EXPECT_EQ(Login(inst.id + "a", "apw"), kLoginAccountDisabled);
    db->ExecuteSql("update quorisdex.admin_company set usetag='Y' where inx=?", {inst.inx});

    // Head office in test: it may log in, its branch and agency may not.
    db->ExecuteSql("update quorisdex.admin_company set stat_company='0' where inx=?", {inst.inx});
    EXPECT_EQ(Login(inst.id, inst.password), kLoginAccepted);
    EXPECT_EQ(Login(inst.id + "b", "bpw"), kLoginHeadOfficeInTest);
    EXPECT_EQ(Login(inst.id + "a", "apw"), kLoginHeadOfficeInTest);
    db->ExecuteSql("update quorisdex.admin_company set stat_company='1' where inx=?", {inst.inx});

    db->ExecuteSql("update quorisdex.company_agency set rootbrinx=0 where aginx=?", {aginx});
    EXPECT_EQ(Login(inst.id + "a", "apw"), kLoginAgencyNotLinked);
    db->ExecuteSql("update quorisdex.company_agency set rootbrinx=?, rootinx=NULL where aginx=?",
                   {brinx, aginx});
    EXPECT_EQ(Login(inst.id + "a", "apw"), kLoginHeadOfficeUnusable);

    db->ExecuteSql("update quorisdex.company_branch set perinx=NULL where brinx=?", {brinx});
    EXPECT_EQ(Login(inst.id + "b", "bpw"), kLoginHeadOfficeUnusable);
    db->ExecuteSql("update quorisdex.company_branch set perinx=?, usetag='N' where brinx=?",
                   {inst.inx, brinx});
    EXPECT_EQ(Login(inst.id + "b", "bpw"), kLoginAccountDisabled);
    // Passwords are compared exactly, whatever the table's collation says.
    db->ExecuteSql("update quorisdex.company_branch set usetag='Y' where brinx=?", {brinx});
    EXPECT_EQ(Login(inst.id + "b", "BPW"), kLoginWrongPassword);
    EXPECT_EQ(Login(inst.id + "a", "APW"), kLoginWrongPassword);
    EXPECT_EQ(Login(inst.id, inst.password + " "), kLoginWrongPassword);
    std::string upper = inst.password;
    for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Login(inst.id, upper), kLoginWrongPassword);
}

TEST_F(LoginTest, RefusalMessagesAreTheShownTexts) {
    EXPECT_EQ(LoginRefusalMessage(1), "미등록된 아이디 입니다.");
    EXPECT_EQ(LoginRefusalMessage(2), "비밀번호가 일치 하지 않습니다.");
    EXPECT_EQ(LoginRefusalMessage(3), "사용이 금지된 계정입니다.");
    EXPECT_EQ(LoginRefusalMessage(4), "본사계정이 정지되었거나 사용할 수 없는 계정입니다.");
    EXPECT_EQ(LoginRefusalMessage(5),
              "본사계정이 현재 TEST중입니다. TEST완료후 지사에서 로그인 하실 수 있습니다.");
    EXPECT_EQ(LoginRefusalMessage(7), "대리점-지점의 연결이 잘못된 계정입니다.");
}

// The server matches ids regardless of case and trailing blanks; the session
// (and every folder named after it) takes the id as stored.
TEST_F(LoginTest, SessionTakesTheIdAsStored) {
    std::string upper = inst.id;
    for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct Case {
        std::string typed, password, stored;
    } cases[] = {
        {upper, inst.password, inst.id},
        {inst.id + " ", inst.password, inst.id},
        {inst.id + "B", "bpw", inst.id + "b"},
        {inst.id + "A", "apw", inst.id + "a"},
    };
    for (const auto& [typed, password, stored] : cases) {
        SCOPED_TRACE(typed);
        ASSERT_EQ(Login(typed, password, "203.0.113.8"), kLoginAccepted);
        EXPECT_EQ(session.LoginId, stored);
        session.SystemDrive = "/drive/";
        EXPECT_EQ(ExchangeFolder(session), "/drive/vornadir/" + stored);
    }
    // saveip keeps the stored id too: one row for all the spellings.
    EXPECT_EQ(SaveipRows(inst.id), 1);
}

TEST_F(LoginTest, HostileIdsAndPasswordsAreJustText) {
    const long long before = db->scalarInt("select count(*) from quorisdex.admin_company");
    for (const std::string& id :
         {std::string("' or '1'='1"), std::string("x'; drop table quorisdex.saveip; --"),
          std::string("\\' or 1=1 #"), inst.id + "' -- "}) {
        EXPECT_EQ(Login(id, "x"), kLoginUnknownId) << id;
    }
    EXPECT_EQ(Login(inst.id, "' or '1'='1"), kLoginWrongPassword);
    EXPECT_EQ(Login(inst.id, "\\"), kLoginWrongPassword);
    EXPECT_EQ(db->scalarInt("select count(*) from quorisdex.admin_company"), before);
    EXPECT_EQ(db->scalarInt("select count(*) from information_schema.tables where "
                            "table_schema='quorisdex' and table_name='saveip'"),
              1);
}

TEST_F(LoginTest, SaveipInsertedOnceThenUpdated) {
    ASSERT_EQ(Login(inst.id, inst.password, "<html>page</html>"), kLoginAccepted);
    EXPECT_EQ(SaveipRows(inst.id), 0) << "no address, no new row";

    test::PinServerClock(*db, "2026-12-01 09:00:00");
    ASSERT_EQ(Login(inst.id, inst.password, " 203.0.113.7\n"), kLoginAccepted);
    EXPECT_EQ(session.client_ip, "203.0.113.7");
    ASSERT_EQ(SaveipRows(inst.id), 1);
    auto row = db->OpenRecordset(
        "select login_db, login_ip, login_company, status, login_begin_time, login_last_time, "
        "login_prg_ver from quorisdex.saveip where login_id=?",
        {inst.id});
    EXPECT_EQ(row[0]["login_db"], std::to_string(inst.inx));
    EXPECT_EQ(row[0]["status"], "6");
    EXPECT_EQ(row[0]["login_prg_ver"], kProgramVersion);
    const std::string begin = row[0]["login_begin_time"];

    test::PinServerClock(*db, "2026-12-02 10:00:00");
    ASSERT_EQ(Login(inst.id, inst.password, "203.0.113.7"), kLoginAccepted);
    ASSERT_EQ(SaveipRows(inst.id), 1);
    row = db->OpenRecordset(
        "select login_begin_time, login_last_time from quorisdex.saveip where login_id=?",
        {inst.id});
    EXPECT_EQ(row[0]["login_begin_time"], begin);
    EXPECT_GT(row[0].asInt("login_last_time"), std::stoll(begin));

    // Another address is another row; branch and agency rows carry 7 and 8.
    ASSERT_EQ(Login(inst.id, inst.password, "198.51.100.1"), kLoginAccepted);
    EXPECT_EQ(SaveipRows(inst.id), 2);
    ASSERT_EQ(Login(inst.id + "b", "bpw", "198.51.100.1"), kLoginAccepted);
    ASSERT_EQ(Login(inst.id + "a", "apw", "198.51.100.1"), kLoginAccepted);
    EXPECT_EQ(db->scalar("select status from quorisdex.saveip where login_id=?", {inst.id + "b"}),
              "7");
    EXPECT_EQ(db->scalar("select status from quorisdex.saveip where login_id=?", {inst.id + "a"}),
              "8");
    test::UnpinServerClock(*db);
}

TEST_F(LoginTest, UnexpectedAddressAnswerRecordsNothingAndTheLoginGoesOn) {
    for (const std::string& answer :
         {std::string("203.0.113.5, 198.51.100.7"), std::string("203.0.113.5\xa1\xa2"),
          std::string(60, '7'), std::string("2001:db8::1 2001:db8::2")}) {
        ASSERT_EQ(Login(inst.id, inst.password, answer), kLoginAccepted) << answer;
        EXPECT_EQ(session.client_ip, "");
    }
    EXPECT_EQ(SaveipRows(inst.id), 0);
}

// A web host that accepts and never answers holds the login only for the
// short limit of a request a person waits for, also for a wrong password.
TEST_F(LoginTest, SilentWebHostDoesNotHoldTheLogin) {
    test::SilentLoopbackHost silent;
    for (const auto& [password, expected] :
         {std::pair<std::string, int>{inst.password, kLoginAccepted},
          std::pair<std::string, int>{"wrong", kLoginWrongPassword}}) {
        session = SessionContext{};
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ValidateLogin(*db, session, inst.id, password, ServiceIpLookup(silent.base())),
                  expected);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::milliseconds(kInteractiveHttpTimeoutMs + 3000));
        EXPECT_EQ(session.client_ip, "");
    }
}

TEST_F(LoginTest, LaunchCredentialsNeverAskForTheAddress) {
    session = SessionContext{};
    session.launched_with_credentials = true;
    bool asked = false;
    ASSERT_EQ(ValidateLogin(*db, session, inst.id, inst.password,
                            [&] {
                                asked = true;
                                return std::string("203.0.113.9");
                            }),
              kLoginAccepted);
    EXPECT_FALSE(asked);
    EXPECT_EQ(session.client_ip, "");
}

TEST_F(LoginTest, AgreementEvidenceSwitchFollowsTheStartDate) {
    // Evidence is due from noon of the day before ei_date.
    db->ExecuteSql("update quorisdex.admin_company set ei_date='261207' where inx=?", {inst.inx});
    test::PinServerClock(*db, "2026-12-06 11:59:00");
    ASSERT_EQ(Login(inst.id, inst.password), kLoginAccepted);
    EXPECT_FALSE(session.agreement_evidence_switch);
    test::PinServerClock(*db, "2026-12-06 12:00:00");
    ASSERT_EQ(Login(inst.id, inst.password), kLoginAccepted);
    EXPECT_TRUE(session.agreement_evidence_switch);
    // The Hyosung relay always collects agreement evidence.
    db->ExecuteSql("update quorisdex.admin_company set ei_date='991231', cmsrunprg='2' where inx=?",
                   {inst.inx});
    ASSERT_EQ(Login(inst.id, inst.password), kLoginAccepted);
    EXPECT_TRUE(session.agreement_evidence_switch);
    test::UnpinServerClock(*db);
}

}  // namespace
}  // namespace qx
