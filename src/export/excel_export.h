// One export from start to end: the file name proposed in the excel folder,
// the file written under a temporary name and put in place only when
// complete, the messages of failure, and the closing question.
#pragma once

#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

class Interaction;
struct SessionContext;

enum class ExportFormat { kHtmlXls, kXlsx };

inline constexpr const char* kExportFilter = "Excel 파일(*.xls)|*.xls";
inline constexpr const char* kExportXlsxFilter = "Excel 통합 문서(*.xlsx)|*.xlsx";
inline constexpr const char* kCannotCreateText = "Excel파일을 생성할 수 없습니다.(Excel미설치 등)";
inline constexpr const char* kExportFailedText =
    "Excel파일 생성이 중단 또는 실패했습니다. 다시 시도해주십시오.";

// The excel folder of the settings; it, the file folder and the file
// folder's excel folder are created when missing. Empty when the excel
// folder cannot be made.
std::string PrepareExcelFolder(const SessionContext& session);
// title + "_" + yymmddhhmmss + ".xls" (or ".xlsx") for the time given as
// "yymmddhhmmss".
std::string ProposedExportName(const std::string& title, const std::string& stamp,
                               ExportFormat format);
// The format a chosen file name asks for: ".xlsx" (any case) the workbook,
// anything else the HTML-xls page.
ExportFormat FormatOfFileName(const std::string& path);

struct ExportOutcome {
    bool written = false;  // the file is complete and in place
    long long total = 0;   // data rows of the list
    long long rows = 0;    // data rows written
};

// Writes the chosen columns of the source to `path`. A file that cannot be
// created gets the "cannot create" message, a write that fails midway the
// failure message; in both cases no file of that name is left by this
// export (an existing one stays as it was). `askToOpen` asks the closing
// question and opens the file with the desktop on yes. A list written on
// the way of another job names its failure itself: `failureText`, when
// given, is shown instead of either message.
ExportOutcome ExportToFile(ExportRowSource& source, const std::vector<int>& columnList,
                           const std::string& path, ExportFormat format, Interaction& ui,
                           bool askToOpen = true, const std::string& failureText = {});

// The closing question.
std::string ExportDoneQuestion(long long total, long long rows);

}  // namespace qx
