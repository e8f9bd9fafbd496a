#include "content/textparts/calendar.h"

namespace calendar {

namespace {
constexpr int kCumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int64_t kEpoch = 1721425;
constexpr int kMaxYear = 9999;

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

std::optional<int64_t> DayNumber(int y, int m, int d)
{
    if (y <= 0 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        return std::nullopt;
    const int64_t yy = y;
    return kCumulative[m - 1] + ((m > 2 && IsLeapYear(y)) ? 1 : 0) + d + 365 * yy + floorDiv(yy - 1, 4) -
           floorDiv(yy - 1, 100) + floorDiv(yy - 1, 400) + kEpoch;
}

std::optional<CivilDate> DateOfDayNumber(int64_t dn)
{
    const auto first = DayNumber(1, 1, 1);
    const auto last = DayNumber(kMaxYear, 12, 31);
    if (dn < *first || dn > *last)
        return std::nullopt;
    // Estimate the year, then correct it by at most a step or two.
    int y = int((dn - *first) * 400 / 146097) + 1;
    if (y > kMaxYear)
        y = kMaxYear;
    while (y > 1 && *DayNumber(y, 1, 1) > dn)
        --y;
    while (y < kMaxYear && *DayNumber(y + 1, 1, 1) <= dn)
        ++y;
    int m = 12;
    while (m > 1 && *DayNumber(y, m, 1) > dn)
        --m;
    const int d = int(dn - *DayNumber(y, m, 1)) + 1;
    return CivilDate{y, m, d};
}

std::optional<CivilDate> AddDays(const CivilDate& date, int64_t days)
{
    const auto dn = DayNumber(date.year, date.month, date.day);
    if (!dn)
        return std::nullopt;
    return DateOfDayNumber(*dn + days);
}

int WeeksInYear(int y)
{
    if (y > kMaxYear + 1)
        y = kMaxYear + 1;
    int64_t c = 6;
    int w = 52;
    int z = 1972;
    do {
        c = c + ((z % 4 == 0) ? 366 : 365) - 8;
        const int64_t q = c / 7, r = c % 7;
        int64_t t = q + (r > 0 ? 1 : 0) + (w <= 50 ? w : 0);
        if (t > 52)
            t = r >= 4 ? 53 : 1;
        w = r == 0 ? 1 : int(t);
        c = r + 1;
        ++z;
    } while (z <= y - 1);
    return w;
}

int WeekNumber(int y, int m, int d)
{
    if (y < 1972)
        return 0;
    const auto D = DayNumber(y, m, d);
    if (!D)
        return 0;
    const int L = WeeksInYear(y);
    const int64_t J = *DayNumber(y, 1, 1);
    const int64_t r1 = J % 7;
    const int64_t k = ((*D - *D % 7) - (J - r1)) / 7;
    int64_t week;
    if (L == 1)
        week = k + 1;
    else
        week = k >= 1 ? k : L;
    if (m > 1 && week > 52)
        week = WeeksInYear(y + 1);
    return int(week);
}

} // namespace calendar
