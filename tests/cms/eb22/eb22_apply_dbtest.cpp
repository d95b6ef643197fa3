// Applying received EB22 files against a real server: the claim, the staging
// of results, the collections, members, totals and fees written by the
// result script, partial withdrawals kept consistent, two desks at once, a
// repeated request, and malformed files that leave nothing booked.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "cms/eb22/eb22_apply.h"
#include "cms/eb22/eb22_file.h"
#include "cms/eb22/eb22_results.h"
#include "cms/result_apply_fixture.h"
#include "cms/workspace/cms_folders.h"
#include "ledger/server_scripts.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "services/web_stand_in.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr long long kOkFee = 150, kFalseFee = 300;

struct Request {
    long long serial;
    long long member;
    long long amount;
};

class Eb22ApplyTest : public test::ResultApplyTest {
  protected:
    Eb22ApplyTest() : ResultApplyTest("EB22", "file_ea21_run") {}

    long long Member(long long outstanding, const std::string& divide = "1",
                     long long collected = 0) {
        test::MemberRow m;
        m.cms_status = "6";
        m.pay_nonpayment = outstanding;
        m.account_divide = divide;
        m.pay_agreement = divide == "3" ? 1000000 : 0;
        m.pay_prossagreement = collected;
        return test::InsertMember(*db, inst.inx, m);
    }
    void Eb21(const std::string& yymmdd, const std::vector<Request>& rows,
              const std::string& stat = "0") {
        long long total = 0;
        for (const Request& r : rows) total += r.amount;
        db->ExecuteSql(
            "insert into " + schema +
                ".ea21 (makedate, filename, total_cnt, total_money, ok_commission, "
                "false_commission, pross_stat) values (unix_timestamp(), ?, ?, ?, ?, "
                "?, ?)",
            {"EB21" + yymmdd, static_cast<long long>(rows.size()), total, kOkFee, kFalseFee, stat});
        for (const Request& r : rows) {
            db->ExecuteSql("insert into " + schema +
                               ".file_ea21 (seq_num, reg_date, amount, user_no, amount_kind, "
                               "oldcms_status) values (?,?,?,?,'2','3')",
                           {r.serial, yymmdd, r.amount, r.member});
        }
    }
    void DropEb22(const std::string& yymmdd, const std::vector<test::Eb22Line>& lines) {
        const std::string name = "EB22" + yymmdd.substr(2);
        test::WriteBytes(ResultPath(session, yymmdd.substr(2)),
                         test::Eb22Bytes(name, yymmdd, lines));
    }
    std::string MemberField(long long member, const std::string& column) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {member});
    }
    std::string Ea21(const std::string& column, const std::string& yymmdd = "261204") {
        return db->scalar("select " + column + " from " + schema + ".ea21 where filename=?",
                          {"EB21" + yymmdd});
    }
    long long Sum(const std::string& table, const std::string& expr, const std::string& where) {
        return db->scalarInt("select coalesce(sum(" + expr + "),0) from " + schema + "." + table +
                             " where " + where);
    }
    // Nothing of the file has reached the ledger or the members.
    void ExpectNothingBooked(const std::string& what) {
        EXPECT_EQ(Count("pay_pross"), 0) << what;
        EXPECT_EQ(Count("member_user", "cms_status<>'6'"), 0) << what;
        EXPECT_EQ(Count("file_ea21", "result<>''"), 0) << what;
        EXPECT_EQ(Ea21("rtnok_money"), "0") << what;
        EXPECT_EQ(Ea21("ok_commission"), std::to_string(kOkFee)) << what;
    }
    Eb22ResultRequest InProcess() {
        return Recorded([this](long long inx, const std::string& yymmdd) {
            return ApplyEb22Results(
                *db, inx, yymmdd,
                yymmdd.substr(0, 2) + "-" + yymmdd.substr(2, 2) + "-" + yymmdd.substr(4, 2));
        });
    }
};

