#include "platform/dayclock.h"

#include <QTime>

namespace vk {

float SystemDayClock::secondsSinceMidnight() const
{
    const float seconds = static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
    // 86399.999 rounds up to 86400.0f in single precision; keep the range half-open.
    return seconds < 86400.0f ? seconds : 0.0f;
}

} // namespace vk
