#include "cms/eb14/eb13_detail.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Eb13DetailTest, HolderNumbersAreMaskedUnlessBirthDateOrBusinessNumber) {
    struct Case {
        std::string number;
        bool full;
        std::string shown;
    };
    for (const Case& c : std::vector<Case>{{"800101", false, "800101"},
                                           {"1234567890", false, "1234567890"},
                                           {"8001011234567", false, "800101*******"},
                                           {"8001011234567", true, "8001011234567"},
                                           {"80010", false, "80010*******"},
                                           {"12345678901", false, "123456*******"},
                                           {"", false, "*******"}}) {
        EXPECT_EQ(MaskedHolderNumber(c.number, c.full), c.shown) << c.number;
    }
}

TEST(Eb13DetailTest, FilterWords) {
    EXPECT_EQ(ParseEb13DetailFilter("all"), Eb13DetailFilter::All);
    EXPECT_EQ(ParseEb13DetailFilter("open"), Eb13DetailFilter::Open);
    EXPECT_EQ(ParseEb13DetailFilter("refused"), Eb13DetailFilter::Refused);
    EXPECT_EQ(ParseEb13DetailFilter("Refused"), std::nullopt);
    EXPECT_EQ(ParseEb13DetailFilter(""), std::nullopt);
}

}  // namespace
}  // namespace qx
