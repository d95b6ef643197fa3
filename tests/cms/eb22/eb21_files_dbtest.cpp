// The EB21/EB22 screen's lists against a real server: files at every state
// with their figures and state texts, the requests of a file with the amounts
// withdrawn and not withdrawn (a partial result carries the withdrawn part),
// error texts, masking, filters and the search within a file and across files.
#include <gtest/gtest.h>

#include "cms/eb22/eb21_detail.h"
#include "cms/eb22/eb21_files.h"
#include "cms/eb22/eb22_results.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

class Eb21ListsTest : public test::FreshInstitutionTest {
  protected:
    void File(const std::string& yymmdd, const std::string& made, const std::string& pross,
              const std::string& send, long long count, long long money, long long ok = 0,
              long long refused = 0, long long okFee = 250, long long falseFee = 50) {
        db->ExecuteSql(
            "insert into " + schema +
                ".ea21 (makedate, filename, total_cnt, total_money, rtnok_money, "
                "rtnfalse_money, ok_commission, false_commission, pross_stat, "
                "send_stat) values (unix_timestamp(?),?,?,?,?,?,?,?,?,?)",
            {made, "EB21" + yymmdd, count, money, ok, refused, okFee, falseFee, pross, send});
    }
    long long Request(const std::string& yymmdd, long long serial, long long amount,
                      const std::string& result, const std::string& code, long long divAmount,
                      const std::string& idNo = "8001011234567", const std::string& extKey = "") {
        test::MemberRow m;
        m.username = "회원" + std::to_string(serial);
        const long long member = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema +
                           ".member_user set ext_key=?, client_company='상호', "
                           "client_manager='담당', account_name='예금주' where member_inx=?",
                       {extKey, member});
        db->ExecuteSql("insert into " + schema +
                           ".file_ea21 (seq_num, reg_date, bank_code, account_no, amount, id_no, "
                           "title, user_no, result, result_code, div_amount, cash_rcpt_info) "
                           "values (?,?,'0040000',?,?,?,'ＨＡＮＢＩＴ',?,?,?,?,'')",
                       {serial, yymmdd, "110" + std::to_string(serial), amount, idNo, member,
                        result, code, divAmount});
        return member;
    }
    std::vector<std::vector<std::string>> List(const std::string& search = {}) {
        return ListEb21Files(*db, session, CivilDate{2026, 12, 1}, CivilDate{2026, 12, 4}, search);
    }
    // One column of the detail's rows, by caption.
    static std::vector<std::string> Column(const FileDetail& d, const std::string& caption) {
        std::size_t c = 0;
        while (c < d.columns.size() && d.columns[c] != caption) ++c;
        std::vector<std::string> out;
        for (const auto& row : d.rows) out.push_back(c < row.size() ? row[c] : "?");
        return out;
    }
    // The applied file of 4 Dec: withdrawn in full, refused with a charged
    // and an exempt code, partly withdrawn, refused with an unknown code.
    void AppliedFile() {
        // Withdrawn 10,000 + 12,000; not withdrawn 20,000 + 18,000 + 5,000.
        File("261204", "2026-12-04 23:59:00", "1", "5", 4, 65000, 22000, 43000, 250 * 2, 50 * 1);
        Request("261204", 1, 10000, "", "", 0, "800101", "K-77");
        Request("261204", 2, 20000, "N", "0011", 0, "1234567890");
        Request("261204", 3, 30000, "P", "", 12000);
        Request("261204", 4, 5000, "N", "Q999", 0, "12345");
    }
};

