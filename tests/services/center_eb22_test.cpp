// The simulated clearing house answers an EB21 with an EB22 of the same
// shape: by default every request withdrawn, refused or partly withdrawn by
// its rules, byte for byte where the client's reader looks, with the
// trailer's count and sum of what was withdrawn.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "center.h"
#include "cms/eb22/eb22_apply.h"
#include "cms/workspace/cms_record.h"
#include "file_check.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

const std::string kOrg = "9900001234";

struct Request {
    std::string account;
    long long amount;
    std::string kind;  // "1" full withdrawal only, "2" partial allowed
};

std::string Eb21(const std::vector<Request>& requests) {
    std::string bytes = RecordBuilder(150)
                            .text("H", 1)
                            .number(0, 8)
                            .text(kOrg, 10)
                            .text("EB210316", 8)
                            .text("260316", 6)
                            .text("0880000", 7)
                            .text("110123456789", 16)
                            .finish();
    long long serial = 0, total = 0;
    for (const Request& r : requests) {
        total += r.amount;
        ++serial;
        bytes += RecordBuilder(150)
                     .text("R", 1)
                     .number(serial, 8)
                     .text(kOrg, 10)
                     .text("0040000", 7)
                     .text(r.account, 16)
                     .number(r.amount, 13)
                     .text("800101", 13)
                     .blanks(5)
                     .text("한빛회비", 16)
                     .blanks(2)
                     .text(std::to_string(serial), 20)
                     .blanks(5)
                     .text(r.kind, 1)
                     .finish();
    }
    return bytes + RecordBuilder(150)
                       .text("T", 1)
                       .number(99999999, 8)
                       .text(kOrg, 10)
                       .text("EB210316", 8)
                       .number(serial, 8)
                       .number(serial, 8)
                       .number(total, 13)
                       .number(0, 21)
                       .finish();
}

TEST(CenterEb22Test, AnEb21IsAnsweredByItsRules) {
    const fs::path dir = fs::temp_directory_path() / ("qx-center-eb22-" + std::to_string(getpid()));
    fs::remove_all(dir);
    center::Center c(dir.string());
    c.AddRule("withdraw-refuse 20000000002 0012");
    c.AddRule("withdraw-partial 30000000003 4000");
    c.AddRule("withdraw-partial 40000000004 4000");   // full withdrawal only: refused
    c.AddRule("withdraw-partial 50000000005 90000");  // more than asked: withdrawn in full
    c.AddRule("refuse 10000000001 0013");             // a registration rule: no effect here
    const std::string sent = Eb21({{"10000000001", 10000, "2"},
                                   {"20000000002", 20000, "2"},
                                   {"30000000003", 30000, "2"},
                                   {"40000000004", 40000, "1"},
                                   {"50000000005", 50000, "2"}});
    ASSERT_EQ(c.Accept(kOrg, "EB210316", sent).code, center::kOk);
    const auto held = c.Receivable(kOrg, "20260316", "20260316");
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].name, "EB220316");
    EXPECT_EQ(held[0].okRecords, 3);
    EXPECT_EQ(held[0].okAmount, 10000 + 4000 + 50000);
    std::string got;
    ASSERT_EQ(c.Fetch(kOrg, "EB220316", "20260316", false, got).code, center::kOk);
    ASSERT_EQ(got.size(), sent.size());

    auto field = [&](int record, int position, int length) {
        return got.substr(record * 150 + position - 1, length);
    };
    EXPECT_EQ(field(0, 20, 8), "EB220316");
    EXPECT_EQ(field(6, 20, 8), "EB220316");
    struct Expect {
        int record;
        std::string result, code, amount;
    };
    for (const Expect& e : std::vector<Expect>{{1, " ", "0000", "0000000010000"},
                                               {2, "N", "0012", "0000000020000"},
                                               {3, "P", "0011", "0000000004000"},
                                               {4, "N", "0011", "0000000040000"},
                                               {5, " ", "0000", "0000000050000"}}) {
        EXPECT_EQ(field(e.record, 69, 1), e.result) << e.record;
        EXPECT_EQ(field(e.record, 70, 4), e.code) << e.record;
        EXPECT_EQ(field(e.record, 43, 13), e.amount) << e.record;
        // Everything else is the request as sent, Hangul passbook text included.
        EXPECT_EQ(field(e.record, 1, 42), sent.substr(e.record * 150, 42)) << e.record;
        EXPECT_EQ(got.substr(e.record * 150 + 73, 77), sent.substr(e.record * 150 + 73, 77))
            << e.record;
    }
    // Trailer: the request count and sum as sent, then what was withdrawn.
    EXPECT_EQ(field(6, 28, 29), sent.substr(6 * 150 + 27, 29));
    EXPECT_EQ(field(6, 57, 21),
              "00000003"
              "0000000064000");

    // The client reads the answer as the center meant it.
    const fs::path path = dir / "EB220316";
    std::ofstream(path, std::ios::binary) << got;
    const Eb22Reading r = ReadEb22File(path.string(), "260316");
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.results.size(), 5u);
    EXPECT_EQ(r.results[2].result, "P");
    EXPECT_EQ(r.results[2].divAmount(), 4000);
    EXPECT_EQ(r.failures, 2);
    EXPECT_EQ(r.chargedFailures, 1);  // 0012 charged, 0011 not
    EXPECT_EQ(r.notWithdrawnFailed, 60000);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace qx
