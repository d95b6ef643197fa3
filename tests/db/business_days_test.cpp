#include "db/business_days.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace qx {
namespace {

// Chuseok Thursday to Saturday 2026-09-24..26, Hangul Day Friday 2026-10-09
// and New Year's Day Friday 2027-01-01. Around Chuseok: Tue 22 and Wed 23 are
// business days; Thu 24 to Sun 27 are not; Mon 28 is.
const HolidayLookup kCalendar = [](const CivilDate& d) {
    static const std::set<std::string> listed{"2026-09-24", "2026-09-25", "2026-09-26",
                                              "2026-10-09", "2027-01-01"};
    return listed.count(FormatDate(d)) > 0;
};

CivilDate Day(std::string_view text) {
    const auto date = ParseDate(text);
    if (!date) throw std::invalid_argument("bad test date");
    return *date;
}

ServerClock At(std::string_view text) {
    const auto clock = ParseServerClock(text);
    if (!clock) throw std::invalid_argument("bad test clock");
    return *clock;
}

std::string Text(const CivilDate& d) {
    return FormatDate(d);
}

TEST(CivilDate, ParsesTheFormsInUse) {
    EXPECT_EQ(Day("2026-09-24"), (CivilDate{2026, 9, 24}));
    EXPECT_EQ(Day("26-09-24"), (CivilDate{2026, 9, 24}));
    EXPECT_EQ(Day("20260924"), (CivilDate{2026, 9, 24}));
    EXPECT_EQ(Day("260924"), (CivilDate{2026, 9, 24}));
    EXPECT_EQ(Day("2028-02-29"), (CivilDate{2028, 2, 29}));
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026/09/24", "26-9-24", "",
                            "abcdef", "2026-09-2x", "26092", "+26-09-24"}) {
        EXPECT_FALSE(ParseDate(bad).has_value()) << bad;
    }
}

TEST(CivilDate, FormatsWeekdaysAndAddsDays) {
    EXPECT_EQ(FormatDate({2026, 9, 4}), "2026-09-04");
    EXPECT_EQ(FormatShortDate({2026, 9, 4}), "26-09-04");
    EXPECT_EQ(Weekday(Day("2026-09-24")), 4);  // Thursday
    EXPECT_EQ(Weekday(Day("2026-09-27")), 0);  // Sunday
    EXPECT_EQ(Weekday(Day("2027-01-02")), 6);  // Saturday
    EXPECT_EQ(Text(AddDays(Day("2026-12-31"), 1)), "2027-01-01");
    EXPECT_EQ(Text(AddDays(Day("2028-03-01"), -1)), "2028-02-29");
    EXPECT_EQ(Text(AddDays(Day("2026-03-01"), -1)), "2026-02-28");
}

TEST(CivilDate, ParsesServerClock) {
    const ServerClock c = At("26-09-23 11:59:07");
    EXPECT_EQ(c.date, Day("2026-09-23"));
    EXPECT_EQ(c.hour, 11);
    EXPECT_EQ(c.minute, 59);
    EXPECT_EQ(c.second, 7);
    EXPECT_EQ(At("2026-09-23 00:00:00").hour, 0);
    for (const char* bad : {"26-09-23", "26-09-23 24:00:00", "26-09-23 12:60:00",
                            "26-09-23 1:00:00", "26-02-30 10:00:00"}) {
        EXPECT_FALSE(ParseServerClock(bad).has_value()) << bad;
    }
}

TEST(IsHoliday, ListedDaysAndWeekends) {
    EXPECT_TRUE(IsHoliday(Day("2026-09-24"), kCalendar));
    EXPECT_FALSE(IsHoliday(Day("2026-09-23"), kCalendar));
    EXPECT_TRUE(IsHoliday(Day("2026-09-27"), kCalendar));
    // 2 January on a Saturday is a holiday without a row of its own.
    EXPECT_TRUE(IsHoliday(Day("2027-01-02"), kCalendar));
    EXPECT_TRUE(IsHoliday(Day("2027-01-02"), nullptr));
    EXPECT_FALSE(IsHoliday(Day("2026-09-24"), nullptr));
}