TEST_F(Eb21ListsTest, FilesAtEveryStateWithTheirFiguresAndStateTexts) {
    OpenInstitution(1);
    File("261130", "2026-11-30 23:59:59", "1", "5", 1, 1000);  // the day before the range
    File("261201", "2026-12-01 00:00:00", "0", "0", 1, 7000);
    File("261202", "2026-12-02 09:00:00", "0", "5", 2, 9000);
    File("261203", "2026-12-03 09:00:00", "9", "5", 1, 3000);
    AppliedFile();
    Request("261203", 9, 3000, "", "", 0);

    const auto rows = List();
    ASSERT_EQ(rows.size(), 4u);
    struct Expected {
        std::string name, state;
        std::vector<std::string> figures;  // 청구건수 .. 실입금액
    };
    const std::vector<Expected> expected = {
        {"EB21261204",
         "파일처리 완료",
         {"4", "65,000", "2", "22,000", "2", "43,000", "500", "50", "550", "21,450"}},
        {"EB21261203", "파일적용중", {"1", "3,000", "", "", "", "", "", "", "", ""}},
        {"EB21261202", "EB22 미수신", {"2", "9,000", "", "", "", "", "", "", "", ""}},
        {"EB21261201", "파일송신전", {"1", "7,000", "", "", "", "", "", "", "", ""}},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& row = rows[i];
        ASSERT_EQ(row.size(), Eb21FileColumns().size());
        EXPECT_EQ(row[kEb21FileNameColumn], expected[i].name);
        EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.begin() + 11), expected[i].figures)
            << expected[i].name;
        EXPECT_EQ(row[11], expected[i].state) << expected[i].name;
    }
    EXPECT_EQ(rows[0][12], "2026-12-04 23:59:00");
    EXPECT_EQ(rows[0][kEb21FileProssStatColumn], "1");
    EXPECT_EQ(Eb21WaitingText(*db, session), "미처리: 2건 / 미수신: 1건");

    // The search keeps the files holding a request of that member.
    for (const std::string key : {"800101", "1101", "K-77"}) {
        const auto found = List(key);
        ASSERT_EQ(found.size(), 1u) << key;
        EXPECT_EQ(found[0][0], "EB21261204");
    }
    EXPECT_TRUE(List("' or 1=1 -- ").empty());
}

TEST_F(Eb21ListsTest, RelayStatesAndTheKftcWording) {
    OpenInstitution(2);
    File("261202", "2026-12-02 09:00:00", "0", "0", 1, 9000);
    File("261203", "2026-12-03 09:00:00", "0", "0", 1, 9000);
    db->ExecuteSql(
        "insert into sdsi.filerun (filename, id, stat, recvdate) values "
        "('21261202', ?, '5', '261207'), ('21261203', ?, '3', ''), "
        "('21261202', 'someone', '3', '')",
        {inst.org_code, inst.org_code});
    const auto rows = List();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][11], "송신오류");
    EXPECT_EQ(rows[1][11], "12/07 수신예정");
    EXPECT_EQ(Eb21WaitingText(*db, session), "미처리: 2건 / 미수신: 1건");

    struct Case {
        std::string send, shown;
    };
    for (const Case& c : std::vector<Case>{{"0", "파일송신전"},
                                           {"1", "파일송신중"},
                                           {"2", "송신결과 확인중"},
                                           {"4", "파일송신 실패"},
                                           {"5", "EB22 미수신"},
                                           {"7", ""}}) {
        EXPECT_EQ(ResultScreenStateText("0", c.send, "", "", "EB21261204", 1, "EB21", "22"),
                  c.shown)
            << c.send;
    }
}

