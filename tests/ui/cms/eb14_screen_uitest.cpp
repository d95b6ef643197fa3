// frmDoc31's EB14 and rollback work as a person does it: the EB14 button,
// the detail grid of a selected file, Ctrl+F10 with a wrong and a right
// maintenance password, ticking a file and rolling it back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "cms/eb14/auth_requery.h"
#include "cms/eb14/eb14_apply.h"
#include "cms/rollback/maintenance_password.h"
#include "relay_results.h"
#include "support/screen_test.h"
#include "ui/cms/eb13_screen.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;
using test::OnNextModal;

class Eb14ScreenTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session = test::SessionFor(inst_);
        drive = fs::temp_directory_path() / ("qx-eb14-ui-" + inst_.id);
        fs::remove_all(drive);
        session.SystemDrive = drive.string() + "/";
        schema = InstitutionSchema(inst_.inx);
        db_->setLogSchema(schema);
        db_->ExecuteSql("delete from " + schema + ".ea13");
        db_->ExecuteSql("delete from " + schema + ".file_ea13");
    }
    void TearDown() override { fs::remove_all(drive); }

    long long Eb13(const std::string& yymmdd, const std::string& status,
                   const std::string& result) {
        db_->ExecuteSql(
            "insert into " + schema +
                ".member_user (username, cms_status, account_jumin) values ('홍길동', ?, "
                "'8001011234567')",
            {status});
        const long long m = db_->lastInsertId();
        db_->ExecuteSql("insert into " + schema +
                            ".ea13 (makedate, filename, create_cnt, total_cnt) values "
                            "(unix_timestamp(), ?, 1, 1)",
                        {"EB13" + yymmdd});
        db_->ExecuteSql(
            "insert into " + schema +
                ".file_ea13 (seq_num, reg_date, reg_kind, user_no, id_no, result, "
                "result_code, oldcms_status) values (1, ?, '1', ?, '8001011234567', ?, ?, '0')",
            {yymmdd, m, result, result.empty() ? "" : "0013"});
        return m;
    }
    // Ctrl+F10 typed into the screen's list, as a person with the screen in front does.
    void PressCtrlF10(QWidget& screen) {
        screen.show();
        QApplication::setActiveWindow(&screen);
        auto* grid = Find<QTableWidget>(screen, "grdFiles");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F10, Qt::ControlModifier);
    }
    long long Files() { return db_->scalarInt("select count(*) from " + schema + ".ea13"); }

    SessionContext session;
    fs::path drive;
    std::string schema;
};

TEST_F(Eb14ScreenTest, TheEb14ButtonSaysWhenNoResultWaits) {
    Eb13Screen screen(*db_, session, ui_);
    QTest::mouseClick(Find<QPushButton>(screen, "cmdEb14Apply"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kNoEb14FilesText});
}

TEST_F(Eb14ScreenTest, SelectingAFileShowsItsRowsMaskedAndFiltered) {
    Eb13("261204", "2", "N");
    Eb13Screen screen(*db_, session, ui_);
    auto* files = Find<QTableWidget>(screen, "grdFiles");
    ASSERT_EQ(files->rowCount(), 1);
    files->selectRow(0);
    auto* detail = Find<QTableWidget>(screen, "grdDetail");
    EXPECT_EQ(Find<QLabel>(screen, "lblDetail")->text().toStdString(),
              "[EB13261204] 파일 상세 내역");
    ASSERT_EQ(detail->rowCount(), 1);
    EXPECT_EQ(detail->item(0, 2)->text().toStdString(), "신규");
    EXPECT_EQ(detail->item(0, 7)->text().toStdString(), "800101*******");
    EXPECT_EQ(detail->item(0, 8)->text().toStdString(), "계좌번호 오류(해당계좌 없음)");
    Find<QComboBox>(screen, "cboFilter")->setCurrentIndex(1);  // accepted or open only
    EXPECT_EQ(detail->rowCount(), 0);
    Find<QComboBox>(screen, "cboFilter")->setCurrentIndex(2);  // refused only
    EXPECT_EQ(detail->rowCount(), 1);
}

TEST_F(Eb14ScreenTest, CtrlF10WithAWrongPasswordChangesNothing) {
    Eb13("261204", "1", "");
    Eb13Screen screen(*db_, session, ui_);
    screen.show();
    OnNextModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "frmRollBack");
        auto* box = dialog->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, "vornadesK");
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(box->selectedText(), "vornadesK");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    PressCtrlF10(screen);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kWrongMaintenancePasswordText});
    EXPECT_EQ(Files(), 1);
}

