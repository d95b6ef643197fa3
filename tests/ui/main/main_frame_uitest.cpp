// What only the main window owns: one business screen at a time, refusals
// that leave the screen alone, where it starts, its placement and closing.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "admin/provisioning.h"
#include "session/eb11_status.h"
#include "support/institution_fixture.h"
#include "support/qt_application.h"
#include "support/scripted_interaction.h"
#include "ui/institution/institution_screen.h"
#include "ui/institution/organisation_screen.h"
#include "ui/main/main_frame.h"
#include "ui/main/summary_panel.h"
#include "ui/main/web_board_screen.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;
using test::ScriptedInteraction;

class MainFrameTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        test::EnsureQtApplication();
        db_ = test::ConnectTestDatabase().release();
        inst_ = &test::SharedInstitution(*db_);
        brinx_ = inst_->inx * 10 + 5;
        aginx_ = inst_->inx * 10 + 5;
        if (db_->scalarInt("select count(*) from quorisdex.company_branch where brinx=?",
                           {brinx_}) == 0) {
            CreateBranch(*db_, {inst_->inx, brinx_, 0, "ub" + std::to_string(inst_->inx), "b1234",
                                "화면지사"});
            CreateAgency(*db_, {inst_->inx, brinx_, aginx_, "ua" + std::to_string(inst_->inx),
                                "a1234", "화면대리점"});
        }
    }
    static void TearDownTestSuite() { delete db_; }

    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qx-frame-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        session_ = test::SessionFor(*inst_);
        session_.SystemDrive = dir_.string() + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<MainFrame> Frame(MainFrameHooks hooks = {}) {
        if (!hooks.openUrl)
            hooks.openUrl = [this](const std::string& url) { urls_.push_back(url); };
        if (!hooks.startProgram) hooks.startProgram = [](const std::string&) { return false; };
        if (!hooks.openToolWindow) {
            hooks.openToolWindow = [this](const std::string& t) { tools_.push_back(t); };
        }
        return std::make_unique<MainFrame>(*db_, session_, ui_, Settings(), std::move(hooks));
    }
    UserSettings Settings() const { return UserSettings((dir_ / "settings.ini").string()); }
    static QStringList Only(const char* id) { return QStringList{QString(id)}; }

    static Database* db_;
    static const test::TestInstitution* inst_;
    static long long brinx_, aginx_;
    fs::path dir_;
    SessionContext session_;
    ScriptedInteraction ui_;
    std::vector<std::string> urls_, tools_;
};

Database* MainFrameTest::db_ = nullptr;
const test::TestInstitution* MainFrameTest::inst_ = nullptr;
long long MainFrameTest::brinx_ = 0;
long long MainFrameTest::aginx_ = 0;

