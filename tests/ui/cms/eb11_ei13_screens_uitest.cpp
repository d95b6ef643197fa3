// The EB11 and EI13 screens as a person uses them: choosing a received file
// and applying it, writing its EB12 and marking it sent; attaching a
// member's agreement file in the chooser, packing it into the day's EI13
// and sending it; and the refusals they show on the way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "cms/eb11/ea12_create.h"
#include "cms/eb11/eb11_apply.h"
#include "cms/eb11/eb11_file.h"
#include "cms/eb11/eb11_test_file.h"
#include "cms/eb11/eb12_writer.h"
#include "cms/ei13/agreement_evidence.h"
#include "cms/rollback/ei13_rollback.h"
#include "cms/workspace/cms_folders.h"
#include "members/agreement_file.h"
#include "support/screen_test.h"
#include "ui/cms/cms_status_screen.h"
#include "ui/cms/eb11_screen.h"
#include "ui/cms/ei13_screen.h"
#include "ui/gui_interaction.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class Eb11Ei13ScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session = test::SessionFor(inst_);
        drive = fs::temp_directory_path() / ("qx-eb11-ui-" + inst_.id);
        fs::remove_all(drive);
        session.SystemDrive = drive.string() + "/";
        schema = InstitutionSchema(inst_.inx);
        db_->setLogSchema(schema);
        for (const char* t : {"file_ea11", "ei13", "file_ei13", "member_user"})
            db_->ExecuteSql("delete from " + schema + "." + t);
    }
    void TearDown() override { fs::remove_all(drive); }

    static void ClickRow(QTableWidget* grid, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, 0)).center());
    }
    static void Click(QWidget& screen, const char* name) {
        QTest::mouseClick(Find<QPushButton>(screen, name), Qt::LeftButton);
    }

    // Runs `step` on the modal window that opens next.
    static void OnNextModal(std::function<void(QWidget*)> step) {
        QTimer::singleShot(0, [step] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            step(modal);
        });
    }
    long long AgreedMember(const std::string& account) {
        db_->ExecuteSql("insert into " + schema +
                            ".member_user (username, bank_code, account_no, account_jumin, "
                            "cms_agree_status) values ('김동의', '0040000', ?, '800101', '1')",
                        {account});
        const long long m = db_->lastInsertId();
        const fs::path folder = drive / "vornadir" / session.LoginId / "EI13" / "agree_file";
        fs::create_directories(folder);
        std::ofstream(folder / fmt::format("{:010}_004_{}_20300301_1.jpg", m, account),
                      std::ios::binary)
            << std::string(64, 'p');
        return m;
    }

    SessionContext session;
    fs::path drive;
    std::string schema;
};

TEST_F(Eb11Ei13ScreensTest, AReceivedFileIsAppliedAnsweredAndMarkedFromTheScreen) {
    session.bank_receipt_switch = true;
    const fs::path folder = MakeExchangeFolder(session, "EB11");
    std::ofstream(folder / "EB111204", std::ios::binary)
        << test::Eb11Bytes(inst_.org_code, "261204",
                           {{"1", "0000012345", "004", "12345678", "900101"},
                            {"3", "0000054321", "004", "87654321", "900101"}},
                           "MAC1");
    Eb11Screen screen(*db_, session, ui_);
    screen.resize(1000, 600);
    screen.show();
    EXPECT_EQ(screen.objectName(), "frmDoc33_1");
    auto* files = Find<QTableWidget>(screen, "grdFiles");
    ASSERT_EQ(files->rowCount(), 1);
    EXPECT_EQ(files->item(0, 2)->text(), QString::fromUtf8(kEb11NotAppliedState));

    // Nothing chosen: the button says so.
    Click(screen, "cmdApply");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb11NoFileText});

    ui_.shown.clear();
    ClickRow(files, 0);
    Click(screen, "cmdApply");
    EXPECT_TRUE(ui_.shown.empty());
    auto* detail = Find<QTableWidget>(screen, "grdDetail");
    ASSERT_EQ(detail->rowCount(), 2);
    EXPECT_EQ(detail->item(0, 5)->text(), QString::fromUtf8(kEb11CreatedText));
    EXPECT_EQ(detail->item(1, 5)->text(), QString::fromUtf8(kEb11UnknownMemberText));
    EXPECT_EQ(files->item(0, 2)->text(), QString::fromUtf8(kEb11AlreadyAppliedText));

    Click(screen, "cmdEb12");
    const fs::path eb12 = fs::path(ExchangeFolder(session, "EB12")) / "EB121204";
    ASSERT_TRUE(fs::exists(eb12));
    EXPECT_EQ(fs::file_size(eb12), 3u * 120u);  // one refusal

    Click(screen, "cmdEb12Sent");
    Click(screen, "cmdEb12Sent");
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kEb12MarkedText, kEb12CannotMarkText}));
}

