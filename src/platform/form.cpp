#include "platform/form.h"

#include "platform/nativewindow.h"
#include "platform/rounding.h"
#include "platform/screenmetrics.h"

#include <QCloseEvent>
#include <QEvent>

namespace vk {

Form::Form(const QString &name, const ScreenMetrics &screen, Kind kind)
    : Surface(nullptr, kind == Kind::TopLevel ? Qt::Window | Qt::FramelessWindowHint : Qt::Widget)
    , m_name(name)
    , m_screen(screen)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    // Only a window of its own has a native window that can be lost.
    if (kind == Kind::TopLevel)
        NativeWindowWatcher::instance().watch(this);
}

QPoint Form::screenPosition() const
{
    const QWidget *top = window();
    const QPoint offset = top == this ? QPoint() : mapTo(top, QPoint(0, 0));
    return nativewindow::screenPosition(*top).value_or(top->pos()) + offset;
}

std::int32_t Form::twLeft() const
{
    return screenPosition().x() * m_screen.twipsPerPixelX();
}

std::int32_t Form::twTop() const
{
    return screenPosition().y() * m_screen.twipsPerPixelY();
}

std::int32_t Form::twWidth() const
{
    return width() * m_screen.twipsPerPixelX();
}

std::int32_t Form::twHeight() const
{
    return height() * m_screen.twipsPerPixelY();
}

void Form::moveTw(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    const double tx = m_screen.twipsPerPixelX();
    const double ty = m_screen.twipsPerPixelY();
    setGeometry(roundHalfEven(left / tx), roundHalfEven(top / ty), roundHalfEven(width / tx), roundHalfEven(height / ty));
}

void Form::showInside(QWidget *host, const QRect &area)
{
    if (host && parentWidget() != host) {
        setParent(host, Qt::Widget);
        if (m_hostWindow)
            m_hostWindow->removeEventFilter(this);
        m_hostWindow = host->window();
        m_hostWindow->installEventFilter(this);
    }
    setGeometry(area);
    show();
    raise();
    takeKeyboard();
    // Shown in a window that is active already: no activation would
    // follow, yet for the form this is its first one.
    if (window()->isActiveWindow())
        emit activated();
}

void Form::takeKeyboard()
{
    window()->activateWindow();
    if (!isWindow())
        setFocus(Qt::ActiveWindowFocusReason);
}

void Form::nativeWindowLost()
{
    closeFromOutside();
}

void Form::closeFromOutside()
{
    closeByProgram();
}

void Form::closeByProgram()
{
    m_closingByProgram = true;
    close();
    m_closingByProgram = false;
}

bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        const bool handled = Surface::event(event);
        emit activated();
        return handled;
    }
    return Surface::event(event);
}

void Form::changeEvent(QEvent *event)
{
    Surface::changeEvent(event);
    // Minimising and restoring count as a size change of the window.
    if (event->type() == QEvent::WindowStateChange)
        emit resized();
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    // The host window minimised or restored: for the form inside it, as for
    // a window of its own, a change of size.
    if (watched == m_hostWindow && event->type() == QEvent::WindowStateChange && !isWindow())
        emit resized();
    return Surface::eventFilter(watched, event);
}

void Form::closeEvent(QCloseEvent *event)
{
    if (!m_closingByProgram) {
        // The window manager asks (or someone outside the program). What
        // that means is the window's to say, once this event is over.
        event->ignore();
        QMetaObject::invokeMethod(this, &Form::closeFromOutside, Qt::QueuedConnection);
        return;
    }
    emit unloading();
    event->accept();
}

} // namespace vk
