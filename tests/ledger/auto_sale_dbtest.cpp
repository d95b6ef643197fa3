// The automatic sale before an EB21 file: its candidates with and without
// ignorenonpay_use, the reconciliation of the latest ledger rows, the
// booking through the stand-in and the failed reply.
#include <gtest/gtest.h>

#include "ledger/auto_sale.h"
#include "ledger/ledger_checks.h"
#include "ledger/server_scripts.h"
#include "platform/loopback_http.h"
#include "services/web_stand_in.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

class AutoSaleTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        test::PinServerClock(*db, "2026-03-10 10:00:00");
        ui.defaultAnswer = true;
    }
    long long member(long long payday, long long monthdefault = 10000,
                     const std::string& settle = "1", long long nonpayment = 0) {
        test::MemberRow r;
        r.settle_accounts = settle;
        r.pay_monthdefault = monthdefault;
        r.pay_nonpayment = nonpayment;
        const long long m = test::InsertMember(*db, inst.inx, r);
        db->ExecuteSql("update " + schema + ".member_user set payday=? where member_inx=?",
                       {payday, m});
        db->ExecuteSql("insert into " + schema +
                           ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) values "
                           "(?, '회비', ?, 1, ?)",
                       {m, monthdefault, monthdefault});
        return m;
    }
    std::vector<long long> billed(long long runKey) {
        const Recordset rs = db->OpenRecordset(
            "select add_usrnum from " + schema + ".payadd where add_runkey=? order by add_usrnum",
            {runKey});
        std::vector<long long> out;
        for (std::size_t i = 0; i < rs.size(); ++i) out.push_back(rs[i].asInt(std::size_t{0}));
        return out;
    }
    test::ScriptedInteraction ui;
};

TEST_F(AutoSaleTest, CandidatesReconciliationAndBooking) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    const long long due = member(5, 10000, "1", 7000);
    // Its latest row (by regdate, then collections first) still says 0.
    db->ExecuteSql("insert into " + schema +
                       ".pay_pross (userlink_inx, input_pay, paystat, signdate, regdate, "
                       "pros_nonpayment) values (?, 7000, '0', '26-02-01', 100, 7000), "
                       "(?, 1000, '1', '26-02-02', 200, 0)",
                   {due, due});
    member(20);
    member(0);
    member(5, 10000, "2");
    member(5, 999);
    const long long batchBilled = member(3);
    db->ExecuteSql("insert into " + schema +
                       ".pay_pross (userlink_inx, input_pay, paystat, signdate, memo, addmuskey) "
                       "values (?, 10000, '0', '26-03-02', '26년 03월 일괄매출', 4)",
                   {batchBilled});
    const long long handBilled = member(3);
    db->ExecuteSql("insert into " + schema +
                       ".pay_pross (userlink_inx, input_pay, paystat, signdate, memo) "
                       "values (?, 10000, '0', '26-03-02', '직접')",
                   {handBilled});

    EXPECT_TRUE(AutoSaleNotice(*db, session, "2026-03").empty());
    const AutoSaleResult r = RunAutoSale(*db, session, ui, web.webHost(), 10, "26-03-10");
    ASSERT_TRUE(r.done);
    EXPECT_EQ(ui.shown.at(0).text, "10일 이전인 회원에 대하여 일괄매출을 발생합니다.");
    EXPECT_EQ(ui.shown.back().text, kAutoSaleDoneText);
    EXPECT_EQ(billed(r.run_key), (std::vector<long long>{due, handBilled}));
    EXPECT_EQ(r.booked, 2);
    EXPECT_EQ(r.reconciled, 1);
    EXPECT_EQ(db->scalarInt("select pros_nonpayment from " + schema +
                                ".pay_pross where userlink_inx=? and paystat='1'",
                            {due}),
              7000);
    EXPECT_EQ(
        db->scalarInt("select pay_nonpayment from " + schema + ".member_user where member_inx=?",
                      {due}),
        17000);

    // With ignorenonpay_use the batch-billed member is billed again, and the
    // dialog warns about it.
    db->ExecuteSql("update quorisdex.admin_company set ignorenonpay_use='Y' where inx=?",
                   {inst.inx});
    EXPECT_EQ(AutoSaleNotice(*db, session, "2026-03"),
              (std::vector<std::string>{
                  "※ 주의 : 이체월 [2026-03]의 원장매출 직접 추가분을 『무시』하고",
                  "　 일괄매출 발생되므로 『이중 청구』되지 않도록 주의 바랍니다."}));
    const AutoSaleResult again = RunAutoSale(*db, session, ui, web.webHost(), 10, "26-03-10");
    ASSERT_TRUE(again.done);
    EXPECT_EQ(billed(again.run_key), (std::vector<long long>{due, batchBilled, handBilled}));
}

TEST_F(AutoSaleTest, FailedBookingIsLoggedWithTheReplyAndStops) {
    const long long m = member(5);
    test::LoopbackHttp failing;
    failing.answer(kBookSaleRunPath, test::LoopbackHttp::Ok("lock wait timeout"));
    const AutoSaleResult r = RunAutoSale(
        *db, session, ui, "http://127.0.0.1:" + std::to_string(failing.port()), 10, "26-03-10");
    EXPECT_FALSE(r.done);
    EXPECT_EQ(ui.shown.back().text, kAutoSaleFailedText);
    EXPECT_EQ(
        db->scalar("select prostxt from " + schema + ".pross_log order by pross_inx desc limit 1"),
        "매출발생중 오류발생 updatepms30내용:lock wait timeout/URL내용: &tablekey=" +
            std::to_string(r.run_key));
    test::ExpectTotalsAgree(*db, schema, m);
    ui.answers = {false};
    EXPECT_FALSE(RunAutoSale(*db, session, ui, "", 10, "26-03-10").asked);
}

}  // namespace
}  // namespace qx
