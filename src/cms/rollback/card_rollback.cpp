#include "cms/rollback/card_rollback.h"

#include "cms/rollback/request_file_rollback.h"
#include "core/session_context.h"
#include "db/database.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

constexpr int kRollbackLogCode = 5;

const char* Prefix(CardRollbackKind k) {
    return k == CardRollbackKind::Members ? "CMEM" : "CPAY";
}
const char* FileTable(CardRollbackKind k) {
    return k == CardRollbackKind::Members ? ".cdmem" : ".cdpay";
}
const char* DetailTable(CardRollbackKind k) {
    return k == CardRollbackKind::Members ? ".cdmem_detail" : ".cdpay_detail";
}

// The card relay run of the request (registered under the institution code
// by the card send) moves to its rollback table with its records removed.
void MoveCardRunToRollback(Database& db, const SessionContext& s, const std::string& filename) {
    const auto runs =
        db.OpenRecordset("select inx from aegis.filerun where filename=? and id=? for update",
                         {filename, s.org_code});
    if (runs.empty()) return;
    db.ExecuteSql(
        "insert into aegis.filerun_rollback (inx,filename,filediv,id,company,stat,senddate,"
        "recvdate,err_code,err_msg,stat_txt) select inx,filename,filediv,id,company,stat,"
        "senddate,recvdate,err_code,err_msg,? from aegis.filerun where filename=? and id=?",
        {kCardRelayRollbackStatText, filename, s.org_code});
    for (std::size_t i = 0; i < runs.size(); ++i)
        db.ExecuteSql("delete from aegis.filedetail where u_inx=?", {runs[i]["inx"]});
    db.ExecuteSql("delete from aegis.filerun where filename=? and id=?", {filename, s.org_code});
}

}  // namespace

std::vector<CardRollbackCandidate> ListCardRollbackCandidates(Database& db, const SessionContext& s,
                                                              CardRollbackKind kind) {
    const bool members = kind == CardRollbackKind::Members;
    const auto rs = db.OpenRecordset(
        std::string("select from_unixtime(makedate) created, filename, total_cnt, ") +
        (members ? "create_cnt, delete_cnt, 0 total_money"
                 : "0 create_cnt, 0 delete_cnt, "
                   "total_money") +
        " from " + s.schema() + FileTable(kind) +
        " where pross_stat='0' order by pross_stat asc, makedate desc");
    std::vector<CardRollbackCandidate> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        out.push_back({r["created"], r["filename"], r.asInt("create_cnt"), r.asInt("delete_cnt"),
                       r.asInt("total_cnt"), r.asInt("total_money"), kCardRollbackStateText});
    }
    return out;
}

int RollbackCardRequests(Database& db, const SessionContext& s, Interaction& ui,
                         CardRollbackKind kind, const std::vector<std::string>& filenames) {
    if (filenames.empty()) {
        ui.inform(kNothingTickedText, kDefaultTitle);
        return 0;
    }
    const std::string schema = s.schema();
    const std::string prefix = Prefix(kind);
    int done = 0;
    for (const std::string& filename : filenames) {
        if (filename.size() != 10 || filename.rfind(prefix, 0) != 0 ||
            !IsAllDigits(filename.substr(4))) {
            ui.inform("[" + filename + "] 롤백할 수 없는 파일명입니다.", kDefaultTitle);
            continue;
        }
        const std::string yymmdd = filename.substr(4);
        Database::Transaction tx(db);
        // The request row is the guard: one applied or taken back meanwhile
        // is not found, and nothing else happens.
        if (db.ExecuteSql(
                "delete from " + schema + FileTable(kind) + " where filename=? and pross_stat='0'",
                {filename}) == 0) {
            ui.inform("[" + filename + "] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다.",
                      kDefaultTitle);
            continue;
        }
        const bool payments = kind == CardRollbackKind::Payments;
        // Latest row first, so that a member on several rows ends with the
        // state recorded by its first row: the one before the request.
        const auto rows = db.OpenRecordset(
            std::string("select oldcms_status, user_no") +
                (payments ? ", oldcard_cancel_status, cancel_cdp_inx" : "") + " from " + schema +
                DetailTable(kind) + " where reg_date=? order by seq_num desc",
            {yymmdd});
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto r = rows[i];
            if (!payments) {
                db.ExecuteSql(
                    "update " + schema + ".member_user set cms_status=? where member_inx=?",
                    {r["oldcms_status"], r["user_no"]});
                continue;
            }
            db.ExecuteSql("update " + schema +
                              ".member_user set cms_status=?, card_cancel_status=? where "
                              "member_inx=?",
                          {r["oldcms_status"], r["oldcard_cancel_status"], r["user_no"]});
            if (r.asInt("cancel_cdp_inx") != 0)
                db.ExecuteSql("update " + schema +
                                  ".cdpay_detail set cancel_status='Y' where cdp_inx=? and "
                                  "cancel_status='C'",
                              {r["cancel_cdp_inx"]});
        }
        db.ExecuteSql("delete from " + schema + DetailTable(kind) + " where reg_date=?", {yymmdd});
        if (!s.credit_id.empty()) MoveCardRunToRollback(db, s, filename);
        tx.commit();
        db.WriteProcessLog(filename + kRollbackLogSuffix, kRollbackLogCode);
        ++done;
    }
    return done;
}

}  // namespace qx
