#include "export/spooled_rows.h"

#include <algorithm>
#include <stdexcept>

#include "platform/codepage.h"

namespace qx {

namespace {

constexpr int kTwipsPerByte = 110;
constexpr int kMinWidthTwips = 600;
constexpr int kMaxWidthTwips = 6000;

// One row per line; tab, line feed, carriage return and backslash escaped.
std::string EncodeRow(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += '\t';
        for (char c : cells[i]) {
            switch (c) {
                case '\\':
                    line += "\\\\";
                    break;
                case '\t':
                    line += "\\t";
                    break;
                case '\n':
                    line += "\\n";
                    break;
                case '\r':
                    line += "\\r";
                    break;
                default:
                    line += c;
            }
        }
    }
    line += '\n';
    return line;
}

std::vector<std::string> DecodeRow(const std::string& line) {
    std::vector<std::string> cells(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            cells.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char e = line[++i];
            cells.back() += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

}  // namespace

bool LooksLikeAmount(const std::string& text) {
    std::size_t i = text.empty() || text[0] != '-' ? 0 : 1;
    if (i == text.size()) return false;
    int digits = 0, run = 0;
    bool grouped = false;
    for (std::size_t k = i; k < text.size(); ++k) {
        const char c = text[k];
        if (c == ',') {
            // A separator follows one to three digits, then exactly three.
            if (run == 0 || run > 3 || (grouped && run != 3)) return false;
            grouped = true;
            run = 0;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            ++run;
        } else {
            return false;
        }
    }
    if (run == 0 || (grouped && run != 3) || digits > 15) return false;
    return !(text[i] == '0' && text.size() - i > 1);
}

bool TitleNamesText(const std::string& title) {
    static const char* const kWords[] = {"번호", "코드", "일자", "일시", "년월", "파일", "연락처"};
    return std::any_of(std::begin(kWords), std::end(kWords),
                       [&](const char* w) { return title.find(w) != std::string::npos; });
}

// The file has no name and goes away when closed, even after a crash.
SpooledRows::SpooledRows() : file_(std::tmpfile()) {
    if (!file_) throw std::runtime_error("임시 파일을 만들 수 없습니다.");
}

SpooledRows::~SpooledRows() = default;

void SpooledRows::add(const std::vector<std::string>& cells) {
    if (!haveTitles_) {
        haveTitles_ = true;
        titles_ = cells;
        numeric_.assign(cells.size(), true);
        filled_.assign(cells.size(), false);
        widest_.assign(cells.size(), 0);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            widest_[i] = ByteLength(cells[i]);
            if (TitleNamesText(cells[i])) numeric_[i] = false;
        }
        return;
    }
    std::vector<std::string> row = cells;
    row.resize(titles_.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        widest_[i] = std::max(widest_[i], ByteLength(row[i]));
        if (row[i].empty()) continue;
        filled_[i] = true;
        if (numeric_[i] && !LooksLikeAmount(row[i])) numeric_[i] = false;
    }
    const std::string line = EncodeRow(row);
    if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size()) failed_ = true;
    ++rows_;
}

bool SpooledRows::finish() {
    if (std::fflush(file_.get()) != 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0) failed_ = true;
    columns_.clear();
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        ExportColumn c;
        c.title = titles_[i];
        // A column with no data at all stays text.
        c.alignment = numeric_[i] && filled_[i] ? ColumnAlignment::kRight : ColumnAlignment::kLeft;
        c.widthTwips = static_cast<int>(std::clamp<long long>(widest_[i] * kTwipsPerByte + 200,
                                                              kMinWidthTwips, kMaxWidthTwips));
        columns_.push_back(c);
    }
    return !failed_;
}

bool SpooledRows::next(std::vector<std::string>& cells) {
    std::string line;
    int c;
    while ((c = std::fgetc(file_.get())) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) return false;
    cells = DecodeRow(line);
    cells.resize(columns_.size());
    return true;
}

}  // namespace qx
