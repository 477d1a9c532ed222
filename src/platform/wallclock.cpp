#include "platform/wallclock.h"

namespace vk {

QDateTime SystemWallClock::nowUtc() const
{
    return QDateTime::currentDateTimeUtc();
}

} // namespace vk
