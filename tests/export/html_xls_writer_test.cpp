#include "export/html_xls_writer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include "export/column_choice.h"
#include "platform/codepage.h"
#include "platform/codepage_html.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += ToCp949(l) + "\r\n";
    return out;
}

// The fixed part of the page, line by line as an Excel 2000 sheet has it.
std::vector<std::string> ExpectedPreamble() {
    std::vector<std::string> l = {
        R"( <html xmlns:o="urn:schemas-microsoft-com:office:office")",
        R"( xmlns:x="urn:schemas-microsoft-com:office:excel")",
        R"( xmlns="http://www.w3.org/TR/REC-html40">)",
        " ",
        " <head>",
        R"( <meta http-equiv=Content-Type content="text/html; charset=ks_c_5601-1987">)",
        " <meta name=ProgId content=Excel.Sheet>",
        R"( <meta name=Generator content="Microsoft Excel 9">)",
        " <!--[if gte mso 9]><xml>",
        "  <o:DocumentProperties>",
        "   <o:Author>quor03</o:Author>",
        "   <o:LastAuthor>quor03</o:LastAuthor>",
        "   <o:Created>2004-09-16T05:22:27Z</o:Created>",
        "   <o:LastSaved>2004-09-16T05:24:48Z</o:LastSaved>",
        "   <o:Company>workgroup</o:Company>",
        "   <o:Version>9.2720</o:Version>",
        "  </o:DocumentProperties>",
        "  <o:OfficeDocumentSettings>",
        "   <o:DownloadComponents/>",
        R"(   <o:LocationOfComponents HRef="file:E:\msowc.cab"/>)",
        "  </o:OfficeDocumentSettings>",
        " </xml><![endif]-->",
        " <style>",
        " <!--table",
        " table",
        R"(       {mso-displayed-decimal-separator:"\.";)",
        R"(       mso-displayed-thousand-separator:"\,";})",
        " @page",
        "       {margin:1.0in .75in 1.0in .75in;",
        "       mso-header-margin:.5in;",
        "       mso-footer-margin:.5in;}",
        " tr",
        "       {mso-height-source:auto;",
        "       mso-ruby-visibility:none;}",
        " col",
        "       {mso-width-source:auto;",
        "       mso-ruby-visibility:none;}",
        " br",
        "       {mso-data-placement:same-cell;}",
        " .style0",
        "       {mso-number-format:General;",
        "       text-align:general;",
        "       vertical-align:bottom;",
        "       white-space:nowrap;",
        "       mso-rotate:0;",
        "       mso-background-source:auto;",
        "       mso-pattern:auto;",
        "       color:windowtext;",
        "       font-size:9.0pt;",
        "       font-weight:400;",
        "       font-style:normal;",
        "       text-decoration:none;",
        "       font-family:굴림체;",
        "       mso-generic-font-family:auto;",
        "       mso-font-charset:129;",
        "       border:none;",
        "       mso-protection:locked visible;",
        "       mso-style-name:표준;",
        "       mso-style-id:0;}",
        " td",
        "       {mso-style-parent:style0;",
        "       padding-top:1px;",
        "       padding-right:1px;",
        "       padding-left:1px;",
        "       mso-ignore:padding;",
        "       color:windowtext;",
        "       font-size:9.0pt;",
        "       font-weight:400;",
        "       font-style:normal;",
        "       text-decoration:none;",
        "       font-family:굴림체;",
        "       mso-generic-font-family:auto;",
        "       mso-font-charset:129;",
        "       mso-number-format:General;",
        "       text-align:general;",
        "       vertical-align:bottom;",
        "       border:none;",
        "       mso-background-source:auto;",
        "       mso-pattern:auto;",
        "       mso-protection:locked visible;",
        "       white-space:nowrap;",
        "       mso-rotate:0;}",
    };
    for (const char* cls : {".xl24", ".xl25", ".xl26"}) {
        l.push_back(std::string(" ") + cls);
        l.push_back("       {mso-style-parent:style0;");
        l.push_back("       font-size:9.0pt;");
        l.push_back("       font-family:굴림체, monospace;");
        l.push_back("       mso-font-charset:129;");
        if (std::string(cls) == ".xl26") {
            l.push_back(R"(       mso-number-format:"\#\,\#\#0_ ";)");
            l.push_back("       text-align:right;}");
        } else {
            l.push_back(std::string("       text-align:") +
                        (std::string(cls) == ".xl24" ? "left" : "center") + ";}");
        }
    }
    for (const char* line : {" .xl27",
                             "       {mso-style-parent:style0;",
                             "       font-size:9.0pt;",
                             "       font-family:굴림체, monospace;",
                             "       mso-font-charset:129;}",
                             " ruby",
                             "       {ruby-align:left;}",
                             " rt",
                             "       {color:windowtext;",
                             "       font-size:8.0pt;",
                             "       font-weight:400;",
                             "       font-style:normal;",
                             "       text-decoration:none;",
                             "       font-family:굴림체, monospace;",
                             "       mso-font-charset:129;",
                             "       mso-char-type:none;",
                             "       display:none;}",
                             " -->",
                             " </style>",
                             " <!--[if gte mso 9]><xml>",
                             "  <x:ExcelWorkbook>",
                             "   <x:ExcelWorksheets>"})
        l.push_back(line);
    for (int n = 1; n <= 3; ++n) {
        l.push_back("    <x:ExcelWorksheet>");
        l.push_back("     <x:Name>Sheet" + std::to_string(n) + "</x:Name>");
        l.push_back("     <x:WorksheetOptions>");
        if (n == 1) {
            for (const char* line :
                 {"      <x:DefaultRowHeight>225</x:DefaultRowHeight>", "      <x:Print>",
                  "       <x:ValidPrinterInfo/>", "       <x:PaperSizeIndex>9</x:PaperSizeIndex>",
                  "       <x:HorizontalResolution>600</x:HorizontalResolution>",
                  "       <x:VerticalResolution>600</x:VerticalResolution>", "      </x:Print>",
                  "      <x:Selected/>", "      <x:Panes>", "       <x:Pane>",
                  "        <x:Number>3</x:Number>", "        <x:ActiveRow>3</x:ActiveRow>",
                  "       </x:Pane>", "      </x:Panes>"})
                l.push_back(line);
        } else {
            l.push_back("      <x:DefaultRowHeight>270</x:DefaultRowHeight>");
        }
        l.push_back("      <x:ProtectContents>False</x:ProtectContents>");
        l.push_back("      <x:ProtectObjects>False</x:ProtectObjects>");
        l.push_back("      <x:ProtectScenarios>False</x:ProtectScenarios>");
        l.push_back("     </x:WorksheetOptions>");
        l.push_back("    </x:ExcelWorksheet>");
    }
    for (const char* line :
         {"   </x:ExcelWorksheets>", "   <x:WindowHeight>12825</x:WindowHeight>",
          "   <x:WindowWidth>18945</x:WindowWidth>", "   <x:WindowTopX>120</x:WindowTopX>",
          "   <x:WindowTopY>60</x:WindowTopY>", "   <x:ProtectStructure>False</x:ProtectStructure>",
          "   <x:ProtectWindows>False</x:ProtectWindows>", "  </x:ExcelWorkbook>",
          " </xml><![endif]-->", " </head>", " ", " <body link=blue vlink=purple class=xl27>",
          "<table x:str border=0 cellpadding=0 cellspacing=0 style='border-collapse: "
          "collapse;'>"})
        l.push_back(line);
    return l;
}

TEST(HtmlXls, PreambleIsTheFixedPageByteForByte) {
    const std::string expected = Joined(ExpectedPreamble());
    EXPECT_EQ(HtmlXlsPreamble(), expected);
    // Korean of the style block is in CP949: 굴림체 is C1 BC B8 B2 C3 BC.
    EXPECT_NE(HtmlXlsPreamble().find("font-family:\xB1\xBC\xB8\xB2\xC3\xBC;"), std::string::npos);
    EXPECT_EQ(HtmlXlsEnding(), "</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
}

const char* const kNum = R"( style='mso-number-format:"\#\,\#\#0_ ";' )";

TEST(HtmlXls, CellsFollowTheColumnAlignment) {
    using A = ColumnAlignment;
    struct Case {
        A align;
        int twips;
        std::string text, expected;
    } cases[] = {
        {A::kRight, 1500, "1,234",
         std::string("<TD WIDTH=150  class=xl26 x:num=\"1234\"") + kNum + " >1,234</TD>"},
        {A::kRight, 1500, "-",
         std::string("<TD WIDTH=150  class=xl26 x:num=\"0\"") + kNum + " >0</TD>"},
        {A::kRight, 1500, "",
         std::string("<TD WIDTH=150  class=xl26 x:num=\"0\"") + kNum + " >0</TD>"},
        {A::kRight, 999, "-1234567",
         std::string("<TD WIDTH=99  class=xl26 x:num=\"-1234567\"") + kNum + " >-1,234,567</TD>"},
        {A::kRight, 1500, "12.5",
         std::string("<TD WIDTH=150  class=xl26 x:num=\"13\"") + kNum + " >13</TD>"},
        {A::kRight, 1500, "1,234원",
         std::string("<TD WIDTH=150  class=xl26 x:num=\"0\"") + kNum + " >0</TD>"},
        {A::kLeft, 1500, "'0012", "<TD WIDTH=150  class=xl24  >0012</TD>"},
        {A::kLeft, 1500, "''x", "<TD WIDTH=150  class=xl24  >'x</TD>"},
        {A::kLeft, 1500, "", "<TD WIDTH=150  class=xl24  > </TD>"},
        {A::kLeft, 1509, "a\r\nb\n", "<TD WIDTH=150  class=xl24  >ab</TD>"},
        {A::kCentre, 800, "홍길동", "<TD WIDTH=80  class=xl25   >홍길동</TD>"},
        {A::kCentre, 800, "", "<TD WIDTH=80  class=xl25   > </TD>"},
        // Markup typed into a name shows as typed and never opens a tag.
        {A::kLeft, 1500, "<b>A&B</b>",
         "<TD WIDTH=150  class=xl24  >&lt;b&gt;A&amp;B&lt;/b&gt;</TD>"},
        {A::kCentre, 1500, "</TD></TR><script>",
         "<TD WIDTH=150  class=xl25   >&lt;/TD&gt;&lt;/TR&gt;&lt;script&gt;</TD>"},
    };
    for (const auto& c : cases) {
        ExportColumn column{"t", c.twips, c.align};
        EXPECT_EQ(HtmlXlsCell(column, c.text), c.expected) << c.text;
    }
}

TEST(HtmlXls, WholeNumbers) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"1,234", "1234"},
        {"0", "0"},
        {"007", "7"},
        {" 42 ", "42"},
        {"-0", "0"},
        {"+5", "5"},
        {"9.5", "10"},
        {"99.5", "100"},
        {"-2.5", "-3"},
        {"1.49", "1"},
        {".5", "1"},
        {"12.", "12"},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"1a", std::nullopt},
        {",1", std::nullopt},
        {".", std::nullopt},
        {"1.2.3", std::nullopt},
        {"123456789012345678901234", "123456789012345678901234"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(WholeNumberText(text), expected) << text;
}