// Ten requests, two not withdrawn ("0011" free of the fee, "0012" charged),
// one partly withdrawn: the fees, totals, request rows, members and ledger.
TEST_F(Eb22ApplyTest, ResultsBecomeCollectionsMemberStatesTotalsAndFees) {
    std::vector<Request> rows;
    std::vector<test::Eb22Line> lines;
    std::vector<long long> members;
    for (long long i = 1; i <= 10; ++i) {
        members.push_back(Member(50000));
        rows.push_back({i, members.back(), 10000 * i});
    }
    Eb21("261204", rows);
    for (long long i = 1; i <= 10; ++i) {
        if (i == 3)
            lines.push_back({i, 30000, "N", "0011"});
        else if (i == 4)
            lines.push_back({i, 40000, "N", "0012"});
        else if (i == 5)
            lines.push_back({i, 20000, "P", "0011"});  // 20,000 of 50,000 taken
        else
            lines.push_back({i, 10000 * i, " ", "0000"});
    }
    DropEb22("261204", lines);
    // A member whose state changed since the file keeps it; its money is booked.
    db->ExecuteSql("update " + schema +
                       ".member_user set cms_status='13', cms_error='해지신청' where member_inx=?",
                   {members[1]});
    // Texts left from last month: replaced on failure, gone after a withdrawal.
    db->ExecuteSql("update " + schema +
                       ".member_user set cms_error=if(member_inx=?,NULL,'계좌없음') where "
                       "member_inx in (?,?,?)",
                   {members[5], members[2], members[5], members[9]});

    const Eb22RunResult run = ApplyEb22Files(*db, session, ui, InProcess());

    ASSERT_EQ(run.succeeded, 1) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(run.failed, 0);
    const long long requested = 550000, notWithdrawn = 30000 + 40000 + 30000;
    EXPECT_EQ(Ea21("pross_stat"), "1");
    EXPECT_EQ(Ea21("rtnok_money"), std::to_string(requested - notWithdrawn));
    EXPECT_EQ(Ea21("rtnfalse_money"), std::to_string(notWithdrawn));
    EXPECT_EQ(Ea21("ok_commission"), std::to_string(kOkFee * 8));
    EXPECT_EQ(Ea21("false_commission"), std::to_string(kFalseFee * 1));
    ASSERT_EQ(run.files.size(), 1u);
    const Eb22FileOutcome& f = run.files[0];
    EXPECT_TRUE(f.applied);
    EXPECT_EQ(f.file, "EB221204");
    EXPECT_EQ(f.withdrawnCount, 8);
    EXPECT_EQ(f.failedCount, 2);
    EXPECT_EQ(f.rtnokMoney, requested - notWithdrawn);
    EXPECT_EQ(f.okCommission + f.falseCommission, kOkFee * 8 + kFalseFee);

    struct Expect {
        long long serial;
        std::string status, error, rpErr;
        long long collected;
    };
    for (const Expect& e :
         std::vector<Expect>{{1, "7", "", "", 10000},
                             {3, "8", "잔액부족", "잔액부족", 0},
                             {4, "8", "출금한도 초과", "출금한도 초과", 0},
                             {5, "7", kPartialWithdrawalText, kPartialWithdrawalText, 20000},
                             {10, "7", "", "", 100000}}) {
        const long long m = members[e.serial - 1];
        EXPECT_EQ(MemberField(m, "cms_status"), e.status) << e.serial;
        EXPECT_EQ(MemberField(m, "cms_error"), e.error) << e.serial;
        EXPECT_EQ(MemberField(m, "pay_nonpayment"), std::to_string(50000 - e.collected))
            << e.serial;
        EXPECT_EQ(MemberField(m, "total_payment"), std::to_string(e.collected)) << e.serial;
        EXPECT_EQ(db->scalar("select rp_err from " + schema +
                                 ".file_ea21 where reg_date='261204' and seq_num=?",
                             {e.serial}),
                  e.rpErr);
        EXPECT_EQ(Sum("pay_pross", "input_pay",
                      "userlink_inx=" + std::to_string(m) +
                          " and paystat='1' and settle_title='CMS' and settle_code=1 and "
                          "signdate='26-12-04'"),
                  e.collected)
            << e.serial;
    }
    EXPECT_EQ(Count("member_user", "cms_error is null"), 0);
    EXPECT_EQ(MemberField(members[1], "cms_error"), "해지신청");
    // One collection per request that brought money in, none for the failures.
    EXPECT_EQ(Count("pay_pross"), 8);
    EXPECT_EQ(Sum("pay_pross", "input_pay", "paystat='1'"), requested - notWithdrawn);
    EXPECT_EQ(Count("file_ea21", "result='P' and div_amount=20000 and seq_num=5"), 1);
    EXPECT_EQ(Count("file_ea21_run"), 0);  // consumed by the script
    ExpectOneFileApplied("261204", 10, Eb22SummaryText(1, 0));
}

