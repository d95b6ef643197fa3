// The giro screens as a person uses them: popupGIRO opens a GR15 chosen in
// the file dialog, shows its rows, applies it on a click and a yes; a bad
// file shows its message and cannot be applied; frmDoc37 then lists the
// file with its unbooked rows and exports the list to Excel.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "channels/giro/gr15_apply.h"
#include "support/gr15_generator.h"
#include "support/screen_test.h"
#include "ui/export/grid_export.h"
#include "ui/giro/giro_screens.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class GiroScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session_ = test::SessionFor(inst_);
        session_.giro_account = "7005555";
        dir_ = fs::temp_directory_path() / ("qx-giro-screens-" + inst_.id);
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "app");
        session_.AppPath = (dir_ / "app").string() + "/";
        session_.fileback_folder = (dir_ / "fileback").string();
        schema_ = InstitutionSchema(inst_.inx);
    }
    void TearDown() override { fs::remove_all(dir_); }

    long long giroMember(const std::string& number) {
        test::MemberRow r;
        r.settle_accounts = "3";
        const long long m = test::InsertMember(*db_, inst_.inx, r);
        db_->ExecuteSql("update " + schema_ + ".member_user set account_name=? where member_inx=?",
                        {number, m});
        return m;
    }
    test::Gr15Line pay(const std::string& number, long long amount) {
        test::Gr15Line l;
        l.giroNo = number;
        l.amount = amount;
        return l;
    }
    std::string chosen_;
    QString lastFolder_;
    void choose(GiroReceiptDialog& d) {
        d.setFileChooser([this](const QString&, const QString& folder, const QString& filter) {
            lastFolder_ = folder;
            EXPECT_EQ(filter.toStdString(), "GR15 (GR15*.*)");
            return QString::fromStdString(chosen_);
        });
    }

    SessionContext session_;
    fs::path dir_;
    std::string schema_;
};

TEST_F(GiroScreensTest, OpenCheckApplyAndListTheFile) {
    const long long m = giroMember("4321");
    chosen_ = test::WriteGr15File(
        (dir_ / "downloads").string(), "261211",
        test::Gr15FileBytes(
            "7005555", "261211",
            {pay("0000004321", 12000), pay("0000004321", 3000), pay("0000009876", 500)}));
    ui_.defaultAnswer = true;
    GiroReceiptDialog dialog(*db_, session_, ui_);
    choose(dialog);
    auto* open = Find<QPushButton>(dialog, "cmdOpen");
    auto* apply = Find<QPushButton>(dialog, "cmdApply");
    EXPECT_FALSE(apply->isEnabled());
    QTest::mouseClick(open, Qt::LeftButton);
    // First time: the file folder of the settings; then the folder last used.
    EXPECT_EQ(lastFolder_.toStdString(), session_.fileback_folder);
    EXPECT_EQ(ui_.texts().back(), "3 건이 조회 되었습니다.");
    ASSERT_EQ(dialog.grid()->rowCount(), 3);
    EXPECT_EQ(dialog.grid()->item(0, 6)->text().toStdString(), "0000004321");
    EXPECT_EQ(dialog.grid()->item(0, 7)->text().toStdString(), "12,000");
    EXPECT_EQ(dialog.grid()->item(0, 9)->text().toStdString(), "정상분");
    EXPECT_TRUE(dialog.grid()->isColumnHidden(11));
    EXPECT_EQ(Find<QLabel>(dialog, "lblCount")->text().toStdString(), "( 3 건)");
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(ui_.texts().back(), kGr15AppliedDoneText);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(db_->scalarInt(
                  "select total_payment from " + schema_ + ".member_user where member_inx=?", {m}),
              15000);
    EXPECT_EQ(db_->scalarInt(
                  "select sum(input_pay) from " + schema_ + ".pay_pross where userlink_inx=?", {m}),
              15000);

    // The same file again: refused on opening, nothing to apply.
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_EQ(lastFolder_.toStdString(), (dir_ / "downloads").string());
    EXPECT_EQ(ui_.texts().back(), kGr15AppliedText);
    EXPECT_EQ(dialog.grid()->rowCount(), 0);
    EXPECT_FALSE(apply->isEnabled());

    // frmDoc37: the file of this month and its unbooked row.
    Gr15ReportScreen report(*db_, session_, ui_);
    auto* files = report.files();
    bool found = false;
    for (int r = 0; r < files->rowCount(); ++r) {
        if (files->item(r, 0)->text() == "GR15261211") {
            files->selectRow(r);
            found = true;
        }
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(Find<QLabel>(report, "lblDetail")->text().toStdString(),
              "[GR15261211] 파일 상세 내역");
    EXPECT_EQ(Find<QLabel>(report, "lblUnbooked")->text().toStdString(), "1 건 처리불능 (500원)");
    ASSERT_EQ(report.details()->rowCount(), 3);
    EXPECT_EQ(report.details()->item(2, 10)->text().toStdString(), kGr15UnmatchedText);

    // The list to Excel under its title.
    const std::string xls = (dir_ / "giro.xls").string();
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
    ASSERT_TRUE(ExportGridToExcel(*files, "GR15LIST", *db_, session_, ui_, dialogs));
    std::ifstream in(xls, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_TRUE(proposed.contains("GR15LIST")) << proposed.toStdString();
    EXPECT_NE(content.find("GR15261211"), std::string::npos);
}

TEST_F(GiroScreensTest, ABadFileShowsItsMessageAndCannotBeApplied) {
    giroMember("55");
    const std::string good =
        test::Gr15FileBytes("7005555", "261212", {pay("55", 1000), pay("55", 2000)});
    const struct {
        const char* what;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"CR LF", good.substr(0, 120) + "\r\n" + good.substr(120), kGr15UnknownRecordText},
        {"other institution", test::Gr15FileBytes("7000000", "261212", {pay("55", 1000)}),
         kGr15OtherInstitutionText},
        {"count", good.substr(0, 360) + test::Gr15TrailerRecord(3, 3000, 0, 0, 3000),
         kGr15CountText},
    };
    for (const auto& c : cases) {
        chosen_ = test::WriteGr15File((dir_ / "bad").string(), "261212", c.bytes);
        GiroReceiptDialog dialog(*db_, session_, ui_);
        choose(dialog);
        ui_.shown.clear();
        QTest::mouseClick(Find<QPushButton>(dialog, "cmdOpen"), Qt::LeftButton);
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{c.expected}) << c.what;
        EXPECT_EQ(dialog.grid()->rowCount(), 0) << c.what;
        EXPECT_FALSE(Find<QPushButton>(dialog, "cmdApply")->isEnabled()) << c.what;
    }
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema_ +
                             ".file_gr15 where filename='GR15261212'"),
              0);
}

}  // namespace
}  // namespace qx::ui
