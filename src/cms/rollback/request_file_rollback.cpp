#include "cms/rollback/request_file_rollback.h"

#include <filesystem>

#include "cms/rollback/run_rollback.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/file_summary.h"
#include "core/session_context.h"
#include "db/database.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr int kRollbackLogCode = 5;

}  // namespace

bool IsRequestFileName(const RequestFileKind& kind, const std::string& name) {
    return name.size() == kind.kind.size() + 6 && name.rfind(kind.kind, 0) == 0 &&
           IsAllDigits(name.substr(kind.kind.size()));
}

int RollbackRequestFiles(Database& db, const SessionContext& session, Interaction& ui,
                         const RequestFileKind& kind, const std::vector<std::string>& filenames) {
    if (filenames.empty()) {
        ui.inform(kNothingTickedText, kDefaultTitle);
        return 0;
    }
    const std::string s = InstitutionSchema(session.institution_number);
    int done = 0;
    for (const std::string& filename : filenames) {
        if (!IsRequestFileName(kind, filename)) {
            ui.inform("[" + filename + "] 롤백할 수 없는 파일명입니다.", kDefaultTitle);
            continue;
        }
        const std::string yymmdd = filename.substr(kind.kind.size());
        {
            Database::Transaction tx(db);
            // Deleting the file row first is the guard: a file whose result was
            // claimed or applied meanwhile, or that another desk took back, is
            // no longer found and nothing else happens.
            if (db.ExecuteSql("delete from " + s + "." + kind.fileTable +
                                  " where filename=? and pross_stat in " + kind.openStates,
                              {filename}) == 0) {
                ui.inform(
                    "[" + filename + "] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다.",
                    kDefaultTitle);
                continue;
            }
            const std::string extra = session.cmsrunprg == 2 ? kind.relayMemberExtra : "";
            db.ExecuteSql("update " + s + ".member_user m join " + s + "." + kind.detailTable +
                              " f on f.user_no=m.member_inx set m.cms_status=f.oldcms_status" +
                              extra + " where f.reg_date=?",
                          {yymmdd});
            db.ExecuteSql("delete from " + s + "." + kind.detailTable + " where reg_date=?",
                          {yymmdd});
            if (session.cmsrunprg == 1 && kind.kftcRun) {
                MoveKftcRunToRollback(db, session, filename);
            } else if (session.cmsrunprg == 2) {
                const std::string relayName = RelayFileName(filename);
                db.ExecuteSql(
                    "insert into sdsi.filerun_rollback (inx,filename,filediv,id,company,stat,"
                    "senddate,recvdate,err_code,err_msg,stat_txt,sdsiver) select inx,filename,"
                    "filediv,id,company,stat,senddate,recvdate,err_code,err_msg,?,sdsiver from "
                    "sdsi.filerun where filename=? and id=?",
                    {kRelayRollbackStatText, relayName, session.org_code});
                db.ExecuteSql("delete from sdsi.filerun where filename=? and id=?",
                              {relayName, session.org_code});
            }
            tx.commit();
        }
        for (const std::string& folderKind : kind.localKinds)
            RemoveLocalCopy(session, folderKind, folderKind + yymmdd);
        db.WriteProcessLog(filename + kRollbackLogSuffix, kRollbackLogCode);
        ++done;
    }
    return done;
}

}  // namespace qx
