#include "ui/main/screenfit.h"

#include "platform/screenmetrics.h"

#include <algorithm>

namespace vk {

int screenWidthPixels(const ScreenMetrics &screen)
{
    const int tx = screen.twipsPerPixelX();
    const int widthTwips = screen.geometry().width() * tx;
    return widthTwips / tx;
}

int screenHeightPixels(const ScreenMetrics &screen)
{
    const int ty = screen.twipsPerPixelY();
    const int heightTwips = screen.geometry().height() * ty;
    return heightTwips / ty;
}

ScreenFit screenFit(const ScreenMetrics &screen)
{
    const int width = screenWidthPixels(screen);
    const int height = screenHeightPixels(screen);
    if (height < kMinimumScreenHeight || width < kMinimumScreenWidth)
        return ScreenFit::TooSmall;
    if (height < kStandardScreenHeight || width < kStandardWidthPixels)
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
    case ScreenFit::TooSmall:
        break;
    }
    return current;
}

TwipsRect mainWindowRefit(const ScreenMetrics &screen, const TwipsRect &current)
{
    const ScreenFit fit = screenFit(screen);
    if (fit != ScreenFit::Standard)
        return mainWindowPlacement(ScreenFit::FillScreen, screen, current);
    const int tx = screen.twipsPerPixelX();
    const int ty = screen.twipsPerPixelY();
    const QRect area = screen.availableGeometry();
    const auto inside = [](int at, int size, int areaStart, int areaSize) {
        return std::max(areaStart, std::min(at, areaStart + areaSize - size));
    };
    const int left = inside(current.left / tx, kStandardWidthPixels, area.x(), area.width());
    const int top = inside(current.top / ty, kStandardHeightPixels, area.y(), area.height());
    return {left * tx, top * ty, kStandardWidthPixels * tx, kStandardHeightPixels * ty};
}

} // namespace vk
