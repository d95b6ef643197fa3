// Card member and card payment requests against a real server: the error
// marks and the listing rule, the date and duplicate guards, the written
// rows and member states, the branch rule, the monthly limit, the
// cancellation selection and a cancellation written once.
#include <gtest/gtest.h>

#include <functional>

#include "card_fixture.h"
#include "channels/card/card_members.h"
#include "channels/card/card_payments.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

constexpr CivilDate kToday{2026, 12, 7};
constexpr CivilDate kRequestDay{2026, 12, 8};

bool Shown(const test::ScriptedInteraction& ui, const std::string& text) {
    for (const auto& t : ui.texts())
        if (t.find(text) != std::string::npos) return true;
    return false;
}

class CardRequestTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        test::PinServerClock(*db, "2026-12-07 10:00:00");
    }
    void TearDown() override { test::UnpinServerClock(*db); }

    std::string Member(long long m, const std::string& column) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {m});
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }
    bool Listed(long long m) {
        for (const auto& t : ListCardMemberTargets(*db, session))
            if (t.member_inx == m) return true;
        return false;
    }
    test::ScriptedInteraction ui;
};

TEST(CardRules, MobileAndCardDataBoundaries) {
    struct Case {
        std::string mobile;
        bool usable;
    } mobiles[] = {{"01012345678", true},   {"0101234567", true},
                   {"010-1234-5678", true}, {"0191234567", true},
                   {"07012345678", false},  {"012345678", false},
                   {"010123456789", false}, {"0121234567", false},
                   {"0101234567a", false},  {"", false}};
    for (const auto& c : mobiles) EXPECT_EQ(CardMobileUsable(c.mobile), c.usable) << c.mobile;
    struct Data {
        std::string card, expiry;
        bool usable;
    } data[] = {{"4111222233334444", "2912", true},
                {"41112222333344445", "2912", false},
                {"4111222233334444", "123", false},
                {"4111222233334444", "12345", false},
                {"", "2912", true}};
    for (const auto& d : data)
        EXPECT_EQ(CardDataUsable(d.card, d.expiry), d.usable) << d.card << "/" << d.expiry;
}

TEST_F(CardRequestTest, BadCardDataGoesToTheErrorStateAndIsNotListed) {
    struct Case {
        test::CardMember member;
        std::string status, error;
    };
    std::vector<Case> cases;
    {
        test::CardMember c;
        c.expiry = "123";
        cases.push_back({c, "2", kCardDataErrorText});
        c = {};
        c.expiry = "29120";
        cases.push_back({c, "2", kCardDataErrorText});
        c = {};
        c.mobile = "07012345678";
        cases.push_back({c, "2", kCardMobileErrorText});
        c = {};
        c.mobile = "010123456";
        cases.push_back({c, "2", kCardMobileErrorText});
        c = {};
        c.mobile = "010-1234-5678";
        cases.push_back({c, "0", ""});
        c = {};
        cases.push_back({c, "0", ""});
    }
    std::vector<long long> members;
    for (const auto& c : cases) members.push_back(test::InsertCardMember(*db, inst.inx, c.member));
    const auto listed = ListCardMemberTargets(*db, session);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(Member(members[i], "cms_status"), cases[i].status) << i;
        EXPECT_EQ(Member(members[i], "cms_error"), cases[i].error) << i;
        bool found = false;
        for (const auto& t : listed) found = found || t.member_inx == members[i];
        EXPECT_EQ(found, cases[i].status == "0") << i;
    }
}

