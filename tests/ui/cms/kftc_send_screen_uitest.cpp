// frmFileSend_kftc as a person uses it, against the real library loaded at
// run time and a simulated clearing house in a temporary folder: ticking a
// file and sending it, the lists of the clearing house, cancelling,
// receiving, and the busy window that refuses to close.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "center.h"
#include "cms/transmission/open_transmission.h"
#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "platform/user_settings.h"
#include "session/eb11_status.h"
#include "support/hand_made_cms_file.h"
#include "ui/cms/cms_status_screen.h"
#include "ui/cms/kftc_center_test.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/gui_interaction.h"
#include "ui/main/main_frame.h"
#include "ui/main/summary_panel.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;
using test::HandMadeEb13;
using test::Pad;

class KftcSendScreenTest : public test::KftcCenterTest {
  protected:
    void SetUp() override {
        SetUpCenter("kftc");
        db_->ExecuteSql("delete from " + schema + ".ea13");
        db_->ExecuteSql("delete from " + schema + ".ei13");
    }
    void TearDown() override {
        screen.reset();
        KftcCenterTest::TearDown();
    }

    // The screen opened and started as the transmission command does.
    KftcSendScreen& Open() {
        screen = std::make_unique<KftcSendScreen>(*db_, session, ui_, lib);
        screen->setPause([](int) {});
        EXPECT_TRUE(screen->start()) << ::testing::PrintToString(ui_.texts());
        screen->show();
        ui_.shown.clear();
        return *screen;
    }
    void Click(const char* name) {
        QTest::mouseClick(Find<QPushButton>(*screen, name), Qt::LeftButton);
    }
    void Period(const QDate& from, const QDate& to) {
        Find<QDateEdit>(*screen, "dtpFrom")->setDate(from);
        Find<QDateEdit>(*screen, "dtpTo")->setDate(to);
    }
    // The row of `grid` whose file-name column holds `file`, or -1.
    static int RowOf(QTableWidget* grid, int column, const QString& file) {
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, column) && grid->item(r, column)->text() == file) return r;
        return -1;
    }
    // Ticks a file of the send list with the space bar, as a person does.
    void Tick(const QString& file) {
        auto* grid = Find<QTableWidget>(*screen, "grdSendFiles");
        const int row = RowOf(grid, 0, file);
        ASSERT_GE(row, 0) << file.toStdString();
        grid->setFocus();
        grid->setCurrentCell(row, 0);
        QTest::keyClick(grid->viewport(), Qt::Key_Space);
        ASSERT_EQ(grid->item(row, 0)->checkState(), Qt::Checked);
    }
    // Selects a row of the clearing-house list by clicking it.
    void Pick(const QString& file) {
        auto* grid = Find<QTableWidget>(*screen, "grdKftc");
        const int row = RowOf(grid, 1, file);
        ASSERT_GE(row, 0) << file.toStdString();
        const QRect cell = grid->visualItemRect(grid->item(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(grid->currentRow(), row);
    }

    HandMadeEb13 Eb13(const std::string& mmdd, const std::string& yymmdd) const {
        HandMadeEb13 f{inst_.org_code, mmdd, yymmdd, {}};
        f.rows = {
            "1" + Pad("0000000101", 20) + "0040000" + Pad("11111111", 16) + Pad("800101", 16),
            "3" + Pad("0000000103", 20) + "0200000" + Pad("33333333", 16) + Pad("820303", 16)};
        return f;
    }
    std::string Sound(const HandMadeEb13& f) const {
        return f.header("EB13") + f.data(0, "") + f.data(1, "") + f.trailer("EB13", 2, 1, 1);
    }
    // The file in its exchange folder with its ea13 row; its EI13 sent.
    void Place(const HandMadeEb13& f, const std::string& bytes) {
        std::ofstream(fs::path(MakeExchangeFolder(session, "EB13")) / f.name(), std::ios::binary)
            << bytes;
        db_->ExecuteSql(
            "insert into " + schema +
                ".ea13 (filename, total_cnt, pross_stat, send_stat) values (?,2,'0','0')",
            {"EB13" + f.yymmdd});
        db_->ExecuteSql("insert into " + schema + ".ei13 (filename, send_stat) values (?, '5')",
                        {"EI13" + f.yymmdd});
    }
    std::string SendStat(const std::string& dbName) {
        auto rs = db_->OpenRecordset("select send_stat from " + schema + ".ea13 where filename=?",
                                     {dbName});
        return rs.empty() ? "" : rs[0]["send_stat"];
    }
    std::string Shown(int i) const { return ui_.shown.at(static_cast<std::size_t>(i)).text; }

    std::unique_ptr<KftcSendScreen> screen;
};

TEST_F(KftcSendScreenTest, SendTheTickedFileSeeTheResultAndReceiveTheEb14) {
    center->AddRule("refuse 33333333 0023");
    const HandMadeEb13 f = Eb13("0311", "270311");
    Place(f, Sound(f));
    Open();
    EXPECT_EQ(screen->windowTitle(), "금결원 파일 송수신");

    // Nothing ticked: refused before anything is sent.
    Click("cmdSend");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"선택한 파일이 없습니다."});
    ui_.shown.clear();

    Tick("EB130311");
    Click("cmdSend");
    ASSERT_EQ(ui_.shown.size(), 1u) << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(ui_.shown[0].title, "파일송신 결과확인");
    EXPECT_EQ(Shown(0).rfind("파일명 : EB130311\r\n송신결과 : 정상\r\n", 0), 0u) << Shown(0);
    EXPECT_EQ(SendStat("EB13270311"), "5");
    EXPECT_FALSE(screen->isBusy());

    Period(QDate(2027, 3, 1), QDate(2027, 3, 31));
    Click("cmdSendResult");
    auto* held = Find<QTableWidget>(*screen, "grdKftc");
    EXPECT_EQ(screen->shown(), KftcSendScreen::Shown::SendResults);
    EXPECT_EQ(Find<QLabel>(*screen, "lblKftcList")->text(), "파일송신 결과확인내역");
    ASSERT_EQ(held->rowCount(), 1);
    EXPECT_EQ(held->horizontalHeaderItem(1)->text(), "파일명");
    EXPECT_EQ(held->item(0, 1)->text(), "EB130311");
    EXPECT_EQ(held->item(0, 4)->text(), "2");  // 전체건수

    Click("cmdRecvList");
    EXPECT_EQ(screen->shown(), KftcSendScreen::Shown::Receivable);
    const int row = RowOf(held, 1, "EB140311");
    ASSERT_GE(row, 0);
    EXPECT_EQ(held->item(row, 5)->text(), "미수신");
    EXPECT_EQ(held->item(row, 3)->text(), "2027-03-11");
    Pick("EB140311");
    ui_.shown.clear();
    Click("cmdRecv");
    EXPECT_TRUE(ui_.shown.empty()) << ::testing::PrintToString(ui_.texts());
    const std::string expected =
        f.header("EB14") + f.data(0, "Y0000") + f.data(1, "N0023") + f.trailer("EB14", 2, 1, 1);
    EXPECT_EQ(test::ReadAll(fs::path(ExchangeFolder(session, "EB14")) / "EB140311"), expected);
    // The received list and the clearing house's state follow.
    EXPECT_GE(RowOf(Find<QTableWidget>(*screen, "grdRecvFiles"), 0, "EB140311"), 0);
    EXPECT_EQ(held->item(RowOf(held, 1, "EB140311"), 5)->text(), "수신완료");
}

