// The card company's answers, with the relay agent run as a process: member
// states and counts, collections booked for approved payments and reversed
// for successful cancellations, the card fee; the card rollbacks; and the
// answer applied exactly once (two agents, an agent killed mid-booking).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "card_fixture.h"
#include "channels/card/card_members.h"
#include "channels/card/card_payments.h"
#include "channels/card/card_results.h"
#include "cms/rollback/card_rollback.h"
#include "cms/transmission/relay_send.h"
#include "messaging/sms_file_members.h"
#include "support/scripted_interaction.h"

extern char** environ;

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr CivilDate kRequestDay{2026, 12, 8};

class CardAnswerTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        session.org_code = "HS" + std::to_string(100000 + inst.inx % 900000);
        session.company = "카드기관";
        session.credit_id = "card" + std::to_string(inst.inx);
        db->ExecuteSql(
            "update quorisdex.admin_company set org_code=?, credit_id=?, "
            "credit_account_title='카드결제', credit_month_out_limit=10000000 where "
            "inx=?",
            {session.org_code, session.credit_id, inst.inx});
        test::PinServerClock(*db, "2026-12-07 10:00:00");
        ui.defaultAnswer = false;
        root = fs::temp_directory_path() / ("qx-card-" + std::to_string(inst.inx));
        fs::create_directories(root);
        const DbConfig c = test::TestDatabaseConfig();
        std::ofstream(root / "Login.ini")
            << "[SYSTEM]\r\nDBCONNIP=" << c.host << ":" << c.port << "\r\nDBCONNUSER=" << c.user
            << "\r\nDBCONNPW=" << c.password << "\r\n";
        std::ofstream(root / "rules.txt") << "decline-card 9999888877776666 한도초과\n";
    }
    void TearDown() override {
        test::UnpinServerClock(*db);
        fs::remove_all(root);
    }

    std::vector<std::string> AgentArgs() {
        return {QUORISDEX_RELAY_AGENT_EXE,     "--app-path", root.string(), "--rules",
                (root / "rules.txt").string(), "--once"};
    }
    pid_t StartAgent() {
        auto args = AgentArgs();
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&quiet);
        return pid;
    }
    int RunAgent() {
        const pid_t pid = StartAgent();
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Send(const std::string& name) {
        ASSERT_EQ(RelaySendFiles(*db, session, ui, {name}, RelayChannel::Cards).size(), 1u) << name;
    }
    long long NewCardMember(const std::string& card, const std::string& status = "0",
                            const std::string& remove = "1", long long owed = 0) {
        test::CardMember c;
        c.cardNo = card;
        c.status = status;
        c.remove = remove;
        c.nonpayment = owed;
        const long long m = test::InsertCardMember(*db, inst.inx, c);
        if (owed > 0) test::InsertLedgerRow(*db, inst.inx, m, owed, "26-11-05");
        return m;
    }
    long long Approved(long long member, long long amount, const std::string& approval) {
        db->ExecuteSql("insert into " + schema +
                           ".cdpay_detail (seq_num,reg_date,card_no,amount,valid_yymm,user_no,"
                           "account_name,purchase_kind,approval_no,cancel_status,title) values "
                           "(1,'261201','4111222233334444',?,'2912',?,'카드주','0',?,'N','카드')",
                       {amount, member, approval});
        return db->lastInsertId();
    }
    std::string Member(long long m, const std::string& column) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {m});
    }
    long long Collected(long long m) {
        return db->scalarInt("select coalesce(sum(input_pay),0) from " + schema +
                                 ".pay_pross where userlink_inx=? and paystat='1' and "
                                 "settle_title='신용카드결제' and settle_code='5'",
                             {m});
    }
    long long CollectionRows() {
        return db->scalarInt("select count(*) from " + schema + ".pay_pross where paystat='1'");
    }
    std::string RunStat(const std::string& name) {
        return db->scalar("select stat from aegis.filerun where filename=? and id=?",
                          {name, session.org_code});
    }
    // A CPAY of the request day: `a` approved, `b` declined, and the
    // cancellations of `keep` (succeeds) and `broken` (its approval no
    // longer matches: fails).
    struct Payments {
        long long a, b, c, d, keep, broken;
    };
    Payments PreparePayments() {
        Payments p{};
        p.a = NewCardMember("4111222233334444", "3", "1", 10000);
        p.b = NewCardMember("9999888877776666", "3", "1", 20000);
        p.c = NewCardMember("4000111122223333", "7");
        p.d = NewCardMember("4000111122224444", "7");
        p.keep = Approved(p.c, 7000, "00000077");
        p.broken = Approved(p.d, 3000, "00000088");
        EXPECT_EQ(ScheduleCancellations(*db, session, ui, {p.keep, p.broken}), 2);
        const auto rows = SearchEb21Targets(*db, session, ui, kRequestDay, CardPaymentOptions({}),
                                            test::CardPreparerIn(*db, inst.inx))
                              .rows;
        EXPECT_EQ(rows.size(), 2u);
        ui.defaultAnswer = true;
        EXPECT_TRUE(CreateCardPaymentRequest(*db, session, ui, {kRequestDay, rows, {}}).created);
        ui.defaultAnswer = false;
        db->ExecuteSql(
            "update " + schema + ".cdpay_detail set approval_no='00000089' where cancel_cdp_inx=?",
            {p.broken});
        return p;
    }

    fs::path root;
    test::ScriptedInteraction ui;
};

