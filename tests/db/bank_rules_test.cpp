#include "db/bank_rules.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(MergedBankName, MapsMergedCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"006", "국민(004)"},
        {"079", "국민(004)"},
        {"010", "농협중앙회(011)"},
        {"016", "농협중앙회(011)"},
        {"013", "농협단위조합(012)"},
        {"018", "농협단위조합(012)"},
        {"084", "우리(020)"},
        {"041", "우리(020)"},
        {"021", "통합신한(088)"},
        {"028", "통합신한(088)"},
        {"036", "한국씨티(027)"},
        {"053", "한국씨티(027)"},
        {"046", "새마을금고연합회(045)"},
        {"086", "새마을금고연합회(045)"},
        {"049", "신용협동조합중앙회(048)"},
        {"047", "신용협동조합중앙회(048)"},
        {"072", "우체국(071)"},
        {"075", "우체국(071)"},
        {"025", "KEB하나(081)"},
        {"005", "KEB하나(081)"},
        {"289", "NH투자증권(247)"},
        {"230", "미래에셋대우(238)"},
        {"009", "수협은행(007)"},
        {"069", "수협중앙회(030)"},
        {"070", "수협중앙회(030)"},
        {"043", "기업(003)"},
    };
    for (const auto& [code, name] : cases) EXPECT_EQ(MergedBankName(code), name) << code;
}

TEST(MergedBankName, OtherCodesComeBackUnchanged) {
    EXPECT_EQ(MergedBankName("090"), "090");
    EXPECT_EQ(MergedBankName("004"), "004");  // the surviving bank itself
    EXPECT_EQ(MergedBankName("6"), "6");
    EXPECT_EQ(MergedBankName(""), "");
}

TEST(NhAccountKind, ByLength) {
    EXPECT_EQ(NhAccountKind("12345678901"), "11");
    EXPECT_EQ(NhAccountKind("123456789012"), "11");
    EXPECT_EQ(NhAccountKind("1234567890"), "처리불가");
    EXPECT_EQ(NhAccountKind("123456789012345"), "처리불가");
    EXPECT_EQ(NhAccountKind(""), "처리불가");
}

TEST(NhAccountKind, ThirteenDigitsByLastDigit) {
    for (char last : std::string("128")) {
        EXPECT_EQ(NhAccountKind(std::string("123456789012") + last), "11") << last;
    }
    for (char last : std::string("3459")) {
        EXPECT_EQ(NhAccountKind(std::string("123456789012") + last), "12") << last;
    }
    for (char last : std::string("067")) {
        EXPECT_EQ(NhAccountKind(std::string("123456789012") + last), "처리불가") << last;
    }
}

TEST(NhAccountKind, FourteenDigitsByDigitsSevenEightOrPrefix) {
    EXPECT_EQ(NhAccountKind("30101264000001"), "11");  // digits 7-8 "64"
    EXPECT_EQ(NhAccountKind("30101265000001"), "11");  // "65"
    EXPECT_EQ(NhAccountKind("30101266000001"), "12");
    EXPECT_EQ(NhAccountKind("30164000000001"), "12");  // 64 elsewhere does not count
    EXPECT_EQ(NhAccountKind("79000000000001"), "11");
    EXPECT_EQ(NhAccountKind("79100000000001"), "11");
    EXPECT_EQ(NhAccountKind("79200000000001"), "12");
}

TEST(NhAccountKind, BlanksAroundAreIgnoredOtherCharactersRefused) {
    EXPECT_EQ(NhAccountKind(" 12345678901 "), "11");
    EXPECT_EQ(NhAccountKind("301-0126-4000-01"), "처리불가");
    EXPECT_EQ(NhAccountKind("1234567890a"), "처리불가");
}

}  // namespace
}  // namespace qx