TEST_F(Eb21ListsTest, RequestsOfAFileWithAmountsErrorsMaskingAndFilters) {
    OpenInstitution(1);
    AppliedFile();
    const FileDetail all = Eb21FileDetail(*db, session, "EB21261204", Eb21DetailFilter::All);
    EXPECT_EQ(all.title, "[EB21261204] 파일 상세 내역");
    EXPECT_EQ(all.columns, (std::vector<std::string>{
                               "고객명", "외부참조키", "상호", "담당자", "예금주명", "청구금액",
                               "출금액", "불능금액", "오류내역", "납부자번호", "은행코드",
                               "계좌번호", "예금주번호", "통장기장내역", "현금영수발행정보"}));
    // Highest serial first.
    EXPECT_EQ(Column(all, "계좌번호"), (std::vector<std::string>{"1104", "1103", "1102", "1101"}));
    EXPECT_EQ(Column(all, "청구금액"),
              (std::vector<std::string>{"5,000", "30,000", "20,000", "10,000"}));
    EXPECT_EQ(Column(all, "출금액"), (std::vector<std::string>{"0", "12,000", "0", "10,000"}));
    EXPECT_EQ(Column(all, "불능금액"),
              (std::vector<std::string>{"5,000", "18,000", "20,000", "0"}));
    EXPECT_EQ(Column(all, "오류내역"),
              (std::vector<std::string>{"출금오류(미등록된오류)", "부분출금", "잔액부족", ""}));
    EXPECT_EQ(Column(all, "예금주번호"),
              (std::vector<std::string>{"12345*******", "800101*******", "1234567890", "800101"}));
    EXPECT_EQ(Column(all, "고객명")[3], "회원1");
    EXPECT_EQ(Column(all, "담당자")[3], "담당");
    EXPECT_EQ(Column(all, "외부참조키")[3], "K-77");
    const std::string payer = Column(all, "납부자번호")[3];
    EXPECT_EQ(payer.size(), 10u);
    EXPECT_EQ(payer.find_first_not_of('0') >= 4, true) << payer;

    struct Case {
        Eb21DetailFilter filter;
        std::vector<std::string> accounts;
    };
    for (const Case& c : std::vector<Case>{{Eb21DetailFilter::Open, {"1101"}},
                                           {Eb21DetailFilter::Failed, {"1104", "1102"}},
                                           {Eb21DetailFilter::Partial, {"1103"}}}) {
        EXPECT_EQ(Column(Eb21FileDetail(*db, session, "EB21261204", c.filter), "계좌번호"),
                  c.accounts);
    }
    // The search within the file, by each of the four keys.
    for (const std::string& key : std::vector<std::string>{"1102", "1234567890", payer, "K-77"}) {
        const auto found = Eb21FileDetail(*db, session, "EB21261204", Eb21DetailFilter::All, key);
        EXPECT_EQ(found.rows.size(), 1u) << key;
    }
    EXPECT_TRUE(Eb21FileDetail(*db, session, "EB21261204", Eb21DetailFilter::All, "' or ''='")
                    .rows.empty());
    // A name of another shape finds nothing.
    for (const std::string bad : {"EB2126120", "EB13261204", "EB21' or 1"})
        EXPECT_TRUE(Eb21FileDetail(*db, session, bad, Eb21DetailFilter::All).rows.empty()) << bad;

    // The institution that may show holder numbers sees them whole.
    db->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit='1' where inx=?",
                   {inst.inx});
    EXPECT_EQ(
        Column(Eb21FileDetail(*db, session, "EB21261204", Eb21DetailFilter::All), "예금주번호")[1],
        "8001011234567");
}

TEST_F(Eb21ListsTest, UnansweredRequestsShowNoWithdrawalAndTheSearchSpansFiles) {
    OpenInstitution(1);
    AppliedFile();
    File("261202", "2026-12-02 09:00:00", "0", "5", 1, 9000);
    Request("261202", 1, 9000, "", "", 0, "800101");
    const FileDetail open = Eb21FileDetail(*db, session, "EB21261202", Eb21DetailFilter::All);
    ASSERT_EQ(open.rows.size(), 1u);
    EXPECT_EQ(Column(open, "청구금액"), std::vector<std::string>{"9,000"});
    EXPECT_EQ(Column(open, "출금액"), std::vector<std::string>{""});
    EXPECT_EQ(Column(open, "불능금액"), std::vector<std::string>{""});

    const FileDetail found =
        Eb21SearchDetail(*db, session, CivilDate{2026, 12, 1}, CivilDate{2026, 12, 4}, "800101",
                         Eb21DetailFilter::All);
    ASSERT_EQ(found.columns.front(), "파일명");
    EXPECT_EQ(Column(found, "파일명"), (std::vector<std::string>{"EB21261204", "EB21261202"}));
    EXPECT_EQ(Column(Eb21SearchDetail(*db, session, CivilDate{2026, 12, 3}, CivilDate{2026, 12, 4},
                                      "800101", Eb21DetailFilter::All),
                     "파일명"),
              std::vector<std::string>{"EB21261204"});
    EXPECT_TRUE(Eb21SearchDetail(*db, session, CivilDate{2026, 12, 1}, CivilDate{2026, 12, 4}, " ",
                                 Eb21DetailFilter::All)
                    .rows.empty());
}

