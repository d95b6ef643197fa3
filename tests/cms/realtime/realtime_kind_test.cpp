// The three real-time services: the code the library speaks and the texts
// of the choice box and of the result list belong together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cms/realtime/realtime_service.h"

namespace qx {
namespace {

TEST(RealtimeKind, EachCodeNamesOneServiceWithItsTwoTexts) {
    struct Case {
        std::string code;
        RealtimeKind kind;
        std::string choice, list;
    };
    const std::vector<Case> cases = {
        {"50", RealtimeKind::Inquiry, "계좌실명조회", "계좌조회"},
        {"51", RealtimeKind::Registration, "신규신청(출금이체신청등록)", "출금이체신청"},
        {"52", RealtimeKind::Cancellation, "해지신청(출금이체해지등록)", "출금해지"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(RealtimeKindOf(c.code), c.kind);
        EXPECT_EQ(RealtimeKindChoiceText(c.kind), c.choice);
        EXPECT_EQ(RealtimeKindListText(c.kind), c.list);
    }
    // Only the exact code: no neighbours, padding or empty text.
    for (const std::string code : {"49", "53", "5", "050", " 50", "50 ", "", "5O"})
        EXPECT_EQ(RealtimeKindOf(code), std::nullopt) << '"' << code << '"';
    EXPECT_EQ(RealtimeKindChoiceText(static_cast<RealtimeKind>(53)), "");
}

}  // namespace
}  // namespace qx
