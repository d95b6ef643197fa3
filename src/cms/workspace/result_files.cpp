#include "cms/workspace/result_files.h"

#include <algorithm>
#include <filesystem>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/housekeeping.h"

namespace qx {

namespace fs = std::filesystem;

void TidyResultFolder(Database& db, const SessionContext& session, const std::string& kind,
                      const ResultArchiver& archive) {
    const fs::path folder = MakeExchangeFolder(session, kind);
    std::error_code ec;
    std::vector<std::string> dates;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const std::string name = entry.path().filename().string();
        if (name.rfind(kind, 0) != 0) {
            fs::remove(entry.path(), ec);
            continue;
        }
        const std::string date = HeaderDate(entry.path().string());
        if (!date.empty()) dates.push_back(date);
    }
    for (const std::string& date : dates) archive(db, session, date);
}

std::vector<std::string> ResultFilesWaiting(const SessionContext& session,
                                            const std::string& kind) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ExchangeFolder(session, kind), ec)) {
        if (entry.is_regular_file(ec) && entry.path().filename().string().rfind(kind, 0) == 0)
            out.push_back(entry.path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string LastEight(const std::string& name) {
    return name.size() > 8 ? name.substr(name.size() - 8) : name;
}

std::string ResultBusyText(const std::string& requestKind, const std::string& yymmdd) {
    return "[" + requestKind + yymmdd +
           "] 파일이 적용 진행 중이므로 적용작업을 중단합니다.\r\n"
           "※ 다른 컴퓨터에서 적용 중인지 확인해보시기 바랍니다.\r\n"
           "※ 위의 경우 외에는 쿼리스고객센터(0000-0000)로 연락주시기 바랍니다.";
}

std::string ResultBusyTitle(const std::string& requestKind, const std::string& yymmdd) {
    return "[" + requestKind + yymmdd + "] 파일 적용 처리불가";
}

std::string ResultSummaryText(int succeeded, int failed, const std::string& doneText) {
    return "처리결과 : 전체파일 " + std::to_string(succeeded + failed) + " 건중 (" +
           std::to_string(succeeded) + " 건 성공, " + std::to_string(failed) + " 건 실패)\r\n\r\n" +
           doneText;
}

}  // namespace qx
