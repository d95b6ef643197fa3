#include "session/menu_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/session_context.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

SessionContext HeadOffice() {
    SessionContext s;
    s.institution_number = 10002;
    s.LoginId = "demo";
    s.agreement_evidence_switch = true;
    return s;
}
SessionContext Branch() {
    SessionContext s = HeadOffice();
    s.brinx = 1;
    return s;
}
SessionContext Agency() {
    SessionContext s = HeadOffice();
    s.brinx = 1;
    s.aginx = 3;
    return s;
}

constexpr const char* kHeadOfficeOnlyFiles =
    "지사/대리점인 경우 파일생성을 하실 수 없습니다.(본사만 처리가능)";

// Every menu code of the catalogue and the screen a head office gets.
const std::map<std::pair<int, int>, std::string> kHeadOfficeScreens = {
    {{10, 0}, "frmDoc10"},   {{10, 1}, "frmDoc11"},  {{10, 2}, "frmDoc12"},
    {{10, 3}, "frmDoc13"},   {{10, 4}, "frmDoc14"},  {{10, 5}, "frmDoc15"},
    {{10, 9}, "frmDoc10"},   {{20, 0}, "frmDoc20"},  {{20, 1}, "frmDoc21"},
    {{20, 3}, "frmDoc24"},   {{20, 4}, "frmDoc26"},  {{20, 5}, "frmDoc27"},
    {{20, 6}, "frmDoc27_1"}, {{20, 7}, "frmDoc29"},  {{20, 8}, "frmDoc28"},
    {{20, 9}, "frmDoc21_1"}, {{30, 0}, "frmDoc30"},  {{30, 1}, "frmDoc31"},
    {{30, 2}, "frmDoc32"},   {{30, 3}, "frmDoc33"},  {{30, 4}, "frmDoc34"},
    {{30, 6}, "frmDoc35"},   {{30, 7}, "frmDoc36"},  {{30, 8}, "frmDoc36_1"},
    {{30, 10}, "frmDoc37"},  {{30, 12}, "frmDoc38"}, {{30, 13}, "frmDoc39"},
    {{40, 0}, "frmDoc41"},   {{40, 1}, "frmDoc42"},  {{40, 2}, "frmDoc43"},
    {{40, 3}, "frmDoc44"},   {{40, 4}, "frmDoc45"},  {{40, 5}, "frmDoc46"},
    {{50, 0}, "frmDoc50"},   {{50, 1}, "frmDoc55"},  {{50, 2}, "frmDoc58"},
    {{50, 3}, "frmDoc51"},   {{50, 4}, "frmDoc59"},  {{50, 5}, "frmDoc59_1"},
    {{50, 6}, "frmDoc53"},   {{50, 7}, "frmDoc54"},  {{50, 8}, "frmDoc56"},
    {{60, 0}, "frmDoc60"},   {{60, 4}, "frmDoc60"},  {{60, 8}, "frmDoc60"},
};

// The codes a branch or agency user is refused, with the message.
const std::map<std::pair<int, int>, std::string> kRefusedBelowHeadOffice = {
    {{10, 1}, "지사/대리점은 서비스 정보를 보실 수 없습니다."},
    {{10, 5}, "지사/대리점은 프로그램 설정을 하실 수 없습니다."},
    {{30, 0}, kHeadOfficeOnlyFiles},
    {{50, 2}, "지점/대리점은 일괄업로드 기능을 사용 하실 수 없습니다."},
};

TEST(MenuCatalogue, HeadOfficeOpensEveryScreenWithItsTitle) {
    const auto s = HeadOffice();
    for (const auto& [code, screen] : kHeadOfficeScreens) {
        const MenuChoice c = ChooseMenuScreen(s, code.first, code.second, {1, 1});
        EXPECT_EQ(c.action, MenuAction::kOpen) << code.first << "," << code.second;
        EXPECT_EQ(c.screen, screen) << code.first << "," << code.second;
        EXPECT_FALSE(c.title.empty()) << screen;
        EXPECT_EQ(c.title.rfind("▶", 0), 0u) << screen;
    }
    EXPECT_EQ(ChooseMenuScreen(s, 20, 2, {5, 7}).screen, "frmDoc22");
}

TEST(MenuCatalogue, BranchAndAgencyAreRefusedExactlyWhereTheCatalogueSays) {
    for (const SessionContext& s : {Branch(), Agency()}) {
        for (const auto& [code, screen] : kHeadOfficeScreens) {
            const MenuChoice c = ChooseMenuScreen(s, code.first, code.second, {1, 1});
            auto refused = kRefusedBelowHeadOffice.find(code);
            if (refused != kRefusedBelowHeadOffice.end()) {
                EXPECT_EQ(c.action, MenuAction::kRefuse) << code.first << "," << code.second;
                EXPECT_EQ(c.message, refused->second);
                EXPECT_TRUE(c.screen.empty());
            } else if (screen == "frmDoc10") {
                EXPECT_EQ(c.screen, "frmDoc10_1");
            } else {
                EXPECT_EQ(c.action, MenuAction::kOpen) << code.first << "," << code.second;
                EXPECT_EQ(c.screen, screen);
            }
        }
    }
}

