// The CMS summary figures of the main window's left panel, over the active
// account-debit members the user may see.
#pragma once

#include <string>

#include "core/session_context.h"
#include "platform/amount_text.h"

namespace qx {

class Database;

// The month whose sales count as the regular ones, "yy-mm": the current
// month when the institution divides by the current month, else the
// previous one.
std::string RegularMonth(const SessionContext& session);

// Regular and older outstanding amounts, the sales still to book for the
// regular month, and the expected monthly sales; narrowed by the role.
CmsSummary ComputeCmsSummary(Database& db, const SessionContext& session);

}  // namespace qx
