#include "export/excel_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "core/session_context.h"
#include "export/xlsx_writer.h"
#include "platform/codepage.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class ExcelExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qx_export_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Files left in the folder, by name.
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }

    static VectorRowSource Members() {
        return VectorRowSource({{"납부자번호", 1200, ColumnAlignment::kLeft},
                                {"고객명", 1500, ColumnAlignment::kLeft},
                                {"미수금", 1500, ColumnAlignment::kRight}},
                               {{"'0000000012", "홍길동", "1,234"},
                                {"0000000013", "<b>A&B</b>", "-"},
                                {"0000000014", "", "700"}});
    }

    fs::path dir;
    test::ScriptedInteraction ui;
};

TEST_F(ExcelExportTest, WritesTheFileAndAsksToOpenIt) {
    auto source = Members();
    const auto target = dir / "회원목록_261206213000.xls";
    const auto outcome = ExportToFile(source, {0, 1, 2}, target, ExportFormat::kHtmlXls, ui);
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(outcome.rows, 3);
    EXPECT_EQ(Names(), std::vector<std::string>{target.filename()});
    const std::string page = Slurp(target);
    EXPECT_NE(page.find(ToCp949("<TD WIDTH=150  class=xl24  >홍길동</TD>")), std::string::npos);
    EXPECT_NE(page.find("x:num=\"1234\""), std::string::npos);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_TRUE(ui.shown[0].question);
    EXPECT_EQ(ui.shown[0].title, "확인");
    EXPECT_EQ(ui.shown[0].text,
              "총 3건 중 3건의 엑셀파일 생성을 완료했습니다.\r\n엑셀파일을 열어보시겠습니까?");
}

TEST_F(ExcelExportTest, AFolderThatCannotBeWrittenIsRefusedWithoutAFile) {
    // A plain file where the folder should be: nothing can be created below it.
    std::ofstream(dir / "notafolder") << "x";
    for (const fs::path& target :
         {dir / "notafolder" / "list.xls", dir / "missing" / "list.xls", fs::path(dir)}) {
        for (auto format : {ExportFormat::kHtmlXls, ExportFormat::kXlsx}) {
            auto source = Members();
            test::ScriptedInteraction local;
            const auto outcome = ExportToFile(source, {0, 1}, target, format, local);
            EXPECT_FALSE(outcome.written) << target;
            EXPECT_EQ(local.texts(), std::vector<std::string>{kCannotCreateText}) << target;
        }
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"notafolder"});
}

TEST_F(ExcelExportTest, ADiskThatFillsUpLeavesNoHalfFileAndKeepsTheOldOne) {
    const auto target = dir / "list.xls";
    std::ofstream(target) << "earlier export";
    // A file size limit plays the full disk: writes past it fail with EFBIG.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 20000; ++i)
        rows.push_back({std::to_string(i), "회원" + std::to_string(i), "1"});
    VectorRowSource html({{"번호"}, {"고객명"}, {"금액", 1500, ColumnAlignment::kRight}}, rows);
    const auto outcome = ExportToFile(html, {0, 1, 2}, target, ExportFormat::kHtmlXls, ui);
    VectorRowSource xlsx({{"번호"}, {"고객명"}, {"금액", 1500, ColumnAlignment::kRight}}, rows);
    test::ScriptedInteraction ui2;
    const auto outcome2 =
        ExportToFile(xlsx, {0, 1, 2}, dir / "list.xlsx", ExportFormat::kXlsx, ui2);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kExportFailedText});
    EXPECT_FALSE(outcome2.written);
    EXPECT_EQ(ui2.texts(), std::vector<std::string>{kExportFailedText});
    EXPECT_EQ(Slurp(target), "earlier export");
    EXPECT_EQ(Names(), std::vector<std::string>{"list.xls"});
}

TEST_F(ExcelExportTest, TheFoldersAreMadeWhenMissing) {
    SessionContext s;
    s.fileback_folder = (dir / "back").string();
    s.excel_folder = (dir / "quorisdex" / "excel").string();
    EXPECT_EQ(PrepareExcelFolder(s), s.excel_folder);
    EXPECT_TRUE(fs::is_directory(dir / "back" / "excel"));
    EXPECT_TRUE(fs::is_directory(s.excel_folder));
    // An excel folder that cannot be made (a file stands in the way).
    std::ofstream(dir / "blocked") << "x";
    s.excel_folder = (dir / "blocked" / "excel").string();
    EXPECT_EQ(PrepareExcelFolder(s), "");
}

