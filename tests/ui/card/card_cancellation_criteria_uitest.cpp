// The card cancellation window's criteria as a person sets them: the payment
// date typed into its box lists exactly the approved, unscheduled payments of
// that day; the transfer day unticks only the members who pay on that day;
// the months criterion unticks the payments older than that many months
// counted back from today.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <map>

#include "channels/card_fixture.h"
#include "support/screen_test.h"
#include "ui/card/card_screens.h"

namespace qx::ui {
namespace {

class CardCancellationCriteriaTest : public test::ScreenTest {
  protected:
    void SetUp() override { test::PinServerClock(*db_, "2026-12-07 10:00:00"); }
    void TearDown() override { test::UnpinServerClock(*db_); }

    // A card member who pays on `inday`.
    long long Member(const std::string& inday) {
        test::CardMember c;
        c.status = "7";
        c.inday = inday;
        return test::InsertCardMember(*db_, inst_.inx, c);
    }
    long long Payment(long long member, const std::string& yymmdd,
                      const std::string& approval = "00009999", const std::string& cancel = "N",
                      const std::string& result = "") {
        db_->ExecuteSql("insert into " + schema_ +
                            ".cdpay_detail (seq_num,reg_date,card_no,amount,user_no,purchase_kind,"
                            "approval_no,cancel_status,result) values (1,?,'4111222233334444',"
                            "5000,?,'0',?,?,?)",
                        {yymmdd, member, approval, cancel, result});
        return db_->lastInsertId();
    }

    // Types the date into the box as a person does and lists.
    static void ListDay(CardCancellationDialog& dialog, const QDate& day) {
        QDateEdit* box = dialog.date();
        box->setFocus();
        box->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(box, day.toString("yyyy-MM-dd"));
        ASSERT_EQ(box->date(), day);
        QTest::mouseClick(Find<QPushButton>(dialog, "cmdList"), Qt::LeftButton);
    }
    static void Exclude(CardCancellationDialog& dialog, const QString& criterion,
                        const QString& value) {
        auto* box = Find<QComboBox>(dialog, "cboExclusion");
        const int i = box->findText(criterion);
        ASSERT_GE(i, 0) << criterion.toStdString();
        box->setCurrentIndex(i);
        auto* edit = Find<QLineEdit>(dialog, "txtExclusion");
        edit->clear();
        QTest::keyClicks(edit, value);
        QTest::mouseClick(Find<QPushButton>(dialog, "cmdExclude"), Qt::LeftButton);
    }
    // The candidates listed: payment key → ticked.
    static std::map<long long, bool> Candidates(const CardCancellationDialog& dialog) {
        std::map<long long, bool> out;
        const QTableWidget* grid = dialog.candidates();
        for (int r = 0; r < grid->rowCount(); ++r)
            out[grid->item(r, 0)->text().toLongLong()] =
                grid->item(r, 0)->checkState() == Qt::Checked;
        return out;
    }
    // "전체선택" ticks every candidate, or none when all were ticked.
    static void TickAll(CardCancellationDialog& dialog) {
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(Find<QPushButton>(dialog, "cmdSelectAll"), Qt::LeftButton);
            bool all = true;
            for (const auto& [key, ticked] : Candidates(dialog)) all = all && ticked;
            if (all) return;
        }
        ADD_FAILURE() << "전체선택 did not tick every candidate";
    }