TEST(PreviousBusinessDay, SkipsBackOverWeekendAndHoliday) {
    EXPECT_EQ(Text(PreviousBusinessDay(Day("2026-09-23"), kCalendar)), "2026-09-22");
    EXPECT_EQ(Text(PreviousBusinessDay(Day("2026-09-21"), kCalendar)), "2026-09-18");
    EXPECT_EQ(Text(PreviousBusinessDay(Day("2026-09-28"), kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(PreviousBusinessDay(Day("2026-09-25"), kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(PreviousBusinessDay(Day("2027-01-04"), kCalendar)), "2026-12-31");
}

TEST(AddBusinessDays, CountsOnlyBusinessDays) {
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-22"), 1, kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-23"), 1, kCalendar)), "2026-09-28");
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-23"), 2, kCalendar)), "2026-09-29");
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-25"), 1, kCalendar)), "2026-09-28");
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-12-31"), 1, kCalendar)), "2027-01-04");
    // A Friday before a Monday holiday: two business days later is Wednesday.
    const HolidayLookup monday_off = [](const CivilDate& d) { return d == CivilDate{2026, 10, 5}; };
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-10-02"), 2, monday_off)), "2026-10-07");
}

TEST(AddBusinessDays, ZeroOrLessLeavesTheDateAsItIs) {
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-23"), 0, kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-26"), 0, kCalendar)), "2026-09-26");
    EXPECT_EQ(Text(AddBusinessDays(Day("2026-09-28"), -3, kCalendar)), "2026-09-28");
}

