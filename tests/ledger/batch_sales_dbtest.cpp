// Batch sales end to end: the candidate list, the run with its error marks
// booked by the real stand-in server on loopback, the history, and the
// cancellation of a run by the head office and by a branch.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ledger/batch_runs.h"
#include "ledger/batch_sales.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_checks.h"
#include "ledger/ledger_rules.h"
#include "ledger/server_scripts.h"
#include "members/member_rules.h"
#include "platform/http.h"
#include "platform/loopback_http.h"
#include "services/web_stand_in.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

class BatchSalesTest : public test::FreshInstitutionTest {
  protected:
    static void SetUpTestSuite() {
        web_ = std::make_unique<test::WebStandIn>(test::TestDatabaseConfig());
    }
    static void TearDownTestSuite() { web_.reset(); }

    void SetUp() override {
        ASSERT_GT(web_->port(), 0) << "quorisdex-web did not start";
        OpenInstitution();
        test::PinServerClock(*db, "2026-03-10 10:00:00");
        ui.defaultAnswer = true;
    }

    long long member(test::MemberRow row, std::vector<long long> items = {}, long long payday = 0) {
        const long long m = test::InsertMember(*db, inst.inx, row);
        db->ExecuteSql("update " + schema + ".member_user set payday=? where member_inx=?",
                       {payday, m});
        for (std::size_t i = 0; i < items.size(); ++i) {
            db->ExecuteSql("insert into " + schema +
                               ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) "
                               "values (?, ?, ?, 1, ?)",
                           {m, "품목" + std::to_string(i + 1), items[i], items[i]});
        }
        return m;
    }
    test::MemberRow monthly(long long nonpayment = 0) {
        test::MemberRow r;
        r.pay_monthdefault = 10000;
        r.pay_nonpayment = nonpayment;
        return r;
    }
    test::MemberRow instalment(long long prossagreement) {
        test::MemberRow r;
        r.account_divide = "3";
        r.pay_agreement = 100000;
        r.pay_nonpayment = 10000;
        r.pay_prossagreement = prossagreement;
        r.pay_monthdefault = 20000;
        return r;
    }
    SaleRunResult run(const SessionContext& s, const SaleQuery& q = {},
                      const std::string& date = "2026-03-25", std::string host = "") {
        const SaleCandidates list = ListSaleCandidates(*db, s, q);
        return RunBatchSale(*db, s, ui, host.empty() ? web_->webHost() : host, q, &list, date);
    }
    std::string err(long long m) {
        return db->scalar("select group_concat(add_err order by payadd_inx separator '|') from " +
                              schema + ".payadd where add_usrnum=?",
                          {m});
    }
    long long count(const std::string& table) {
        return db->scalarInt("select count(*) from " + schema + "." + table);
    }

    static std::unique_ptr<test::WebStandIn> web_;
    test::ScriptedInteraction ui;
};

std::unique_ptr<test::WebStandIn> BatchSalesTest::web_;

std::vector<long long> Members(const SaleCandidates& c) {
    std::vector<long long> out;
    for (const auto& r : c.rows) out.push_back(r.member_inx);
    return out;
}

TEST_F(BatchSalesTest, CandidatesWithAndWithoutUnbilledOnly) {
    const long long billed = member(monthly(), {10000});
    test::InsertLedgerRow(*db, inst.inx, billed, 10000, "26-03-05");
    test::MemberRow adhocRow = monthly();
    adhocRow.account_divide = "2";
    adhocRow.pay_monthdefault = 5000;
    const long long adhoc = member(adhocRow, {5000});
    test::InsertLedgerRow(*db, inst.inx, adhoc, 5000, "26-03-02");
    const long long lastMonth = member(monthly(), {10000});
    test::InsertLedgerRow(*db, inst.inx, lastMonth, 10000, "26-02-25");
    // A collection this month does not count as a sale.
    test::InsertLedgerRow(*db, inst.inx, lastMonth, 10000, "26-03-01", "1");
    const long long cut = member(instalment(80000), {20000}, 25);
    test::MemberRow cancelled = monthly();
    cancelled.remove = "2";
    member(cancelled, {10000});

    SaleQuery q;
    SaleCandidates all = ListSaleCandidates(*db, session, q);
    EXPECT_EQ(Members(all), (std::vector<long long>{cut, lastMonth, adhoc}));
    EXPECT_EQ(all.expected_total, 10000 + 10000 + 5000);  // the instalment cut to 10,000
    EXPECT_EQ(all.expected_unbilled, 10000 + 10000);

    q.unbilledOnly = true;
    EXPECT_EQ(Members(ListSaleCandidates(*db, session, q)),
              (std::vector<long long>{cut, lastMonth}));

    // A member without a sales day counts as day 15.
    q.day = "15";
    EXPECT_EQ(Members(ListSaleCandidates(*db, session, q)), (std::vector<long long>{lastMonth}));
    q.day = "25";
    EXPECT_EQ(Members(ListSaleCandidates(*db, session, q)), (std::vector<long long>{cut}));
}

