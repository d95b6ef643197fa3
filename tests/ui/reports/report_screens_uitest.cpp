// The report screens as a person uses them: pick a manager, click 조회,
// click a file for its items, narrow them to the failed ones, save the grid
// as Excel, print it to a PDF; an empty grid is not printed; a reversed
// period and a year that is not a year are refused with their messages.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "reports/channel_report.h"
#include "reports/print_list.h"
#include "session/menu_catalogue.h"
#include "support/institution_fixture.h"
#include "support/screen_test.h"
#include "ui/main/business_screen.h"
#include "ui/reports/report_screens.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class ReportScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        setenv("QUORISDEX_PRINT_PROGRAM", QUORISDEX_PRINT_EXE, 1);
        setenv("QUORISDEX_NO_VIEWER", "1", 1);
        session_ = test::SessionFor(inst_);
        schema_ = InstitutionSchema(inst_.inx);
        dir_ = fs::temp_directory_path() / ("qx-report-screens-" + inst_.id);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        session_.AppPath = dir_.string() + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }

    long long Member(const std::string& name, const std::string& manager) {
        test::MemberRow m;
        m.username = name;
        const long long id = test::InsertMember(*db_, inst_.inx, m);
        db_->ExecuteSql(
            "update " + schema_ + ".member_user set client_manager=? where member_inx=?",
            {manager, id});
        return id;
    }
    void Item(long long member, long long amount, const char* result, const char* code) {
        db_->ExecuteSql("insert into " + schema_ +
                            ".file_ea21 (reg_date, amount, user_no, result, result_code) "
                            "values ('261204',?,?,?,?)",
                        {amount, member, result, code});
    }
    // Picks an entry of a drop-down with the keyboard, as a person does.
    static void Choose(QComboBox* box, const QString& text) {
        box->setFocus();
        const int target = box->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        while (box->currentIndex() < target) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > target) QTest::keyClick(box, Qt::Key_Up);
    }
    static void ClickRow(QTableWidget* grid, int row) {
        const QRect cell = grid->visualItemRect(grid->item(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    SessionContext session_;
    std::string schema_;
    fs::path dir_;
};

TEST_F(ReportScreensTest, ChannelReportByManagerWithItemsExcelAndPrint) {
    const long long kim = Member("김회원", "김담당");
    Member("이회원", "이담당");
    db_->ExecuteSql("insert into " + schema_ +
                    ".ea21 (makedate, filename, total_cnt, total_money, pross_stat) values "
                    "(unix_timestamp('2026-12-04 10:00:00'),'EB21261204',3,35000,'1')");
    Item(kim, 10000, "", "");
    Item(kim, 20000, "N", "0011");
    Item(kim, 5000, "N", "Q999");

    ChannelReportScreen screen(*db_, session_, ui_);
    screen.resize(1400, 800);
    screen.show();
    Find<QDateEdit>(screen, "dtpFrom")->setDate(QDate(2026, 12, 1));
    Find<QDateEdit>(screen, "dtpTo")->setDate(QDate(2026, 12, 31));
    Choose(Find<QComboBox>(screen, "cboManager"), "김담당");
    QTest::mouseClick(Find<QPushButton>(screen, "cmdList"), Qt::LeftButton);
    ASSERT_EQ(screen.grid()->rowCount(), 1) << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(screen.grid()->item(0, 1)->text().toStdString(), "EB21261204");
    EXPECT_EQ(screen.grid()->item(0, 3)->text().toStdString(), "35,000");  // requested
    EXPECT_EQ(screen.grid()->item(0, 7)->text().toStdString(), "25,000");  // not withdrawn

    ClickRow(screen.grid(), 0);
    EXPECT_EQ(screen.detail()->rowCount(), 3);
    Choose(Find<QComboBox>(screen, "cboShow"), "불능");
    EXPECT_EQ(screen.detail()->rowCount(), 2);

    // Excel through the button, under the report's title.
    const std::string xls = (dir_ / "channel.xls").string();
    GridExportDialogs dialogs;
    dialogs.chooseColumns = [](const std::vector<ExportColumn>&, const std::vector<int>& offered,
                               const std::vector<int>&) {
        return std::optional<std::vector<int>>(offered);
    };
    QString proposed;
    dialogs.chooseFile = [&](const QString&, const QString& path, const QString&) {
        proposed = path;
        return QString::fromStdString(xls);
    };
    screen.setExportDialogs(dialogs);
    QTest::mouseClick(Find<QPushButton>(screen, "cmdExcel"), Qt::LeftButton);
    std::ifstream in(xls, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_TRUE(proposed.contains(QString::fromUtf8(kChannelReportTitle)))
        << proposed.toStdString();
    EXPECT_NE(content.find("EB21261204"), std::string::npos);

    // Print: the list in the work folder, a PDF beside it.
    QTest::mouseClick(Find<QPushButton>(screen, "cmdPrint"), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(dir_ / kPrintListName)) << ::testing::PrintToString(ui_.texts());
    EXPECT_TRUE(fs::exists(dir_ / "prnlist.pdf"));
    std::ifstream list(dir_ / kPrintListName, std::ios::binary);
    const std::string printed((std::istreambuf_iterator<char>(list)), {});
    EXPECT_NE(printed.find("(지: / 대: / 담:김담당)"), std::string::npos) << printed;
    EXPECT_NE(printed.find("[M]상세내역"), std::string::npos);
}

TEST_F(ReportScreensTest, AnEmptyGridIsNotPrintedAndBadInputIsRefused) {
    LedgerReportScreen monthly(*db_, session_, ui_, true);
    monthly.show();
    Find<QDateEdit>(monthly, "dtpFrom")->setDate(QDate(2020, 5, 1));
    Find<QDateEdit>(monthly, "dtpTo")->setDate(QDate(2020, 5, 1));
    QTest::mouseClick(Find<QPushButton>(monthly, "cmdList"), Qt::LeftButton);
    EXPECT_EQ(monthly.grid()->rowCount(), 0);
    QTest::mouseClick(Find<QPushButton>(monthly, "cmdPrint"), Qt::LeftButton);
    ASSERT_FALSE(ui_.shown.empty());
    EXPECT_EQ(ui_.shown.back().text, kNothingToPrintText);
    EXPECT_EQ(ui_.shown.back().title, kNothingToPrintTitle);
    EXPECT_FALSE(fs::exists(dir_ / kPrintListName));

    Find<QDateEdit>(monthly, "dtpFrom")->setDate(QDate(2020, 6, 1));
    QTest::mouseClick(Find<QPushButton>(monthly, "cmdList"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, "조회기간의 시작일이 종료일보다 늦습니다.");

    const long long m = Member("연회원", "");
    test::InsertLedgerRow(*db_, inst_.inx, m, 12000, "26-02-03", "0");
    int fills = 0;
    AnnualReportScreen annual(*db_, session_, ui_, [&](long long inx, long long branch, int year) {
        ++fills;
        return FillMonthdiv(*db_, inx, branch, year);
    });
    annual.show();
    auto* year = Find<QLineEdit>(annual, "txtYear");
    year->selectAll();
    QTest::keyClicks(year, "26");
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(ui_.shown.back().text, "조회년도가 잘못 되었습니다: 26");
    EXPECT_EQ(fills, 0);
    year->selectAll();
    QTest::keyClicks(year, "2026");
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(fills, 1);
    bool found = false;
    for (int r = 0; r < annual.grid()->rowCount(); ++r)
        if (annual.grid()->item(r, 1)->text() == QStringLiteral("연회원")) {
            found = true;
            EXPECT_EQ(annual.grid()->item(r, 14 + 1)->text().toStdString(), "12,000");  // 2월(매출)
        }
    EXPECT_TRUE(found);
}

TEST_F(ReportScreensTest, TheStatisticsMenuOpensEachReport) {
    ScreenContext context{*db_, session_, ui_, {}, {}, {}};
    const std::vector<std::pair<int, const char*>> items = {{0, "ChannelReportScreen"},
                                                            {1, "LedgerReportScreen"},
                                                            {2, "LedgerReportScreen"},
                                                            {3, "MemberReportScreen"},
                                                            {4, "AnnualReportScreen"}};
    for (const auto& [item, type] : items) {
        SCOPED_TRACE(item);
        const MenuChoice choice = ChooseMenuScreen(session_, 40, item);
        EXPECT_EQ(choice.screen, "frmDoc4" + std::to_string(item + 1));
        std::unique_ptr<BusinessScreen> screen(CreateBusinessScreen(choice, context));
        ASSERT_NE(screen, nullptr);
        auto* report = screen->findChild<ReportScreen*>();
        ASSERT_NE(report, nullptr);
        EXPECT_STREQ(report->metaObject()->className(), (std::string("qx::ui::") + type).c_str());
        EXPECT_NE(report->findChild<QPushButton*>("cmdExcel"), nullptr);
        EXPECT_NE(report->findChild<QPushButton*>("cmdPrint"), nullptr);
    }
}

}  // namespace
}  // namespace qx::ui
