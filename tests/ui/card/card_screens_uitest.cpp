// The card screens as a person uses them: the member request window lists
// only usable card data and creates the day's request on a click; Ctrl+F10
// on the member results takes it back behind the password; the payment
// request window lists what card members owe, follows the ticks and creates
// the request, narrows by the amounts and method chosen and leaves excluded
// rows out; the cancellation window schedules a ticked payment and unticks
// the candidates an exclusion matches.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
    // The listed rows of member `m`: (amount, 구분) in grid order.
    static std::vector<std::string> RowsOf(const CardPaymentRequestDialog& d, long long m) {
        std::vector<std::string> out;
        for (int r = 0; r < d.grid()->rowCount(); ++r)
            if (d.grid()->item(r, 1)->text().toLongLong() == m)
                out.push_back(d.grid()->item(r, 3)->text().toStdString() + " " +
                              d.grid()->item(r, 6)->text().toStdString());
        return out;
    }
    static void Choose(QWidget& w, const char* combo, const std::string& caption) {
        auto* box = w.findChild<QComboBox*>(combo);
        ASSERT_TRUE(box);
        const int i = box->findText(QString::fromStdString(caption));
        ASSERT_GE(i, 0) << caption;
        box->setCurrentIndex(i);
    }
    static void Exclude(QWidget& w, const std::string& criterion, const std::string& value) {
        Choose(w, "cboExclusion", criterion);
        auto* edit = w.findChild<QLineEdit*>("txtExclusion");
        edit->clear();
        const QString text = QString::fromStdString(value);
        // QTest types only Latin keys; Hangul arrives as an input method would put it.
        bool latin = true;
        for (QChar ch : text) latin = latin && ch.unicode() < 0x80;
        if (latin)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
        QTest::mouseClick(w.findChild<QPushButton*>("cmdExclude"), Qt::LeftButton);
    }
    static std::vector<bool> Ticks(const QTableWidget* grid) {
        std::vector<bool> out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out.push_back(grid->item(r, 0)->checkState() == Qt::Checked);
        return out;
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

TEST_F(CardScreensTest, PaymentRequestNarrowsByAmountsAndMethod) {
    test::CardMember c;
    c.status = "3";
    c.nonpayment = 12000;
    const long long m = test::InsertCardMember(*db_, inst_.inx, c);
    test::InsertLedgerRow(*db_, inst_.inx, m, 5000, "26-10-05");  // unpaid
    test::InsertLedgerRow(*db_, inst_.inx, m, 7000, "26-11-05");  // the month billed

    CardPaymentRequestDialog dialog(*db_, session_, ui_, test::CardPreparerIn(*db_, inst_.inx));
    dialog.show();
    dialog.date()->setDate(QDate(2026, 12, 23));
    auto* list = Find<QPushButton>(dialog, "cmdList");
    struct Case {
        const char* amounts;
        std::string method;
        std::vector<std::string> want;
    };
    for (const Case& k : std::vector<Case>{
             {"optBoth", Eb21MethodCaption(Eb21Method::Monthly), {"5000 미납분", "7000 정기분"}},
             {"optBoth", Eb21MethodCaption(Eb21Method::Sum), {"12000 정기분"}},
             {"optRegular", Eb21MethodCaption(Eb21Method::Item), {"7000 정기분"}},
             {"optUnpaid", Eb21MethodCaption(Eb21Method::Item), {"5000 미납분"}},
         }) {
        SCOPED_TRACE(std::string(k.amounts) + " " + k.method);
        QTest::mouseClick(Find<QRadioButton>(dialog, k.amounts), Qt::LeftButton);
        Choose(dialog, "cboMethod", k.method);
        QTest::mouseClick(list, Qt::LeftButton);
        EXPECT_EQ(RowsOf(dialog, m), k.want);
    }
    // Enter in the exclusion value lists again and never creates.
    QTest::keyClick(Find<QLineEdit>(dialog, "txtExclusion"), Qt::Key_Return);
    EXPECT_EQ(db_->scalar("select count(*) from " + schema_ + ".cdpay_detail where user_no=?", {m}),
              "0");
    EXPECT_EQ(RowsOf(dialog, m), std::vector<std::string>{"5000 미납분"});
    // The amounts offer only their own methods.
    QTest::mouseClick(Find<QRadioButton>(dialog, "optRegular"), Qt::LeftButton);
    EXPECT_EQ(Find<QComboBox>(dialog, "cboMethod")
                  ->findText(QString::fromUtf8(Eb21MethodCaption(Eb21Method::Monthly))),
              -1);
}

TEST_F(CardScreensTest, PaymentRequestLeavesExcludedRowsOut) {
    // Only this test's members are billable.
    db_->ExecuteSql("update " + schema_ +
                    ".member_user set cms_status='0' where settle_accounts='5'");
    std::vector<long long> members;
    for (long long amount : {12000, 30000, 45000}) {
        test::CardMember c;
        c.status = "3";
        c.nonpayment = amount;
        members.push_back(test::InsertCardMember(*db_, inst_.inx, c));
        test::InsertLedgerRow(*db_, inst_.inx, members.back(), amount, "26-11-05");
    }
    CardPaymentRequestDialog dialog(*db_, session_, ui_, test::CardPreparerIn(*db_, inst_.inx));
    dialog.show();
    dialog.date()->setDate(QDate(2026, 12, 24));
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdList"), Qt::LeftButton);
    ASSERT_EQ(dialog.grid()->rowCount(), 3);
    const QString all = dialog.figures()->text();

    // A value that is not an amount is refused and unticks nothing.
    ui_.shown.clear();
    Exclude(dialog, "출금액(이상)", "3O,000");  // a letter O
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb21AmountInvalidText});
    EXPECT_EQ(Ticks(dialog.grid()), (std::vector<bool>{true, true, true}));

    Exclude(dialog, "출금액(이상)", "30,000");
    std::vector<long long> kept;
    for (const auto& r : dialog.rows())
        if (r.selected) kept.push_back(r.member_inx);
    EXPECT_EQ(kept, std::vector<long long>{members[0]});
    const std::vector<bool> ticks = Ticks(dialog.grid());
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), true), 1);
    EXPECT_NE(dialog.figures()->text(), all);

    // "전체선택" ticks all back, then none, then all again.
    auto* selectAll = Find<QPushButton>(dialog, "cmdSelectAll");
    QTest::mouseClick(selectAll, Qt::LeftButton);
    EXPECT_EQ(Ticks(dialog.grid()), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(dialog.figures()->text(), all);
    QTest::mouseClick(selectAll, Qt::LeftButton);
    EXPECT_EQ(Ticks(dialog.grid()), (std::vector<bool>{false, false, false}));
    QTest::mouseClick(selectAll, Qt::LeftButton);

    Exclude(dialog, "출금액(이하)", "30000");  // leaves only the 45,000 row
    ui_.answers = {true, false, false};        // create, not sent now, stay
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdCreate"), Qt::LeftButton);
    EXPECT_EQ(db_->scalar("select concat(count(*),'/',sum(amount),'/',min(user_no)) from " +
                          schema_ + ".cdpay_detail where reg_date='261224' and purchase_kind=0"),
              "1/45000/" + std::to_string(members[2]));
    EXPECT_EQ(Member(members[2], "cms_status"), "6");
    EXPECT_EQ(Member(members[0], "cms_status"), "3");
    EXPECT_EQ(Member(members[1], "cms_status"), "3");
}

