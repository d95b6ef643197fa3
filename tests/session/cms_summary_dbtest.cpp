#include <gtest/gtest.h>

#include <filesystem>

#include "admin/provisioning.h"
#include "platform/profile_ini.h"
#include "session/cms_summary.h"
#include "session/eb11_status.h"
#include "session/login.h"
#include "session/post_login.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

using test::InsertLedgerRow;
using test::InsertMember;

// A ledger with every kind of member the figures tell apart; the expected
// values are worked out by hand in the comments.
class CmsSummaryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = test::ConnectTestDatabase().release();
        inst_ = new test::TestInstitution(test::CreateTestInstitution(*db_));
        Database& db = *db_;
        const long long inx = inst_->inx;
        b1_ = inx * 10 + 1;
        a1_ = inx * 10 + 1;
        CreateBranch(db, {inx, b1_, 0, "b" + std::to_string(inx), "b1234", "서울지사"});
        CreateAgency(db, {inx, b1_, a1_, "a" + std::to_string(inx), "a1234", "강남대리점"});

        // A: 30,000 outstanding from three months of 10,000; a collection in March.
        const auto a = InsertMember(
            db, inx, {.pay_nonpayment = 30000, .pay_monthdefault = 10000, .start_date = "2026-01"});
        InsertLedgerRow(db, inx, a, 10000, "26-01-25");
        InsertLedgerRow(db, inx, a, 10000, "26-02-25");
        InsertLedgerRow(db, inx, a, 10000, "26-03-25");
        InsertLedgerRow(db, inx, a, 5000, "26-03-26", "1");
        // B: paid part of March's sale.
        const auto b = InsertMember(
            db, inx, {.pay_nonpayment = 5000, .pay_monthdefault = 10000, .start_date = "2025-12"});
        InsertLedgerRow(db, inx, b, 10000, "26-03-25");
        // C: nothing outstanding, nothing due.
        InsertMember(db, inx, {});
        // D, E: cancelled, and paying by hand: never counted.
        const auto d = InsertMember(
            db, inx, {.remove = "2", .pay_nonpayment = 9999, .pay_monthdefault = 9999});
        InsertLedgerRow(db, inx, d, 9999, "26-03-01");
        InsertMember(db, inx,
                     {.settle_accounts = "2", .pay_nonpayment = 7777, .pay_monthdefault = 7777});
        // F: starts in March, nothing booked yet.
        InsertMember(db, inx, {.pay_monthdefault = 20000, .start_date = "2026-03"});
        // G: starts in April.
        InsertMember(db, inx, {.pay_monthdefault = 15000, .start_date = "2026-04"});
        // H: instalments with 5,000 left to bill, 3,000 booked in March.
        const auto h = InsertMember(db, inx,
                                    {.pay_nonpayment = 10000,
                                     .pay_monthdefault = 10000,
                                     .pay_agreement = 100000,
                                     .pay_prossagreement = 85000,
                                     .account_divide = "3",
                                     .start_date = "2025-06"});
        InsertLedgerRow(db, inx, h, 3000, "26-03-10");
        // I: instalments all billed.
        InsertMember(db, inx,
                     {.pay_monthdefault = 10000,
                      .pay_agreement = 50000,
                      .pay_prossagreement = 50000,
                      .account_divide = "3",
                      .start_date = "2025-01"});
        // J: February's 9,000 and 3,000 older still open.
        const auto j = InsertMember(db, inx, {.pay_nonpayment = 12000});
        InsertLedgerRow(db, inx, j, 9000, "26-02-05");
        InsertLedgerRow(db, inx, j, 3000, "25-11-05");
        // L (branch): March's 4,000 open.
        const auto l = InsertMember(db, inx,
                                    {.branch_inx = b1_,
                                     .pay_nonpayment = 4000,
                                     .pay_monthdefault = 4000,
                                     .start_date = "2026-01"});
        InsertLedgerRow(db, inx, l, 4000, "26-03-25");
        // M (agency of the branch): January's 6,000 open.
        const auto m =
            InsertMember(db, inx, {.branch_inx = b1_, .agency_inx = a1_, .pay_nonpayment = 6000});
        InsertLedgerRow(db, inx, m, 6000, "26-01-25");
    }
    static void TearDownTestSuite() {
        delete inst_;
        delete db_;
    }

    CmsSummary Figures(bool monthDivide, long long brinx = 0, long long aginx = 0) {
        SessionContext s = test::SessionFor(*inst_, brinx, aginx);
        s.month_divide_switch = monthDivide;
        return ComputeCmsSummary(*db_, s);
    }

    static Database* db_;
    static test::TestInstitution* inst_;
    static long long b1_, a1_;
};

