// The EB13 file list: date range, search by a member's numbers, states in the
// EB13 screen's wording, relay states joined for the relay path.
#include <gtest/gtest.h>

#include "cms/eb13/eb13_files.h"
#include "db/database.h"
#include "support/institution_fixture.h"
#include "support/test_database.h"

namespace qx {
namespace {

class Eb13FilesTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override { OpenInstitution(2); }
    void File(const std::string& name, const std::string& made, const std::string& pross,
              const std::string& send) {
        db->ExecuteSql("insert into " + schema +
                           ".ea13 (makedate, filename, create_cnt, delete_cnt, total_cnt, "
                           "createok_cnt, pross_stat, send_stat) values "
                           "(unix_timestamp(?), ?, 2, 1, 3, 2, ?, ?)",
                       {made, name, pross, send});
    }
    std::vector<std::vector<std::string>> List(const std::string& search = {}) {
        return ListEb13Files(*db, session, CivilDate{2026, 12, 1}, CivilDate{2026, 12, 4}, search);
    }
};

TEST_F(Eb13FilesTest, RangeOrderStatesAndSearch) {
    File("EB13261130", "2026-11-30 09:00:00", "1", "5");  // before the range
    File("EB13261201", "2026-12-01 09:00:00", "1", "5");
    File("EB13261203", "2026-12-03 09:00:00", "0", "5");
    File("EB13261204", "2026-12-04 23:59:00", "9", "5");
    db->ExecuteSql(
        "insert into sdsi.filerun (filename, id, stat, recvdate) values "
        "('13261203', ?, '5', '261207'), ('13261203', 'someone', '3', '')",
        {inst.org_code});

    const auto rows = List();
    ASSERT_EQ(rows.size(), 3u);
    // By pross_stat ('0' waiting, '1' applied, '9' being applied), newest first;
    // results only once applied.
    EXPECT_EQ(rows[0][0], "EB13261203");
    EXPECT_EQ(rows[0][7], "12/07 수신예정");
    EXPECT_EQ(rows[0][4], "");
    EXPECT_EQ(rows[1][0], "EB13261201");
    EXPECT_EQ(rows[1][7], "파일처리 완료");
    EXPECT_EQ(rows[1][4], "2");
    EXPECT_EQ(rows[2][0], "EB13261204");
    EXPECT_EQ(rows[2][7], "파일적용중");

    db->ExecuteSql("insert into " + schema +
                   ".member_user (member_inx, ext_key, account_no) values (4242, 'K-77', '99')");
    db->ExecuteSql("insert into " + schema +
                   ".file_ea13 (seq_num, reg_date, user_no, account_no, id_no) values "
                   "(1, '261201', 4242, '5550001', '800101')");
    for (const std::string key : {"4242", "5550001", "800101", "K-77"}) {
        const auto found = List(key);
        ASSERT_EQ(found.size(), 1u) << key;
        EXPECT_EQ(found[0][0], "EB13261201");
    }
    EXPECT_TRUE(List("nobody").empty());
}

TEST(Eb13FileState, KftcWordingOfTheTransmissionStates) {
    EXPECT_EQ(Eb13FileStateText("0", "0", "", "", "EB13261204", 1), "파일송신전");
    EXPECT_EQ(Eb13FileStateText("0", "2", "", "", "EB13261204", 1), "송신결과 확인중");
    EXPECT_EQ(Eb13FileStateText("0", "4", "", "", "EB13261204", 1), "파일송신 실패");
    EXPECT_EQ(Eb13FileStateText("0", "5", "", "", "EB13261204", 1), "EB14 미수신");
    EXPECT_EQ(Eb13FileStateText("0", "5", "3", "", "EB13261204", 2), "송신오류");
    EXPECT_EQ(Eb13FileStateText("1", "0", "3", "", "EB13261204", 2), "파일처리 완료");
}

}  // namespace
}  // namespace qx
