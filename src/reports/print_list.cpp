#include "reports/print_list.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/process_control.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSectionMark = "[M]";
constexpr const char* kLineEnd = "\r\n";

void ReplaceAllIn(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A cell may hold any text a user typed; the file's own marks and line
// breaks inside it would cut the row, so they are written in look-alikes.
std::string CellText(std::string cell) {
    for (char& c : cell)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    ReplaceAllIn(cell, kCellSeparator, "［S］");
    ReplaceAllIn(cell, kSectionEnd, "--［NEXT］--");
    return cell;
}

std::string Joined(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += kCellSeparator;
        line += CellText(cells[i]);
    }
    return line;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t at = 0;
    const std::string sep = kCellSeparator;
    while (true) {
        const std::size_t next = line.find(sep, at);
        cells.push_back(line.substr(at, next == std::string::npos ? std::string::npos : next - at));
        if (next == std::string::npos) break;
        at = next + sep.size();
    }
    return cells;
}

fs::path PrintProgram() {
    if (const char* set = std::getenv("QUORISDEX_PRINT_PROGRAM"); set && *set) return set;
    const fs::path self = CurrentExecutablePath();
    const fs::path dir = self.parent_path();
    // The program folder; from the build's test folders, the one above.
    for (const fs::path& p : {dir / "quorisdex-print", dir.parent_path() / "quorisdex-print"}) {
        std::error_code ec;
        if (fs::is_regular_file(p, ec)) return p;
    }
    return {};
}

}  // namespace

std::string PrintLayoutName(PrintLayout layout) {
    return "Quorisdex" + std::to_string(static_cast<int>(layout));
}

bool IsEmpty(const PrintList& list) {
    for (const auto& s : list.sections)
        if (!s.table.rows.empty()) return false;
    return true;
}

std::string PrintListText(const PrintList& list) {
    std::string out = std::string(kPrintListFirstLine) + kLineEnd;
    out += CellText(list.title) + kLineEnd;
    out += CellText(list.criteria) + kLineEnd;
    for (const auto& s : list.sections) {
        out += kSectionMark + CellText(s.title) + kLineEnd;
        std::vector<std::string> header;
        for (const auto& c : s.table.columns) header.push_back(c.caption);
        out += Joined(header) + kLineEnd;
        for (const auto& row : s.table.rows) {
            // A short row still has a cell for every column.
            std::vector<std::string> cells = row;
            if (cells.size() < header.size()) cells.resize(header.size());
            out += Joined(cells) + kLineEnd;
        }
        out += std::string(kSectionEnd) + kLineEnd;
    }
    return out;
}

fs::path WritePrintList(const fs::path& folder, const PrintList& list) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path path = folder / kPrintListName;
    const fs::path part = folder / (std::string(kPrintListName) + ".part");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        const std::string text = PrintListText(list);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            fs::remove(part, ec);
            throw std::runtime_error("인쇄 파일을 쓰지 못했습니다: " + path.string());
        }
    }
    fs::rename(part, path, ec);
    if (ec) {
        fs::remove(part, ec);
        throw std::runtime_error("인쇄 파일을 쓰지 못했습니다: " + path.string());
    }
    return path;
}

PrintList ReadPrintList(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    auto bad = [](std::size_t n, const std::string& why) {
        return std::runtime_error("인쇄 파일 " + std::to_string(n + 1) + "번째 줄: " + why);
    };
    if (lines.size() < 3 || lines[0] != kPrintListFirstLine)
        throw bad(0, std::string("\"") + kPrintListFirstLine + "\" 로 시작하지 않습니다.");
    PrintList list{lines[1], lines[2], {}};
    std::size_t i = 3;
    while (i < lines.size()) {
        if (lines[i].empty() && i + 1 == lines.size()) break;
        if (lines[i].rfind(kSectionMark, 0) != 0) throw bad(i, "[M] 이 와야 합니다.");
        PrintSection s;
        s.title = lines[i].substr(std::string(kSectionMark).size());
        if (++i >= lines.size()) throw bad(i, "제목줄이 없습니다.");
        for (const auto& caption : Split(lines[i])) s.table.columns.push_back({caption});
        for (++i; i < lines.size() && lines[i] != kSectionEnd; ++i) {
            auto cells = Split(lines[i]);
            if (cells.size() != s.table.columns.size()) throw bad(i, "칸 수가 제목줄과 다릅니다.");
            s.table.rows.push_back(std::move(cells));
        }
        if (i >= lines.size()) throw bad(i, std::string(kSectionEnd) + " 가 없습니다.");
        ++i;
        list.sections.push_back(std::move(s));
    }
    return list;
}

fs::path PrintReport(const fs::path& workFolder, PrintLayout layout, const PrintList& list,
                     const fs::path& pdf, bool openViewer) {
    const fs::path program = PrintProgram();
    if (program.empty()) throw std::runtime_error("인쇄 프로그램(quorisdex-print)이 없습니다.");
    WritePrintList(workFolder, list);
    const fs::path target = pdf.empty() ? workFolder / "prnlist.pdf" : pdf;
    std::error_code ec;
    fs::remove(target, ec);
    std::vector<std::string> args{PrintLayoutName(layout), workFolder.string(), target.string()};
    if (!openViewer) args.push_back("--no-view");
    std::string error;
    long pid = 0;
    if (!StartDetached(program.string(), args, &error, &pid))
        throw std::runtime_error("인쇄 프로그램을 시작하지 못했습니다. (" + error + ")");
    if (!WaitForProcessEnd(pid, std::chrono::minutes(2)))
        throw std::runtime_error("인쇄 프로그램이 끝나지 않았습니다.");
    if (!fs::is_regular_file(target, ec) || fs::file_size(target, ec) == 0)
        throw std::runtime_error("인쇄 프로그램이 PDF를 만들지 못했습니다: " + target.string());
    return target;
}

}  // namespace qx