TEST_F(CardRequestTest, MemberRequestWritesRowsStatesAndCounts) {
    test::CardMember n;
    const long long created = test::InsertCardMember(*db, inst.inx, n);
    test::CardMember nameless;
    nameless.holder = "";
    nameless.username = "";
    const long long noName = test::InsertCardMember(*db, inst.inx, nameless);
    test::CardMember leaving;
    leaving.remove = "2";
    leaving.status = "11";
    leaving.holder = "";
    leaving.username = "떠나는회원";
    const long long cancelled = test::InsertCardMember(*db, inst.inx, leaving);
    const auto rows = ListCardMemberTargets(*db, session);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].created);
    EXPECT_FALSE(rows[2].created);  // new ones first

    ui.defaultAnswer = false;
    const auto r = CreateCardMemberRequest(*db, session, ui, kRequestDay, rows);
    ASSERT_TRUE(r.created);
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.news, 2);
    EXPECT_EQ(r.cancellations, 1);
    EXPECT_TRUE(r.closing.sendOffered);
    EXPECT_TRUE(Shown(ui, "총 '3' 건의 [CMEM1208] 파일을 생성하였습니다."));
    EXPECT_TRUE(Shown(ui, kCardSendQuestion));
    EXPECT_EQ(Member(created, "cms_status"), "1");
    EXPECT_EQ(Member(noName, "cms_status"), "1");
    EXPECT_EQ(Member(cancelled, "cms_status"), "12");
    auto file = db->OpenRecordset(
        "select filename,create_cnt,delete_cnt,total_cnt,pross_stat from " + schema + ".cdmem");
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0]["filename"], "CMEM261208");
    EXPECT_EQ(file[0]["create_cnt"], "2");
    EXPECT_EQ(file[0]["delete_cnt"], "1");
    EXPECT_EQ(file[0]["total_cnt"], "3");
    EXPECT_EQ(file[0]["pross_stat"], "0");
    auto detail = db->OpenRecordset(
        "select seq_num,reg_date,reg_kind,user_no,account_name,oldcms_status from " + schema +
        ".cdmem_detail order by seq_num");
    ASSERT_EQ(detail.size(), 3u);
    EXPECT_EQ(detail[0]["reg_date"], "261208");
    EXPECT_EQ(detail[0]["account_name"], "카드주");
    EXPECT_EQ(detail[1]["account_name"], kCardHolderMissingText);
    EXPECT_EQ(detail[2]["account_name"], "떠나는회원");
    EXPECT_EQ(detail[2]["reg_kind"], "3");
    EXPECT_EQ(detail[2]["oldcms_status"], "11");
    EXPECT_EQ(Count("pross_log", "prostxt='CMEM1208 파일생성'"), 1);
}

TEST_F(CardRequestTest, MemberRequestRefusalsWriteNothing) {
    test::CardMember c;
    const long long m = test::InsertCardMember(*db, inst.inx, c);
    const auto rows = ListCardMemberTargets(*db, session);
    ASSERT_EQ(rows.size(), 1u);

    // A past date: its message, the date reset to today.
    auto r = CreateCardMemberRequest(*db, session, ui, {2026, 12, 6}, rows);
    EXPECT_FALSE(r.created);
    EXPECT_EQ(r.date, kToday);
    EXPECT_TRUE(Shown(ui, kCardPastDateText));
    EXPECT_EQ(Count("cdmem"), 0);
    EXPECT_EQ(Member(m, "cms_status"), "0");

    // Today itself is allowed; a second request of the day is not.
    ASSERT_TRUE(CreateCardMemberRequest(*db, session, ui, kToday, rows).created);
    ui.shown.clear();
    test::CardMember other;
    test::InsertCardMember(*db, inst.inx, other);
    r = CreateCardMemberRequest(*db, session, ui, kToday, ListCardMemberTargets(*db, session));
    EXPECT_FALSE(r.created);
    EXPECT_TRUE(Shown(ui, kCardDuplicateText));
    EXPECT_EQ(Count("cdmem"), 1);
    EXPECT_EQ(Count("cdmem_detail"), 1);
}

