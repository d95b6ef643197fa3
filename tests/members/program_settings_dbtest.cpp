// Program settings: single-position updates of cms_set, the rule between
// positions 1 and 4, the switch columns and the apply button.
#include <gtest/gtest.h>

#include <filesystem>

#include "admin/provisioning.h"
#include "core/session_context.h"
#include "db/database.h"
#include "members/program_settings.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "support/two_institutions_fixture.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class ProgramSettingsTest : public test::TwoInstitutionsTest {
  protected:
    void SetUp() override {
        db = db_;
        for (long long inx : {inst_.inx, other_.inx}) {
            db->ExecuteSql(
                "update quorisdex.admin_company set cms_set='000000000000001', monthdivide='Y', "
                "month_max=0, sendname='', autofirtday='[0],[0],[0],[0],[0]', autosectday='', "
                "autoopt='', credit_autoday='[0],[0],[0],[0],[0]', credit_autoopt='', "
                "kftc_autoday='[0],[0],[0],[0],[0]', kftc_autoopt='' where inx=?",
                {inx});
        }
        session = SessionContext{};
        session.institution_number = inst_.inx;
        session.inx = std::to_string(inst_.inx);
        session.LoginId = inst_.id;
        root = fs::temp_directory_path() / ("qx-settings-" + std::to_string(inst_.inx));
        fs::remove_all(root);
        fs::create_directories(root);
        session.SystemDrive = (root / "drive").string() + "/";
        ini = std::make_unique<ProfileIni>((root / "Login.ini").string());
    }
    void TearDown() override { fs::remove_all(root); }

    std::string CmsSet(long long inx = 0) {
        return db->scalar("select cms_set from quorisdex.admin_company where inx=?",
                          {inx ? inx : inst_.inx});
    }
    void SetCmsSet(const std::string& value) {
        db->ExecuteSql("update quorisdex.admin_company set cms_set=? where inx=?",
                       {value, inst_.inx});
    }
    std::string Column(const std::string& column) {
        return db->scalar("select " + column + " from quorisdex.admin_company where inx=?",
                          {inst_.inx});
    }
    CmsSetChange Change(int position, int index) {
        return ChangeCmsSetSelector(*db, session, ui, position, index);
    }
    ApplyInput Apply() {
        ApplyInput in;
        in.fileback = (root / "back").string();
        in.excel = (root / "excel").string();
        in.tolvex = (root / "tolvex").string();
        in.month_max = "0";
        in.sendname = "시험상사";
        return in;
    }

    fs::path root;
    std::unique_ptr<ProfileIni> ini;
};

TEST_F(ProgramSettingsTest, OnePositionChangesOnlyThatCharacter) {
    const auto c = Change(4, 1);
    EXPECT_TRUE(c.applied);
    EXPECT_EQ(CmsSet(), "000100000000001");
    EXPECT_EQ(c.cms_set, "000100000000001");
    EXPECT_EQ(CmsSet(other_.inx), "000000000000001");
    Change(1, 4);
    Change(11, 1);
    EXPECT_EQ(CmsSet(), "400100000010001");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ProgramSettingsTest, ShortFlagStringIsExtendedWithZeros) {
    SetCmsSet("12");
    Change(8, 2);
    EXPECT_EQ(CmsSet(), "12000002");
    SetCmsSet("");
    Change(1, 3);
    EXPECT_EQ(CmsSet(), "3");
    Change(15, 0);
    EXPECT_EQ(CmsSet(), "300000000000000");
}

TEST_F(ProgramSettingsTest, SummedBillingWithUnpaidPartialFromEitherSide) {
    SetCmsSet("200000000000001");
    auto c = Change(4, 2);
    EXPECT_FALSE(c.applied);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, kSummedWithUnpaidPartialText);
    EXPECT_EQ(ui.shown[0].title, "확인");
    EXPECT_EQ(CmsSet(), "200000000000001");

    SetCmsSet("000200000000001");
    c = Change(1, 2);
    EXPECT_TRUE(c.applied);
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(CmsSet(), "200000000000001");
    EXPECT_EQ(CmsSet(other_.inx), "000000000000001");

    // Other combinations pass without the message.
    SetCmsSet("100200000000001");
    Change(1, 3);
    EXPECT_EQ(CmsSet(), "300200000000001");
    EXPECT_EQ(ui.shown.size(), 2u);
}

