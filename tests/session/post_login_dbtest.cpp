// What runs after an accepted login: folders, the live switch, code-list
// expressions, automatic cancellations.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "session/login.h"
#include "session/post_login.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class PostLoginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        inst = test::CreateTestInstitution(*db);
        root = fs::temp_directory_path() / ("qx-postlogin-" + std::to_string(inst.inx));
        fs::create_directories(root / "app");
        ini = std::make_unique<ProfileIni>((root / "app" / "Login.ini").string());
    }
    void TearDown() override { fs::remove_all(root); }

    bool LoginAndStart() {
        session = SessionContext{};
        session.SystemDrive = (root / "drive").string() + "/";
        session.fileback_folder = session.SystemDrive + "quorisdex/fileback";
        session.LoginId = inst.id;
        EXPECT_EQ(ValidateLogin(*db, session, inst.id, inst.password, nullptr), kLoginAccepted);
        return InitSessionAfterLogin(*db, session, *ini, ui, nullptr);
    }

    long long AddMember(const std::string& divide, const std::string& remove,
                        const std::string& status, const std::string& pSeday = "",
                        const std::string& settle = "1") {
        db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                           ".member_user (username, account_divide, remove, cms_status, p_seday, "
                           "settle_accounts) values (?,?,?,?,?,?)",
                       {"회원", divide, remove, status, pSeday, settle});
        return db->lastInsertId();
    }

    std::pair<std::string, std::string> State(long long member) {
        auto rs =
            db->OpenRecordset("select remove, cms_status from " + InstitutionSchema(inst.inx) +
                                  ".member_user where member_inx=?",
                              {member});
        return {rs[0][0], rs[0][1]};
    }

    std::unique_ptr<Database> db;
    test::TestInstitution inst;
    fs::path root;
    std::unique_ptr<ProfileIni> ini;
    SessionContext session;
    test::ScriptedInteraction ui;
};

TEST_F(PostLoginTest, HeadOfficePreparesItsFoldersAndCaption) {
    ASSERT_TRUE(LoginAndStart());
    const fs::path back = root / "drive" / "quorisdex" / "fileback" / inst.id;
    for (const char* kind : {"EB11", "EB12", "EB13", "EB14", "EB15", "EB16", "EB21", "EB22"}) {
        EXPECT_TRUE(fs::is_directory(back / kind)) << kind;
    }
    EXPECT_TRUE(fs::is_directory(root / "drive" / "vornadir" / inst.id));
    EXPECT_EQ(session.relay_prefix, "bank");
    EXPECT_EQ(session.caption(), " Ravellon VER.26020315 [시험기관" + std::to_string(inst.inx) +
                                     " / " + inst.id + " / 금결원 이용기관코드 : " + inst.org_code +
                                     "]");
    db->ExecuteSql("update quorisdex.admin_company set stat_company='0', cmsrunprg='2' where inx=?",
                   {inst.inx});
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(session.relay_prefix, "bank2");
    EXPECT_NE(session.caption().find("/ 효성 이용기관코드"), std::string::npos);
    EXPECT_EQ(session.caption().substr(session.caption().size() - 14), "]-테스트중");
}

TEST_F(PostLoginTest, MissingSchemaIsReportedNotFailed) {
    db->ExecuteSql("drop database " + InstitutionSchema(inst.inx));
    EXPECT_FALSE(LoginAndStart());
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().text, kSchemaMissingMessage);
    EXPECT_EQ(ui.shown.back().title, "확인");
}

TEST_F(PostLoginTest, EndedPeriodMembersAreCancelledWithTheMapping) {
    test::PinServerClock(*db, "2026-12-06 09:00:00");
    const long long ended0 = AddMember("4", "1", "0", "26-11");
    const long long ended2 = AddMember("4", "1", "2", "26-11");
    const long long ended3 = AddMember("4", "1", "3", "26-10");
    const long long ended8 = AddMember("4", "1", "8", "25-12");
    const long long requested = AddMember("4", "1", "6", "26-11");  // mid-withdrawal: untouched
    const long long current = AddMember("4", "1", "3", "26-12");
    const long long monthly = AddMember("1", "1", "3", "26-01");
    const long long onHold = AddMember("4", "3", "3", "26-01");
    const long long ownMethod = AddMember("4", "1", "3", "26-01", "10");
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(State(ended0), std::make_pair(std::string("2"), std::string("13")));
    EXPECT_EQ(State(ended2), std::make_pair(std::string("2"), std::string("13")));
    EXPECT_EQ(State(ended3), std::make_pair(std::string("2"), std::string("11")));
    EXPECT_EQ(State(ended8), std::make_pair(std::string("2"), std::string("11")));
    EXPECT_EQ(State(requested), std::make_pair(std::string("1"), std::string("6")));
    EXPECT_EQ(State(current), std::make_pair(std::string("1"), std::string("3")));
    EXPECT_EQ(State(monthly), std::make_pair(std::string("1"), std::string("3")));
    EXPECT_EQ(State(onHold), std::make_pair(std::string("3"), std::string("3")));
    EXPECT_EQ(State(ownMethod), std::make_pair(std::string("1"), std::string("3")));
    test::UnpinServerClock(*db);
}

