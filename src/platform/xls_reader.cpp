#include "platform/xls_reader.h"

#include <fmt/format.h>
#include <freexl.h>

#include <cmath>

namespace qx {

namespace {

std::string CellText(const FreeXL_CellValue& v) {
    switch (v.type) {
        case FREEXL_CELL_INT:
            return std::to_string(v.value.int_value);
        case FREEXL_CELL_DOUBLE: {
            const double d = v.value.double_value;
            // Payer numbers typed as numbers arrive as doubles: 42 not 42.0.
            if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
                return fmt::format("{:.0f}", d);
            return fmt::format("{}", d);
        }
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return v.value.text_value ? v.value.text_value : "";
        default:
            return {};
    }
}

}  // namespace

std::optional<SheetRows> ReadFirstSheet(const std::string& path) {
    const void* handle = nullptr;
    if (freexl_open(path.c_str(), &handle) != FREEXL_OK) {
        if (handle) freexl_close(handle);
        return std::nullopt;
    }
    std::optional<SheetRows> rows;
    unsigned int count = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(handle, 0) == FREEXL_OK &&
        freexl_worksheet_dimensions(handle, &count, &columns) == FREEXL_OK) {
        rows.emplace();
        rows->reserve(count);
        for (unsigned int r = 0; r < count; ++r) {
            std::vector<std::string> row(columns);
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(handle, r, c, &v) == FREEXL_OK) row[c] = CellText(v);
            }
            rows->push_back(std::move(row));
        }
    }
    freexl_close(handle);
    return rows;
}

}  // namespace qx