// A file the clearing house refuses shows its text; the row is not sent. Sent
// again after a lost answer (row back at 0), the clearing house answers 8
// and the row ends sent.
TEST_F(KftcSendScreenTest, RefusedFileStaysUnsentAndAHeldFileEndsSent) {
    const HandMadeEb13 f = Eb13("0312", "270312");
    Place(f, f.header("EB13") + f.data(0, "") + f.data(1, "") + f.trailer("EB13", 3, 1, 1));
    Open();
    Tick("EB130312");
    Click("cmdSend");
    ASSERT_EQ(ui_.shown.size(), 1u) << ::testing::PrintToString(ui_.texts());
    EXPECT_NE(Shown(0).find("에러가 발생하였습니다.\r\n\r\n작업명 : ["), std::string::npos);
    EXPECT_NE(Shown(0).find("트레일러의 데이터 건수가 다릅니다."), std::string::npos) << Shown(0);
    EXPECT_EQ(SendStat("EB13270312"), "0");
    EXPECT_TRUE(center->SentFiles(inst_.org_code, "", "").empty());

    std::ofstream(fs::path(ExchangeFolder(session, "EB13")) / f.name(), std::ios::binary)
        << Sound(f);
    Click("cmdRefresh");
    Tick("EB130312");
    ui_.shown.clear();
    Click("cmdSend");
    EXPECT_EQ(SendStat("EB13270312"), "5");
    db_->ExecuteSql("update " + schema + ".ea13 set send_stat='0' where filename='EB13270312'");
    Tick("EB130312");
    ui_.shown.clear();
    Click("cmdSend");
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_NE(Shown(0).find("에러코드 : 8\r\n에러메세지 : 파일이 이미 송신되었습니다."),
              std::string::npos)
        << Shown(0);
    EXPECT_EQ(SendStat("EB13270312"), "5");
}

