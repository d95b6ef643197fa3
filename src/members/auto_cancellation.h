// Automatic cancellations: period members past their last month and, when the
// institution asks for it, instalment members who have paid everything.
#pragma once

#include <string>

namespace qx {

class Database;
struct SessionContext;

// Cancels active period members whose last period (text) sorts before
// `before` ("yy-mm" at login). Returns the number of members cancelled.
long long CancelEndedPeriodMembers(Database& db, const SessionContext& session,
                                   const std::string& before);
// Logs and cancels instalment members whose instalments are all paid; does
// nothing unless installment_chk_use is 'Y'. Returns the number cancelled.
long long CancelCompletedInstalmentMembers(Database& db, const SessionContext& session);

// The cancellation mapping as an SQL expression: 0 and 2 become 13, every
// other state 11.
inline constexpr const char* kCancelledCmsStatusSql =
    "(case cms_status when 0 then 13 when 2 then 13 when 3 then 11 when 7 then 11 when 8 then "
    "11 else 11 end)";

}  // namespace qx
