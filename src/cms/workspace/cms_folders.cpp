#include "cms/workspace/cms_folders.h"

#include "core/session_context.h"
#include "platform/system_drive.h"
#include "platform/text_checks.h"

namespace qx {

std::string ExchangeFolder(const SessionContext& s) {
    return s.SystemDrive + "vornadir/" + s.LoginId;
}

std::string ExchangeFolder(const SessionContext& s, const std::string& kind) {
    return ExchangeFolder(s) + "/" + kind;
}

std::string ArchiveFolder(const SessionContext& s, const std::string& kind,
                          const std::string& yyyy) {
    return JoinPath(JoinPath(JoinPath(s.fileback_folder, s.LoginId), kind), yyyy);
}

std::string MakeExchangeFolder(const SessionContext& s, const std::string& kind) {
    MakeFolderIfMissing(s.SystemDrive + "vornadir");
    MakeFolderIfMissing(ExchangeFolder(s));
    const std::string folder = ExchangeFolder(s, kind);
    MakeFolderIfMissing(folder);
    return folder;
}

}  // namespace qx
