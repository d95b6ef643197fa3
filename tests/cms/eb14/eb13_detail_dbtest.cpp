// The detail grid's rows against a real server: one file's rows with their
// result text, the filter, the search across files, the relay columns.
#include <gtest/gtest.h>

#include "cms/eb14/eb13_detail.h"
#include "db/code_lists.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

class Eb13DetailDbTest : public test::FreshInstitutionTest {
  protected:
    void Row(const std::string& yymmdd, long long serial, const std::string& account,
             const std::string& result, const std::string& code, const std::string& rpErr = "") {
        test::MemberRow m;
        m.username = "회원" + std::to_string(serial);
        const long long member = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql(
            "insert into " + schema +
                ".file_ea13 (seq_num, reg_date, reg_kind, user_no, bank_code, account_no, id_no, "
                "account_name, result, result_code, rp_err, certifi_kind, "
                "certifi_result, user_phone) values (?,?,?,?,'0880000',?,'800101','예금주',?,?,?,"
                "'1','F','01012345678')",
            {serial, yymmdd, serial == 1 ? "3" : "1", member, account, result, code, rpErr});
    }
    void File(const std::string& yymmdd) {
        db->ExecuteSql(
            "insert into " + schema + ".ea13 (makedate, filename) values (unix_timestamp(), ?)",
            {"EB13" + yymmdd});
    }
};

TEST_F(Eb13DetailDbTest, OneFileFilteredAndTheSearchAcrossFiles) {
    OpenInstitution(1);
    File("261204");
    File("261207");
    Row("261204", 1, "111", "", "");
    Row("261204", 2, "222", "N", "0013");
    Row("261207", 3, "222", "N", "Q999");

    const Eb13Detail all = Eb13FileDetail(*db, session, "EB13261204", Eb13DetailFilter::All);
    EXPECT_EQ(all.title, "[EB13261204] 파일 상세 내역");
    ASSERT_EQ(all.columns.size(), 10u);
    ASSERT_EQ(all.rows.size(), 2u);
    // Highest serial first; 처리 and 처리상태 from the kind and the code.
    EXPECT_EQ(all.rows[0][0], "회원2");
    EXPECT_EQ(all.rows[0][2], "신규");
    EXPECT_EQ(all.rows[0][8], "계좌번호 오류(해당계좌 없음)");
    EXPECT_EQ(all.rows[1][2], "해지");
    EXPECT_EQ(all.rows[1][8], "");
    // The bank is the one the file carried (088), not the member's of today.
    db->ExecuteSql("update " + schema + ".member_user set bank_code='0040000'");
    BuildCodeCaseSql(*db, session);
    const Eb13Detail again = Eb13FileDetail(*db, session, "EB13261204", Eb13DetailFilter::All);
    std::string fileBank, memberBank;
    for (const auto& e : LoadSharedCodeList(*db, session.relay_prefix)) {
        if (e.data == "088") fileBank = e.text;
        if (e.data == "004") memberBank = e.text;
    }
    ASSERT_FALSE(fileBank.empty());
    ASSERT_NE(fileBank, memberBank);
    EXPECT_EQ(again.rows[0][5], fileBank);
    EXPECT_EQ(again.rows[1][5], fileBank);
    EXPECT_EQ(Eb13FileDetail(*db, session, "EB13261204", Eb13DetailFilter::Open).rows.size(), 1u);
    EXPECT_EQ(Eb13FileDetail(*db, session, "EB13261204", Eb13DetailFilter::Refused).rows.size(),
              1u);
    EXPECT_TRUE(Eb13FileDetail(*db, session, "nonsense", Eb13DetailFilter::All).rows.empty());

    const CivilDate day = *ParseDate(db->scalar("select date_format(now(),'%Y-%m-%d')"));
    const Eb13Detail found =
        Eb13SearchDetail(*db, session, day, day, " 222 ", Eb13DetailFilter::All);
    ASSERT_EQ(found.rows.size(), 2u);
    EXPECT_EQ(found.columns[0], "파일명");
    EXPECT_EQ(found.rows[0][0], "EB13261207");
    EXPECT_EQ(found.rows[1][0], "EB13261204");
    EXPECT_TRUE(Eb13SearchDetail(*db, session, day, day, "' or 1=1 -- ", Eb13DetailFilter::All)
                    .rows.empty());
}

TEST_F(Eb13DetailDbTest, RelayRowsShowTheRelayTextAndTheAuthentication) {
    OpenInstitution(2);
    File("261204");
    Row("261204", 2, "222", "N", "0013", "인증실패");
    const Eb13Detail d = Eb13FileDetail(*db, session, "EB13261204", Eb13DetailFilter::All);
    ASSERT_EQ(d.columns.size(), 14u);
    ASSERT_EQ(d.rows.size(), 1u);
    EXPECT_EQ(d.rows[0][8], "인증실패");
    EXPECT_EQ(d.rows[0][10], "휴대전화");
    EXPECT_EQ(d.rows[0][11], "01012345678");
    EXPECT_EQ(d.rows[0][12], "실패");
}

}  // namespace
}  // namespace qx
