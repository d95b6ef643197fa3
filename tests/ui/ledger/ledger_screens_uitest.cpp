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
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "admin/provisioning.h"
#include "ledger/batch_collection.h"
#include "ledger/batch_sales.h"
#include "ledger/bulk_removal.h"
#include "ledger/ledger_booking.h"
#include "platform/amount_text.h"
#include "services/web_stand_in.h"
#include "support/screen_test.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/auto_sale_dialog.h"
#include "ui/ledger/ledger_panel.h"
#include "ui/ledger/ledger_screens.h"
#include "ui/ledger/member_filter_bar.h"

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
    long long member(const std::string& name, long long amount, test::MemberRow row = {}) {
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

// Members over two branches, an agency of each and the sales kinds, so that
// every filter of the batch lists has someone to leave out.
class LedgerFilterTest : public LedgerScreensTest {
  protected:
    static void SetUpTestSuite() {
        LedgerScreensTest::SetUpTestSuite();
        const std::string n = std::to_string(inst_.inx);
        // Branch numbers have at most five digits.
        brinx_ = 50000 + inst_.inx % 10000;
        otherBrinx_ = 60000 + inst_.inx % 10000;
        CreateBranch(*db_, {inst_.inx, brinx_, 0, "fb" + n, "b1234", "필터지사"});
        CreateBranch(*db_, {inst_.inx, otherBrinx_, 0, "fo" + n, "b1234", "다른지사"});
        CreateAgency(*db_, {inst_.inx, brinx_, brinx_, "fa" + n, "a1234", "필터대리점"});
        CreateAgency(*db_, {inst_.inx, otherBrinx_, otherBrinx_, "fp" + n, "a1234", "다른대리점"});
    }
    void SetUp() override {
        LedgerScreensTest::SetUp();
        // Each test starts from its own members.
        db_->ExecuteSql("update " + schema_ + ".member_user set remove=4");
        test::MemberRow own;
        own.branch_inx = brinx_;
        a_ = member("필터가", 12000, own);
        b_ = member("필터나", 8000, own);
        test::MemberRow adHoc = own;
        adHoc.account_divide = "2";
        adHoc.settle_accounts = "3";
        adHoc.agency_inx = brinx_;
        c_ = member("필터다", 5000, adHoc);
        d_ = member("본사회원", 7000);
        test::MemberRow other;
        other.branch_inx = otherBrinx_;
        other.agency_inx = otherBrinx_;
        e_ = member("다른회원", 9000, other);
        // a has no sales day (billed on the 15th), b the 25th, c the 5th.
        set("payday=0, client_info1='VIP', client_manager='김담당'", a_);
        set("payday=25", b_);
        set("payday=5", c_);
        set("payday=10", d_);
        set("payday=15", e_);
    }
    void set(const std::string& assignments, long long m) {
        db_->ExecuteSql(
            "update " + schema_ + ".member_user set " + assignments + " where member_inx=?", {m});
    }
    // Moves through the drop-down with the arrow keys until `text` shows.
    static void Choose(QWidget& screen, const char* column, const QString& text) {
        auto* combo = Find<QComboBox>(screen, column);
        ASSERT_TRUE(combo->isEnabled()) << column;
        combo->setFocus();
        for (int i = 0; i < combo->count(); ++i) QTest::keyClick(combo, Qt::Key_Up);
        for (int i = 0; i < combo->count() && combo->currentText() != text; ++i) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
        ASSERT_EQ(combo->currentText(), text) << column;
    }
    static QStringList Texts(const QComboBox* combo) {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
        return out;
    }
    // Payer numbers of a grid's first column, and the sum of one column.
    static std::set<long long> Listed(const QTableWidget* grid) {
        std::set<long long> out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out.insert(grid->item(r, 0)->text().toLongLong());
        return out;
    }
    static long long Sum(const QTableWidget* grid, int column) {
        long long sum = 0;
        for (int r = 0; r < grid->rowCount(); ++r) {
            sum += grid->item(r, column)->text().remove(',').toLongLong();
        }
        return sum;
    }
    long long ledgerSum(const char* table, long long runKey) {
        return db_->scalarInt("select coalesce(sum(input_pay),0) from " + schema_ +
                                  ".pay_pross where addmuskey=? and paystat=" + table,
                              {runKey});
    }

    static inline long long brinx_ = 0, otherBrinx_ = 0;
    long long a_ = 0, b_ = 0, c_ = 0, d_ = 0, e_ = 0;
};

TEST_F(LedgerFilterTest, BatchSaleListsOnlyTheChosenMembersWithTheirCountAndSums) {
    struct Case {
        std::vector<std::pair<const char*, QString>> choices;
        std::string members;  // letters of the members set up
    };
    const std::vector<Case> cases = {
        {{{"branch_inx", "필터지사"}, {"account_divide", "월매출"}}, "ab"},
        {{{"branch_inx", "필터지사"}, {"account_divide", "수시매출"}}, "c"},
        {{{"branch_inx", "본사"}}, "d"},
        {{{"agency_inx", "다른대리점"}}, "e"},
        {{{"branch_inx", "필터지사"}, {"agency_inx", "지사"}}, "ab"},
        {{{"settle_accounts", "OCR지로"}}, "c"},
        // A member without a sales day is found under the 15th.
        {{{"payday", "15"}}, "ae"},
        {{{"payday", "25"}}, "b"},
        {{{"client_info1", "VIP"}}, "a"},
        {{{"branch_inx", "필터지사"}, {"client_info1", "없음"}}, "bc"},
        {{{"client_manager", "김담당"}}, "a"},
        {{{"branch_inx", "필터지사"}, {"member_kind", "일반회원"}}, "c"},
        {{{"branch_inx", "필터지사"}, {"member_kind", "CMS회원"}}, "ab"},
        {{{"branch_inx", "다른지사"}, {"account_divide", "할부매출"}}, ""},
    };
    const std::map<char, long long> ids = {{'a', a_}, {'b', b_}, {'c', c_}, {'d', d_}, {'e', e_}};
    for (const auto& [choices, members] : cases) {
        SaleRunScreen screen(*db_, session_, ui_, "");
        std::string described;
        for (const auto& [column, text] : choices) {
            Choose(screen, column, text);
            described += std::string(column) + "=" + text.toStdString() + " ";
        }
        SCOPED_TRACE(described);
        Click(screen, "cmdSearch");
        std::set<long long> expected;
        long long total = 0;
        for (char m : members) {
            expected.insert(ids.at(m));
            total += value("pay_monthdefault", ids.at(m));
        }
        EXPECT_EQ(Listed(screen.table()), expected);
        EXPECT_EQ(Sum(screen.table(), 5), total);
        const std::string amount = FormatAmount(total);
        EXPECT_EQ(S(screen.totals()->text()), std::to_string(expected.size()) +
                                                  " 건   매출예정액 " + amount +
                                                  "   당월 미발생 매출예정액 " + amount);
    }
}

TEST_F(LedgerFilterTest, CollectionAndRemovalListsTakeTheSameFilter) {
    struct Case {
        const char* screen;
        const char* grid;
        std::function<std::unique_ptr<QWidget>()> open;
    };
    const std::vector<Case> cases = {
        {"frmDoc25", "grdCandidates",
         [&] { return std::make_unique<CollectionRunScreen>(*db_, session_, ui_); }},
        {"frmDoc27", "grdMembers",
         [&] { return std::make_unique<BulkRemovalScreen>(*db_, session_, ui_, true); }},
        {"frmDoc27_1", "grdMembers",
         [&] { return std::make_unique<BulkRemovalScreen>(*db_, session_, ui_, false); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        auto screen = c.open();
        Choose(*screen, "branch_inx", "필터지사");
        Choose(*screen, "account_divide", "월매출");
        Click(*screen, "cmdSearch");
        const auto* grid = Find<QTableWidget>(*screen, c.grid);
        EXPECT_EQ(Listed(grid), (std::set<long long>{a_, b_}));
        EXPECT_EQ(Sum(grid, 4), 20000);
    }
}

TEST_F(LedgerFilterTest, FilteredBatchSaleBooksOnlyTheListedMembers) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    session_.prgstat[kAllPayMain] = 0;
    SaleRunScreen screen(*db_, session_, ui_, web.webHost());
    Type(screen, "txtDate", "2026-03-20");
    Choose(screen, "branch_inx", "필터지사");
    Choose(screen, "account_divide", "월매출");
    Click(screen, "cmdSearch");
    ASSERT_EQ(Listed(screen.table()), (std::set<long long>{a_, b_}));
    ui_.answers = {true, false};
    Click(screen, "cmdRun");
    const auto runSum = [&] {
        return db_->scalarInt("select coalesce(sum(input_pay),0) from " + schema_ +
                              ".pay_pross where paystat='0' and addmuskey=(select max(addmuskey) "
                              "from " +
                              schema_ + ".pay_pross)");
    };
    EXPECT_EQ(runSum(), 20000);
    for (auto [m, owed] : {std::pair{a_, 12000LL}, {b_, 8000LL}, {c_, 0LL}, {d_, 0LL}, {e_, 0LL}}) {
        EXPECT_EQ(value("pay_nonpayment", m), owed) << m;
        EXPECT_EQ(value("total_prosspay", m), owed) << m;
    }

    // The chosen sales day names the run and dates its bookings.
    Choose(screen, "account_divide", "전체");
    Choose(screen, "payday", "5");
    Click(screen, "cmdSearch");
    ASSERT_EQ(Listed(screen.table()), (std::set<long long>{c_}));
    ui_.answers = {true, false};
    Click(screen, "cmdRun");
    const auto texts = ui_.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "26-03-20일자로 이체예정일 5일인 데이터의 일괄매출을 발생 하시겠습니까?"),
              texts.end());
    EXPECT_EQ(runSum(), 5000);
    EXPECT_EQ(db_->scalar("select signdate from " + schema_ +
                              ".pay_pross where paystat='0' and userlink_inx=?",
                          {c_}),
              "26-03-05");
    EXPECT_EQ(value("pay_nonpayment", a_), 12000);
}

