// Calendar dates and the business-day rules that pick default file dates.
// Pure functions: the holiday table comes in as a lookup so that the rules
// can be checked without a database.
#pragma once

#include <compare>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

struct CivilDate {
    int year = 0, month = 0, day = 0;
    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

bool IsValidDate(const CivilDate& date);
// 0 = Sunday … 6 = Saturday.
int Weekday(const CivilDate& date);
CivilDate AddDays(const CivilDate& date, int days);
std::string FormatDate(const CivilDate& date);       // yyyy-mm-dd (the holiday table's form)
std::string FormatShortDate(const CivilDate& date);  // yy-mm-dd (ledger dates)
// Accepts yyyy-mm-dd, yy-mm-dd, yyyymmdd and yymmdd (two-digit years are
// 20yy); nullopt for anything else or a day that does not exist.
std::optional<CivilDate> ParseDate(std::string_view text);

// The server's date and time of day (from select NOW()).
struct ServerClock {
    CivilDate date;
    int hour = 0, minute = 0, second = 0;
};
// Accepts "yy-mm-dd hh:nn:ss" (the session's form) and "yyyy-mm-dd hh:nn:ss".
std::optional<ServerClock> ParseServerClock(std::string_view text);

// True when the date is listed in the holiday table.
using HolidayLookup = std::function<bool(const CivilDate&)>;

// Listed in the holiday table, or a Saturday or Sunday.
bool IsHoliday(const CivilDate& date, const HolidayLookup& listed);

// The day before `date`, moved back past holidays.
CivilDate PreviousBusinessDay(const CivilDate& date, const HolidayLookup& listed);
// `n` times: one day forwards, then past holidays. n <= 0 returns `date`
// unchanged (even a holiday).
CivilDate AddBusinessDays(const CivilDate& date, int n, const HolidayLookup& listed);

// Card member requests: today, or the next business day when today is a
// holiday or it is 12 o'clock or later.
CivilDate TodayOrNext(const ServerClock& now, const HolidayLookup& listed);
// Card payment requests: the next business day after today; one business day
// later from 17 o'clock on.
CivilDate NextBusinessDayLateSwitch(const ServerClock& now, const HolidayLookup& listed);
// Transmission: the last business day before today; one business day further
// back before 12 o'clock when yesterday was a business day.
CivilDate PreviousBusinessDayEarlySwitch(const ServerClock& now, const HolidayLookup& listed);

// Default request dates of the EB13 and EI13 screens by delivery path
// (`cmsrunprg` 1 KFTC, 2 Hyosung relay). Any other path: today when it is a
// business day before the cut-off (12 o'clock for EB13, 14 for EI13), else
// the next business day.
CivilDate Eb13RequestDate(const ServerClock& now, int cmsrunprg, bool launched_with_credentials,
                          const HolidayLookup& listed);
CivilDate Ei13RequestDate(const ServerClock& now, int cmsrunprg, bool launched_with_credentials,
                          const HolidayLookup& listed);
// Default withdrawal date of the EB21 screens. Any path other than 1 and 2:
// the business day after the day the file can go out, which is today when
// today is a business day before 12 o'clock (17 when started with launch
// credentials), else the next business day.
CivilDate Eb21WithdrawalDate(const ServerClock& now, int cmsrunprg, bool launched_with_credentials,
                             const HolidayLookup& listed);

}  // namespace qx
