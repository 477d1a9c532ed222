#pragma once

#include <QRect>

#include <functional>

namespace vk {

// What the program asks of the screen: its size, the work area left by
// panels and docks, and the logical DPI behind the twips factors. Injected
// so that tests can stand on a 767-pixel screen.
class ScreenMetrics
{
public:
    virtual ~ScreenMetrics() = default;
    virtual QRect geometry() const = 0;          // pixels
    virtual QRect availableGeometry() const = 0; // the work area, pixels
    virtual double logicalDpiX() const = 0;
    virtual double logicalDpiY() const = 0;

    int twipsPerPixelX() const;
    int twipsPerPixelY() const;

    // Called after the screen's size or work area changed while the
    // program runs (a new resolution, a monitor unplugged, a panel added).
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

protected:
    void notifyChanged() const
    {
        if (m_changed)
            m_changed();
    }

private:
    std::function<void()> m_changed;
};

// A screen with fixed figures, for tests and benchmarks.
class FixedScreenMetrics final : public ScreenMetrics
{
public:
    explicit FixedScreenMetrics(QRect geometry, QRect available = {}, double dpi = 96.0)
        : m_geometry(geometry)
        , m_available(available.isNull() ? geometry : available)
        , m_dpi(dpi)
    {
    }
    QRect geometry() const override { return m_geometry; }
    QRect availableGeometry() const override { return m_available; }
    double logicalDpiX() const override { return m_dpi; }
    double logicalDpiY() const override { return m_dpi; }

    // The screen changes as a resolution change would change it.
    void change(QRect geometry, QRect available = {})
    {
        m_geometry = geometry;
        m_available = available.isNull() ? geometry : available;
        notifyChanged();
    }

private:
    QRect m_geometry;
    QRect m_available;
    double m_dpi;
};

} // namespace vk
