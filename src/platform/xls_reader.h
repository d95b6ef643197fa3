// Reads the cells of the first worksheet of an Excel 97-2003 workbook (.xls).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

using SheetRows = std::vector<std::vector<std::string>>;

// Every row of the first sheet, each cell as text (UTF-8): whole numbers
// without a decimal point, empty cells as "". nullopt when the file cannot
// be read as a workbook of that format.
std::optional<SheetRows> ReadFirstSheet(const std::string& path);

}  // namespace qx
