#include "cms/rollback/eb13_rollback.h"

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
constexpr const char* kKind = "EB13";
// Files at '9' are included: a result file refused by its checks leaves its
// EB13 there, and only a rollback takes it back.
constexpr const char* kOpenStates = "('0','9')";

bool IsEb13Name(const std::string& name) {
    return name.size() == 10 && name.rfind(kKind, 0) == 0 && IsAllDigits(name.substr(4));
}

}  // namespace

std::vector<Eb13RollbackCandidate> ListEb13RollbackCandidates(Database& db,
                                                              const SessionContext& session) {
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(makedate) created, filename, create_cnt, delete_cnt, total_cnt, "
        "if(pross_stat='9','eb14파일 적용중','eb14파일 적용전') state from " +
        InstitutionSchema(session.institution_number) + ".ea13 where pross_stat in " + kOpenStates +
        " order by pross_stat asc, makedate desc");
    std::vector<Eb13RollbackCandidate> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto row = rs[i];
        out.push_back({row["created"], row["filename"], row.asInt("create_cnt"),
                       row.asInt("delete_cnt"), row.asInt("total_cnt"), row["state"]});
    }
    return out;
}

int RollbackEb13Files(Database& db, const SessionContext& session, Interaction& ui,
                      const std::vector<std::string>& filenames) {
    if (filenames.empty()) {
        ui.inform(kNothingTickedText, kDefaultTitle);
        return 0;
    }
    const std::string s = InstitutionSchema(session.institution_number);
    int done = 0;
    for (const std::string& filename : filenames) {
        if (!IsEb13Name(filename)) {
            ui.inform("[" + filename + "] 롤백할 수 없는 파일명입니다.", kDefaultTitle);
            continue;
        }
        const std::string yymmdd = filename.substr(4);
        {
            Database::Transaction tx(db);
            // Deleting the file row first is the guard: a file whose result was
            // applied meanwhile is no longer found and nothing else happens.
            if (db.ExecuteSql(
                    "delete from " + s + ".ea13 where filename=? and pross_stat in " + kOpenStates,
                    {filename}) == 0) {
                ui.inform(
                    "[" + filename + "] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다.",
                    kDefaultTitle);
                continue;
            }
            const std::string extra =
                session.cmsrunprg == 2
                    ? ", m.certificate_status=if(m.remove=1,0,m.certificate_status)"
                    : "";
            db.ExecuteSql(
                "update " + s + ".member_user m join " + s +
                    ".file_ea13 f on f.user_no=m.member_inx set m.cms_status=f.oldcms_status" +
                    extra + " where f.reg_date=?",
                {yymmdd});
            db.ExecuteSql("delete from " + s + ".file_ea13 where reg_date=?", {yymmdd});
            if (session.cmsrunprg == 1) {
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
        RemoveLocalCopy(session, kKind, filename);
        db.WriteProcessLog(filename + kRollbackLogSuffix, kRollbackLogCode);
        ++done;
    }
    return done;
}

}  // namespace qx
