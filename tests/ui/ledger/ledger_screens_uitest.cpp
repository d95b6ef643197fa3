// The ledger screens as a person uses them: the member card's ledger panel,
// a batch sale from the list to the history and its cancellation (booked by
// the web stand-in on loopback), and the bulk removal.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "ledger/batch_sales.h"
#include "ledger/bulk_removal.h"
#include "ledger/ledger_booking.h"
#include "services/web_stand_in.h"
#include "support/screen_test.h"
#include "ui/ledger/auto_sale_dialog.h"
#include "ui/ledger/ledger_panel.h"
#include "ui/ledger/ledger_screens.h"

namespace qx::ui {
namespace {

class LedgerScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session_ = test::SessionFor(inst_);
        schema_ = InstitutionSchema(inst_.inx);
        db_->setLogSchema(schema_);
        ui_.defaultAnswer = true;
    }
    long long member(const std::string& name, long long amount) {
        test::MemberRow row;
        row.username = name;
        row.pay_monthdefault = amount;
        const long long m = test::InsertMember(*db_, inst_.inx, row);
        db_->ExecuteSql("insert into " + schema_ +
                            ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) values "
                            "(?, '회비', ?, 1, ?)",
                        {m, amount, amount});
        return m;
    }
    long long value(const std::string& column, long long m) {
        return db_->scalarInt(
            "select " + column + " from " + schema_ + ".member_user where member_inx=?", {m});
    }
    static void Click(QWidget& s, const char* button) {
        QTest::mouseClick(Find<QPushButton>(s, button), Qt::LeftButton);
    }
    static void Type(QWidget& s, const char* box, const QString& text) {
        auto* edit = Find<QLineEdit>(s, box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    SessionContext session_;
    std::string schema_;
};

TEST_F(LedgerScreensTest, LedgerPanelBooksOnEnterAndCancelsTheChosenRow) {
    const long long m = member("원장회원", 10000);
    LedgerPanel panel(*db_, session_, ui_);
    panel.setMember(m);
    Type(panel, "txtDate", "2026-03-05");
    // Hangul arrives through the input method, not as key presses.
    Find<QLineEdit>(panel, "txtItem")->setText("회비");
    // An empty amount is refused before anything is asked.
    QTest::keyClick(Find<QLineEdit>(panel, "txtAmount"), Qt::Key_Return);
    EXPECT_EQ(ui_.shown.back().text, kAmountMissingText);
    Type(panel, "txtAmount", "15000");
    QTest::keyClick(Find<QLineEdit>(panel, "txtAmount"), Qt::Key_Return);
    EXPECT_EQ(ui_.shown.back().text, "26-03-05 일자로 매출을 발생하시겠습니까?");
    ASSERT_EQ(panel.table()->rowCount(), 1);
    EXPECT_EQ(panel.table()->item(0, 2)->text(), "15,000");
    EXPECT_EQ(value("pay_nonpayment", m), 15000);

    Find<QComboBox>(panel, "cboKind")->setCurrentIndex(1);
    Type(panel, "txtAmount", "5000");
    Click(panel, "cmdBook");
    ASSERT_EQ(panel.table()->rowCount(), 2);
    EXPECT_EQ(panel.table()->item(0, 1)->text(), "수금");
    EXPECT_EQ(value("pay_nonpayment", m), 10000);

    // Nothing chosen, then the collection chosen and cancelled.
    panel.table()->setCurrentCell(-1, -1);
    Click(panel, "cmdCancelRow");
    EXPECT_EQ(ui_.shown.back().text, "취소할 원장내역을 선택 하십시오.");
    panel.table()->selectRow(0);
    Click(panel, "cmdCancelRow");
    EXPECT_EQ(panel.table()->rowCount(), 1);
    EXPECT_EQ(value("pay_nonpayment", m), 15000);
    EXPECT_EQ(value("total_payment", m), 0);
}

TEST_F(LedgerScreensTest, BatchSaleFromTheListToTheHistoryAndBack) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    session_.prgstat[kAllPayMain] = 0;
    const long long a = member("일괄가", 12000);
    const long long b = member("일괄나", 800);

    RunHistoryScreen history(*db_, session_, ui_, web.webHost(), RunKind::kSale);
    auto* window = history.openRunWindow();
    auto* sale = window->findChild<SaleRunScreen*>();
    ASSERT_NE(sale, nullptr);
    Type(*sale, "txtDate", "2026-03-25");
    Click(*sale, "cmdRun");
    EXPECT_EQ(ui_.shown.back().text, kSaleSearchFirstText);
    Click(*sale, "cmdSearch");
    ASSERT_GE(sale->table()->rowCount(), 2);
    EXPECT_TRUE(sale->totals()->text().contains(" 건"));
    ui_.answers = {true, true};  // run it, then open the history
    Click(*sale, "cmdRun");
    EXPECT_EQ(value("pay_nonpayment", a), 12000);
    EXPECT_EQ(value("pay_nonpayment", b), 0);  // below 1,000: refused
    EXPECT_TRUE(ui_.shown.back().text.find("결과화면으로 이동 하시겠습니까?") != std::string::npos);

    // The history lists the run; its refused row shows with the reason.
    Type(history, "txtFrom", "2026-03-01");
    Type(history, "txtTo", "2026-03-31");
    Click(history, "cmdSearch");
    ASSERT_GE(history.runs()->rowCount(), 1);
    history.runs()->selectRow(0);
    Find<QComboBox>(history, "cboFilter")->setCurrentIndex(2);
    bool refusedShown = false;
    for (int r = 0; r < history.detail()->rowCount(); ++r) {
        if (history.detail()->item(r, 8)->text() == "매출예정액 1000원 이하 / ")
            refusedShown = true;
    }
    EXPECT_TRUE(refusedShown);

    Click(history, "cmdCancelRun");
    EXPECT_EQ(ui_.shown.back().text, "일괄매출취소 작업이 완료 되었습니다.");
    EXPECT_EQ(value("pay_nonpayment", a), 0);
    EXPECT_EQ(value("total_prosspay", a), 0);
}

