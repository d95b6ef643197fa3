// E-mailed bills: who is billed, the amounts of each bill, the guard against
// a second bill in a month (also from two desks at once), and the mailing
// through the stand-in to a real local mail server.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "export/bills/bill_mail.h"
#include "export/bills/bills.h"
#include "platform/http.h"
#include "services/web_stand_in.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/smtp_sink.h"

namespace qx {
namespace {

constexpr const char* kMonth = "2026-03";

class BillsTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        test::PinServerClock(*db, "2026-03-02 09:00:00");
        ui.defaultAnswer = true;
        sel.month = kMonth;
    }

    // A member billable unless the test changes it: receipt kind 1, a
    // resident number, started before the month.
    long long member(const std::string& name, long long nonpayment, long long monthdefault,
                     const std::string& extra = "") {
        test::MemberRow r;
        r.username = name;
        r.pay_nonpayment = nonpayment;
        r.pay_monthdefault = monthdefault;
        r.start_date = "2026-01";
        const long long m = test::InsertMember(*db, inst.inx, r);
        db->ExecuteSql("update " + schema +
                           ".member_user set p_tax='1', jumin='800101-1234567', payday=25, "
                           "user_email=? where member_inx=?",
                       {"m" + std::to_string(m) + "@example.com", m});
        if (!extra.empty())
            db->ExecuteSql("update " + schema + ".member_user set " + extra + " where member_inx=?",
                           {m});
        return m;
    }
    void texts() {
        db->ExecuteSql(
            "insert into quorisdex.cash_title (prg_code,title1,title2,title3,title4) values "
            "(?,'회비 청구서','이번 달 회비를 알려 드립니다.','출금일 전에 잔액을 확인하십시오.',"
            "'문의: 02-000-0000')",
            {std::to_string(inst.inx)});
    }
    const BillCandidate* find(const std::vector<BillCandidate>& rows, long long m) {
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const BillCandidate& c) { return c.member_inx == m; });
        return it == rows.end() ? nullptr : &*it;
    }
    long long bills(const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + schema + ".cashrender where " + where);
    }

    test::ScriptedInteraction ui;
    BillSelection sel;
};

TEST_F(BillsTest, AmountsComeFromTheMemberAndThisMonthsSales) {
    struct Case {
        const char* name;
        long long nonpayment, monthdefault;
        const char* extra;
        long long saleInMonth, saleBefore, collectionInMonth;
        long long cr3, cr4;
    };
    const Case cases[] = {
        {"sold 10000", 30000, 10000, "", 10000, 0, 0, 20000, 10000},
        {"sold 50000", 30000, 10000, "", 50000, 0, 0, 0, 10000},
        {"sold last month", 30000, 10000, "", 0, 10000, 0, 30000, 10000},
        {"collected in month", 30000, 10000, "", 0, 0, 10000, 30000, 10000},
        {"sold exactly", 30000, 10000, "", 30000, 0, 0, 0, 10000},
        {"overpaid", -5000, 10000, "", 10000, 0, 0, 0, 10000},
        {"instalment paid up", 5000, 10000,
         "account_divide='3', pay_agreement=100000, pay_prossagreement=100000", 0, 0, 0, 5000, 0},
        {"instalment open", 5000, 10000,
         "account_divide='3', pay_agreement=100000, pay_prossagreement=90000", 0, 0, 0, 5000,
         10000},
    };
    std::vector<long long> members;
    for (const auto& c : cases) {
        const long long m = member(c.name, c.nonpayment, c.monthdefault, c.extra);
        if (c.saleInMonth) test::InsertLedgerRow(*db, inst.inx, m, c.saleInMonth, "26-03-01");
        if (c.saleBefore) test::InsertLedgerRow(*db, inst.inx, m, c.saleBefore, "26-02-28");
        if (c.collectionInMonth)
            test::InsertLedgerRow(*db, inst.inx, m, c.collectionInMonth, "26-03-01", "1");
        members.push_back(m);
    }
    const auto listed = ListBillCandidates(*db, session, sel);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const BillCandidate* c = find(listed, members[i]);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->outstanding, cases[i].cr3);
        EXPECT_EQ(c->month_amount, cases[i].cr4);
        EXPECT_EQ(c->total, cases[i].cr3 + cases[i].cr4);
    }
    // Newest payer number first.
    ASSERT_EQ(listed.size(), std::size(cases));
    EXPECT_EQ(listed.front().member_inx, members.back());

    texts();
    const BillIssueResult r = IssueBills(*db, session, ui, "", sel);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.issued, static_cast<long long>(std::size(cases)));
    EXPECT_EQ(r.crdate, "2026-03-02 09:00:00");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(db->scalar("select concat(cr3,'/',cr4,'/',cr5,'/',cryymm,'/',mailcnt) from " +
                                 schema + ".cashrender where cr0=?",
                             {members[i]}),
                  std::to_string(cases[i].cr3) + "/" + std::to_string(cases[i].cr4) + "/" +
                      std::to_string(cases[i].cr3 + cases[i].cr4) + "/2026-03/0");
    }
}

