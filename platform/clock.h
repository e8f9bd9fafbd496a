#pragma once
// The clock and the user's date and time formats, as process-wide services
// that tests replace (ScopedClock), so texts showing the date or the time
// are checked against a fixed moment.
#include <string>

struct CivilDate {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct CivilTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

class CClock {
public:
    virtual ~CClock() = default;
    virtual CivilDate Today() const = 0;
    virtual CivilTime Now() const = 0;
    // The date in the user's short date format, as cp1252 bytes.
    virtual std::string FormatShortDate(const CivilDate& date) const = 0;
    // The time in the user's time format with seconds, as cp1252 bytes.
    virtual std::string FormatTime(const CivilTime& time) const = 0;
};

// The clock in use: the system clock and locale unless a test installed one.
const CClock& CurrentClock();

// A fixed moment with fixed formats ("YYYY-MM-DD", "HH:MM:SS"), installed
// for the lifetime of the object.
class ScopedClock : public CClock {
public:
    ScopedClock(CivilDate date, CivilTime time = {});
    ~ScopedClock() override;
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
    CivilDate Today() const override { return m_date; }
    CivilTime Now() const override { return m_time; }
    std::string FormatShortDate(const CivilDate& date) const override;
    std::string FormatTime(const CivilTime& time) const override;
    void Set(CivilDate date, CivilTime time = {}) { m_date = date; m_time = time; }

private:
    CivilDate m_date;
    CivilTime m_time;
    const CClock* m_previous;
};
