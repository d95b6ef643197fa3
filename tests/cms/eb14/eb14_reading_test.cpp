// Reading a received EB14: which records are refusals, and every check that
// refuses a file before anything of it is stored.
#include <gtest/gtest.h>

#include <filesystem>

#include "cms/eb14/eb14_apply.h"
#include "cms/eb14/eb14_file.h"
#include "db/sql_quote.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class Eb14ReadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("qx-eb14-read-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    Eb14Reading Read(const std::string& bytes, const std::string& yymmdd = "261204") {
        const fs::path p = dir / "EB141204";
        test::WriteBytes(p, bytes);
        return ReadEb14File(p.string(), yymmdd);
    }
    fs::path dir;
};

TEST_F(Eb14ReadingTest, RefusalsAreTheRecordsFlaggedNAtByte92) {
    const auto r = Read(test::Eb14Bytes(
        "EB141204", "261204",
        {{1, "Y", "0000"}, {2, "N", "0013"}, {3, " ", ""}, {4, "N", "0015"}, {5, "n", "0011"}}));
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.refusals.size(), 2u);
    EXPECT_EQ(r.refusals[0], (Eb14Refusal{2, "0013"}));
    EXPECT_EQ(r.refusals[1], (Eb14Refusal{4, "0015"}));
}

TEST_F(Eb14ReadingTest, ReadingStopsAtTheTrailer) {
    std::string bytes = test::Eb14Bytes("EB141204", "261204", {{1, "N", "0013"}});
    bytes += test::Eb14Record({2, "N", "0014"}) + std::string(120, 'X');
    const auto r = Read(bytes);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.refusals.size(), 1u);
}

TEST_F(Eb14ReadingTest, MalformedFilesAreRefusedAndKeepNoRefusals) {
    const std::string good = test::Eb14Record({7, "N", "0013"});
    const std::string tail = test::Eb14Trailer("EB141204");
    struct Case {
        const char* what;
        std::string bytes;
        std::string yymmdd;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"header of another file", test::Eb14Header("EB140105", "261204") + good + tail, "261204",
         kEb14OtherNameText},
        {"header of another date", test::Eb14Header("EB141204", "251204") + good + tail, "261204",
         kEb14OtherDateText},
        {"record type X after a refusal",
         test::Eb14Header("EB141204", "261204") + good + test::Eb14Record({8, "N", "0013"}, "X") +
             tail,
         "261204", kEb14BadRecordText},
        {"lower-case record type",
         test::Eb14Header("EB141204", "261204") + test::Eb14Record({8, "Y", ""}, "r") + tail,
         "261204", kEb14BadRecordText},
        {"one byte short", (test::Eb14Header("EB141204", "261204") + good + tail).substr(0, 359),
         "261204", kEb14CutText},
        {"serial twice", test::Eb14Header("EB141204", "261204") + good + good + tail, "261204",
         kEb14BadSerialText},
        {"serial not a number",
         test::Eb14Header("EB141204", "261204") + "R0000x001" + good.substr(9) + tail, "261204",
         kEb14BadSerialText},
    };
    for (const auto& c : cases) {
        const auto r = Read(c.bytes, c.yymmdd);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_TRUE(r.refusals.empty()) << c.what;
    }
}

TEST(Eb14StagingTest, RefusalsAreStagedAHundredAStatement) {
    const auto tuples = [](const std::string& sql) {
        std::size_t n = 0;
        for (std::size_t p = sql.find("'N'"); p != std::string::npos; p = sql.find("'N'", p + 1))
            ++n;
        return n;
    };
    struct Case {
        std::size_t refusals;
        std::vector<std::size_t> batches;
    };
    for (const Case& c : std::vector<Case>{
             {0, {}}, {1, {1}}, {99, {99}}, {100, {100}}, {101, {100, 1}}, {250, {100, 100, 50}}}) {
        std::vector<Eb14Refusal> refusals;
        for (std::size_t i = 0; i < c.refusals; ++i)
            refusals.emplace_back(static_cast<long long>(i + 1), "0013");
        const auto statements = Eb14StagingStatements("`tps_1`", refusals);
        std::vector<std::size_t> sizes;
        for (const auto& s : statements) {
            EXPECT_EQ(
                s.rfind(
                    "insert into `tps_1`.file_ea13_run (`seq_num`,`result`,`result_code`) values (",
                    0),
                0u);
            sizes.push_back(tuples(s));
        }
        EXPECT_EQ(sizes, c.batches) << c.refusals;
    }
    // A code is quoted, never pasted.
    const auto hostile = Eb14StagingStatements("`tps_1`", {{5, "1');"}});
    EXPECT_NE(hostile[0].find(SqlQuote("1');")), std::string::npos);
}

TEST(Eb14TextsTest, SummaryAndBusyTexts) {
    EXPECT_EQ(Eb14SummaryText(2, 1),
              "처리결과 : 전체파일 3 건중 (2 건 성공, 1 건 실패)\r\n\r\nEB14(승인의뢰결과) 파일을 "
              "모두 처리 하였습니다.");
    EXPECT_EQ(Eb14BusyTitle("261204"), "[EB13261204] 파일 적용 처리불가");
    EXPECT_EQ(Eb14BusyText("261204").rfind(
                  "[EB13261204] 파일이 적용 진행 중이므로 적용작업을 중단합니다.\r\n", 0),
              0u);
}

}  // namespace
}  // namespace qx
