#include "export/excel_export.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/session_context.h"
#include "export/html_xls_writer.h"
#include "export/xlsx_writer.h"
#include "platform/interaction.h"
#include "platform/process_control.h"

namespace qx {

namespace fs = std::filesystem;

std::string PrepareExcelFolder(const SessionContext& session) {
    std::error_code ec;
    // The file folder keeps an excel folder of its own beside the one the
    // save dialog opens in.
    if (!session.fileback_folder.empty())
        fs::create_directories(fs::path(session.fileback_folder) / "excel", ec);
    if (session.excel_folder.empty()) return {};
    ec.clear();
    fs::create_directories(session.excel_folder, ec);
    return !ec && fs::is_directory(session.excel_folder, ec) ? session.excel_folder : std::string();
}

std::string ProposedExportName(const std::string& title, const std::string& stamp,
                               ExportFormat format) {
    return title + "_" + stamp + (format == ExportFormat::kXlsx ? ".xlsx" : ".xls");
}

ExportFormat FormatOfFileName(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".xlsx" ? ExportFormat::kXlsx : ExportFormat::kHtmlXls;
}

std::string ExportDoneQuestion(long long total, long long rows) {
    return "총 " + std::to_string(total) + "건 중 " + std::to_string(rows) +
           "건의 엑셀파일 생성을 완료했습니다.\r\n엑셀파일을 열어보시겠습니까?";
}

namespace {

// An existing file that cannot be replaced (open elsewhere, read-only) or a
// folder that does not take new files is refused before anything is written.
bool CanCreate(const fs::path& target, const fs::path& temp) {
    std::error_code ec;
    if (target.empty() || fs::is_directory(target, ec)) return false;
    if (fs::exists(target, ec)) {
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe) return false;
    }
    std::ofstream probe(temp, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(probe);
}

}  // namespace

ExportOutcome ExportToFile(ExportRowSource& source, const std::vector<int>& columnList,
                           const std::string& path, ExportFormat format, Interaction& ui,
                           bool askToOpen, const std::string& failureText) {
    ExportOutcome outcome;
    const fs::path target(path);
    fs::path temp = target;
    temp += ".part";
    std::error_code ec;
    if (!CanCreate(target, temp)) {
        fs::remove(temp, ec);
        ui.inform(failureText.empty() ? kCannotCreateText : failureText);
        return outcome;
    }
    std::optional<long long> rows;
    try {
        if (format == ExportFormat::kXlsx) {
            fs::remove(temp, ec);
            rows = WriteXlsx(temp.string(), source, columnList, &ui);
        } else {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            rows = WriteHtmlXls(out, source, columnList, &ui);
            out.close();
            if (!out) rows.reset();
        }
    } catch (const std::exception&) {
        rows.reset();
        fs::remove(temp, ec);
        throw;  // a database failure is reported by the caller's guard
    }
    if (rows) {
        fs::rename(temp, target, ec);
        if (ec) rows.reset();
    }
    if (!rows) {
        fs::remove(temp, ec);
        ui.inform(failureText.empty() ? kExportFailedText : failureText);
        return outcome;
    }
    outcome.written = true;
    outcome.rows = *rows;
    outcome.total = std::max(source.rowCount(), *rows);
    if (askToOpen && ui.confirm(ExportDoneQuestion(outcome.total, outcome.rows)))
        OpenWithDesktop(target.string());
    return outcome;
}

}  // namespace qx
