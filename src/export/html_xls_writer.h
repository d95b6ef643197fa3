// The Excel file written as an HTML page in the Korean code page: Excel and
// LibreOffice open it as a worksheet. Rows are written as they come from the
// source; nothing is held beyond the current row.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

class Interaction;

inline constexpr const char* kExportProgressLabel = "Excel 파일을 생성하고 있습니다.";

// Head, style and workbook blocks and the table line, as written (CP949
// bytes, CR LF line ends).
std::string HtmlXlsPreamble();
// The closing lines.
std::string HtmlXlsEnding();

// A right-aligned cell's text as a whole number ("1,234" -> "1234",
// "12.5" -> "13"); std::nullopt when it is empty or not a number.
std::optional<std::string> WholeNumberText(const std::string& text);

// One "<TD …>…</TD>" of a data row, in UTF-8 (the line is converted as a
// whole).
std::string HtmlXlsCell(const ExportColumn& column, const std::string& text);
// One cell of the title row. A right-aligned column's title is written as
// text, centred, instead of being turned into the number 0.
std::string HtmlXlsTitleCell(const ExportColumn& column);

// Status text of the progress per row.
std::string ExportProgressText(long long done, long long total);

// Writes the whole page for the chosen columns (indexes into the source's
// columns, in the order given) to `out`. Returns the number of data rows
// written, or std::nullopt when the stream failed (disk full, …).
std::optional<long long> WriteHtmlXls(std::ostream& out, ExportRowSource& source,
                                      const std::vector<int>& columnList, Interaction* ui);

}  // namespace qx