TEST_F(BillsTest, OnlyMembersWithSomethingToBillAndAnIdAreSelected) {
    struct Case {
        const char* name;
        long long nonpayment, monthdefault;
        const char* extra;
        bool listed;
    };
    const Case cases[] = {
        {"plain", 1000, 0, "", true},
        {"nothing to bill", 0, 0, "", false},
        {"negative and nothing", -100, 0, "", false},
        {"receipt not issued", 1000, 1000, "p_tax='0'", false},
        {"starts next month", 1000, 1000, "start_date='2026-04'", false},
        {"starts this month", 1000, 1000, "start_date='2026-03'", true},
        {"birth date only", 1000, 1000, "jumin='800101'", false},
        {"no id", 1000, 1000, "jumin=''", false},
        {"12 digits", 1000, 1000, "jumin='80010112345-6'", false},
        {"business number", 1000, 1000, "company_number='123-45-67890', jumin=''", true},
        {"business number with letters", 1000, 1000, "company_number='123-45-6789a'", false},
        {"cancelled", 1000, 1000, "remove='2'", false},
        {"on hold", 1000, 1000, "remove='3'", false},
        {"deleted", 1000, 1000, "remove='4'", false},
    };
    std::vector<long long> members;
    for (const auto& c : cases)
        members.push_back(member(c.name, c.nonpayment, c.monthdefault, c.extra));
    const auto listed = ListBillCandidates(*db, session, sel);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(find(listed, members[i]) != nullptr, cases[i].listed);
    }
    // The states of the status filter.
    sel.state = BillMemberState::kOnHold;
    auto held = ListBillCandidates(*db, session, sel);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].name, "on hold");
    sel.state = BillMemberState::kNormalAndCancelled;
    EXPECT_NE(find(ListBillCandidates(*db, session, sel), members[11]), nullptr);
}

TEST_F(BillsTest, BilledNameIdAndAlternativeAccount) {
    const long long person =
        member("김하나", 1000, 0, "virtual_bank='농협', virtual_no='12345678901234'");
    const long long firm =
        member("이둘", 1000, 0, "company_number='123-45-67890', client_company='(주)한빛'");
    const auto listed = ListBillCandidates(*db, session, sel);
    const BillCandidate* p = find(listed, person);
    const BillCandidate* f = find(listed, firm);
    ASSERT_TRUE(p && f);
    EXPECT_EQ(p->name, "김하나");
    EXPECT_EQ(p->id, "8001011234567");
    EXPECT_EQ(p->account, "농협 1234-5678-901234");
    EXPECT_EQ(p->payer_number.size(), 10u);
    EXPECT_EQ(f->name, "(주)한빛");
    EXPECT_EQ(f->id, "1234567890");
    EXPECT_EQ(f->account, "없음");
    EXPECT_EQ(f->payday, "25");
}

