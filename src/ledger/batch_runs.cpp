#include "ledger/batch_runs.h"

#include "core/session_context.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "ledger/ledger_rules.h"
#include "ledger/run_key.h"
#include "ledger/server_scripts.h"
#include "platform/interaction.h"

namespace qx {

namespace {

struct KindTexts {
    const char* table;
    const char* paystat;
    const char* script;
    const char* name;  // "매출" or "수금"
};

KindTexts TextsOf(RunKind kind) {
    if (kind == RunKind::kSale) return {"payadd", "0", kMarkSaleRowsPath, "매출"};
    return {"paymus", "1", kMarkCollectionRowsPath, "수금"};
}

// Rows the user may see: those of the user's own members.
std::string RunRows(const SessionContext& s, const KindTexts& k, SqlParams& params) {
    std::string sql = " from " + s.schema() + "." + k.table + " a join " + s.schema() +
                      ".member_user member_user on member_user.member_inx=a.add_usrnum where 1=1";
    AppendRoleFilter(sql, params, s);
    return sql;
}

}  // namespace

std::vector<RunSummary> ListRuns(Database& db, const SessionContext& s, RunKind kind,
                                 const std::string& from, const std::string& to) {
    const KindTexts k = TextsOf(kind);
    SqlParams params;
    std::string sql =
        "select a.add_runkey, min(a.create_date) create_date, "
        "sum(if(a.add_errcode in ('0','2'),a.add_monthdefault,0)) ok_amount, "
        "sum(if(a.add_errcode='1',a.add_monthdefault,0)) refused_amount, "
        "sum(a.add_monthdefault) total_amount, count(distinct a.add_usrnum) members, "
        "count(*) requests, sum(if(a.add_errcode in ('0','2'),1,0)) ok_count, "
        "sum(if(a.add_errcode='1',1,0)) refused_count" +
        RunRows(s, k, params) + " and a.create_date between ? and ?";
    params.insert(params.end(), {from, to});
    sql += " group by a.add_runkey order by a.add_runkey desc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<RunSummary> runs;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        RunSummary run;
        run.run_key = r.asInt("add_runkey");
        run.date = r["create_date"];
        run.ok_amount = r.asInt("ok_amount");
        run.refused_amount = r.asInt("refused_amount");
        run.total_amount = r.asInt("total_amount");
        run.members = r.asInt("members");
        run.requests = r.asInt("requests");
        run.ok_count = r.asInt("ok_count");
        run.refused_count = r.asInt("refused_count");
        runs.push_back(run);
    }
    return runs;
}

std::vector<RunDetailRow> RunDetail(Database& db, const SessionContext& s, RunKind kind,
                                    long long runKey, RunRowFilter filter) {
    const KindTexts k = TextsOf(kind);
    SqlParams params;
    std::string sql =
        "select a.create_date, right(concat('0000000000',a.add_usrnum),10) payer_number, "
        "member_user.ext_key, member_user.client_company, member_user.username, "
        "a.add_monthdefault, if(a.add_errcode in ('0','2'),a.add_monthdefault,0) ok_amount, "
        "if(a.add_errcode='1',a.add_monthdefault,0) refused_amount, a.add_err, a.add_errcode" +
        RunRows(s, k, params) + " and a.add_runkey=?";
    params.emplace_back(runKey);
    if (filter == RunRowFilter::kOk) sql += " and a.add_errcode in ('0','2')";
    if (filter == RunRowFilter::kRefused) sql += " and a.add_errcode='1'";
    sql += " order by a.add_usrnum desc, a.payadd_inx asc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<RunDetailRow> rows;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        RunDetailRow row;
        row.date = r["create_date"];
        row.payer_number = r["payer_number"];
        row.ext_key = r["ext_key"];
        row.client_company = r["client_company"];
        row.username = r["username"];
        row.requested = r.asInt("add_monthdefault");
        row.ok_amount = r.asInt("ok_amount");
        row.refused_amount = r.asInt("refused_amount");
        row.result = r["add_err"];
        row.errcode = r["add_errcode"];
        rows.push_back(std::move(row));
    }
    return rows;
}

