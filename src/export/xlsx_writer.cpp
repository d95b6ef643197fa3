#include "export/xlsx_writer.h"

#include <xlsxwriter.h>

#include <filesystem>

#include "export/html_xls_writer.h"
#include "platform/interaction.h"

namespace qx {

namespace {

// The leading apostrophe and line breaks are dropped as in the HTML file;
// no markup escaping is needed here (the library writes XML itself).
std::string PlainText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    if (!out.empty() && out.front() == '\'') out.erase(0, 1);
    return out;
}

}  // namespace

double XlsxColumnWidth(int widthTwips) {
    // 15 twips a pixel; a character unit of the default font is 7 pixels
    // plus 5 of padding.
    const double pixels = std::max(0, widthTwips) / 15.0;
    return pixels <= 12 ? pixels / 12.0 : (pixels - 5) / 7.0;
}

std::optional<long long> WriteXlsx(const std::string& path, ExportRowSource& source,
                                   const std::vector<int>& columnList, Interaction* ui,
                                   std::string* error) {
    const auto& columns = source.columns();
    std::vector<int> chosen;
    for (int i : columnList)
        if (i >= 0 && static_cast<std::size_t>(i) < columns.size()) chosen.push_back(i);

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    const std::string tmpdir = std::filesystem::path(path).parent_path().string();
    options.tmpdir = const_cast<char*>(tmpdir.empty() ? "." : tmpdir.c_str());
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (!book) {
        if (error) *error = "cannot start the workbook";
        return std::nullopt;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    lxw_format* number = workbook_add_format(book);
    format_set_num_format(number, "#,##0");
    lxw_format* text = workbook_add_format(book);
    format_set_num_format(text, "@");
    lxw_format* centred = workbook_add_format(book);
    format_set_num_format(centred, "@");
    format_set_align(centred, LXW_ALIGN_CENTER);
    lxw_format* title = workbook_add_format(book);
    format_set_bold(title);
    format_set_align(title, LXW_ALIGN_CENTER);

    bool ok = sheet != nullptr;
    for (std::size_t c = 0; ok && c < chosen.size(); ++c) {
        const auto& col = columns[static_cast<std::size_t>(chosen[c])];
        lxw_format* f = col.alignment == ColumnAlignment::kRight    ? number
                        : col.alignment == ColumnAlignment::kCentre ? centred
                                                                    : text;
        ok = worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                  XlsxColumnWidth(col.widthTwips), f) == LXW_NO_ERROR;
    }
    if (ok) worksheet_freeze_panes(sheet, 1, 0);
    for (std::size_t c = 0; ok && c < chosen.size(); ++c) {
        ok = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                                    columns[static_cast<std::size_t>(chosen[c])].title.c_str(),
                                    title) == LXW_NO_ERROR;
    }
    const long long total = source.rowCount();
    long long written = 0;
    std::vector<std::string> cells;
    if (ui) ui->progress(kExportProgressLabel, 0, total);
    while (ok && source.next(cells)) {
        cells.resize(columns.size());
        const auto row = static_cast<lxw_row_t>(written + 1);
        if (written + 1 >= LXW_ROW_MAX) {
            ok = false;
            if (error) *error = "too many rows for one sheet";
            break;
        }
        for (std::size_t c = 0; ok && c < chosen.size(); ++c) {
            const auto index = static_cast<std::size_t>(chosen[c]);
            const auto& col = columns[index];
            lxw_error e;
            if (col.alignment == ColumnAlignment::kRight) {
                const auto whole = WholeNumberText(cells[index]);
                e = worksheet_write_number(sheet, row, static_cast<lxw_col_t>(c),
                                           whole ? std::stod(*whole) : 0.0, number);
            } else {
                const std::string value = PlainText(cells[index]);
                e = value.empty()
                        ? worksheet_write_blank(sheet, row, static_cast<lxw_col_t>(c), nullptr)
                        : worksheet_write_string(
                              sheet, row, static_cast<lxw_col_t>(c), value.c_str(),
                              col.alignment == ColumnAlignment::kCentre ? centred : text);
            }
            ok = e == LXW_NO_ERROR;
            if (!ok && error) *error = lxw_strerror(e);
        }
        if (!ok) break;
        ++written;
        if (ui) ui->progress(ExportProgressText(written, total), written, total);
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        if (error && error->empty()) *error = lxw_strerror(closed);
        ok = false;
    }
    if (!ok) return std::nullopt;
    return written;
}

}  // namespace qx