TEST_F(PostLoginTest, PaidUpInstalmentsCancelledOnlyWhenSwitchedOn) {
    const std::string t = InstitutionSchema(inst.inx) + ".member_user";
    const long long paid = AddMember("3", "1", "7");
    const long long open = AddMember("3", "1", "7");
    db->ExecuteSql("update " + t +
                       " set pay_agreement=120000, pay_prossagreement=120000, "
                       "client_company='O''Brien 상사' where member_inx=?",
                   {paid});
    db->ExecuteSql("update " + t +
                       " set pay_agreement=120000, pay_prossagreement=110000 "
                       "where member_inx=?",
                   {open});
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(State(paid).first, "1") << "switch off";

    db->ExecuteSql("update quorisdex.admin_company set installment_chk_use='Y' where inx=?",
                   {inst.inx});
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(State(paid), std::make_pair(std::string("2"), std::string("11")));
    EXPECT_EQ(State(open).first, "1");
    char number[16];
    std::snprintf(number, sizeof number, "%010lld", paid);
    EXPECT_EQ(
        db->scalar("select prostxt from " + InstitutionSchema(inst.inx) +
                   ".pross_log where prosnum=3 order by 1 desc limit 1"),
        std::string("O^Brien 상사 (") + number + ") 할부금120,000원 납부완료. 해지회원으로 변경");
}

TEST_F(PostLoginTest, CertificateColumnsClearedExceptOnTheHyosungRelay) {
    const long long m = AddMember("1", "1", "3");
    const std::string t = InstitutionSchema(inst.inx) + ".member_user";
    db->ExecuteSql("update " + t +
                       " set certificate_kind='1', certificate_status='Y', "
                       "certificate_error='ok' where member_inx=?",
                   {m});
    db->ExecuteSql("update quorisdex.admin_company set cmsrunprg='2' where inx=?", {inst.inx});
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(db->scalar("select certificate_kind from " + t + " where member_inx=?", {m}), "1");
    db->ExecuteSql("update quorisdex.admin_company set cmsrunprg='1' where inx=?", {inst.inx});
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(db->scalar("select concat(certificate_kind,'|',certificate_status,'|',"
                         "certificate_error) from " +
                             t + " where member_inx=?",
                         {m}),
              "||");
}

TEST_F(PostLoginTest, CodeExpressionsShowCodesAsText) {
    db->ExecuteSql("update quorisdex.admin_company set bank_receipt='Y' where inx=?", {inst.inx});
    const long long card = AddMember("1", "1", "7", "", "4");
    const long long cms = AddMember("1", "1", "7", "", "1");
    ASSERT_TRUE(LoginAndStart());
    const std::string t = InstitutionSchema(inst.inx) + ".member_user";
    auto text = [&](long long m) {
        return db->scalar(
            "select " + session.case_sql.cms_status + " from " + t + " where member_inx=?", {m});
    };
    const std::string cmsText = text(cms);
    ASSERT_NE(cmsText.find("출금"), std::string::npos);
    EXPECT_EQ(cmsText.find("출금승인"), std::string::npos);
    EXPECT_NE(text(card).find("출금승인"), std::string::npos);
    EXPECT_EQ(db->scalar("select " + session.case_sql.account_divide + " from " + t +
                             " where member_inx=?",
                         {cms}),
              "월매출");
    EXPECT_EQ(
        db->scalar("select " + session.case_sql.branch_name + " from " + t + " where member_inx=?",
                   {cms}),
        "본사");
    // The reserved bank-receipt member exists, deleted, exactly once.
    EXPECT_EQ(
        db->scalar("select concat(remove,username) from " + t + " where member_inx=9000000000"),
        "4은행접수용키");
    ASSERT_TRUE(LoginAndStart());
    EXPECT_EQ(db->scalarInt("select count(*) from " + t + " where member_inx=9000000000"), 1);
}

}  // namespace
}  // namespace qx