Database* CmsSummaryTest::db_ = nullptr;
test::TestInstitution* CmsSummaryTest::inst_ = nullptr;
long long CmsSummaryTest::b1_ = 0;
long long CmsSummaryTest::a1_ = 0;

void ExpectFigures(const CmsSummary& f, long long regular, long long arrears, long long toBook,
                   long long expected) {
    EXPECT_EQ(f.regular_outstanding, regular);
    EXPECT_EQ(f.arrears_outstanding, arrears);
    EXPECT_EQ(f.sales_to_book, toBook);
    EXPECT_EQ(f.expected_monthly_sales, expected);
}

TEST_F(CmsSummaryTest, CurrentMonthDivide) {
    // Regular month 26-03.
    //   regular: A 10,000 + B 5,000 + H 3,000 + L 4,000                  = 22,000
    //   arrears: A 20,000 + H 7,000 + J 12,000 + M 6,000                 = 45,000
    //   to book: F 20,000 + H 2,000 (5,000 due, 3,000 booked)            = 22,000
    //   expected: A 10,000 + B 10,000 + F 20,000 + G 15,000 + H 5,000 + L 4,000 = 64,000
    ExpectFigures(Figures(true), 22000, 45000, 22000, 64000);
}

TEST_F(CmsSummaryTest, PreviousMonthDivide) {
    // Regular month 26-02; March's sales are not due yet.
    //   regular: A min(10,000, 30,000-10,000) + J min(9,000, 12,000)      = 19,000
    //            (B, H and L owe less than March's sales, M nothing of February)
    //   arrears: A 10,000 + H 7,000 + J 3,000 + M 6,000                  = 26,000
    //   to book: B 10,000 + H 5,000 + L 4,000 (A has February booked;
    //            F and G start later)                                    = 19,000
    ExpectFigures(Figures(false), 19000, 26000, 19000, 64000);
}

TEST_F(CmsSummaryTest, BranchAndAgencyUsersSeeOnlyTheirMembers) {
    ExpectFigures(Figures(true, b1_), 4000, 6000, 0, 4000);
    ExpectFigures(Figures(false, b1_), 0, 6000, 4000, 4000);
    ExpectFigures(Figures(true, b1_, a1_), 0, 6000, 0, 0);
    ExpectFigures(Figures(false, b1_, a1_), 0, 6000, 0, 0);
}

TEST_F(CmsSummaryTest, TheLoginComputesTheFiguresOfTheUsersMembers) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("qx-summary-" + std::to_string(inst_->inx));
    fs::create_directories(dir);
    ProfileIni ini((dir / "Login.ini").string());
    db_->ExecuteSql("update quorisdex.admin_company set monthdivide='Y' where inx=?", {inst_->inx});
    test::PinServerClock(*db_, "2026-03-28 10:00:00");
    SessionContext s;
    s.AppPath = dir.string() + "/";
    s.SystemDrive = dir.string() + "/";
    const std::string id = "b" + std::to_string(inst_->inx);
    s.LoginId = id;
    ASSERT_EQ(ValidateLogin(*db_, s, id, "b1234", nullptr), kLoginAccepted);
    test::ScriptedInteraction ui;
    std::vector<std::string> splash;
    ASSERT_TRUE(InitSessionAfterLogin(*db_, s, ini, ui, [&](bool visible, const std::string& t) {
        if (visible) splash.push_back(t);
    }));
    test::UnpinServerClock(*db_);
    fs::remove_all(dir);
    ExpectFigures(s.cms_summary, 4000, 6000, 0, 4000);
    ASSERT_GE(splash.size(), 2u);
    EXPECT_EQ(splash[0], "CMS 요약 조회중 입니다.");
    EXPECT_EQ(splash[1], "프로그램을 읽어 들이고 있습니다.");
}

