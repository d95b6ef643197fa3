// What a report query hands to its grid, its Excel export and its printout:
// the columns and the rows as shown.
#pragma once

#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"
#include "db/business_days.h"

namespace qx {

struct ReportTable {
    std::vector<StatusColumn> columns;
    std::vector<std::vector<std::string>> rows;
};

// A period typed by the user; throws std::invalid_argument with the message
// to show when a bound is not a day or the bounds are reversed.
struct ReportPeriod {
    CivilDate from, to;
};
ReportPeriod CheckedPeriod(const std::string& from, const std::string& to);

// A month typed as YYYY-MM (or yy-mm); nullopt otherwise.
std::optional<CivilDate> ParseReportMonth(const std::string& text);
// Months from..to as the first day of each; throws std::invalid_argument as
// CheckedPeriod does.
ReportPeriod CheckedMonths(const std::string& from, const std::string& to);
// A year typed as four digits between 2000 and 2099 (the ledger keeps
// two-digit years); throws std::invalid_argument otherwise.
int CheckedYear(const std::string& text);

}  // namespace qx
