// EB21 against a real server: what the server prepares from the ledger, how
// the screen groups it, the monthly limit, what the file holds byte for
// byte, what is recorded, and that a refused or interrupted creation leaves
// nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include "cms/eb21/eb21_creation.h"
#include "cms/eb21/eb21_preparation.h"
#include "cms/eb21/eb21_record.h"
#include "cms/eb21/eb21_targets.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "ledger/server_scripts.h"
#include "platform/codepage.h"
#include "platform/profile_ini.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

const CivilDate kMonday{2026, 3, 16};

class Eb21Test : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(1);
        root = fs::temp_directory_path() / ("qx-eb21-" + std::to_string(inst.inx));
        fs::create_directories(root);
        session.SystemDrive = root.string() + "/";
        session.month_divide_switch = true;
        test::PinServerClock(*db, "2026-03-13 10:00:00");
        Company(
            "month_out_limit=100000000, ok_commission=300, no_commission=100, "
            "bank_code='88', account_code='110-123-456789', account_title='hanbit coop', "
            "cms_print='회비,후원금'");
    }
    void TearDown() override {
        test::UnpinServerClock(*db);
        fs::remove_all(root);
    }
    void Company(const std::string& sets) {
        db->ExecuteSql("update quorisdex.admin_company set " + sets + " where inx=?", {inst.inx});
    }
    long long Member(long long nonpay, const std::string& cmsStatus = "3",
                     const std::string& extra = "") {
        test::MemberRow m;
        m.cms_status = cmsStatus;
        m.pay_nonpayment = nonpay;
        const long long id = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema +
                           ".member_user set bank_code='0040000', account_no='12345678901', "
                           "account_jumin='8001011234567', pay_monthdefault=10000" +
                           (extra.empty() ? "" : "," + extra) + " where member_inx=?",
                       {id});
        return id;
    }
    void Sale(long long member, long long amount, const std::string& day) {
        test::InsertLedgerRow(*db, inst.inx, member, amount, day);
    }
    // userinx, rep_day, firstpay, addcount of newpay, ordered.
    std::vector<std::string> Prepared(const std::string& nuday = "260313100000") {
        PrepareBillableItems(*db, inst.inx, nuday, "26-03");
        std::vector<std::string> out;
        const auto rs = db->OpenRecordset("select userinx,rep_day,firstpay,addcount from " +
                                          schema + ".newpay order by userinx,rep_day desc");
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back(rs[i]["userinx"] + " " + rs[i]["rep_day"] + " " + rs[i]["firstpay"] +
                          " " + rs[i]["addcount"]);
        return out;
    }
    BillablePreparer Direct() {
        return [this](const std::string& nuday, const std::string& setmonth) {
            PrepareBillableItems(*db, inst.inx, nuday, setmonth);
            return std::string(kScriptDoneReply);
        };
    }
    Eb21Search Search(const Eb21Options& o) {
        return SearchEb21Targets(*db, session, ui, kMonday, o, Direct());
    }
    Eb21Result Create(const std::vector<Eb21Row>& rows, const CivilDate& date = kMonday) {
        Eb21Request r;
        r.fileDate = date;
        r.rows = rows;
        return CreateEb21File(*db, session, ui, r);
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }
    std::string Status(long long member) {
        return db->scalar("select cms_status from " + schema + ".member_user where member_inx=?",
                          {member});
    }
    std::vector<std::string> FolderEntries() {
        std::vector<std::string> names;
        const fs::path folder = ExchangeFolder(session, "EB21");
        if (!fs::exists(folder)) return names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
        return names;
    }
    void ExpectNothingWritten(const std::vector<long long>& members) {
        EXPECT_EQ(Count("file_ea21"), 0);
        EXPECT_EQ(Count("ea21"), 0);
        EXPECT_TRUE(FolderEntries().empty());
        for (long long m : members) EXPECT_EQ(Status(m), "3") << m;
    }

    test::ScriptedInteraction ui;
    fs::path root;
};

