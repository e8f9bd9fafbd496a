#pragma once
// Gregorian day numbers and the program's own week numbering.
//
// A day number counts days so that a number divisible by 7 is a Sunday; it
// exists for dates from year 1 on (leap years by the 4/100/400 rule).
// Weeks run from Sunday to Saturday; this is not ISO 8601.
#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace calendar {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month); // 0 for a month outside 1..12

// The day number of a date; none for year <= 0, a month outside 1..12 or a
// day outside the month.
std::optional<int64_t> DayNumber(int year, int month, int day);
// The date of a day number; none when it falls before year 1 or after 9999.
std::optional<CivilDate> DateOfDayNumber(int64_t dayNumber);
// The date `days` days after (before, when negative) `date`; none when
// either end has no day number.
std::optional<CivilDate> AddDays(const CivilDate& date, int64_t days);

// The week number that the days of `year` before its first Sunday carry:
// 1, 52 or 53. Years before 1973 give the value of 1972's first step.
int WeeksInYear(int year);
// The week number of a date: 0 before 1972 or without a day number.
int WeekNumber(int year, int month, int day);

} // namespace calendar
