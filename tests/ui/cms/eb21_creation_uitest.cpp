// frmDoc32_1 as a person uses it: the rows and figures shown, an exclusion
// typed and refused or applied, everything selected again, a Saturday
// refused, and the file created with the members moved.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "cms/eb21/eb21_creation.h"
#include "cms/eb21/eb21_preparation.h"
#include "cms/workspace/cms_folders.h"
#include "ledger/server_scripts.h"
#include "support/screen_test.h"
#include "ui/cms/eb21_creation_dialog.h"
#include "ui/export/grid_export.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class Eb21ScreenTest : public test::ScreenTest {};

TEST_F(Eb21ScreenTest, ExcludeSelectAllAndCreate) {
    Database& db = *db_;
    const std::string schema = InstitutionSchema(inst_.inx);
    db.setLogSchema(schema);
    SessionContext session = test::SessionFor(inst_);
    session.month_divide_switch = true;
    const fs::path drive = fs::temp_directory_path() / ("qx-eb21-ui-" + inst_.id);
    fs::remove_all(drive);
    session.SystemDrive = drive.string() + "/";
    test::PinServerClock(db, "2026-03-13 10:00:00");
    db.ExecuteSql(
        "update quorisdex.admin_company set monthdivide='Y', cms_set='000000100000001', "
        "month_out_limit=25000, account_title='hanbit' where inx=?",
        {inst_.inx});
    std::vector<long long> members;
    for (long long amount : {10000, 20000}) {
        test::MemberRow m;
        m.cms_status = "3";
        m.pay_nonpayment = amount;
        members.push_back(test::InsertMember(db, inst_.inx, m));
        db.ExecuteSql("update " + schema +
                          ".member_user set bank_code='0040000', account_no='12345678901', "
                          "account_jumin='800101' where member_inx=?",
                      {members.back()});
        test::InsertLedgerRow(db, inst_.inx, members.back(), amount, "26-03-02");
    }
    const BillablePreparer prepare = [&](const std::string& nuday, const std::string& month) {
        PrepareBillableItems(db, inst_.inx, nuday, month);
        return std::string(kScriptDoneReply);
    };

    Eb21CreationDialog dialog(db, session, ui_, "", prepare);
    Find<QDateEdit>(dialog, "DT1")->setDate(QDate(2026, 3, 16));
    ASSERT_TRUE(dialog.start());
    EXPECT_EQ(Find<QTableView>(dialog, "grdRows")->model()->rowCount(), 2);
    auto* selection = Find<QLabel>(dialog, "lblSelection");
    EXPECT_EQ(selection->text().toStdString(), "신청금액 : ( 30,000 원)  / 신청건수 : ( 2 건)");
    EXPECT_EQ(Find<QLabel>(dialog, "lblExcess")->text().toStdString(), "5,000 원 월이체한도 초과");

    // The grid saves as the withdrawal target list: its helper columns are
    // never offered.
    auto* grid = Find<QTableView>(dialog, "grdRows");
    EXPECT_TRUE(grid->findChild<QAction*>("actExcel"));
    std::vector<std::string> offeredTitles;
    GridExportDialogs person;
    person.chooseColumns = [&](const std::vector<ExportColumn>& columns,
                               const std::vector<int>& offered,
                               const std::vector<int>&) -> std::optional<std::vector<int>> {
        for (int i : offered) offeredTitles.push_back(columns[i].title);
        return std::nullopt;
    };
    person.chooseFile = [](const QString&, const QString&, const QString&) { return QString(); };
    EXPECT_FALSE(ExportGridToExcel(*grid, "출금대상내역", db, session, ui_, person));
    EXPECT_NE(std::find(offeredTitles.begin(), offeredTitles.end(), "납부자번호"),
              offeredTitles.end());
    for (const char* helper : {"은행코드", "완전부분", "CMS상태코드", "지사", "대리점"})
        EXPECT_EQ(std::find(offeredTitles.begin(), offeredTitles.end(), helper),
                  offeredTitles.end())
            << helper;

    // Over the limit: refused, nothing written.
    ui_.answers = {true};
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdCreate"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb21OverLimitText});

    // An empty amount is refused; 20,000 or more leaves the smaller row.
    auto* criterion = Find<QComboBox>(dialog, "cboExclusion");
    criterion->setCurrentText(QStringLiteral("출금액(이상)"));
    ui_.shown.clear();
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdExclude"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb21AmountMissingText});
    QTest::keyClicks(Find<QLineEdit>(dialog, "txtExclusion"), "20000");
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdExclude"), Qt::LeftButton);
    EXPECT_EQ(selection->text().toStdString(), "신청금액 : ( 10,000 원)  / 신청건수 : ( 1 건)");
    EXPECT_EQ(Find<QLabel>(dialog, "lblExcess")->text().toStdString(), "");

    // Select all, then none, then exclude again.
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSelectAll"), Qt::LeftButton);
    EXPECT_EQ(selection->text().toStdString(), "신청금액 : ( 30,000 원)  / 신청건수 : ( 2 건)");
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSelectAll"), Qt::LeftButton);
    EXPECT_EQ(selection->text().toStdString(), "신청금액 : ( 0 원)  / 신청건수 : ( 0 건)");
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSelectAll"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdExclude"), Qt::LeftButton);

    // Enter in the value box searches again, never creates.
    ui_.shown.clear();
    QTest::keyClick(Find<QLineEdit>(dialog, "txtExclusion"), Qt::Key_Return);
    EXPECT_EQ(db.scalarInt("select count(*) from " + schema + ".ea21"), 0);

    QTest::mouseClick(Find<QPushButton>(dialog, "cmdExclude"), Qt::LeftButton);
    Find<QDateEdit>(dialog, "DT1")->setDate(QDate(2026, 3, 14));
    ui_.shown.clear();
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdCreate"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb21HolidayText});

    Find<QDateEdit>(dialog, "DT1")->setDate(QDate(2026, 3, 16));
    ui_.shown.clear();
    ui_.answers = {true, false, true};  // create, do not send, go back
    dialog.show();
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdCreate"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(fs::exists(ExchangeFolder(session, "EB21") + "/EB210316"));
    EXPECT_EQ(db.scalar("select group_concat(cms_status order by member_inx) from " + schema +
                            ".member_user where member_inx in (?,?)",
                        {members[0], members[1]}),
              "6,3");
    test::UnpinServerClock(db);
    fs::remove_all(drive);
}

}  // namespace
}  // namespace qx::ui