TEST_F(LedgerFilterTest, FilteredBatchCollectionCollectsOnlyTheListedMembers) {
    db_->ExecuteSql("update " + schema_ + ".member_user set pay_nonpayment=3000 where remove<>4");
    CollectionRunScreen screen(*db_, session_, ui_);
    Type(screen, "txtDate", "2026-03-20");
    Find<QLineEdit>(screen, "txtItem")->setText("회비");
    Choose(screen, "branch_inx", "필터지사");
    Choose(screen, "account_divide", "월매출");
    Click(screen, "cmdSearch");
    ASSERT_EQ(Listed(screen.table()), (std::set<long long>{a_, b_}));
    EXPECT_EQ(Sum(screen.table(), 3), 6000);
    ui_.answers = {true, false};
    Click(screen, "cmdRun");
    EXPECT_EQ(db_->scalarInt("select coalesce(sum(input_pay),0) from " + schema_ +
                             ".pay_pross where paystat='1' and addmuskey=(select max(addmuskey) "
                             "from " +
                             schema_ + ".pay_pross)"),
              6000);
    for (auto [m, owed] :
         {std::pair{a_, 0LL}, {b_, 0LL}, {c_, 3000LL}, {d_, 3000LL}, {e_, 3000LL}}) {
        EXPECT_EQ(value("pay_nonpayment", m), owed) << m;
    }
}