TEST_F(BillsTest, FiltersNoneAndTheTextConditionAreBound) {
    const long long a = member("가%나", 1000, 0, "client_info1='', client_manager='박'");
    const long long b = member("가나다", 1000, 0, "client_info1=NULL, p_tax='2'");
    const long long c = member("O'Brien", 1000, 0, "client_info1='서울', cms_status='3'");
    const long long d = member("없음", 0, 5000, "client_info1='부산'");
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> where;
        std::string column, text;
        bool equals;
        std::vector<long long> expect;
    };
    const std::vector<Case> cases = {
        {"client_info1 없음", {{"client_info1", "없음"}}, "", "", false, {b, a}},
        {"client_info1 value", {{"client_info1", "서울"}}, "", "", false, {c}},
        {"manager", {{"client_manager", "박"}}, "", "", false, {a}},
        {"receipt kind", {{"p_tax", "2"}}, "", "", false, {b}},
        {"cms status", {{"cms_status", "3"}}, "", "", false, {c}},
        {"outstanding none", {{"pay_nonpayment", "N"}}, "", "", false, {d}},
        {"outstanding", {{"pay_nonpayment", "Y"}}, "", "", false, {c, b, a}},
        {"percent is a character", {}, "username", "%", false, {a}},
        {"contains", {}, "username", "가", false, {b, a}},
        {"equals", {}, "username", "가", true, {}},
        {"quote", {}, "username", "O'Brien", true, {c}},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        BillSelection s;
        s.month = kMonth;
        for (const auto& [k, v] : t.where) SetBillCondition(s, k, v);
        s.textColumn = t.column;
        s.text = t.text;
        s.textEquals = t.equals;
        std::vector<long long> got;
        for (const auto& r : ListBillCandidates(*db, session, s)) got.push_back(r.member_inx);
        EXPECT_EQ(got, t.expect);
    }
    BillSelection bad;
    bad.month = kMonth;
    bad.textColumn = "username=username or 1=1 --";
    bad.text = "x";
    EXPECT_THROW(ListBillCandidates(*db, session, bad), std::invalid_argument);
    EXPECT_THROW(SetBillCondition(bad, "remove", "4"), std::invalid_argument);
    EXPECT_THROW(SetBillCondition(bad, "p_tax", "1' or '1"), std::invalid_argument);
    EXPECT_THROW(SetBillCondition(bad, "jumin", "1"), std::invalid_argument);
}

TEST_F(BillsTest, BranchUserBillsOnlyItsBranch) {
    const long long own = member("지사1", 1000, 0, "branch_inx=1");
    member("지사2", 1000, 0, "branch_inx=2");
    const auto listed = ListBillCandidates(*db, test::SessionFor(inst, 1), sel);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].member_inx, own);
}

TEST_F(BillsTest, BadMonthAndMissingTextsIssueNothing) {
    member("하나", 1000, 0);
    for (const char* month : {"2026-3", "2026-13", "2026-00", "26-03", "2026/03", ""}) {
        SCOPED_TRACE(month);
        sel.month = month;
        ui.shown.clear();
        EXPECT_FALSE(IssueBills(*db, session, ui, "", sel).done);
        EXPECT_EQ(ui.texts(), std::vector<std::string>{kBillMonthText});
        EXPECT_THROW(ListBillCandidates(*db, session, sel), std::invalid_argument);
    }
    sel.month = kMonth;
    ui.shown.clear();
    EXPECT_FALSE(IssueBills(*db, session, ui, "", sel).done);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kBillIssueQuestionText, kNoBillTextsText}));
    // Another institution's set is not this one's.
    db->ExecuteSql("insert into quorisdex.cash_title (prg_code,title1) values ('99999999','x')");
    EXPECT_FALSE(IssueBills(*db, session, ui, "", sel).done);
    ui.shown.clear();
    ui.answers = {false};
    texts();
    EXPECT_FALSE(IssueBills(*db, session, ui, "", sel).done);
    EXPECT_EQ(bills(), 0);
}

