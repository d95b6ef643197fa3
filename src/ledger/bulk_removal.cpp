#include "ledger/bulk_removal.h"

#include "core/session_context.h"
#include "db/database.h"
#include "ledger/ledger_rules.h"
#include "platform/interaction.h"

namespace qx {

namespace {

// The listed members: not deleted, of the filter and of the user.
std::string Where(const SessionContext& s, const BatchFilter& filter, SqlParams& params) {
    return " where member_user.remove<>'4'" + BatchFilterSql(WithUserRole(filter, s), params);
}

void LogEach(Database& db, const SessionContext& s, const std::string& text,
             const std::string& where, const SqlParams& params) {
    db.ExecuteSql("insert into " + s.schema() +
                      ".pross_log (`regdate`,`prosnum`,`prostxt`) select "
                      "unix_timestamp(sysdate()), " +
                      std::to_string(kLedgerLogCode) + ", " + text + " from " + s.schema() +
                      ".member_user member_user" + where,
                  params);
}

}  // namespace

long long RemoveOutstanding(Database& db, const SessionContext& s, Interaction& ui,
                            const BatchFilter& filter) {
    if (!ui.confirm(kRemoveOutstandingQuestion)) return -1;
    SqlParams params;
    const std::string where = Where(s, filter, params) + " and member_user.pay_nonpayment<>0";
    Database::Transaction tx(db);
    LogEach(db, s,
            "concat(' (',right(concat('0000000000',member_inx),10),') 미수금 ',"
            "format(pay_nonpayment,0),'원 제거')",
            where, params);
    const long long changed = db.ExecuteSql(
        "update " + s.schema() +
            ".member_user member_user set "
            "member_user.total_prosspay=member_user.total_prosspay-member_user.pay_nonpayment, "
            "member_user.pay_nonpayment=0" +
            where,
        params);
    tx.commit();
    return changed;
}

long long RemoveExpected(Database& db, const SessionContext& s, Interaction& ui,
                         const BatchFilter& filter) {
    if (!ui.confirm(kRemoveExpectedQuestion)) return -1;
    const std::string schema = s.schema();
    const std::string items = schema + ".user_item ui join " + schema +
                              ".member_user member_user on member_user.member_inx=ui.ui_perinx";
    SqlParams params;
    const std::string where = Where(s, filter, params);
    Database::Transaction tx(db);
    db.ExecuteSql("delete from " + schema +
                      ".user_item where ui_perinx in (select ui_perinx from (select ui.ui_perinx "
                      "from " +
                      items + where + " group by ui.ui_perinx having count(*)>1) several)",
                  params);
    SqlParams withInstitution{s.institution_number};
    withInstitution.insert(withInstitution.end(), params.begin(), params.end());
    db.ExecuteSql(
        "insert into " + schema +
            ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment, ui_stan) select "
            "member_user.member_inx, left(if(member_user.cms_printkey='0', c.account_title, "
            "substring_index(substring_index(c.cms_print,',',member_user.cms_printkey),',',-1)),"
            "64), member_user.pay_monthdefault, 1, member_user.pay_monthdefault, '' from "
            "quorisdex.admin_company c join " +
            schema + ".member_user member_user on c.inx=?" + where +
            " and not exists (select 1 from " + schema +
            ".user_item have where have.ui_perinx=member_user.member_inx)",
        withInstitution);
    LogEach(db, s,
            "concat(' (',right(concat('0000000000',member_inx),10),') 매출예정액 ',"
            "format(pay_monthdefault,0),'원을 0원으로 변경')",
            where, params);
    const long long changed = db.ExecuteSql(
        "update " + schema + ".member_user member_user set member_user.pay_monthdefault=0" + where,
        params);
    db.ExecuteSql("update " + items + " set ui.ui_pay=0, ui.ui_cnt=1, ui.ui_payment=0" + where,
                  params);
    tx.commit();
    return changed;
}

}  // namespace qx
