// The collection-channel report against a real server: the stored totals of
// applied files with only a period, the items of the narrowed members
// otherwise (fee-exempt failures, partial withdrawals, deleted members),
// card fees per purchase, virtual-account deposits, and a file's items.
#include <gtest/gtest.h>

#include "reports/channel_report.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

class ChannelReportTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(1);
        // Success fee = ok + no (250), failure fee 50, 300 per deposit.
        db->ExecuteSql(
            "update quorisdex.admin_company set ok_commission=200, no_commission=50, "
            "vir_commision=300 where inx=?",
            {inst.inx});
    }
    long long Member(const std::string& manager, long long branch = 0,
                     const std::string& remove = "1") {
        test::MemberRow m;
        m.branch_inx = branch;
        m.remove = remove;
        m.username = "회원" + manager;
        const long long id = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema + ".member_user set client_manager=? where member_inx=?",
                       {manager, id});
        return id;
    }
    void CmsFile(const std::string& yymmdd, const std::string& pross = "1") {
        // Stored figures deliberately unlike the items: a row shows which way it came.
        db->ExecuteSql(
            "insert into " + schema +
                ".ea21 (makedate, filename, total_cnt, total_money, rtnok_money, "
                "rtnfalse_money, ok_commission, false_commission, pross_stat, "
                "send_stat) values (unix_timestamp(?),?,9,99000,77000,22000,900,90,?,'5')",
            {"20" + yymmdd.substr(0, 2) + "-" + yymmdd.substr(2, 2) + "-" + yymmdd.substr(4, 2) +
                 " 10:00:00",
             "EB21" + yymmdd, pross});
    }
    void CmsItem(const std::string& yymmdd, long long member, long long amount,
                 const std::string& result, const std::string& code, long long div = 0) {
        static int seq = 0;
        db->ExecuteSql("insert into " + schema +
                           ".file_ea21 (seq_num, reg_date, amount, user_no, result, result_code, "
                           "div_amount) values (?,?,?,?,?,?,?)",
                       {++seq, yymmdd, amount, member, result, code, div});
    }
    ReportTable Cms(const ReportFilter& f = {}, const SessionContext* s = nullptr) {
        return ChannelReport(*db, s ? *s : session, ChannelKind::kCms,
                             {{2026, 12, 1}, {2026, 12, 31}}, f);
    }
    static std::string Cell(const ReportTable& t, std::size_t row, const std::string& caption) {
        for (std::size_t c = 0; c < t.columns.size(); ++c)
            if (t.columns[c].caption == caption) return row < t.rows.size() ? t.rows[row][c] : "?";
        return "no column " + caption;
    }
};