TEST_F(LedgerFilterTest, AListedValueTheFilterCannotTakeIsRefusedAndNothingRuns) {
    set("client_manager='O''Neil'", e_);
    const auto rows = [&] {
        return db_->scalarInt("select count(*) from " + schema_ + ".pay_pross");
    };
    const long long before = rows();
    CollectionRunScreen screen(*db_, session_, ui_);
    Type(screen, "txtDate", "2026-03-20");
    Find<QLineEdit>(screen, "txtItem")->setText("회비");
    Choose(screen, "client_manager", "O'Neil");
    Click(screen, "cmdSearch");
    EXPECT_EQ(ui_.shown.back().text, "조회 조건 값이 잘못 되었습니다: client_manager=O'Neil");
    EXPECT_EQ(screen.table()->rowCount(), 0);
    Click(screen, "cmdRun");
    EXPECT_EQ(ui_.shown.back().text, kCollectionSearchFirstText);
    EXPECT_EQ(rows(), before);
}

TEST_F(LedgerFilterTest, BranchAndAgencyUsersAreOfferedOnlyTheirOwn) {
    {
        SaleRunScreen head(*db_, session_, ui_, "");
        auto* bar = head.filterBar();
        EXPECT_EQ(Texts(bar->combo("branch_inx")),
                  (QStringList{"전체", "본사", "필터지사", "다른지사"}));
        EXPECT_EQ(Texts(bar->combo("agency_inx")),
                  (QStringList{"전체", "지사", "필터대리점", "다른대리점"}));
        EXPECT_EQ(Texts(bar->combo("payday")), (QStringList{"전체", "5", "10", "15", "25"}));
    }
    session_ = test::SessionFor(inst_, brinx_);
    {
        SaleRunScreen branch(*db_, session_, ui_, "");
        auto* bar = branch.filterBar();
        EXPECT_EQ(Texts(bar->combo("branch_inx")), QStringList{"필터지사"});
        EXPECT_FALSE(bar->combo("branch_inx")->isEnabled());
        EXPECT_EQ(Texts(bar->combo("agency_inx")), (QStringList{"전체", "지사", "필터대리점"}));
        EXPECT_EQ(Texts(bar->combo("payday")), (QStringList{"전체", "5", "15", "25"}));
        EXPECT_EQ(Texts(bar->combo("client_manager")), (QStringList{"전체", "없음", "김담당"}));
        Click(branch, "cmdSearch");
        EXPECT_EQ(Listed(branch.table()), (std::set<long long>{a_, b_, c_}));
    }
    session_ = test::SessionFor(inst_, brinx_, brinx_);
    {
        BulkRemovalScreen agency(*db_, session_, ui_, true);
        auto* bar = agency.filterBar();
        EXPECT_EQ(Texts(bar->combo("branch_inx")), QStringList{"필터지사"});
        EXPECT_EQ(Texts(bar->combo("agency_inx")), QStringList{"필터대리점"});
        EXPECT_FALSE(bar->combo("agency_inx")->isEnabled());
        EXPECT_EQ(Texts(bar->combo("payday")), (QStringList{"전체", "5"}));
        Click(agency, "cmdSearch");
        EXPECT_EQ(Listed(agency.table()), (std::set<long long>{c_}));
    }
}

}  // namespace
}  // namespace qx::ui