TEST_F(ProgramSettingsTest, BadPositionOrIndexWritesNothing) {
    EXPECT_THROW(Change(12, 0), std::invalid_argument);
    EXPECT_THROW(Change(0, 0), std::invalid_argument);
    EXPECT_THROW(Change(16, 0), std::invalid_argument);
    EXPECT_THROW(Change(1, 5), std::invalid_argument);
    EXPECT_THROW(Change(2, -1), std::invalid_argument);
    EXPECT_THROW(Change(15, 2), std::invalid_argument);
    EXPECT_EQ(CmsSet(), "000000000000001");
}

TEST_F(ProgramSettingsTest, ItemSwitchIsInverted) {
    session.prgstat[kItemsUnused] = 0;
    Change(15, 0);
    EXPECT_EQ(CmsSet(), "000000000000000");
    EXPECT_EQ(session.prgstat[kItemsUnused], 1);
    Change(15, 1);
    EXPECT_EQ(CmsSet(), "000000000000001");
    EXPECT_EQ(session.prgstat[kItemsUnused], 0);
}

TEST_F(ProgramSettingsTest, PreviousMonthForcesAutoSalesOff) {
    SetMonthDivide(*db, session, false);
    EXPECT_EQ(Column("monthdivide"), "N");
    EXPECT_EQ(CmsSet(), "000000100000001");
    const auto c = Change(7, 0);
    EXPECT_FALSE(c.applied);
    EXPECT_EQ(ui.shown.back().text, kAutoSalesNeedsCurrentMonthText);
    EXPECT_EQ(CmsSet(), "000000100000001");
    SetMonthDivide(*db, session, true);
    EXPECT_EQ(Column("monthdivide"), "Y");
    EXPECT_TRUE(Change(7, 0).applied);
    EXPECT_EQ(CmsSet(), "000000000000001");
}

TEST_F(ProgramSettingsTest, StoredAutoSalesIsCorrectedWhileBillingThePreviousMonth) {
    db->ExecuteSql("update quorisdex.admin_company set monthdivide='N' where inx=?", {inst_.inx});
    db->ExecuteSql("update quorisdex.admin_company set monthdivide='N' where inx=?", {other_.inx});
    SetCmsSet("210000000000001");
    EXPECT_TRUE(ForceAutoSalesOffForPreviousMonth(*db, session));
    EXPECT_EQ(CmsSet(), "210000100000001");
    EXPECT_FALSE(ForceAutoSalesOffForPreviousMonth(*db, session));
    EXPECT_EQ(CmsSet(other_.inx), "000000000000001");
    // The current month leaves position 7 as stored.
    db->ExecuteSql("update quorisdex.admin_company set monthdivide='Y' where inx=?", {inst_.inx});
    SetCmsSet("000000");
    EXPECT_FALSE(ForceAutoSalesOffForPreviousMonth(*db, session));
    EXPECT_EQ(CmsSet(), "000000");
}

TEST_F(ProgramSettingsTest, SwitchColumnsAreWrittenAtOnce) {
    SetInstitutionSwitch(*db, session, InstitutionSwitch::kInstalmentAutoCancel, true);
    SetInstitutionSwitch(*db, session, InstitutionSwitch::kIgnoreLedgerSales, true);
    SetInstitutionSwitch(*db, session, InstitutionSwitch::kExcludeLaterSales, true);
    SetVirtualAccountMode(*db, session, 1);
    auto s = LoadProgramSettings(*db, session);
    EXPECT_TRUE(s.installment_chk_use);
    EXPECT_TRUE(s.ignorenonpay_use);
    EXPECT_TRUE(s.checkexcept_use);
    EXPECT_EQ(s.vir_prgcre, 1);
    SetInstitutionSwitch(*db, session, InstitutionSwitch::kIgnoreLedgerSales, false);
    SetVirtualAccountMode(*db, session, 0);
    s = LoadProgramSettings(*db, session);
    EXPECT_FALSE(s.ignorenonpay_use);
    EXPECT_EQ(s.vir_prgcre, 0);
    EXPECT_THROW(SetVirtualAccountMode(*db, session, 2), std::invalid_argument);
}

TEST_F(ProgramSettingsTest, DesktopSwitchesFollowTheScreen) {
    session.prgstat[kMonthView] = 1;
    EXPECT_TRUE(SetDesktopSwitch(session, *ini, kMonthView, false));
    EXPECT_EQ(session.prgstat[kMonthView], 0);
    EXPECT_EQ(ini->read("PRGSTAT", "MONTHVIEW"), "NO");
    EXPECT_TRUE(SetDesktopSwitch(session, *ini, kAutoLogin, true));
    EXPECT_EQ(ini->read("PRGSTAT", "AUTOLOGIN"), "YES");
    EXPECT_TRUE(SetFrozenColumns(session, *ini, 4));
    EXPECT_EQ(ini->read("PRGSTAT", "FIXINGCOL"), "4");
}

