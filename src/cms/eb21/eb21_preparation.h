// The work of the service web server's script that lists what each member
// owes before an EB21 file (updatepms21_upg), as domain code: the stand-in's
// handler calls it, the client names the script by the path below.
#pragma once

#include <optional>
#include <string>

namespace qx {

class Database;

inline constexpr const char* kBillableItemsPath = "/zelmor/cs_load/updatepms21_upg.php";
// The same work for the members paid by card (updatepms39).
inline constexpr const char* kCardBillableItemsPath = "/zelmor/cs_load/updatepms39.php";

// Whose items are listed: members paid by account debit (settle_accounts
// '1', the EB21 file) or by card ('5', the card payment request).
enum class BillingChannel { Account, Card };

// Refills newpay of the institution with the billable items, in one
// transaction (a repeated request gives the same rows):
// * members of the channel (account debit or card), normal (remove
//   '1'), registered or after a withdrawal (cms_status 3, 7, 8), with an
//   outstanding amount;
// * the outstanding amount is spread over the member's sales newest first:
//   each sale gives the part of it still unpaid (firstpay), dated by the sale
//   (rep_day) and numbered by its place among the member's sales, oldest
//   first (addcount);
// * what no sale explains becomes one row dated the day before the oldest
//   sale (the last day of the month before the previous one when there is
//   none), addcount 0;
// * with the institution's checkexcept_use 'Y', sales dated after the day of
//   `nuday` are left out (their unpaid part is not billed);
// * a member's month_max > 0 keeps only the newest that many months (the
//   unexplained row counts as a month of its own, the oldest).
// `nuday` is "yymmddhhmmss", `setmonth` "yy-mm". Returns the rows written.
long long PrepareBillableItems(Database& db, long long inx, const std::string& nuday,
                               const std::string& setmonth,
                               BillingChannel channel = BillingChannel::Account);

// The query values checked: nullopt unless "yymmddhhmmss" / "yy-mm" of a real day.
std::optional<std::string> ScriptNuday(const std::string& nuday);
std::optional<std::string> ScriptSetMonth(const std::string& setmonth);

}  // namespace qx