TEST_F(CardAnswerTest, MemberAnswerMovesEveryMemberAndCounts) {
    const long long accepted = NewCardMember("4111222233334444");
    const long long declined = NewCardMember("9999888877776666");
    const long long leaving = NewCardMember("4222333344445555", "11", "2");
    ASSERT_TRUE(
        CreateCardMemberRequest(*db, session, ui, kRequestDay, ListCardMemberTargets(*db, session))
            .created);
    Send("CMEM261208");
    ASSERT_EQ(RunAgent(), 0);
    EXPECT_EQ(RunStat("CMEM261208"), "7");
    EXPECT_EQ(Member(accepted, "cms_status"), "3");
    EXPECT_EQ(Member(declined, "cms_status"), "2");
    EXPECT_EQ(Member(declined, "cms_error"), "한도초과");
    EXPECT_EQ(Member(leaving, "cms_status"), "13");
    auto file = db->OpenRecordset("select createok_cnt,deleteok_cnt,false_cnt,pross_stat from " +
                                  schema + ".cdmem");
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0]["createok_cnt"], "1");
    EXPECT_EQ(file[0]["deleteok_cnt"], "1");
    EXPECT_EQ(file[0]["false_cnt"], "1");
    EXPECT_EQ(file[0]["pross_stat"], "1");
    EXPECT_EQ(db->scalar("select concat(result,'|',rp_err) from " + schema +
                             ".cdmem_detail where user_no=?",
                         {declined}),
              "N|한도초과");
    // Applied: no longer offered for rollback, and a rollback is refused.
    EXPECT_TRUE(ListCardRollbackCandidates(*db, session, CardRollbackKind::Members).empty());
    EXPECT_EQ(RollbackCardRequests(*db, session, ui, CardRollbackKind::Members, {"CMEM261208"}), 0);
    EXPECT_EQ(Member(accepted, "cms_status"), "3");
}

TEST_F(CardAnswerTest, PaymentAnswerBooksCollectionsReversalsAndTheFee) {
    const Payments p = PreparePayments();
    Send("CPAY261208");
    ASSERT_EQ(RunAgent(), 0);
    EXPECT_EQ(RunStat("CPAY261208"), "7");
    // Approved: collected, the member at 7, an approval number.
    EXPECT_EQ(Member(p.a, "cms_status"), "7");
    EXPECT_EQ(Collected(p.a), 10000);
    EXPECT_EQ(Member(p.a, "pay_nonpayment"), "0");
    EXPECT_EQ(db->scalar("select char_length(approval_no) from " + schema +
                             ".cdpay_detail where user_no=? and reg_date='261208'",
                         {p.a}),
              "8");
    // Refused: not collected, the member at 8 with the reason.
    EXPECT_EQ(Member(p.b, "cms_status"), "8");
    EXPECT_EQ(Member(p.b, "cms_error"), "한도초과");
    EXPECT_EQ(Collected(p.b), 0);
    EXPECT_EQ(Member(p.b, "pay_nonpayment"), "20000");
    // Cancelled: the collection reversed, the payment stays written.
    EXPECT_EQ(Collected(p.c), -7000);
    EXPECT_EQ(Member(p.c, "card_cancel_status"), "3");
    EXPECT_EQ(db->scalar("select cancel_status from " + schema + ".cdpay_detail where cdp_inx=?",
                         {p.keep}),
              "C");
    // The cancellation the card company could not match fails.
    EXPECT_EQ(Member(p.d, "card_cancel_status"), "2");
    EXPECT_EQ(Collected(p.d), 0);
    auto file = db->OpenRecordset(
        "select rtnok_money,rtnfalse_money,cancel_rtnok_money,"
        "cancel_rtnfalse_money,commission,pross_stat from " +
        schema + ".cdpay");
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0]["rtnok_money"], "10000");
    EXPECT_EQ(file[0]["rtnfalse_money"], "20000");
    EXPECT_EQ(file[0]["cancel_rtnok_money"], "7000");
    EXPECT_EQ(file[0]["cancel_rtnfalse_money"], "3000");
    EXPECT_EQ(file[0]["commission"], "308");  // 280 + 28 on 10,000
    EXPECT_EQ(file[0]["pross_stat"], "1");
    // frmLMS2 on the request: the members by the chosen amount.
    db->ExecuteSql("update " + schema + ".member_user set private_tel='010-5555-0000'");
    struct Pick {
        const char* column;
        long long member, amount;
    } picks[] = {{kWithdrawnColumn, p.a, 10000},
                 {kFailedColumn, p.b, 20000},
                 {kCancelledColumn, p.c, 7000},
                 {kCancelFailedColumn, p.d, 3000}};
    for (const auto& pick : picks) {
        SmsFileQuery q;
        q.kind = SmsFileKind::CardPayment;
        q.regDate = "261208";
        q.amountColumn = pick.column;
        const auto rows = LoadFileRecipients(*db, session, q);
        ASSERT_EQ(rows.size(), 1u) << pick.column;
        EXPECT_EQ(std::stoll(rows[0].payer), pick.member) << pick.column;
        EXPECT_EQ(rows[0].values.scheduled, std::to_string(pick.amount)) << pick.column;
    }
    // A second pass finds nothing more to do.
    const long long rows = CollectionRows();
    ASSERT_EQ(RunAgent(), 0);
    EXPECT_EQ(CollectionRows(), rows);
}