TEST(HtmlXls, TextWithoutCp949FormBecomesACharacterReference) {
    // U+1100 (a conjoining jamo) and U+1F600 have no CP949 form; the Hangul
    // syllable beside them does.
    const std::string line = ToCp949WithReferences("가\u1100\U0001F600&");
    EXPECT_EQ(line, "\xB0\xA1&#4352;&#128512;&");
    EXPECT_EQ(ToCp949("가\u1100"), "\xB0\xA1?");  // what the plain conversion would lose
}

std::vector<ExportColumn> SampleColumns() {
    return {{"납부자번호", 1200, ColumnAlignment::kCentre},
            {"고객명", 1500, ColumnAlignment::kLeft},
            {"계좌번호", 1800, ColumnAlignment::kLeft},
            {"미수금", 1000, ColumnAlignment::kRight}};
}

TEST(HtmlXls, WritesTitleRowThenDataRowsInChosenOrder) {
    VectorRowSource source(SampleColumns(), {{"0000000001", "홍길동", "123-45", "1,500"},
                                             {"0000000002", "<b>A&B</b>", "", "-"}});
    std::ostringstream out;
    test::ScriptedInteraction ui;
    const auto rows = WriteHtmlXls(out, source, {3, 1}, &ui);
    ASSERT_EQ(rows, 2);
    const std::string page = out.str();
    const std::string table = page.substr(HtmlXlsPreamble().size());
    const std::string expected =
        Joined({
            "<TR><TD WIDTH=100  class=xl25   >미수금</TD><TD WIDTH=150  class=xl24  "
            ">고객명</TD></TR>",
            std::string("<TR><TD WIDTH=100  class=xl26 x:num=\"1500\"") + kNum +
                " >1,500</TD><TD WIDTH=150  class=xl24  >홍길동</TD></TR>",
            std::string("<TR><TD WIDTH=100  class=xl26 x:num=\"0\"") + kNum +
                " >0</TD><TD WIDTH=150  class=xl24  >&lt;b&gt;A&amp;B&lt;/b&gt;</TD></TR>",
        }) +
        HtmlXlsEnding();
    EXPECT_EQ(table, expected);
    // Every line ends CR LF; no bare LF anywhere.
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '\n') {
            ASSERT_TRUE(i > 0 && page[i - 1] == '\r') << i;
        }
    }
    ASSERT_FALSE(ui.progressed.empty());
    EXPECT_EQ(ui.progressed.back(), std::make_pair(2LL, 2LL));
    EXPECT_EQ(ExportProgressText(1, 2), "정보를 엑셀 변환중 입니다. (1/2)");
}

