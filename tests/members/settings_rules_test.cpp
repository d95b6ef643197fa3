// The pure rules under the settings, code-list and item screens.
#include <gtest/gtest.h>

#include "members/code_list_maintenance.h"
#include "members/items.h"
#include "members/program_settings.h"
#include "members/whole_number.h"

namespace qx {
namespace {

TEST(WholeNumberTest, AcceptsDigitsBlanksAndCommasOnly) {
    EXPECT_EQ(ParseWholeNumber("1000"), 1000);
    EXPECT_EQ(ParseWholeNumber(" 1,000 "), 1000);
    EXPECT_EQ(ParseWholeNumber("0"), 0);
    EXPECT_FALSE(ParseWholeNumber(""));
    EXPECT_FALSE(ParseWholeNumber(","));
    EXPECT_FALSE(ParseWholeNumber("-5"));
    EXPECT_FALSE(ParseWholeNumber("1.5"));
    EXPECT_FALSE(ParseWholeNumber("12a"));
    EXPECT_FALSE(ParseWholeNumber("99999999999999999999999"));
    EXPECT_FALSE(ParseWholeNumber("100", 99));
}

TEST(CmsSetTextTest, ReplacesExactlyOneCharacter) {
    EXPECT_EQ(ReplaceCmsSetDigit("000000000000001", 4, 1), "000100000000001");
    EXPECT_EQ(ReplaceCmsSetDigit("000000000000001", 1, 2), "200000000000001");
    EXPECT_EQ(ReplaceCmsSetDigit("000000000000001", 15, 0), "000000000000000");
}

TEST(CmsSetTextTest, ShortTextIsExtendedWithZeros) {
    EXPECT_EQ(ReplaceCmsSetDigit("12", 5, 1), "12001");
    EXPECT_EQ(ReplaceCmsSetDigit("", 1, 3), "3");
    EXPECT_EQ(CmsSetDigit("12", 5), 0);
    EXPECT_EQ(CmsSetDigit("12", 2), 2);
    EXPECT_EQ(CmsSetDigit("1x", 2), 0);
}

TEST(CmsSetSelectorsTest, OfferPositionsOneToElevenAndFifteen) {
    std::vector<int> positions;
    for (const auto& s : CmsSetSelectors()) positions.push_back(s.position);
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15}));
    EXPECT_EQ(FindCmsSetSelector(1)->entries.at(2), "합산 청구");
    EXPECT_EQ(FindCmsSetSelector(4)->entries.at(2), "미납분만 부분출금");
    EXPECT_EQ(FindCmsSetSelector(8)->entries.at(2), "이체파일 자동생성");
    EXPECT_EQ(FindCmsSetSelector(12), nullptr);
}

TEST(AutoDaysTest, RepeatedDayKeepsOnlyTheFirst) {
    EXPECT_EQ(ClearRepeatedDays({5, 10, 5, 0, 10}), (AutoDays{5, 10, 0, 0, 0}));
    EXPECT_EQ(ClearRepeatedDays({0, 0, 3, 3, 3}), (AutoDays{0, 0, 3, 0, 0}));
}

TEST(AutoDaysTest, TextRoundTrips) {
    EXPECT_EQ(AutoDayText({0, 0, 0, 0, 0}), "[0],[0],[0],[0],[0]");
    EXPECT_EQ(AutoDayText({5, 25, 0, 0, 0}), "[5],[25],[0],[0],[0]");
    EXPECT_EQ(ParseAutoDayText("[5],[25],[0],[0],[0]"), (AutoDays{5, 25, 0, 0, 0}));
    EXPECT_EQ(ParseAutoDayText(""), (AutoDays{}));
    EXPECT_EQ(ParseAutoDayText("[x],[99],[7"), (AutoDays{0, 0, 0, 0, 0}));
}

