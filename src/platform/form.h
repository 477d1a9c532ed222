#pragma once

#include "platform/movecontrol.h" // a form's code lays out its controls with it
#include "platform/surface.h"

#include <QPointer>
#include <QString>

#include <cstdint>

namespace vk {

class ScreenMetrics;

// A window of the program. Its position and size are spoken of in twips,
// its inside in pixels. Windows are created and loaded by the
// WindowRegistry; `load()` is the window's load event.
//
// A form is either a top-level window without a system frame, or a surface
// shown inside another window (see showInside()): to the user one window,
// with one task-bar entry, moving, minimising and stacking as one. A form
// inside keeps what a window has for its own code: its load and unload,
// its activation (whenever the window it stands in becomes active, and when
// it is shown in an active window), its resize and its focus.
class Form : public Surface
{
    Q_OBJECT
public:
    enum class Kind { TopLevel, Inside };

    Form(const QString &name, const ScreenMetrics &screen, Kind kind = Kind::TopLevel);

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

    // Whether the window the form stands in (its own, or the one it is
    // shown inside) is minimised.
    bool isMinimizedState() const { return window()->isMinimized(); }

    // The form's top-left corner on the screen, in pixels: asked of the
    // display server while its window is shown (a reparenting window
    // manager can leave Qt's cached position behind), else Qt's own.
    QPoint screenPosition() const;

    // Shows a form of the Inside kind over `area` (pixels) of `host`, above
    // everything else there, and gives it the keyboard. Showing it in the
    // active window is an activation, as showing a window of its own would
    // have been. Minimising and restoring the host's window count as a size
    // change of the form, as they do for a window.
    void showInside(QWidget *host, const QRect &area);
    // Gives the form the keyboard: its window is activated and, for a form
    // inside another window, the form takes the focus in it.
    void takeKeyboard();

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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_name;
    const ScreenMetrics &m_screen;
    bool m_closingByProgram = false;
    QPointer<QWidget> m_hostWindow; // watched for its minimised state while inside
};

} // namespace vk