// Counts what reaches the sink; refuses everything after `limit` bytes (a
// full disk).
class LimitedBuffer : public std::streambuf {
  public:
    explicit LimitedBuffer(std::size_t limit) : limit_(limit) {}
    std::size_t received = 0;
    std::string tail;

  protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        char ch = static_cast<char>(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (received + static_cast<std::size_t>(n) > limit_) return 0;
        received += static_cast<std::size_t>(n);
        tail.append(s, static_cast<std::size_t>(n));
        if (tail.size() > 4096) tail.erase(0, tail.size() - 1024);
        return n;
    }

  private:
    std::size_t limit_;
};

// Produces rows on demand and checks, each time it is asked, that the
// previous row has already reached the sink: the writer holds nothing back.
class CheckingSource : public ExportRowSource {
  public:
    CheckingSource(long long rows, LimitedBuffer& sink) : rows_(rows), sink_(sink) {}
    const std::vector<ExportColumn>& columns() const override { return columns_; }
    bool next(std::vector<std::string>& cells) override {
        if (made_ > 0 && sink_.tail.find("row" + std::to_string(made_) + "<") == std::string::npos)
            ++heldBack;
        if (made_ >= rows_) return false;
        ++made_;
        cells = {"row" + std::to_string(made_), std::to_string(made_)};
        return true;
    }
    int heldBack = 0;