TEST_F(MainFrameTest, ExactlyOneBusinessScreenIsOpenAtATime) {
    auto frame = Frame();
    frame->startUp();
    EXPECT_EQ(frame->currentScreen(), "frmDoc20");
    EXPECT_EQ(frame->openScreens(), Only("frmDoc20"));
    EXPECT_EQ(frame->highlightedGroup(), 20);

    EXPECT_TRUE(frame->OpenMenuScreen(10, 4));
    EXPECT_EQ(frame->openScreens(), Only("frmDoc14"));
    EXPECT_EQ(frame->currentBusinessScreen()->title(), "▶  기초환경 > 조직 정보 (지사/대리점)");
    EXPECT_EQ(frame->highlightedGroup(), 10);
    EXPECT_TRUE(frame->OpenMenuScreen(10, 4));
    EXPECT_EQ(frame->openScreens(), Only("frmDoc14"));
    EXPECT_TRUE(frame->OpenMenuScreen(40, 3));
    EXPECT_EQ(frame->openScreens(), Only("frmDoc44"));
    EXPECT_EQ(frame->currentBusinessScreen()->title(), "▶ 통계,보고서 > 고객별 보고서");

    // Identifiers without a screen close the open one and leave the frame empty.
    EXPECT_TRUE(frame->OpenMenuScreen(40, 6));
    EXPECT_EQ(frame->currentScreen(), "frmDoc47");
    EXPECT_TRUE(frame->openScreens().isEmpty());
    EXPECT_TRUE(frame->OpenMenuScreen(30, 2));
    EXPECT_TRUE(frame->openScreenById("frmDoc48"));
    EXPECT_TRUE(frame->openScreens().isEmpty());
    EXPECT_TRUE(frame->OpenMenuScreen(20, 1));
    EXPECT_TRUE(frame->OpenMenuScreen(77, 1));
    EXPECT_EQ(frame->currentScreen(), "frmDoc00");
    EXPECT_TRUE(frame->openScreens().isEmpty());
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(MainFrameTest, CreationWindowsAskedForByNameOpenOverTheirListScreens) {
    auto frame = Frame();
    frame->startUp();
    ASSERT_EQ(frame->currentScreen(), "frmDoc20");
    // Whether the creation window then opens depends on what is due; its
    // list screen takes the member list's place either way.
    for (const char* id : {"frmDoc32_1", "frmDoc31_1"}) {
        frame->openScreenById(id);
        const std::string list = std::string(id).substr(0, 8);
        EXPECT_EQ(frame->currentScreen(), list) << id;
        EXPECT_EQ(frame->openScreens(), Only(list.c_str())) << id;
    }
}

TEST_F(MainFrameTest, BranchRefusalsKeepTheCurrentScreen) {
    session_ = test::SessionFor(*inst_, brinx_);
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(10, 4));
    const std::pair<int, int> refused[] = {{30, 0}, {10, 1}, {10, 5}, {50, 2}};
    for (const auto& [group, item] : refused) {
        EXPECT_FALSE(frame->OpenMenuScreen(group, item));
        EXPECT_EQ(frame->currentScreen(), "frmDoc14");
        EXPECT_EQ(frame->openScreens(), Only("frmDoc14"));
        EXPECT_EQ(frame->highlightedGroup(), 10);
    }
    frame->runQuickAction(QuickAction::kCreateFiles);
    EXPECT_EQ(frame->openScreens(), Only("frmDoc14"));
    EXPECT_EQ(ui_.texts(),
              (std::vector<std::string>{
                  "지사/대리점인 경우 파일생성을 하실 수 없습니다.(본사만 처리가능)",
                  "지사/대리점은 서비스 정보를 보실 수 없습니다.",
                  "지사/대리점은 프로그램 설정을 하실 수 없습니다.",
                  "지점/대리점은 일괄업로드 기능을 사용 하실 수 없습니다.",
                  "지사/대리점인 경우 파일생성을 하실 수 없습니다.(본사만 처리가능)"}));
    for (const auto& shown : ui_.shown) EXPECT_EQ(shown.title, "확인");

    // Their own information is the branch screen.
    ASSERT_TRUE(frame->OpenMenuScreen(10, 0));
    EXPECT_EQ(frame->openScreens(), Only("frmDoc10_1"));
    auto* screen = qobject_cast<InstitutionScreen*>(frame->currentBusinessScreen());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->field("company")->text(), "화면지사");
}

TEST_F(MainFrameTest, FixedMessagesChangeNothing) {
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(20, 5));
    EXPECT_FALSE(frame->OpenMenuScreen(30, 11));
    EXPECT_FALSE(frame->OpenMenuScreen(50, 9));
    EXPECT_FALSE(frame->OpenMenuScreen(20, 2));  // the member list is empty
    EXPECT_EQ(frame->openScreens(), Only("frmDoc27"));
    ASSERT_EQ(ui_.shown.size(), 3u);
    EXPECT_EQ(ui_.shown[2].text, "변경할 대상이 없습니다.");
}