TEST_F(BillsTest, IssuingTwiceOrFromTwoDesksWritesOneBillPerMember) {
    for (int i = 0; i < 20; ++i) member("회원" + std::to_string(i), 1000 * (i + 1), 10000);
    texts();
    // Two desks press the button at the same moment.
    long long issued[2] = {0, 0};
    std::thread desks[2];
    for (int d = 0; d < 2; ++d) {
        desks[d] = std::thread([&, d] {
            auto conn = test::ConnectTestDatabase();
            test::PinServerClock(*conn, d == 0 ? "2026-03-02 09:00:00" : "2026-03-02 09:00:01");
            test::ScriptedInteraction deskUi;
            deskUi.defaultAnswer = true;
            issued[d] = IssueBills(*conn, session, deskUi, "", sel).issued;
        });
    }
    for (auto& t : desks) t.join();
    EXPECT_EQ(issued[0] + issued[1], 20);
    EXPECT_EQ(bills("cryymm='2026-03'"), 20);
    EXPECT_EQ(db->scalarInt("select count(*) from (select cr0 from " + schema +
                            ".cashrender group by cr0, cryymm having count(*)>1) x"),
              0);
    // Once more from this desk: nothing left to bill, and the list is empty.
    EXPECT_TRUE(ListBillCandidates(*db, session, sel).empty());
    ui.shown.clear();
    const BillIssueResult again = IssueBills(*db, session, ui, "", sel);
    EXPECT_TRUE(again.done);
    EXPECT_EQ(again.issued, 0);
    EXPECT_EQ(ui.shown.back().text, std::string("0") + kBillsIssuedSuffix);
    // The next month is a month of its own.
    sel.month = "2026-04";
    EXPECT_EQ(ListBillCandidates(*db, session, sel).size(), 20u);
}

// Batches issued within one second (two months, one after the other) keep
// issue times of their own, so listing or mailing one never takes in the other.
TEST_F(BillsTest, BatchesOfOneSecondGetIssueTimesOfTheirOwn) {
    for (int i = 0; i < 3; ++i) member("회원" + std::to_string(i), 1000, 10000);
    texts();
    test::PinServerClock(*db, "2026-03-02 09:00:00");
    test::ScriptedInteraction desk;
    desk.defaultAnswer = true;
    std::vector<std::string> times;
    for (const char* month : {"2026-03", "2026-04", "2026-05"}) {
        sel.month = month;
        const BillIssueResult r = IssueBills(*db, session, desk, "", sel);
        ASSERT_EQ(r.issued, 3) << month;
        times.push_back(r.crdate);
    }
    EXPECT_EQ(times, (std::vector<std::string>{"2026-03-02 09:00:00", "2026-03-02 09:00:01",
                                               "2026-03-02 09:00:02"}));
    for (const std::string& t : times) EXPECT_EQ(ListBills(*db, session, t).size(), 3u) << t;
    EXPECT_EQ(ListBillBatches(*db, session, "2026-03", "2026-05").size(), 3u);
    test::UnpinServerClock(*db);
}

TEST_F(BillsTest, TextsAreSavedAsTheNewSetAndBadTextIsRefused) {
    EXPECT_FALSE(CurrentBillTexts(*db, session));
    ASSERT_TRUE(SaveBillTexts(*db, session, ui, {0, "가", "나", "다", "라"}));
    ASSERT_TRUE(SaveBillTexts(*db, session, ui, {0, "청구서", "O'Brien <b>", "셋", "넷"}));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kBillTextsSavedText, kBillTextsSavedText}));
    const auto t = CurrentBillTexts(*db, session);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->title1, "청구서");
    EXPECT_EQ(t->title2, "O'Brien <b>");
    ui.shown.clear();
    EXPECT_FALSE(SaveBillTexts(*db, session, ui, {0, "\xF0\x9F\x98\x80", "", "", ""}));
    EXPECT_FALSE(SaveBillTexts(*db, session, ui, {0, "", std::string(256, 'x'), "", ""}));
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(CurrentBillTexts(*db, session)->inx, t->inx);
}

