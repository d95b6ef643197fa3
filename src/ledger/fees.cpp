#include "ledger/fees.h"

#include <algorithm>
#include <iterator>

#include "db/database.h"
#include "db/sql_quote.h"

namespace qx {

bool IsChargedFailureCode(std::string_view code) {
    return std::find(std::begin(kUnchargedFailureCodes), std::end(kUnchargedFailureCodes), code) ==
           std::end(kUnchargedFailureCodes);
}

std::string UnchargedFailureCodesSql() {
    std::string list;
    for (const std::string_view code : kUnchargedFailureCodes) {
        if (!list.empty()) list += ",";
        list += SqlQuote(std::string(code));
    }
    return list;
}

long long CardPurchaseFeeHundredths(long long amount) {
    if (amount <= 0) return 0;
    // a × 2.8 and a × 2.8 × 0.1, each truncated, in integers: no floating
    // point between the amount and the won.
    return amount * 28 / 10 + amount * 28 / 100;
}

long long HundredthsToWon(long long hundredths) {
    return hundredths >= 0 ? (hundredths + 50) / 100 : -((-hundredths + 50) / 100);
}

FeeSettings LoadFeeSettings(Database& db, long long inx) {
    // The first value is the success fee: the stored success part plus the
    // failure part, as the service has always charged it.
    const Recordset rs = db.OpenRecordset(
        "select `ok_commission`+`no_commission`, `no_commission`, `vir_commision` "
        "from quorisdex.admin_company where inx=?",
        {inx});
    FeeSettings f;
    if (rs.size() == 0) return f;
    f.success = rs[0].asInt(std::size_t{0});
    f.failure = rs[0].asInt(std::size_t{1});
    f.virtualDeposit = rs[0].asInt(std::size_t{2});
    return f;
}

WithdrawalFees WithdrawalFileFees(const FeeSettings& fees, long long withdrawnItems,
                                  long long chargedFailedItems) {
    return {fees.success * withdrawnItems, fees.failure * chargedFailedItems};
}

long long VirtualDepositFees(const FeeSettings& fees, long long deposits) {
    return fees.virtualDeposit * deposits;
}

}  // namespace qx
