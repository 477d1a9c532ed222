#include "platform/form.h"

#include "platform/rounding.h"
#include "platform/screenmetrics.h"

#include <QCloseEvent>
#include <QEvent>

namespace vk {

Form::Form(const QString &name, const ScreenMetrics &screen, QWidget *owner)
    : Surface(owner, Qt::Window | Qt::FramelessWindowHint)
    , m_name(name)
    , m_screen(screen)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
}

std::int32_t Form::twLeft() const
{
    return x() * m_screen.twipsPerPixelX();
}

std::int32_t Form::twTop() const
{
    return y() * m_screen.twipsPerPixelY();
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
        setParent(owner, windowFlags() | Qt::Window);
        setGeometry(geometry);
    }
    show();
    raise();
    activateWindow();
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
    emit unloading();
    event->accept();
}

} // namespace vk