TEST_F(BatchSalesTest, RunMarksErrorsInOrderAndTheServerBooksRunningTotals) {
    const long long cut = member(instalment(80000), {20000});
    const long long paidUp = member(instalment(90000), {20000});
    test::MemberRow later = monthly();
    later.start_date = "2026-04";
    const long long notYet = member(later, {10000});
    const long long noItems = member(monthly());
    const long long twoItems = member(monthly(2000), {10000, 3000});
    const long long small = member(monthly(), {500});

    const SaleRunResult r = run(session);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.booked, 3);
    EXPECT_EQ(r.refused, 4);
    EXPECT_EQ(ui.shown.at(0).text,
              "26-03-25일자로 이체예정일 전체일인 데이터의 일괄매출을 발생 하시겠습니까?");
    EXPECT_EQ(ui.shown.back().text,
              "26-03-25일자로 일괄매출(정상: 3 건/불능: 4 건) 을 완료 하였습니다.\n\n 출금파일 "
              "생성화면으로 이동 하시겠습니까?");
    EXPECT_EQ(r.next, AfterSaleRun::kOpenEb21);

    EXPECT_EQ(err(cut), "");
    EXPECT_EQ(db->scalarInt("select add_monthdefault from " + schema + ".payadd where add_usrnum=?",
                            {cut}),
              10000);
    EXPECT_EQ(err(paidUp), "매출예정액 1000원 이하 / 할부완납 회원 / ");
    EXPECT_EQ(err(notYet), "이체개시월 [2026-04] 오류 / ");
    EXPECT_EQ(err(noItems), "매출예정액 오류 / ");
    EXPECT_EQ(err(small), "매출예정액 1000원 이하 / ");
    EXPECT_EQ(err(twoItems), "|");

    // Running outstanding amount across the member's two rows.
    const Recordset rows = db->OpenRecordset(
        "select input_pay, pros_nonpayment, memo, signdate, addmuskey, addkey from " + schema +
            ".pay_pross where userlink_inx=? order by pay_inx",
        {twoItems});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].asInt("pros_nonpayment"), 12000);
    EXPECT_EQ(rows[1].asInt("pros_nonpayment"), 15000);
    EXPECT_EQ(rows[0]["memo"], "26년 03월 일괄매출");
    EXPECT_EQ(rows[0]["signdate"], "26-03-25");
    EXPECT_EQ(rows[0].asInt("addmuskey"), r.run_key);
    for (long long m : {cut, paidUp, notYet, noItems, small}) {
        test::ExpectTotalsAgree(*db, schema, m, m == cut || m == paidUp ? 10000 : 0);
    }
    test::ExpectTotalsAgree(*db, schema, twoItems, 2000);
    EXPECT_EQ(db->scalar("select prostxt from " + schema +
                         ".pross_log where prosnum=8 order by pross_inx desc limit 1"),
              "26-03-25 일괄매출 (정상: 3 건/불능: 4 건) [" + std::to_string(r.run_key) + "]");

    // A second request for the same run books nothing twice.
    const long long ledger = count("pay_pross");
    EXPECT_EQ(HttpGetText(web_->webHost() + kBookSaleRunPath + "?loginuserid=" + schema +
                          "&tablekey=" + std::to_string(r.run_key) + "&dt1=26-03-25"),
              kScriptDoneReply);
    EXPECT_EQ(count("pay_pross"), ledger);
    test::ExpectTotalsAgree(*db, schema, twoItems, 2000);

    // The history and the detail.
    const auto runs = ListRuns(*db, session, RunKind::kSale, "26-03-01", "26-03-31");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].ok_count, 3);
    EXPECT_EQ(runs[0].refused_count, 4);
    EXPECT_EQ(runs[0].ok_amount, 10000 + 10000 + 3000);
    EXPECT_EQ(runs[0].members, 6);
    EXPECT_EQ(runs[0].requests, 7);
    const auto refused = RunDetail(*db, session, RunKind::kSale, r.run_key, RunRowFilter::kRefused);
    ASSERT_EQ(refused.size(), 4u);
    EXPECT_EQ(refused[0].payer_number, TenDigits(small));
    EXPECT_TRUE(ListRuns(*db, session, RunKind::kSale, "26-04-01", "26-04-30").empty());

    // Cancelling the run reverses every member and, with only refused rows
    // left, removes the run.
    ui.shown.clear();
    ASSERT_TRUE(CancelRun(*db, session, ui, web_->webHost(), RunKind::kSale, r.run_key));
    EXPECT_EQ(ui.shown.at(0).text,
              "일괄매출 (" + std::to_string(r.run_key) + " / 26-03-25) 을 취소하시겠습니까?");
    EXPECT_EQ(ui.shown.back().text, "일괄매출취소 작업이 완료 되었습니다.");
    EXPECT_EQ(count("pay_pross"), 0);
    EXPECT_EQ(count("payadd"), 0);
    test::ExpectTotalsAgree(*db, schema, twoItems, 2000);
    test::ExpectTotalsAgree(*db, schema, cut, 10000);
}

