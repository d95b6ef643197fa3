// Reading a received EB22 by byte position: the fields of a data record,
// the staging statements cut per hundred records, and the refusals of a
// damaged file.
#include <gtest/gtest.h>

#include <filesystem>

#include "cms/eb22/eb22_apply.h"
#include "cms/eb22/eb22_file.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class Eb22ReadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("qx-eb22-read-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    Eb22Reading Read(const std::string& bytes, const std::string& name = "EB221204") {
        test::WriteBytes(dir / name, bytes);
        return ReadEb22File((dir / name).string(), "261204");
    }
    fs::path dir;
};

TEST_F(Eb22ReadingTest, FieldsComeFromTheirBytePositions) {
    const Eb22Reading r = Read(test::Eb22Bytes("EB221204", "261204",
                                               {{7, 15000, " ", "0000"},
                                                {9, 22000, "N", "0012"},
                                                {10, 3000, "P", "0011"},
                                                {12345678, 5000, "N", "0011"}}));
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.results.size(), 4u);
    EXPECT_EQ(r.results[0].serial, 7);
    EXPECT_EQ(r.results[0].result, "");
    EXPECT_EQ(r.results[0].amount, 15000);
    EXPECT_EQ(r.results[0].divAmount(), 0);
    EXPECT_EQ(r.results[1].serial, 9);
    EXPECT_EQ(r.results[3].serial, 12345678);
    EXPECT_EQ(r.results[1].result, "N");
    EXPECT_EQ(r.results[1].code, "0012");
    EXPECT_EQ(r.results[1].divAmount(), 0);
    EXPECT_EQ(r.results[2].result, "P");
    EXPECT_EQ(r.results[2].divAmount(), 3000);
    // Two failures, one of them exempt from the fee, 27,000 not withdrawn.
    EXPECT_EQ(r.failures, 2);
    EXPECT_EQ(r.chargedFailures, 1);
    EXPECT_EQ(r.notWithdrawnFailed, 27000);
}

TEST_F(Eb22ReadingTest, StagingIsOneStatementPerHundredRecords) {
    for (const auto& [records, sizes] :
         std::vector<std::pair<int, std::vector<std::size_t>>>{{0, {}},
                                                               {1, {1}},
                                                               {99, {99}},
                                                               {100, {100}},
                                                               {101, {100, 1}},
                                                               {150, {100, 50}},
                                                               {200, {100, 100}}}) {
        std::vector<Eb22Result> results;
        for (int i = 1; i <= records; ++i)
            results.push_back({i, i % 3 == 0 ? "P" : "", i % 3 == 0 ? "0011" : "", 500});
        const auto statements = Eb22StagingStatements("tps_7", results);
        ASSERT_EQ(statements.size(), sizes.size()) << records;
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            const auto& sql = statements[s];
            EXPECT_EQ(sql.rfind("insert into tps_7.file_ea21_run (`seq_num`,`result`,"
                                "`result_code`,`div_amount`) values (",
                                0),
                      0u);
            EXPECT_EQ(static_cast<std::size_t>(std::count(sql.begin(), sql.end(), '(')) - 1,
                      sizes[s])
                << records;
        }
    }
    const auto one = Eb22StagingStatements("tps_7", {{3, "P", "0011", 700}, {4, "", "", 900}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_NE(one[0].find("(3,'P','0011',700),(4,'','',0)"), std::string::npos) << one[0];
}

TEST_F(Eb22ReadingTest, DamagedFilesAreRefusedWithTheirReason) {
    const std::string h = test::Eb22Header("EB221204", "261204");
    const std::string t = test::Eb22Trailer("EB221204");
    const std::string good = test::Eb22Record({1, 1000, " ", "0000"});
    struct Case {
        const char* what;
        std::string bytes;
        std::string error;
    };
    std::string badAmount = test::Eb22Record({2, 1000, " ", "0000"});
    badAmount.replace(50, 1, "x");
    const std::vector<Case> cases = {
        {"header of another file", test::Eb22Header("EB221203", "261204") + good + t,
         kEb22OtherNameText},
        {"header of another day", test::Eb22Header("EB221204", "261203") + good + t,
         kEb22OtherDateText},
        {"record type X", h + good + test::Eb22Record({2, 1000, " ", ""}, "X") + t,
         kEb22BadRecordText},
        {"cut short", (h + good + t).substr(0, 449), kEb22CutText},
        {"serial twice", h + good + test::Eb22Record({1, 1000, "N", "0011"}) + t,
         kEb22BadSerialText},
        {"serial falling",
         h + test::Eb22Record({5, 1000, " ", "0000"}) + test::Eb22Record({4, 1000, " ", "0000"}) +
             t,
         kEb22BadSerialText},
        {"result Y", h + test::Eb22Record({1, 1000, "Y", "0000"}) + t, kEb22BadResultText},
        {"partial of nothing", h + test::Eb22Record({1, 0, "P", "0011"}) + t, kEb22BadResultText},
        {"amount not a number", h + badAmount + t, kEb22BadResultText},
    };
    for (const Case& c : cases) {
        const Eb22Reading r = Read(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_TRUE(r.results.empty()) << c.what;
        EXPECT_EQ(r.failures, 0) << c.what;
    }
    // After the trailer nothing is read, and bytes past 100 are ignored.
    std::string tail = test::Eb22Record({5, 2000, " ", "0000"});
    tail.replace(120, 10, "##########");
    const Eb22Reading r = Read(h + tail + t + test::Eb22Record({6, 1, "Z", ""}, "Z"));
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.results.size(), 1u);
    EXPECT_EQ(r.results[0].amount, 2000);
    // A file whose name's last eight characters differ from its header.
    EXPECT_EQ(Read(h + good + t, "xEB221205").error, kEb22OtherNameText);
}

}  // namespace
}  // namespace qx
