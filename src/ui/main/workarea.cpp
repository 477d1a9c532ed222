#include "ui/main/workarea.h"

#include "platform/form.h"
#include "platform/rounding.h"
#include "platform/screenmetrics.h"
#include "ui/main/dockedplacement.h"

#include <algorithm>
#include <cstdint>

namespace vk {

QPoint workAreaPosition(QSize windowSize, QRect workArea)
{
    // The work area as left, top, right, bottom with right and bottom outside it.
    const double l = workArea.x();
    const double t = workArea.y();
    const double r = workArea.x() + workArea.width();
    const double b = workArea.y() + workArea.height();
    const int x = roundHalfEven((r - l - windowSize.width()) / 2 + l);
    const int y = roundHalfEven((b - t - windowSize.height()) / 2 + t);
    return {std::max(x, 0), std::max(y, 0)};
}

void centerOnWorkArea(Form &main, const ScreenMetrics &screen)
{
    const std::int32_t tx = screen.twipsPerPixelX();
    const std::int32_t ty = screen.twipsPerPixelY();
    const auto wp = static_cast<std::int16_t>(roundHalfEven(static_cast<double>(main.twWidth()) / tx));
    const auto hp = static_cast<std::int16_t>(roundHalfEven(static_cast<double>(main.twHeight()) / ty));
    const QPoint at = workAreaPosition(QSize(wp, hp), screen.availableGeometry());
    main.moveTw(at.x() * tx, at.y() * ty, wp * tx, hp * ty);
}

} // namespace vk
