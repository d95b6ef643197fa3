// Single ledger rows: every booking and cancellation keeps the member's
// totals equal to its ledger, refuses bad input without writing, and holds
// when two desks book for the same member at once.
#include <gtest/gtest.h>

#include <thread>

#include "ledger/ledger_booking.h"
#include "ledger/ledger_checks.h"
#include "ledger/ledger_rules.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/text_checks.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

class LedgerBookingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto db = test::ConnectTestDatabase();
        institution_ = test::CreateTestInstitution(*db);
    }
    void SetUp() override {
        db = test::ConnectTestDatabase();
        schema = InstitutionSchema(institution_.inx);
        db->setLogSchema(schema);
        session = test::SessionFor(institution_);
        ui.defaultAnswer = true;
    }

    long long member(test::MemberRow row = {}) {
        return test::InsertMember(*db, institution_.inx, row);
    }
    std::optional<long long> add(long long m, LedgerKind kind, const std::string& amount,
                                 const std::string& date = "2026-03-10",
                                 const std::string& item = "회비", const std::string& memo = "") {
        return AddLedgerEntry(*db, session, ui, m, kind, amount, date, item, memo);
    }
    long long rows(long long m) {
        return db->scalarInt("select count(*) from " + schema + ".pay_pross where userlink_inx=?",
                             {m});
    }
    std::string lastLog() {
        return db->scalar("select prostxt from " + schema +
                          ".pross_log order by pross_inx desc limit 1");
    }

    static test::TestInstitution institution_;
    std::unique_ptr<Database> db;
    std::string schema;
    SessionContext session;
    test::ScriptedInteraction ui;
};

test::TestInstitution LedgerBookingTest::institution_;

TEST_F(LedgerBookingTest, TotalsAgreeAfterEverySaleCollectionAndCancellation) {
    test::MemberRow instalment;
    instalment.account_divide = "3";
    instalment.pay_agreement = 100000;
    for (const auto& row : {test::MemberRow{}, instalment}) {
        const long long m = member(row);
        SCOPED_TRACE(row.account_divide);
        const auto sale1 = add(m, LedgerKind::kSale, "30000");
        const auto sale2 = add(m, LedgerKind::kSale, "20,000");
        const auto paid = add(m, LedgerKind::kCollection, "25000");
        ASSERT_TRUE(sale1 && sale2 && paid);
        test::ExpectTotalsAgree(*db, schema, m);
        EXPECT_EQ(
            db->scalarInt("select pros_nonpayment from " + schema + ".pay_pross where pay_inx=?",
                          {*sale2}),
            50000);
        // Instalment members count what they paid towards the instalment total.
        const long long prossag = row.account_divide == "3" ? 25000 : 0;
        EXPECT_EQ(db->scalarInt("select pay_prossagreement from " + schema +
                                    ".member_user where member_inx=?",
                                {m}),
                  prossag);
        EXPECT_EQ(db->scalarInt("select pay_prossag from " + schema + ".pay_pross where pay_inx=?",
                                {*paid}),
                  prossag);

        ASSERT_TRUE(CancelLedgerEntry(*db, session, ui, *sale1));
        test::ExpectTotalsAgree(*db, schema, m, 0, false);
        ASSERT_TRUE(CancelLedgerEntry(*db, session, ui, *paid));
        EXPECT_EQ(db->scalarInt("select pay_prossagreement from " + schema +
                                    ".member_user where member_inx=?",
                                {m}),
                  0);
        EXPECT_EQ(
            db->scalarInt(
                "select pay_nonpayment from " + schema + ".member_user where member_inx=?", {m}),
            20000);
        // A row cancelled by one desk cannot be cancelled again by another.
        EXPECT_FALSE(CancelLedgerEntry(*db, session, ui, *sale1));
        EXPECT_EQ(ui.shown.back().text, kLedgerRowMissingText);
        EXPECT_EQ(
            db->scalarInt(
                "select pay_nonpayment from " + schema + ".member_user where member_inx=?", {m}),
            20000);
    }
}