TEST_F(LedgerScreensTest, BulkRemovalNeedsAListAndClearsIt) {
    const long long m = member("제거회원", 9000);
    db_->ExecuteSql("update " + schema_ +
                        ".member_user set pay_nonpayment=7000, "
                        "total_prosspay=7000 where member_inx=?",
                    {m});
    BulkRemovalScreen screen(*db_, session_, ui_, true);
    Click(screen, "cmdRun");
    EXPECT_EQ(ui_.shown.back().text, "조회된 회원이 없습니다.");
    Click(screen, "cmdSearch");
    ASSERT_GE(screen.table()->rowCount(), 1);
    ui_.answers = {false};
    Click(screen, "cmdRun");
    EXPECT_EQ(ui_.shown.back().text, kRemoveOutstandingQuestion);
    EXPECT_EQ(value("pay_nonpayment", m), 7000);
    Click(screen, "cmdRun");
    EXPECT_EQ(value("pay_nonpayment", m), 0);
    EXPECT_EQ(value("total_prosspay", m), 0);
}

TEST_F(LedgerScreensTest, AutoSaleDialogWarnsBooksAndCloses) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    db_->ExecuteSql("update quorisdex.admin_company set ignorenonpay_use='Y' where inx=?",
                    {inst_.inx});
    const long long m = member("자동매출", 11000);
    db_->ExecuteSql("update " + schema_ + ".member_user set payday=3 where member_inx=?", {m});
    AutoSaleDialog dialog(*db_, session_, ui_, web.webHost(), "2026-03-05");
    const auto notices = dialog.findChildren<QLabel*>("lblNotice");
    ASSERT_EQ(notices.size(), 2);
    EXPECT_EQ(notices[0]->text(),
              QString::fromUtf8("※ 주의 : 이체월 [2026-03]의 원장매출 직접 추가분을 『무시』하고"));
    EXPECT_EQ(Find<QComboBox>(dialog, "cboDay")->currentText(), "5");
    Click(dialog, "cmdRun");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui_.shown.back().text, kAutoSaleDoneText);
    EXPECT_EQ(value("pay_nonpayment", m), 11000);
    db_->ExecuteSql("update quorisdex.admin_company set ignorenonpay_use='N' where inx=?",
                    {inst_.inx});
}

}  // namespace
}  // namespace qx::ui
