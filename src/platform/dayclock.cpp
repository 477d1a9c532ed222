#include "platform/dayclock.h"

#include <ctime>

namespace vk {

float SystemDayClock::secondsSinceMidnight() const
{
    // Read a hundred times a second by the stage clock: localtime_r, unlike
    // localtime() and QTime::currentTime(), does not look at the time zone
    // file again on every call.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
    const float value = static_cast<float>(seconds);
    // 86399.9999 rounds up to 86400.0f in single precision; keep the range half-open.
    return value < 86400.0f ? value : 0.0f;
}

} // namespace vk