TEST(FormatAmount, ThousandsSeparatorsWithoutDecimals) {
    EXPECT_EQ(FormatAmount(0), "0");
    EXPECT_EQ(FormatAmount(999), "999");
    EXPECT_EQ(FormatAmount(1000), "1,000");
    EXPECT_EQ(FormatAmount(1234567), "1,234,567");
    EXPECT_EQ(FormatAmount(-45000), "-45,000");
}

TEST(Eb11Status, KftcRelayShowsTheCheckTextAndTheNewestFile) {
    auto db = test::ConnectTestDatabase();
    const auto& t = test::SharedInstitution(*db, 1);
    SessionContext s = test::SessionFor(t);
    db->ExecuteSql("delete from " + s.schema() + ".file_ea11");
    StoreEb11Check(*db, t.inx, "");
    Eb11Status none = LoadEb11Status(*db, s);
    EXPECT_TRUE(none.kftc);
    EXPECT_EQ(none.caption, "금 결 원");
    EXPECT_EQ(none.checkText, "");
    EXPECT_FALSE(none.highlighted);
    EXPECT_EQ(none.newestFile, "대상없음");

    for (const char* date : {"260301", "260301", "260305", "251230"}) {
        db->ExecuteSql("insert into " + s.schema() + ".file_ea11 (reg_date) values (?)", {date});
    }
    StoreEb11Check(*db, t.inx, "03-05 10:00 EB11[○] EB12[●]");
    Eb11Status some = LoadEb11Status(*db, s);
    EXPECT_EQ(some.newestFile, "EB110305 [1]");
    EXPECT_EQ(some.checkText, "마지막 조회시각 : 03-05 10:00 EB11[○] EB12[●]");
    EXPECT_TRUE(some.highlighted);
    StoreEb11Check(*db, t.inx, "03-06 09:00 EB11[●]");
    EXPECT_FALSE(LoadEb11Status(*db, s).highlighted);
    for (const char* mark : {"△", "◎", "○", "×"}) EXPECT_TRUE(Eb11NeedsAttention(mark)) << mark;
    for (const char* mark : {"●", "□", "※", ""}) EXPECT_FALSE(Eb11NeedsAttention(mark)) << mark;
}

TEST(Eb11Status, HyosungRelayReadsTheRelayTable) {
    auto db = test::ConnectTestDatabase();
    const auto& t = test::SharedInstitution(*db, 2);
    SessionContext s = test::SessionFor(t);
    s.cmsrunprg = 2;
    // The relay's table comes with the relay schema of every provisioned server.
    ASSERT_EQ(db->scalarInt("select count(*) from information_schema.tables where "
                            "table_schema='sdsi' and table_name='acnt_status_check'"),
              1);
    db->ExecuteSql("delete from sdsi.acnt_status_check where asc_cominx=?", {t.inx});
    const Eb11Status none = LoadEb11Status(*db, s);
    EXPECT_FALSE(none.kftc);
    EXPECT_EQ(none.caption, "효    성");
    EXPECT_EQ(LoadEb11Status(*db, s).newestFile, "대상없음");
    const char* rows[][3] = {
        {"260310", "2", ""}, {"260310", "1", "W"}, {"260312", "1", ""}, {"260308", "2", ""}};
    for (const auto& r : rows) {
        db->ExecuteSql(
            "insert into sdsi.acnt_status_check (asc_cominx, asc_reg_date, "
            "asc_pross_status, asc_result) values (?,?,?,?)",
            {t.inx, r[0], r[1], r[2]});
    }
    // 260312 is neither applied nor waiting, so 260310 is the newest.
    EXPECT_EQ(LoadEb11Status(*db, s).newestFile, "EB110310 [2]");
}

}  // namespace
}  // namespace qx
