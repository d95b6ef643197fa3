#include "cms/transmission/open_transmission.h"

#include <filesystem>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/http.h"
#include "platform/interaction.h"
#include "platform/process_control.h"
#include "platform/system_drive.h"
#include "session/service_web.h"

namespace qx {

namespace fs = std::filesystem;

std::string CompanionProgramFolder(const std::string& configured) {
    std::error_code ec;
    if (fs::is_directory(configured, ec)) return configured;
    std::string folder = configured;
    for (const char* from : {"\\Program Files (x86)\\", "/Program Files (x86)/"}) {
        const std::string needle = from;
        const std::string to = needle.front() == '/' ? "/Program Files/" : "\\Program Files\\";
        for (auto at = folder.find(needle); at != std::string::npos;
             at = folder.find(needle, at + to.size())) {
            folder.replace(at, needle.size(), to);
        }
    }
    return folder;
}

TransmissionPath OpenTransmission(Database& db, SessionContext& s, Interaction& ui,
                                  const TransmissionLaunchers& launch) {
    if (s.cmsrunprg != 1) return TransmissionPath::None;
    auto rs = db.OpenRecordset(
        "select TOLVEX_abled, mid(concat(trim(admin_company.add_info6),'        '),1,8) addinpwd "
        "from quorisdex.admin_company where inx=?",
        {s.institution_number});
    if (!rs.empty()) {
        s.TOLVEX_abled = rs[0]["TOLVEX_abled"];
        s.add_in_code = rs[0]["addinpwd"];
    }
    std::error_code ec;
    if (s.TOLVEX_abled == "1") {
        if (!fs::exists(JoinPath(s.AppPath, kKftcLibraryFile), ec)) {
            ui.inform(kKftcLibraryMissingText);
            return TransmissionPath::Missing;
        }
        if (launch.openKftcScreen) launch.openKftcScreen();
        return TransmissionPath::KftcScreen;
    }
    if (s.TOLVEX_abled == "0") {
        const std::string folder = CompanionProgramFolder(s.tolvex_folder);
        const std::string program = JoinPath(folder, kCompanionProgramFile);
        if (!fs::is_regular_file(program, ec)) {
            ui.inform(kCompanionMissingText);
            return TransmissionPath::Missing;
        }
        if (launch.startProgram) {
            launch.startProgram(program, folder);
        } else {
            StartDetached(program, {});
        }
        return TransmissionPath::CompanionProgram;
    }
    if (s.TOLVEX_abled == "2") {
        OpenPostPage(ServiceUrl(s.service_site, kKftcFileManagerPath), "cominx", s.inx,
                     launch.openWithDesktop);
        return TransmissionPath::WebFileManager;
    }
    return TransmissionPath::None;
}

}  // namespace qx