    // The suite's institution exists before any test's fixture is made.
    SessionContext session_ = test::SessionFor(inst_);
    std::string schema_ = InstitutionSchema(inst_.inx);
};

TEST_F(CardCancellationCriteriaTest, TheTypedDayListsOnlyThatDaysApprovedUnscheduledPayments) {
    const long long m = Member("10");
    const long long wanted = Payment(m, "261204");
    const long long dayBefore = Payment(m, "261203");
    const long long dayAfter = Payment(m, "261205");
    const long long unapproved = Payment(m, "261204", "");
    const long long scheduled = Payment(m, "261204", "00009999", "Y");
    const long long failed = Payment(m, "261204", "00009999", "N", "N");

    CardCancellationDialog dialog(*db_, session_, ui_);
    dialog.show();
    ListDay(dialog, QDate(2026, 12, 4));
    EXPECT_EQ(Candidates(dialog), (std::map<long long, bool>{{wanted, false}}));
    ListDay(dialog, QDate(2026, 12, 3));
    EXPECT_EQ(Candidates(dialog), (std::map<long long, bool>{{dayBefore, false}}));
    ListDay(dialog, QDate(2026, 12, 5));
    EXPECT_EQ(Candidates(dialog), (std::map<long long, bool>{{dayAfter, false}}));
    // Listed only among the scheduled, never as candidates.
    std::vector<long long> scheduledKeys;
    for (int r = 0; r < dialog.scheduled()->rowCount(); ++r)
        scheduledKeys.push_back(dialog.scheduled()->item(r, 0)->text().toLongLong());
    EXPECT_EQ(scheduledKeys, std::vector<long long>{scheduled});
    for (long long never : {unapproved, failed})
        EXPECT_EQ(Candidates(dialog).count(never), 0u) << never;
}

TEST_F(CardCancellationCriteriaTest, TransferDayUnticksOnlyThatDaysPayers) {
    const long long on9 = Payment(Member("9"), "261111");
    const long long on10 = Payment(Member("10"), "261111");
    const long long on11 = Payment(Member("11"), "261111");
    const long long on1 = Payment(Member("1"), "261111");

    CardCancellationDialog dialog(*db_, session_, ui_);
    dialog.show();
    ListDay(dialog, QDate(2026, 11, 11));
    ASSERT_EQ(Candidates(dialog).size(), 4u);

    struct Case {
        QString day;
        std::map<long long, bool> ticks;
    };
    const Case cases[] = {
        {"10", {{on9, true}, {on10, false}, {on11, true}, {on1, true}}},
        {"01", {{on9, true}, {on10, true}, {on11, true}, {on1, false}}},
        {"11", {{on9, true}, {on10, true}, {on11, false}, {on1, true}}},
        {"12", {{on9, true}, {on10, true}, {on11, true}, {on1, true}}},
    };
    for (const Case& c : cases) {
        TickAll(dialog);
        ui_.shown.clear();
        Exclude(dialog, "이체예정일", c.day);
        EXPECT_EQ(Candidates(dialog), c.ticks) << c.day.toStdString();
        EXPECT_TRUE(ui_.texts().empty()) << c.day.toStdString();
    }
    // Not a day: a message, and every tick stays.
    TickAll(dialog);
    ui_.shown.clear();
    Exclude(dialog, "이체예정일", "1a");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"잘못된 이체예정일입니다."});
    for (const auto& [key, ticked] : Candidates(dialog)) EXPECT_TRUE(ticked) << key;
}

TEST_F(CardCancellationCriteriaTest, MonthsCountBackFromTodayNotFromTheListedDay) {
    // Today is 2026-12-07: "2" keeps December and November.
    const long long m = Member("10");
    const long long lastOfOctober = Payment(m, "261031");
    const long long firstOfNovember = Payment(m, "261101");
    const long long today = Payment(m, "261207");

    CardCancellationDialog dialog(*db_, session_, ui_);
    dialog.show();
    struct Case {
        QDate day;
        long long payment;
        QString months;
        bool ticked;
    };
    const Case cases[] = {
        {QDate(2026, 10, 31), lastOfOctober, "2", false},  // a month just outside
        {QDate(2026, 10, 31), lastOfOctober, "3", true},
        {QDate(2026, 11, 1), firstOfNovember, "2", true},
        {QDate(2026, 11, 1), firstOfNovember, "1", false},
        {QDate(2026, 12, 7), today, "1", true},
    };
    for (const Case& c : cases) {
        const std::string label =
            c.day.toString("yyyy-MM-dd").toStdString() + " months " + c.months.toStdString();
        ListDay(dialog, c.day);
        TickAll(dialog);
        ASSERT_EQ(Candidates(dialog), (std::map<long long, bool>{{c.payment, true}})) << label;
        ui_.shown.clear();
        Exclude(dialog, "지정개월수외", c.months);
        EXPECT_EQ(Candidates(dialog), (std::map<long long, bool>{{c.payment, c.ticked}})) << label;
        EXPECT_TRUE(ui_.texts().empty()) << label;
    }
    // Zero months is refused and unticks nothing.
    ListDay(dialog, QDate(2026, 10, 31));
    TickAll(dialog);
    ui_.shown.clear();
    Exclude(dialog, "지정개월수외", "0");
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kEb21MonthsInvalidText});
    EXPECT_EQ(Candidates(dialog), (std::map<long long, bool>{{lastOfOctober, true}}));
}

}  // namespace
}  // namespace qx::ui