TEST_F(KftcSendScreenTest, CancelASendFromTheCancellableList) {
    const HandMadeEb13 f = Eb13("1204", "251204");
    Place(f, Sound(f));
    Open();
    Tick("EB131204");
    Click("cmdSend");
    ASSERT_EQ(SendStat("EB13251204"), "5");
    Period(QDate(2025, 12, 1), QDate(2025, 12, 31));

    // The cancel button first brings up the list it works on.
    ui_.shown.clear();
    Click("cmdCancel");
    EXPECT_EQ(screen->shown(), KftcSendScreen::Shown::Cancellable);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"선택한 파일이 없습니다."});
    Pick("EB131204");

    ui_.shown.clear();
    ui_.answers = {false};
    Click("cmdCancel");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"EB131204 파일을 송신취소 하시겠습니까?"});
    EXPECT_EQ(SendStat("EB13251204"), "5");

    ui_.shown.clear();
    ui_.answers = {true};
    Pick("EB131204");
    Click("cmdCancel");
    ASSERT_EQ(ui_.shown.size(), 2u) << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(Shown(1), "[EB131204] 파일 송신 취소완료");
    EXPECT_EQ(ui_.shown[1].title, "파일 송신 취소확인");
    EXPECT_EQ(SendStat("EB13251204"), "0");
    EXPECT_EQ(Find<QTableWidget>(*screen, "grdKftc")->rowCount(), 0);
}