TEST_F(ProgramSettingsTest, ApplyWritesFoldersCapAndCompanyName) {
    auto in = Apply();
    in.month_max = "0";
    in.sendname = "O'Brien 상사";
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    EXPECT_EQ(ui.shown.back().text, kSettingsAppliedText);
    EXPECT_EQ(ini->read("FILEFOLDER", "FILEBACK"), in.fileback);
    EXPECT_EQ(ini->read("FILEFOLDER", "EXCEL"), in.excel);
    EXPECT_EQ(ini->read("FILEFOLDER", "TOLVEX"), in.tolvex);
    EXPECT_EQ(ini->read("SMS", "SENDNAME"), "O'Brien 상사");
    EXPECT_EQ(Column("sendname"), "O'Brien 상사");
    EXPECT_EQ(Column("month_max"), "0");
    for (const char* kind : {"EB11", "EB16", "EB22", "EI13"}) {
        EXPECT_TRUE(fs::is_directory(fs::path(in.fileback) / inst_.id / kind)) << kind;
        EXPECT_TRUE(fs::is_directory(root / "drive" / "vornadir" / inst_.id / kind)) << kind;
    }
    in.month_max = "6";
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    EXPECT_EQ(Column("month_max"), "6");
    EXPECT_EQ(session.month_max, 6);
    EXPECT_EQ(db->scalar("select month_max from quorisdex.admin_company where inx=?", {other_.inx}),
              "0");
}

TEST_F(ProgramSettingsTest, BadCapIsNotWrittenButTheOtherStepsRun) {
    SetCmsSet("000000020000001");  // automatic file creation: the schedule is written too
    auto in = Apply();
    in.days = {3, 0, 0, 0, 0};
    for (const char* bad : {"", "석달", "-1", "1.5"}) {
        SCOPED_TRACE(bad);
        ui.shown.clear();
        db->ExecuteSql("update quorisdex.admin_company set month_max=4, sendname='' where inx=?",
                       {inst_.inx});
        in.month_max = bad;
        EXPECT_FALSE(ApplyProgramSettings(*db, session, *ini, ui, in));
        EXPECT_EQ(ui.texts(),
                  (std::vector<std::string>{kAutoWithdrawalAppliedText, kMonthCountInvalidText,
                                            kSettingsAppliedText}));
        EXPECT_EQ(Column("month_max"), "4");
        EXPECT_EQ(Column("sendname"), "시험상사");
        EXPECT_EQ(Column("autofirtday"), "[3],[0],[0],[0],[0]");
        EXPECT_EQ(ini->read("FILEFOLDER", "FILEBACK", "none"), in.fileback);
    }
}

// Text the database cannot hold is refused with the field's name before
// anything is written, in the database or in Login.ini.
TEST_F(ProgramSettingsTest, UnstorableTextIsRefusedBeforeAnythingIsWritten) {
    ASSERT_TRUE(ini->write("SMS", "SENDNAME", "옛상사"));
    const std::string iniBefore = ReadWholeFile(ini->path()).value();
    struct Case {
        std::string ApplyInput::*field;
        const char* name;
    };
    const Case cases[] = {
        {&ApplyInput::sendname, "회사명"},
        {&ApplyInput::fileback, "CMS파일 백업폴더"},
        {&ApplyInput::excel, "엑셀저장 폴더"},
    };
    for (const auto& c : cases) {
        auto in = Apply();
        in.month_max = "7";
        in.*c.field += "😀";
        try {
            ApplyProgramSettings(*db, session, *ini, ui, in);
            ADD_FAILURE() << c.name;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(e.what(), UnstorableTextMessage(c.name));
        }
        EXPECT_EQ(Column("sendname"), "");
        EXPECT_EQ(Column("month_max"), "0");
        EXPECT_EQ(ReadWholeFile(ini->path()).value(), iniBefore);
    }
}