TEST_F(MainFrameTest, StartsOnTheFileScreenWhenResultFilesWait) {
    fs::create_directories(dir_ / "vornadir" / session_.LoginId / "EB22");
    std::ofstream(dir_ / "vornadir" / session_.LoginId / "EB22" / "EB220305") << "H";
    session_.prgstat[kOpenFileMain] = 1;
    auto frame = Frame();
    frame->startUp();
    EXPECT_EQ(frame->openScreens(), Only("frmDoc30"));

    // A branch user always starts on the member list.
    session_.brinx = brinx_;
    auto branchFrame = Frame();
    branchFrame->startUp();
    EXPECT_EQ(branchFrame->openScreens(), Only("frmDoc20"));
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(MainFrameTest, PlacementIsSavedAndRestored) {
    {
        auto frame = Frame();
        frame->show();
        frame->setGeometry(40, 60, 700, 500);
        frame->savePlacement();
    }
    const UserSettings stored = Settings();
    EXPECT_EQ(stored.get("Settings", "MeMax"), "0");
    EXPECT_EQ(stored.get("Settings", "MainLeft"), "40");
    EXPECT_EQ(stored.get("Settings", "MainTop"), "60");
    EXPECT_EQ(stored.get("Settings", "MainWidth"), "700");
    EXPECT_EQ(stored.get("Settings", "MainHeight"), "500");
    auto again = Frame();
    again->showPlaced();
    EXPECT_EQ(again->size(), QSize(700, 500));
    EXPECT_FALSE(again->isMaximized());
}

// A first start (1280x800) or a place saved on a bigger screen opens within
// the screen, so that nothing of the window lies beyond its edges.
TEST_F(MainFrameTest, WindowNeverOpensLargerThanTheScreen) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved);
        if (saved) {
            UserSettings s = Settings();
            s.set("Settings", "MeMax", "0");
            s.set("Settings", "MainLeft", std::to_string(room.width() / 2));
            s.set("Settings", "MainTop", "10");
            s.set("Settings", "MainWidth", std::to_string(room.width() + 500));
            s.set("Settings", "MainHeight", std::to_string(room.height() + 300));
        }
        auto frame = Frame();
        frame->showPlaced();
        const QRect g = frame->frameGeometry();
        EXPECT_TRUE(room.contains(g))
            << g.x() << "," << g.y() << " " << g.width() << "x" << g.height() << " in "
            << room.width() << "x" << room.height();
    }
}

TEST_F(MainFrameTest, ClosingAsksFirst) {
    auto frame = Frame();
    frame->show();
    ui_.answers = {false};
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(Settings().get("Settings", "MainWidth", "none"), "none");
    ui_.answers = {true};
    EXPECT_TRUE(frame->close());
    ASSERT_EQ(ui_.shown.size(), 2u);
    EXPECT_EQ(ui_.shown[0].text, "프로그램을 종료 하시겠습니까?");
    EXPECT_TRUE(ui_.shown[0].question);
    EXPECT_EQ(ui_.shown[0].title, "확인");
    EXPECT_NE(Settings().get("Settings", "MainWidth", "none"), "none");
}

TEST_F(MainFrameTest, BoardsShowInOneScreenAndOutsideSitesOpenInTheBrowser) {
    session_.service_site = "https://svc.example";
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(60, 2));
    auto* board = qobject_cast<WebBoardScreen*>(frame->currentBusinessScreen());
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->title(), "▶ 게시판");
    EXPECT_TRUE(board->url().contains("act=quorboard2"));
    EXPECT_TRUE(urls_.empty());
    board->findChild<QPushButton*>("cmdOpenBoard")->click();
    ASSERT_EQ(urls_.size(), 1u);
    EXPECT_EQ(urls_[0], board->url().toStdString());

    ASSERT_TRUE(frame->OpenMenuScreen(60, 5));
    EXPECT_EQ(frame->openScreens(), Only("frmDoc60"));
    EXPECT_EQ(frame->currentBusinessScreen()->title(), "▶ 자료실");
    ASSERT_EQ(urls_.size(), 2u);
    EXPECT_EQ(urls_[1], "https://svc.example/");
}