// While a library call runs the window keeps handling events, refuses to
// close and cannot start a second operation; afterwards it closes with its
// logout.
TEST_F(KftcSendScreenTest, BusyWindowRefusesToCloseAndKeepsResponding) {
    const HandMadeEb13 f = Eb13("0320", "270320");
    Place(f, Sound(f));
    Open();
    Tick("EB130320");
    bool triedWhileBusy = false, busySeen = false, visibleAfterTry = false;
    QString progressText;
    screen->setPause([&](int) {
        if (triedWhileBusy) return;
        triedWhileBusy = true;
        // The person clicks the close box while the send is being confirmed.
        QMetaObject::invokeMethod(
            screen.get(),
            [&] {
                busySeen = screen->isBusy();
                progressText = Find<QLabel>(*screen, "lblProgress")->text();
                screen->close();
                visibleAfterTry = screen->isVisible();
                Click("cmdSendResult");  // disabled while busy: nothing happens
            },
            Qt::BlockingQueuedConnection);
    });
    Click("cmdSend");
    EXPECT_TRUE(triedWhileBusy);
    EXPECT_TRUE(busySeen);
    EXPECT_TRUE(progressText.startsWith("EB130320 파일송신 중입니다.\r\n잠시만 기다려 주십시오."))
        << progressText.toStdString();
    EXPECT_TRUE(visibleAfterTry);
    ASSERT_GE(ui_.shown.size(), 1u);
    EXPECT_EQ(Shown(0), "작업 중 화면 종료 불가");
    EXPECT_EQ(screen->shown(), KftcSendScreen::Shown::None);
    EXPECT_EQ(SendStat("EB13270320"), "5");

    ui_.shown.clear();
    screen->close();
    EXPECT_FALSE(screen->isVisible());
    EXPECT_TRUE(ui_.shown.empty());
}

// Enter in the lists or on a button never sends, cancels or receives.
TEST_F(KftcSendScreenTest, EnterNeverPressesAnIrreversibleButton) {
    const HandMadeEb13 f = Eb13("0321", "270321");
    Place(f, Sound(f));
    Open();
    Tick("EB130321");
    for (const char* name : {"grdSendFiles", "grdKftc", "dtpFrom", "cmdSend", "cmdCancel"}) {
        SCOPED_TRACE(name);
        auto* w = Find<QWidget>(*screen, name);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
    }
    for (auto* b : screen->findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
        EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();
    }
    EXPECT_TRUE(ui_.shown.empty()) << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(SendStat("EB13270321"), "0");
    EXPECT_TRUE(center->SentFiles(inst_.org_code, "", "").empty());
    EXPECT_TRUE(screen->isVisible());
}

// The other lists and fetches of the screen: notices, an expired EB11 kept
// only under its expired name, a reverse receipt, the deposit notice refused
// for a file that is not an EB22, the month's limit, and a receive code
// nobody knows stopping the list.
TEST_F(KftcSendScreenTest, NoticesExpiredEb11ReverseReceiptAndMonthLimit) {
    fs::create_directories(root / "center");
    std::ofstream(root / "center" / "notices.txt") << "20270301|3월 정기점검 안내\n";
    const std::string eb11 = Pad("H00000000" + Pad(inst_.org_code, 10) + "EB110319270319", 120) +
                             Pad("R00000001" + Pad(inst_.org_code, 10) + "2703191", 120) +
                             Pad("T99999999" + Pad(inst_.org_code, 10) + "EB11031900000001", 120);
    ASSERT_EQ(center->IssueFile(inst_.org_code, "EB110319", "20270319", eb11).code, 0);
    ASSERT_EQ(center->SetState(inst_.org_code, "EB110319", "20270319", "09").code, 0);
    const HandMadeEb13 f = Eb13("0319", "270319");
    Place(f, Sound(f));
    Open();
    auto* notices = Find<QTableWidget>(*screen, "grdNotice");
    ASSERT_EQ(notices->rowCount(), 1);
    EXPECT_EQ(notices->item(0, 0)->text(), "2027-03-01");
    EXPECT_EQ(notices->item(0, 1)->text(), "3월 정기점검 안내");

    Period(QDate(2027, 3, 19), QDate(2027, 3, 19));
    Click("cmdRecvList");
    auto* held = Find<QTableWidget>(*screen, "grdKftc");
    ASSERT_GE(RowOf(held, 1, "EB110319"), 0);
    EXPECT_EQ(held->item(RowOf(held, 1, "EB110319"), 5)->text(), "기간만료파일");
    Pick("EB110319");
    Click("cmdRecvExpired");
    const fs::path eb11Folder = ExchangeFolder(session, "EB11");
    EXPECT_FALSE(fs::exists(eb11Folder / "EB110319"));
    EXPECT_EQ(test::ReadAll(eb11Folder / "ExpiredEB110319"), eb11);
    EXPECT_EQ(RowOf(Find<QTableWidget>(*screen, "grdRecvFiles"), 0, "EB110319"), -1);

    // Deposit notices belong to EB22 files only.
    Pick("EB110319");
    ui_.shown.clear();
    Click("cmdDeposit");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"[EB110319] 는 출금이체 입금 통지서 "
                                                    "내역조회에 적합한 파일이 아닙니다."});

    Tick("EB130319");
    Click("cmdSend");
    ASSERT_EQ(SendStat("EB13270319"), "5");
    fs::remove(fs::path(ExchangeFolder(session, "EB13")) / "EB130319");
    Click("cmdReverseList");
    EXPECT_EQ(screen->shown(), KftcSendScreen::Shown::ReverseReceivable);
    Pick("EB130319");
    ui_.shown.clear();
    Click("cmdReverse");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"[EB130319] 역수신 파일 수신 완료"});
    EXPECT_EQ(test::ReadAll(fs::path(ExchangeFolder(session, "EB13")) / "EB130319"), Sound(f));

    ui_.shown.clear();
    Click("cmdMonthLimit");
    ASSERT_EQ(ui_.shown.size(), 1u) << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(ui_.shown[0].title, "월 출금한도 조회");
    EXPECT_EQ(Shown(0).rfind("월 한도 : 100,000,000\r\n", 0), 0u) << Shown(0);

    // A receive code the screen does not know stops the list, and the list
    // is not left showing stale rows.
    ASSERT_EQ(center->SetState(inst_.org_code, "EB110319", "20270319", "07").code, 0);
    ui_.shown.clear();
    Click("cmdRecvList");
    EXPECT_EQ(ui_.texts(),
              std::vector<std::string>{
                  "[07] : 알수없는 상태값입니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다."});
    EXPECT_EQ(held->rowCount(), 0);
    EXPECT_EQ(screen->shown(), KftcSendScreen::Shown::None);
}

