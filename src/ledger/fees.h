// Fees the institution pays for its collections: one place, so that the
// applied files, the card relay and the reports never disagree by a won.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// Failure codes of a withdrawal that cost the institution no failure fee.
inline constexpr std::string_view kUnchargedFailureCodes[] = {
    "A012", "0011", "0096", "0061", "0062", "0068", "0075", "0081",
    "0087", "0088", "0089", "0090", "0098", "9999", "D096", "D098"};

// True when a failed withdrawal with this code costs the failure fee.
bool IsChargedFailureCode(std::string_view code);
// The uncharged codes as a quoted SQL list ('A012','0011',…) for `in (…)`.
std::string UnchargedFailureCodesSql();

// The card company's fee on one approved purchase of `amount` won, in
// hundredths of a won: 2.8 % plus 10 % tax on it, each part cut at 1/100 won.
// Summed over a file in hundredths and rounded once, so that cutting each
// purchase never loses the file's fractions.
long long CardPurchaseFeeHundredths(long long amount);
// Hundredths of a won rounded half up to whole won.
long long HundredthsToWon(long long hundredths);

class Database;

// What the clearing service charges the institution, in won per item.
struct FeeSettings {
    long long success = 0;         // per item withdrawn (whole or in part)
    long long failure = 0;         // per charged failed item
    long long virtualDeposit = 0;  // per virtual-account deposit
};
// The institution's fees from admin_company.
FeeSettings LoadFeeSettings(Database& db, long long inx);

struct WithdrawalFees {
    long long success = 0, failure = 0;
    long long total() const { return success + failure; }
};
// The fees of a withdrawal file: every withdrawn item (a partial one too)
// and every failed item whose code is charged.
WithdrawalFees WithdrawalFileFees(const FeeSettings& fees, long long withdrawnItems,
                                  long long chargedFailedItems);
// The fee of `deposits` virtual-account deposits.
long long VirtualDepositFees(const FeeSettings& fees, long long deposits);

}  // namespace qx