TEST(MenuCatalogue, ProgramSettingsOpenForLaunchCredentials) {
    SessionContext s = Branch();
    s.launched_with_credentials = true;
    EXPECT_EQ(ChooseMenuScreen(s, 10, 5).screen, "frmDoc15");
    // The other head-office gates stay.
    EXPECT_EQ(ChooseMenuScreen(s, 10, 1).action, MenuAction::kRefuse);
    EXPECT_EQ(ChooseMenuScreen(s, 30, 0).action, MenuAction::kRefuse);
}

TEST(MenuCatalogue, VariantsFollowTheInstitutionsSwitches) {
    SessionContext s = HeadOffice();
    s.prgset9 = 1;
    EXPECT_EQ(ChooseMenuScreen(s, 20, 0).screen, "frmDoc20_1");
    EXPECT_EQ(ChooseMenuScreen(s, 20, 0).title, "▶ 회원관리 > 조회");
    s.bank_receipt_switch = true;
    EXPECT_EQ(ChooseMenuScreen(s, 30, 3).screen, "frmDoc33_1");
    EXPECT_EQ(ChooseMenuScreen(s, 30, 3).title,
              "▶ 파일관리 > CMS > 은행접수분처리(EB11) - (은행신규 신청 가능)");
    s.agreement_evidence_switch = false;
    const MenuChoice ei13 = ChooseMenuScreen(s, 30, 4);
    EXPECT_EQ(ei13.action, MenuAction::kRefuse);
    EXPECT_EQ(ei13.message, "동의자료 제출 실시 업체만 이용할 수 있습니다.");
}

TEST(MenuCatalogue, MemberChangeNeedsAListAndASelection) {
    const auto s = HeadOffice();
    const MenuChoice empty = ChooseMenuScreen(s, 20, 2, {0, 0});
    EXPECT_EQ(empty.action, MenuAction::kRefuse);
    EXPECT_EQ(empty.message, "변경할 대상이 없습니다.");
    const MenuChoice none = ChooseMenuScreen(s, 20, 2, {12, 0});
    EXPECT_EQ(none.action, MenuAction::kRefuse);
    EXPECT_EQ(none.message, "변경할 회원을 선택 하십시요.");
}

TEST(MenuCatalogue, IdentifiersThatOpenNothingAndFixedMessages) {
    const auto s = HeadOffice();
    EXPECT_EQ(ChooseMenuScreen(s, 40, 6).action, MenuAction::kCloseOnly);
    EXPECT_EQ(ChooseMenuScreen(s, 40, 6).screen, "frmDoc47");
    EXPECT_EQ(ChooseMenuScreen(s, 40, 7).screen, "frmDoc48");
    for (int group : {0, 5, 70, 99}) {
        EXPECT_EQ(ChooseMenuScreen(s, group, 1).action, MenuAction::kCloseOnly);
        EXPECT_EQ(ChooseMenuScreen(s, group, 1).screen, "frmDoc00");
    }
    const MenuChoice gr17 = ChooseMenuScreen(Agency(), 30, 11);
    EXPECT_EQ(gr17.action, MenuAction::kMessage);
    EXPECT_EQ(gr17.message,
              "기능 추가 중입니다. GR17 수신시 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.");
    const MenuChoice lumabill = ChooseMenuScreen(s, 50, 9);
    EXPECT_EQ(lumabill.action, MenuAction::kMessage);
    EXPECT_EQ(lumabill.message,
              "Lumabill 세금계산서 프로그램은 지원이 종료되었습니다.\r\n자세한 사항은 쿼리스 "
              "고객센터(0000-0000)으로 연락 바랍니다.");
    // Codes no menu sends change nothing.
    EXPECT_EQ(ChooseMenuScreen(s, 30, 5).action, MenuAction::kIgnore);
    EXPECT_EQ(ChooseMenuScreen(s, 20, 10).action, MenuAction::kIgnore);
    EXPECT_EQ(ChooseMenuScreen(s, 60, 9).action, MenuAction::kIgnore);
}

