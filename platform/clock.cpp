#include "platform/clock.h"

#include "platform/codepage.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <cstdio>

namespace {

class SystemClock : public CClock {
public:
    CivilDate Today() const override
    {
        const QDate d = QDate::currentDate();
        return CivilDate{d.year(), d.month(), d.day()};
    }
    CivilTime Now() const override
    {
        const QTime t = QTime::currentTime();
        return CivilTime{t.hour(), t.minute(), t.second()};
    }
    std::string FormatShortDate(const CivilDate& date) const override
    {
        const QDate d(date.year, date.month, date.day);
        if (!d.isValid())
            return "?";
        const QLocale loc = QLocale::system();
        return codepage::FromUnicode(loc.toString(d, loc.dateFormat(QLocale::ShortFormat)));
    }
    std::string FormatTime(const CivilTime& time) const override
    {
        const QTime t(time.hour, time.minute, time.second);
        if (!t.isValid())
            return "?";
        const QLocale loc = QLocale::system();
        QString fmt = loc.timeFormat(QLocale::ShortFormat);
        // Windows' default time format shows seconds; add them after the minutes.
        if (!fmt.contains(QLatin1Char('s'))) {
            const qsizetype m = fmt.lastIndexOf(QLatin1String("mm"));
            if (m >= 0)
                fmt.insert(m + 2, QLatin1String(":ss"));
        }
        return codepage::FromUnicode(loc.toString(t, fmt));
    }
};

const SystemClock& systemClock()
{
    static const SystemClock clock;
    return clock;
}

const CClock* g_clock = nullptr;

} // namespace

const CClock& CurrentClock()
{
    return g_clock ? *g_clock : systemClock();
}

ScopedClock::ScopedClock(CivilDate date, CivilTime time)
    : m_date(date), m_time(time), m_previous(g_clock)
{
    g_clock = this;
}

ScopedClock::~ScopedClock()
{
    g_clock = m_previous;
}

std::string ScopedClock::FormatShortDate(const CivilDate& date) const
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buf;
}

std::string ScopedClock::FormatTime(const CivilTime& time) const
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", time.hour, time.minute, time.second);
    return buf;
}