TEST_F(ExcelExportTest, AnExistingFileIsReplaced) {
    const auto target = dir / "list.xls";
    std::ofstream(target) << "earlier export";
    auto source = Members();
    ASSERT_TRUE(ExportToFile(source, {1}, target, ExportFormat::kHtmlXls, ui, false).written);
    EXPECT_EQ(Slurp(target).rfind(" <html", 0), 0u);
    EXPECT_TRUE(ui.shown.empty());
}

// The workbook read back: the sheet XML of the archive.
std::string SheetXml(const fs::path& book) {
    const std::string command = "unzip -p '" + book.string() + "' xl/worksheets/sheet1.xml";
    std::string xml;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) xml.append(buf, n);
        pclose(p);
    }
    return xml;
}

TEST_F(ExcelExportTest, WorkbookHasNumbersAsNumbersAndTextAsText) {
    auto source = Members();
    const auto target = dir / "list.xlsx";
    const auto outcome = ExportToFile(source, {0, 1, 2}, target, ExportFormat::kXlsx, ui, false);
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(outcome.rows, 3);
    const std::string xml = SheetXml(target);
    ASSERT_FALSE(xml.empty());
    auto has = [&](const std::string& part) {
        EXPECT_NE(xml.find(part), std::string::npos) << part << "\n" << xml;
    };
    // Title row frozen; titles and text cells inline strings; the payer
    // number keeps its zeros; amounts are numbers ("-" counts as 0).
    has("<pane ySplit=\"1\" topLeftCell=\"A2\"");
    has("<c r=\"B1\"");
    has("<is><t>고객명</t></is>");
    has("<is><t>0000000012</t></is>");
    has("<is><t>&lt;b&gt;A&amp;B&lt;/b&gt;</t></is>");
    // Amount cells are plain numbers (no string type) in the amount style.
    for (const char* cell :
         {R"x(<c r="C2" s="(\d+)"><v>1234</v></c>)x", R"x(<c r="C3" s="(\d+)"><v>0</v></c>)x",
          R"x(<c r="C4" s="(\d+)"><v>700</v></c>)x"})
        EXPECT_TRUE(std::regex_search(xml, std::regex(cell))) << cell;
    EXPECT_EQ(xml.find("t=\"s\""), std::string::npos);  // no shared strings needed
    // The number format "#,##0" is the one the amount cells use.
    const std::string command = "unzip -p '" + target.string() + "' xl/styles.xml";
    std::string styles;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) styles.append(buf, n);
        pclose(p);
    }
    EXPECT_NE(styles.find("formatCode=\"#,##0\""), std::string::npos) << styles;

    // A cut or damaged archive is not taken for a whole workbook.
    EXPECT_TRUE(XlsxSheetComplete(target.string()));
    const std::string bytes = Slurp(target);
    std::ofstream(dir / "cut.xlsx", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    EXPECT_FALSE(XlsxSheetComplete((dir / "cut.xlsx").string()));
    const auto sheetAt = bytes.find("xl/worksheets/sheet1.xml");
    ASSERT_NE(sheetAt, std::string::npos);
    std::string damaged = bytes;
    damaged[sheetAt + 40] = static_cast<char>(damaged[sheetAt + 40] ^ 0x5A);
    std::ofstream(dir / "damaged.xlsx", std::ios::binary) << damaged;
    EXPECT_FALSE(XlsxSheetComplete((dir / "damaged.xlsx").string()));
}

TEST(ExportNames, ProposedNameAndFormatOfName) {
    EXPECT_EQ(ProposedExportName("회원목록", "261206213000", ExportFormat::kHtmlXls),
              "회원목록_261206213000.xls");
    EXPECT_EQ(ProposedExportName("회원목록", "261206213000", ExportFormat::kXlsx),
              "회원목록_261206213000.xlsx");
    EXPECT_EQ(FormatOfFileName("a/b.XLSX"), ExportFormat::kXlsx);
    EXPECT_EQ(FormatOfFileName("a/b.xls"), ExportFormat::kHtmlXls);
    EXPECT_EQ(FormatOfFileName("a/b"), ExportFormat::kHtmlXls);
    EXPECT_NEAR(XlsxColumnWidth(1500), 13.57, 0.01);
}

}  // namespace
}  // namespace qx
