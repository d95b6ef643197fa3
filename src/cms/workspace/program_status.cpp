#include "cms/workspace/program_status.h"

#include <filesystem>
#include <system_error>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/housekeeping.h"
#include "core/session_context.h"
#include "platform/profile_ini.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

const char* kExchangeKinds[] = {"EB11", "EB12", "EB13", "EB14", "EB21", "EB22"};

// Files made while testing must never reach the live service: finished ones
// go, open ones are archived (their rows still point at them), and a file
// that cannot be dated by its own header stays where it is.
void ClearExchangeFolder(Database& db, const SessionContext& s, const std::string& kind,
                         ProgramStatusResult& result) {
    const std::string folder = ExchangeFolder(s, kind);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc)) files.push_back(it->path());
    }
    for (const fs::path& path : files) {
        const std::string name = path.filename().string();
        const std::string date = HeaderDate(path.string());
        if (date.size() != 8 || name != kind + date.substr(4)) {
            result.kept.push_back(path.string());
            continue;
        }
        if (ExchangeFileFinished(db, s, kind, date)) {
            std::error_code removeEc;
            if (fs::remove(path, removeEc)) result.deleted.push_back(path.string());
            continue;
        }
        HousekeepingResult archived;
        ArchiveExchangeFile(s, kind, date, archived);
        result.archived.insert(result.archived.end(), archived.archived.begin(),
                               archived.archived.end());
        result.kept.insert(result.kept.end(), archived.failed.begin(), archived.failed.end());
    }
}

}  // namespace

std::string ProgramStatusKey(const SessionContext& s) {
    return "PROGRAMSTAT_" + s.LoginId;
}

ProgramStatusResult SyncProgramStatus(Database& db, const SessionContext& s,
                                      const ProfileIni& ini) {
    ProgramStatusResult result;
    const std::string key = ProgramStatusKey(s);
    if (s.stat_company == "0") {
        ini.write(kProgramStatusSection, key, kProgramStatusTest);
    } else if (s.stat_company == "1") {
        if (ini.read(kProgramStatusSection, key, kProgramStatusLive) == kProgramStatusTest) {
            result.wentLive = true;
            for (const char* kind : kExchangeKinds) ClearExchangeFolder(db, s, kind, result);
        }
        ini.write(kProgramStatusSection, key, kProgramStatusLive);
    }
    return result;
}

}  // namespace qx
