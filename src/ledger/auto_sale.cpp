#include "ledger/auto_sale.h"

#include "core/session_context.h"
#include "db/database.h"
#include "ledger/batch_filter.h"
#include "ledger/batch_sales.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_rules.h"
#include "ledger/server_scripts.h"
#include "platform/interaction.h"

namespace qx {

namespace {

bool IgnoresLedgerSales(Database& db, const SessionContext& s) {
    return db.scalar("select ignorenonpay_use from quorisdex.admin_company where inx=?",
                     {s.institution_number}) == "Y";
}

}  // namespace

std::vector<std::string> AutoSaleNotice(Database& db, const SessionContext& s,
                                        const std::string& transferMonth) {
    if (!IgnoresLedgerSales(db, s)) return {};
    return {"※ 주의 : 이체월 [" + transferMonth + "]의 원장매출 직접 추가분을 『무시』하고",
            "　 일괄매출 발생되므로 『이중 청구』되지 않도록 주의 바랍니다."};
}

AutoSaleResult RunAutoSale(Database& db, const SessionContext& s, Interaction& ui,
                           const std::string& webHost, int day, const std::string& bookingDate) {
    AutoSaleResult result;
    const auto booking = LedgerDate(bookingDate);
    if (!booking || day < 1 || day > 31) {
        ui.inform(kDateInvalidText);
        return result;
    }
    if (!ui.confirm(std::to_string(day) + "일 이전인 회원에 대하여 일괄매출을 발생합니다.")) {
        return result;
    }
    result.asked = true;
    const std::string schema = s.schema();
    SqlParams params{day};
    std::string where =
        " where member_user.remove='1' and payday!='0' and payday<=? and "
        "member_user.pay_monthdefault>999 and member_user.settle_accounts='1'" +
        BatchFilterSql(WithUserRole({}, s), params);
    if (!IgnoresLedgerSales(db, s)) {
        // Only batch or automatic sales of this month count as billed.
        const std::string today = db.scalar("select mid(curdate(),3)");
        where += " and (select ifnull(sum(p.input_pay),0) from " + schema +
                 ".pay_pross p where p.userlink_inx=member_user.member_inx and p.paystat='0' "
                 "and p.signdate like concat(?,'%') and ((p.memo=? and p.addmuskey<>0) or "
                 "p.memo=?))<1";
        params.insert(params.end(), {today.substr(0, 5), MonthlyMemo(today, kBatchSaleMemo),
                                     MonthlyMemo(today, kAutoSaleMemo)});
    }

    ui.progress(kAutoSaleSettlingText, 0, 2);
    {
        // Each candidate's latest ledger row takes the member's outstanding
        // amount, for all candidates in one statement.
        Database::Transaction tx(db);
        result.reconciled = db.ExecuteSql(
            "update " + schema +
                ".pay_pross p join (select pay_inx, row_number() over "
                "(partition by userlink_inx order by regdate desc, paystat desc, pay_inx desc) rn "
                "from " +
                schema +
                ".pay_pross where userlink_inx in (select member_user.member_inx "
                "from " +
                schema + ".member_user member_user" + where +
                ")) latest on "
                "latest.pay_inx=p.pay_inx and latest.rn=1 join " +
                schema +
                ".member_user m on m.member_inx=p.userlink_inx set "
                "p.pros_nonpayment=m.pay_nonpayment where p.pros_nonpayment<>m.pay_nonpayment",
            params);
        tx.commit();
    }

    ui.progress(kAutoSaleBookingText, 1, 2);
    StagedRun staged;
    try {
        staged = StageSaleRun(db, s, where, params, *booking);
    } catch (const LedgerRefused& refused) {
        ui.inform(refused.what());
        return result;
    }
    result.run_key = staged.run_key;
    if (staged.rows > 0) {
        const std::string reply = RequestScriptReply(webHost, kBookSaleRunPath,
                                                     SaleRunQuery(s, staged.run_key, *booking));
        if (reply != kScriptDoneReply) {
            ui.progress(kAutoSaleBookingText, 2, 2);
            db.WriteProcessLog("매출발생중 오류발생 updatepms30내용:" + reply +
                                   "/URL내용: &tablekey=" + std::to_string(staged.run_key),
                               kLedgerLogCode);
            ui.inform(kAutoSaleFailedText);
            return result;
        }
        CountSaleRun(db, s, staged.run_key, result.booked, result.refused);
    }
    ui.progress(kAutoSaleBookingText, 2, 2);
    result.done = true;
    ui.inform(kAutoSaleDoneText);
    return result;
}

}  // namespace qx