TEST(TodayOrNext, NoonSwitchOnBusinessDaysOnly) {
    EXPECT_EQ(Text(TodayOrNext(At("26-09-22 11:59:59"), kCalendar)), "2026-09-22");
    EXPECT_EQ(Text(TodayOrNext(At("26-09-22 12:00:00"), kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(TodayOrNext(At("26-09-23 11:59:59"), kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(TodayOrNext(At("26-09-23 12:00:00"), kCalendar)), "2026-09-28");
    // On a holiday the hour does not add a day.
    EXPECT_EQ(Text(TodayOrNext(At("26-09-24 09:00:00"), kCalendar)), "2026-09-28");
    EXPECT_EQ(Text(TodayOrNext(At("26-09-26 15:00:00"), kCalendar)), "2026-09-28");
}

TEST(NextBusinessDayLateSwitch, FivePmAddsABusinessDay) {
    EXPECT_EQ(Text(NextBusinessDayLateSwitch(At("26-09-22 16:59:59"), kCalendar)), "2026-09-23");
    EXPECT_EQ(Text(NextBusinessDayLateSwitch(At("26-09-22 17:00:00"), kCalendar)), "2026-09-28");
    EXPECT_EQ(Text(NextBusinessDayLateSwitch(At("26-09-23 16:59:59"), kCalendar)), "2026-09-28");
    EXPECT_EQ(Text(NextBusinessDayLateSwitch(At("26-09-23 17:00:00"), kCalendar)), "2026-09-29");
    EXPECT_EQ(Text(NextBusinessDayLateSwitch(At("26-09-26 10:00:00"), kCalendar)), "2026-09-28");
    EXPECT_EQ(Text(NextBusinessDayLateSwitch(At("26-09-26 18:00:00"), kCalendar)), "2026-09-29");
}

TEST(PreviousBusinessDayEarlySwitch, MorningGoesBackOneMoreOnlyAfterABusinessDay) {
    EXPECT_EQ(Text(PreviousBusinessDayEarlySwitch(At("26-09-23 11:59:59"), kCalendar)),
              "2026-09-21");
    EXPECT_EQ(Text(PreviousBusinessDayEarlySwitch(At("26-09-23 12:00:00"), kCalendar)),
              "2026-09-22");
    EXPECT_EQ(Text(PreviousBusinessDayEarlySwitch(At("26-09-29 11:00:00"), kCalendar)),
              "2026-09-23");
    EXPECT_EQ(Text(PreviousBusinessDayEarlySwitch(At("26-09-29 12:00:00"), kCalendar)),
              "2026-09-28");
    // Yesterday was Sunday: the morning adds nothing.
    EXPECT_EQ(Text(PreviousBusinessDayEarlySwitch(At("26-09-28 09:00:00"), kCalendar)),
              "2026-09-23");
    EXPECT_EQ(Text(PreviousBusinessDayEarlySwitch(At("26-09-28 13:00:00"), kCalendar)),
              "2026-09-23");
}

TEST(Eb13RequestDate, KftcMovesBackBeforeNoon) {
    const auto kftc = [](const char* now, bool launched = false) {
        return Text(Eb13RequestDate(At(now), 1, launched, kCalendar));
    };
    EXPECT_EQ(kftc("26-09-23 11:59:59"), "2026-09-22");
    EXPECT_EQ(kftc("26-09-23 12:00:00"), "2026-09-23");
    EXPECT_EQ(kftc("26-09-28 11:59:59"), "2026-09-23");  // back over Chuseok and the weekend
    EXPECT_EQ(kftc("26-09-28 12:00:00"), "2026-09-28");
    EXPECT_EQ(kftc("26-09-23 14:59:59"), "2026-09-23");
    EXPECT_EQ(kftc("26-09-23 14:59:59", true), "2026-09-22");  // launched: switch at 15
    EXPECT_EQ(kftc("26-09-23 15:00:00", true), "2026-09-23");
    // On a holiday: back to the last business day, whatever the hour.
    EXPECT_EQ(kftc("26-09-25 09:00:00"), "2026-09-23");
    EXPECT_EQ(kftc("26-09-25 13:00:00"), "2026-09-23");
}

TEST(Eb13RequestDate, HyosungAndOtherPathsMoveForwardFromNoon) {
    for (const int path : {2, 3, 0}) {
        const auto date = [path](const char* now, bool launched = false) {
            return Text(Eb13RequestDate(At(now), path, launched, kCalendar));
        };
        EXPECT_EQ(date("26-09-22 12:00:00"), "2026-09-23") << path;
        EXPECT_EQ(date("26-09-23 11:59:59"), "2026-09-23") << path;
        EXPECT_EQ(date("26-09-23 12:00:00"), "2026-09-28") << path;
        EXPECT_EQ(date("26-09-23 12:00:00", true), "2026-09-28") << path;
        EXPECT_EQ(date("26-09-25 09:00:00"), "2026-09-28") << path;
        EXPECT_EQ(date("26-09-26 15:00:00"), "2026-09-28") << path;
    }
}

TEST(Ei13RequestDate, HyosungSwitchesAtTwo) {
    for (const int path : {2, 3}) {
        const auto date = [path](const char* now) {
            return Text(Ei13RequestDate(At(now), path, false, kCalendar));
        };
        EXPECT_EQ(date("26-09-23 12:30:00"), "2026-09-23") << path;
        EXPECT_EQ(date("26-09-23 13:59:59"), "2026-09-23") << path;
        EXPECT_EQ(date("26-09-23 14:00:00"), "2026-09-28") << path;
        EXPECT_EQ(date("26-09-22 14:00:00"), "2026-09-23") << path;
    }
    // KFTC keeps the EB13 switch at noon.
    EXPECT_EQ(Text(Ei13RequestDate(At("26-09-23 11:59:59"), 1, false, kCalendar)), "2026-09-22");
    EXPECT_EQ(Text(Ei13RequestDate(At("26-09-23 12:00:00"), 1, false, kCalendar)), "2026-09-23");
}

TEST(Eb21WithdrawalDate, KftcIsTheBusinessDayAfterTheFirstBusinessDay) {
    const auto kftc = [](const char* now) {
        return Text(Eb21WithdrawalDate(At(now), 1, false, kCalendar));
    };
    EXPECT_EQ(kftc("26-09-22 09:00:00"), "2026-09-23");
    EXPECT_EQ(kftc("26-09-22 18:00:00"), "2026-09-23");
    EXPECT_EQ(kftc("26-09-23 09:00:00"), "2026-09-28");
    EXPECT_EQ(kftc("26-09-25 09:00:00"), "2026-09-29");
    EXPECT_EQ(kftc("27-01-02 09:00:00"), "2027-01-05");
}

TEST(Eb21WithdrawalDate, HyosungCutOffAfterEleven) {
    const auto hyosung = [](const char* now, bool launched = false) {
        return Text(Eb21WithdrawalDate(At(now), 2, launched, kCalendar));
    };
    EXPECT_EQ(hyosung("26-09-22 11:59:59"), "2026-09-23");
    EXPECT_EQ(hyosung("26-09-22 12:00:00"), "2026-09-28");
    EXPECT_EQ(hyosung("26-09-22 16:59:59", true), "2026-09-23");  // launched: after 16
    EXPECT_EQ(hyosung("26-09-22 17:00:00", true), "2026-09-28");
    EXPECT_EQ(hyosung("26-09-23 10:00:00"), "2026-09-28");
    EXPECT_EQ(hyosung("26-09-23 12:00:00"), "2026-09-29");
    EXPECT_EQ(hyosung("26-10-02 10:00:00"), "2026-10-05");  // Friday to Monday stays Monday
}

TEST(Eb21WithdrawalDate, HyosungWeekendMondayMovesOnToABusinessDay) {
    const auto hyosung = [](const char* now, const HolidayLookup& listed) {
        return Text(Eb21WithdrawalDate(At(now), 2, false, listed));
    };
    EXPECT_EQ(hyosung("26-10-10 10:00:00", kCalendar), "2026-10-13");  // Saturday
    EXPECT_EQ(hyosung("26-10-10 13:00:00", kCalendar), "2026-10-13");
    EXPECT_EQ(hyosung("26-09-20 10:00:00", kCalendar), "2026-09-22");  // Sunday
    // The weekend's Tuesday is a holiday: never propose it.
    const HolidayLookup tuesday_off = [](const CivilDate& d) {
        return d == CivilDate{2026, 10, 13};
    };
    EXPECT_EQ(hyosung("26-10-10 10:00:00", tuesday_off), "2026-10-14");
}

TEST(Eb21WithdrawalDate, OtherPathsDayAfterTheSendingDay) {
    const auto other = [](const char* now, bool launched = false) {
        return Text(Eb21WithdrawalDate(At(now), 3, launched, kCalendar));
    };
    EXPECT_EQ(other("26-09-22 11:59:59"), "2026-09-23");
    EXPECT_EQ(other("26-09-22 12:00:00"), "2026-09-28");
    EXPECT_EQ(other("26-09-22 16:59:59", true), "2026-09-23");
    EXPECT_EQ(other("26-09-22 17:00:00", true), "2026-09-28");
    EXPECT_EQ(other("26-09-25 09:00:00"), "2026-09-29");
    EXPECT_EQ(other("26-10-10 09:00:00"), "2026-10-13");
}

TEST(BusinessDays, CalendarWithoutBusinessDaysIsReportedNotLoopedOn) {
    const HolidayLookup every_day = [](const CivilDate&) { return true; };
    EXPECT_THROW(PreviousBusinessDay(Day("2026-09-23"), every_day), std::runtime_error);
    EXPECT_THROW(AddBusinessDays(Day("2026-09-23"), 1, every_day), std::runtime_error);
}

}  // namespace
}  // namespace qx
