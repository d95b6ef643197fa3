#include "export/xlsx_writer.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

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

std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

}  // namespace

bool XlsxSheetComplete(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(in.tellg());
    if (size < 22) return false;
    // The end-of-directory record is written last: a cut archive has none.
    const std::uint64_t tailSize = std::min<std::uint64_t>(size, 22 + 65535);
    std::vector<unsigned char> tail(tailSize);
    in.seekg(static_cast<std::streamoff>(size - tailSize));
    in.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tailSize));
    if (!in) return false;
    std::int64_t eocd = -1;
    for (std::int64_t i = static_cast<std::int64_t>(tailSize) - 22; i >= 0; --i) {
        if (Le(&tail[static_cast<std::size_t>(i)], 4) == 0x06054b50) {
            eocd = i;
            break;
        }
    }
    if (eocd < 0) return false;
    const unsigned char* e = &tail[static_cast<std::size_t>(eocd)];
    const std::uint32_t dirSize = Le(e + 12, 4), dirOffset = Le(e + 16, 4);
    if (std::uint64_t(dirOffset) + dirSize > size) return false;
    std::vector<unsigned char> dir(dirSize);
    in.seekg(dirOffset);
    in.read(reinterpret_cast<char*>(dir.data()), dirSize);
    if (!in) return false;
    const std::string wanted = "xl/worksheets/sheet1.xml";
    for (std::size_t p = 0; p + 46 <= dir.size();) {
        const unsigned char* c = &dir[p];
        if (Le(c, 4) != 0x02014b50) return false;
        const std::uint32_t method = Le(c + 10, 2), crc = Le(c + 16, 4);
        const std::uint32_t packed = Le(c + 20, 4), plain = Le(c + 24, 4);
        const std::uint32_t nameLen = Le(c + 28, 2), extraLen = Le(c + 30, 2),
                            commentLen = Le(c + 32, 2), local = Le(c + 42, 4);
        if (p + 46 + nameLen > dir.size()) return false;
        const std::string name(reinterpret_cast<const char*>(c + 46), nameLen);
        p += 46 + nameLen + extraLen + commentLen;
        if (name != wanted) continue;
        unsigned char header[30];
        in.seekg(local);
        in.read(reinterpret_cast<char*>(header), 30);
        if (!in || Le(header, 4) != 0x04034b50 || (method != 8 && method != 0)) return false;
        in.seekg(static_cast<std::streamoff>(local) + 30 + Le(header + 26, 2) + Le(header + 28, 2));
        // Inflate a piece at a time, keeping only the last bytes: the sheet
        // must be whole (size and checksum) and end with its closing tag.
        z_stream z{};
        if (method == 8 && inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
        std::vector<unsigned char> inBuf(1 << 16), outBuf(1 << 16);
        std::uint32_t left = packed, sum = crc32(0, nullptr, 0);
        std::uint64_t total = 0;
        std::string last;
        bool ok = true, ended = method == 0;
        auto take = [&](const unsigned char* data, std::size_t n) {
            sum = crc32(sum, data, static_cast<uInt>(n));
            total += n;
            last.append(reinterpret_cast<const char*>(data), n);
            if (last.size() > 64) last.erase(0, last.size() - 64);
        };
        while (ok && left > 0) {
            const std::uint32_t chunk = std::min<std::uint32_t>(left, 1 << 16);
            in.read(reinterpret_cast<char*>(inBuf.data()), chunk);
            if (!in) {
                ok = false;
                break;
            }
            left -= chunk;
            if (method == 0) {
                take(inBuf.data(), chunk);
                continue;
            }
            z.next_in = inBuf.data();
            z.avail_in = chunk;
            while (z.avail_in > 0 && !ended) {
                z.next_out = outBuf.data();
                z.avail_out = static_cast<uInt>(outBuf.size());
                const int r = inflate(&z, Z_NO_FLUSH);
                if (r != Z_OK && r != Z_STREAM_END) {
                    ok = false;
                    break;
                }
                take(outBuf.data(), outBuf.size() - z.avail_out);
                if (r == Z_STREAM_END) ended = true;
            }
        }
        if (method == 8) inflateEnd(&z);
        const std::string closing = "</worksheet>";
        return ok && ended && total == plain && sum == crc && last.size() >= closing.size() &&
               last.compare(last.size() - closing.size(), closing.size(), closing) == 0;
    }
    return false;
}

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
    // The library does not report every failed write of its temporary
    // files: a full disk could leave a cut sheet in a well-formed archive.
    if (ok && !XlsxSheetComplete(path)) {
        if (error) *error = "the workbook was not written completely";
        ok = false;
    }
    if (!ok) return std::nullopt;
    return written;
}

}  // namespace qx