bool CancelRun(Database& db, const SessionContext& s, Interaction& ui, const std::string& webHost,
               RunKind kind, long long runKey) {
    const KindTexts k = TextsOf(kind);
    const std::string schema = s.schema();
    const std::string table = schema + "." + k.table;
    const std::string name = k.name;
    SqlParams own;
    const std::string ownRows = RunRows(s, k, own) + " and a.add_runkey=?";
    own.emplace_back(runKey);
    const std::string date = db.scalar("select min(a.create_date)" + ownRows, own);
    if (date.empty()) {
        ui.inform(kRunMissingText);
        return false;
    }
    if (!ui.confirm("일괄" + name + " (" + std::to_string(runKey) + " / " + date +
                    ") 을 취소하시겠습니까?")) {
        return false;
    }
    try {
        // One cancellation at a time per institution: the set-aside marks of
        // two branch users must never meet.
        RunKeyLock lock(db, s);
        ui.progress(name + "내역 정리중..", 0, 3);
        {
            Database::Transaction tx(db);
            if (!s.isHeadOffice()) {
                SqlParams params{runKey};
                std::string mine = "select 1 from " + schema +
                                   ".member_user member_user where "
                                   "member_user.member_inx=a.add_usrnum";
                AppendRoleFilter(mine, params, s);
                // The run key's parameter comes first in the statement.
                db.ExecuteSql("update " + table +
                                  " a set a.add_errcode=concat(3,a.add_errcode) where "
                                  "a.add_runkey=? and left(a.add_errcode,1)<>'3' and not exists (" +
                                  mine + ")",
                              params);
            }
            db.ExecuteSql("update " + table +
                              " set add_errcode='0' where add_runkey=? and "
                              "add_errcode='2'",
                          {runKey});
            tx.commit();
        }
        const auto restore = [&] {
            db.ExecuteSql("update " + table +
                              " set add_errcode=mid(add_errcode,2,1) where add_runkey=? and "
                              "left(add_errcode,1)='3'",
                          {runKey});
        };
        ui.progress(name + "취소불가능 정리중..", 1, 3);
        if (!RequestScript(webHost, k.script,
                           "loginuserid=" + schema + "&tablekey=" + std::to_string(runKey))) {
            restore();
            ui.inform(name +
                      "취소불가능 정리중 오류가 발생 하였습니다.(인터넷연결 상태를 확인하여 "
                      "주십시오.)");
            return false;
        }
        ui.progress(name + "취소불가능 정리완료.. 취소처리중", 2, 3);
        Database::Transaction tx(db);
        const std::string cancellable = " from " + schema + ".pay_pross p join " + table +
                                        " a on a.payadd_inx=p.addkey where p.addmuskey=? and "
                                        "p.paystat='" +
                                        k.paystat + "' and a.add_runkey=? and a.add_errcode='0'";
        db.scalar("select count(*)" + cancellable + " for update", {runKey, runKey});
        const std::string reversal = kind == RunKind::kSale
                                         ? "m.pay_nonpayment=m.pay_nonpayment-run.amount, "
                                           "m.total_prosspay=m.total_prosspay-run.amount"
                                         : "m.pay_nonpayment=m.pay_nonpayment+run.amount, "
                                           "m.total_payment=m.total_payment-run.amount, "
                                           "m.pay_prossagreement=if(m.account_divide='3',"
                                           "m.pay_prossagreement-run.amount,m.pay_prossagreement)";
        db.ExecuteSql("update " + schema +
                          ".member_user m join (select p.userlink_inx, sum(p.input_pay) amount" +
                          cancellable +
                          " group by p.userlink_inx) run on "
                          "m.member_inx=run.userlink_inx set " +
                          reversal,
                      {runKey, runKey});
        db.ExecuteSql("delete p" + cancellable, {runKey, runKey});
        db.ExecuteSql("delete from " + table + " where add_runkey=? and add_errcode='0'", {runKey});
        restore();
        if (db.scalarInt("select sum(if(add_errcode=1,0,1)) from " + table + " where add_runkey=?",
                         {runKey}) == 0) {
            db.ExecuteSql("delete from " + table + " where add_runkey=?", {runKey});
        }
        db.WriteProcessLog(date + " 일괄" + name + " 취소 [" + std::to_string(runKey) + "]",
                           kLedgerLogCode);
        tx.commit();
    } catch (const LedgerRefused& refused) {
        ui.inform(refused.what());
        return false;
    }
    ui.progress(name + "취소 완료", 3, 3);
    ui.inform("일괄" + name + "취소 작업이 완료 되었습니다.");
    return true;
}

}  // namespace qx
