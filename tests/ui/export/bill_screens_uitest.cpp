// The bill screens as a person uses them: the texts typed and applied in
// frmFreeView and previewed, the members found and billed in frmDoc54_1,
// the mails delivered to a local mail server, and frmDoc54 showing the
// batch as mailed.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "export/bills/bills.h"
#include "services/web_stand_in.h"
#include "support/screen_test.h"
#include "support/smtp_sink.h"
#include "ui/export/bill_screens.h"
#include "ui/main/business_screen.h"

namespace qx::ui {
namespace {

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class BillScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session = test::SessionFor(inst_);
        ui_.defaultAnswer = true;
        const std::string schema = InstitutionSchema(inst_.inx);
        db_->ExecuteSql("delete from " + schema + ".cashrender");
        db_->ExecuteSql("delete from " + schema + ".member_user");
        db_->ExecuteSql("delete from quorisdex.cash_title where prg_code=?", {session.inx});
        db_->ExecuteSql(
            "insert into " + schema +
            ".member_user (username, jumin, p_tax, pay_nonpayment, pay_monthdefault, start_date, "
            "payday, user_email, client_info1) values "
            "('김하나', '800101-1234567', '1', 30000, 10000, '2026-01', 25, 'one@example.com', "
            "'서울'), "
            "('이둘', '800202-2234567', '1', 0, 20000, '2026-01', 10, 'two@example.com', '')");
    }
    std::unique_ptr<BillListScreen> screen(const std::string& webHost) {
        return std::make_unique<BillListScreen>(
            *db_, session, ui_, webHost, [this](const std::string& url) { opened.push_back(url); });
    }

    SessionContext session;
    std::vector<std::string> opened;
};