std::string N(long long id) {
    return std::to_string(id);
}

TEST_F(Eb21Test, ServerSpreadsTheOutstandingAmountNewestFirst) {
    // Partly paid: 25,000 outstanding of three sales of 10,000.
    const long long partly = Member(25000);
    for (const char* d : {"26-01-10", "26-02-10", "26-03-10"}) Sale(partly, 10000, d);
    // More outstanding than the sales explain: one older row of the rest.
    const long long more = Member(35000, "8");
    for (const char* d : {"26-01-10", "26-02-10", "26-03-10"}) Sale(more, 10000, d);
    // No sale at all: the rest is dated before the previous month.
    const long long none = Member(7000, "7");
    // Not billable: requested already, cancelled, nothing owed, another method.
    Sale(Member(5000, "6"), 5000, "26-03-10");
    Sale(Member(0), 5000, "26-03-10");
    const long long removed = Member(5000);
    db->ExecuteSql("update " + schema + ".member_user set remove='2' where member_inx=?",
                   {removed});
    const long long giro = Member(5000);
    db->ExecuteSql("update " + schema + ".member_user set settle_accounts='3' where member_inx=?",
                   {giro});

    EXPECT_EQ(Prepared(), (std::vector<std::string>{
                              N(partly) + " 26-03-10 10000 3", N(partly) + " 26-02-10 10000 2",
                              N(partly) + " 26-01-10 5000 1", N(more) + " 26-03-10 10000 3",
                              N(more) + " 26-02-10 10000 2", N(more) + " 26-01-10 10000 1",
                              N(more) + " 26-01-09 5000 0", N(none) + " 26-01-31 7000 0"}));
    // A repeated request gives the same rows, not twice as many.
    EXPECT_EQ(Prepared().size(), 8u);

    // Sales dated after the creation day are left out, their part unbilled.
    Company("checkexcept_use='Y'");
    EXPECT_EQ(
        Prepared("260305090000"),
        (std::vector<std::string>{N(partly) + " 26-02-10 10000 2", N(partly) + " 26-01-10 5000 1",
                                  N(more) + " 26-02-10 10000 2", N(more) + " 26-01-10 10000 1",
                                  N(more) + " 26-01-09 5000 0", N(none) + " 26-01-31 7000 0"}));
    Company("checkexcept_use='N'");

    // Two months at most: the newest two, the rest not billed.
    db->ExecuteSql("update " + schema + ".member_user set month_max=2 where member_inx in (?,?)",
                   {partly, more});
    EXPECT_EQ(Prepared(), (std::vector<std::string>{
                              N(partly) + " 26-03-10 10000 3", N(partly) + " 26-02-10 10000 2",
                              N(more) + " 26-03-10 10000 3", N(more) + " 26-02-10 10000 2",
                              N(none) + " 26-01-31 7000 0"}));
    EXPECT_THROW(PrepareBillableItems(*db, inst.inx, "26031310000", "26-03"),
                 std::invalid_argument);
}