// The reading of a partial result: the record's amount is what was taken.
// The request list's CASE columns, the file totals and the ledger agree, for
// a member with two requests in the file and an instalment member.
TEST_F(Eb22ApplyTest, APartialResultIsTheSameInTheListTheTotalsAndTheLedger) {
    const long long twice = Member(70000), instalment = Member(40000, "3", 100000);
    Eb21("261204", {{1, twice, 30000}, {2, twice, 40000}, {3, instalment, 40000}});
    DropEb22("261204", {{1, 30000, " ", "0000"}, {2, 15000, "P", "0011"}, {3, 1, "P", "0011"}});
    ASSERT_EQ(ApplyEb22Files(*db, session, ui, InProcess()).succeeded, 1)
        << ::testing::PrintToString(ui.texts());

    const long long listed = Sum("file_ea21",
                                 "case result when 'P' then div_amount when 'N' then 0 else "
                                 "amount end",
                                 "reg_date='261204'");
    const long long listedNot = Sum("file_ea21",
                                    "case result when 'P' then amount-div_amount when 'N' then "
                                    "amount else 0 end",
                                    "reg_date='261204'");
    EXPECT_EQ(listed, 30000 + 15000 + 1);
    EXPECT_EQ(listedNot, 25000 + 39999);
    EXPECT_EQ(Ea21("rtnok_money"), std::to_string(listed));
    EXPECT_EQ(Ea21("rtnfalse_money"), std::to_string(listedNot));
    EXPECT_EQ(Sum("pay_pross", "input_pay", "paystat='1' and settle_title='CMS'"), listed);
    // The outstanding amount runs across the member's two collections.
    const Recordset rs =
        db->OpenRecordset("select input_pay, pros_nonpayment, pay_prossag from " + schema +
                              ".pay_pross where userlink_inx=? order by pay_inx",
                          {twice});
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_EQ(rs[0]["pros_nonpayment"], "40000");
    EXPECT_EQ(rs[1]["pros_nonpayment"], "25000");
    EXPECT_EQ(rs[1]["pay_prossag"], "0");
    EXPECT_EQ(MemberField(twice, "pay_nonpayment"), "25000");
    EXPECT_EQ(MemberField(twice, "cms_error"), kPartialWithdrawalText);
    EXPECT_EQ(MemberField(instalment, "pay_prossagreement"), "100001");
    EXPECT_EQ(db->scalar("select pay_prossag from " + schema + ".pay_pross where userlink_inx=?",
                         {instalment}),
              "100001");
    // Every member's outstanding amount is the latest ledger row's.
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema +
                            ".member_user m where "
                            "m.pay_nonpayment<>(select p.pros_nonpayment from " +
                            schema +
                            ".pay_pross p where p.userlink_inx=m.member_inx order by "
                            "p.pay_inx desc limit 1)"),
              0);
}