TEST_F(CardScreensTest, CancellationWindowExcludesByCriterion) {
    test::CardMember c;
    c.status = "7";
    const long long m = test::InsertCardMember(*db_, inst_.inx, c);
    std::vector<long long> paid;
    for (long long amount : {5000, 50000}) {
        db_->ExecuteSql("insert into " + schema_ +
                            ".cdpay_detail (seq_num,reg_date,card_no,amount,user_no,purchase_kind,"
                            "approval_no,cancel_status) values (1,'261204','4111222233334444',?,?,"
                            "'0','00009999','N')",
                        {amount, m});
        paid.push_back(db_->lastInsertId());
    }
    CardCancellationDialog dialog(*db_, session_, ui_);
    dialog.show();
    dialog.date()->setDate(QDate(2026, 12, 4));
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdList"), Qt::LeftButton);
    ASSERT_EQ(dialog.candidates()->rowCount(), 2);
    EXPECT_EQ(Ticks(dialog.candidates()), (std::vector<bool>{false, false}));
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSelectAll"), Qt::LeftButton);
    EXPECT_EQ(Ticks(dialog.candidates()), (std::vector<bool>{true, true}));

    ui_.shown.clear();
    Exclude(dialog, "출금액(이상)", "");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb21AmountMissingText});
    EXPECT_EQ(Ticks(dialog.candidates()), (std::vector<bool>{true, true}));
    Exclude(dialog, "CMS상태", "출금완료");  // the member's state: both untick
    EXPECT_EQ(Ticks(dialog.candidates()), (std::vector<bool>{false, false}));
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdSelectAll"), Qt::LeftButton);
    Exclude(dialog, "출금액(이상)", "10000");
    ui_.answers = {false};
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdAdd"), Qt::LeftButton);
    auto state = [&](long long k) {
        return db_->scalar("select cancel_status from " + schema_ + ".cdpay_detail where cdp_inx=?",
                           {k});
    };
    EXPECT_EQ(state(paid[0]), "Y");
    EXPECT_EQ(state(paid[1]), "N");
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