TEST_F(Eb21Test, MethodsGroupRegularAndUnpaidInBothMonthModes) {
    const long long a = Member(35000);
    Sale(a, 10000, "26-01-10");
    Sale(a, 10000, "26-02-10");
    Sale(a, 10000, "26-03-10");
    Sale(a, 5000, "26-03-20");
    const long long b = Member(4000);
    Sale(b, 4000, "26-03-10");

    using R = std::vector<std::string>;  // "member amount 정기/미납 date count kind"
    auto rows = [&](Eb21Amounts amounts, Eb21Method method,
                    Eb21Kind kind = Eb21Kind::UnpaidPartial) {
        Eb21Options o;
        o.amounts = amounts;
        o.method = method;
        o.kind = kind;
        const Eb21Search s = Search(o);
        EXPECT_FALSE(s.failed);
        R out;
        for (const auto& r : s.rows)
            out.push_back((r.member_inx == a ? "a " : "b ") + std::to_string(r.amount) +
                          (r.unpaid ? " 미납 " : " 정기 ") + r.saleDate + " " + r.addcount + " " +
                          r.amountKind);
        return out;
    };
    // The current month's sales are regular.
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::Monthly),
              (R{"b 4000 정기 2026-03 1 1", "a 10000 미납 2026-01 1 2", "a 10000 미납 2026-02 2 2",
                 "a 15000 정기 2026-03 4 1"}));
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::Item),
              (R{"b 4000 정기 2026-03-10 1 1", "a 10000 미납 2026-01-10 1 2",
                 "a 10000 미납 2026-02-10 2 2", "a 10000 정기 2026-03-10 3 1",
                 "a 5000 정기 2026-03-20 4 1"}));
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::Sum), (R{"b 4000 정기   1", "a 35000 정기   1"}));
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::MergeBoth),
              (R{"b 4000 정기   1", "a 20000 미납   2", "a 15000 정기   1"}));
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::MergeSplit),
              (R{"b 4000 정기 2026-03-10 1 1", "a 20000 미납   2", "a 10000 정기 2026-03-10 3 1",
                 "a 5000 정기 2026-03-20 4 1"}));
    EXPECT_EQ(rows(Eb21Amounts::Unpaid, Eb21Method::Sum, Eb21Kind::Partial),
              (R{"a 20000 미납   2"}));
    EXPECT_EQ(rows(Eb21Amounts::Regular, Eb21Method::Sum, Eb21Kind::Full),
              (R{"b 4000 정기   1", "a 15000 정기   1"}));

    // The previous month's sales are regular; the file month is not billed.
    session.month_divide_switch = false;
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::Monthly),
              (R{"a 10000 미납 2026-01 1 2", "a 10000 정기 2026-02 2 1"}));
    EXPECT_EQ(rows(Eb21Amounts::Both, Eb21Method::MergeBoth),
              (R{"a 10000 미납   2", "a 10000 정기   1"}));
    EXPECT_EQ(rows(Eb21Amounts::Unpaid, Eb21Method::Item, Eb21Kind::UnpaidPartial),
              (R{"a 10000 미납 2026-01-10 1 2"}));
}

TEST_F(Eb21Test, GridColumnsCarryPassbookHolderAndCashReceipt) {
    const long long a = Member(10000, "8",
                               "cms_printkey='2', cms_error='잔액부족', p_tax='5', "
                               "cash_receipt_info='01012345678'");
    Sale(a, 10000, "26-03-15");
    Company("cash_receipt_use='Y'");
    session.cash_receipt_code = "5";
    Eb21Options o;
    o.method = Eb21Method::Item;
    for (auto [passbook, want] : std::vector<std::pair<Eb21Passbook, std::string>>{
             {Eb21Passbook::Setting, PassbookText("후원금")},
             {Eb21Passbook::Month, "후원금03"},
             {Eb21Passbook::Instalment, "후원금01"}}) {
        o.passbook = passbook;
        const auto s = Search(o);
        ASSERT_EQ(s.rows.size(), 1u);
        EXPECT_EQ(s.rows[0].passbook, want);
    }
    const auto s = Search(o);
    const auto cells = Eb21GridCells(s.rows[0]);
    ASSERT_EQ(cells.size(), Eb21GridColumns().size());
    EXPECT_EQ(cells[0], PadPayerNumber(N(a), 10));
    EXPECT_EQ(cells[7], "잔액부족");
    EXPECT_EQ(cells[11], "0040000");
    EXPECT_EQ(cells[19], "01012345678");
    Company("cash_receipt_use='N'");
    EXPECT_EQ(Search(o).rows[0].cashReceipt, "");
}

