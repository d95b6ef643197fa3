// NH/Suhyup account classification, cancellation mapping and the texts of a
// replaced member row.
#include "members/member_rules.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(MemberRules, SuhyupAccountsSplitBetweenTheTwoBanks) {
    EXPECT_EQ(*ClassifyGroupAccount("007", "701234567890"), "030");
    EXPECT_EQ(*ClassifyGroupAccount("007", "201234567890"), "030");
    EXPECT_EQ(*ClassifyGroupAccount("007", "101234567890"), "007");
    EXPECT_EQ(*ClassifyGroupAccount("030", "12343123456"), "030");  // digits 4-5 "43"
    EXPECT_EQ(*ClassifyGroupAccount("030", "12342123456"), "007");
    EXPECT_EQ(*ClassifyGroupAccount("007", "48512345678901"), "030");
    EXPECT_EQ(*ClassifyGroupAccount("007", "49312345678901"), "030");
    EXPECT_EQ(*ClassifyGroupAccount("007", "49012345678901"), "007");
    EXPECT_EQ(GroupAccountMessage("007", "701234567890"),
              "입력하신 계좌는 거래은행을 [수협중앙회]로 등록하셔야 합니다.");
    EXPECT_EQ(GroupAccountMessage("030", "101234567890"),
              "입력하신 계좌는 거래은행을 [수협은행]으로 등록하셔야 합니다.");
    EXPECT_EQ(GroupAccountMessage("007", "101234567890"), "");
}

TEST(MemberRules, NhAccountsSplitBetweenTheTwoBanks) {
    EXPECT_EQ(*ClassifyGroupAccount("011", "12345678901"), "011");
    EXPECT_EQ(*ClassifyGroupAccount("012", "1234567890123"), "012");
    EXPECT_EQ(*ClassifyGroupAccount("011", "1234567890128"), "011");
    EXPECT_EQ(*ClassifyGroupAccount("011", "1234567890126"), "처리불가");
    EXPECT_EQ(*ClassifyGroupAccount("012", "12345664123456"), "011");
    EXPECT_EQ(*ClassifyGroupAccount("011", "12345612123456"), "012");
    EXPECT_EQ(GroupAccountMessage("011", "1234567890126"),
              "입력한 계좌번호가 농협(은행,중앙회)계좌구분체계에 맞지 않아 확인에 실패하였습니다.");
    EXPECT_EQ(GroupAccountMessage("012", "12345678901"),
              "입력하신 계좌는 거래은행을 [농협은행]로 등록하셔야 합니다.");
    EXPECT_EQ(GroupAccountMessage("011", "1234567890123"),
              "입력하신 계좌는 거래은행을 [농협중앙회]로 등록하셔야 합니다.");
    EXPECT_FALSE(ClassifyGroupAccount("004", "1234"));
}

TEST(MemberRules, CancellationMapping) {
    EXPECT_EQ(CancelledCmsStatus("0"), "13");
    EXPECT_EQ(CancelledCmsStatus("2"), "13");
    for (const char* s : {"1", "3", "6", "7", "8", "15"})
        EXPECT_EQ(CancelledCmsStatus(s), "11") << s;
}

TEST(MemberRules, ReplacedCompanyStaysWithin32Characters) {
    const std::string text = ReplacedCompanyText(
        "가나다라마바사아자차카타파하가나다라마바사아자차카타파하", 100, 9000000123);
    EXPECT_EQ(CharacterCount(text), 32u);
    EXPECT_TRUE(text.ends_with("(100->9000000123 변경)"));
    EXPECT_TRUE(text.starts_with("가나다라마바사아자차카타"));
    EXPECT_EQ(ReplacedCompanyText("", 1, 2), "(1->2 변경)");
    EXPECT_EQ(TenDigits(42), "0000000042");
}

TEST(MemberRules, NumbersAndPeriods) {
    EXPECT_EQ(*ParseSignedWhole("-1,000"), -1000);
    EXPECT_FALSE(ParseSignedWhole("1-0"));
    EXPECT_FALSE(ParseSignedWhole("-"));
    EXPECT_EQ(PeriodEndMonth("2026-11", 3), "27-01");
    EXPECT_EQ(PeriodEndMonth("2026-01", 1), "26-01");
    EXPECT_EQ(PeriodEndMonth("2026-13", 1), "");
    EXPECT_EQ(PeriodEndCaption("27-01"), "2027년 01월 까지");
    EXPECT_EQ(LeftCharacters("가A나", 2), "가A");
}

TEST(MemberRules, PeriodEndYearCrossesTheCentury) {
    EXPECT_EQ(PeriodEndYear("2026-12", 877), 2099);  // December 2099
    EXPECT_EQ(PeriodEndYear("2026-12", 878), 2100);  // would be written "00-01"
    EXPECT_EQ(PeriodEndMonth("2026-12", 878), "00-01");
    EXPECT_EQ(PeriodEndYear("2026-13", 1), 0);
}

TEST(MemberRules, StatesCodesAndTexts) {
    for (const char* s : {"11", "12", "13"}) EXPECT_TRUE(IsCancellationState(s)) << s;
    for (const char* s : {"0", "1", "2", "3", "14", "15", "113"})
        EXPECT_FALSE(IsCancellationState(s)) << s;
    for (const char* s : {"3", "6", "7", "8"}) EXPECT_TRUE(IsRegisteredAtBank(s)) << s;
    for (const char* s : {"0", "1", "2", "11", "13", "15"})
        EXPECT_FALSE(IsRegisteredAtBank(s)) << s;

    EXPECT_EQ(FullBankCode("004"), "0040000");
    EXPECT_EQ(FullBankCode("0041234"), "0041234");
    for (const char* kept : {"04", "0040", "ab1", "가나다", ""})
        EXPECT_EQ(FullBankCode(kept), kept);
    for (const char* c : {"00", "11", "16", "19"}) EXPECT_TRUE(IsPhoneCarrierCode(c)) << c;
    for (const char* c : {"0", "01", "12", "99", "110"}) EXPECT_FALSE(IsPhoneCarrierCode(c)) << c;

    EXPECT_EQ(EscapeLikePattern("100%_a!b", '!'), "100!%!_a!!b");
    EXPECT_EQ(EscapeLikePattern("홍길동", '!'), "홍길동");

    struct Case {
        const char* text;
        bool multiLine, refused;
    };
    for (const Case c :
         {Case{"홍길동", false, false}, Case{"홍\n길동", false, true},
          Case{"홍\n길동", true, false}, Case{"a\tb", true, false}, Case{"a\x01b", true, true},
          Case{"a\x7f", false, true}, Case{"a\rb", false, true}}) {
        EXPECT_EQ(HasControlCharacter(c.text, c.multiLine), c.refused) << c.text;
    }
    EXPECT_EQ(ReissuedCertificate("4", "010"), (std::pair<std::string, std::string>{"", ""}));
    EXPECT_EQ(ReissuedCertificate("0", "010"), (std::pair<std::string, std::string>{"", ""}));
    EXPECT_EQ(ReissuedCertificate("", "010"), (std::pair<std::string, std::string>{"", ""}));
    EXPECT_EQ(ReissuedCertificate("3", "010"), (std::pair<std::string, std::string>{"1", "010"}));
}

}  // namespace
}  // namespace qx
