#include "db/business_days.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "platform/text_checks.h"

namespace qx {
namespace {

namespace chr = std::chrono;

constexpr int kSunday = 0, kMonday = 1, kSaturday = 6;
// A holiday table that never lets a business day through is bad data; stop
// instead of looping for ever.
constexpr int kMaxSkippedDays = 3660;

chr::sys_days ToDays(const CivilDate& d) {
    return chr::sys_days{chr::year{d.year} / chr::month{static_cast<unsigned>(d.month)} /
                         chr::day{static_cast<unsigned>(d.day)}};
}

CivilDate FromDays(chr::sys_days days) {
    const chr::year_month_day ymd{days};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

int Number(std::string_view digits) {
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

// Moves `step` days at a time while the date is a holiday.
CivilDate Skip(CivilDate date, int step, const HolidayLookup& listed) {
    for (int i = 0; IsHoliday(date, listed); ++i) {
        if (i == kMaxSkippedDays) {
            throw std::runtime_error("휴일 목록에 영업일이 없습니다: " + FormatDate(date));
        }
        date = AddDays(date, step);
    }
    return date;
}

CivilDate SkipForward(const CivilDate& date, const HolidayLookup& listed) {
    return Skip(date, 1, listed);
}
CivilDate SkipBackward(const CivilDate& date, const HolidayLookup& listed) {
    return Skip(date, -1, listed);
}
CivilDate NextBusinessDay(const CivilDate& date, const HolidayLookup& listed) {
    return SkipForward(AddDays(date, 1), listed);
}

// Today when it is a business day and the hour is before the cut-off,
// otherwise the next business day.
CivilDate TodayBeforeCutoff(const ServerClock& now, int cutoff_hour, const HolidayLookup& listed) {
    if (IsHoliday(now.date, listed)) return SkipForward(now.date, listed);
    return now.hour >= cutoff_hour ? NextBusinessDay(now.date, listed) : now.date;
}

// KFTC: today; before the cut-off, the last business day before today; on a
// holiday, the last business day before it.
CivilDate KftcRequestDate(const ServerClock& now, bool launched, const HolidayLookup& listed) {
    if (IsHoliday(now.date, listed)) return SkipBackward(now.date, listed);
    return now.hour < (launched ? 15 : 12) ? PreviousBusinessDay(now.date, listed) : now.date;
}

CivilDate RequestDate(const ServerClock& now, int cmsrunprg, bool launched, int relay_cutoff,
                      const HolidayLookup& listed) {
    if (cmsrunprg == 1) return KftcRequestDate(now, launched, listed);
    return TodayBeforeCutoff(now, relay_cutoff, listed);
}

}  // namespace

bool IsValidDate(const CivilDate& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 &&
           (chr::year{d.year} / chr::month{static_cast<unsigned>(d.month)} /
            chr::day{static_cast<unsigned>(d.day)})
               .ok();
}

int Weekday(const CivilDate& date) {
    return static_cast<int>(chr::weekday{ToDays(date)}.c_encoding());
}

CivilDate AddDays(const CivilDate& date, int days) {
    return FromDays(ToDays(date) + chr::days{days});
}

std::string FormatDate(const CivilDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string FormatShortDate(const CivilDate& d) {
    return FormatDate(d).substr(2);
}

std::optional<CivilDate> ParseDate(std::string_view text) {
    std::string digits;
    const bool dashed =
        text.size() >= 8 && text[text.size() - 3] == '-' && text[text.size() - 6] == '-';
    if (dashed && (text.size() == 10 || text.size() == 8)) {  // yyyy-mm-dd, yy-mm-dd
        const size_t y = text.size() - 6;
        digits.append(text.substr(0, y)).append(text.substr(y + 1, 2)).append(text.substr(y + 4));
    } else if (text.size() == 8 || text.size() == 6) {  // yyyymmdd, yymmdd
        digits = text;
    }
    if (!IsAllDigits(digits)) return std::nullopt;
    const std::string_view d = digits;
    const size_t y = d.size() - 4;
    CivilDate date{Number(d.substr(0, y)), Number(d.substr(y, 2)), Number(d.substr(y + 2))};
    if (y == 2) date.year += 2000;
    if (!IsValidDate(date)) return std::nullopt;
    return date;
}

std::optional<ServerClock> ParseServerClock(std::string_view text) {
    const auto space = text.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const auto date = ParseDate(text.substr(0, space));
    const std::string_view time = text.substr(space + 1);
    if (!date || time.size() != 8 || time[2] != ':' || time[5] != ':') return std::nullopt;
    const std::string_view h = time.substr(0, 2), m = time.substr(3, 2), s = time.substr(6, 2);
    if (!IsAllDigits(h) || !IsAllDigits(m) || !IsAllDigits(s)) return std::nullopt;
    ServerClock clock{*date, Number(h), Number(m), Number(s)};
    if (clock.hour > 23 || clock.minute > 59 || clock.second > 59) return std::nullopt;
    return clock;
}

bool IsHoliday(const CivilDate& date, const HolidayLookup& listed) {
    const int weekday = Weekday(date);
    return weekday == kSaturday || weekday == kSunday || (listed && listed(date));
}

CivilDate PreviousBusinessDay(const CivilDate& date, const HolidayLookup& listed) {
    return SkipBackward(AddDays(date, -1), listed);
}

CivilDate AddBusinessDays(const CivilDate& date, int n, const HolidayLookup& listed) {
    CivilDate result = date;
    for (int i = 0; i < n; ++i) result = NextBusinessDay(result, listed);
    return result;
}

CivilDate TodayOrNext(const ServerClock& now, const HolidayLookup& listed) {
    return TodayBeforeCutoff(now, 12, listed);
}

CivilDate NextBusinessDayLateSwitch(const ServerClock& now, const HolidayLookup& listed) {
    const CivilDate next = NextBusinessDay(now.date, listed);
    return now.hour >= 17 ? NextBusinessDay(next, listed) : next;
}

CivilDate PreviousBusinessDayEarlySwitch(const ServerClock& now, const HolidayLookup& listed) {
    const CivilDate yesterday = AddDays(now.date, -1);
    const CivilDate previous = SkipBackward(yesterday, listed);
    const bool yesterday_was_business = previous == yesterday;
    return yesterday_was_business && now.hour < 12 ? PreviousBusinessDay(previous, listed)
                                                   : previous;
}

CivilDate Eb13RequestDate(const ServerClock& now, int cmsrunprg, bool launched_with_credentials,
                          const HolidayLookup& listed) {
    return RequestDate(now, cmsrunprg, launched_with_credentials, 12, listed);
}

CivilDate Ei13RequestDate(const ServerClock& now, int cmsrunprg, bool launched_with_credentials,
                          const HolidayLookup& listed) {
    return RequestDate(now, cmsrunprg, launched_with_credentials, 14, listed);
}

CivilDate Eb21WithdrawalDate(const ServerClock& now, int cmsrunprg, bool launched_with_credentials,
                             const HolidayLookup& listed) {
    // KFTC: the business day after the first business day from today.
    if (cmsrunprg == 1) return NextBusinessDay(SkipForward(now.date, listed), listed);
    const int cutoff = launched_with_credentials ? 17 : 12;  // "later than 11 (16)"
    if (cmsrunprg != 2) {
        return NextBusinessDay(TodayBeforeCutoff(now, cutoff, listed), listed);
    }
    // Hyosung relay.
    const CivilDate first = SkipForward(AddDays(now.date, 1), listed);
    if (now.hour >= cutoff) return NextBusinessDay(first, listed);
    const int today = Weekday(now.date);
    if (Weekday(first) == kMonday && (today == kSaturday || today == kSunday)) {
        // One day more; skipping on from there keeps a holiday Tuesday out.
        return NextBusinessDay(first, listed);
    }
    return first;
}

}  // namespace qx
