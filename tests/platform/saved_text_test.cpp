#include "platform/saved_text.h"

#include <gtest/gtest.h>

#include <set>

namespace qx {
namespace {

TEST(SavedText, AsciiIdsAndPasswordsRoundTrip) {
    std::mt19937 random(7);
    for (const std::string text : {"quorisdex01", "Admin", "p@ss-w0rd_!~", "a b"}) {
        const std::string encoded = EncodeSavedText(text, random);
        EXPECT_EQ(encoded.size(), 4 * text.size()) << text;
        EXPECT_EQ(DecodeSavedText(encoded), text) << encoded;
    }
}

TEST(SavedText, GroupsFollowTheScrambleLayout) {
    // Byte 0x61 with random r: t = "61" + hex(r); group = t[2..3] t[1] t[last].
    std::mt19937 random(1);
    for (int i = 0; i < 500; ++i) {
        const std::string group = EncodeSavedText("a", random);
        ASSERT_EQ(group.size(), 4u);
        EXPECT_EQ(group[0], '1');
        EXPECT_EQ(group[2], '6');
        // t[2..3] = "1" + first digit of hex(r); hex(r) of 16..259 never starts with 0.
        EXPECT_NE(group[1], '0');
    }
    EXPECT_EQ(DecodeSavedText("1A6F"), "a");
    EXPECT_EQ(DecodeSavedText("1160"), "a");  // r = 256: t = "61100"
}

TEST(SavedText, RandomPartVariesAndSeedIsRepeatable) {
    std::mt19937 a(42), b(42);
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const std::string x = EncodeSavedText("id", a);
        EXPECT_EQ(x, EncodeSavedText("id", b));
        seen.insert(x);
    }
    EXPECT_GT(seen.size(), 10u);
    EXPECT_EQ(DecodeSavedText(EncodeSavedText("id")), "id");
}

TEST(SavedText, TrimsAndKeepsEmptyEmpty) {
    std::mt19937 random(3);
    EXPECT_EQ(EncodeSavedText("", random), "");
    EXPECT_EQ(EncodeSavedText("   ", random), "");
    EXPECT_EQ(EncodeSavedText("  id ", random).size(), 8u);
    EXPECT_EQ(DecodeSavedText(" " + EncodeSavedText("id", random) + " "), "id");
    EXPECT_EQ(DecodeSavedText(""), "");
}

TEST(SavedText, HangulRoundTripsAsTwoGroupsPerSyllable) {
    std::mt19937 random(5);
    const std::string encoded = EncodeSavedText("홍길동a", random);
    EXPECT_EQ(encoded.size(), 4u * 7);
    EXPECT_EQ(DecodeSavedText(encoded), "홍길동a");
}

TEST(SavedText, DamagedTextDecodesToEmpty) {
    EXPECT_EQ(DecodeSavedText("1A6"), "");       // not whole groups
    EXPECT_EQ(DecodeSavedText("1A6F1AZF"), "");  // not hexadecimal where it is read
}

}  // namespace
}  // namespace qx
