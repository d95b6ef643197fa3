// The print program end to end: a print list becomes an A4 PDF with the
// Korean title in its text, a page number on every page and as many pages
// as the rows need; a missing or broken list gives no PDF.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "reports/print_list.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get()))
        out.append(buffer.data(), n);
    return out;
}

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class PrintPdfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("QUORISDEX_PRINT_PROGRAM", QUORISDEX_PRINT_EXE, 1);
        setenv("QUORISDEX_NO_VIEWER", "1", 1);
        dir_ = fs::temp_directory_path() / ("qx-print-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static PrintList Rows(std::size_t count) {
        PrintList list{"보고서_고객별", "조회기간 : 2026-03-01 ∼ 2026-03-31 (지: / 대: / 담:)", {}};
        PrintSection s{"매출/수금 정보", {{{"납부자번호"}, {"고객명"}, {"매출액"}}, {}}};
        for (std::size_t i = 0; i < count; ++i)
            s.table.rows.push_back({std::to_string(1000000000 + i), "홍길동", "1,000"});
        list.sections.push_back(s);
        return list;
    }
    fs::path dir_;
};

TEST_F(PrintPdfTest, PagesFollowTheRowsAndCarryTheTitleAndTheirNumbers) {
    for (std::size_t rows : {std::size_t{1}, std::size_t{300}}) {
        SCOPED_TRACE(rows);
        const fs::path pdf =
            PrintReport(dir_, PrintLayout::kMember, Rows(rows), dir_ / "out.pdf", false);
        ASSERT_TRUE(fs::exists(pdf));
        EXPECT_TRUE(fs::exists(dir_ / kPrintListName));
        const std::string info = Output("pdfinfo '" + pdf.string() + "'");
        const auto at = info.find("Pages:");
        ASSERT_NE(at, std::string::npos) << info;
        const int pages = std::atoi(info.c_str() + at + 6);
        EXPECT_NE(info.find("595 x 842"), std::string::npos) << "A4 portrait: " << info;
        // The blanks between words come out of the PDF as blanks or as \x01
        // (the font's space glyph); only the words are compared.
        std::string text = Output("pdftotext '" + pdf.string() + "' -");
        std::erase(text, ' ');
        std::erase(text, '\x01');
        EXPECT_NE(text.find("보고서_고객별"), std::string::npos);
        EXPECT_EQ(CountOf(text, "\f"), pages);
        for (int p = 1; p <= pages; ++p)
            EXPECT_NE(text.find("-" + std::to_string(p) + "/" + std::to_string(pages) + "-"),
                      std::string::npos)
                << p;
        // Every row is on some page, the last one too.
        EXPECT_NE(text.find(std::to_string(1000000000 + rows - 1)), std::string::npos);
        if (rows == 1) {
            EXPECT_EQ(pages, 1);
        }
        // The header is repeated on each page.
        if (rows == 300) {
            EXPECT_GE(pages, 4);
            EXPECT_EQ(CountOf(text, "납부자번호"), pages);
        }
    }
}

TEST_F(PrintPdfTest, WideReportsTurnTheSheetAndABrokenListMakesNoPdf) {
    PrintList wide{"보고서_고객별월현황", "c", {}};
    PrintSection s{"매출/수금 정보", {}};
    for (int c = 0; c < 39; ++c) s.table.columns.push_back({std::to_string(c + 1) + "월(매출)"});
    s.table.rows.push_back(std::vector<std::string>(39, "1,234,567"));
    wide.sections.push_back(s);
    const fs::path pdf = PrintReport(dir_, PrintLayout::kAnnual, wide, dir_ / "wide.pdf", false);
    const std::string info = Output("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("842 x 595"), std::string::npos) << "A4 landscape: " << info;
    EXPECT_EQ(std::atoi(info.c_str() + info.find("Pages:") + 6), 1) << info;
    EXPECT_NE(Output("pdftotext '" + pdf.string() + "' -").find("보고서_고객별월현황"),
              std::string::npos);

    std::ofstream(dir_ / kPrintListName) << "not a print list\r\n";
    const std::string command = std::string(QUORISDEX_PRINT_EXE) + " Quorisdex9 '" + dir_.string() +
                                "' '" + (dir_ / "bad.pdf").string() + "' --no-view 2>&1";
    const std::string said = Output(command);
    EXPECT_NE(said.find("Quorisdex Print File"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(dir_ / "bad.pdf"));
    EXPECT_FALSE(fs::exists(dir_ / "bad.pdf.part"));
    const std::string unknown = Output(std::string(QUORISDEX_PRINT_EXE) + " Quorisdex7 '" +
                                       dir_.string() + "' --no-view 2>&1");
    EXPECT_NE(unknown.find("알 수 없는 인쇄 양식입니다: Quorisdex7"), std::string::npos);
}

}  // namespace
}  // namespace qx
