// Batch collections in both modes, their cancellation through the stand-in,
// the run key under its lock, and the bulk removals.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "ledger/batch_collection.h"
#include "ledger/batch_runs.h"
#include "ledger/bulk_removal.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_checks.h"
#include "ledger/ledger_rules.h"
#include "ledger/run_key.h"
#include "members/member_rules.h"
#include "services/web_stand_in.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

class BatchCollectionTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        test::PinServerClock(*db, "2026-03-10 10:00:00");
        ui.defaultAnswer = true;
    }
    long long member(long long nonpayment, long long monthdefault, const std::string& divide = "1",
                     long long branch = 0) {
        test::MemberRow r;
        r.pay_nonpayment = nonpayment;
        r.pay_monthdefault = monthdefault;
        r.account_divide = divide;
        r.branch_inx = branch;
        if (divide == "3") r.pay_agreement = 100000;
        return test::InsertMember(*db, inst.inx, r);
    }
    CollectionRunResult collect(CollectionMode mode, const BatchFilter& f = {}) {
        return RunBatchCollection(*db, session, ui, f, mode, true, "2026-03-20", "회비", "");
    }
    std::string batchRow(long long m, long long key) {
        return db->scalar("select concat(add_monthdefault,'/',add_errcode,'/',add_err) from " +
                              schema + ".paymus where add_usrnum=? and add_runkey=?",
                          {m, key});
    }
    long long value(const std::string& column, long long m) {
        return db->scalarInt(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {m});
    }

    test::ScriptedInteraction ui;
};

TEST_F(BatchCollectionTest, BothModesBookOnlyWhatTheirRulesAllowAndLinkTheRows) {
    const long long owes = member(30000, 10000);
    const long long short_ = member(5000, 10000);
    const long long small = member(0, 500);
    const long long nothing = member(0, 0);
    const long long inst = member(40000, 20000, "3");
    // Owes enough, but an expected amount below 1,000 is refused and so not booked.
    const long long smallOwes = member(5000, 500);

    const CollectionRunResult expected = collect(CollectionMode::kExpected);
    ASSERT_TRUE(expected.done);
    EXPECT_EQ(ui.shown.at(0).text, "26-03-20일자로 일괄수금을 발생 하시겠습니까?");
    EXPECT_EQ(ui.shown.back().text,
              "26-03-20일자로 일괄수금(정상: 2 건/불능: 3 건) 을 완료 하였습니다.\n\n 결과화면으로 "
              "이동 하시겠습니까?");
    const long long k1 = expected.run_key;
    EXPECT_EQ(batchRow(owes, k1), "10000/0/");
    EXPECT_EQ(batchRow(short_, k1), "10000/1/미수금이 매출예정액보다 적음");
    EXPECT_EQ(batchRow(small, k1), "500/1/매출예정액 1000원이하");
    EXPECT_EQ(batchRow(nothing, k1), "");
    EXPECT_EQ(batchRow(smallOwes, k1), "500/1/매출예정액 1000원이하");
    EXPECT_EQ(value("pay_nonpayment", smallOwes), 5000);
    test::ExpectTotalsAgree(*db, schema, smallOwes, 5000);
    EXPECT_EQ(value("pay_nonpayment", short_), 5000);
    EXPECT_EQ(value("pay_prossagreement", inst), 20000);
    test::ExpectTotalsAgree(*db, schema, owes, 30000);
    test::ExpectTotalsAgree(*db, schema, inst, 40000);
    const Recordset row = db->OpenRecordset(
        "select p.pros_nonpayment, p.memo, p.settle_title, p.pay_prossag, p.addkey=a.payadd_inx "
        "linked from " +
            schema + ".pay_pross p join " + schema +
            ".paymus a on a.add_usrnum=p.userlink_inx and a.add_runkey=p.addmuskey "
            "where p.userlink_inx=?",
        {inst});
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].asInt("pros_nonpayment"), 20000);
    EXPECT_EQ(row[0]["memo"], "26년 03월 일괄수금");
    EXPECT_EQ(row[0]["settle_title"], kTransferCollectionTitle);
    EXPECT_EQ(row[0].asInt("pay_prossag"), 20000);
    EXPECT_EQ(row[0].asInt("linked"), 1);

    const CollectionRunResult whole = collect(CollectionMode::kOutstanding);
    ASSERT_TRUE(whole.done);
    EXPECT_GT(whole.run_key, k1);
    EXPECT_EQ(batchRow(owes, whole.run_key), "20000/0/");
    EXPECT_EQ(batchRow(short_, whole.run_key), "5000/0/");
    EXPECT_EQ(batchRow(small, whole.run_key), "0/1/미수금 없음");
    EXPECT_EQ(batchRow(nothing, whole.run_key), "0/1/미수금 없음");
    for (long long m : {owes, short_, inst}) EXPECT_EQ(value("pay_nonpayment", m), 0);
    EXPECT_EQ(value("pay_prossagreement", inst), 40000);
    test::ExpectTotalsAgree(*db, schema, owes, 30000);
    test::ExpectTotalsAgree(*db, schema, short_, 5000);
}

