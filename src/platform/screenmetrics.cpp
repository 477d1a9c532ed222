#include "platform/screenmetrics.h"

#include "platform/twips.h"

namespace vk {

int ScreenMetrics::twipsPerPixelX() const
{
    return Twips::perPixel(logicalDpiX());
}

int ScreenMetrics::twipsPerPixelY() const
{
    return Twips::perPixel(logicalDpiY());
}

} // namespace vk