  private:
    std::vector<ExportColumn> columns_{{"이름", 1500, ColumnAlignment::kLeft},
                                       {"금액", 1500, ColumnAlignment::kRight}};
    long long rows_;
    long long made_ = 0;
    LimitedBuffer& sink_;
};

TEST(HtmlXls, StreamsEachRowBeforeAskingForTheNext) {
    LimitedBuffer sink(1u << 30);
    std::ostream out(&sink);
    CheckingSource source(5000, sink);
    EXPECT_EQ(WriteHtmlXls(out, source, {0, 1}, nullptr), 5000);
    EXPECT_EQ(source.heldBack, 0);
}

TEST(HtmlXls, AFullDiskIsAFailureNotACount) {
    LimitedBuffer sink(HtmlXlsPreamble().size() + 2000);
    std::ostream out(&sink);
    CheckingSource source(5000, sink);
    EXPECT_EQ(WriteHtmlXls(out, source, {0, 1}, nullptr), std::nullopt);
}

TEST(ColumnChoice, PersonalColumnsNeedPermissionOrTheLaunchFlag) {
    const auto columns = SampleColumns();
    struct Case {
        std::string permit;
        bool launched;
        std::vector<int> expected;
    } cases[] = {
        {"0", false, {0, 1, 3}},    {"1", false, {0, 1, 2, 3}}, {"0", true, {0, 1, 2, 3}},
        {"2", false, {0, 1, 2, 3}}, {"", false, {0, 1, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            PermittedColumns({0, 1, 2, 3}, columns, MayExportPersonalColumns(c.permit, c.launched)),
            c.expected)
            << "permit=" << c.permit << " launched=" << c.launched;
    }
    std::vector<ExportColumn> personal = {{"주민번호"}, {"예금주번호"}, {"계좌번호"}, {"은행명"}};
    EXPECT_EQ(PermittedColumns({3, 2, 1, 0, 9, -1}, personal, false), std::vector<int>{3});
}

TEST(ColumnChoice, OfferedColumnsLeaveOutEmptyTitlesAndWithdrawalHelpers) {
    std::vector<ExportColumn> columns = {{"고객명"},      {"은행코드"}, {""},       {"완전부분"},
                                         {"CMS상태코드"}, {"지사"},     {"대리점"}, {"금액"}};
    EXPECT_EQ(OfferedColumns("출금대상내역", columns), (std::vector<int>{0, 7}));
    EXPECT_EQ(OfferedColumns("회원목록", columns), (std::vector<int>{0, 1, 3, 4, 5, 6, 7}));
}

TEST(ColumnChoice, ColumnListTextRoundTripsAndRefusesJunk) {
    EXPECT_EQ(ColumnListText({0, 3, 12}), "0,3,12");
    EXPECT_EQ(ParseColumnList("0,3,12"), (std::vector<int>{0, 3, 12}));
    EXPECT_EQ(ParseColumnList(""), std::vector<int>{});
    for (const char* bad : {"1,,2", "a", "1,", "-1", "1;2", " 1"})
        EXPECT_EQ(ParseColumnList(bad), std::nullopt) << bad;
    std::string unknown;
    EXPECT_EQ(ColumnsByTitle({"미수금", "고객명"}, SampleColumns()), (std::vector<int>{3, 1}));
    EXPECT_EQ(ColumnsByTitle({"고객명", "없는열"}, SampleColumns(), &unknown), std::nullopt);
    EXPECT_EQ(unknown, "없는열");
}

}  // namespace
}  // namespace qx