TEST_F(BatchSalesTest, BranchCancellationLeavesOtherBranchesAndRowsMarkedTwo) {
    test::MemberRow b1 = monthly(), b2 = monthly();
    b1.branch_inx = 1;
    b2.branch_inx = 2;
    const long long own = member(b1, {10000});
    const long long paidAfter = member(b1, {10000});
    const long long other = member(b2, {10000});
    test::MemberRow inFile = b1;
    inFile.cms_status = "6";
    const long long waiting = member(inFile, {10000});
    const SaleRunResult r = run(session);
    ASSERT_TRUE(r.done);
    ASSERT_EQ(r.booked, 4);
    ASSERT_TRUE(AddLedgerEntry(*db, session, ui, paidAfter, LedgerKind::kCollection, "10000",
                               "2026-03-26", "", ""));

    const SessionContext branch = test::SessionFor(inst, 1);
    ASSERT_TRUE(CancelRun(*db, branch, ui, web_->webHost(), RunKind::kSale, r.run_key));
    auto code = [&](long long m) {
        return db->scalar("select add_errcode from " + schema + ".payadd where add_usrnum=?", {m});
    };
    EXPECT_EQ(code(own), "");  // cancelled: row gone
    EXPECT_EQ(code(paidAfter), "2");
    EXPECT_EQ(code(waiting), "2");
    EXPECT_EQ(code(other), "0");  // set aside and restored
    for (long long m : {own, paidAfter, other, waiting}) test::ExpectTotalsAgree(*db, schema, m);
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".pay_pross where userlink_inx=?",
                            {other}),
              1);
    // The branch does not even see the other branch's row; the head office
    // cancels it later.
    EXPECT_EQ(RunDetail(*db, branch, RunKind::kSale, r.run_key, RunRowFilter::kAll).size(), 2u);
    ASSERT_TRUE(CancelRun(*db, session, ui, web_->webHost(), RunKind::kSale, r.run_key));
    EXPECT_EQ(code(other), "");
    EXPECT_EQ(code(paidAfter), "2");
    test::ExpectTotalsAgree(*db, schema, other);

    // A run key that names nothing of the user's.
    EXPECT_FALSE(CancelRun(*db, branch, ui, web_->webHost(), RunKind::kSale, 9999));
    EXPECT_EQ(ui.shown.back().text, kRunMissingText);
}

