// Day numbers and week numbers against an independent calendar.
#include "content/textparts/calendar.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace std::chrono;

TEST(Calendar, DayNumbersAgreeWithTheCivilCalendar)
{
    // The day number is a fixed distance from std::chrono's day count, and a
    // multiple of 7 falls on a Sunday.
    const int64_t base = *calendar::DayNumber(1970, 1, 1) - 0;
    for (int y = 1600; y <= 2400; y += 7) {
        for (int m = 1; m <= 12; ++m) {
            for (int d : {1, 15, 28, 29, 30, 31}) {
                const year_month_day ymd{year{y}, month{unsigned(m)}, day{unsigned(d)}};
                const auto dn = calendar::DayNumber(y, m, d);
                ASSERT_EQ(dn.has_value(), ymd.ok()) << y << "-" << m << "-" << d;
                if (!dn)
                    continue;
                const int64_t chronoDays = sys_days{ymd}.time_since_epoch().count();
                ASSERT_EQ(*dn - base, chronoDays);
                ASSERT_EQ(*dn % 7 == 0, weekday{sys_days{ymd}} == Sunday);
                const auto back = calendar::DateOfDayNumber(*dn);
                ASSERT_TRUE(back.has_value());
                EXPECT_EQ(*back, (CivilDate{y, m, d}));
            }
        }
    }
    EXPECT_FALSE(calendar::DayNumber(0, 1, 1));
    EXPECT_FALSE(calendar::DayNumber(2023, 2, 29));
    EXPECT_TRUE(calendar::DayNumber(2024, 2, 29));
    EXPECT_FALSE(calendar::DayNumber(1900, 2, 29));
    EXPECT_TRUE(calendar::DayNumber(2000, 2, 29));
    EXPECT_FALSE(calendar::DayNumber(2024, 13, 1));
    EXPECT_EQ(calendar::AddDays({2024, 2, 29}, 1), (CivilDate{2024, 3, 1}));
    EXPECT_EQ(calendar::AddDays({2024, 1, 1}, -1), (CivilDate{2023, 12, 31}));
    EXPECT_FALSE(calendar::AddDays({1, 1, 1}, -1));
}

TEST(Calendar, WeekNumbersOfTheProgramsOwnRule)
{
    EXPECT_EQ(calendar::WeekNumber(2024, 1, 6), 1);
    EXPECT_EQ(calendar::WeekNumber(2024, 1, 7), 2);
    EXPECT_EQ(calendar::WeekNumber(2020, 12, 31), 53);
    EXPECT_EQ(calendar::WeekNumber(2021, 1, 1), 53);
    EXPECT_EQ(calendar::WeekNumber(2021, 1, 3), 1);
    EXPECT_EQ(calendar::WeekNumber(2024, 12, 31), 1);
    EXPECT_EQ(calendar::WeekNumber(1971, 6, 1), 0);
    EXPECT_EQ(calendar::WeekNumber(2024, 2, 29), 9);
    EXPECT_EQ(calendar::WeekNumber(2024, 2, 30), 0);
}

TEST(Calendar, WeeksChangeOnSundaysOnly)
{
    // Over many years: the week number changes exactly when a Sunday starts,
    // or at a new year, and stays within 1..53.
    sys_days day = sys_days{year{1973} / 1 / 1};
    const sys_days end = sys_days{year{2060} / 12 / 31};
    int previous = -1;
    for (; day <= end; day += days{1}) {
        const year_month_day ymd{day};
        const int w = calendar::WeekNumber(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())));
        ASSERT_GE(w, 1);
        ASSERT_LE(w, 53);
        const bool newYear = ymd.month() == January && ymd.day() == std::chrono::day{1};
        if (previous >= 0 && !newYear && weekday{day} != Sunday) {
            ASSERT_EQ(w, previous) << int(ymd.year()) << "-" << unsigned(ymd.month()) << "-" << unsigned(ymd.day());
        }
        if (previous >= 0 && weekday{day} == Sunday && !(ymd.month() == January && unsigned(ymd.day()) <= 7)) {
            ASSERT_TRUE(w == previous + 1 || w == 1) << int(ymd.year()) << "-" << unsigned(ymd.month());
        }
        previous = w;
    }
}
