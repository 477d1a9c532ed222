#pragma once

#include "platform/screenmetrics.h"

namespace vk {

// The primary screen as Qt reports it (logical pixels).
class QtScreenMetrics final : public ScreenMetrics
{
public:
    QRect geometry() const override;
    QRect availableGeometry() const override;
    double logicalDpiX() const override;
    double logicalDpiY() const override;
};

} // namespace vk
