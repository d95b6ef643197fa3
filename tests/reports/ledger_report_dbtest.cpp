// The monthly, daily, per-member and annual reports against a real server:
// the split of substitute collections, summaries by manager, deleted
// members left out, monthdiv filled by the server script and the
// outstanding rate of monthly and instalment members; bad input refused.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "ledger/server_scripts.h"
#include "reports/ledger_report.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

class LedgerReportTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override { OpenInstitution(1); }
    long long Member(const std::string& name, const std::string& manager, test::MemberRow m = {}) {
        m.username = name;
        const long long id = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema + ".member_user set client_manager=? where member_inx=?",
                       {manager, id});
        return id;
    }
    // paystat 0 sale, 1 collection, with the method code and title booked.
    void Row(long long member, long long amount, const std::string& signdate,
             const std::string& paystat, const std::string& title, const std::string& code = "1") {
        db->ExecuteSql("insert into " + schema +
                           ".pay_pross (userlink_inx, input_pay, paystat, settle_code, "
                           "settle_title, signdate) values (?,?,?,?,?,?)",
                       {member, amount, paystat, code, title, signdate});
    }
    LedgerQuery Months(int from, int to) {
        LedgerQuery q;
        q.period = {{2026, from, 1}, {2026, to, 1}};
        return q;
    }
};

TEST_F(LedgerReportTest, MonthlyAndDailySumsSplitSubstituteCollections) {
    const long long a = Member("가", "김"), b = Member("나", ""),
                    gone = Member("다", "김", {.remove = "4"});
    Row(a, 10000, "26-03-05", "0", "CMS출금");
    Row(a, 7000, "26-03-25", "1", "CMS");
    Row(a, 2000, "26-03-31", "1", "대체수금");
    Row(b, 4000, "26-03-10", "0", "직접수납", "2");
    Row(b, 4000, "26-03-10", "1", "대체수금", "2");
    Row(gone, 99000, "26-03-10", "0", "CMS출금");
    Row(a, 10000, "26-04-01", "0", "CMS출금");
    Row(a, 500, "26-02-28", "1", "CMS");  // before the months

    const ReportTable monthly = LedgerSummary(*db, session, Months(3, 4));
    const std::vector<std::vector<std::string>> expected = {
        {"26-04", "CMS출금", "10,000", "0", "0", "0"},
        {"26-03", "CMS출금", "10,000", "7,000", "2,000", "9,000"},
        {"26-03", "직접수납", "4,000", "0", "4,000", "4,000"}};
    EXPECT_EQ(monthly.rows, expected);

    LedgerQuery byManager = Months(3, 3);
    byManager.grouping = LedgerGrouping::kManager;
    const std::vector<std::vector<std::string>> managers = {
        {"김", "10,000", "7,000", "2,000", "9,000"}, {"없음", "4,000", "0", "4,000", "4,000"}};
    EXPECT_EQ(LedgerSummary(*db, session, byManager).rows, managers);

    LedgerQuery onlyNone = Months(3, 3);
    onlyNone.filter.manager = "없음";
    ASSERT_EQ(LedgerSummary(*db, session, onlyNone).rows.size(), 1u);

    LedgerQuery daily;
    daily.monthly = false;
    daily.period = {{2026, 3, 10}, {2026, 3, 31}};
    const ReportTable days = LedgerSummary(*db, session, daily);
    ASSERT_EQ(days.rows.size(), 3u);
    EXPECT_EQ(days.rows[0][0], "26-03-31");
    EXPECT_EQ(days.rows[2][0], "26-03-10");

    const ReportTable detail = LedgerPeriodDetail(*db, session, Months(3, 3), "26-03");
    ASSERT_EQ(detail.rows.size(), 2u);
    EXPECT_EQ(detail.rows[0][0].size(), 10u);
    EXPECT_EQ(detail.rows[0][4], "가");
    EXPECT_EQ(detail.rows[0][5], "10,000");
    EXPECT_EQ(detail.rows[0][6], "9,000");

    const ReportTable perMember = MemberReport(*db, session, {{2026, 3, 1}, {2026, 3, 31}}, {});
    ASSERT_EQ(perMember.rows.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(perMember.rows[0].end() - 4, perMember.rows[0].end()),
              (std::vector<std::string>{"10,000", "7,000", "2,000", "9,000"}));
}

