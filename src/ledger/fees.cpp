#include "ledger/fees.h"

#include <algorithm>
#include <iterator>

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

}  // namespace qx
