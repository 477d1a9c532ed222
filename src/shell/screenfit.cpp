#include "shell/screenfit.h"

#include "platform/screenmetrics.h"

namespace vk {

int screenHeightPixels(const ScreenMetrics &screen)
{
    const int ty = screen.twipsPerPixelY();
    const int heightTwips = screen.geometry().height() * ty;
    return heightTwips / ty;
}

ScreenFit screenFit(const ScreenMetrics &screen)
{
    const int height = screenHeightPixels(screen);
    if (height < kMinimumScreenHeight)
        return ScreenFit::TooLow;
    if (height < kStandardScreenHeight)
        return ScreenFit::FillScreen;
    return ScreenFit::Standard;
}

TwipsRect mainWindowPlacement(ScreenFit fit, const ScreenMetrics &screen, const TwipsRect &current)
{
    const int tx = screen.twipsPerPixelX();
    const int ty = screen.twipsPerPixelY();
    const QRect s = screen.geometry();
    switch (fit) {
    case ScreenFit::FillScreen:
        return {s.x() * tx, s.y() * ty, s.width() * tx, s.height() * ty};
    case ScreenFit::Standard:
        return {current.left, current.top, kStandardWidthPixels * tx, kStandardHeightPixels * ty};
    case ScreenFit::TooLow:
        break;
    }
    return current;
}

} // namespace vk
