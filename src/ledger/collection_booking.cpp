#include "ledger/collection_booking.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

long long BookCollectionsFrom(Database& db, const SessionContext& s, const std::string& amounts,
                              const CollectionTexts& texts) {
    const std::string members = s.schema() + ".member_user m";
    // Instalment members count what they paid toward the total; for the
    // others the figure means nothing and stays 0.
    db.ExecuteSql("update " + members + " join " + amounts +
                  " a on a.member=m.member_inx set "
                  "m.pay_prossagreement=if(m.account_divide='3',m.pay_prossagreement+a.amount,0), "
                  "m.pay_nonpayment=m.pay_nonpayment-a.amount, "
                  "m.total_payment=m.total_payment+a.amount where m.remove<>4");
    return db.ExecuteSql(
        "insert into " + s.schema() +
            ".pay_pross (userlink_inx, userbrlink_inx, input_pay, pros_nonpayment, paystat, "
            "settle_code, settle_title, signdate, memo, regdate, pay_prossag, item_name, "
            "item_stan, item_cnt, addmuskey) select m.member_inx, m.branch_inx, a.amount, "
            "m.pay_nonpayment, '1', m.settle_accounts, if(m.settle_accounts+0<10,?,?), ?, "
            "left(?,60), "
            "unix_timestamp(sysdate()), if(m.account_divide='3',m.pay_prossagreement,0), "
            "left(?,64), '', 1, ? from " +
            amounts + " a join " + members +
            " on m.member_inx=a.member where m.remove<>4 order by m.member_inx",
        {texts.title, texts.ownMethodTitle.value_or(texts.title), texts.date, texts.memo,
         texts.item, texts.runKey});
}

}  // namespace qx
