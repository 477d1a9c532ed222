#pragma once

#include "platform/movecontrol.h" // a form's code lays out its controls with it
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
    // The screen's size or work area changed under the running program. A
    // window that covers the screen follows it here; most windows follow
    // the main window instead.
    virtual void screenChanged() {}

    // Position and size in twips. The position is where the window really
    // stands on the screen once it is shown (see screenPosition()).
    std::int32_t twLeft() const;
    std::int32_t twTop() const;
    std::int32_t twWidth() const;
    std::int32_t twHeight() const;
    // Moves and sizes the window; twips are turned into whole pixels.
    void moveTw(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    double scaleWidth() const { return width(); }
    double scaleHeight() const { return height(); }

    bool isMinimizedState() const { return isMinimized(); }

    // The window's top-left corner on the screen, in pixels: asked of the
    // display server while the window is shown (a reparenting window
    // manager can leave Qt's cached position behind), else Qt's own.
    QPoint screenPosition() const;

    // Shows the window without blocking, owned by `owner`: kept above it by
    // the window manager, without a task-bar entry of its own, and given
    // the keyboard.
    void showOwned(QWidget *owner);

    // The native window was destroyed from outside the program. Handled as
    // a close asked for by the window manager.
    void nativeWindowLost();

    // Closes the window as the program's own unloading does (the registry
    // calls it): the unloading signal, then the close. Any other close
    // (the window manager's, a bare QWidget::close()) is a close from
    // outside.
    void closeByProgram();

protected:
    // A close asked for from outside the program: the window manager's
    // close (Alt+F4, a close button of a panel) or the native window torn
    // down. Runs after the request's event has been handled. Unloads the
    // window unless a window overrides it.
    virtual void closeFromOutside();

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
    bool m_closingByProgram = false;
};

} // namespace vk