// frmDoc33: an account change applied from the screen shows its channel,
// and the relay's notices of the year are listed beside the files; the
// screen for bank-counter registrations has no such list.
TEST_F(Eb11Ei13ScreensTest, TheStandardScreenShowsChannelsAndTheRelaysNotices) {
    session.bank_receipt_switch = false;
    db_->ExecuteSql("insert into " + schema +
                    ".member_user (member_inx, username, bank_code, account_no, account_jumin, "
                    "remove, cms_status, settle_accounts) values (4242, '김변경', '0040000', "
                    "'1000', '800101', '1', '3', '1')");
    test::Eb11Line change{"1", "0000004242", "088", "2000", "800101"};
    change.channel = "CHNG";
    const fs::path folder = MakeExchangeFolder(session, "EB11");
    std::ofstream(folder / "EB111204", std::ios::binary)
        << test::Eb11Bytes(inst_.org_code, "261204", {change}, "MAC1");
    db_->ExecuteSql("delete from sdsi.acnt_status_check where asc_cominx=?", {inst_.inx});
    db_->ExecuteSql(
        "insert into sdsi.acnt_status_check (asc_cominx, asc_reg_date, asc_reg_kind, "
        "asc_user_no, asc_channel, asc_pross_status) values (?, '20261204', 'C', '0000004242', "
        "'CHNG', '2'), (?, '20261205', 'D', '0000004243', 'CNCL', '0')",
        {inst_.inx, inst_.inx});

    Eb11Screen screen(*db_, session, ui_);
    screen.resize(1000, 700);
    screen.show();
    EXPECT_EQ(screen.objectName(), "frmDoc33");
    auto* years = Find<QComboBox>(screen, "cboYear");
    years->clear();
    years->addItem("2026");
    Click(screen, "cmdList");
    auto* notices = Find<QTableWidget>(screen, "grdNotices");
    ASSERT_EQ(notices->rowCount(), 2);
    EXPECT_EQ(notices->item(0, 0)->text(), "해지");
    EXPECT_EQ(notices->item(0, 7)->text(), "처리전");
    EXPECT_EQ(notices->item(1, 0)->text(), "계좌변경");
    EXPECT_EQ(notices->item(1, 6)->text(), "참가기관 계좌변경");
    EXPECT_EQ(notices->item(1, 7)->text(), "처리대기중");

    auto* files = Find<QTableWidget>(screen, "grdFiles");
    ASSERT_EQ(files->rowCount(), 1);
    ClickRow(files, 0);
    Click(screen, "cmdApply");
    EXPECT_TRUE(ui_.shown.empty()) << ::testing::PrintToString(ui_.texts());
    auto* detail = Find<QTableWidget>(screen, "grdDetail");
    ASSERT_EQ(detail->rowCount(), 1);
    EXPECT_EQ(detail->item(0, 5)->text(), QString::fromUtf8(kEb11AccountChangedText));
    EXPECT_EQ(detail->item(0, 7)->text(), "참가기관 계좌변경");
    EXPECT_EQ(db_->scalar("select concat(bank_code,'|',account_no,'|',cms_agree_status) from " +
                          schema + ".member_user where member_inx=4242"),
              "0880000|2000|P");
    db_->ExecuteSql("delete from sdsi.acnt_status_check where asc_cominx=?", {inst_.inx});

    session.bank_receipt_switch = true;
    Eb11Screen counter(*db_, session, ui_);
    EXPECT_EQ(counter.findChild<QTableWidget*>("grdNotices"), nullptr);
}

