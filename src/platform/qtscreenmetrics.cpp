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

QtScreenMetrics::QtScreenMetrics()
    : m_watch(std::make_unique<QObject>())
{
    if (!qGuiApp)
        return;
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, m_watch.get(), [this](QScreen *primary) {
        follow(primary);
        notifyChanged();
    });
    follow(QGuiApplication::primaryScreen());
}

QtScreenMetrics::~QtScreenMetrics() = default;

void QtScreenMetrics::follow(QScreen *screen)
{
    m_screenWatch = std::make_unique<QObject>();
    if (!screen)
        return;
    QObject::connect(screen, &QScreen::geometryChanged, m_screenWatch.get(), [this] { notifyChanged(); });
    QObject::connect(screen, &QScreen::availableGeometryChanged, m_screenWatch.get(), [this] { notifyChanged(); });
}

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
