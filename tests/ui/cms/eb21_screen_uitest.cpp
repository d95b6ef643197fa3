// frmDoc32 as a person uses it: selecting a file shows its requests with the
// amounts withdrawn and not withdrawn, the filter and the search narrow them,
// the EB22 button applies what the folder holds, the way to the EB21 screen
// is gated, and Ctrl+F10 opens the EB21 rollback only with the maintenance
// password, where Enter never takes a file back.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "cms/eb22/eb22_apply.h"
#include "cms/rollback/maintenance_password.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/head_office_gate.h"
#include "support/screen_test.h"
#include "ui/cms/eb21_screen.h"
#include "ui/messaging/sms_screens.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;
using test::OnNextModal;

class Eb21FilesScreenTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session = test::SessionFor(inst_);
        drive = fs::temp_directory_path() / ("qx-eb21-ui-" + inst_.id);
        fs::remove_all(drive);
        session.SystemDrive = drive.string() + "/";
        schema = InstitutionSchema(inst_.inx);
        db_->setLogSchema(schema);
        for (const char* table : {"ea21", "file_ea21", "member_user"})
            db_->ExecuteSql("delete from " + schema + "." + table);
    }
    void TearDown() override { fs::remove_all(drive); }

    void File(const std::string& yymmdd, const std::string& pross, long long ok = 0,
              long long refused = 0) {
        db_->ExecuteSql("insert into " + schema +
                            ".ea21 (makedate, filename, total_cnt, total_money, rtnok_money, "
                            "rtnfalse_money, ok_commission, false_commission, pross_stat) values "
                            "(unix_timestamp()+?, ?, 3, 60000, ?, ?, 500, 50, ?)",
                        {++made, "EB21" + yymmdd, ok, refused, pross});
    }
    long long Request(const std::string& yymmdd, long long serial, long long amount,
                      const std::string& result, const std::string& code, long long divAmount) {
        db_->ExecuteSql("insert into " + schema +
                            ".member_user (username, cms_status, ext_key) values (?, '6', ?)",
                        {"회원" + std::to_string(serial), "K-" + std::to_string(serial)});
        const long long m = db_->lastInsertId();
        db_->ExecuteSql(
            "insert into " + schema +
                ".file_ea21 (seq_num, reg_date, account_no, amount, id_no, user_no, "
                "result, result_code, div_amount, oldcms_status) values "
                "(?,?,?,?,'8001011234567',?,?,?,?,'3')",
            {serial, yymmdd, "110" + std::to_string(serial), amount, m, result, code, divAmount});
        return m;
    }
    // An applied file: withdrawn, refused and partly withdrawn (12,000 of 30,000).
    void AppliedFile() {
        File("261204", "1", 22000, 38000);
        Request("261204", 1, 10000, "", "", 0);
        Request("261204", 2, 20000, "N", "0011", 0);
        Request("261204", 3, 30000, "P", "", 12000);
    }
    static std::vector<std::string> Column(QTableWidget* grid, const QString& caption) {
        int c = 0;
        while (c < grid->columnCount() && grid->horizontalHeaderItem(c)->text() != caption) ++c;
        std::vector<std::string> out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out.push_back(grid->item(r, c) ? grid->item(r, c)->text().toStdString() : "?");
        return out;
    }
    void PressCtrlF10(QWidget& screen) {
        screen.show();
        QApplication::setActiveWindow(&screen);
        auto* grid = Find<QTableWidget>(screen, "grdFiles");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F10, Qt::ControlModifier);
    }
    long long Files() { return db_->scalarInt("select count(*) from " + schema + ".ea21"); }

    SessionContext session;
    fs::path drive;
    std::string schema;
    long long made = 0;
};

