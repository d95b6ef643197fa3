#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Codepage, ConvertsBetweenUtf8AndCp949) {
    EXPECT_EQ(ToCp949("가A"),
              "\xB0\xA1"
              "A");
    EXPECT_EQ(FromCp949("\xB0\xA1"
                        "A"),
              "가A");
    EXPECT_EQ(FromCp949(ToCp949("홍길동 123 갂")), "홍길동 123 갂");
    // Outside CP949, and bytes that are no character, become '?'.
    EXPECT_EQ(ToCp949("a😀b"), "a?b");
    EXPECT_EQ(ToCp949("a\xFF"
                      "b"),
              "a?b");
    EXPECT_EQ(FromCp949("a\x80"
                        "b\xB0"),
              "a?b?");
}

TEST(Codepage, RecognisesUtf8) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("한글"));
    EXPECT_FALSE(IsValidUtf8(ToCp949("한글")));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE1\x84"));      // cut short
}

TEST(Codepage, ByteLengthCountsHangulTwice) {
    EXPECT_EQ(ByteLength("가A"), 3);
    EXPECT_EQ(ByteLength(""), 0);
    EXPECT_EQ(ByteLength("홍길동 12"), 9);
}

TEST(Codepage, ByteMidTakesWholeCharacters) {
    EXPECT_EQ(ByteMid("AB가나CD", 1, 2), "AB");
    EXPECT_EQ(ByteMid("AB가나CD", 3, 4), "가나");
    EXPECT_EQ(ByteMid("AB가나CD", 7, 2), "CD");
}

TEST(Codepage, ByteMidBlanksHangulCutAtEitherEnd) {
    // "AB가나CD": 가 is bytes 3-4, 나 bytes 5-6.
    EXPECT_EQ(ByteMid("AB가나CD", 4, 3), " 나");  // starts inside 가
    EXPECT_EQ(ByteMid("AB가나CD", 3, 3), "가 ");  // ends inside 나
    EXPECT_EQ(ByteMid("AB가나CD", 4, 2), "  ");   // both halves
    EXPECT_EQ(ByteMid("가", 2, 1), " ");
}

TEST(Codepage, MidBytesFindsBoundariesWhenTrailByteLooksLikeALetter) {
    // 갂 is 0x81 0x41: its second byte alone would read as 'A'.
    const std::string record = ToCp949("X갂갂Y");
    ASSERT_EQ(record, "X\x81\x41\x81\x41Y");
    EXPECT_EQ(MidBytes(record, 3, 4), " 갂Y");
    EXPECT_EQ(MidBytes(record, 3, 2), "  ");
    EXPECT_EQ(MidBytes(record, 5, 2), " Y");
    EXPECT_EQ(MidBytes(record, 2, 4), "갂갂");
}

TEST(Codepage, MidBytesBlanksNulsAndClampsTheRange) {
    const std::string record("A\0B", 3);
    EXPECT_EQ(MidBytes(record, 1, 3), "A B");
    EXPECT_EQ(MidBytes("ABCDEF", 5, 10), "EF");
    EXPECT_EQ(MidBytes("ABCDEF", 0, 2), "AB");
    EXPECT_EQ(MidBytes("ABCDEF", -5, 1), "A");
    EXPECT_EQ(MidBytes("ABCDEF", 7, 1), "");
    EXPECT_EQ(MidBytes("ABCDEF", 2, 0), "");
    EXPECT_EQ(MidBytes("ABCDEF", 2, -1), "");
    EXPECT_EQ(MidBytes("", 1, 5), "");
    EXPECT_EQ(MidBytes("AB", 2, 9'000'000'000'000'000'000LL), "B");
}

TEST(Codepage, FixedWidthFieldsOfARecord) {
    // A name field of 10 bytes followed by an amount, as in the CMS records.
    const std::string record = ToCp949("R홍길동    000123");
    EXPECT_EQ(MidBytes(record, 2, 10), "홍길동    ");
    EXPECT_EQ(MidBytes(record, 12, 6), "000123");
    EXPECT_EQ(MidBytes(record, 2, 5), "홍길 ");
}

}  // namespace
}  // namespace qx