TEST_F(Eb22ApplyTest, OneHundredFiftyResultsAreStagedAndBooked) {
    std::vector<Request> rows;
    std::vector<test::Eb22Line> lines;
    for (long long i = 1; i <= 150; ++i) {
        rows.push_back({i, Member(5000), 5000});
        lines.push_back({i, 5000, i % 10 == 0 ? "N" : " ", i % 10 == 0 ? "0014" : "0000"});
    }
    Eb21("261204", rows);
    DropEb22("261204", lines);
    const auto run = ApplyEb22Files(*db, session, ui, InProcess());
    EXPECT_EQ(run.succeeded, 1);
    EXPECT_EQ(stagedAtCall, std::vector<long long>{150});
    EXPECT_EQ(Count("file_ea21", "result='N'"), 15);
    EXPECT_EQ(Count("pay_pross"), 135);
    EXPECT_EQ(Ea21("false_commission"), std::to_string(kFalseFee * 15));
    EXPECT_EQ(Count("member_user", "cms_status='8' and cms_error='해지된 계좌'"), 15);
}

TEST_F(Eb22ApplyTest, MalformedFilesAreDeletedAndLeaveTheirEb21Claimed) {
    const std::string h = test::Eb22Header("EB221204", "261204");
    const std::string t = test::Eb22Trailer("EB221204");
    const std::string r1 = test::Eb22Record({1, 10000, " ", "0000"});
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"header names EB220311", test::Eb22Header("EB220311", "261204") + r1 + t,
         kEb22OtherNameText},
        {"header dated 261203",
         test::Eb22Header("EB221204", "261204") + r1 + test::Eb22Header("EB221204", "261203") + t,
         kEb22OtherDateText},
        {"record type Z", h + r1 + test::Eb22Record({2, 10000, " ", ""}, "Z") + t,
         kEb22BadRecordText},
        {"result Q", h + r1 + test::Eb22Record({2, 10000, "Q", "0000"}) + t, kEb22BadResultText},
    };
    for (const Case& c : cases) {
        db->ExecuteSql("delete from " + schema + ".ea21");
        db->ExecuteSql("delete from " + schema + ".file_ea21");
        db->ExecuteSql("delete from " + schema + ".member_user");
        ui.shown.clear();
        calls.clear();
        Eb21("261204", {{1, Member(10000), 10000}, {2, Member(10000), 10000}});
        const fs::path path = ResultPath(session, "1204");
        test::WriteBytes(path, c.bytes);

        const auto run = ApplyEb22Files(*db, session, ui, InProcess());

        EXPECT_EQ(run.failed, 1) << c.what;
        EXPECT_TRUE(calls.empty()) << c.what;
        ASSERT_GE(ui.shown.size(), 2u) << c.what;
        EXPECT_EQ(ui.shown[0].text, c.message) << c.what;
        EXPECT_EQ(ui.shown[0].title, "[EB221204] 처리불가") << c.what;
        EXPECT_EQ(ui.shown[1].text, Eb22SummaryText(0, 1)) << c.what;
        EXPECT_FALSE(fs::exists(path)) << c.what;
        EXPECT_EQ(Ea21("pross_stat"), "9") << c.what;
        EXPECT_EQ(Count("file_ea21_run"), 0) << c.what;
        ExpectNothingBooked(c.what);
    }
    EXPECT_EQ(LogLines("EB221204 파일처리 실패"), 4);
}

TEST_F(Eb22ApplyTest, TextFilesAreDeletedAndAnEmptyFolderSaysSo) {
    ExpectForeignFilesDeleted(
        [this] { return ApplyEb22Files(*db, session, ui, InProcess()).noFiles; }, kNoEb22FilesText);
}

TEST_F(Eb22ApplyTest, AResultWhoseEb21IsNotWaitingStopsTheRun) {
    // Another desk is applying 1203; 1204 sorts after it and is not reached.
    const long long m = Member(10000);
    Eb21("261203", {{1, Member(10000), 10000}}, "9");
    Eb21("261204", {{1, m, 10000}});
    DropEb22("261203", {{1, 10000, " ", "0000"}});
    DropEb22("261204", {{1, 10000, " ", "0000"}});
    const auto run = ApplyEb22Files(*db, session, ui, InProcess());
    EXPECT_TRUE(run.stopped);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, Eb22BusyText("261203"));
    EXPECT_EQ(ui.shown[0].title, "[EB21261203] 파일 적용 처리불가");
    EXPECT_EQ(Ea21("pross_stat"), "0");
    EXPECT_EQ(MemberField(m, "cms_status"), "6");
    EXPECT_TRUE(fs::exists(ResultPath(session, "1203")));
    EXPECT_TRUE(fs::exists(ResultPath(session, "1204")));
}