// After an expired EB11 is received the person is told where its list was
// saved, with the full path of the file written; when the list cannot be
// written only its failure is shown and the expired file is kept all the same.
TEST_F(KftcSendScreenTest, ExpiredEb11ReceiptNamesTheSavedList) {
    struct Case {
        std::string mmdd;
        bool folderBlocked;
    };
    const fs::path excel = root / "excel";
    for (const Case& c : {Case{"0319", true}, Case{"0320", false}}) {
        SCOPED_TRACE(c.mmdd);
        const std::string name = "EB11" + c.mmdd, date = "2027" + c.mmdd;
        const std::string eb11 =
            Pad("H00000000" + Pad(inst_.org_code, 10) + name + "27" + c.mmdd, 120) +
            Pad("R00000001" + Pad(inst_.org_code, 10) + "27" + c.mmdd + "1", 120) +
            Pad("T99999999" + Pad(inst_.org_code, 10) + name + "00000001", 120);
        ASSERT_EQ(center->IssueFile(inst_.org_code, name, date, eb11).code, 0);
        ASSERT_EQ(center->SetState(inst_.org_code, name, date, "09").code, 0);
        // A plain file where the excel folder should be stops the list.
        fs::remove_all(excel);
        if (c.folderBlocked) std::ofstream(excel) << "x";
        session.excel_folder = excel.string();
        Open();
        const QDate day = QDate::fromString(QString::fromStdString(date), "yyyyMMdd");
        Period(day, day);
        Click("cmdRecvList");
        Pick(QString::fromStdString(name));
        ui_.shown.clear();
        Click("cmdRecvExpired");
        EXPECT_EQ(test::ReadAll(fs::path(ExchangeFolder(session, "EB11")) / ("Expired" + name)),
                  eb11);
        ASSERT_EQ(ui_.shown.size(), 1u) << ::testing::PrintToString(ui_.texts());
        if (c.folderBlocked) {
            EXPECT_EQ(Shown(0), "[" + name +
                                    "] Excel파일 생성이 중단 또는 실패했습니다. 다시 "
                                    "시도해주십시오.");
            continue;
        }
        const std::string head = "[" + name + "] 기간 만료된 파일의 내역을 저장하였습니다.\r\n";
        ASSERT_EQ(Shown(0).rfind(head, 0), 0u) << Shown(0);
        const fs::path list = Shown(0).substr(head.size());
        EXPECT_TRUE(list.is_absolute()) << list;
        EXPECT_EQ(list.parent_path(), excel);
        EXPECT_TRUE(fs::is_regular_file(list)) << list;
        EXPECT_GT(fs::file_size(list), 0u);
        const QString file = QString::fromStdString(list.filename().string());
        EXPECT_TRUE(
            QRegularExpression("^ExpiredEB11" + QString::fromStdString(c.mmdd) + "_\\d{12}\\.xls$")
                .match(file)
                .hasMatch())
            << list;
    }
}