TEST_F(LedgerReportTest, AnnualReportFromMonthdivWithTheOutstandingRate) {
    const long long monthly =
        Member("월", "", {.pay_nonpayment = 15000, .pay_monthdefault = 10000});
    const long long instalment = Member("할부", "",
                                        {.pay_nonpayment = 5000,
                                         .pay_monthdefault = 10000,
                                         .pay_agreement = 100000,
                                         .pay_prossagreement = 40000,
                                         .account_divide = "3"});
    const long long none = Member("없음", "", {.pay_nonpayment = 5000});
    Row(monthly, 10000, "26-03-05", "0", "CMS출금");
    Row(monthly, 6000, "26-03-25", "1", "CMS");
    Row(monthly, 10000, "26-12-31", "0", "CMS출금");
    Row(monthly, 777, "25-03-05", "0", "CMS출금");  // another year
    Row(instalment, 1000, "26-01-01", "1", "CMS");

    int calls = 0;
    const MonthdivRequest fill = [&](long long inx, long long branch, int year) {
        ++calls;
        return FillMonthdiv(*db, inx, branch, year);
    };
    const ReportTable t = AnnualReport(*db, session, 2026, {}, fill);
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(t.rows.size(), 3u);
    auto cell = [&](std::size_t row, const std::string& caption) {
        for (std::size_t c = 0; c < t.columns.size(); ++c)
            if (t.columns[c].caption == caption) return t.rows[row][c];
        return std::string("no column ") + caption;
    };
    EXPECT_EQ(cell(0, "3월(매출)"), "10,000");
    EXPECT_EQ(cell(0, "3월(수금)"), "6,000");
    EXPECT_EQ(cell(0, "12월(매출)"), "10,000");
    EXPECT_EQ(cell(0, "1월(매출)"), "0");
    EXPECT_EQ(cell(0, "미수율"), "150");
    EXPECT_EQ(cell(1, "1월(수금)"), "1,000");
    EXPECT_EQ(cell(1, "미수율"), "50/600");
    EXPECT_EQ(cell(2, "미수율"), "0");
    EXPECT_EQ(cell(0, "회원상태"), "정상");
    EXPECT_EQ(t.columns.size(), 14u + 24u + 1u);
    (void)none;

    // A refill replaces the year's figures; the server's refusal leaves no grid.
    EXPECT_EQ(FillMonthdiv(*db, inst.inx, 0, 2025), kScriptDoneReply);
    EXPECT_EQ(
        db->scalarInt("select sg3 from " + schema + ".monthdiv where member_inx=?", {monthly}),
        777);
    EXPECT_THROW(AnnualReport(*db, session, 2026, {},
                              [](long long, long long, int) { return std::string(); }),
                 std::runtime_error);
}

TEST_F(LedgerReportTest, TwoDesksFillingMonthdivAtOnceLeaveTheYearWhole) {
    std::vector<long long> members;
    for (int i = 0; i < 40; ++i) {
        members.push_back(Member("회원" + std::to_string(i), ""));
        Row(members.back(), 1000 + i, "26-0" + std::to_string(1 + i % 9) + "-15", "0", "CMS출금");
        Row(members.back(), 500, "26-11-30", "1", "CMS");
    }
    auto desk = [&] {
        auto own = test::ConnectTestDatabase();
        for (int round = 0; round < 5; ++round)
            EXPECT_EQ(FillMonthdiv(*own, inst.inx, 0, 2026), kScriptDoneReply);
    };
    std::thread a(desk), b(desk);
    a.join();
    b.join();
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".monthdiv"), 40);
    EXPECT_EQ(db->scalarInt("select sum(sg1+sg2+sg3+sg4+sg5+sg6+sg7+sg8+sg9+sg10+sg11+sg12) "
                            "from " +
                            schema + ".monthdiv"),
              40 * 1000 + 39 * 40 / 2);
    EXPECT_EQ(db->scalarInt("select sum(st11) from " + schema + ".monthdiv"), 40 * 500);
}