class BillMailTest : public BillsTest {
  protected:
    std::unique_ptr<test::WebStandIn> web(const std::string& smtpUrl) {
        auto w = std::make_unique<test::WebStandIn>(
            test::TestDatabaseConfig(),
            std::vector<test::WebStandIn::IniValue>{{"MAIL", "SMTPURL", smtpUrl},
                                                    {"MAIL", "MAILFROM", "bill@hanbit.test"}});
        EXPECT_GT(w->port(), 0);
        return w;
    }
    long long mailcnt(long long m) {
        return db->scalarInt("select mailcnt from " + schema + ".cashrender where cr0=?", {m});
    }
};

TEST_F(BillMailTest, DeliveredMailsAreCountedAndReadCorrectly) {
    test::SmtpSink sink;
    ASSERT_TRUE(sink.running()) << "python3-aiosmtpd is needed";
    const auto w = web(sink.url());
    const long long named = member("<b>굵게</b> & co", 30000, 10000);
    test::InsertLedgerRow(*db, inst.inx, named, 10000, "26-03-01");
    const long long noAddress = member("주소없음", 5000, 0, "user_email=''");
    const long long badAddress = member("주소오류", 5000, 0, "user_email='kim at example'");
    const long long plain =
        member("박셋", 0, 1234567, "virtual_bank='신한', virtual_no='11112222333333'");
    texts();

    const BillIssueResult r = IssueBills(*db, session, ui, w->webHost(), sel);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.issued, 4);
    EXPECT_EQ(r.mailReply, "처리완료\nsent=2\nfailed=0\ninvalid=2");
    EXPECT_EQ(ui.shown.at(ui.shown.size() - 2).text,
              "메일 발송 2건, 발송 실패 0건, 메일주소 오류 2건");
    EXPECT_EQ(mailcnt(named), 1);
    EXPECT_EQ(mailcnt(plain), 1);
    EXPECT_EQ(mailcnt(noAddress), 0);
    EXPECT_EQ(mailcnt(badAddress), 0);

    const auto mails = sink.mails();
    ASSERT_EQ(mails.size(), 2u);
    const auto mailTo = [&](long long m) {
        for (const auto& text : mails)
            if (text.find("m" + std::to_string(m) + "@example.com") != std::string::npos)
                return text;
        return std::string();
    };
    const std::string first = mailTo(named);
    EXPECT_NE(first.find("Subject: =?UTF-8?B?"), std::string::npos);
    EXPECT_NE(first.find("From: <bill@hanbit.test>"), std::string::npos);
    EXPECT_NE(first.find("&lt;b&gt;굵게&lt;/b&gt; &amp; co"), std::string::npos);
    EXPECT_EQ(first.find("<b>굵게"), std::string::npos);
    EXPECT_NE(first.find("20,000원"), std::string::npos);
    EXPECT_NE(first.find("10,000원"), std::string::npos);
    EXPECT_NE(first.find("30,000원"), std::string::npos);
    EXPECT_NE(first.find("2026년 03월"), std::string::npos);
    EXPECT_NE(first.find("회비 청구서"), std::string::npos);
    EXPECT_NE(first.find("출금일 전에 잔액을 확인하십시오."), std::string::npos);
    const std::string second = mailTo(plain);
    EXPECT_NE(second.find("1,234,567원"), std::string::npos);
    EXPECT_NE(second.find("신한 1111-2222-333333"), std::string::npos);
    EXPECT_NE(second.find("매월 25일"), std::string::npos);

    // Asked again for the batch: nothing is mailed or counted twice.
    EXPECT_EQ(RequestBillMailing(w->webHost(), r.crdate, inst.inx),
              "처리완료\nsent=0\nfailed=0\ninvalid=2");
    EXPECT_EQ(sink.mails().size(), 2u);
    EXPECT_EQ(mailcnt(named), 1);

    // The lists: one batch, two of four mailed.
    const auto batches = ListBillBatches(*db, session, "2026-01", "2026-12");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].count, 4);
    EXPECT_EQ(batches[0].mailed, 2);
    EXPECT_EQ(batches[0].total, 20000 + 10000 + 5000 + 5000 + 1234567);
    EXPECT_EQ(batches[0].crdate, r.crdate);
    EXPECT_TRUE(ListBillBatches(*db, session, "2026-04", "2026-12").empty());
    const auto rows = ListBills(*db, session, r.crdate);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].name, "박셋");
    EXPECT_EQ(rows[0].mailcnt, 1);
    EXPECT_EQ(rows[0].total, 1234567);
}