TEST_F(Eb21Test, FailedPreparationStopsWithItsMessageAndTwoLogLines) {
    Sale(Member(10000), 10000, "26-03-10");
    const auto s = SearchEb21Targets(
        *db, session, ui, kMonday, {},
        [](const std::string&, const std::string&) { return std::string("DB error"); });
    EXPECT_TRUE(s.failed);
    EXPECT_TRUE(s.rows.empty());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb21PreparationFailedText});
    EXPECT_EQ(Count("pross_log",
                    "prostxt like '출금대상조회중 오류발생 updatepms21내용:DB error/URL"
                    "내용: &nuday=260313100000&setmonth=26-03/처리시간(시작:%'"),
              1);
    EXPECT_EQ(Count("pross_log", "prostxt='DB_WebSend rtn :[DB error]'"), 1);
}

TEST_F(Eb21Test, CreatesTheFileRecordsItAndMovesTheMembers) {
    Company("one_out_limit=0");
    std::vector<long long> members;
    for (int i = 0; i < 250; ++i) {
        members.push_back(Member(1000 + i, i % 2 ? "3" : "7"));
        Sale(members.back(), 1000 + i, "26-03-10");
    }
    Eb21Options o;
    o.method = Eb21Method::Sum;
    const auto s = Search(o);
    ASSERT_EQ(s.rows.size(), 250u);
    ui.answers = {true, false, false};
    ui.progressed.clear();
    const Eb21Result r = Create(s.rows);
    ASSERT_EQ(r.outcome, Eb21Outcome::Created);
    EXPECT_EQ(r.count, 250);
    const long long total = 250 * 1000 + 249 * 250 / 2;
    EXPECT_EQ(r.total, total);
    // Three statements of 100, 100 and 50 rows.
    EXPECT_EQ(ui.progressed, (std::vector<std::pair<long long, long long>>{
                                 {0, 250}, {100, 250}, {200, 250}, {250, 250}}));
    EXPECT_EQ(ui.shown.front().text,
              "총 '250' 건의 [EB210316] 파일을 생성합니다.\r\n진행하시겠습니까?");

    const auto file = ReadCmsFile(r.path, kLongRecordLength);
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->truncated);
    ASSERT_EQ(file->records.size(), 252u);
    EXPECT_EQ(fs::path(r.path).filename(), "EB210316");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"EB210316"});
    const std::string& first = file->records[1];
    EXPECT_EQ(first.substr(0, 9), "R00000001");
    EXPECT_EQ(first.substr(91, 20), PadPayerNumber(N(members.back()), 10) + std::string(10, ' '));
    EXPECT_EQ(first.substr(55, 13), "800101       ");
    EXPECT_EQ(first.substr(73, 16), ToCp949(PassbookText("hanbit coop", true)));
    EXPECT_EQ(file->records.back().substr(27, 29),
              "0000025000000250" + std::string(13 - std::to_string(total).size(), '0') +
                  std::to_string(total));

    EXPECT_EQ(Count("file_ea21"), 250);
    EXPECT_EQ(db->scalarInt("select sum(amount) from " + schema + ".file_ea21"), total);
    EXPECT_EQ(Count("file_ea21", "reg_date='260316' and oldcms_status='7' and amount_kind='1'"),
              125);
    EXPECT_EQ(Count("member_user", "cms_status='6'"), 250);
    const auto ea21 = db->OpenRecordset(
        "select filename,total_cnt,total_money,ok_commission,"
        "false_commission,pross_stat from " +
        schema + ".ea21");
    ASSERT_EQ(ea21.size(), 1u);
    EXPECT_EQ(ea21[0]["filename"], "EB21260316");
    EXPECT_EQ(ea21[0].asInt("total_cnt"), 250);
    EXPECT_EQ(ea21[0].asInt("total_money"), total);
    EXPECT_EQ(ea21[0]["ok_commission"], "300");
    EXPECT_EQ(ea21[0]["false_commission"], "100");
    EXPECT_EQ(Count("pross_log", "prostxt='EB210316 파일생성' and prosnum=5"), 1);
    EXPECT_EQ(ui.shown.back().text, kEb21ReturnQuestion);

    // A second file of the day is refused, even once the first has been sent.
    db->ExecuteSql("update " + schema + ".ea21 set send_stat='1'");
    ui.shown.clear();
    EXPECT_EQ(Create(s.rows).outcome, Eb21Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb21DuplicateText});
}