TEST_F(CardRequestTest, MemberChangedAfterTheListingStopsTheRequest) {
    test::CardMember c;
    const long long m = test::InsertCardMember(*db, inst.inx, c);
    test::CardMember d;
    const long long other = test::InsertCardMember(*db, inst.inx, d);
    const auto rows = ListCardMemberTargets(*db, session);
    // Another desk registers one of them meanwhile.
    db->ExecuteSql("update " + schema + ".member_user set cms_status=1 where member_inx=?",
                   {other});
    const auto r = CreateCardMemberRequest(*db, session, ui, kRequestDay, rows);
    EXPECT_FALSE(r.created);
    EXPECT_TRUE(Shown(ui, kCardStaleRowsText));
    EXPECT_EQ(Count("cdmem"), 0);
    EXPECT_EQ(Count("cdmem_detail"), 0);
    EXPECT_EQ(Member(m, "cms_status"), "0");
}

TEST_F(CardRequestTest, BranchUserCreatesButIsNotOfferedTheSend) {
    const long long branch = 7;
    test::CardMember c;
    const long long ours = test::InsertCardMember(*db, inst.inx, c);
    const long long theirs = test::InsertCardMember(*db, inst.inx, c);
    db->ExecuteSql("update " + schema + ".member_user set branch_inx=? where member_inx=?",
                   {branch, ours});
    SessionContext branchSession = test::SessionFor(inst, branch);
    const auto rows = ListCardMemberTargets(*db, branchSession);
    ASSERT_EQ(rows.size(), 1u);  // only the branch's own members
    ui.defaultAnswer = true;
    bool sendOpened = false;
    const auto r = CreateCardMemberRequest(*db, branchSession, ui, kRequestDay, rows,
                                           [&] { sendOpened = true; });
    ASSERT_TRUE(r.created);
    EXPECT_FALSE(r.closing.sendOffered);
    EXPECT_FALSE(sendOpened);
    EXPECT_TRUE(Shown(ui, kCardBranchSendText));
    EXPECT_FALSE(Shown(ui, kCardSendQuestion));
    EXPECT_EQ(Member(ours, "cms_status"), "1");
    EXPECT_EQ(Member(theirs, "cms_status"), "0");
}

class CardPaymentTest : public CardRequestTest {
  protected:
    void SetUp() override {
        CardRequestTest::SetUp();
        db->ExecuteSql(
            "update quorisdex.admin_company set credit_account_title='카드결제', "
            "credit_month_out_limit=1000000, credit_one_out_limit=0 where inx=?",
            {inst.inx});
    }
    // A registered card member owing `amount` from last month's sale.
    long long Billable(long long amount, const std::string& card = "4111222233334444") {
        test::CardMember c;
        c.status = "3";
        c.nonpayment = amount;
        c.cardNo = card;
        const long long m = test::InsertCardMember(*db, inst.inx, c);
        test::InsertLedgerRow(*db, inst.inx, m, amount, "26-11-05");
        return m;
    }
    std::vector<Eb21Row> Search(Eb21Options o = {}) {
        const auto found = SearchEb21Targets(*db, session, ui, kRequestDay, CardPaymentOptions(o),
                                             test::CardPreparerIn(*db, inst.inx));
        EXPECT_FALSE(found.failed);
        return found.rows;
    }
    // An approved payment of an earlier request.
    long long Approved(long long member, long long amount, const std::string& regDate = "261201") {
        db->ExecuteSql(
            "insert into " + schema +
                ".cdpay_detail (seq_num,reg_date,card_no,amount,valid_yymm,user_no,"
                "account_name,purchase_kind,approval_no,cancel_status,title) values "
                "(1,?,'4111222233334444',?,'2912',?,'카드주','0','00001234','N','카드결제')",
            {regDate, amount, member});
        return db->lastInsertId();
    }
};

TEST_F(CardPaymentTest, SearchListsOnlyCardMembersWithTheCardColumns) {
    const long long card = Billable(10000);
    test::MemberRow cms;
    cms.cms_status = "3";
    cms.pay_nonpayment = 5000;
    const long long account = test::InsertMember(*db, inst.inx, cms);
    test::InsertLedgerRow(*db, inst.inx, account, 5000, "26-11-05");
    Eb21Options o;
    o.passbook = Eb21Passbook::Month;
    const auto rows = Search(o);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].member_inx, card);
    EXPECT_EQ(rows[0].amount, 10000);
    EXPECT_EQ(rows[0].accountNo, "4111222233334444");
    EXPECT_EQ(rows[0].holderNumber, "2912");
    // Four characters of the card title and the sale month.
    EXPECT_EQ(rows[0].passbook, "카드결제11");
    EXPECT_EQ(CardPaymentCells(rows[0])[11], kCardPaymentKindText);
    EXPECT_EQ(CardPaymentCells(rows[0]).size(), CardPaymentColumns().size());
}

