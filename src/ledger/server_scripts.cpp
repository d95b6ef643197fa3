#include "ledger/server_scripts.h"

#include "db/database.h"
#include "ledger/batch_filter.h"
#include "ledger/ledger_rules.h"
#include "ledger/run_key.h"
#include "platform/http.h"
#include "platform/text_checks.h"
#include "session/service_web.h"

namespace qx {

long long SettleOutstanding(Database& db, long long inx, const BatchFilter& filter) {
    const std::string schema = InstitutionSchema(inx);
    SqlParams params;
    const std::string where = BatchFilterSql(filter, params);
    Database::Transaction tx(db);
    const long long changed = db.ExecuteSql(
        "update " + schema + ".pay_pross p join (select userlink_inx, max(pay_inx) pay_inx from " +
            schema + ".pay_pross group by userlink_inx) latest on p.pay_inx=latest.pay_inx join " +
            schema +
            ".member_user member_user on member_user.member_inx=p.userlink_inx "
            "set p.pros_nonpayment=member_user.pay_nonpayment "
            "where member_user.remove='1'" +
            where + " and p.pros_nonpayment<>member_user.pay_nonpayment",
        params);
    tx.commit();
    return changed;
}

long long BookSaleRun(Database& db, long long inx, long long runKey, const std::string& date) {
    const std::string schema = InstitutionSchema(inx);
    Database::Transaction tx(db);
    // The run's rows locked: a second request for the same run waits here
    // and then finds its sales booked.
    db.scalar("select count(*) from " + schema + ".payadd where add_runkey=? for update", {runKey});
    if (db.scalarInt(
            "select count(*) from " + schema + ".pay_pross where addmuskey=? and paystat='0'",
            {runKey}) > 0) {
        tx.commit();
        return 0;
    }
    const long long booked = db.ExecuteSql(
        "insert into " + schema +
            ".pay_pross (userlink_inx, userbrlink_inx, input_pay, pros_nonpayment, paystat, "
            "settle_code, settle_title, signdate, memo, regdate, pay_prossag, item_name, "
            "item_stan, item_cnt, addmuskey, addkey) "
            "select a.add_usrnum, m.branch_inx, a.add_monthdefault, m.pay_nonpayment + "
            "sum(a.add_monthdefault) over (partition by a.add_usrnum order by a.payadd_inx "
            "rows between unbounded preceding and current row), '0', m.settle_accounts, " +
            SettleTitleSql(schema, "m") +
            ", ?, ?, unix_timestamp(sysdate()), if(m.account_divide='3',m.pay_prossagreement,0), "
            "a.item_name, a.item_stan, a.item_cnt, a.add_runkey, a.payadd_inx from " +
            schema + ".payadd a join " + schema +
            ".member_user m on m.member_inx=a.add_usrnum "
            "where a.add_runkey=? and a.add_errcode='0' order by a.payadd_inx",
        {date, MonthlyMemo(date, kBatchSaleMemo), runKey});
    db.ExecuteSql("update " + schema +
                      ".member_user m join (select add_usrnum, "
                      "sum(add_monthdefault) amount from " +
                      schema +
                      ".payadd where add_runkey=? and add_errcode='0' group by add_usrnum) run "
                      "on m.member_inx=run.add_usrnum set "
                      "m.pay_nonpayment=m.pay_nonpayment+run.amount, "
                      "m.total_prosspay=m.total_prosspay+run.amount",
                  {runKey});
    tx.commit();
    return booked;
}

long long MarkUncancellableSaleRows(Database& db, long long inx, long long runKey) {
    const std::string schema = InstitutionSchema(inx);
    Database::Transaction tx(db);
    const long long marked = db.ExecuteSql(
        "update " + schema + ".payadd a join " + schema +
            ".pay_pross s on s.addmuskey=a.add_runkey and s.addkey=a.payadd_inx and "
            "s.paystat='0' join " +
            schema +
            ".member_user m on m.member_inx=a.add_usrnum set a.add_errcode='2' "
            "where a.add_runkey=? and a.add_errcode='0' and (m.cms_status='6' or exists "
            "(select 1 from " +
            schema +
            ".pay_pross c where c.userlink_inx=a.add_usrnum and c.paystat='1' and "
            "c.pay_inx>s.pay_inx))",
        {runKey});
    tx.commit();
    return marked;
}

long long MarkUncancellableCollectionRows(Database& db, long long inx, long long runKey) {
    const std::string schema = InstitutionSchema(inx);
    Database::Transaction tx(db);
    const long long marked =
        db.ExecuteSql("update " + schema + ".paymus a left join " + schema +
                          ".pay_pross c on c.addmuskey=a.add_runkey and c.addkey=a.payadd_inx and "
                          "c.paystat='1' left join " +
                          schema +
                          ".member_user m on m.member_inx=a.add_usrnum set a.add_errcode='2' "
                          "where a.add_runkey=? and a.add_errcode='0' and "
                          "(c.pay_inx is null or m.member_inx is null or m.remove='4')",
                      {runKey});
    tx.commit();
    return marked;
}

std::optional<long long> ScriptInstitution(Database& db, const std::string& loginUserId) {
    if (loginUserId.size() < 5 || loginUserId.size() > 14 || loginUserId.rfind("tps_", 0) != 0 ||
        !IsAllDigits(loginUserId.substr(4))) {
        return std::nullopt;
    }
    const long long inx = std::stoll(loginUserId.substr(4));
    if (db.scalarInt("select count(*) from quorisdex.admin_company where inx=?", {inx}) != 1) {
        return std::nullopt;
    }
    return inx;
}

std::optional<long long> ScriptRunKey(const std::string& tablekey) {
    if (tablekey.empty() || tablekey.size() > 5 || !IsAllDigits(tablekey)) return std::nullopt;
    const long long key = std::stoll(tablekey);
    if (key < 1 || key > kLastRunKey) return std::nullopt;
    return key;
}

std::optional<std::string> ScriptDate(const std::string& dt1) {
    const auto date = LedgerDate(dt1);
    if (!date || *date != dt1) return std::nullopt;
    return date;
}

std::string RequestScriptReply(const std::string& webHost, const std::string& path,
                               const std::string& query) {
    const std::string url = ServiceUrl(webHost, path + "?" + query);
    return url.empty() ? std::string() : HttpGetText(url);
}

bool RequestScript(const std::string& webHost, const std::string& path, const std::string& query) {
    return RequestScriptReply(webHost, path, query) == kScriptDoneReply;
}

}  // namespace qx