TEST_F(Eb22ApplyTest, AServerReplyOtherThanDoneIsShownAndNothingIsBooked) {
    Eb21("261204", {{1, Member(10000), 10000}});
    DropEb22("261204", {{1, 10000, " ", "0000"}});
    const auto run = ApplyEb22Files(*db, session, ui, [](long long, long long, const std::string&) {
        return std::string("DB 오류");
    });
    EXPECT_EQ(run.failed, 1);
    EXPECT_EQ(ui.shown.at(0).text, std::string("DB 오류\r\n\r\n") + kEb22HelpDeskText);
    EXPECT_EQ(ui.shown.at(0).title, "[EB221204] 파일처리 실패");
    EXPECT_EQ(ui.shown.back().text, Eb22SummaryText(0, 1));
    EXPECT_EQ(LogLines("EB221204 파일처리 실패 : DB 오류"), 1);
    EXPECT_EQ(Ea21("pross_stat"), "9");
    EXPECT_EQ(Count("file_ea21_run"), 1);  // left for the help desk
    ExpectNothingBooked("reply");
}

// The script books a file once, and refuses staged results that do not
// answer the file's requests, leaving everything as it was.
TEST_F(Eb22ApplyTest, TheResultScriptBooksOnceAndRefusesResultsThatDoNotFit) {
    const long long a = Member(10000), b = Member(20000);
    Eb21("261204", {{1, a, 10000}, {2, b, 20000}}, "9");
    auto stage = [&](const std::string& values) {
        db->ExecuteSql("delete from " + schema + ".file_ea21_run");
        if (!values.empty())
            db->ExecuteSql("insert into " + schema + ".file_ea21_run values " + values);
    };
    struct Case {
        const char* what;
        std::string staged, reply;
    };
    const std::string file = "[EB21261204] ";
    for (const Case& c :
         std::vector<Case>{{"a serial the file lacks", "(1,'','',0),(2,'','',0),(3,'N','0011',0)",
                            file + "파일에 없는 일련번호의 결과가 1건 있습니다."},
                           {"a request without result", "(1,'','',0)",
                            file + "결과가 없는 출금의뢰가 1건 있습니다."},
                           {"a partial above the request", "(1,'','',0),(2,'P','0011',20001)",
                            file + "잘못된 출금결과가 1건 있습니다."},
                           {"a partial of nothing", "(1,'','',0),(2,'P','0011',0)",
                            file + "잘못된 출금결과가 1건 있습니다."},
                           {"an unknown result", "(1,'','',0),(2,'Y','0000',0)",
                            file + "잘못된 출금결과가 1건 있습니다."}}) {
        stage(c.staged);
        EXPECT_EQ(ApplyEb22Results(*db, inst.inx, "261204", "26-12-04"), c.reply) << c.what;
        EXPECT_EQ(Ea21("pross_stat"), "9") << c.what;
        ExpectNothingBooked(c.what);
    }
    // Money taken for a member who is gone cannot be booked: the file waits.
    Eb21("261206", {{1, a, 5000}, {2, 987654321, 7000}}, "9");
    stage("(1,'','',0),(2,'','',0)");
    EXPECT_EQ(ApplyEb22Results(*db, inst.inx, "261206", "26-12-06"),
              "[EB21261206] 회원이 없는 출금내역이 1건 있습니다.");
    EXPECT_EQ(Ea21("pross_stat", "261206"), "9");
    ExpectNothingBooked("a member who is gone");
    EXPECT_EQ(Count("file_ea21", "reg_date='261206' and result_code<>''"), 0);
    // Not claimed: nothing happens.
    Eb21("261205", {}, "0");
    EXPECT_NE(ApplyEb22Results(*db, inst.inx, "261205", "26-12-05"), kScriptDoneReply);
    EXPECT_EQ(Ea21("pross_stat", "261205"), "0");

    stage("(1,'','',0),(2,'N','Q999',0)");
    EXPECT_EQ(ApplyEb22Results(*db, inst.inx, "261204", "26-12-04"), kScriptDoneReply);
    EXPECT_EQ(MemberField(b, "cms_error"), kUnknownWithdrawalErrorText);
    EXPECT_EQ(MemberField(a, "pay_nonpayment"), "0");
    // A repeated request books nothing twice and leaves the fees alone.
    stage("(1,'','',0),(2,'','',0)");
    EXPECT_NE(ApplyEb22Results(*db, inst.inx, "261204", "26-12-04"), kScriptDoneReply);
    EXPECT_EQ(Count("pay_pross"), 1);
    EXPECT_EQ(MemberField(a, "pay_nonpayment"), "0");
    EXPECT_EQ(MemberField(b, "cms_status"), "8");
    EXPECT_EQ(Ea21("ok_commission"), std::to_string(kOkFee));
    EXPECT_EQ(Ea21("false_commission"), std::to_string(kFalseFee));
    for (const char* bad : {"", "26120", "2612041", "26120x", "' or 1"})
        EXPECT_EQ(ApplyEb22Results(*db, inst.inx, bad, "26-12-04"), "잘못된 파일일자") << bad;
    EXPECT_EQ(ApplyEb22Results(*db, inst.inx, "261204", "261204"), "잘못된 처리일자");
}