TEST_F(BatchCollectionTest, CancellationRestoresTotalsAndKeepsRowsThatCannotBeCancelled) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    const long long a = member(30000, 10000);
    const long long b = member(20000, 10000);
    const long long gone = member(15000, 10000);
    const long long inst = member(40000, 20000, "3");
    const CollectionRunResult run = collect(CollectionMode::kExpected);
    ASSERT_EQ(run.booked, 4);
    // The ledger row of one member was removed by hand, another member deleted.
    db->ExecuteSql("delete from " + schema + ".pay_pross where userlink_inx=?", {gone});
    db->ExecuteSql("update " + schema + ".member_user set remove='4' where member_inx=?", {b});

    ASSERT_TRUE(CancelRun(*db, session, ui, web.webHost(), RunKind::kCollection, run.run_key));
    EXPECT_EQ(ui.shown.back().text, "일괄수금취소 작업이 완료 되었습니다.");
    EXPECT_EQ(batchRow(a, run.run_key), "");
    EXPECT_EQ(batchRow(b, run.run_key).substr(0, 7), "10000/2");
    EXPECT_EQ(batchRow(gone, run.run_key).substr(0, 7), "10000/2");
    for (long long m : {a, inst}) {
        EXPECT_EQ(value("pay_nonpayment", m), m == a ? 30000 : 40000);
        test::ExpectTotalsAgree(*db, schema, m, m == a ? 30000 : 40000);
    }
    EXPECT_EQ(value("pay_prossagreement", inst), 0);
}

TEST_F(BatchCollectionTest, RefusalsBeforeTheRunWriteNothing) {
    member(30000, 10000);
    struct Case {
        bool searched;
        std::string date, item;
        const char* text;
    };
    for (const Case& c : {Case{false, "2026-03-20", "회비", kCollectionSearchFirstText},
                          Case{true, "2026-03-20", " ", kItemMissingText},
                          Case{true, "20260332", "회비", kDateInvalidText}}) {
        ui.shown.clear();
        EXPECT_FALSE(RunBatchCollection(*db, session, ui, {}, CollectionMode::kOutstanding,
                                        c.searched, c.date, c.item, "")
                         .done);
        EXPECT_EQ(ui.shown.back().text, c.text);
    }
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".paymus"), 0);
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".pay_pross"), 0);
}

