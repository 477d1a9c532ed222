#include "platform/form.h"

#include "platform/nativewindow.h"
#include "platform/rounding.h"
#include "platform/screenmetrics.h"

#include <QCloseEvent>
#include <QEvent>
#include <QWindow>

namespace vk {

Form::Form(const QString &name, const ScreenMetrics &screen, QWidget *owner)
    : Surface(owner, Qt::Window | Qt::FramelessWindowHint)
    , m_name(name)
    , m_screen(screen)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    NativeWindowWatcher::instance().watch(this);
}

QPoint Form::screenPosition() const
{
    return nativewindow::screenPosition(*this).value_or(pos());
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

void Form::showOwned(QWidget *owner)
{
    if (owner && parentWidget() != owner) {
        const QRect geometry = this->geometry();
        // A tool window of its owner: X11 window managers keep it above the
        // owner (it is transient for it) and out of the window lists.
        setParent(owner, (windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
        setGeometry(geometry);
    }
    if (owner && !isVisible()) {
        // The native window, made now so that it can be marked before it
        // is shown (winId() would make the owner's child widgets native).
        create();
        if (QWindow *handle = windowHandle())
            handle->setTransientParent(owner->window()->windowHandle());
        nativewindow::keepOutOfTaskbar(*this);
    }
    show();
    raise();
    activateWindow();
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
