#include "cms/rollback/run_rollback.h"

#include <filesystem>

#include "cms/rollback/eb13_rollback.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_summary.h"
#include "core/session_context.h"
#include "db/database.h"

namespace qx {

namespace fs = std::filesystem;

void MoveKftcRunToRollback(Database& db, const SessionContext& session,
                           const std::string& filename) {
    db.ExecuteSql(
        "insert into kftc.filerun_rollback "
        "(kftc_fr_inx,filename,cominx,orgcode,company,"
        "stat,senddate,recvdate,err_code,err_msg,stat_txt) select kftc_fr_inx,filename,"
        "cominx,orgcode,company,stat,senddate,recvdate,err_code,err_msg,? from "
        "kftc.filerun where filename=? and orgcode=?",
        {kRelayRollbackStatText, filename, session.org_code});
    db.ExecuteSql("delete from kftc.filerun where filename=? and orgcode=?",
                  {filename, session.org_code});
}

void RemoveLocalCopy(const SessionContext& session, const std::string& kind,
                     const std::string& filename) {
    if (filename.size() != kind.size() + 6) return;
    const std::string yymmdd = filename.substr(kind.size());
    const fs::path path = fs::path(ExchangeFolder(session, kind)) / (kind + yymmdd.substr(2));
    std::error_code ec;
    if (!fs::exists(path, ec)) return;
    if (HeaderDate(path.string()) == "20" + yymmdd) fs::remove(path, ec);
}

}  // namespace qx
