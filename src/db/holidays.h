// The holiday table as the business-day rules see it.
#pragma once

#include "db/business_days.h"

namespace qx {

class Database;

// A lookup that asks the shared holiday table, remembering each answer so a
// rule that walks many days asks once per day.
HolidayLookup DatabaseHolidays(Database& db);

// Listed in the holiday table, or a Saturday or Sunday.
bool IsHoliday(Database& db, const CivilDate& date);

}  // namespace qx
