#include "platform/displayscale.h"

#include <cmath>

namespace vk {

QSize logicalScreenSize(QSize physical, double ratio)
{
    return QSize(static_cast<int>(std::lround(physical.width() / ratio)),
                 static_cast<int>(std::lround(physical.height() / ratio)));
}

std::optional<double> fittingScale(QSize physical, double ratio, QSize design)
{
    const auto fits = [&](double r) {
        const QSize logical = logicalScreenSize(physical, r);
        return logical.width() >= design.width() && logical.height() >= design.height();
    };
    if (ratio <= 1.0 || fits(ratio) || !fits(1.0))
        return std::nullopt;
    // Quarter steps: the ratios desktops offer, and ones at which the
    // artwork's pixels still fall on a regular grid.
    for (double r = std::ceil(ratio * 4.0 - 1.0) / 4.0; r > 1.0; r -= 0.25)
        if (fits(r))
            return r;
    return 1.0;
}

} // namespace vk