TEST(FreeFieldNameTest, OnlyDigitsLettersAndKorean) {
    EXPECT_TRUE(IsPlainFieldName("추가정보1"));
    EXPECT_TRUE(IsPlainFieldName("Email2"));
    EXPECT_FALSE(IsPlainFieldName("추가 정보"));
    EXPECT_FALSE(IsPlainFieldName("정보-1"));
    EXPECT_FALSE(IsPlainFieldName("a'b"));
    EXPECT_FALSE(IsPlainFieldName("비고(1)"));
    EXPECT_FALSE(IsPlainFieldName("※"));
    EXPECT_FALSE(IsPlainFieldName("\xEA\xB0"));  // cut UTF-8
}

ItemInput Good() {
    ItemInput in;
    in.name = "우유";
    in.pay = "1000";
    return in;
}

std::string FirstMessage(const ItemInput& in) {
    return CheckItemInput(in).message;
}

TEST(ItemCheckTest, PriceBoundary) {
    auto in = Good();
    in.pay = "999";
    EXPECT_EQ(FirstMessage(in), kItemPriceTooLowText);
    in.pay = "1000";
    EXPECT_EQ(FirstMessage(in), "");
    EXPECT_EQ(CheckItemInput(in).values.pay, 1000);
    EXPECT_EQ(CheckItemInput(in).values.tax, 0);
    in.pay = "천원";
    EXPECT_EQ(FirstMessage(in), kItemPriceInvalidText);
}

TEST(ItemCheckTest, FirstFailureWins) {
    ItemInput in;
    in.pay = "x";
    in.tax = "y";
    EXPECT_EQ(FirstMessage(in), kItemNameRequiredText);
    in.name = "  ";
    EXPECT_EQ(FirstMessage(in), kItemNameRequiredText);
    in.name = "품목";
    EXPECT_EQ(FirstMessage(in), kItemPriceInvalidText);
    in.pay = "5000";
    EXPECT_EQ(FirstMessage(in), kItemTaxInvalidText);
    in.tax = "99";
    EXPECT_EQ(FirstMessage(in), kItemTaxTooLowText);
    in.tax = "100";
    in.account_divide = kInstalment;
    in.agreement = "";
    EXPECT_EQ(FirstMessage(in), kItemInstalmentInvalidText);
    in.agreement = "99";
    EXPECT_EQ(FirstMessage(in), kItemInstalmentTooLowText);
    in.agreement = "100";
    EXPECT_EQ(FirstMessage(in), "");
    in.account_divide = kPeriod;
    in.agreement = "석달";
    EXPECT_EQ(FirstMessage(in), kItemPeriodInvalidText);
    in.agreement = "0";
    EXPECT_EQ(FirstMessage(in), kItemPeriodTooLowText);
    in.agreement = "1";
    EXPECT_EQ(FirstMessage(in), "");
}

TEST(ItemCheckTest, AgreementIsZeroForOtherKinds) {
    auto in = Good();
    in.account_divide = kAdHoc;
    in.agreement = "garbage";
    EXPECT_EQ(FirstMessage(in), "");
    EXPECT_EQ(CheckItemInput(in).values.agreement, 0);
}

TEST(ItemCheckTest, ValuesNoScreenOffersAreRefused) {
    auto in = Good();
    in.account_divide = 5;
    EXPECT_THROW(CheckItemInput(in), std::invalid_argument);
    in = Good();
    in.saleday = 32;
    EXPECT_THROW(CheckItemInput(in), std::invalid_argument);
    in = Good();
    in.settle_accounts = "1'";
    EXPECT_THROW(CheckItemInput(in), std::invalid_argument);
}

TEST(ItemRowTest, AgreementColumn) {
    ItemRow r;
    r.agreement = 12;
    r.account_divide = kInstalment;
    EXPECT_EQ(r.agreementColumn(), "12");
    r.account_divide = kPeriod;
    EXPECT_EQ(r.agreementColumn(), "12 개월");
    r.account_divide = kMonthly;
    EXPECT_EQ(r.agreementColumn(), "");
}

}  // namespace
}  // namespace qx