TEST_F(Eb22ApplyTest, OfTwoDesksApplyingOneFileExactlyOneApplies) {
    std::vector<Request> rows;
    std::vector<test::Eb22Line> lines;
    for (long long i = 1; i <= 40; ++i) {
        rows.push_back({i, Member(7000), 7000});
        lines.push_back({i, 7000, i % 2 ? "N" : " ", "0013"});
    }
    Eb21("261204", rows);
    std::atomic<int> applied{0}, refused{0}, serverCalls{0};
    auto desk = [&](const std::string& folder) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        SessionContext s = session;
        s.SystemDrive = (root / folder).string() + "/";
        test::WriteBytes(ResultPath(s, "1204"), test::Eb22Bytes("EB221204", "261204", lines));
        test::ScriptedInteraction deskUi;
        const auto run =
            ApplyEb22Files(*conn, s, deskUi, [&](long long inx, long long, const std::string& d) {
                ++serverCalls;
                return ApplyEb22Results(*conn, inx, d, "26-12-04");
            });
        applied += run.succeeded;
        if (run.stopped && deskUi.shown.at(0).text == Eb22BusyText("261204")) ++refused;
    };
    std::thread a(desk, "desk1"), b(desk, "desk2");
    a.join();
    b.join();
    EXPECT_EQ(applied.load(), 1);
    EXPECT_EQ(refused.load(), 1);
    EXPECT_EQ(serverCalls.load(), 1);
    EXPECT_EQ(Count("pay_pross"), 20);
    EXPECT_EQ(Ea21("rtnok_money"), std::to_string(20 * 7000));
    EXPECT_EQ(Ea21("false_commission"), std::to_string(20 * kFalseFee));
}