// Two desks asking for different years at once: each report shows its own
// year, never the other desk's fill of the shared table; a desk that cannot
// get its turn is told so.
TEST_F(LedgerReportTest, AnnualReportsOfTwoDesksShowTheirOwnYear) {
    const long long m = Member("회원", "");
    Row(m, 2025, "25-03-05", "0", "CMS출금");
    Row(m, 2026, "26-03-05", "0", "CMS출금");
    std::promise<void> filled;
    auto filledOnce = filled.get_future().share();
    auto sales = [](const ReportTable& t) {
        for (std::size_t c = 0; c < t.columns.size(); ++c)
            if (t.columns[c].caption == "3월(매출)") return t.rows.at(0)[c];
        return std::string();
    };
    std::string first, second;
    std::thread a([&] {
        auto own = test::ConnectTestDatabase();
        first = sales(AnnualReport(*own, session, 2025, {}, [&](long long inx, long long b, int y) {
            const std::string answer = FillMonthdiv(*own, inx, b, y);
            filled.set_value();
            // The other desk asks while this one has filled and not yet read.
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            return answer;
        }));
    });
    std::thread b([&] {
        filledOnce.wait();
        auto own = test::ConnectTestDatabase();
        second =
            sales(AnnualReport(*own, session, 2026, {}, [&](long long inx, long long br, int y) {
                return FillMonthdiv(*own, inx, br, y);
            }));
    });
    a.join();
    b.join();
    EXPECT_EQ(first, "2,025");
    EXPECT_EQ(second, "2,026");

    auto holder = test::ConnectTestDatabase();
    ASSERT_EQ(holder->scalarInt("select get_lock(?,0)", {"quorisdex_monthdiv_" + schema}), 1);
    try {
        AnnualReport(
            *db, session, 2026, {},
            [](long long, long long, int) {
                ADD_FAILURE() << "filled without its turn";
                return std::string(kScriptDoneReply);
            },
            1);
        ADD_FAILURE() << "no refusal";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), kAnnualReportBusyText);
    }
}

TEST(OutstandingRate, MonthlyAndInstalmentMembersBothSidesOfZero) {
    struct Case {
        long long nonpay, monthly;
        const char* divide;
        long long agreement, done;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{15000, 10000, "1", 0, 0, "150"},
                                           {0, 10000, "1", 0, 0, "0"},
                                           {-500, 10000, "1", 0, 0, "0"},
                                           {5000, 0, "1", 0, 0, "0"},
                                           {5000, 10000, "3", 100000, 40000, "50/600"},
                                           {5000, 10000, "3", 40000, 40000, "50/0"},
                                           {5000, 10000, "3", 30000, 40000, "50/0"},
                                           {3333, 10000, "1", 0, 0, "33"}})
        EXPECT_EQ(OutstandingRateText(c.nonpay, c.monthly, c.divide, c.agreement, c.done), c.text);
}

TEST_F(LedgerReportTest, BadInputIsRefusedWithAClearMessage) {
    Member("가", "김");
    struct Case {
        const char* name;
        std::function<void()> run;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"reversed period", [] { CheckedPeriod("2026-03-31", "2026-03-01"); },
         "조회기간의 시작일이 종료일보다 늦습니다."},
        {"not a day", [] { CheckedPeriod("2026-02-30", "2026-03-01"); },
         "조회 시작일이 잘못 되었습니다: 2026-02-30"},
        {"reversed months", [] { CheckedMonths("2026-04", "2026-03"); },
         "조회기간의 시작일이 종료일보다 늦습니다."},
        {"month 13", [] { CheckedMonths("2026-13", "2026-12"); },
         "조회 시작월이 잘못 되었습니다: 2026-13"},
        {"two-digit year", [] { CheckedYear("26"); }, "조회년도가 잘못 되었습니다: 26"},
        {"not a year", [] { CheckedYear("20x6"); }, "조회년도가 잘못 되었습니다: 20x6"},
        {"a year the ledger cannot hold", [] { CheckedYear("1999"); },
         "조회년도가 잘못 되었습니다: 1999"},
        {"unknown branch",
         [&] {
             MemberReport(*db, session, {{2026, 3, 1}, {2026, 3, 2}}, {"99"});
         },
         "조회할 수 없는 지사입니다: 99"},
        {"unknown agency",
         [&] {
             MemberReport(*db, session, {{2026, 3, 1}, {2026, 3, 2}}, {"", "77"});
         },
         "조회할 수 없는 대리점입니다: 77"},
        {"unknown manager",
         [&] {
             MemberReport(*db, session, {{2026, 3, 1}, {2026, 3, 2}}, {"", "", "박"});
         },
         "조회할 수 없는 담당자입니다: 박"},
        {"hostile manager",
         [&] {
             MemberReport(*db, session, {{2026, 3, 1}, {2026, 3, 2}}, {"", "", "' or 1=1 --"});
         },
         "조회할 수 없는 담당자입니다: ' or 1=1 --"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.run();
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    // A branch user cannot pick another branch.
    const SessionContext branchUser = test::SessionFor(inst, 7);
    EXPECT_THROW(MemberReport(*db, branchUser, {{2026, 3, 1}, {2026, 3, 2}}, {"0"}),
                 std::invalid_argument);
}

}  // namespace
}  // namespace qx
