// The Excel list of an expired EB11: its rows read back from the written
// file, the personal columns by the institution's permission, and the
// failures that name the file and leave no list behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cms/eb11/eb11_test_file.h"
#include "cms/eb11/expired_eb11_list.h"
#include "cms/workspace/cms_folders.h"
#include "platform/codepage.h"
#include "support/hand_made_cms_file.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::Eb11Line;

class ExpiredEb11ListTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(1);
        root = fs::temp_directory_path() / ("qx-expired-" + std::to_string(inst.inx));
        fs::remove_all(root);
        session.SystemDrive = (root / "desk").string() + "/";
        session.fileback_folder = (root / "back").string();
        session.excel_folder = (root / "excel").string();
        Eb11Line change{"1", "0000012345", "006", "110-22-333", "900101"};
        change.channel = "CHNG";
        Eb11Line cancel{"3", "0000000777", "004", "55556666", "800101"};
        Eb11Line service{"7", "0000000888", "088", "77778888", "8101011"};
        service.channel = "";
        const fs::path folder = MakeExchangeFolder(session, "EB11");
        expired = folder / "ExpiredEB110319";
        std::ofstream(expired, std::ios::binary)
            << test::Eb11Bytes(inst.org_code, "270319", {change, cancel, service}, "MAC");
    }
    void TearDown() override { fs::remove_all(root); }

    void Permit(const char* value) {
        db->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit=? where inx=?",
                       {value, inst.inx});
    }
    // The table rows of the written page: the cells' texts, row by row.
    static std::vector<std::vector<std::string>> Rows(const fs::path& file) {
        const std::string page = FromCp949(test::ReadAll(file));
        std::vector<std::vector<std::string>> rows;
        for (std::size_t at = page.find("<TR>"); at != std::string::npos;
             at = page.find("<TR>", at + 4)) {
            const std::size_t end = page.find("</TR>", at);
            std::vector<std::string> cells;
            for (std::size_t td = page.find("<TD ", at); td != std::string::npos && td < end;
                 td = page.find("<TD ", td + 4)) {
                const std::size_t open = page.find('>', td) + 1;
                cells.push_back(page.substr(open, page.find("</TD>", open) - open));
            }
            rows.push_back(cells);
        }
        return rows;
    }

    fs::path root, expired;
    test::ScriptedInteraction ui;
};

TEST_F(ExpiredEb11ListTest, EveryRecordIsListedWithItsKindAndTheRemark) {
    Permit("1");
    const std::string path = WriteExpiredEb11List(*db, session, ui, expired.string(), "EB110319");
    ASSERT_FALSE(path.empty()) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(session.excel_folder));
    EXPECT_EQ(fs::path(path).filename().string().rfind("ExpiredEB110319_", 0), 0u) << path;
    EXPECT_TRUE(ui.texts().empty()) << ::testing::PrintToString(ui.texts());
    const auto rows = Rows(path);
    using Row = std::vector<std::string>;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (Row{"일련번호", "구분", "납부자번호", "은행코드", "계좌번호",
                            "생년월일(사업자번호)", "신청일자", "접수채널", "전화번호", "비고"}));
    // 006 is read as its successor 004, as when the file is applied.
    EXPECT_EQ(rows[1],
              (Row{"1", "신규", "0000012345", "0040000", "110-22-333", "900101", "2027-03-19",
                   "참가기관 계좌변경", "01012345678", "기관만료내역-파일 미적용"}));
    EXPECT_EQ(rows[2][1], "해지");
    EXPECT_EQ(rows[2][7], "참가기관 접수처리");
    EXPECT_EQ(rows[3][1], "임의해지");
    EXPECT_EQ(rows[3][3], "0880000");
    EXPECT_EQ(rows[3][7], "접수채널 정보없음");
    EXPECT_EQ(rows[3][9], kExpiredEb11Remark);
}

TEST_F(ExpiredEb11ListTest, PersonalColumnsOnlyWithPermission) {
    struct Case {
        const char* permit;
        bool launched, account;
    };
    for (const Case c : {Case{"0", false, false}, Case{"1", false, true}, Case{"0", true, true}}) {
        Permit(c.permit);
        session.launched_with_credentials = c.launched;
        const std::string path =
            WriteExpiredEb11List(*db, session, ui, expired.string(), "EB110319");
        ASSERT_FALSE(path.empty());
        const auto title = Rows(path).at(0);
        EXPECT_EQ(std::count(title.begin(), title.end(), "계좌번호"), c.account ? 1 : 0)
            << c.permit << c.launched;
        EXPECT_EQ(title.size(), c.account ? 10u : 9u);
        fs::remove(path);
    }
}

TEST_F(ExpiredEb11ListTest, FailuresNameTheFileAndLeaveNoList) {
    const std::string failed =
        "[EB110319] Excel파일 생성이 중단 또는 실패했습니다. 다시 시도해주십시오.";
    EXPECT_EQ(ExpiredEb11ListFailedText("EB110319"), failed);
    // An excel folder that cannot be made (a file stands in its place).
    fs::create_directories(root);
    std::ofstream(root / "excel") << "x";
    EXPECT_EQ(WriteExpiredEb11List(*db, session, ui, expired.string(), "EB110319"), "");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{failed});
    fs::remove(root / "excel");

    // A file that is not an EB11 of the institution.
    ui.shown.clear();
    std::ofstream(expired, std::ios::binary) << std::string(120, 'X');
    EXPECT_EQ(WriteExpiredEb11List(*db, session, ui, expired.string(), "EB110319"), "");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{failed});
    EXPECT_TRUE(!fs::exists(session.excel_folder) || fs::is_empty(session.excel_folder));
}

}  // namespace
}  // namespace qx
