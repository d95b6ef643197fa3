// The card screens as a person uses them: the member request window lists
// only usable card data and creates the day's request on a click; Ctrl+F10
// on the member results takes it back behind the password; the payment
// request window lists what card members owe, follows the ticks and creates
// the request; the cancellation window schedules a ticked payment.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "channels/card_fixture.h"
#include "support/screen_test.h"
#include "ui/card/card_screens.h"

namespace qx::ui {
namespace {

using test::OnNextModal;

class CardScreensTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session_ = test::SessionFor(inst_);
        schema_ = InstitutionSchema(inst_.inx);
        db_->ExecuteSql(
            "update quorisdex.admin_company set credit_account_title='카드결제', "
            "credit_month_out_limit=1000000 where inx=?",
            {inst_.inx});
    }
    std::string Member(long long m, const std::string& column) {
        return db_->scalar(
            "select " + column + " from " + schema_ + ".member_user where member_inx=?", {m});
    }
    static std::vector<std::string> Column(const QTableWidget* grid, int c) {
        std::vector<std::string> out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out.push_back(grid->item(r, c) ? grid->item(r, c)->text().toStdString() : "");
        return out;
    }
    static bool Has(const std::vector<std::string>& cells, const std::string& text) {
        return std::find(cells.begin(), cells.end(), text) != cells.end();
    }
    SessionContext session_;
    std::string schema_;
};

TEST_F(CardScreensTest, MemberRequestByClickAndItsRollbackByCtrlF10) {
    test::CardMember good;
    good.username = "화면카드";
    const long long m = test::InsertCardMember(*db_, inst_.inx, good);
    test::CardMember bad;
    bad.username = "화면유효오류";
    bad.expiry = "123";
    const long long wrong = test::InsertCardMember(*db_, inst_.inx, bad);

    CardResultScreen screen(*db_, session_, ui_, true);
    screen.show();
    QTest::mouseClick(Find<QPushButton>(screen, "cmdRequest"), Qt::LeftButton);
    auto* dialog = screen.findChild<CardMemberRequestDialog*>();
    ASSERT_NE(dialog, nullptr);
    const auto names = Column(dialog->grid(), 0);
    EXPECT_TRUE(Has(names, "화면카드"));
    EXPECT_FALSE(Has(names, "화면유효오류"));
    EXPECT_EQ(Member(wrong, "cms_status"), "2");

    dialog->date()->setDate(QDate(2026, 12, 22));
    ui_.answers = {false, false};  // not sent now, and the window stays
    QTest::mouseClick(Find<QPushButton>(*dialog, "cmdCreate"), Qt::LeftButton);
    EXPECT_EQ(Member(m, "cms_status"), "1");
    EXPECT_EQ(
        db_->scalarInt("select count(*) from " + schema_ + ".cdmem where filename='CMEM261222'"),
        1);
    dialog->reject();
    QApplication::processEvents();
    EXPECT_TRUE(Has(Column(screen.files(), 0), "CMEM261222"));

    ui_.shown.clear();
    OnNextModal([](QWidget* password) {
        QTest::keyClicks(password->findChild<QLineEdit*>("txtPassword"), "vornadesk");
        OnNextModal([](QWidget* rollback) {
            EXPECT_EQ(rollback->objectName(), "frmCMEMroolback");
            auto* grid = rollback->findChild<QTableWidget*>("grdFiles");
            for (int r = 0; r < grid->rowCount(); ++r)
                if (grid->item(r, 2)->text() == "CMEM261222")
                    grid->item(r, 0)->setCheckState(Qt::Checked);
            QTest::mouseClick(rollback->findChild<QPushButton*>("cmdRollback"), Qt::LeftButton);
            QTest::mouseClick(rollback->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        QTest::keyClick(password->findChild<QLineEdit*>("txtPassword"), Qt::Key_Return);
    });
    QApplication::setActiveWindow(&screen);
    screen.files()->setFocus();
    QTest::keyClick(screen.files(), Qt::Key_F10, Qt::ControlModifier);
    EXPECT_EQ(Member(m, "cms_status"), "0");
    EXPECT_FALSE(Has(Column(screen.files(), 0), "CMEM261222"));
}

TEST_F(CardScreensTest, PaymentRequestFollowsTheTicksAndCreates) {
    test::CardMember c;
    c.username = "화면청구";
    c.status = "3";
    c.nonpayment = 12000;
    const long long m = test::InsertCardMember(*db_, inst_.inx, c);
    test::InsertLedgerRow(*db_, inst_.inx, m, 12000, "26-11-05");

    CardPaymentRequestDialog dialog(*db_, session_, ui_, test::CardPreparerIn(*db_, inst_.inx));
    dialog.show();
    dialog.date()->setDate(QDate(2026, 12, 23));
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdList"), Qt::LeftButton);
    int row = -1;
    for (int r = 0; r < dialog.grid()->rowCount(); ++r)
        if (dialog.grid()->item(r, 1)->text().toLongLong() == m) row = r;
    ASSERT_GE(row, 0);
    EXPECT_EQ(dialog.grid()->item(row, 3)->text(), "12000");
    const QString all = dialog.figures()->text();
    dialog.grid()->item(row, 0)->setCheckState(Qt::Unchecked);
    EXPECT_NE(dialog.figures()->text(), all);
    dialog.grid()->item(row, 0)->setCheckState(Qt::Checked);
    EXPECT_EQ(dialog.figures()->text(), all);

    ui_.answers = {true, false, false};  // create, not sent now, stay
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdCreate"), Qt::LeftButton);
    EXPECT_EQ(Member(m, "cms_status"), "6");
    EXPECT_EQ(db_->scalar("select amount from " + schema_ +
                              ".cdpay_detail where reg_date='261223' and user_no=?",
                          {m}),
              "12000");
}

TEST_F(CardScreensTest, CancellationWindowSchedulesTheTickedPayment) {
    test::CardMember c;
    c.status = "7";
    const long long m = test::InsertCardMember(*db_, inst_.inx, c);
    db_->ExecuteSql("insert into " + schema_ +
                        ".cdpay_detail (seq_num,reg_date,card_no,amount,user_no,purchase_kind,"
                        "approval_no,cancel_status) values (1,'261202','4111222233334444',5000,?,"
                        "'0','00009999','N')",
                    {m});
    const long long paid = db_->lastInsertId();
    CardCancellationDialog dialog(*db_, session_, ui_);
    dialog.show();
    dialog.date()->setDate(QDate(2026, 12, 2));
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdList"), Qt::LeftButton);
    ASSERT_EQ(dialog.candidates()->rowCount(), 1);
    EXPECT_EQ(dialog.candidates()->item(0, 0)->text().toLongLong(), paid);
    dialog.candidates()->item(0, 0)->setCheckState(Qt::Checked);
    ui_.answers = {false};
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdAdd"), Qt::LeftButton);
    EXPECT_EQ(db_->scalar("select cancel_status from " + schema_ + ".cdpay_detail where cdp_inx=?",
                          {paid}),
              "Y");
    EXPECT_EQ(dialog.candidates()->rowCount(), 0);
    EXPECT_TRUE(Has(Column(dialog.scheduled(), 0), std::to_string(paid)));
}

}  // namespace
}  // namespace qx::ui