TEST_F(CardAnswerTest, CardPaymentRollbackReopensTheCancelledPayment) {
    const long long billed = NewCardMember("4111222233334444", "8", "1", 10000);
    const long long cancelling = NewCardMember("4000111122223333", "7");
    db->ExecuteSql(
        "update " + schema + ".member_user set card_cancel_status='2' where member_inx=?",
        {cancelling});
    const long long paid = Approved(cancelling, 7000, "00000077");
    ScheduleCancellations(*db, session, ui, {paid});
    const auto rows = SearchEb21Targets(*db, session, ui, kRequestDay, CardPaymentOptions({}),
                                        test::CardPreparerIn(*db, inst.inx))
                          .rows;
    ui.defaultAnswer = true;
    ASSERT_TRUE(CreateCardPaymentRequest(*db, session, ui, {kRequestDay, rows, {}}).created);
    ui.defaultAnswer = false;
    Send("CPAY261208");
    EXPECT_EQ(Member(billed, "cms_status"), "6");
    EXPECT_EQ(Member(cancelling, "card_cancel_status"), "1");

    const auto listed = ListCardRollbackCandidates(*db, session, CardRollbackKind::Payments);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].filename, "CPAY261208");
    EXPECT_EQ(listed[0].state, kCardRollbackStateText);
    EXPECT_EQ(RollbackCardRequests(*db, session, ui, CardRollbackKind::Payments, {"CPAY261208"}),
              1);
    EXPECT_EQ(
        db->scalar("select cancel_status from " + schema + ".cdpay_detail where cdp_inx=?", {paid}),
        "Y");
    EXPECT_EQ(Member(cancelling, "card_cancel_status"), "2");
    EXPECT_EQ(Member(billed, "cms_status"), "8");
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".cdpay"), 0);
    EXPECT_EQ(
        db->scalarInt("select count(*) from " + schema + ".cdpay_detail where reg_date='261208'"),
        0);
    EXPECT_EQ(RunStat("CPAY261208"), "");
    EXPECT_EQ(db->scalar("select stat_txt from aegis.filerun_rollback where filename=? and id=?",
                         {"CPAY261208", session.org_code}),
              kCardRelayRollbackStatText);
    // Taken back: the agent finds nothing to answer, a second rollback nothing to take.
    ASSERT_EQ(RunAgent(), 0);
    EXPECT_EQ(CollectionRows(), 0);
    EXPECT_EQ(RollbackCardRequests(*db, session, ui, CardRollbackKind::Payments, {"CPAY261208"}),
              0);
}

TEST_F(CardAnswerTest, MemberRollbackWithoutCardIdLeavesTheRelayRun) {
    const long long m = NewCardMember("4111222233334444");
    ASSERT_TRUE(
        CreateCardMemberRequest(*db, session, ui, kRequestDay, ListCardMemberTargets(*db, session))
            .created);
    Send("CMEM261208");
    SessionContext noCard = session;
    noCard.credit_id.clear();
    EXPECT_EQ(RollbackCardRequests(*db, noCard, ui, CardRollbackKind::Members, {"CMEM261208"}), 1);
    EXPECT_EQ(Member(m, "cms_status"), "0");
    EXPECT_EQ(RunStat("CMEM261208"), "1");
    EXPECT_EQ(db->scalarInt("select count(*) from aegis.filerun_rollback where filename=? and "
                            "id=?",
                            {"CMEM261208", session.org_code}),
              0);
    // The bad names and nothing ticked are told, nothing done.
    ui.shown.clear();
    EXPECT_EQ(RollbackCardRequests(*db, session, ui, CardRollbackKind::Members,
                                   {"CPAY261208", "CMEM26120'"}),
              0);
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(RollbackCardRequests(*db, session, ui, CardRollbackKind::Members, {}), 0);
}