TEST_F(MainFrameTest, SummaryFiguresAndEb11Panel) {
    session_.cms_summary = {1234567, 0, 45000, 987654321};
    db_->ExecuteSql("delete from " + session_.schema() + ".file_ea11");
    StoreEb11Check(*db_, inst_->inx, "");
    MainFrameHooks hooks;
    int queries = 0;
    hooks.kftcStatusQuery = [&]() -> std::optional<std::string> {
        ++queries;
        return std::string("03-05 09:10 EB11[△]");
    };
    auto frame = Frame(hooks);
    SummaryPanel* panel = frame->summaryPanel();
    EXPECT_EQ(panel->figureText(0), "1,234,567");
    EXPECT_EQ(panel->figureText(1), "0");
    EXPECT_EQ(panel->figureText(2), "45,000");
    EXPECT_EQ(panel->figureText(3), "987,654,321");
    EXPECT_EQ(panel->eb11FileText(), "대상없음");
    EXPECT_FALSE(panel->eb11Highlighted());

    ui_.answers = {false, true};
    frame->onEb11Clicked();
    EXPECT_EQ(queries, 0);
    frame->onEb11Clicked();
    EXPECT_EQ(queries, 1);
    ASSERT_EQ(ui_.shown.size(), 2u);
    EXPECT_EQ(ui_.shown[0].text, "금결원(KFTC)의 정보를 상세조회 하시겠습니까?");
    EXPECT_EQ(ui_.shown[0].title, "EB11 최근내역 조회");
    EXPECT_EQ(panel->eb11CheckText(), "마지막 조회시각 : 03-05 09:10 EB11[△]");
    EXPECT_TRUE(panel->eb11Highlighted());
    StoreEb11Check(*db_, inst_->inx, "");

    // The summary button recomputes under the same rules.
    frame->refreshSummary();
    EXPECT_NE(panel->figureText(0), "1,234,567");
}

TEST_F(MainFrameTest, TransmissionButtons) {
    session_.stat_company = "0";
    auto frame = Frame();
    ui_.answers = {false, true};
    frame->runQuickAction(QuickAction::kKftcTransmission);
    EXPECT_TRUE(tools_.empty());
    frame->runQuickAction(QuickAction::kKftcTransmission);
    EXPECT_EQ(tools_, (std::vector<std::string>{"EB12 파일 작성"}));
    EXPECT_EQ(ui_.shown[0].text,
              "테스트 계정인경우 EA12 작성만 처리합니다. EA12파일을 작성 하시겠습니까?");
    session_.stat_company = "1";
    frame->runQuickAction(QuickAction::kKftcTransmission);
    EXPECT_EQ(tools_.back(), "금결원 송수신");
    frame->runQuickAction(QuickAction::kCardTransmission);
    EXPECT_EQ(ui_.shown.back().text,
              "신용카드 미사용 업체인 경우 송수신프로그램을 실행 할 수 없습니다.");
}

TEST_F(MainFrameTest, RemoteSupportStartsTheInstalledClient) {
    const fs::path client = dir_ / "Program Files" / "NSPro" / "NSProClientDirect.exe";
    fs::create_directories(client.parent_path());
    std::ofstream(client) << "x";
    MainFrameHooks hooks;
    std::vector<std::string> started;
    hooks.startProgram = [&](const std::string& p) {
        started.push_back(p);
        return true;
    };
    auto frame = Frame(hooks);
    frame->startRemoteSupport();
    EXPECT_EQ(started, (std::vector<std::string>{client.string()}));
}

TEST_F(MainFrameTest, InstitutionScreenSavesWhatWasTyped) {
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(10, 0));
    auto* screen = qobject_cast<InstitutionScreen*>(frame->currentBusinessScreen());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->objectName(), "frmDoc10");
    EXPECT_EQ(screen->findChild<QLineEdit*>("txtId")->text().toStdString(), inst_->id);
    EXPECT_EQ(screen->field("company")->maxLength(), 64);
    screen->field("company")->setText(QString::fromUtf8("O'Brien 상사"));
    screen->field("admin_email")->setText("tax@obrien.co.kr");
    screen->findChild<QPushButton*>("cmdSave")->click();
    EXPECT_EQ(ui_.texts().back(), "변경되었습니다.");
    EXPECT_EQ(db_->scalar("select company from quorisdex.admin_company where inx=?", {inst_->inx}),
              "O'Brien 상사");

    ui_.shown.clear();
    screen->field("zipcode")->setText("12A45");
    screen->findChild<QPushButton*>("cmdSave")->click();
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{"우편번호는 숫자와 '-' 만 사용가능합니다."}));

    ui_.shown.clear();
    ui_.answers = {true};
    screen->passwordBox()->setText("pass 1");
    screen->findChild<QPushButton*>("cmdPassword")->click();
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{"변경하시겠습니까?",
                                                     "비밀번호는 숫자,영문자만 사용 가능합니다."}));
}