TEST_F(BillMailTest, UnreachableMailServerLeavesTheBillsUncountedAndSaysSo) {
    const auto w = web("smtp://127.0.0.1:" + std::to_string(test::FreeLoopbackPort()));
    const long long m = member("하나", 1000, 0);
    member("둘", 2000, 0);
    texts();
    const BillIssueResult r = IssueBills(*db, session, ui, w->webHost(), sel);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.issued, 2);
    EXPECT_EQ(r.mailReply, "처리완료\nsent=0\nfailed=2\ninvalid=0");
    EXPECT_NE(ui.shown.at(ui.shown.size() - 2).text.find("발송 실패 2건"), std::string::npos);
    EXPECT_EQ(mailcnt(m), 0);
    // Once the mail server is up, mailing the batch again sends both.
    test::SmtpSink sink;
    ASSERT_TRUE(sink.running());
    const auto w2 = web(sink.url());
    EXPECT_EQ(RequestBillMailing(w2->webHost(), r.crdate, inst.inx),
              "처리완료\nsent=2\nfailed=0\ninvalid=0");
    EXPECT_EQ(mailcnt(m), 1);
    EXPECT_EQ(sink.mails().size(), 2u);
    // No web server at all: the bills stay, the user is told.
    ui.shown.clear();
    member("셋", 3000, 0);
    sel.month = "2026-04";
    const BillIssueResult offline = IssueBills(*db, session, ui, "", sel);
    EXPECT_TRUE(offline.done);
    EXPECT_EQ(offline.issued, 3);
    EXPECT_NE(ui.shown.at(ui.shown.size() - 2).text.find("발송을 요청하지 못했습니다"),
              std::string::npos);
}

TEST_F(BillMailTest, MailerAndPreviewRefuseBadRequests) {
    const auto w = web("");
    struct Case {
        std::string query;
        long status;
    };
    const std::string path = std::string(kBillMailerPath);
    const Case cases[] = {
        {path + "?crdate=2026-03-02&dbinx=" + std::to_string(inst.inx), 400},
        {path + "?crdate=2026-03-02+09%3A00%3A00&dbinx=1+or+1", 400},
        {path + "?crdate=2026-03-02+09%3A00%3A00&dbinx=99999999", 400},
        {path + "?crdate=2026-03-02+09%3A00%3A00&dbinx=" + std::to_string(inst.inx), 200},
        {std::string(kBillPreviewPath) + "?mycode=x", 400},
        {std::string(kBillPreviewPath) + "?mycode=1&msg5=2026-13", 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(HttpRequest(w->webHost() + c.query).status, c.status);
    }
    const auto page = HttpRequest(w->webHost() + std::string(kBillPreviewPath) +
                                  "?mycode=" + std::to_string(inst.inx) +
                                  "&msg1=" + UrlEncodeUtf8("<i>안내</i>") + "&msg5=2026-03");
    ASSERT_TRUE(page.ok);
    EXPECT_NE(page.body.find("&lt;i&gt;안내&lt;/i&gt;"), std::string::npos);
    EXPECT_NE(page.body.find("2026년 03월"), std::string::npos);
    EXPECT_NE(page.body.find("30,000원"), std::string::npos);
}

}  // namespace
}  // namespace qx
