// Printing a report: the print-list file "prnlist.prn" in the user's work
// folder, read by the print program, which lays it out by a numbered
// layout and writes a PDF.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reports/report_table.h"

namespace qx {

inline constexpr const char* kPrintListName = "prnlist.prn";
inline constexpr const char* kPrintListFirstLine = "Quorisdex Print File";
inline constexpr const char* kNothingToPrintText = "인쇄할 데이타가 없습니다.";
inline constexpr const char* kNothingToPrintTitle = "확인";
inline constexpr const char* kSectionEnd = "--[NEXT]--";
inline constexpr const char* kCellSeparator = "[S]";

// The layouts the print program knows: the name is "Quorisdex" + number.
enum class PrintLayout : int {
    kPlain = 0,
    kChannel = 2,
    kChannelDetail = 3,
    kMonthly = 4,
    kDaily = 5,
    kMember = 9,
    kAnnual = 10,
};
std::string PrintLayoutName(PrintLayout layout);

struct PrintSection {
    std::string title;  // after "[M]": "합계", "매출/수금 정보", …
    ReportTable table;
};

struct PrintList {
    std::string title;     // "보고서_고객별"
    std::string criteria;  // CriteriaLine(...)
    std::vector<PrintSection> sections;
};

// True when no section has a row: nothing is printed then.
bool IsEmpty(const PrintList& list);
// The file's text: lines ended by CR LF, UTF-8, cells as shown in the grid.
std::string PrintListText(const PrintList& list);
// Writes the file into `folder` (replacing one left there) and returns its
// path; throws std::runtime_error when it cannot be written whole.
std::filesystem::path WritePrintList(const std::filesystem::path& folder, const PrintList& list);

// The file read back: throws std::runtime_error naming the line that does
// not fit the shape above.
PrintList ReadPrintList(const std::string& text);

// Writes the list and has the print program turn it into `pdf` (empty: the
// program's own name beside the list), waiting for it; the program is
// looked for beside the running one. Returns the PDF's path; throws
// std::runtime_error when the program is missing or wrote no PDF.
std::filesystem::path PrintReport(const std::filesystem::path& workFolder, PrintLayout layout,
                                  const PrintList& list, const std::filesystem::path& pdf = {},
                                  bool openViewer = true);

}  // namespace qx
