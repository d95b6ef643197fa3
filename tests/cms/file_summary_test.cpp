// What the status screen and the processing screens read from a file's
// header and trailer, byte position by byte position, and the state texts.
#include "cms/workspace/file_summary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cms/workspace/cms_record.h"
#include "cms/workspace/cms_status.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class FileSummary : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qx-summary-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
    test::ScriptedInteraction ui_;
};

const CivilDate kDec4{2026, 12, 4};

TEST_F(FileSummary, HeaderDateOfEachKindComesFromItsOwnPosition) {
    const std::string eb13 = HeaderRecord("EB13", "9912345678", kDec4) +
                             TrailerRecord("EB13", "9912345678", kDec4, {{0, 8}});
    EXPECT_EQ(ReadHeaderDate(Write("EB131204", eb13), ui_), "20261204");

    // EI: the date at byte 18.
    const std::string ei13 = RecordBuilder(120)
                                 .text("H", 1)
                                 .text("00000000", 8)
                                 .text("12345678", 8)
                                 .text("270105", 6)
                                 .finish();
    EXPECT_EQ(ReadHeaderDate(Write("EI130105", ei13), ui_), "20270105");
    // EA: the date at byte 27.
    const std::string ea = RecordBuilder(120).blanks(26).text("261231", 6).finish();
    EXPECT_EQ(ReadHeaderDate(Write("EA211231", ea), ui_), "20261231");
    EXPECT_TRUE(ui_.shown.empty());

    EXPECT_EQ(ReadHeaderDate("", ui_), "");
    EXPECT_TRUE(ui_.shown.empty()) << "an empty path is not a bad file";
}

TEST_F(FileSummary, HeaderWithoutARealDateIsReportedAndUndated) {
    std::string bad = HeaderRecord("EB13", "9912345678", kDec4);
    bad.replace(27, 6, "26AB04");
    EXPECT_EQ(ReadHeaderDate(Write("EB131204", bad), ui_), "");
    std::string impossible = HeaderRecord("EB14", "9912345678", kDec4);
    impossible.replace(27, 6, "261340");
    EXPECT_EQ(ReadHeaderDate(Write("EB141204", impossible), ui_), "");
    // Shorter than a header.
    EXPECT_EQ(ReadHeaderDate(Write("EB111204", "H0000"), ui_), "");
    ASSERT_EQ(ui_.shown.size(), 3u);
    for (const auto& s : ui_.shown) EXPECT_EQ(s.text, "처리할 수 없는 형식의 파일입니다.");
}

TEST_F(FileSummary, TrailerCountsOf120ByteFiles) {
    const std::string org = "9912345678";
    std::string file = HeaderRecord("EB13", org, kDec4);
    for (int i = 0; i < 4; ++i) file += RecordBuilder(120).text("R", 1).number(i + 1, 8).finish();
    file += TrailerRecord("EB13", org, kDec4, {{4, 8}, {3, 8}, {0, 8}, {1, 8}, {0, 8}});
    EXPECT_EQ(ReadTrailerCounts(Write("EB131204", file)),
              "00000004,00000003,00000000,00000001,00000000");

    // A file cut short has no trailer to read.
    EXPECT_EQ(ReadTrailerCounts(Write("EB141204", file.substr(0, file.size() - 7))), "");
    EXPECT_EQ(ReadTrailerCounts(""), "");
    EXPECT_EQ(ReadTrailerCounts((dir_ / "EB111204").string()), "") << "missing file";
    EXPECT_EQ(ReadTrailerCounts(Write("EB151204", file)), "") << "not a listed kind";
}

TEST_F(FileSummary, TrailerCountsOf150ByteFilesTakeAmountsOfThirteenDigits) {
    const std::string org = "9912345678";
    std::string file = HeaderRecord("EB21", org, kDec4);
    file += RecordBuilder(150).text("R", 1).number(1, 8).finish();
    file += TrailerRecord("EB21", org, kDec4,
                          {{2, 8}, {2, 8}, {1234567890123LL, 13}, {1, 8}, {55000, 13}});
    EXPECT_EQ(ReadTrailerCounts(Write("EB211204", file)),
              "00000002,00000002,1234567890123,00000001,0000000055000");
    // The same bytes read as a 120-byte kind would be split wrongly; the
    // name decides.
    EXPECT_EQ(ReadTrailerCounts(Write("EB221204", file)),
              "00000002,00000002,1234567890123,00000001,0000000055000");
}

TEST_F(FileSummary, Ei13CountIsTakenFromTheFirstRecord) {
    const std::string ei = RecordBuilder(120).text("H", 1).blanks(42).number(37, 7).finish() +
                           std::string(1000, 'x');  // evidence data, no trailer of ours
    EXPECT_EQ(ReadTrailerCounts(Write("EI131204", ei)), "0000037,0000037,0,0,0");
}

TEST(StatusTexts, SendStat) {
    EXPECT_EQ(SendStatText("0"), "파일송신전");
    EXPECT_EQ(SendStatText("1"), "파일송신중");
    EXPECT_EQ(SendStatText("2"),
              "파일송신결과 확인중(이 상태가 1분 이상 지속될 경우 쿼리스 고객센터로 문의바람)");
    EXPECT_EQ(SendStatText("4"), "");
    EXPECT_EQ(SendStatText("5"), "");
    EXPECT_EQ(SendStatText(""), "");
}

TEST(StatusTexts, RelayStat) {
    const std::vector<std::pair<std::string, std::string>> expected = {{"0", "파일송신전"},
                                                                       {"1", "송신중"},
                                                                       {"2", "송신중"},
                                                                       {"3", "송신오류"},
                                                                       {"4", ""},
                                                                       {"6", "수신중"},
                                                                       {"7", "수신완료"},
                                                                       {"8", "수신오류"},
                                                                       {"9", "처리불가"},
                                                                       {"10", "파일적용중"},
                                                                       {"11", "파일 처리완료"},
                                                                       {"12", "파일처리 오류"},
                                                                       {"13", ""},
                                                                       {"", ""}};
    for (const auto& [stat, text] : expected) {
        EXPECT_EQ(RelayStatText(stat, "261207", "EB13"), text) << stat;
    }
    // Two blanks before 수신 for EB13, one for EB21.
    EXPECT_EQ(RelayStatText("5", "261207", "EB13"), "12월07일 13시  수신예정 자동처리됩니다.");
    EXPECT_EQ(RelayStatText("5", "27010513", "EB21"), "01월05일 13시 수신예정 자동처리됩니다.");
    EXPECT_EQ(RelayStatText("5", "2612", "EB13"), "") << "no day to name";
}

}  // namespace
}  // namespace qx