TEST_F(LedgerBookingTest, TextsConfirmationAndLogLines) {
    test::MemberRow row;
    row.pay_nonpayment = 5000;
    const long long m = member(row);
    ui.shown.clear();
    const auto sale = add(m, LedgerKind::kSale, "12345", "26-03-09");
    ASSERT_TRUE(sale);
    EXPECT_EQ(ui.shown.at(0).text, "26-03-09 일자로 매출을 발생하시겠습니까?");
    EXPECT_EQ(lastLog(), " (" + TenDigits(m) + ") 26-03-09일자 매출액 12,345 원");
    const auto paid = add(m, LedgerKind::kCollection, "1000", "2026-03-11");
    ASSERT_TRUE(paid);
    EXPECT_EQ(lastLog(), " (" + TenDigits(m) + ") 26-03-11일자 수금액 1,000 원");
    // A sale carries the name of the member's method; a collection "대체수금".
    EXPECT_EQ(
        db->scalar("select settle_title from " + schema + ".pay_pross where pay_inx=?", {*sale}),
        "CMS출금");
    EXPECT_EQ(
        db->scalar("select settle_title from " + schema + ".pay_pross where pay_inx=?", {*paid}),
        "대체수금");

    ui.shown.clear();
    ASSERT_TRUE(CancelLedgerEntry(*db, session, ui, *paid));
    EXPECT_EQ(ui.shown.at(0).text, " 수금액(1,000)원을 취소 하시겠습니까?");
    EXPECT_EQ(lastLog(), " (" + TenDigits(m) + ") 수금취소 26-03-11일자 수금액 1,000 원 취소처리");
    ASSERT_TRUE(CancelLedgerEntry(*db, session, ui, *sale));
    EXPECT_EQ(ui.shown.at(1).text, " 매출액(12,345)원을 취소 하시겠습니까?");
    EXPECT_EQ(lastLog(), " (" + TenDigits(m) + ") 매출취소 26-03-09일자 매출액 12,345 원 취소처리");
    test::ExpectTotalsAgree(*db, schema, m, 5000, false);

    // A "no" writes nothing.
    ui.answers = {false};
    EXPECT_FALSE(add(m, LedgerKind::kSale, "500"));
    EXPECT_EQ(rows(m), 0);
}

TEST_F(LedgerBookingTest, BadInputIsRefusedWithItsTextAndWritesNothing) {
    const long long m = member();
    struct Case {
        LedgerKind kind;
        std::string amount, date, item;
        long long member;
        std::string text;
    };
    const std::vector<Case> cases = {
        {LedgerKind::kSale, "1000", "2026-03-10", "", m, kItemMissingText},
        {LedgerKind::kSale, "1000", "2026-03-10", "  ", m, kItemMissingText},
        {LedgerKind::kSale, "", "2026-03-10", "회비", m, kAmountMissingText},
        {LedgerKind::kCollection, "   ", "2026-03-10", "", m, kAmountMissingText},
        {LedgerKind::kCollection, "abc", "2026-03-10", "", m, kAmountInvalidText},
        {LedgerKind::kSale, "-500", "2026-03-10", "회비", m, kAmountInvalidText},
        {LedgerKind::kSale, "0", "2026-03-10", "회비", m, kAmountInvalidText},
        {LedgerKind::kSale, "1000", "2026-02-30", "회비", m, kDateInvalidText},
        {LedgerKind::kSale, "1000", "어제", "회비", m, kDateInvalidText},
        {LedgerKind::kSale, "1000", "2026-03-10", "회비", 999999999, kMemberNotFoundText},
        {LedgerKind::kSale, "1000", "2026-03-10", "회비😀", m, UnstorableTextMessage("품목명")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount + "|" + c.date + "|" + c.item);
        ui.shown.clear();
        EXPECT_FALSE(
            AddLedgerEntry(*db, session, ui, c.member, c.kind, c.amount, c.date, c.item, ""));
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].text, c.text);
    }
    EXPECT_EQ(rows(m), 0);
    test::ExpectTotalsAgree(*db, schema, m);
}

TEST_F(LedgerBookingTest, InstalmentLimitsFromBothSides) {
    test::MemberRow row;
    row.account_divide = "3";
    row.pay_agreement = 100000;
    row.pay_nonpayment = 10000;
    row.pay_prossagreement = 80000;
    const long long m = member(row);
    // 10,000 is left to bill; nothing above the instalment total is collected.
    struct Case {
        LedgerKind kind;
        std::string amount;
        const char* refusal;
    };
    for (const Case& c : {Case{LedgerKind::kSale, "10001", kInstalmentSaleText},
                          Case{LedgerKind::kCollection, "100001", kInstalmentCollectionText},
                          Case{LedgerKind::kSale, "10000", nullptr}}) {
        SCOPED_TRACE(c.amount);
        ui.shown.clear();
        const auto booked = add(m, c.kind, c.amount);
        if (c.refusal) {
            EXPECT_FALSE(booked);
            EXPECT_EQ(ui.shown.back().text, c.refusal);
        } else {
            EXPECT_TRUE(booked);
        }
    }
    EXPECT_EQ(rows(m), 1);
    // Nothing is left to bill now.
    EXPECT_FALSE(add(m, LedgerKind::kSale, "1"));
    EXPECT_EQ(ui.shown.back().text, kInstalmentSaleText);
}

