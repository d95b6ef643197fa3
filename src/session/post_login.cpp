#include "session/post_login.h"

#include "cms/workspace/program_status.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/schema_check.h"
#include "db/schema_upgrade.h"
#include "db/server_clock.h"
#include "members/auto_cancellation.h"
#include "messaging/sms_settings.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"
#include "platform/registry.h"
#include "platform/text_checks.h"
#include "session/cms_summary.h"

namespace qx {

namespace {

void PrepareHeadOfficeFolders(const SessionContext& s) {
    const std::string back = s.fileback_folder;
    MakeFolderIfMissing(back);
    const std::string mine = back + "/" + s.LoginId;
    MakeFolderIfMissing(mine);
    for (const char* kind : {"EB11", "EB12", "EB13", "EB14", "EB15", "EB16", "EB21", "EB22"}) {
        MakeFolderIfMissing(mine + "/" + kind);
    }
    MakeFolderIfMissing(s.SystemDrive + "vornadir");
    MakeFolderIfMissing(ExchangeFolder(s));
}

}  // namespace

void WriteCompanionSettings(const SessionContext& s) {
    RegistryWrite("Software\\Tolvex\\Tolvex\\Config", "FilePath", ExchangeFolder(s));
    RegistryWrite("Software\\Tolvex\\Tolvex\\Login", "ID", s.org_code);
}

bool InitSessionAfterLogin(Database& db, SessionContext& s, const ProfileIni& ini, Interaction& ui,
                           const SplashFn& splash) {
    if (s.isHeadOffice()) {
        PrepareHeadOfficeFolders(s);
        WriteCompanionSettings(s);
    }
    s.relay_prefix = s.cmsrunprg > 1 ? "bank" + std::to_string(s.cmsrunprg) : "bank";

    // The schema is checked before anything reads from it, so a missing one
    // gets its own message rather than a failed statement.
    if (!SchemaExists(db, s.institution_number)) {
        ui.inform(kSchemaMissingMessage);
        return false;
    }
    db.setLogSchema(s.schema());
    // Asks the institution's file rows which local files are still open.
    SyncProgramStatus(db, s, ini);

    BuildCodeCaseSql(db, s);
    ReadServerDate(db, s);
    if (splash) splash(true, "CMS 요약 조회중 입니다.");
    s.cms_summary = ComputeCmsSummary(db, s);
    if (splash) splash(true, "프로그램을 읽어 들이고 있습니다.");
    UpgradeSchema(db, s, ini, [&splash](const std::string& text) {
        if (splash) splash(true, text);
    });

    s.service_site = ini.read("SYSTEM", "WEBHOST", "");
    if (splash) splash(false, "");
    CancelCompletedInstalmentMembers(db, s);
    CancelEndedPeriodMembers(db, s, s.month_current);
    if (s.cmsrunprg != 2) {
        db.ExecuteSql("update " + s.schema() +
                      ".member_user set `certificate_kind`='', `certificate_status`='', "
                      "`certificate_error`='' ");
    }
    LoadSmsSettings(db, s, ini);
    return true;
}

}  // namespace qx
