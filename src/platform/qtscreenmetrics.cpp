#include "platform/qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace vk {
namespace {
const QScreen *screen()
{
    return QGuiApplication::primaryScreen();
}
} // namespace

QRect QtScreenMetrics::geometry() const
{
    return screen() ? screen()->geometry() : QRect(0, 0, 1280, 800);
}

QRect QtScreenMetrics::availableGeometry() const
{
    return screen() ? screen()->availableGeometry() : geometry();
}

double QtScreenMetrics::logicalDpiX() const
{
    return screen() ? screen()->logicalDotsPerInchX() : 96.0;
}

double QtScreenMetrics::logicalDpiY() const
{
    return screen() ? screen()->logicalDotsPerInchY() : 96.0;
}

} // namespace vk