// At the smallest size the window allows, the buttons at the bottom of the
// forms are still reached by scrolling and work when clicked.
TEST_F(MainFrameTest, FormsScrollSoTheirButtonsStayReachableInASmallWindow) {
    session_.AppPath = dir_.string() + "/";  // the settings' Login.ini
    ui_.defaultAnswer = true;
    auto frame = Frame();
    frame->show();
    frame->resize(320, 200);
    EXPECT_EQ(frame->size(), QSize(MainFrame::kMinimumWidth, MainFrame::kMinimumHeight));
    frame->resize(640, 480);
    struct Case {
        int group, item;
        const char* button;
        std::string shown;
    } cases[] = {
        {10, 5, "applyButton", "정상 적용 하였습니다."},
        {10, 0, "cmdSave", "변경되었습니다."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        ui_.shown.clear();
        ASSERT_TRUE(frame->OpenMenuScreen(c.group, c.item));
        QApplication::processEvents();
        BusinessScreen* screen = frame->currentBusinessScreen();
        ASSERT_NE(screen, nullptr);
        auto* button = screen->findChild<QPushButton*>(c.button);
        ASSERT_NE(button, nullptr);
        // Scrolled to as a person would, through every scroll area around it.
        for (QWidget* w = button->parentWidget(); w; w = w->parentWidget()) {
            if (auto* scroll = qobject_cast<QScrollArea*>(w)) scroll->ensureWidgetVisible(button);
        }
        QApplication::processEvents();
        EXPECT_EQ(button->visibleRegion().boundingRect(), button->rect())
            << "the button is cut off or outside the window";
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_FALSE(ui_.texts().empty());
        EXPECT_EQ(ui_.texts().back(), c.shown);
    }
}

TEST_F(MainFrameTest, OwnIdCannotBeEdited) {
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(10, 0));
    auto* id = frame->currentBusinessScreen()->findChild<QLineEdit*>("txtId");
    ASSERT_NE(id, nullptr);
    EXPECT_TRUE(id->isReadOnly());
    id->setFocus();
    QTest::keyClicks(id, "other");
    EXPECT_EQ(id->text().toStdString(), inst_->id);
}

TEST_F(MainFrameTest, AMissingAccountShowsAnEmptyScreen) {
    session_ = test::SessionFor(*inst_, 999999990);
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(10, 0));
    EXPECT_FALSE(frame->currentBusinessScreen()->isEnabled());
}

TEST_F(MainFrameTest, OrganisationScreenListsTheAgenciesOfTheChosenBranch) {
    auto frame = Frame();
    ASSERT_TRUE(frame->OpenMenuScreen(10, 4));
    auto* screen = qobject_cast<OrganisationScreen*>(frame->currentBusinessScreen());
    ASSERT_NE(screen, nullptr);
    int row = -1;
    for (int r = 0; r < screen->branches()->rowCount(); ++r) {
        if (screen->branches()->item(r, 0)->text().toLongLong() == brinx_) row = r;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(screen->branches()->item(row, 1)->text(), QString::fromUtf8("화면지사"));
    EXPECT_EQ(screen->agencies()->rowCount(), 0);
    screen->branches()->setCurrentCell(row, 1);
    ASSERT_EQ(screen->agencies()->rowCount(), 1);
    EXPECT_EQ(screen->agencies()->item(0, 1)->text(), QString::fromUtf8("화면대리점"));
    EXPECT_EQ(screen->branches()->horizontalHeaderItem(0)->text(), QString::fromUtf8("관리코드"));
}

}  // namespace
}  // namespace qx::ui