TEST_F(KftcSendScreenTest, StartRefusesAWrongInstitutionCodeAndAMissingLibrary) {
    session.org_code = "123456789";
    KftcSendScreen refused(*db_, session, ui_, lib);
    EXPECT_FALSE(refused.start());
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"잘못된 이용기관 코드입니다. "
                                                    "쿼리스CMS(0000-0000)로 문의주시기 바랍니다."});

    // The program folder without the library: its message and nothing else.
    ui_.shown.clear();
    session = test::SessionFor(inst_);
    session.AppPath = (root / "app").string();
    fs::create_directories(root / "app");
    ShowKftcSendScreen(*db_, session, ui_, nullptr);
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_EQ(Shown(0).rfind("송수신모듈을 찾을 수 없습니다.", 0), 0u);
}

// The main window's EB11 line asked through the library in the program
// folder: nothing listed, then an EB11 the clearing house holds for us.
TEST_F(KftcSendScreenTest, MainWindowEb11LineComesFromTheLibrary) {
    const fs::path app = root / "app";
    fs::create_directories(app);
    fs::create_symlink(QUORISDEX_CMSCOMM_LIB, app / kKftcLibraryFile);
    session.AppPath = app.string() + "/";
    session.cmsrunprg = 1;
    db_->ExecuteSql("delete from " + schema + ".file_ea11");
    StoreEb11Check(*db_, inst_.inx, "");
    MainFrameHooks hooks;
    hooks.openUrl = [](const std::string&) {};
    hooks.startProgram = [](const std::string&) { return false; };
    MainFrame frame(*db_, session, ui_, UserSettings((root / "settings.ini").string()), hooks);

    ui_.answers = {true};
    frame.onEb11Clicked();
    const std::string shown = S(frame.summaryPanel()->eb11CheckText());
    EXPECT_EQ(shown.rfind("마지막 조회시각 : ", 0), 0u) << shown;
    EXPECT_NE(shown.find(" 대상없음"), std::string::npos) << shown;
    EXPECT_FALSE(frame.summaryPanel()->eb11Highlighted());

    const std::string today = ReadServerDate(*db_, session);  // yy-mm-dd
    const std::string yymmdd = today.substr(0, 2) + today.substr(3, 2) + today.substr(6, 2);
    const std::string name = "EB11" + yymmdd.substr(2);
    const std::string eb11 = Pad("H00000000" + Pad(inst_.org_code, 10) + name + yymmdd, 120) +
                             Pad("R00000001" + Pad(inst_.org_code, 10) + yymmdd + "1", 120) +
                             Pad("T99999999" + Pad(inst_.org_code, 10) + name + "00000001", 120);
    ASSERT_EQ(center->IssueFile(inst_.org_code, name, "20" + yymmdd, eb11).code, 0);
    ui_.answers = {true};
    frame.onEb11Clicked();
    const std::string marked = S(frame.summaryPanel()->eb11CheckText());
    EXPECT_NE(marked.find(" ×[0] " + name), std::string::npos) << marked;
    EXPECT_TRUE(frame.summaryPanel()->eb11Highlighted());
    auto rs =
        db_->OpenRecordset("select eb11chk from quorisdex.admin_company where inx=?", {inst_.inx});
    EXPECT_EQ("마지막 조회시각 : " + rs[0]["eb11chk"], marked);
    StoreEb11Check(*db_, inst_.inx, "");
}