TEST_F(CardPaymentTest, PaymentRequestWritesRowsAndMovesMembersTo6) {
    const long long a = Billable(10000);
    const long long b = Billable(25000, "5555666677778888");
    auto rows = Search();
    ASSERT_EQ(rows.size(), 2u);
    ui.defaultAnswer = true;
    bool sendOpened = false;
    const auto r =
        CreateCardPaymentRequest(*db, session, ui, {kRequestDay, rows, [&] { sendOpened = true; }});
    ASSERT_TRUE(r.created);
    EXPECT_TRUE(sendOpened);
    EXPECT_EQ(r.payments, 2);
    EXPECT_EQ(r.paymentMoney, 35000);
    EXPECT_EQ(Member(a, "cms_status"), "6");
    EXPECT_EQ(Member(b, "cms_status"), "6");
    auto file = db->OpenRecordset(
        "select filename,total_cnt,total_money,sale_cnt,sale_money,"
        "cancel_cnt,commission,pross_stat from " +
        schema + ".cdpay");
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0]["filename"], "CPAY261208");
    EXPECT_EQ(file[0]["total_money"], "35000");
    EXPECT_EQ(file[0]["sale_cnt"], "2");
    EXPECT_EQ(file[0]["cancel_cnt"], "0");
    EXPECT_EQ(file[0]["commission"], "0");
    auto detail = db->OpenRecordset(
        "select card_no,amount,valid_yymm,purchase_kind,oldcms_status,account_name,"
        "cancel_status from " +
            schema + ".cdpay_detail where user_no=?",
        {b});
    ASSERT_EQ(detail.size(), 1u);
    EXPECT_EQ(detail[0]["card_no"], "5555666677778888");
    EXPECT_EQ(detail[0]["amount"], "25000");
    EXPECT_EQ(detail[0]["purchase_kind"], "0");
    EXPECT_EQ(detail[0]["oldcms_status"], "3");
    EXPECT_EQ(detail[0]["account_name"], "카드주");
    EXPECT_EQ(detail[0]["cancel_status"], "N");
    EXPECT_EQ(Count("pross_log", "prostxt='CPAY1208 파일생성'"), 1);
}

TEST_F(CardPaymentTest, RefusalsWriteNothing) {
    const long long m = Billable(10000);
    const auto rows = Search();
    ui.defaultAnswer = true;
    struct Case {
        const char* what;
        std::function<void()> arrange;
        CivilDate date;
        const char* text;
    } cases[] = {
        {"limit",
         [&] {
             db->ExecuteSql(
                 "update quorisdex.admin_company set credit_month_out_limit=9999 "
                 "where inx=?",
                 {inst.inx});
         },
         kRequestDay, kCardOverLimitText},
        {"past date",
         [&] {
             db->ExecuteSql(
                 "update quorisdex.admin_company set credit_month_out_limit=1000000 "
                 "where inx=?",
                 {inst.inx});
         },
         CivilDate{2026, 12, 4}, kCardPastDateText},
        {"duplicate",
         [&] {
             db->ExecuteSql("insert into " + schema + ".cdpay (filename) values ('CPAY261208')");
         },
         kRequestDay, kCardDuplicateText},
    };
    for (const auto& c : cases) {
        c.arrange();
        ui.shown.clear();
        const auto r = CreateCardPaymentRequest(*db, session, ui, {c.date, rows, {}});
        EXPECT_FALSE(r.created) << c.what;
        EXPECT_TRUE(Shown(ui, c.text)) << c.what;
        EXPECT_EQ(Count("cdpay_detail"), 0) << c.what;
        EXPECT_EQ(Member(m, "cms_status"), "3") << c.what;
    }
    EXPECT_EQ(Count("cdpay"), 1);  // only the one the last case put there
}