TEST_F(Eb21FilesScreenTest, SelectingAFileShowsItsRequestsFilteredAndSearched) {
    AppliedFile();
    File("261205", "0");
    Request("261205", 1, 7000, "", "", 0);
    Eb21Screen screen(*db_, session, ui_);
    auto* files = Find<QTableWidget>(screen, "grdFiles");
    ASSERT_EQ(files->rowCount(), 2);
    EXPECT_EQ(Find<QLabel>(screen, "lblWaiting")->text().toStdString(),
              "미처리: 1건 / 미수신: 0건");
    EXPECT_EQ(files->item(1, 0)->text().toStdString(), "EB21261204");
    EXPECT_EQ(files->item(1, 4)->text().toStdString(), "22,000");   // 출금액
    EXPECT_EQ(files->item(1, 10)->text().toStdString(), "21,450");  // 실입금액
    EXPECT_EQ(files->item(1, 11)->text().toStdString(), "파일처리 완료");

    files->selectRow(1);
    auto* detail = Find<QTableWidget>(screen, "grdDetail");
    EXPECT_EQ(Find<QLabel>(screen, "lblDetail")->text().toStdString(),
              "[EB21261204] 파일 상세 내역");
    EXPECT_EQ(Column(detail, "출금액"), (std::vector<std::string>{"12,000", "0", "10,000"}));
    EXPECT_EQ(Column(detail, "불능금액"), (std::vector<std::string>{"18,000", "20,000", "0"}));
    EXPECT_EQ(Column(detail, "오류내역"), (std::vector<std::string>{"부분출금", "잔액부족", ""}));
    EXPECT_EQ(Column(detail, "예금주번호")[0], "800101*******");

    auto* filter = Find<QComboBox>(screen, "cboFilter");
    struct Case {
        int index;
        std::vector<std::string> accounts;
    };
    for (const Case& c : std::vector<Case>{
             {1, {"1101"}}, {2, {"1102"}}, {3, {"1103"}}, {0, {"1103", "1102", "1101"}}}) {
        filter->setCurrentIndex(c.index);
        EXPECT_EQ(Column(detail, "계좌번호"), c.accounts) << c.index;
    }

    // The search across files: typed, then set.
    auto* search = Find<QLineEdit>(screen, "txtSearch");
    QTest::keyClicks(search, "1101");
    auto* set = Find<QPushButton>(screen, "cmdSearchSet");
    QTest::mouseClick(set, Qt::LeftButton);
    EXPECT_EQ(set->text().toStdString(), "설정 취소");
    EXPECT_TRUE(search->isReadOnly());
    EXPECT_EQ(Column(detail, "파일명"), (std::vector<std::string>{"EB21261205", "EB21261204"}));
    EXPECT_EQ(Column(detail, "출금액"), (std::vector<std::string>{"", "10,000"}));
    QTest::mouseClick(set, Qt::LeftButton);
    EXPECT_EQ(set->text().toStdString(), "설정");
    EXPECT_EQ(files->rowCount(), 2);
    EXPECT_TRUE(ui_.shown.empty());
    // Both grids save to Excel from their menu, as every list does.
    for (QTableWidget* grid : {files, detail}) {
        EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        EXPECT_NE(grid->findChild<QAction*>("actExcel"), nullptr);
    }
}

TEST_F(Eb21FilesScreenTest, TheEb22ButtonRefusesAFileNamingAnotherAndLeavesItsEb21Claimed) {
    File("261204", "0");
    const long long m = Request("261204", 1, 10000, "", "", 0);
    Eb21Screen screen(*db_, session, ui_);
    QTest::mouseClick(Find<QPushButton>(screen, "cmdEb22Apply"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kNoEb22FilesText});

    ui_.shown.clear();
    const fs::path path = fs::path(MakeExchangeFolder(session, "EB22")) / "EB221204";
    std::ofstream(path, std::ios::binary) << RecordBuilder(150)
                                                 .text("H", 1)
                                                 .number(0, 8)
                                                 .text(session.org_code, 10)
                                                 .text("EB221203", 8)
                                                 .text("261204", 6)
                                                 .finish();
    QTest::mouseClick(Find<QPushButton>(screen, "cmdEb22Apply"), Qt::LeftButton);
    ASSERT_FALSE(ui_.shown.empty());
    EXPECT_EQ(ui_.shown.front().text, kEb22OtherNameText);
    EXPECT_EQ(ui_.shown.front().title, "[EB221204] 처리불가");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(Find<QTableWidget>(screen, "grdFiles")->item(0, 11)->text().toStdString(),
              "파일적용중");
    EXPECT_EQ(
        db_->scalar("select cms_status from " + schema + ".member_user where member_inx=?", {m}),
        "6");
}