TEST_F(Eb11Ei13ScreensTest, AnAgreementFileIsAttachedPackedAndSent) {
    db_->ExecuteSql("insert into " + schema +
                    ".member_user (username, bank_code, account_no, account_jumin) values "
                    "('김동의', '0040000', '1112223334', '800101')");
    const long long member = db_->lastInsertId();
    const fs::path source = drive / "scan.jpg";
    fs::create_directories(drive);
    std::ofstream(drive / "tiny.jpg", std::ios::binary) << std::string(10, 'x');
    std::ofstream(source, std::ios::binary) << std::string(500, 'j');

    {
        AgreementChooserDialog chooser(*db_, session, ui_, member);
        chooser.show();
        auto* path = Find<QLineEdit>(chooser, "txtPath");
        // Too small: refused, the dialog stays.
        QTest::keyClicks(path, QString::fromStdString((drive / "tiny.jpg").string()));
        QTest::keyClick(path, Qt::Key_Return);
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{AgreementSizeText(10)});
        EXPECT_TRUE(chooser.isVisible());
        // A voice kind does not take a picture.
        ui_.shown.clear();
        path->clear();
        QTest::keyClicks(path, QString::fromStdString(source.string()));
        Find<QComboBox>(chooser, "cboKind")->setCurrentIndex(3);  // 4_녹취
        QTest::mouseClick(Find<QPushButton>(chooser, "cmdOk"), Qt::LeftButton);
        ASSERT_EQ(ui_.shown.size(), 1u);
        EXPECT_NE(ui_.shown[0].text.find("자료구분값[4]"), std::string::npos);
        ui_.shown.clear();
        Find<QComboBox>(chooser, "cboKind")->setCurrentIndex(0);  // 1_서면
        QTest::mouseClick(Find<QPushButton>(chooser, "cmdOk"), Qt::LeftButton);
        EXPECT_TRUE(ui_.shown.empty());
        EXPECT_FALSE(chooser.isVisible());
    }
    EXPECT_EQ(
        db_->scalar("select cms_agree_status from " + schema + ".member_user where member_inx=?",
                    {member}),
        "1");

    Ei13Screen screen(*db_, session, ui_);
    screen.resize(1000, 600);
    screen.show();
    EXPECT_EQ(Find<QLabel>(screen, "lblFigures")->text(), QStringLiteral("설정함: 1건 (PC: 1 건)"));
    Find<QDateEdit>(screen, "dtpFileDate")->setDate(QDate(2030, 3, 5));
    ui_.answers = {true, false};  // create; do not open the transmission now
    Click(screen, "cmdCreate");
    ASSERT_GE(ui_.shown.size(), 2u);
    EXPECT_EQ(ui_.shown[0].text, "EI130305 파일을 생성 하시겠습니까?");
    EXPECT_TRUE(fs::exists(fs::path(ExchangeFolder(session, "EI13")) / "EI130305"));
    EXPECT_EQ(
        db_->scalar("select cms_agree_status from " + schema + ".member_user where member_inx=?",
                    {member}),
        "2");
    auto* files = Find<QTableWidget>(screen, "grdFiles");
    Find<QDateEdit>(screen, "dtpFrom")->setDate(QDate(2000, 1, 1));
    Find<QDateEdit>(screen, "dtpTo")->setDate(QDate(2099, 12, 31));
    Click(screen, "cmdList");
    ASSERT_EQ(files->rowCount(), 1);
    EXPECT_EQ(files->item(0, 0)->text(), QStringLiteral("EI13300305"));
    ClickRow(files, 0);
    auto* detail = Find<QTableWidget>(screen, "grdDetail");
    ASSERT_EQ(detail->rowCount(), 1);
    EXPECT_EQ(detail->item(0, 0)->text(), QStringLiteral("김동의"));

    ui_.shown.clear();
    Click(screen, "cmdSend");
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_NE(ui_.shown[0].text.find("[EI130305] 파일을 전송하였습니다."), std::string::npos);
    EXPECT_EQ(db_->scalar("select send_stat from " + schema + ".ei13 where filename='EI13300305'"),
              "1");
}

