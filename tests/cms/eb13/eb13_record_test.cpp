// EB13 data records and trailer, byte for byte.
#include "cms/eb13/eb13_record.h"

#include <gtest/gtest.h>

#include "cms/eb13/eb13_targets.h"

namespace qx {
namespace {

Eb13Target Target(const std::string& kind, const std::string& bank, const std::string& id) {
    Eb13Target t;
    t.request_kind = kind;
    t.bank_code = bank;
    t.account_no = "1234567890123";
    t.account_jumin = id;
    t.payer_number = "0000000100";
    return t;
}

TEST(Eb13Record, NewRegistrationByteForByte) {
    const std::string r = Eb13DataRecord(Target("신규", "0040000", "8001011234567"), 7,
                                         "9912345678", CivilDate{2026, 12, 4}, "0000000100");
    ASSERT_EQ(r.size(), 120u);
    EXPECT_EQ(r.substr(0, 1), "R");
    EXPECT_EQ(r.substr(1, 8), "00000007");
    EXPECT_EQ(r.substr(9, 10), "9912345678");
    EXPECT_EQ(r.substr(19, 6), "261204");
    EXPECT_EQ(r.substr(25, 1), "1");
    EXPECT_EQ(r.substr(26, 20), "0000000100          ");
    EXPECT_EQ(r.substr(46, 7), "0040000");
    EXPECT_EQ(r.substr(53, 16), "1234567890123   ");
    // A 13-digit holder number goes out as its birth date only.
    EXPECT_EQ(r.substr(69, 16), "800101          ");
    EXPECT_EQ(r.substr(85), std::string(35, ' '));
}

TEST(Eb13Record, CancellationKeepsShortHolderNumbersAndZeroesTheBranch) {
    const std::string r = Eb13DataRecord(Target("해지",
                                                "004"
                                                "0000",
                                                "1234567890"),
                                         1, "ORG", CivilDate{2026, 1, 5}, "77");
    EXPECT_EQ(r.substr(9, 10), "ORG       ");
    EXPECT_EQ(r.substr(25, 1), "3");
    EXPECT_EQ(r.substr(26, 20), "77" + std::string(18, ' '));
    EXPECT_EQ(r.substr(69, 16), "1234567890      ");
}

TEST(Eb13Record, BankCodeAndHolderNumberRules) {
    // The column carries the bank part with "0000"; the branch never survives.
    EXPECT_EQ(Eb13BankCode("0040000"), "0040000");
    EXPECT_EQ(Eb13BankCode("11 0000"), "0110000");
    EXPECT_EQ(Eb13IdNumber("1234567890"), "1234567890");
    EXPECT_EQ(Eb13IdNumber("12345678901"), "123456");
    EXPECT_EQ(Eb13IdNumber("800101"), "800101");
}

TEST(Eb13Record, TrailerCountsNewAndCancellations) {
    const std::string t = Eb13Trailer("9912345678", CivilDate{2026, 12, 4}, 3, 2);
    ASSERT_EQ(t.size(), 120u);
    EXPECT_EQ(t.substr(0, 27), "T999999999912345678EB131204");
    EXPECT_EQ(t.substr(27, 8), "00000005");
    EXPECT_EQ(t.substr(35, 8), "00000003");
    EXPECT_EQ(t.substr(43, 8), "00000000");
    EXPECT_EQ(t.substr(51, 8), "00000002");
    EXPECT_EQ(t.substr(59, 8), "00000000");
    EXPECT_EQ(t.substr(67), std::string(53, ' '));
}

}  // namespace
}  // namespace qx
