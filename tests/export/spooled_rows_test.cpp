#include "export/spooled_rows.h"

#include <gtest/gtest.h>

#include <sstream>

#include "export/html_xls_writer.h"

namespace qx {
namespace {

TEST(SpooledRows, AmountsAreOnlyPlainOrGroupedDigits) {
    const struct {
        const char* text;
        bool amount;
    } cases[] = {
        {"0", true},
        {"12345", true},
        {"-12345", true},
        {"1,234", true},
        {"12,345,678", true},
        {"-1,000", true},
        {"", false},
        {"-", false},
        {"0012", false},
        {"00", false},
        {"1,23", false},
        {"1234,567", false},
        {",123", false},
        {"123,", false},
        {"12.5", false},
        {"1 234", false},
        {"123456789012345", true},
        {"1234567890123456", false},
        {"2026-12-06", false},
        {"EB131204", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LooksLikeAmount(c.text), c.amount) << c.text;
}

TEST(SpooledRows, ColumnsAreJudgedFromTheWholeList) {
    SpooledRows spool;
    spool.add({"납부자번호", "고객명", "금액", "미수금", "메모", "빈열"});
    spool.add({"0000012345", "홍길동", "10000", "1,500", "", ""});
    spool.add({"0000012346", "김", "-300", "0", "12", ""});
    // A later row that is not a number turns the whole column to text.
    spool.add({"0000012347", "이", "7", "0", "없음", ""});
    ASSERT_TRUE(spool.finish());

    const auto& cols = spool.columns();
    ASSERT_EQ(cols.size(), 6u);
    EXPECT_EQ(cols[0].alignment, ColumnAlignment::kLeft);  // a number names text
    EXPECT_EQ(cols[1].alignment, ColumnAlignment::kLeft);
    EXPECT_EQ(cols[2].alignment, ColumnAlignment::kRight);
    EXPECT_EQ(cols[3].alignment, ColumnAlignment::kRight);
    EXPECT_EQ(cols[4].alignment, ColumnAlignment::kLeft);
    EXPECT_EQ(cols[5].alignment, ColumnAlignment::kLeft);  // no data at all
    // Widths follow the widest CP949 text: ten bytes of payer number.
    EXPECT_EQ(cols[0].widthTwips, 10 * 110 + 200);
    EXPECT_EQ(cols[5].widthTwips, 4 * 110 + 200);  // the title "빈열"
    EXPECT_EQ(spool.rowCount(), 3);
}

TEST(SpooledRows, CellsComeBackAsGivenIncludingSeparators) {
    SpooledRows spool;
    spool.add({"a", "b", "c"});
    const std::vector<std::string> odd = {"tab\there", "line\nfeed\r", "back\\slash\\t"};
    spool.add(odd);
    spool.add({"short"});                 // padded to the titles
    spool.add({"1", "2", "3", "extra"});  // cut to the titles
    ASSERT_TRUE(spool.finish());
    std::vector<std::string> cells;
    ASSERT_TRUE(spool.next(cells));
    EXPECT_EQ(cells, odd);
    ASSERT_TRUE(spool.next(cells));
    EXPECT_EQ(cells, (std::vector<std::string>{"short", "", ""}));
    ASSERT_TRUE(spool.next(cells));
    EXPECT_EQ(cells, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_FALSE(spool.next(cells));
}

TEST(SpooledRows, AnEmptyDataRowIsStillARow) {
    SpooledRows spool;
    spool.add({"a"});
    spool.add({""});
    spool.add({"x"});
    ASSERT_TRUE(spool.finish());
    std::vector<std::string> cells;
    ASSERT_TRUE(spool.next(cells));
    EXPECT_EQ(cells, std::vector<std::string>{""});
    ASSERT_TRUE(spool.next(cells));
    EXPECT_EQ(cells, std::vector<std::string>{"x"});
    EXPECT_FALSE(spool.next(cells));
}

TEST(SpooledRows, FeedsTheWriterWithNumbersAsNumbers) {
    SpooledRows spool;
    spool.add({"고객명", "금액"});
    for (int i = 0; i < 2000; ++i)
        spool.add({"회원" + std::to_string(i), std::to_string(i * 1000)});
    ASSERT_TRUE(spool.finish());
    std::ostringstream out;
    const auto rows = WriteHtmlXls(out, spool, {0, 1}, nullptr);
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, 2000);
    EXPECT_NE(out.str().find("x:num=\"1999000\""), std::string::npos);
}

}  // namespace
}  // namespace qx
