#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "db/schema_upgrade.h"
#include "platform/profile_ini.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::InsertMember;
using test::MemberRow;

class SchemaUpgradeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = test::ConnectTestDatabase().release();
        kftc_ = &test::SharedInstitution(*db_, 1);
        hyosung_ = &test::SharedInstitution(*db_, 2);
    }
    static void TearDownTestSuite() { delete db_; }

    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qx-upgrade-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ini_ = std::make_unique<ProfileIni>((dir_ / "Login.ini").string());
        for (const auto* t : {kftc_, hyosung_}) {
            db_->ExecuteSql("delete from " + InstitutionSchema(t->inx) + ".member_user");
            db_->ExecuteSql("delete from " + InstitutionSchema(t->inx) + ".pross_log");
        }
    }
    void TearDown() override { fs::remove_all(dir_); }

    SessionContext Session(const test::TestInstitution& t, int version, int cmsrunprg,
                           bool agreement) {
        SessionContext s = test::SessionFor(t);
        s.cmsrunprg = cmsrunprg;
        s.alter_db_structure = version;
        s.agreement_evidence_switch = agreement;
        db_->ExecuteSql("update quorisdex.admin_company set alter_db_structure=? where inx=?",
                        {std::to_string(version), t.inx});
        db_->setLogSchema(s.schema());
        return s;
    }

    std::string StoredVersion(const test::TestInstitution& t) {
        return db_->scalar("select alter_db_structure from quorisdex.admin_company where inx=?",
                           {t.inx});
    }
    std::vector<std::string> Log(const test::TestInstitution& t) {
        auto rs = db_->OpenRecordset("select prostxt, prosnum from " + InstitutionSchema(t.inx) +
                                     ".pross_log order by pross_inx");
        std::vector<std::string> out;
        for (std::size_t i = 0; i < rs.size(); ++i) {
            EXPECT_EQ(rs[i][1], "0");
            out.push_back(rs[i][0]);
        }
        return out;
    }
    std::string AgreeStatus(const test::TestInstitution& t, long long member) {
        return db_->scalar("select cms_agree_status from " + InstitutionSchema(t.inx) +
                               ".member_user where member_inx=?",
                           {member});
    }

    static Database* db_;
    static const test::TestInstitution* kftc_;
    static const test::TestInstitution* hyosung_;
    fs::path dir_;
    std::unique_ptr<ProfileIni> ini_;
};

Database* SchemaUpgradeTest::db_ = nullptr;
const test::TestInstitution* SchemaUpgradeTest::kftc_ = nullptr;
const test::TestInstitution* SchemaUpgradeTest::hyosung_ = nullptr;

const std::vector<std::string> kFullLog = {
    "[인증설정추가처리] Login.ini 파일 V1에 인증설정관련항목 추가 완료",
    "[동의자료전송기능추가처리] 데이터베이스 구조 및 데이터 변경 시작",
    "[동의자료전송기능추가처리] 고객정보 수정 완료",
    "[동의자료전송기능추가처리] 데이터베이스 구조 및 데이터 변경 처리 완료",
};

TEST(CertificateViews, AppendedOnlyWhenNoneOfTheFourIsThere) {
    EXPECT_EQ(WithCertificateViews("1/2/3/4/12/33/34/35/36"), "1/2/3/4/12/33/34/35/36/68/69/70/71");
    EXPECT_EQ(WithCertificateViews("1/2/69"), "1/2/69");
    EXPECT_EQ(WithCertificateViews("71/1"), "71/1");
    // Whole numbers are compared, not digits inside them.
    EXPECT_EQ(WithCertificateViews("1/169/680"), "1/169/680/68/69/70/71");
}

TEST_F(SchemaUpgradeTest, From58WithRelay2AddsViewsAndAlignsMembersToVersion67) {
    SessionContext s = Session(*hyosung_, 58, 2, true);
    const auto registered = InsertMember(*db_, hyosung_->inx, {.cms_status = "1"});
    const auto applying =
        InsertMember(*db_, hyosung_->inx, {.cms_status = "0", .cms_agree_status = "P"});
    const auto byHand =
        InsertMember(*db_, hyosung_->inx, {.settle_accounts = "2", .cms_status = "1"});
    std::vector<std::string> splash;
    UpgradeSchema(*db_, s, *ini_, [&](const std::string& text) { splash.push_back(text); });

    EXPECT_EQ(ini_->read("V1", "VIEW", ""), "1/2/3/4/12/33/34/35/36/68/69/70/71");
    EXPECT_EQ(s.alter_db_structure, 67);
    EXPECT_EQ(StoredVersion(*hyosung_), "67");
    EXPECT_EQ(Log(*hyosung_), kFullLog);
    EXPECT_EQ(splash, (std::vector<std::string>{"데이터베이스 구조 및 데이터 변경 시작",
                                                "데이터베이스 구조 및 데이터 변경 처리 완료"}));
    EXPECT_EQ(AgreeStatus(*hyosung_, registered), "P");
    EXPECT_EQ(AgreeStatus(*hyosung_, applying), "0");
    EXPECT_EQ(AgreeStatus(*hyosung_, byHand), "0");
}

TEST_F(SchemaUpgradeTest, AViewHolding69IsLeftAsItIs) {
    ini_->write("V1", "VIEW", "1/2/69/3");
    SessionContext s = Session(*hyosung_, 58, 2, true);
    UpgradeSchema(*db_, s, *ini_);
    EXPECT_EQ(ini_->read("V1", "VIEW", ""), "1/2/69/3");
    EXPECT_EQ(StoredVersion(*hyosung_), "67");
    EXPECT_EQ(Log(*hyosung_), kFullLog);
}

