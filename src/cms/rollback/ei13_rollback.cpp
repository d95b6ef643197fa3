#include "cms/rollback/ei13_rollback.h"

#include <filesystem>

#include "cms/ei13/ei13_creation.h"
#include "cms/rollback/eb13_rollback.h"
#include "cms/rollback/run_rollback.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "db/database.h"
#include "members/agreement_file.h"
#include "platform/interaction.h"

namespace qx {

namespace {

constexpr int kRollbackLogCode = 5;
constexpr const char* kKind = "EI13";
constexpr const char* kLatestCondition =
    " where makedate > UNIX_TIMESTAMP(DATE_SUB(NOW(), INTERVAL 15 DAY)) order by send_stat "
    "asc, makedate desc limit 0, 1";

}  // namespace

std::optional<Ei13RollbackCandidate> LatestEi13RollbackCandidate(Database& db,
                                                                 const SessionContext& s) {
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(makedate) created, filename, total_cnt, "
        "if(send_stat='5','파일송신 완료','파일송신전') state from " +
        s.schema() + ".ei13" + kLatestCondition);
    if (rs.empty()) return std::nullopt;
    const auto r = rs[0];
    return Ei13RollbackCandidate{r["created"], r["filename"], r.asInt("total_cnt"), r["state"]};
}

bool RollbackEi13File(Database& db, const SessionContext& s, Interaction& ui,
                      const std::string& filename) {
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return false;
    if (filename.empty()) {
        ui.inform(kNothingTickedText, kDefaultTitle);
        return false;
    }
    {
        Database::Transaction tx(db);
        // The offer is read again inside the transaction: a file created or
        // rolled back meanwhile on another desk is not this one.
        const auto latest = LatestEi13RollbackCandidate(db, s);
        if (!latest || latest->filename != filename ||
            db.ExecuteSql("delete from " + s.schema() + ".ei13 where filename=?", {filename}) ==
                0) {
            ui.inform("[" + filename + "] 롤백할 수 없는 파일입니다.", kDefaultTitle);
            return false;
        }
        const std::string yymmdd = filename.substr(4);
        db.ExecuteSql("update " + s.schema() + ".member_user m join " + s.schema() +
                          ".file_ei13 f on f.user_no=m.member_inx set m.cms_agree_status='1' "
                          "where f.reg_date=?",
                      {yymmdd});
        db.ExecuteSql("delete from " + s.schema() + ".file_ei13 where reg_date=?", {yymmdd});
        if (s.cmsrunprg == 1) {
            MoveKftcRunToRollback(db, s, filename);
        } else if (s.cmsrunprg == 2) {
            db.ExecuteSql(
                "insert into sdsi.agreefilerun_rollback (inx,filename,cominx,id,company,userno,"
                "stat,senddate,err_code,err_msg,stat_txt) select inx,filename,cominx,id,company,"
                "userno,stat,senddate,err_code,err_msg,? from sdsi.agreefilerun where "
                "filename=? and cominx=?",
                {kRelayRollbackStatText, filename, s.institution_number});
            db.ExecuteSql("delete from sdsi.agreefilerun where filename=? and cominx=?",
                          {filename, s.institution_number});
        }
        tx.commit();
    }
    RemoveLocalCopy(s, kKind, filename);
    // The members' files are "set" again: back into the folder they are packed from.
    const std::string packed = PackedAgreementFolder(s, filename);
    MoveAgreementFiles(packed, AgreementFolder(s));
    std::error_code ec;
    std::filesystem::remove(packed, ec);
    db.WriteProcessLog(filename + kRollbackLogSuffix, kRollbackLogCode);
    return true;
}

}  // namespace qx