TEST_F(BatchSalesTest, FailedServerRepliesStopTheRun) {
    const long long m = member(monthly(), {10000});
    // No server: nothing is written.
    SaleRunResult r = run(session, {}, "2026-03-25", "http://127.0.0.1:1");
    EXPECT_FALSE(r.done);
    EXPECT_EQ(ui.shown.back().text, kSettleFailedText);
    EXPECT_EQ(count("payadd"), 0);

    // The server settles but fails to book: the batch rows stay visible with
    // their codes and no sale is booked.
    test::LoopbackHttp failing;
    failing.answer(kSettleOutstandingPath, test::LoopbackHttp::Ok(kScriptDoneReply));
    failing.answer(kBookSaleRunPath, test::LoopbackHttp::Ok("DB error"));
    r = run(session, {}, "2026-03-25", "http://127.0.0.1:" + std::to_string(failing.port()));
    EXPECT_FALSE(r.done);
    EXPECT_EQ(ui.shown.back().text, kSaleBookingFailedText);
    EXPECT_EQ(ui.shown.back().title, "오류");
    EXPECT_EQ(count("payadd"), 1);
    EXPECT_EQ(count("pay_pross"), 0);
    test::ExpectTotalsAgree(*db, schema, m);

    // Bad input and a run without a search.
    ui.shown.clear();
    EXPECT_FALSE(RunBatchSale(*db, session, ui, web_->webHost(), {}, nullptr, "2026-03-25").done);
    EXPECT_EQ(ui.shown.back().text, kSaleSearchFirstText);
    EXPECT_FALSE(run(session, {}, "2026-13-01").done);
    EXPECT_EQ(ui.shown.back().text, kDateInvalidText);
    SaleQuery day31;
    day31.day = "31";
    EXPECT_FALSE(run(session, day31, "2026-02-10").done);  // no 31st in February
    EXPECT_EQ(count("payadd"), 1);
}

TEST_F(BatchSalesTest, ServerScriptsRefuseHostileRequestsAndChangeNothing) {
    test::MemberRow row = monthly(7000);
    row.settle_accounts = "1";
    const long long m = member(row, {10000});
    test::InsertLedgerRow(*db, inst.inx, m, 5000, "26-03-01");  // pros_nonpayment 0
    const std::string base = web_->webHost();
    const std::string who = "?loginuserid=" + schema;
    auto pros = [&] {
        return db->scalarInt(
            "select pros_nonpayment from " + schema + ".pay_pross where userlink_inx=?", {m});
    };
    const std::vector<std::string> hostile = {
        base + kSettleOutstandingPath + who + "&realWhere=" + UrlEncodeUtf8(" or 1=1"),
        base + kSettleOutstandingPath + who +
            "&realWhere=" + UrlEncodeUtf8(" and member_user.settle_accounts='1' or '1'='1'"),
        base + kSettleOutstandingPath + who +
            "&realWhere=" + UrlEncodeUtf8("; update member_user set pay_nonpayment=0; --"),
        base + kSettleOutstandingPath + who +
            "&realWhere=" + UrlEncodeUtf8(" and member_user.username='x'"),
        base + kSettleOutstandingPath + "?loginuserid=" + UrlEncodeUtf8("tps_1 or 1=1") +
            "&realWhere=",
        base + kSettleOutstandingPath + "?loginuserid=quorisdex&realWhere=",
        base + kBookSaleRunPath + who + "&tablekey=0&dt1=26-03-25",
        base + kBookSaleRunPath + who + "&tablekey=32768&dt1=26-03-25",
        base + kBookSaleRunPath + who + "&tablekey=1%20or%201&dt1=26-03-25",
        base + kBookSaleRunPath + who + "&tablekey=1&dt1=26-02-30",
        base + kBookSaleRunPath + who + "&tablekey=1&dt1=2026-03-25",
        base + kMarkSaleRowsPath + who + "&tablekey=abc",
        base + kMarkCollectionRowsPath + "?loginuserid=tps_999999999&tablekey=1",
    };
    for (const auto& url : hostile) {
        SCOPED_TRACE(url);
        const HttpResult reply = HttpRequest(url);
        EXPECT_EQ(reply.status, 400);
        EXPECT_EQ(pros(), 0);
    }
    EXPECT_EQ(db->scalarInt(
                  "select pay_nonpayment from " + schema + ".member_user where member_inx=?", {m}),
              7000);
    // A filter our client writes is applied: only its members.
    EXPECT_EQ(HttpGetText(base + kSettleOutstandingPath + who +
                          "&realWhere=" + UrlEncodeUtf8(" and member_user.settle_accounts='5'")),
              kScriptDoneReply);
    EXPECT_EQ(pros(), 0);
    EXPECT_EQ(HttpGetText(base + kSettleOutstandingPath + who + "&realWhere=" +
                          UrlEncodeUtf8(" and member_user.settle_accounts='1' and "
                                        "member_user.client_info1='없음'")),
              kScriptDoneReply);
    EXPECT_EQ(pros(), 7000);
}

}  // namespace
}  // namespace qx