// The windows that open the transmission screens: the status screen's
// button (the institution's path: the library's screen for a KFTC
// institution, the relay screen for a relay one) and the main window's
// quick buttons. Each opens the real screen, which is closed again.
TEST_F(KftcSendScreenTest, StatusScreenAndMainWindowOpenTheTransmissionScreens) {
    const fs::path app = root / "app";
    fs::create_directories(app);
    fs::create_symlink(QUORISDEX_CMSCOMM_LIB, app / kKftcLibraryFile);
    session.AppPath = app.string() + "/";
    session.cmsrunprg = 1;
    session.stat_company = "1";
    db_->ExecuteSql("update quorisdex.admin_company set TOLVEX_abled='1' where inx=?", {inst_.inx});
    // Closes the next transmission window that comes up and says which it was.
    auto closeNextWindow = [](std::string& opened) {
        auto* poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, [poll, &opened] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            // A message box instead of the screen is closed too, and named.
            opened =
                modal->objectName().isEmpty() ? "(message)" : modal->objectName().toStdString();
            poll->stop();
            poll->deleteLater();
            QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
        });
        poll->start();
    };
    GuiInteraction gui;
    {
        CmsStatusScreen status(*db_, session, gui);
        std::string opened;
        closeNextWindow(opened);
        QTest::mouseClick(status.findChild<QPushButton*>("cmdTransmit"), Qt::LeftButton);
        EXPECT_EQ(opened, "frmFileSend_kftc");

        session.cmsrunprg = 2;
        session.org_code = "HS" + std::to_string(300000 + inst_.inx % 600000);
        opened.clear();
        closeNextWindow(opened);
        QTest::mouseClick(status.findChild<QPushButton*>("cmdTransmit"), Qt::LeftButton);
        EXPECT_EQ(opened, "frmFileSend");
    }

    MainFrameHooks hooks;
    hooks.openUrl = [](const std::string&) {};
    hooks.startProgram = [](const std::string&) { return false; };
    MainFrame frame(*db_, session, ui_, UserSettings((root / "settings.ini").string()), hooks);
    frame.show();
    // A quick button of the main window's button bar, as the person sees it.
    auto quickButton = [&frame](const char* name) -> QWidget* {
        auto* bar = frame.findChild<QToolBar*>("tbButtons");
        auto* action = frame.findChild<QAction*>(name);
        return bar && action ? bar->widgetForAction(action) : nullptr;
    };
    const struct {
        const char* button;
        int cmsrunprg;
        const char* screen;
    } buttons[] = {{"cmdCompanion", 2, "frmFileSend"}, {"cmdCard", 2, "frmCreditCardSend"}};
    session.credit_id = "card01";
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button);
        session.cmsrunprg = b.cmsrunprg;
        std::string opened;
        closeNextWindow(opened);
        QWidget* button = quickButton(b.button);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(opened, b.screen) << ::testing::PrintToString(ui_.texts());
    }
    session = test::SessionFor(inst_);
    session.SystemDrive = (root / "drive").string() + "/";
    session.AppPath = app.string() + "/";
    session.stat_company = "1";
    std::string opened;
    closeNextWindow(opened);
    QTest::mouseClick(quickButton("cmdKftc"), Qt::LeftButton);
    EXPECT_EQ(opened, "frmFileSend_kftc") << ::testing::PrintToString(ui_.texts());
}

}  // namespace
}  // namespace qx::ui
