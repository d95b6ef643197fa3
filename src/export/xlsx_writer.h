// The native workbook (.xlsx): the same columns as the HTML-xls file,
// numbers as numbers shown "#,##0", text as text (leading zeros kept), the
// column widths and a frozen title row. Rows are streamed to the workbook's
// temporary files, never held.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

class Interaction;

// Column width in character units for a width in twips.
double XlsxColumnWidth(int widthTwips);

// True when the workbook at `path` is a whole archive whose sheet is
// complete (sizes, checksum and closing tag); read a piece at a time.
bool XlsxSheetComplete(const std::string& path);

// Writes the workbook to `path`. Returns the number of data rows written, or
// std::nullopt when the workbook could not be written (`error` says why).
std::optional<long long> WriteXlsx(const std::string& path, ExportRowSource& source,
                                   const std::vector<int>& columnList, Interaction* ui,
                                   std::string* error = nullptr);

}  // namespace qx