TEST_F(CardPaymentTest, ScheduledCancellationIsWrittenOnce) {
    test::CardMember c;
    c.status = "7";
    const long long m = test::InsertCardMember(*db, inst.inx, c);
    const long long paid = Approved(m, 10000);
    const long long refused = Approved(m, 5000);
    db->ExecuteSql("update " + schema + ".cdpay_detail set result='N' where cdp_inx=?", {refused});

    auto offered = ListCancellationCandidates(*db, session, {2026, 12, 1});
    ASSERT_EQ(offered.size(), 1u);  // a refused payment cannot be cancelled
    EXPECT_EQ(offered[0].cdp_inx, paid);
    EXPECT_EQ(ScheduleCancellations(*db, session, ui, {paid, refused}), 1);
    EXPECT_TRUE(Shown(ui, "총 '1' 건의 출금취소내역을 추가하였습니다."));
    EXPECT_TRUE(Shown(ui, kCardReturnQuestion));
    EXPECT_TRUE(ListCancellationCandidates(*db, session, {2026, 12, 1}).empty());
    ASSERT_EQ(ListScheduledCancellations(*db, session).size(), 1u);
    // Removed and added again: the way back works.
    EXPECT_EQ(UnscheduleCancellations(*db, session, ui, {paid}), 1);
    EXPECT_TRUE(Shown(ui, "총 '1' 건의 출금취소내역을 제거하였습니다."));
    EXPECT_EQ(ScheduleCancellations(*db, session, ui, {paid}), 1);

    ui.defaultAnswer = true;
    const auto r = CreateCardPaymentRequest(*db, session, ui, {kRequestDay, {}, {}});
    ASSERT_TRUE(r.created);
    EXPECT_EQ(r.cancellations, 1);
    EXPECT_EQ(r.cancelMoney, 10000);
    auto row = db->OpenRecordset(
        "select purchase_kind,approval_no,cancel_cdp_inx,cancel_date,amount,oldcms_status,"
        "oldcard_cancel_status from " +
        schema + ".cdpay_detail where reg_date='261208'");
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0]["purchase_kind"], "1");
    EXPECT_EQ(row[0]["approval_no"], "00001234");
    EXPECT_EQ(row[0].asInt("cancel_cdp_inx"), paid);
    EXPECT_EQ(row[0]["cancel_date"], "20261201");
    EXPECT_EQ(row[0]["oldcms_status"], "7");
    EXPECT_EQ(row[0]["oldcard_cancel_status"], "0");
    EXPECT_EQ(
        db->scalar("select cancel_status from " + schema + ".cdpay_detail where cdp_inx=?", {paid}),
        "C");
    EXPECT_EQ(Member(m, "card_cancel_status"), "1");
    // Written: neither offered nor scheduled again, and not movable back.
    EXPECT_TRUE(ListScheduledCancellations(*db, session).empty());
    EXPECT_TRUE(ListCancellationCandidates(*db, session, {2026, 12, 1}).empty());
    EXPECT_EQ(UnscheduleCancellations(*db, session, ui, {paid}), 0);
    auto file = db->OpenRecordset(
        "select total_cnt,total_money,sale_cnt,cancel_cnt,cancel_money from " + schema + ".cdpay");
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0]["cancel_cnt"], "1");
    EXPECT_EQ(file[0]["cancel_money"], "10000");
    EXPECT_EQ(file[0]["sale_cnt"], "0");
}

TEST_F(CardPaymentTest, NothingToBillNorCancelIsRefused) {
    ui.defaultAnswer = true;
    const auto r = CreateCardPaymentRequest(*db, session, ui, {kRequestDay, {}, {}});
    EXPECT_FALSE(r.created);
    EXPECT_EQ(Count("cdpay"), 0);
}

}  // namespace
}  // namespace qx