TEST(MenuCatalogue, WebBoardsAndOutsideSites) {
    SessionContext s = HeadOffice();
    s.service_site = "https://svc.example/";
    const char* titles[] = {"▶ 공지사항", "▶ FAQ", "▶ 게시판", "▶ 자료실"};
    const char* acts[] = {"quorboard1", "quorboard5", "quorboard2", "quorboard3"};
    for (int i = 0; i < 4; ++i) {
        const MenuChoice c = ChooseMenuScreen(s, 60, i);
        EXPECT_EQ(c.title, titles[i]);
        EXPECT_EQ(c.boardAct, acts[i]);
        EXPECT_EQ(c.externalSite, -1);
        EXPECT_NE(BoardUrl(s, c.boardAct).find(std::string("act=") + acts[i]), std::string::npos);
    }
    for (int i = 4; i <= 8; ++i) {
        const MenuChoice c = ChooseMenuScreen(s, 60, i);
        EXPECT_EQ(c.title, "▶ 자료실");
        EXPECT_EQ(c.externalSite, i - 4);
        EXPECT_FALSE(ExternalSiteUrl(s, c.externalSite).empty());
    }
    EXPECT_EQ(ExternalSiteUrl(s, 1), "https://svc.example/");
    s.LoginId = "de mo";
    s.LoginPassword = "p&w";
    const std::string logout = TaxModuleLogoutUrl(s);
    EXPECT_NE(logout.find("login_id=de%20mo&login_pw=p%26w&usepage=sub410"), std::string::npos);
    EXPECT_TRUE(NeedsTaxModuleLogout("frmDoc20", true));
    EXPECT_FALSE(NeedsTaxModuleLogout("frmDoc59_1", true));
    EXPECT_FALSE(NeedsTaxModuleLogout("frmDoc20", false));
}

TEST(MenuCatalogue, ScreensCanBeFoundByIdentifier) {
    for (const auto& entry : kHeadOfficeScreens) {
        const std::string& screen = entry.second;
        auto found = MenuCodeOf(screen);
        ASSERT_TRUE(found) << screen;
        EXPECT_EQ(ChooseMenuScreen(HeadOffice(), found->first, found->second, {1, 1}).screen,
                  screen);
    }
    EXPECT_EQ(MenuCodeOf("frmDoc10_1"), std::make_pair(10, 0));
    EXPECT_EQ(MenuCodeOf("frmDoc33_1"), std::make_pair(30, 3));
    EXPECT_FALSE(MenuCodeOf("frmDoc47"));
    EXPECT_FALSE(MenuCodeOf("frmMain"));
}

TEST(MenuCatalogue, Captions) {
    EXPECT_EQ(SplitCaptions(kMenuGroupCaptions),
              (std::vector<std::string>{"기초환경", "회원관리", "파일관리", "통계,보고서",
                                        "부가서비스", "자료실", "종료"}));
    EXPECT_EQ(MenuGroups().size(), 7u);
    const auto basics = SubMenu(10);
    ASSERT_EQ(basics.size(), 6u);
    EXPECT_EQ(basics[0].caption, "기본정보 관리");
    EXPECT_EQ(basics[0].item, 0);
    EXPECT_EQ(basics[5].caption, "프로그램 설정");
    EXPECT_EQ(basics[5].item, 5);
    const auto members = SubMenu(20);
    ASSERT_EQ(members.size(), 10u);
    EXPECT_EQ(members[9].caption, "동의자료 일괄설정");
    EXPECT_EQ(members[9].item, 9);
    EXPECT_EQ(SubMenu(40).size(), 7u);
    EXPECT_EQ(SubMenu(50).size(), 10u);
    EXPECT_EQ(SubMenu(50)[2].caption, "매출수금일괄등록(TXT)");
    EXPECT_EQ(SubMenu(60).size(), 9u);
    EXPECT_EQ(SubMenu(60)[7].caption, "세금계산서조회-금결원");
    // Every file-group entry leads somewhere.
    for (const auto& e : SubMenu(30)) {
        EXPECT_NE(ChooseMenuScreen(HeadOffice(), 30, e.item).action, MenuAction::kIgnore)
            << e.caption;
    }
}

// Each report entry opens the screen its caption names.
TEST(MenuCatalogue, ReportEntriesOpenTheScreenTheirCaptionNames) {
    const std::pair<const char*, const char*> expected[] = {
        {"월별마감 현황", "frmDoc47"},  // no such screen: the frame stays empty
        {"수금파일별 현황", "frmDoc41"},    {"월별 현황", "frmDoc42"},
        {"일자별 현황", "frmDoc43"},        {"고객별 현황", "frmDoc44"},
        {"엑셀 고객별 월현황", "frmDoc45"}, {"SMS 사용현황", "frmDoc46"},
    };
    const auto entries = SubMenu(40);
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].caption);
        EXPECT_EQ(entries[i].caption, expected[i].first);
        const MenuChoice c = ChooseMenuScreen(HeadOffice(), 40, entries[i].item);
        EXPECT_EQ(c.screen, expected[i].second);
        EXPECT_EQ(c.action, i == 0 ? MenuAction::kCloseOnly : MenuAction::kOpen);
    }
}

