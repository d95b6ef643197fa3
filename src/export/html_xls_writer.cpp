#include "export/html_xls_writer.h"

#include <algorithm>

#include "platform/amount_text.h"
#include "platform/codepage.h"
#include "platform/codepage_html.h"
#include "platform/http.h"
#include "platform/interaction.h"

namespace qx {

namespace {

// The page's fixed lines before the table, in UTF-8; each gets CR LF.
const char* const kPreambleLines[] = {
    " <html xmlns:o=\"urn:schemas-microsoft-com:office:office\"",
    " xmlns:x=\"urn:schemas-microsoft-com:office:excel\"",
    " xmlns=\"http://www.w3.org/TR/REC-html40\">",
    " ",
    " <head>",
    " <meta http-equiv=Content-Type content=\"text/html; charset=ks_c_5601-1987\">",
    " <meta name=ProgId content=Excel.Sheet>",
    " <meta name=Generator content=\"Microsoft Excel 9\">",
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
    "   <o:LocationOfComponents HRef=\"file:E:\\msowc.cab\"/>",
    "  </o:OfficeDocumentSettings>",
    " </xml><![endif]-->",
};

struct StyleRule {
    const char* selector;
    std::vector<const char*> properties;
};

const std::vector<StyleRule>& StyleRules() {
    static const std::vector<StyleRule> rules = {
        {"table",
         {"mso-displayed-decimal-separator:\"\\.\";", "mso-displayed-thousand-separator:\"\\,\";"}},
        {"@page",
         {"margin:1.0in .75in 1.0in .75in;", "mso-header-margin:.5in;", "mso-footer-margin:.5in;"}},
        {"tr", {"mso-height-source:auto;", "mso-ruby-visibility:none;"}},
        {"col", {"mso-width-source:auto;", "mso-ruby-visibility:none;"}},
        {"br", {"mso-data-placement:same-cell;"}},
        {".style0",
         {"mso-number-format:General;", "text-align:general;", "vertical-align:bottom;",
          "white-space:nowrap;", "mso-rotate:0;", "mso-background-source:auto;",
          "mso-pattern:auto;", "color:windowtext;", "font-size:9.0pt;", "font-weight:400;",
          "font-style:normal;", "text-decoration:none;", "font-family:굴림체;",
          "mso-generic-font-family:auto;", "mso-font-charset:129;", "border:none;",
          "mso-protection:locked visible;", "mso-style-name:표준;", "mso-style-id:0;"}},
        {"td",
         {"mso-style-parent:style0;",
          "padding-top:1px;",
          "padding-right:1px;",
          "padding-left:1px;",
          "mso-ignore:padding;",
          "color:windowtext;",
          "font-size:9.0pt;",
          "font-weight:400;",
          "font-style:normal;",
          "text-decoration:none;",
          "font-family:굴림체;",
          "mso-generic-font-family:auto;",
          "mso-font-charset:129;",
          "mso-number-format:General;",
          "text-align:general;",
          "vertical-align:bottom;",
          "border:none;",
          "mso-background-source:auto;",
          "mso-pattern:auto;",
          "mso-protection:locked visible;",
          "white-space:nowrap;",
          "mso-rotate:0;"}},
        {".xl24",
         {"mso-style-parent:style0;", "font-size:9.0pt;", "font-family:굴림체, monospace;",
          "mso-font-charset:129;", "text-align:left;"}},
        {".xl25",
         {"mso-style-parent:style0;", "font-size:9.0pt;", "font-family:굴림체, monospace;",
          "mso-font-charset:129;", "text-align:center;"}},
        {".xl26",
         {"mso-style-parent:style0;", "font-size:9.0pt;", "font-family:굴림체, monospace;",
          "mso-font-charset:129;", "mso-number-format:\"\\#\\,\\#\\#0_ \";", "text-align:right;"}},
        {".xl27",
         {"mso-style-parent:style0;", "font-size:9.0pt;", "font-family:굴림체, monospace;",
          "mso-font-charset:129;"}},
        {"ruby", {"ruby-align:left;"}},
        {"rt",
         {"color:windowtext;", "font-size:8.0pt;", "font-weight:400;", "font-style:normal;",
          "text-decoration:none;", "font-family:굴림체, monospace;", "mso-font-charset:129;",
          "mso-char-type:none;", "display:none;"}},
    };
    return rules;
}

void Line(std::string& out, const std::string& utf8) {
    out += ToCp949WithReferences(utf8);
    out += "\r\n";
}

void WorksheetLines(std::string& out, int number, bool first) {
    Line(out, "    <x:ExcelWorksheet>");
    Line(out, "     <x:Name>Sheet" + std::to_string(number) + "</x:Name>");
    Line(out, "     <x:WorksheetOptions>");
    if (first) {
        for (const char* l :
             {"      <x:DefaultRowHeight>225</x:DefaultRowHeight>", "      <x:Print>",
              "       <x:ValidPrinterInfo/>", "       <x:PaperSizeIndex>9</x:PaperSizeIndex>",
              "       <x:HorizontalResolution>600</x:HorizontalResolution>",
              "       <x:VerticalResolution>600</x:VerticalResolution>", "      </x:Print>",
              "      <x:Selected/>", "      <x:Panes>", "       <x:Pane>",
              "        <x:Number>3</x:Number>", "        <x:ActiveRow>3</x:ActiveRow>",
              "       </x:Pane>", "      </x:Panes>"})
            Line(out, l);
    } else {
        Line(out, "      <x:DefaultRowHeight>270</x:DefaultRowHeight>");
    }
    Line(out, "      <x:ProtectContents>False</x:ProtectContents>");
    Line(out, "      <x:ProtectObjects>False</x:ProtectObjects>");
    Line(out, "      <x:ProtectScenarios>False</x:ProtectScenarios>");
    Line(out, "     </x:WorksheetOptions>");
    Line(out, "    </x:ExcelWorksheet>");
}

// Cell text for the page: line breaks removed, one leading apostrophe (the
// grids' "keep as text" mark) dropped, markup characters escaped so that a
// name such as "<b>A&B</b>" shows as typed.
std::string TextValue(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') plain += c;
    if (!plain.empty() && plain.front() == '\'') plain.erase(0, 1);
    if (plain.empty()) return " ";
    return HtmlEscape(plain, false);
}

std::string WidthPart(const ExportColumn& column) {
    return "WIDTH=" + std::to_string(std::max(0, column.widthTwips) / 10);
}

std::string TextCell(const ExportColumn& column, const std::string& text, bool centred) {
    return "<TD " + WidthPart(column) + " " + (centred ? " class=xl25  " : " class=xl24 ") + " >" +
           TextValue(text) + "</TD>";
}

const char* const kNumberStyle = " style='mso-number-format:\"\\#\\,\\#\\#0_ \";' ";

}  // namespace

std::string HtmlXlsPreamble() {
    std::string out;
    for (const char* l : kPreambleLines) Line(out, l);
    Line(out, " <style>");
    Line(out, " <!--table");
    for (const auto& rule : StyleRules()) {
        Line(out, std::string(" ") + rule.selector);
        for (std::size_t i = 0; i < rule.properties.size(); ++i) {
            std::string l = "       ";
            if (i == 0) l += "{";
            l += rule.properties[i];
            if (i + 1 == rule.properties.size()) l += "}";
            Line(out, l);
        }
    }
    Line(out, " -->");
    Line(out, " </style>");
    Line(out, " <!--[if gte mso 9]><xml>");
    Line(out, "  <x:ExcelWorkbook>");
    Line(out, "   <x:ExcelWorksheets>");
    for (int n = 1; n <= 3; ++n) WorksheetLines(out, n, n == 1);
    for (const char* l :
         {"   </x:ExcelWorksheets>", "   <x:WindowHeight>12825</x:WindowHeight>",
          "   <x:WindowWidth>18945</x:WindowWidth>", "   <x:WindowTopX>120</x:WindowTopX>",
          "   <x:WindowTopY>60</x:WindowTopY>", "   <x:ProtectStructure>False</x:ProtectStructure>",
          "   <x:ProtectWindows>False</x:ProtectWindows>", "  </x:ExcelWorkbook>",
          " </xml><![endif]-->", " </head>", " ", " <body link=blue vlink=purple class=xl27>",
          "<table x:str border=0 cellpadding=0 cellspacing=0 style='border-collapse: "
          "collapse;'>"})
        Line(out, l);
    return out;
}

std::string HtmlXlsEnding() {
    return "</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
}

std::optional<std::string> WholeNumberText(const std::string& text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) return std::nullopt;
    const std::size_t e = text.find_last_not_of(' ');
    std::string t = text.substr(b, e - b + 1);
    bool negative = false;
    std::size_t i = 0;
    if (t[0] == '-' || t[0] == '+') {
        negative = t[0] == '-';
        i = 1;
    }
    std::string digits;
    bool seenDigit = false;
    for (; i < t.size() && t[i] != '.'; ++i) {
        if (t[i] == ',') {
            if (!seenDigit) return std::nullopt;
            continue;
        }
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        digits += t[i];
        seenDigit = true;
    }
    bool roundUp = false;
    if (i < t.size()) {  // the fraction
        ++i;
        if (i < t.size() && (t[i] < '0' || t[i] > '9')) return std::nullopt;
        roundUp = i < t.size() && t[i] >= '5';
        for (; i < t.size(); ++i)
            if (t[i] < '0' || t[i] > '9') return std::nullopt;
        if (!seenDigit && !roundUp && t.back() == '.') return std::nullopt;
    }
    if (!seenDigit && t.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    if (digits.empty()) digits = "0";
    if (roundUp) {  // half away from zero, on the digits themselves
        int k = static_cast<int>(digits.size()) - 1;
        while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9')
            digits[static_cast<std::size_t>(k--)] = '0';
        if (k < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[static_cast<std::size_t>(k)];
    }
    const std::size_t nz = digits.find_first_not_of('0');
    digits = nz == std::string::npos ? "0" : digits.substr(nz);
    if (negative && digits != "0") digits.insert(digits.begin(), '-');
    return digits;
}

std::string HtmlXlsCell(const ExportColumn& column, const std::string& text) {
    switch (column.alignment) {
        case ColumnAlignment::kRight: {
            const auto number = WholeNumberText(text);
            if (!number)
                return "<TD " + WidthPart(column) + " " + " class=xl26 x:num=\"0\"" + kNumberStyle +
                       " >0</TD>";
            return "<TD " + WidthPart(column) + " " + " class=xl26 x:num=\"" + *number + "\"" +
                   kNumberStyle + " >" + FormatAmount(*number) + "</TD>";
        }
        case ColumnAlignment::kCentre:
            return TextCell(column, text, true);
        case ColumnAlignment::kLeft:
            break;
    }
    return TextCell(column, text, false);
}

std::string HtmlXlsTitleCell(const ExportColumn& column) {
    return TextCell(column, column.title, column.alignment != ColumnAlignment::kLeft);
}

std::string ExportProgressText(long long done, long long total) {
    return "정보를 엑셀 변환중 입니다. (" + std::to_string(done) +
           (total >= 0 ? "/" + std::to_string(total) : std::string()) + ")";
}

std::optional<long long> WriteHtmlXls(std::ostream& out, ExportRowSource& source,
                                      const std::vector<int>& columnList, Interaction* ui) {
    const auto& columns = source.columns();
    std::vector<int> chosen;
    for (int i : columnList)
        if (i >= 0 && static_cast<std::size_t>(i) < columns.size()) chosen.push_back(i);
    if (ui) ui->progress(kExportProgressLabel, 0, source.rowCount());
    out << HtmlXlsPreamble();
    std::string line = "<TR>";
    for (int i : chosen) line += HtmlXlsTitleCell(columns[static_cast<std::size_t>(i)]);
    line += "</TR>";
    out << ToCp949WithReferences(line) << "\r\n";
    if (!out) return std::nullopt;

    const long long total = source.rowCount();
    long long written = 0;
    std::vector<std::string> cells;
    while (source.next(cells)) {
        cells.resize(columns.size());
        line = "<TR>";
        for (int i : chosen) {
            const auto c = static_cast<std::size_t>(i);
            line += HtmlXlsCell(columns[c], cells[c]);
        }
        line += "</TR>";
        out << ToCp949WithReferences(line) << "\r\n";
        if (!out) return std::nullopt;
        ++written;
        if (ui) ui->progress(ExportProgressText(written, total), written, total);
    }
    out << HtmlXlsEnding();
    out.flush();
    if (!out) return std::nullopt;
    return written;
}

}  // namespace qx
