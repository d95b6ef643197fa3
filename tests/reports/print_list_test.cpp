// The print-list file byte for byte, read back, and refused when malformed.
#include "reports/print_list.h"

#include <gtest/gtest.h>

#include "reports/report_filter.h"

namespace qx {
namespace {

PrintList TwoSections() {
    PrintList list;
    list.title = "보고서_고객별";
    list.criteria = CriteriaLine("2026-03-01", "2026-03-31", {"본사", "없음", "김"});
    list.sections.push_back(
        {"합계", {{{"구분"}, {"매출액"}, {"수금액"}}, {{"CMS출금", "1,234,567", "0"}}}});
    list.sections.push_back(
        {"매출/수금 정보",
         {{{"납부자번호"}, {"고객명"}, {"매출액"}, {"비고"}},
          {{"0000000001", "홍길동", "10,000", ""}, {"0000000002", "O'Brien", "-500", ""}}}});
    return list;
}

TEST(PrintList, TwoSectionsByteForByte) {
    const std::string expected =
        "Quorisdex Print File\r\n"
        "보고서_고객별\r\n"
        "조회기간 : 2026-03-01 \xe2\x88\xbc 2026-03-31 (지:본사 / 대:없음 / 담:김)\r\n"
        "[M]합계\r\n"
        "구분[S]매출액[S]수금액\r\n"
        "CMS출금[S]1,234,567[S]0\r\n"
        "--[NEXT]--\r\n"
        "[M]매출/수금 정보\r\n"
        "납부자번호[S]고객명[S]매출액[S]비고\r\n"
        "0000000001[S]홍길동[S]10,000[S]\r\n"
        "0000000002[S]O'Brien[S]-500[S]\r\n"
        "--[NEXT]--\r\n";
    EXPECT_EQ(PrintListText(TwoSections()), expected);
}

TEST(PrintList, ReadBackKeepsEveryCellAndHostileTextCannotCutARow) {
    PrintList list = TwoSections();
    list.sections[1].table.rows.push_back({"0000000003", "a[S]b\r\n--[NEXT]--", "1", ""});
    list.sections[1].table.rows.push_back({"0000000004"});  // short row: padded
    const PrintList back = ReadPrintList(PrintListText(list));
    EXPECT_EQ(back.title, list.title);
    EXPECT_EQ(back.criteria, list.criteria);
    ASSERT_EQ(back.sections.size(), 2u);
    EXPECT_EQ(back.sections[0].table.rows, list.sections[0].table.rows);
    ASSERT_EQ(back.sections[1].table.rows.size(), 4u);
    EXPECT_EQ(back.sections[1].table.rows[2][1], "a［S］b  --［NEXT］--");
    EXPECT_EQ(back.sections[1].table.rows[3], (std::vector<std::string>{"0000000004", "", "", ""}));
    EXPECT_FALSE(IsEmpty(list));
    EXPECT_TRUE(IsEmpty(PrintList{"t", "c", {{"합계", {{{"a"}}, {}}}}}));
}

TEST(PrintList, MalformedFilesAreRefusedNamingTheLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : std::vector<Case>{
             {"", "인쇄 파일 1번째 줄: \"Quorisdex Print File\" 로 시작하지 않습니다."},
             {"Other\r\nt\r\nc\r\n",
              "인쇄 파일 1번째 줄: \"Quorisdex Print File\" 로 시작하지 않습니다."},
             {"Quorisdex Print File\r\nt\r\nc\r\nrow\r\n",
              "인쇄 파일 4번째 줄: [M] 이 와야 합니다."},
             {"Quorisdex Print File\r\nt\r\nc\r\n[M]s\r\na[S]b\r\n1\r\n--[NEXT]--\r\n",
              "인쇄 파일 6번째 줄: 칸 수가 제목줄과 다릅니다."},
             {"Quorisdex Print File\r\nt\r\nc\r\n[M]s\r\na\r\n1\r\n",
              "인쇄 파일 7번째 줄: --[NEXT]-- 가 없습니다."}}) {
        try {
            ReadPrintList(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(PrintList, LayoutNames) {
    EXPECT_EQ(PrintLayoutName(PrintLayout::kPlain), "Quorisdex0");
    EXPECT_EQ(PrintLayoutName(PrintLayout::kAnnual), "Quorisdex10");
}

}  // namespace
}  // namespace qx
