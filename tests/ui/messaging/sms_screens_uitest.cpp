// The send windows and the history report as a person uses them: typing
// past 90 bytes asks to switch to LMS, the grid is personalised, rows can be
// left out, the send queues what the grid shows, the agent delivers it and
// frmDoc46 lists the results; a messaging database out of reach is said so.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "messaging/messaging_db.h"
#include "messaging/sms_history.h"
#include "support/screen_test.h"
#include "ui/messaging/sms_screens.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

// Types the text key by key, as keyClicks does for ASCII; Hangul comes as
// the text of each key, as an input method hands it over.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class SmsScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session = test::SessionFor(inst_);
        session.company = "시험기관";
        app = fs::temp_directory_path() / ("qx-sms-ui-" + inst_.id);
        fs::remove_all(app);
        fs::create_directories(app);
        session.AppPath = app.string() + "/";
        WriteIni("");
        db_->ExecuteSql(
            "update quorisdex.admin_company set sendphone='02-555-0000', sendname='한빛' where "
            "inx=?",
            {inst_.inx});
        messaging = std::make_unique<MessagingDb>(test::TestDatabaseConfig());
        ASSERT_TRUE(messaging->ConnectMessagingDb(ui_));
        messaging->db().ExecuteSql("delete from bizclient.BIZ_MSG where CINFO=?", {session.inx});
    }
    void TearDown() override { fs::remove_all(app); }

    void WriteIni(const std::string& messagingServer) {
        const DbConfig c = test::TestDatabaseConfig();
        std::ofstream(app / "Login.ini")
            << "[SYSTEM]\r\nDBCONNIP=" << c.host << ":" << c.port << "\r\nDBCONNUSER=" << c.user
            << "\r\nDBCONNPW=" << c.password << "\r\n"
            << (messagingServer.empty() ? "" : "SMSDBIP=" + messagingServer + "\r\n");
    }
    std::vector<SmsRecipient> Rows() {
        std::vector<SmsRecipient> rows(3);
        const char* names[] = {"김하나", "이둘", "박셋"};
        const char* phones[] = {"010-1111-0001", "02-333-4444", "010-1111-0003"};
        for (int i = 0; i < 3; ++i) {
            rows[i].payer = "000000000" + std::to_string(i + 1);
            rows[i].mobile = phones[i];
            rows[i].values = {names[i], "20000", std::to_string(1234567 * (i + 1)), "25"};
        }
        return rows;
    }
    long long Queued() {
        return messaging->db().scalarInt("select count(*) from bizclient.BIZ_MSG where CINFO=?",
                                         {session.inx});
    }

    SessionContext session;
    fs::path app;
    std::unique_ptr<MessagingDb> messaging;
};