TEST_F(BatchCollectionTest, RunKeysUnderTheLockAndTheLastKey) {
    // Two desks take keys at the same moment: the second waits for the
    // first one's rows and takes the next key.
    std::vector<long long> keys(2);
    auto desk = [&](int i) {
        auto conn = test::ConnectTestDatabase();
        RunKeyLock lock(*conn, session);
        Database::Transaction tx(*conn);
        keys[i] = lock.nextKey();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        conn->ExecuteSql("insert into " + schema + ".paymus (add_runkey) values (?)", {keys[i]});
        tx.commit();
    };
    std::thread one(desk, 0), two(desk, 1);
    one.join();
    two.join();
    EXPECT_EQ(std::set<long long>(keys.begin(), keys.end()), (std::set<long long>{1, 2}));

    // Every table counts: the ledger's keys too.
    db->ExecuteSql("insert into " + schema + ".pay_pross (addmuskey) values (32766)");
    const long long m = member(30000, 10000);
    const CollectionRunResult last = collect(CollectionMode::kOutstanding);
    ASSERT_TRUE(last.done);
    EXPECT_EQ(last.run_key, 32767);
    db->ExecuteSql("update " + schema + ".member_user set pay_nonpayment=5000 where member_inx=?",
                   {m});
    const long long rows = db->scalarInt("select count(*) from " + schema + ".pay_pross");
    const CollectionRunResult refused = collect(CollectionMode::kOutstanding);
    EXPECT_FALSE(refused.done);
    EXPECT_EQ(ui.shown.back().text, kRunKeyExhaustedText);
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".pay_pross"), rows);
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".paymus where add_runkey>32767"),
              0);
    EXPECT_EQ(value("pay_nonpayment", m), 5000);
}

TEST_F(BatchCollectionTest, BulkRemovalOfOutstandingAndExpectedAmounts) {
    db->ExecuteSql(
        "update quorisdex.admin_company set account_title='한빛회비', cms_print='교육비,후원금' "
        "where inx=?",
        {inst.inx});
    const long long owes = member(12345, 10000);
    const long long other = member(5000, 7000, "1", 2);
    const long long several = member(0, 13000);
    const long long none = member(0, 8000);
    db->ExecuteSql("update " + schema +
                       ".member_user set cms_printkey='2', total_prosspay=20000 "
                       "where member_inx=?",
                   {none});
    for (long long price : {10000, 3000}) {
        db->ExecuteSql("insert into " + schema +
                           ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) values "
                           "(?, 'x', ?, 1, ?)",
                       {several, price, price});
    }

    BatchFilter headOnly;
    SetBatchFilter(headOnly, "branch_inx", "0");
    ui.answers = {false};
    EXPECT_EQ(RemoveOutstanding(*db, session, ui, headOnly), -1);
    EXPECT_EQ(value("pay_nonpayment", owes), 12345);
    EXPECT_EQ(RemoveOutstanding(*db, session, ui, headOnly), 1);
    EXPECT_EQ(ui.shown.back().text, kRemoveOutstandingQuestion);
    EXPECT_EQ(value("pay_nonpayment", owes), 0);
    EXPECT_EQ(value("total_prosspay", owes), -12345);
    EXPECT_EQ(value("pay_nonpayment", other), 5000);
    EXPECT_EQ(db->scalar("select prostxt from " + schema +
                         ".pross_log where prosnum=8 order by pross_inx desc limit 1"),
              " (" + TenDigits(owes) + ") 미수금 12,345원 제거");

    EXPECT_EQ(RemoveExpected(*db, session, ui, headOnly), 3);
    EXPECT_EQ(ui.shown.back().text, kRemoveExpectedQuestion);
    for (long long m : {owes, several, none}) EXPECT_EQ(value("pay_monthdefault", m), 0);
    EXPECT_EQ(value("pay_monthdefault", other), 7000);
    const Recordset items =
        db->OpenRecordset("select ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment from " + schema +
                              ".user_item order by ui_perinx",
                          {});
    ASSERT_EQ(items.size(), 3u);  // one each for owes, several (after losing two), none
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].asInt("ui_payment"), 0);
        EXPECT_EQ(items[i].asInt("ui_cnt"), 1);
    }
    EXPECT_EQ(items[2]["ui_name"], "후원금");
    EXPECT_EQ(items[0]["ui_name"], "한빛회비");
    EXPECT_EQ(db->scalar("select prostxt from " + schema +
                             ".pross_log where prosnum=8 and prostxt like ? limit 1",
                         {"%(" + TenDigits(several) + ")%"}),
              " (" + TenDigits(several) + ") 매출예정액 13,000원을 0원으로 변경");
}

}  // namespace
}  // namespace qx
