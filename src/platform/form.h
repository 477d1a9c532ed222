#pragma once

#include "platform/surface.h"

#include <QString>

#include <cstdint>

namespace vk {

class ScreenMetrics;

// A top-level window without a system frame. Its position and size are
// spoken of in twips, its inside in pixels. Windows are created and loaded
// by the WindowRegistry; `load()` is the window's load event.
class Form : public Surface
{
    Q_OBJECT
public:
    Form(const QString &name, const ScreenMetrics &screen, QWidget *owner = nullptr);

    const QString &name() const { return m_name; }
    const ScreenMetrics &screen() const { return m_screen; }

    // Runs once, right after creation, before anything else refers to the window.
    virtual void load() {}

    std::int32_t twLeft() const;
    std::int32_t twTop() const;
    std::int32_t twWidth() const;
    std::int32_t twHeight() const;
    // Moves and sizes the window; twips are turned into whole pixels.
    void moveTw(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    double scaleWidth() const { return width(); }
    double scaleHeight() const { return height(); }

    bool isMinimizedState() const { return isMinimized(); }

    // Shows the window without blocking, kept above `owner`.
    void showOwned(QWidget *owner);

signals:
    void activated();
    void unloading();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QString m_name;
    const ScreenMetrics &m_screen;
};

} // namespace vk