TEST_F(CardAnswerTest, TwoAgentsAtOnceBookEachRequestOnce) {
    const Payments p = PreparePayments();
    const long long member = NewCardMember("4111222233335555");
    ASSERT_TRUE(
        CreateCardMemberRequest(*db, session, ui, kRequestDay, ListCardMemberTargets(*db, session))
            .created);
    Send("CPAY261208");
    Send("CMEM261208");
    const pid_t first = StartAgent(), second = StartAgent();
    int s1 = 0, s2 = 0;
    waitpid(first, &s1, 0);
    waitpid(second, &s2, 0);
    EXPECT_TRUE(WIFEXITED(s1) && WEXITSTATUS(s1) == 0);
    EXPECT_TRUE(WIFEXITED(s2) && WEXITSTATUS(s2) == 0);
    EXPECT_EQ(RunStat("CPAY261208"), "7");
    EXPECT_EQ(RunStat("CMEM261208"), "7");
    EXPECT_EQ(Collected(p.a), 10000);
    EXPECT_EQ(Collected(p.c), -7000);
    EXPECT_EQ(CollectionRows(), 2);
    EXPECT_EQ(Member(member, "cms_status"), "3");
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema +
                            ".pross_log where prostxt like "
                            "'%결과처리 완료'"),
              2);
}

TEST_F(CardAnswerTest, AgentKilledMidBookingLeavesNothingHalfBooked) {
    const Payments p = PreparePayments();
    Send("CPAY261208");
    // Hold the last member of the request: the agent writes the rows before
    // it and then waits on this one, inside its transaction.
    auto holder = test::ConnectTestDatabase();
    Database::Transaction hold(*holder);
    holder->OpenRecordset(
        "select member_inx from " + schema + ".member_user where member_inx=? for update", {p.d});
    const pid_t agent = StartAgent();
    long long waitingThread = 0;
    for (int i = 0; i < 300 && waitingThread == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        waitingThread = holder->scalarInt(
            "select coalesce(max(trx_mysql_thread_id),0) from information_schema.innodb_trx "
            "where trx_state='LOCK WAIT' and trx_query like '%card_cancel_status%'");
    }
    ASSERT_NE(waitingThread, 0) << "the agent never reached the held member";
    kill(agent, SIGKILL);
    int status = 0;
    waitpid(agent, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    hold.commit();
    // The server ends the dead connection's work once it runs again.
    for (int i = 0; i < 300 && holder->scalarInt("select count(*) from "
                                                 "information_schema.processlist where id=?",
                                                 {waitingThread}) > 0;
         ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(RunStat("CPAY261208"), "5");
    EXPECT_EQ(CollectionRows(), 0);
    EXPECT_EQ(Member(p.a, "cms_status"), "6");
    EXPECT_EQ(Member(p.c, "card_cancel_status"), "1");
    EXPECT_EQ(db->scalar("select pross_stat from " + schema + ".cdpay"), "0");
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema +
                            ".cdpay_detail where reg_date='261208' and (rp_err<>'' or "
                            "approval_no<>'' and purchase_kind=0)"),
              0);
    // The next agent applies it, once.
    ASSERT_EQ(RunAgent(), 0);
    EXPECT_EQ(RunStat("CPAY261208"), "7");
    EXPECT_EQ(Collected(p.a), 10000);
    EXPECT_EQ(Collected(p.c), -7000);
    EXPECT_EQ(CollectionRows(), 2);
}

TEST(CardCompanyRules, RefusalsByNumberExpiryAndDecline) {
    const CivilDate day{2026, 12, 8};
    const std::vector<CardDecline> declines = {{"9999888877776666", "한도초과"}};
    struct Case {
        std::string card, expiry, why;
    } cases[] = {
        {"4111222233334444", "2612", ""},  // this month still valid
        {"4111222233334444", "2611", kCardExpiredText},
        {"4111222233334444", "2613", kCardExpiredText},
        {"4111222233334444", "291", kCardExpiredText},
        {"41112222333344", "2912", ""},  // 14 digits
        {"4111222233334", "2912", kCardNumberRefusedText},
        {"41112222333344445", "2912", kCardNumberRefusedText},
        {"4111-2222-3333-44", "2912", kCardNumberRefusedText},
        {"9999888877776666", "2912", "한도초과"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardRefusal(c.card, c.expiry, day, declines), c.why) << c.card << "/" << c.expiry;
    EXPECT_EQ(CardApprovalNumber(77), "00000077");
    EXPECT_EQ(CardApprovalNumber(123456789), "23456789");
}

}  // namespace
}  // namespace qx