// What the withdrawal result script books and what the lists show agree: the
// withdrawn amounts of the requests add up to the file's withdrawn total and
// to the CMS collections booked, a partial result counting its withdrawn part.
TEST_F(Eb21ListsTest, ListsAgreeWithTheBookedResult) {
    OpenInstitution(1);
    File("261204", "2026-12-04 10:00:00", "9", "5", 4, 65000, 0, 0);
    struct Staged {
        long long amount;
        std::string result, code;
        long long divAmount;
    };
    const std::vector<Staged> staged = {{10000, "", "", 0},
                                        {20000, "N", "0011", 0},
                                        {30000, "P", "", 12000},
                                        {5000, "N", "0012", 0}};
    long long serial = 0;
    for (const Staged& r : staged) {
        const long long m = Request("261204", ++serial, r.amount, "", "", 0);
        db->ExecuteSql("update " + schema +
                           ".member_user set cms_status='6', pay_nonpayment=? "
                           "where member_inx=?",
                       {r.amount, m});
        db->ExecuteSql("insert into " + schema +
                           ".file_ea21_run (seq_num, result, result_code, div_amount) values "
                           "(?,?,?,?)",
                       {serial, r.result, r.code, r.divAmount});
    }
    ASSERT_EQ(ApplyEb22Results(*db, inst.inx, "261204", "26-12-04"), "처리완료");

    const auto rows = List();
    ASSERT_EQ(rows.size(), 1u);
    // 출금건수 .. 실입금액: two requests not refused, 22,000 withdrawn, two refused
    // with 43,000 not withdrawn, fees 250 x 2 and 50 x 1 (0011 is not charged).
    EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 3, rows[0].begin() + 12),
              (std::vector<std::string>{"2", "22,000", "2", "43,000", "500", "50", "550", "21,450",
                                        "파일처리 완료"}));
    const FileDetail d = Eb21FileDetail(*db, session, "EB21261204", Eb21DetailFilter::All);
    EXPECT_EQ(Column(d, "출금액"), (std::vector<std::string>{"0", "12,000", "0", "10,000"}));
    EXPECT_EQ(Column(d, "불능금액"), (std::vector<std::string>{"5,000", "18,000", "20,000", "0"}));
    EXPECT_EQ(db->scalarInt("select sum(input_pay) from " + schema +
                            ".pay_pross where paystat='1' and settle_title='CMS' and "
                            "settle_code=1 and signdate='26-12-04'"),
              22000);
}

TEST(Eb21DetailFilterTest, FilterWords) {
    EXPECT_EQ(ParseEb21DetailFilter("all"), Eb21DetailFilter::All);
    EXPECT_EQ(ParseEb21DetailFilter("open"), Eb21DetailFilter::Open);
    EXPECT_EQ(ParseEb21DetailFilter("failed"), Eb21DetailFilter::Failed);
    EXPECT_EQ(ParseEb21DetailFilter("partial"), Eb21DetailFilter::Partial);
    for (const std::string bad : {"", "Partial", "refused", "all "})
        EXPECT_EQ(ParseEb21DetailFilter(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace qx