TEST_F(SmsScreensTest, TypingPastNinetyBytesOffersLmsAndTheGridIsSentAsShown) {
    SmsSendDialog dialog(*db_, session, ui_, Rows());
    ASSERT_TRUE(dialog.connected());
    EXPECT_EQ(dialog.objectName(), "frmLMS");
    auto* message = Find<QPlainTextEdit>(dialog, "txtMessage");
    auto* counter = Find<QLabel>(dialog, "lblBytes");
    auto* title = Find<QLineEdit>(dialog, "txtTitle");
    EXPECT_TRUE(title->isHidden());

    // [@U] and [@P0] from the buttons, then 45 syllables: past 90 bytes the
    // question comes once; yes switches to LMS.
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdTokenU"), Qt::LeftButton);
    Type(message, "님 ");
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdTokenP0"), Qt::LeftButton);
    Type(message, "원");
    ui_.answers = {true};
    Type(message, QString(45, QChar(0xAC00)));  // 가 ×45
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_EQ(ui_.shown[0].title, "LMS 변경 확인");
    EXPECT_EQ(dialog.kind(), SmsKind::Lms);
    EXPECT_TRUE(Find<QRadioButton>(dialog, "optLms")->isChecked());
    EXPECT_FALSE(title->isHidden());
    EXPECT_EQ(counter->text().toStdString(), "104 / 2000 byte");

    Type(title, "납부 안내");
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdApply"), Qt::LeftButton);
    auto* grid = Find<QTableWidget>(dialog, "grdMembers");
    ASSERT_EQ(grid->rowCount(), 3);
    std::string syllables;
    for (int i = 0; i < 45; ++i) syllables += "가";
    EXPECT_EQ(grid->item(0, 2)->text().toStdString(), "김하나님 1,234,567원" + syllables);
    EXPECT_EQ(grid->item(0, 3)->text(), "110");

    // The third member is left out with a double click on its "보냄".
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QRect cell = grid->visualItemRect(grid->item(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(grid->item(2, 0)->text(), "");
    ui_.shown.clear();
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSend"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, "2건 중 1 건을 전송 하였습니다.");  // the landline skipped
    EXPECT_EQ(Queued(), 1);
    const auto rs = messaging->db().OpenRecordset(
        "select MSG_TYPE, SUBJECT, DEST_NAME, SEND_PHONE from bizclient.BIZ_MSG where CINFO=?",
        {session.inx});
    EXPECT_EQ(rs[0]["MSG_TYPE"], "5");
    EXPECT_EQ(rs[0]["SUBJECT"], "납부 안내");
    EXPECT_EQ(rs[0]["DEST_NAME"], "김하나");
    EXPECT_EQ(rs[0]["SEND_PHONE"], "025550000");

    // Sending the same grid again queues nothing more.
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSend"), Qt::LeftButton);
    EXPECT_EQ(Queued(), 1);
}

TEST_F(SmsScreensTest, SendWithoutTextOrTargetsSaysSo) {
    SmsSendDialog dialog(*db_, session, ui_, Rows());
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSend"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, kEmptyMessageText);
    SmsSendDialog none(*db_, session, ui_, std::vector<SmsRecipient>{});
    Type(none.messageBox(), "안내");
    QTest::mouseClick(Find<QPushButton>(none, "cmdSend"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, kNoTargetsText);
    EXPECT_EQ(Queued(), 0);
}

TEST_F(SmsScreensTest, UnreachableMessagingDatabaseClosesTheWindow) {
    WriteIni("127.0.0.1:1");
    SmsSendDialog dialog(*db_, session, ui_, Rows());
    EXPECT_FALSE(dialog.connected());
    ASSERT_EQ(ui_.shown.size(), 2u);
    EXPECT_EQ(ui_.shown[0].text.rfind("데이타베이스 연결 오류\r\n오류 정보 : ", 0), 0u);
    EXPECT_EQ(ui_.shown[1].text, kSmsServerUnreachableText);
}

TEST_F(SmsScreensTest, FileScreenListsTheChosenAmountAndHistoryShowsTheResults) {
    const std::string schema = InstitutionSchema(inst_.inx);
    test::MemberRow m;
    m.username = "파일회원";
    const long long member = test::InsertMember(*db_, inst_.inx, m);
    db_->ExecuteSql("update " + schema +
                        ".member_user set private_tel='010-7777-0001' where "
                        "member_inx=?",
                    {member});
    db_->ExecuteSql("insert into " + schema +
                        ".file_ea21 (reg_date, user_no, amount, result, div_amount) values "
                        "('881207',?,9000,'P',4000)",
                    {member});
    SmsFileQuery file;
    file.kind = SmsFileKind::Eb21;
    file.regDate = "881207";
    SmsSendDialog dialog(*db_, session, ui_, file);
    EXPECT_EQ(dialog.objectName(), "frmLMS2");
    auto* grid = Find<QTableWidget>(dialog, "grdMembers");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), "출금액");
    EXPECT_EQ(grid->item(0, 6)->text(), "4,000");
    Find<QComboBox>(dialog, "cboAmount")->setCurrentIndex(1);  // 불능금액
    EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), "불능금액");
    EXPECT_EQ(grid->item(0, 6)->text(), "5,000");
    EXPECT_EQ(Find<QPushButton>(dialog, "cmdTokenPM")->text(), "[@PM] 불능금액");
    EXPECT_EQ(Find<QLabel>(dialog, "lblCount")->text(), "총 1 건 중 1 건 선택됨");

    auto* templates = Find<QComboBox>(dialog, "cboTemplate");
    EXPECT_EQ(templates->count(), 6);  // 선택, MSG1..MSG5
    Type(dialog.messageBox(), "[@U]님 불능 [@PM0]원");
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSend"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, "1건 중 1 건을 전송 하였습니다.");
    EXPECT_EQ(messaging->db().scalar("select MSG_BODY from bizclient.BIZ_MSG where CINFO=?",
                                     {session.inx}),
              "파일회원님 불능 5,000원");

    const std::string agent = std::string(QUORISDEX_MESSAGING_AGENT_EXE) + " --app-path '" +
                              app.string() + "' --until-empty --interval 0.1 >/dev/null";
    ASSERT_EQ(std::system(agent.c_str()), 0);
    SmsHistoryScreen history(*db_, session, ui_);
    QTest::mouseClick(Find<QPushButton>(history, "cmdList"), Qt::LeftButton);
    auto* rows = history.grid();
    ASSERT_GE(rows->rowCount(), 1);
    EXPECT_EQ(rows->item(0, 1)->text(), "전송완료");
    EXPECT_EQ(rows->item(0, 4)->text(), "파일회원");
    // A search field without text asks for one.
    Find<QComboBox>(history, "cboField")->setCurrentIndex(3);
    QTest::mouseClick(Find<QPushButton>(history, "cmdList"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, kSearchTextMissingText);
    Type(Find<QLineEdit>(history, "txtSearch"), "파일");
    QTest::keyClick(Find<QLineEdit>(history, "txtSearch"), Qt::Key_Return);
    EXPECT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(Find<QLabel>(history, "lblCount")->text(), "1 건 ");
}

}  // namespace
}  // namespace qx::ui