TEST_F(BillScreensTest, TextsIssueMailAndTheBatchShownAsMailed) {
    test::SmtpSink sink;
    ASSERT_TRUE(sink.running()) << "python3-aiosmtpd is needed";
    test::WebStandIn web(test::TestDatabaseConfig(),
                         {{"MAIL", "SMTPURL", sink.url()}, {"MAIL", "MAILFROM", "bill@test.kr"}});
    ASSERT_GT(web.port(), 0);
    auto list = screen(web.webHost());
    Type(Find<QLineEdit>(*list, "txtFrom"), "2026-01");
    Type(Find<QLineEdit>(*list, "txtTo"), "2026-12");

    // Issuing before any text was set is refused with the way to set them.
    BillIssueDialog* issue = list->openIssue();
    Type(Find<QLineEdit>(*issue, "txtMonth"), "2026-03");
    QTest::mouseClick(Find<QPushButton>(*issue, "cmdList"), Qt::LeftButton);
    auto* grid = Find<QTableWidget>(*issue, "grdMember");
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 1)->text(), "김하나");
    EXPECT_EQ(grid->item(1, 9)->text(), "40,000");
    QTest::mouseClick(Find<QPushButton>(*issue, "cmdIssue"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, kNoBillTextsText);

    // The texts, typed and applied, then previewed.
    BillTextsDialog* texts = list->openTexts();
    Type(Find<QLineEdit>(*texts, "txtTitle1"), "회비 청구서");
    Type(Find<QLineEdit>(*texts, "txtTitle2"), "이번 달 회비입니다.");
    QTest::mouseClick(Find<QPushButton>(*texts, "cmdSave"), Qt::LeftButton);
    EXPECT_EQ(ui_.shown.back().text, kBillTextsSavedText);
    Type(Find<QLineEdit>(*texts, "txtMonth"), "2026-03");
    QTest::mouseClick(Find<QPushButton>(*texts, "cmdPreview"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find(kBillPreviewPath), std::string::npos);
    EXPECT_NE(opened[0].find("msg5=2026%2D03"), std::string::npos);
    texts->close();

    // Only the member of 관리(A) 서울, by the filter bar.
    auto* info1 = issue->findChild<QComboBox*>("client_info1");
    ASSERT_NE(info1, nullptr);
    info1->setCurrentIndex(info1->findText("서울"));
    QTest::mouseClick(Find<QPushButton>(*issue, "cmdList"), Qt::LeftButton);
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(Find<QLabel>(*issue, "lblCount")->text(), "1 건 ");
    ui_.shown.clear();
    ui_.answers = {true, false};  // issue; stay on the issue window
    QTest::mouseClick(Find<QPushButton>(*issue, "cmdIssue"), Qt::LeftButton);
    ASSERT_FALSE(ui_.shown.empty());
    EXPECT_EQ(ui_.shown.front().text, kBillIssueQuestionText);
    EXPECT_EQ(ui_.shown.back().text, std::string("1") + kBillsIssuedSuffix);
    EXPECT_EQ(grid->rowCount(), 0);  // listed again: nobody left to bill
    EXPECT_EQ(sink.mails().size(), 1u);

    // The list shows the batch, mailed, and its bill.
    auto* batches = Find<QTableWidget>(*list, "grdBatch");
    ASSERT_EQ(batches->rowCount(), 1);
    EXPECT_EQ(batches->item(0, 0)->text(), "2026-03");
    EXPECT_EQ(batches->item(0, 3)->text(), "1 건");
    EXPECT_EQ(batches->item(0, 4)->text(), "40,000");
    QTest::mouseClick(batches->viewport(), Qt::LeftButton, {},
                      batches->visualItemRect(batches->item(0, 0)).center());
    auto* bills = Find<QTableWidget>(*list, "grdBill");
    ASSERT_EQ(bills->rowCount(), 1);
    EXPECT_EQ(bills->item(0, 3)->text(), "김하나");
    EXPECT_EQ(bills->item(0, 7)->text(), "1 회");
    // The grids are the lists' own: no row numbers, amounts to the right,
    // and the menu entry that saves them to Excel.
    struct AmountCell {
        QTableWidget* grid;
        int column;
    };
    for (const AmountCell& c : {AmountCell{batches, 4}, AmountCell{bills, 6}}) {
        SCOPED_TRACE(c.grid->objectName().toStdString());
        EXPECT_TRUE(c.grid->verticalHeader()->isHidden());
        EXPECT_EQ(c.grid->item(0, c.column)->text(), "40,000");
        EXPECT_EQ(c.grid->item(0, c.column)->textAlignment(),
                  int(Qt::AlignRight | Qt::AlignVCenter));
        EXPECT_EQ(c.grid->item(0, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    }
    EXPECT_TRUE(grid->verticalHeader()->isHidden());
    for (auto* g : {batches, bills, grid}) {
        ASSERT_EQ(g->actions().size(), 1);
        EXPECT_EQ(g->actions()[0]->text(), "엑셀 저장");
    }
    issue->close();
}

TEST_F(BillScreensTest, BadMonthsAreRefusedWherePeopleTypeThem) {
    auto list = screen("");
    Type(Find<QLineEdit>(*list, "txtTo"), "2026-13");
    ui_.shown.clear();
    QTest::keyClick(Find<QLineEdit>(*list, "txtTo"), Qt::Key_Return);
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_EQ(ui_.shown[0].text, kBillMonthText);
    BillIssueDialog* issue = list->openIssue();
    Type(Find<QLineEdit>(*issue, "txtMonth"), "2026-00");
    QTest::keyClick(Find<QLineEdit>(*issue, "txtSearch"), Qt::Key_Return);
    EXPECT_EQ(ui_.shown.back().text, kBillMonthText);
    EXPECT_EQ(Find<QTableWidget>(*issue, "grdMember")->rowCount(), 0);
    issue->close();
}

TEST_F(BillScreensTest, MenuOpensTheBillListAndItsTwoWindows) {
    const MenuChoice choice = ChooseMenuScreen(session, 50, 7);
    ASSERT_EQ(choice.action, MenuAction::kOpen);
    EXPECT_EQ(choice.screen, "frmDoc54");
    ScreenContext context{*db_, session, ui_, nullptr, nullptr, nullptr};
    std::unique_ptr<BusinessScreen> screen(CreateBusinessScreen(choice, context));
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screen->findChild<BillListScreen*>(), nullptr);
    EXPECT_TRUE(screen->openSubScreen("frmDoc54_1"));
    EXPECT_NE(screen->findChild<QDialog*>("frmDoc54_1"), nullptr);
    EXPECT_TRUE(screen->openSubScreen("frmFreeView"));
    EXPECT_NE(screen->findChild<QDialog*>("frmFreeView"), nullptr);
    EXPECT_FALSE(screen->openSubScreen("frmDoc99"));
    // Before anything is listed every grid shows its captions whole.
    const auto grids = screen->findChildren<QTableWidget*>();
    ASSERT_FALSE(grids.empty());
    for (QTableWidget* grid : grids) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (grid->isColumnHidden(c)) continue;
            EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->sectionSizeHint(c))
                << grid->objectName().toStdString() << " "
                << grid->horizontalHeaderItem(c)->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace qx::ui