// A statement that fails part-way leaves Login.ini as it was.
TEST_F(ProgramSettingsTest, DatabaseFailureLeavesLoginIniUnchanged) {
    ASSERT_TRUE(ini->write("SMS", "SENDNAME", "옛상사"));
    const std::string iniBefore = ReadWholeFile(ini->path()).value();
    auto in = Apply();
    in.month_max = "7";
    db->ExecuteSql("set session transaction read only");
    EXPECT_THROW(ApplyProgramSettings(*db, session, *ini, ui, in), DatabaseError);
    db->ExecuteSql("set session transaction read write");
    EXPECT_EQ(ReadWholeFile(ini->path()).value(), iniBefore);
    EXPECT_EQ(Column("sendname"), "");
    EXPECT_EQ(Column("month_max"), "0");
    EXPECT_TRUE(ui.shown.empty()) << "nothing reported as applied";
}

TEST_F(ProgramSettingsTest, UnwritableLoginIniStopsApplyBeforeTheDatabase) {
    // A folder where the file should be: every write of Login.ini fails.
    fs::create_directories(root / "blocked" / "Login.ini");
    const ProfileIni blocked((root / "blocked" / "Login.ini").string());
    auto in = Apply();
    in.month_max = "5";
    EXPECT_FALSE(ApplyProgramSettings(*db, session, blocked, ui, in));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, kLoginIniWriteFailedText);
    EXPECT_EQ(Column("month_max"), "0");
    EXPECT_EQ(Column("sendname"), "");
    EXPECT_EQ(session.month_max, 0);
    EXPECT_TRUE(session.fileback_folder.empty());
}

TEST_F(ProgramSettingsTest, CapGoesToTheRowOfTheUsersLevel) {
    const long long brinx = db->scalarInt(
        "select greatest(coalesce(max(brinx),0),700)+1 from quorisdex.company_branch");
    BranchRequest b;
    b.inx = inst_.inx;
    b.brinx = brinx;
    b.id = "b" + std::to_string(brinx) + "x" + std::to_string(inst_.inx);
    b.password = "pw";
    b.company = "지점";
    CreateBranch(*db, b);
    session.brinx = brinx;
    auto in = Apply();
    in.month_max = "3";
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    EXPECT_EQ(db->scalar("select month_max from quorisdex.company_branch where brinx=?", {brinx}),
              "3");
    EXPECT_EQ(Column("month_max"), "0");
    EXPECT_EQ(LoadProgramSettings(*db, session).month_max, 3);
}

TEST_F(ProgramSettingsTest, ScheduleOnlyForAutomaticFileCreation) {
    auto in = Apply();
    in.days = {5, 10, 5, 0, 10};
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{kAutoWithdrawalNotAutomaticText, kSettingsAppliedText}));
    EXPECT_EQ(Column("autofirtday"), "[0],[0],[0],[0],[0]");
    EXPECT_EQ(Column("autoopt"), "");

    Change(8, 2);
    ui.shown.clear();
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{kAutoWithdrawalAppliedText, kSettingsAppliedText}));
    EXPECT_EQ(Column("autofirtday"), "[5],[10],[0],[0],[0]");
    EXPECT_EQ(Column("autoopt"), "Y0");
    EXPECT_EQ(Column("autosectday"), "0");

    in.service = AutoService::kCard;
    in.days = {};
    in.target = 1;
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    EXPECT_EQ(Column("credit_autoday"), "[0],[0],[0],[0],[0]");
    EXPECT_EQ(Column("credit_autoopt"), "N1");
    EXPECT_EQ(Column("autofirtday"), "[5],[10],[0],[0],[0]");

    in.service = AutoService::kKftcCms;
    in.days = {31, 1, 0, 0, 0};
    in.target = 0;
    EXPECT_TRUE(ApplyProgramSettings(*db, session, *ini, ui, in));
    const auto s = LoadProgramSettings(*db, session);
    const auto& kftc = s.schedules[static_cast<int>(AutoService::kKftcCms)];
    EXPECT_EQ(kftc.days, (AutoDays{31, 1, 0, 0, 0}));
    EXPECT_TRUE(kftc.used);
    EXPECT_FALSE(s.schedules[static_cast<int>(AutoService::kCard)].used);
    EXPECT_EQ(s.schedules[static_cast<int>(AutoService::kCard)].target, 1);

    in.days = {32, 0, 0, 0, 0};
    EXPECT_THROW(ApplyProgramSettings(*db, session, *ini, ui, in), std::invalid_argument);
}

TEST_F(ProgramSettingsTest, BranchAndAgencyAreRefused) {
    EXPECT_TRUE(CheckSettingsAccess(session, ui));
    session.brinx = 2;
    EXPECT_FALSE(CheckSettingsAccess(session, ui));
    EXPECT_EQ(ui.shown.back().text, kSettingsHeadOfficeOnlyText);
}

}  // namespace
}  // namespace qx
