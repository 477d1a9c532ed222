#include "platform/dayclock.h"

namespace vk {
namespace {

int localSecondsOfDay(std::time_t seconds, int *secondOfMinute)
{
    // localtime_r, unlike localtime() and QTime::currentTime(), does not
    // look at the time zone file again on every call.
    tm local{};
    localtime_r(&seconds, &local);
    *secondOfMinute = local.tm_sec;
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

} // namespace

float SystemDayClock::secondsSinceMidnight() const
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return secondsSinceMidnightAt(now);
}

float SystemDayClock::secondsSinceMidnightAt(const timespec &now) const
{
    const long long minute = now.tv_sec >= 0 ? now.tv_sec / 60 : (now.tv_sec - 59) / 60;
    if (minute != m_cachedMinute) {
        int second = 0;
        const int atMinute = localSecondsOfDay(static_cast<std::time_t>(minute * 60), &second);
        m_cachedMinute = minute;
        m_localSecondsAtMinute = second == 0 ? atMinute : -1;
    }
    int wholeSeconds = 0;
    if (m_localSecondsAtMinute >= 0) {
        wholeSeconds = m_localSecondsAtMinute + static_cast<int>(now.tv_sec - minute * 60);
    } else {
        int second = 0;
        wholeSeconds = localSecondsOfDay(now.tv_sec, &second);
    }
    const double seconds = wholeSeconds + now.tv_nsec / 1e9;
    const float value = static_cast<float>(seconds);
    // 86399.9999 rounds up to 86400.0f in single precision; keep the range half-open.
    return value < 86400.0f ? value : 0.0f;
}

} // namespace vk
