#include "members/auto_cancellation.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

// The collection method is compared as a number: as text, '2' to '5' sort
// after '10' and those period members would never end.
long long CancelEndedPeriodMembers(Database& db, const SessionContext& s,
                                   const std::string& before) {
    return db.ExecuteSql(
        "update " + s.schema() +
            ".member_user set remove='2',cms_status=" + kCancelledCmsStatusSql +
            " where cast(settle_accounts as unsigned)<10 and account_divide='4' and p_seday<? "
            "and remove='1' and cms_status in ('0','2','3','7','8')",
        {before});
}

long long CancelCompletedInstalmentMembers(Database& db, const SessionContext& s) {
    if (s.installment_chk_use != "Y") return 0;
    const std::string where =
        " where `account_divide`='3' and `remove` = 1 and cms_status in ('0','2','3','7','8') "
        "and `pay_agreement`<=`pay_prossagreement`";
    Database::Transaction tx(db);
    db.ExecuteSql("insert into " + s.schema() +
                  ".pross_log (`regdate`,`prosnum`,`prostxt`) select unix_timestamp(sysdate()), "
                  "3, replace(concat(client_company,' (',right(concat('0000000000',member_inx),"
                  "10),') 할부금', format(pay_agreement,0), '원 납부완료. 해지회원으로 변경'),"
                  "'''','^') from " +
                  s.schema() + ".member_user" + where);
    long long n = db.ExecuteSql("update " + s.schema() + ".member_user set remove='2',cms_status=" +
                                kCancelledCmsStatusSql + where);
    tx.commit();
    return n;
}

}  // namespace qx