// Every result file goes to the service's backup folder byte for byte
// before it is applied; a backup server that does not take it is logged
// and holds nothing back.
TEST_F(Eb22ApplyTest, ResultFileIsBackedUpBeforeApplyingAndAFailedBackupStopsNothing) {
    const fs::path app = root / "app", server = root / "server";
    fs::create_directories(app);
    fs::create_directories(server / "html" / "fileback_21");
    std::ofstream(root / "blocked") << "not a folder";
    session.AppPath = app.string() + "/";
    struct Case {
        const char* yymmdd;
        std::string ftp;
        bool arrives;
    };
    for (const Case& c : {Case{"261204", "file://" + server.string(), true},
                          // A file where the server's folder should be: nothing can land.
                          Case{"261205", "file://" + (root / "blocked").string(), false}}) {
        ProfileIni(JoinPath(session.AppPath, "Login.ini")).write("SYSTEM", "FTPCONNIP", c.ftp);
        const long long m = Member(10000);
        Eb21(c.yymmdd, {{1, m, 10000}});
        const std::string name = "EB22" + std::string(c.yymmdd).substr(2);
        // Hangul in a free field: the copy must keep the file's own bytes.
        std::string bytes = test::Eb22Bytes(name, c.yymmdd, {{1, 10000, " ", "0000"}});
        bytes.replace(150 + 100, 4, "\xb1\xe8\xc7\xcf");
        test::WriteBytes(ResultPath(session, std::string(c.yymmdd).substr(2)), bytes);

        EXPECT_EQ(ApplyEb22Files(*db, session, ui, InProcess()).succeeded, 1) << c.yymmdd;
        EXPECT_EQ(Ea21("pross_stat", c.yymmdd), "1") << c.yymmdd;
        const fs::path copy = server / "html" / "fileback_21" / name;
        EXPECT_EQ(fs::exists(copy), c.arrives) << c.yymmdd;
        if (c.arrives) {
            std::ifstream in(copy, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
        }
        EXPECT_EQ(LogLines(name + " 백업파일 전송 실패"), c.arrives ? 0 : 1) << c.yymmdd;
    }
}

TEST_F(Eb22ApplyTest, AppliedThroughTheServiceWebServerOnLoopback) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    const long long m = Member(12000), n = Member(8000);
    Eb21("261204", {{1, m, 12000}, {2, n, 8000}});
    DropEb22("261204", {{1, 12000, " ", "0000"}, {2, 8000, "N", "0015"}});
    const auto run = ApplyEb22Files(*db, session, ui, ServiceWebEb22Request(web.webHost()));
    EXPECT_EQ(run.succeeded, 1) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(MemberField(m, "cms_status"), "7");
    EXPECT_EQ(MemberField(n, "cms_error"), "예금주 실명번호 불일치");
    const std::string log = web.requestLog();
    for (const std::string& key :
         {"loginuserid=tps_" + std::to_string(inst.inx), std::string("fileday=261204"),
          std::string("saveday=26-12-04"), std::string("dboldid=")})
        EXPECT_NE(log.find(key), std::string::npos) << key << " in " << log;
    EXPECT_EQ(Sum("pay_pross", "input_pay", "signdate='26-12-04'"), 12000);
    // A second request for the applied file changes nothing and answers why.
    const std::string again = ServiceWebEb22Request(web.webHost())(inst.inx, 0, "261204");
    EXPECT_NE(again, kScriptDoneReply);
    EXPECT_EQ(Count("pay_pross"), 1);
    EXPECT_NE(ServiceWebEb22Request("http://127.0.0.1:1")(inst.inx, 0, "261204"), kScriptDoneReply);
}

TEST_F(Eb22ApplyTest, TheEb21ScreenOpensOnlyWithAMemberDue) {
    struct Case {
        std::string settle, status, remove;
        long long outstanding;
        bool due;
    };
    for (const Case& c : std::vector<Case>{{"1", "3", "1", 1, true},
                                           {"1", "7", "1", 500, true},
                                           {"1", "8", "1", 500, true},
                                           {"1", "6", "1", 500, false},
                                           {"1", "3", "1", 0, false},
                                           {"1", "3", "2", 500, false},
                                           {"2", "3", "1", 500, false}}) {
        db->ExecuteSql("delete from " + schema + ".member_user");
        test::MemberRow m;
        m.settle_accounts = c.settle;
        m.cms_status = c.status;
        m.remove = c.remove;
        m.pay_nonpayment = c.outstanding;
        test::InsertMember(*db, inst.inx, m);
        EXPECT_EQ(HasWithdrawalTargets(*db, session), c.due)
            << c.settle << "/" << c.status << "/" << c.remove << "/" << c.outstanding;
    }
}

}  // namespace
}  // namespace qx