TEST_F(SchemaUpgradeTest, From57SkipsTheLoginIniStep) {
    SessionContext s = Session(*hyosung_, 57, 2, true);
    UpgradeSchema(*db_, s, *ini_);
    EXPECT_EQ(ini_->read("V1", "VIEW", "missing"), "missing");
    EXPECT_EQ(s.alter_db_structure, 67);
    EXPECT_EQ(StoredVersion(*hyosung_), "67");
    EXPECT_EQ(Log(*hyosung_), std::vector<std::string>(kFullLog.begin() + 1, kFullLog.end()));
}

TEST_F(SchemaUpgradeTest, From58WithKftcRelayRaisesTheVersionWithoutTouchingViews) {
    SessionContext s = Session(*kftc_, 58, 1, false);
    const auto registered = InsertMember(*db_, kftc_->inx, {.cms_status = "1"});
    UpgradeSchema(*db_, s, *ini_);
    EXPECT_EQ(ini_->read("V1", "VIEW", "missing"), "missing");
    EXPECT_EQ(StoredVersion(*kftc_), "67");
    EXPECT_EQ(Log(*kftc_), kFullLog);
    // Only the every-login alignment touched the member: no agreement needed.
    EXPECT_EQ(AgreeStatus(*kftc_, registered), "P");
}

TEST_F(SchemaUpgradeTest, CurrentVersionRunsOnlyTheAlignment) {
    SessionContext s = Session(*hyosung_, 67, 2, true);
    const auto registered = InsertMember(*db_, hyosung_->inx, {.cms_status = "1"});
    std::vector<std::string> splash;
    UpgradeSchema(*db_, s, *ini_, [&](const std::string& text) { splash.push_back(text); });
    EXPECT_TRUE(Log(*hyosung_).empty());
    EXPECT_TRUE(splash.empty());
    // Relay 2 has no every-login alignment.
    EXPECT_EQ(AgreeStatus(*hyosung_, registered), "0");
}

TEST_F(SchemaUpgradeTest, AStoredVersionIsNeverLowered) {
    // Another desktop finished the upgrade after this one read the old number.
    SessionContext s = Session(*hyosung_, 58, 2, true);
    db_->ExecuteSql("update quorisdex.admin_company set alter_db_structure='68' where inx=?",
                    {hyosung_->inx});
    UpgradeSchema(*db_, s, *ini_);
    EXPECT_EQ(StoredVersion(*hyosung_), "68");
    EXPECT_EQ(s.alter_db_structure, 67);
}

TEST_F(SchemaUpgradeTest, AlignmentWithTheAgreementSwitchOff) {
    SessionContext s = Session(*kftc_, 67, 1, false);
    const auto needed = InsertMember(*db_, kftc_->inx, {.cms_agree_status = "0"});
    const auto card =
        InsertMember(*db_, kftc_->inx, {.settle_accounts = "5", .cms_agree_status = "0"});
    UpgradeSchema(*db_, s, *ini_);
    EXPECT_EQ(AgreeStatus(*kftc_, needed), "P");
    EXPECT_EQ(AgreeStatus(*kftc_, card), "0");
}

TEST_F(SchemaUpgradeTest, AlignmentWithTheAgreementSwitchOn) {
    SessionContext s = Session(*kftc_, 67, 1, true);
    const auto newMember =
        InsertMember(*db_, kftc_->inx, {.cms_status = "0", .cms_agree_status = "P"});
    const auto applied =
        InsertMember(*db_, kftc_->inx, {.cms_status = "2", .cms_agree_status = "P"});
    const auto withdrawn =
        InsertMember(*db_, kftc_->inx, {.cms_status = "1", .cms_agree_status = "P"});
    UpgradeSchema(*db_, s, *ini_);
    EXPECT_EQ(AgreeStatus(*kftc_, newMember), "0");
    EXPECT_EQ(AgreeStatus(*kftc_, applied), "0");
    EXPECT_EQ(AgreeStatus(*kftc_, withdrawn), "P");
}

TEST_F(SchemaUpgradeTest, MemberNoteTablesAreCreatedWithTheirCaptionsOnce) {
    const std::string schema = InstitutionSchema(kftc_->inx);
    db_->ExecuteSql("drop table if exists " + schema + ".iltable");
    db_->ExecuteSql("drop table if exists " + schema + ".iltable_ext");
    EnsureMemberNoteTables(*db_, kftc_->inx);
    EnsureMemberNoteTables(*db_, kftc_->inx);
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema + ".iltable"), 0);
    auto rs = db_->OpenRecordset("select * from " + schema + ".iltable_ext");
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0]["extkey"], "1");
    EXPECT_EQ(rs[0]["extlinkinx"], "0");
    EXPECT_EQ(rs[0]["extcbo1"], "정보-1");
    EXPECT_EQ(rs[0]["extcbo4"], "정보-4");
    EXPECT_EQ(rs[0]["ext1"], "정보-5");
    EXPECT_EQ(rs[0]["ext12"], "정보-16");
    // An emptied caption table is seeded again.
    db_->ExecuteSql("delete from " + schema + ".iltable_ext");
    EnsureMemberNoteTables(*db_, kftc_->inx);
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema + ".iltable_ext"), 1);
}

}  // namespace
}  // namespace qx
