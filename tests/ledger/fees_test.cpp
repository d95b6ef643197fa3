#include "ledger/fees.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Fees, OnlyTheSixteenListedCodesAreFreeOfTheFailureFee) {
    for (const char* code : {"A012", "0011", "0096", "0061", "0062", "0068", "0075", "0081", "0087",
                             "0088", "0089", "0090", "0098", "9999", "D096", "D098"})
        EXPECT_FALSE(IsChargedFailureCode(code)) << code;
    for (const char* code : {"0012", "0013", "A011", "0000", "", "001", "00111", "d096", "D097"})
        EXPECT_TRUE(IsChargedFailureCode(code)) << code;
    EXPECT_EQ(UnchargedFailureCodesSql().substr(0, 14), "'A012','0011',");
    EXPECT_NE(UnchargedFailureCodesSql().find("'D098'"), std::string::npos);
}

TEST(Fees, CardFeeIsCutAtHundredthsPerPurchaseAndRoundedOnceOverTheFile) {
    struct Case {
        long long amount, hundredths;
    };
    for (const Case c : std::initializer_list<Case>{{10000, 30800},  // 280 + 28 won
                                                    {1, 2 + 0},      // 2.8 → 2, 0.28 → 0
                                                    {3, 8 + 0},      // 8.4 → 8, 0.84 → 0
                                                    {4, 11 + 1},     // 11.2 → 11, 1.12 → 1
                                                    {12345, 34566 + 3456},
                                                    {0, 0},
                                                    {-500, 0}})
        EXPECT_EQ(CardPurchaseFeeHundredths(c.amount), c.hundredths) << c.amount;
    EXPECT_EQ(HundredthsToWon(CardPurchaseFeeHundredths(10000)), 308);
    // Ten purchases of 1,001 won: 30.82 won each, 308 won for the file
    // (rounding each purchase first would charge 310).
    long long sum = 0;
    for (int i = 0; i < 10; ++i) sum += CardPurchaseFeeHundredths(1001);
    EXPECT_EQ(sum, 30820);
    EXPECT_EQ(HundredthsToWon(sum), 308);
    EXPECT_EQ(HundredthsToWon(49), 0);
    EXPECT_EQ(HundredthsToWon(50), 1);
    EXPECT_EQ(HundredthsToWon(-150), -2);
}

}  // namespace
}  // namespace qx