TEST_F(Eb14ScreenTest, CtrlF10WithThePasswordRollsBackTheTickedFile) {
    const long long m = Eb13("261204", "1", "");
    Eb13("261205", "1", "");
    Eb13Screen screen(*db_, session, ui_);
    screen.show();
    OnNextModal([](QWidget* dialog) {
        auto* box = dialog->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, "vornadesk");
        OnNextModal([](QWidget* rollback) {
            EXPECT_EQ(rollback->objectName(), "frmEa13roolback");
            auto* grid = rollback->findChild<QTableWidget*>("grdFiles");
            ASSERT_EQ(grid->rowCount(), 2);
            auto* rollbackButton = rollback->findChild<QPushButton*>("cmdRollback");
            for (int r = 0; r < grid->rowCount(); ++r) {
                if (grid->item(r, 2)->text() == "EB13261204")
                    grid->item(r, 0)->setCheckState(Qt::Checked);
            }
            QTest::mouseClick(rollbackButton, Qt::LeftButton);
            EXPECT_EQ(grid->rowCount(), 1);
            QTest::mouseClick(rollback->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        QTest::keyClick(box, Qt::Key_Return);
    });
    PressCtrlF10(screen);
    EXPECT_TRUE(ui_.shown.empty());
    EXPECT_EQ(Files(), 1);
    EXPECT_EQ(
        db_->scalar("select cms_status from " + schema + ".member_user where member_inx=?", {m}),
        "0");
    EXPECT_EQ(Find<QTableWidget>(screen, "grdFiles")->rowCount(), 1);
}

// The re-query button of a relay institution, clicked on a detail row as a
// person does: the relay's answer, then a relay that never answers.
TEST_F(Eb14ScreenTest, AuthRequeryButtonAsksTheRelayAndShowsItsAnswerOrTheFailure) {
    session.cmsrunprg = 2;
    test::PinServerClock(*db_, "2036-05-02 10:00:00");  // a Friday
    const long long m = Eb13("360501", "1", "");
    db_->ExecuteSql("update " + schema + ".file_ea13 set certifi_result='F' where user_no=?", {m});
    Eb13Screen screen(*db_, session, ui_);
    screen.setAuthRequeryTiming(20, 400);
    screen.show();
    auto* button = Find<QPushButton>(screen, "cmdRequery");
    EXPECT_TRUE(button->isVisible());
    EXPECT_FALSE(button->isEnabled());  // no row chosen yet
    Find<QTableWidget>(screen, "grdFiles")->selectRow(0);
    auto* detail = Find<QTableWidget>(screen, "grdDetail");
    ASSERT_EQ(detail->rowCount(), 1);

    struct Case {
        const char* answer;  // the relay's letter; "-" never answers
        std::string shown;
    };
    for (const Case& c :
         {Case{"Z", "인증결과 : [반려] 입니다."}, Case{"-", kAuthRequeryFailedText}}) {
        QTest::mouseClick(detail->viewport(), Qt::LeftButton, {},
                          detail->visualItemRect(detail->item(0, 0)).center());
        ASSERT_TRUE(button->isEnabled());
        ui_.shown.clear();
        ui_.answers = {true};
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_FALSE(ui_.texts().empty());
        EXPECT_EQ(ui_.texts().at(0), AuthRequeryQuestion("홍길동"));
        EXPECT_EQ(Find<QLabel>(screen, "lblAuthWait")->text().toStdString(), kAuthRequeryWaitText);
        EXPECT_FALSE(button->isEnabled());  // one re-query at a time
        relay::ResultRules rules;
        rules.authAnswers[std::to_string(m)] = c.answer;
        relay::AnswerAuthRequeries(*db_, rules);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ui_.shown.size() >= 2; }, 3000)) << c.answer;
        EXPECT_EQ(ui_.texts().back(), c.shown);
        EXPECT_TRUE(Find<QLabel>(screen, "lblAuthWait")->text().isEmpty());
        // The grid is listed again: the next re-query starts from a chosen row.
        EXPECT_FALSE(button->isEnabled());
    }
    test::UnpinServerClock(*db_);
}

}  // namespace
}  // namespace qx::ui