TEST_F(Eb21Test, RefusalsWriteNothing) {
    const long long a = Member(10000), b = Member(20000);
    Sale(a, 10000, "26-03-10");
    Sale(b, 20000, "26-03-10");
    auto rows = Search({}).rows;
    ASSERT_EQ(rows.size(), 2u);

    struct Case {
        std::string name;
        std::function<void(std::vector<Eb21Row>&)> arrange;
        CivilDate date;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"nothing selected",
         [](auto& v) {
             for (auto& r : v) r.selected = false;
         },
         kMonday, kEb21NoSelectionText},
        {"saturday", [](auto&) {}, CivilDate{2026, 3, 14}, kEb21HolidayText},
        {"sunday", [](auto&) {}, CivilDate{2026, 3, 15}, kEb21HolidayText},
        {"listed holiday", [](auto&) {}, CivilDate{2026, 3, 18}, kEb21HolidayText},
    };
    db->ExecuteSql(
        "insert ignore into quorisdex.holiday (inday, holiname) values "
        "('2026-03-18', '시험휴일')");
    for (const auto& c : cases) {
        auto v = rows;
        c.arrange(v);
        ui.shown.clear();
        EXPECT_EQ(Create(v, c.date).outcome, Eb21Outcome::Refused) << c.name;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{c.message}) << c.name;
        ExpectNothingWritten({a, b});
    }
    db->ExecuteSql("delete from quorisdex.holiday where inday='2026-03-18'");

    // Declined at the question.
    ui.shown.clear();
    ui.answers = {false};
    EXPECT_EQ(Create(rows).outcome, Eb21Outcome::Declined);
    ExpectNothingWritten({a, b});

    // A member requested elsewhere since the search stops the whole file.
    db->ExecuteSql("update " + schema + ".member_user set cms_status='6' where member_inx=?", {a});
    ui.shown.clear();
    ui.answers = {true};
    EXPECT_EQ(Create(rows).outcome, Eb21Outcome::Refused);
    EXPECT_EQ(ui.shown.back().text, kEb21StaleRowsText);
    EXPECT_EQ(Count("file_ea21"), 0);
    EXPECT_EQ(Count("ea21"), 0);
    EXPECT_TRUE(FolderEntries().empty());
    EXPECT_EQ(Status(b), "3");
}

TEST_F(Eb21Test, MonthlyLimitAcceptsExactlyTheRest) {
    Company("month_out_limit=10000000");
    const long long a = Member(1000001);
    Sale(a, 1000001, "26-03-10");
    // 9,000,000 already withdrawn by CMS this month; other collections do not count.
    db->ExecuteSql("insert into " + schema +
                       ".pay_pross (userlink_inx,input_pay,paystat,signdate,settle_title,"
                       "settle_code) values (?,9000000,'1','26-03-05','CMS','1'),"
                       "(?,500000,'1','26-03-05','현금','2'),(?,700000,'1','26-02-05','CMS','1')",
                   {a, a, a});
    const auto figures = LoadMonthFigures(*db, session, kMonday);
    EXPECT_EQ(figures.used, 9000000);
    EXPECT_EQ(figures.remaining(), 1000000);

    auto rows = Search({}).rows;
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].amount, 1000001);
    EXPECT_EQ(figures.excess(rows[0].amount), 1);
    ui.answers = {true};
    EXPECT_EQ(Create(rows).outcome, Eb21Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb21OverLimitText});
    ExpectNothingWritten({a});

    rows[0].amount = 1000000;
    ui.shown.clear();
    ui.answers = {true, false, false};
    EXPECT_EQ(Create(rows).outcome, Eb21Outcome::Created);
    // The unapplied file now counts as used.
    EXPECT_EQ(LoadMonthFigures(*db, session, kMonday).used, 10000000);
}