TEST_F(Eb11Ei13ScreensTest, CtrlF10TakesBackTheLatestEi13) {
    const long long m = AgreedMember("1231231234");
    Ei13Screen screen(*db_, session, ui_);
    screen.resize(1000, 600);
    screen.show();
    Find<QDateEdit>(screen, "dtpFileDate")->setDate(QDate(2030, 3, 6));
    ui_.answers = {true, false};
    Click(screen, "cmdCreate");
    ASSERT_EQ(db_->scalarInt("select count(*) from " + schema + ".ei13"), 1);
    ui_.shown.clear();
    OnNextModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "frmRollBack");
        auto* box = dialog->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, "vornadesk");
        OnNextModal([](QWidget* rollback) {
            EXPECT_EQ(rollback->objectName(), "frmEi13roolback");
            auto* grid = rollback->findChild<QTableWidget*>("grdFiles");
            ASSERT_EQ(grid->rowCount(), 1);
            EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("EI13300306"));
            EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("파일송신전"));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualItemRect(grid->item(0, 0)).center());
            // Enter on the chosen row takes nothing back: only the button does.
            QTest::keyClick(grid, Qt::Key_Return);
            EXPECT_EQ(grid->rowCount(), 1);
            EXPECT_TRUE(rollback->isVisible());
            QTest::mouseClick(rollback->findChild<QPushButton*>("cmdRollback"), Qt::LeftButton);
            EXPECT_EQ(grid->rowCount(), 0);
            QTest::mouseClick(rollback->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        QTest::keyClick(box, Qt::Key_Return);
    });
    QApplication::setActiveWindow(&screen);
    auto* grid = Find<QTableWidget>(screen, "grdFiles");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F10, Qt::ControlModifier);
    EXPECT_TRUE(ui_.shown.empty());
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema + ".ei13"), 0);
    EXPECT_EQ(
        db_->scalar("select cms_agree_status from " + schema + ".member_user where member_inx=?",
                    {m}),
        "1");
    EXPECT_EQ(Find<QLabel>(screen, "lblFigures")->text(), QStringLiteral("설정함: 1건 (PC: 1 건)"));
}

TEST_F(Eb11Ei13ScreensTest, ATestInstitutionAnswersItsEa11FromTheStatusScreen) {
    session.stat_company = "0";
    const fs::path folder = MakeExchangeFolder(session, "EA11");
    auto pad = [](std::string r) {
        r.resize(100, ' ');
        return r;
    };
    std::ofstream(folder / "EA111204", std::ios::binary)
        << pad("H0000000" + session.org_code + "EA111204261204")
        << pad("R0000001" + session.org_code + "2612041")
        << pad("R0000002" + session.org_code + "2612043")
        << pad("T9999999" + session.org_code + "EA11120400000002");
    GuiInteraction gui;
    CmsStatusScreen status(*db_, session, gui);
    bool opened = false;
    QObject::connect(&status, &CmsStatusScreen::openEb11Screen, &status, [&] {
        opened = true;
        ui_.answers = {true};  // the test account's question
        OnNextModal([this](QWidget* dialog) {
            EXPECT_EQ(dialog->objectName(), "frmEa12Create");
            auto* grid = dialog->findChild<QTableWidget*>("grdFiles");
            ASSERT_EQ(grid->rowCount(), 1);
            EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("1"));
            auto* news = dialog->findChild<QLineEdit*>("txtNew");
            // Two new refusals of one: refused, then one.
            news->selectAll();
            QTest::keyClicks(news, "2");
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCreate"), Qt::LeftButton);
            news->selectAll();
            QTest::keyClicks(news, "1");
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCreate"), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        OpenEb11FromStatus(*db_, session, ui_, &status);
    });
    auto* button = Find<QPushButton>(status, "cmdEb11");
    EXPECT_TRUE(button->isEnabled());
    status.show();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(opened);
    const std::string ea12 = ExchangeFolder(session, "EA12") + "/EA121204";
    ASSERT_EQ(ui_.shown.size(), 3u);
    EXPECT_EQ(ui_.shown[0].text,
              "테스트 계정인경우 EB12 작성만 처리합니다. EB12파일을 작성 하시겠습니까?");
    EXPECT_EQ(ui_.shown[1].text, kEa12TooManyNewText);
    EXPECT_EQ(ui_.shown[2].text, "파일명 : " + ea12 + "으로 저장 되었습니다.");
    EXPECT_EQ(fs::file_size(ea12), 300u);
}

}  // namespace
}  // namespace qx::ui
