#pragma once

#include <ctime>

namespace vk {

// The clock of the day: seconds after midnight with fractions, from 0 up to
// (not including) 86400, as a 32-bit float. Injected so that tests can stand
// at 900 s into a stage or just before midnight.
class DayClock
{
public:
    virtual ~DayClock() = default;
    virtual float secondsSinceMidnight() const = 0;
};

// The real-time clock in the local time zone.
class SystemDayClock final : public DayClock
{
public:
    float secondsSinceMidnight() const override;
    // The same reading for a given instant of the real-time clock.
    float secondsSinceMidnightAt(const timespec &now) const;

private:
    // Read a hundred times a second: the zone's rules are looked up once a
    // minute. Within one minute of UTC the local time runs on second for
    // second, provided the zone's offset is a whole number of minutes
    // (then the minute starts at local second 0); otherwise every reading
    // asks the C library.
    mutable long long m_cachedMinute = -1;   // UTC minute of the cached reading, -1 none
    mutable int m_localSecondsAtMinute = -1; // local seconds of day at its start, -1 unusable
};

} // namespace vk