TEST_F(Eb21Test, InterruptedCreationLeavesNothing) {
    std::vector<long long> members;
    for (int i = 0; i < 150; ++i) {
        members.push_back(Member(1000));
        Sale(members.back(), 1000, "26-03-10");
    }
    const auto rows = Search({}).rows;
    ASSERT_EQ(rows.size(), 150u);
    // The second statement of rows fails on the server.
    db->ExecuteSql("create trigger " + schema +
                   ".eb21_fail before insert on file_ea21 for each row begin "
                   "if new.seq_num=120 then signal sqlstate '45000' set message_text='boom'; "
                   "end if; end");
    ui.answers = {true};
    EXPECT_THROW(Create(rows), DatabaseError);
    ExpectNothingWritten(members);
    db->ExecuteSql("drop trigger " + schema + ".eb21_fail");
}

TEST_F(Eb21Test, MemberWithRowsInTwoStatementsIsMovedOnce) {
    // Three items a member: the 34th member's rows are the 100th to 102nd,
    // split between the first and second statement.
    for (int i = 0; i < 50; ++i) {
        const long long m = Member(30000, "8");
        for (const char* d : {"26-01-10", "26-02-10", "26-03-10"}) Sale(m, 10000, d);
    }
    Eb21Options o;
    o.method = Eb21Method::Item;
    const auto rows = Search(o).rows;
    ASSERT_EQ(rows.size(), 150u);
    ASSERT_EQ(rows[99].member_inx, rows[100].member_inx);
    ui.answers = {true, false, false};
    EXPECT_EQ(Create(rows).outcome, Eb21Outcome::Created);
    EXPECT_EQ(Count("file_ea21", "oldcms_status='8'"), 150);
    EXPECT_EQ(Count("member_user", "cms_status='6'"), 50);
}

TEST_F(Eb21Test, TwoDesksSearchingAtOnceEachSeeTheirOwnItems) {
    const long long a = Member(20000);
    Sale(a, 10000, "26-02-10");
    Sale(a, 10000, "26-03-10");
    // The second desk bills the previous month, which takes the file month's
    // items out of the shared work table; it starts while the first desk's
    // server is still answering.
    auto other = test::ConnectTestDatabase();
    SessionContext otherSession = session;
    otherSession.month_divide_switch = false;
    test::ScriptedInteraction otherUi;
    Eb21Options item;
    item.method = Eb21Method::Item;
    std::vector<Eb21Row> mine, theirs;
    std::thread second;
    const BillablePreparer slow = [&](const std::string& nuday, const std::string& month) {
        PrepareBillableItems(*db, inst.inx, nuday, month);
        second = std::thread([&] {
            theirs = SearchEb21Targets(*other, otherSession, otherUi, kMonday, item,
                                       [&](const std::string& n, const std::string& m) {
                                           PrepareBillableItems(*other, inst.inx, n, m);
                                           return std::string(kScriptDoneReply);
                                       })
                         .rows;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        return std::string(kScriptDoneReply);
    };
    mine = SearchEb21Targets(*db, session, ui, kMonday, item, slow).rows;
    second.join();
    ASSERT_EQ(mine.size(), 2u);
    EXPECT_TRUE(mine[0].unpaid);
    EXPECT_FALSE(mine[1].unpaid);
    ASSERT_EQ(theirs.size(), 1u);
    EXPECT_EQ(theirs[0].repDay, "26-02-10");
    EXPECT_FALSE(theirs[0].unpaid);
}

}  // namespace
}  // namespace qx
