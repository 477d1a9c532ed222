#include "platform/dayclock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace vk {
namespace {

// The reading straight from the C library, for comparison.
float directReading(const timespec &now)
{
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
    const float value = static_cast<float>(seconds);
    return value < 86400.0f ? value : 0.0f;
}

class TimeZone
{
public:
    explicit TimeZone(const char *zone)
    {
        if (const char *old = std::getenv("TZ"))
            m_old = old, m_hadOld = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (m_hadOld)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string m_old;
    bool m_hadOld = false;
};

// The instants where the zone's offset changes within [from, to).
std::vector<std::time_t> offsetChanges(std::time_t from, std::time_t to)
{
    std::vector<std::time_t> changes;
    const auto offset = [](std::time_t t) {
        tm local{};
        localtime_r(&t, &local);
        return local.tm_gmtoff;
    };
    for (std::time_t t = from; t + 3600 < to; t += 3600) {
        if (offset(t) == offset(t + 3600))
            continue;
        std::time_t lo = t, hi = t + 3600; // offset(lo) != offset(hi)
        while (hi - lo > 1) {
            const std::time_t mid = lo + (hi - lo) / 2;
            (offset(mid) == offset(lo) ? lo : hi) = mid;
        }
        changes.push_back(hi);
    }
    return changes;
}

// The clock looks the zone up once a minute and counts on from there. Read
// as the stage clock reads it, every 10 ms, across midnight and across each
// change of the offset in zones with half-hour and 45-minute offsets and
// half-hour summer time, it must give what the C library gives every time;
// so must a zone whose offset had seconds in it (Amsterdam before 1937).
TEST(SystemDayClock, readsWhatTheCLibraryReadsAcrossMidnightAndOffsetChanges)
{
    const std::time_t year2026 = 1767225600; // 2026-01-01 00:00:00 UTC
    struct Zone {
        const char *name;
        bool summerTime;
    };
    for (const Zone zone : {Zone{"UTC", false}, {"Europe/Berlin", true}, {"America/St_Johns", true},
                            {"Asia/Kathmandu", false}, {"Australia/Lord_Howe", true}, {"Pacific/Chatham", true},
                            {"America/Santiago", true}}) {
        SCOPED_TRACE(zone.name);
        TimeZone tz(zone.name);
        std::vector<std::time_t> around = offsetChanges(year2026, year2026 + 365 * 86400);
        ASSERT_EQ(around.size(), zone.summerTime ? 2u : 0u) << "summer time starts and ends";
        // Local midnight of a day in the year.
        tm local{};
        local.tm_year = 126, local.tm_mon = 4, local.tm_mday = 20, local.tm_isdst = -1;
        around.push_back(mktime(&local));

        SystemDayClock clock;
        for (const std::time_t centre : around) {
            for (std::time_t t = centre - 90; t < centre + 90; ++t) {
                for (long ms = 0; ms < 1000; ms += 10) {
                    const timespec now{t, ms * 1000000L};
                    ASSERT_EQ(clock.secondsSinceMidnightAt(now), directReading(now)) << t << "." << ms;
                }
            }
        }
    }

    TimeZone amsterdam("Europe/Amsterdam");
    SystemDayClock clock;
    const std::time_t in1930 = -1262304000 + 300 * 86400 + 12345;
    for (std::time_t t = in1930; t < in1930 + 200; ++t) {
        const timespec now{t, 500000000L};
        ASSERT_EQ(clock.secondsSinceMidnightAt(now), directReading(now)) << t;
    }
}

} // namespace
} // namespace vk