TEST_F(ChannelReportTest, CmsStoredTotalsOrItemsOfTheNarrowedMembersWithTheFeeRules) {
    const long long kim = Member("김"), lee = Member("이", 0), gone = Member("김", 0, "4");
    CmsFile("261204");
    CmsItem("261204", kim, 10000, "", "");          // withdrawn
    CmsItem("261204", kim, 20000, "N", "0011");     // failed, exempt from the fee
    CmsItem("261204", kim, 30000, "P", "", 12000);  // partly: 18,000 not withdrawn
    CmsItem("261204", kim, 5000, "N", "Q999");      // failed, charged
    CmsItem("261204", lee, 7000, "", "");
    CmsItem("261204", gone, 40000, "N", "Q999");  // a deleted member never counts
    CmsFile("261205", "0");                       // not applied: never shown
    CmsFile("261130");                            // before the period
    CmsFile("270101");                            // after it

    struct Case {
        const char* name;
        ReportFilter filter;
        std::vector<std::string> row;  // 요청건수 .. 실입금액
    };
    const std::vector<Case> cases = {
        {"period only: the file's stored totals",
         {},
         {"9", "99,000", "3", "77,000", "3", "22,000", "900", "90", "990", "76,010"}},
        {"a manager: the items of that manager's members",
         {"", "", "김"},
         {"4", "65,000", "2", "22,000", "2", "43,000", "500", "50", "550", "21,450"}},
        {"another manager",
         {"", "", "이"},
         {"1", "7,000", "1", "7,000", "0", "0", "250", "0", "250", "6,750"}},
        {"the head office as branch",
         {"0"},
         {"5", "72,000", "3", "29,000", "2", "43,000", "750", "50", "800", "28,200"}},
        {"agency none",
         {"", "없음"},
         {"5", "72,000", "3", "29,000", "2", "43,000", "750", "50", "800", "28,200"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportTable t = Cms(c.filter);
        ASSERT_EQ(t.rows.size(), 1u);
        EXPECT_EQ(t.rows[0][1], "EB21261204");
        EXPECT_EQ(t.rows[0][0], "26-12-04");
        EXPECT_EQ(std::vector<std::string>(t.rows[0].begin() + 2, t.rows[0].end()), c.row);
    }

    // A branch user's own branch narrows the members although nothing was chosen.
    const SessionContext branchUser = test::SessionFor(inst, 7);
    const ReportTable mine = Cms({}, &branchUser);
    EXPECT_TRUE(mine.rows.empty());
}

TEST_F(ChannelReportTest, CardFeesPerPurchaseSummedThenRoundedAndTheNetDeposit) {
    const long long kim = Member("김");
    db->ExecuteSql("insert into " + schema +
                   ".cdpay (makedate, filename, total_cnt, total_money, sale_cnt, sale_money, "
                   "cancel_cnt, cancel_money, commission, pross_stat, rtnok_money, "
                   "rtnfalse_money, cancel_rtnok_money, cancel_rtnfalse_money) values "
                   "(unix_timestamp('2026-12-10 09:00:00'),'CPAY261210',6,48002,5,45002,1,3000,"
                   "1000,'1',40000,5002,3000,0)");
    auto item = [&](long long amount, const char* kind, const char* result) {
        db->ExecuteSql("insert into " + schema +
                           ".cdpay_detail (reg_date, amount, user_no, purchase_kind, result) "
                           "values ('261210',?,?,?,?)",
                       {amount, kim, kind, result});
    };
    item(10000, "0", "");  // 280 + 28 = 308
    item(10001, "0", "");  // 280.02 + 28.00 (cut) = 308.02
    item(1234, "0", "");   // 34.55 + 3.45 = 38.00
    item(5002, "0", "N");  // refused: no fee
    item(3000, "1", "");   // a cancellation: no fee
    item(17, "1", "N");

    const ReportTable stored =
        ChannelReport(*db, session, ChannelKind::kCard, {{2026, 12, 1}, {2026, 12, 31}}, {});
    ASSERT_EQ(stored.rows.size(), 1u);
    EXPECT_EQ(Cell(stored, 0, "수수료"), "1,000");
    EXPECT_EQ(Cell(stored, 0, "실입금액"), "39,000");

    const ReportTable t = ChannelReport(*db, session, ChannelKind::kCard,
                                        {{2026, 12, 1}, {2026, 12, 31}}, {"", "", "김"});
    ASSERT_EQ(t.rows.size(), 1u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"합계건수", "6"},      {"합계금액", "29,254"},    {"청구건수", "4"},
        {"청구금액", "26,237"}, {"취소건수", "2"},         {"취소금액", "3,017"},
        {"출금액", "21,235"},   {"출금불능금액", "5,002"}, {"취소성공금액", "3,000"},
        {"취소불능금액", "17"}, {"수수료", "654"},         {"실입금액", "20,581"}};
    for (const auto& [caption, value] : expected) EXPECT_EQ(Cell(t, 0, caption), value) << caption;

    const ReportTable d = ChannelFileDetail(*db, session, "CPAY261210");
    ASSERT_EQ(d.rows.size(), 6u);
    EXPECT_EQ(Cell(d, 0, "수수료"), "308");
    EXPECT_EQ(Cell(d, 3, "미출금액"), "5,002");
    EXPECT_EQ(Cell(d, 4, "출금취소구분"), "출금취소");
}

TEST_F(ChannelReportTest, VirtualDepositsPerDayNotCancelledOfThisInstitutionOnly) {
    const long long kim = Member("김"), gone = Member("김", 0, "4");
    auto deposit = [&](const std::string& db_name, long long member, long long amount,
                       const char* cancelled, const char* time) {
        db->ExecuteSql(
            "insert into kib.kibpay (out_dbname, out_userkey, info11, p_cancel, "
            "savetime) values (?,?,?,?,?)",
            {db_name, member, amount, cancelled, time});
    };
    deposit(schema, kim, 10000, "N", "2026-12-02 10:00:00");
    deposit(schema, kim, 5000, "N", "2026-12-02 23:59:59");
    deposit(schema, kim, 7000, "Y", "2026-12-02 11:00:00");   // cancelled
    deposit(schema, gone, 9000, "N", "2026-12-02 11:00:00");  // deleted member
    deposit("tps_0", kim, 8000, "N", "2026-12-02 11:00:00");  // another institution
    deposit(schema, kim, 3000, "N", "2026-12-03 00:00:00");
    deposit(schema, kim, 1000, "N", "2026-12-04 00:00:00");  // after the period
    const ReportTable t =
        ChannelReport(*db, session, ChannelKind::kVirtual, {{2026, 12, 1}, {2026, 12, 3}}, {});
    const std::vector<std::vector<std::string>> expected = {
        {"2026-12-03", "가상계좌", "3,000", "1", "300", "2,700"},
        {"2026-12-02", "가상계좌", "15,000", "2", "600", "14,400"}};
    EXPECT_EQ(t.rows, expected);
}

TEST_F(ChannelReportTest, FileDetailShowsWithdrawnPartlyAndFailedItemsWithTheirTexts) {
    const long long kim = Member("김");
    CmsFile("261204");
    db->ExecuteSql(
        "insert ignore into quorisdex.error_code (code, errtext) values ('0011','잔액부족')");
    CmsItem("261204", kim, 10000, "", "");
    CmsItem("261204", kim, 20000, "N", "0011");
    CmsItem("261204", kim, 30000, "P", "", 12000);
    CmsItem("261204", kim, 5000, "N", "Q999");
    const ReportTable all = ChannelFileDetail(*db, session, "EB21261204");
    ASSERT_EQ(all.rows.size(), 4u);
    const std::vector<std::vector<std::string>> amounts = {
        {"10,000", "10,000", "0", ""},
        {"20,000", "0", "20,000",
         db->scalar("select errtext from quorisdex.error_code where code='0011'")},
        {"30,000", "12,000", "18,000", "부분출금"},
        {"5,000", "0", "5,000", "출금오류(미등록된오류)"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::vector<std::string>(all.rows[i].begin() + 5, all.rows[i].end()), amounts[i]);
        EXPECT_EQ(all.rows[i][0].size(), 10u);
    }
    EXPECT_EQ(ChannelFileDetail(*db, session, "EB21261204", DetailShow::kWithdrawn).rows.size(),
              2u);
    EXPECT_EQ(ChannelFileDetail(*db, session, "EB21261204", DetailShow::kFailed).rows.size(), 2u);
    for (const char* bad : {"EB2126120", "EB13261204", "EB21'; --x", ""})
        EXPECT_THROW(ChannelFileDetail(*db, session, bad), std::invalid_argument) << bad;
}

}  // namespace
}  // namespace qx
