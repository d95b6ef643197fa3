#include "session/startup.h"

#include "core/session_context.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "platform/text_checks.h"

namespace qx {

LaunchCredentials ParseLaunchCredentials(const std::string& commandLine) {
    LaunchCredentials lc;
    const std::string code = kLaunchCode;
    if (commandLine.compare(0, code.size(), code) != 0) return lc;
    lc.launched = true;
    const std::string rest = commandLine.substr(code.size());
    auto slash = rest.find('/');
    lc.id = rest.substr(0, slash);
    if (slash != std::string::npos) {
        auto next = rest.find('/', slash + 1);
        lc.password = rest.substr(slash + 1, next == std::string::npos ? next : next - slash - 1);
    }
    return lc;
}

void ReadDesktopSettings(SessionContext& s, const ProfileIni& ini) {
    const std::string drive = s.SystemDrive;
    const std::string defaultBack = drive + "quorisdex/fileback";
    // A relative folder lies under the program folder, wherever the program
    // was started from.
    s.fileback_folder = UnderFolder(s.AppPath, ini.read("FILEFOLDER", "FILEBACK", defaultBack));
    s.excel_folder =
        UnderFolder(s.AppPath, ini.read("FILEFOLDER", "EXCEL", drive + "quorisdex/excel"));
    s.tolvex_folder = ini.read("FILEFOLDER", "TOLVEX", drive + "Program Files/TolvexV2");
    s.nolabill_folder =
        ini.read("FILEFOLDER", "Nolabill", drive + "Program Files/Nolabill Agent V3/Bin");
    try {
        s.fixing_columns = std::stoi(ini.read("PRGSTAT", "FIXINGCOL", "2"));
    } catch (...) {
        s.fixing_columns = 0;
    }
    if (s.fileback_folder == defaultBack) {
        MakeFolderIfMissing(drive + "quorisdex");
        MakeFolderIfMissing(drive + "quorisdex/fileback");
        MakeFolderIfMissing(drive + "quorisdex/excel");
    }
    static const char* keys[] = {"TOLVEXOPEN", "AUTOLOGIN", "OPENFILEMAIN",
                                 "ALLPAYMAIN", "MONTHVIEW", "DEVIDEPAY"};
    static const char* defaults[] = {"YES", "NO", "NO", "YES", "YES", "YES"};
    for (int i = 0; i < 6; ++i) s.prgstat[i] = IsYes(ini.read("PRGSTAT", keys[i], defaults[i]));
}

std::string LoginWindowTitle() {
    return std::string(" Ravellon VER.") + kProgramVersion;
}

}  // namespace qx
