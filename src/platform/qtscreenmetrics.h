#pragma once

#include "platform/screenmetrics.h"

#include <QObject>

#include <memory>

class QScreen;

namespace vk {

// The primary screen as Qt reports it (logical pixels). Tells its change
// handler when that screen's size or work area changes, or another screen
// becomes the primary one.
class QtScreenMetrics final : public ScreenMetrics
{
public:
    QtScreenMetrics();
    ~QtScreenMetrics() override;

    QRect geometry() const override;
    QRect availableGeometry() const override;
    double logicalDpiX() const override;
    double logicalDpiY() const override;

private:
    void follow(QScreen *screen);

    // Owns the connections: they end with this object.
    std::unique_ptr<QObject> m_watch;
    std::unique_ptr<QObject> m_screenWatch;
};

} // namespace vk