TEST_F(Eb21FilesScreenTest, TheWayToTheEb21ScreenIsGated) {
    Eb21Screen screen(*db_, session, ui_);
    QTest::mouseClick(Find<QPushButton>(screen, "cmdEb21Create"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kNoWithdrawalTargetsText});

    ui_.shown.clear();
    SessionContext branch = test::SessionFor(inst_, 1);
    Eb21Screen branchScreen(*db_, branch, ui_);
    QTest::mouseClick(Find<QPushButton>(branchScreen, "cmdEb21Create"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(branchScreen, "cmdEb22Apply"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(),
              (std::vector<std::string>{kHeadOfficeOnlyFileText, kHeadOfficeOnlyFileText}));
}

TEST_F(Eb21FilesScreenTest, SmsWithoutAFileSaysSo) {
    Eb21Screen screen(*db_, session, ui_);
    ui_.shown.clear();
    QTest::mouseClick(screen.findChild<QPushButton*>("cmdSms"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kSmsFileNotChosenText});
}

TEST_F(Eb21FilesScreenTest, CtrlF10WithAWrongPasswordChangesNothing) {
    File("261204", "0");
    Request("261204", 1, 10000, "", "", 0);
    Eb21Screen screen(*db_, session, ui_);
    OnNextModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "frmRollBack");
        auto* box = dialog->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, "Vornadesk");
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    PressCtrlF10(screen);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kWrongMaintenancePasswordText});
    EXPECT_EQ(Files(), 1);
}

TEST_F(Eb21FilesScreenTest, CtrlF10WithThePasswordRollsBackOnlyByAClick) {
    File("261204", "0");
    const long long m = Request("261204", 1, 10000, "", "", 0);
    File("261205", "0");
    Request("261205", 1, 10000, "", "", 0);
    AppliedFile();  // not offered
    Eb21Screen screen(*db_, session, ui_);
    ASSERT_EQ(Find<QTableWidget>(screen, "grdFiles")->rowCount(), 3);
    OnNextModal([](QWidget* dialog) {
        auto* box = dialog->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, "vornadesk");
        OnNextModal([](QWidget* rollback) {
            EXPECT_EQ(rollback->objectName(), "frmEa21roolback");
            auto* grid = rollback->findChild<QTableWidget*>("grdFiles");
            ASSERT_EQ(grid->rowCount(), 2);
            EXPECT_EQ(grid->item(0, 2)->text(), "EB21261205");  // newest first
            EXPECT_EQ(grid->item(0, 4)->text(), "60,000");
            EXPECT_EQ(grid->item(0, 5)->text(), "eb22파일 적용전");
            grid->item(1, 0)->setCheckState(Qt::Checked);
            // Enter in the grid and on the focused button takes nothing back.
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Return);
            auto* rollbackButton = rollback->findChild<QPushButton*>("cmdRollback");
            rollbackButton->setFocus();
            QTest::keyClick(rollbackButton, Qt::Key_Return);
            QTest::keyClick(rollbackButton, Qt::Key_Enter);
            EXPECT_TRUE(rollback->isVisible());
            EXPECT_EQ(grid->rowCount(), 2);
            QTest::mouseClick(rollbackButton, Qt::LeftButton);
            EXPECT_EQ(grid->rowCount(), 1);
            QTest::mouseClick(rollback->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        QTest::keyClick(box, Qt::Key_Return);
    });
    PressCtrlF10(screen);
    EXPECT_TRUE(ui_.shown.empty());
    EXPECT_EQ(Files(), 2);
    EXPECT_EQ(
        db_->scalar("select cms_status from " + schema + ".member_user where member_inx=?", {m}),
        "3");
    // The list is refilled when the rollback screen closes.
    EXPECT_EQ(Find<QTableWidget>(screen, "grdFiles")->rowCount(), 2);
}

}  // namespace
}  // namespace qx::ui