TEST(QuickActions, GatesAndTheirMessages) {
    const auto head = HeadOffice();
    for (auto a :
         {QuickAction::kCreateFiles, QuickAction::kKftcTransmission, QuickAction::kCompanionProgram,
          QuickAction::kBatchUpload, QuickAction::kTaxInvoiceProgram}) {
        EXPECT_TRUE(QuickActionGate(head, a).allowed);
    }
    const std::string branchTransmission =
        "지점/대리점인 경우 송수신프로그램를 실행 할 수 없습니다.";
    for (const SessionContext& s : {Branch(), Agency()}) {
        EXPECT_EQ(QuickActionGate(s, QuickAction::kCreateFiles).message, kHeadOfficeOnlyFiles);
        EXPECT_TRUE(QuickActionGate(s, QuickAction::kKftcTransmission).allowed);
        EXPECT_EQ(QuickActionGate(s, QuickAction::kCompanionProgram).message, branchTransmission);
        EXPECT_EQ(QuickActionGate(s, QuickAction::kBatchUpload).message,
                  "지점/대리점은 일괄업로드 기능을 사용 하실 수 없습니다.");
        EXPECT_EQ(QuickActionGate(s, QuickAction::kTaxInvoiceProgram).message,
                  "지점/대리점은 세금계산서 프로그램에 로그인 하실 수 없습니다.");
    }
    // Card transmission: the card account first, then the role.
    const std::string noCard = "신용카드 미사용 업체인 경우 송수신프로그램을 실행 할 수 없습니다.";
    EXPECT_EQ(QuickActionGate(head, QuickAction::kCardTransmission).message, noCard);
    EXPECT_EQ(QuickActionGate(Branch(), QuickAction::kCardTransmission).message, noCard);
    SessionContext card = Branch();
    card.credit_id = "card01";
    EXPECT_EQ(QuickActionGate(card, QuickAction::kCardTransmission).message, branchTransmission);
    card.brinx = 0;
    EXPECT_TRUE(QuickActionGate(card, QuickAction::kCardTransmission).allowed);

    SessionContext test = head;
    test.stat_company = "0";
    EXPECT_TRUE(KftcTransmissionAsksForEa12(test));
    test.stat_company = "1";
    EXPECT_FALSE(KftcTransmissionAsksForEa12(test));
}

class StartScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        drive_ = fs::temp_directory_path() /
                 ("qx-start-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(drive_);
        fs::create_directories(drive_);
    }
    void TearDown() override { fs::remove_all(drive_); }
    void Put(const std::string& relative) {
        fs::create_directories((drive_ / relative).parent_path());
        std::ofstream(drive_ / relative) << "x";
    }
    SessionContext Session(bool switchOn, long long brinx = 0) {
        SessionContext s = HeadOffice();
        s.brinx = brinx;
        s.SystemDrive = drive_.string() + "/";
        s.prgstat[kOpenFileMain] = switchOn ? 1 : 0;
        return s;
    }
    fs::path drive_;
};

TEST_F(StartScreenTest, ResultFilesOpenTheFileScreenForTheHeadOffice) {
    EXPECT_EQ(StartScreen(Session(true)), std::make_pair(20, 0));
    Put("vornadir/demo/EB22/xEB22.txt");  // not an E… file
    Put("vornadir/other/EB22/EB220305");  // another login's folder
    EXPECT_EQ(StartScreen(Session(true)), std::make_pair(20, 0));
    Put("vornadir/demo/EB22/EB220305");
    EXPECT_EQ(StartScreen(Session(true)), std::make_pair(30, 0));
    EXPECT_EQ(StartScreen(Session(false)), std::make_pair(20, 0));
    EXPECT_EQ(StartScreen(Session(true, 1)), std::make_pair(20, 0));
}

TEST_F(StartScreenTest, EB14ResultsCountToo) {
    Put("vornadir/demo/EB14/EB140305");
    EXPECT_TRUE(ResultFilesWaiting(Session(true)));
}

TEST_F(StartScreenTest, RemoteSupportClientIsLookedForInBothProgramFolders) {
    EXPECT_EQ(FindRemoteSupportClient(drive_.string() + "/"), "");
    Put("Program Files/NSPro/NSProClientDirect.exe");
    EXPECT_EQ(FindRemoteSupportClient(drive_.string() + "/"),
              (drive_ / "Program Files/NSPro/NSProClientDirect.exe").string());
    // Once the x86 folder exists, only it is searched.
    fs::create_directories(drive_ / "Program Files (x86)");
    EXPECT_EQ(FindRemoteSupportClient(drive_.string() + "/"), "");
    Put("Program Files (x86)/NSPro/NSProClientDirect.exe");
    EXPECT_EQ(FindRemoteSupportClient(drive_.string() + "/"),
              (drive_ / "Program Files (x86)/NSPro/NSProClientDirect.exe").string());
}

}  // namespace
}  // namespace qx