TEST_F(LedgerBookingTest, QuotesAndSqlInTextsAreStoredWithoutQuotes) {
    const long long m = member();
    const auto sale = add(m, LedgerKind::kSale, "1000", "2026-03-10", "O'Brien \"회비\"",
                          "'; drop table pay_pross; -- " + std::string(70, 'x'));
    ASSERT_TRUE(sale);
    const Recordset r = db->OpenRecordset(
        "select item_name, memo from " + schema + ".pay_pross where pay_inx=?", {*sale});
    EXPECT_EQ(r[0]["item_name"], "OBrien 회비");
    EXPECT_EQ(r[0]["memo"], ("; drop table pay_pross; -- " + std::string(70, 'x')).substr(0, 60));
}

TEST_F(LedgerBookingTest, CancellationRefusalsAndTheBatchRowItCameFrom) {
    test::MemberRow phone;
    phone.settle_accounts = "4";
    const long long p = member(phone);
    const auto phoneSale = add(p, LedgerKind::kSale, "3000");
    ASSERT_TRUE(phoneSale);
    EXPECT_FALSE(CancelLedgerEntry(*db, session, ui, *phoneSale));
    EXPECT_EQ(ui.shown.back().text, kPhoneSaleCancelText);
    EXPECT_EQ(rows(p), 1);

    // A branch user cannot cancel the row of another branch's member.
    test::MemberRow other;
    other.branch_inx = 2;
    const long long o = member(other);
    const auto otherSale = add(o, LedgerKind::kSale, "4000");
    ASSERT_TRUE(otherSale);
    const SessionContext branch1 = test::SessionFor(institution_, 1);
    EXPECT_FALSE(CancelLedgerEntry(*db, branch1, ui, *otherSale));
    EXPECT_EQ(ui.shown.back().text, kLedgerRowMissingText);
    EXPECT_FALSE(AddLedgerEntry(*db, branch1, ui, o, LedgerKind::kSale, "1000", "", "회비", ""));
    EXPECT_EQ(ui.shown.back().text, kMemberNotFoundText);
    test::ExpectTotalsAgree(*db, schema, o);
    EXPECT_EQ(rows(o), 1);

    // Cancelling a batch sale row removes the batch row that produced it.
    const long long m = member();
    db->ExecuteSql("insert into " + schema +
                       ".payadd (add_usrnum, add_runkey, add_monthdefault) values (?, 7, 5000)",
                   {m});
    const long long batchRow = db->lastInsertId();
    const auto sale = add(m, LedgerKind::kSale, "5000");
    db->ExecuteSql("update " + schema + ".pay_pross set addmuskey=7, addkey=? where pay_inx=?",
                   {batchRow, *sale});
    ASSERT_TRUE(CancelLedgerEntry(*db, session, ui, *sale));
    EXPECT_EQ(
        db->scalarInt("select count(*) from " + schema + ".payadd where payadd_inx=?", {batchRow}),
        0);
}

TEST_F(LedgerBookingTest, TwoDesksBookingForOneMemberAtOnceKeepTheTotals) {
    const long long m = member();
    constexpr int kEach = 15;
    auto desk = [&](LedgerKind kind, long long amount) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        for (int i = 0; i < kEach; ++i) {
            LedgerBooking row;
            row.member = m;
            row.amount = amount;
            row.kind = kind;
            row.item = "회비";
            BookLedgerRow(*conn, session, row);
        }
    };
    std::thread a(desk, LedgerKind::kSale, 1000);
    std::thread b(desk, LedgerKind::kSale, 10);
    std::thread c(desk, LedgerKind::kCollection, 1);
    a.join();
    b.join();
    c.join();
    test::ExpectTotalsAgree(*db, schema, m);
    // Each row's outstanding amount is the running total in booking order.
    const Recordset r =
        db->OpenRecordset("select input_pay, paystat, pros_nonpayment from " + schema +
                              ".pay_pross where userlink_inx=? order by pay_inx",
                          {m});
    ASSERT_EQ(r.size(), 3u * kEach);
    long long running = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        running += r[i]["paystat"] == "0" ? r[i].asInt("input_pay") : -r[i].asInt("input_pay");
        EXPECT_EQ(r[i].asInt("pros_nonpayment"), running) << "row " << i;
    }
}

}  // namespace
}  // namespace qx
