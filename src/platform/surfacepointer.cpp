#include "platform/surface.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>

// The surface and the pointer: its shape, the mouse's events, the pointer's
// arrival, the focus.
namespace vk {

void Surface::setMousePointer(Pointer pointer)
{
    m_pointer = pointer;
    switch (pointer) {
    case Pointer::Default:
        unsetCursor();
        break;
    case Pointer::Arrow:
        setCursor(Qt::ArrowCursor);
        break;
    case Pointer::Custom:
        setCursor(Qt::PointingHandCursor);
        break;
    }
}

int Surface::buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

void Surface::mousePressEvent(QMouseEvent *event)
{
    m_pressedHere = true;
    emit mouseDown(buttonBits(event->buttons() | event->button()), event->position());
}

void Surface::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(buttonBits(event->buttons()), event->position());
}

void Surface::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressedHere;
    m_pressedHere = false;
    // A press released over the surface is a click; so is one anywhere
    // while the surface holds the mouse capture.
    if (wasPressed && (rect().contains(event->position().toPoint()) || QWidget::mouseGrabber() == this))
        emit clicked();
}

void Surface::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (m_enterCountsAsMove)
        emit mouseMoved(buttonBits(QGuiApplication::mouseButtons()), event->position());
}

void Surface::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    reportPointerArrival();
}

void Surface::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    reportPointerArrival();
}

void Surface::reportPointerArrival()
{
    if (!m_enterCountsAsMove || !isVisible())
        return;
    const QPoint global = QCursor::pos();
    if (QApplication::widgetAt(global) != this)
        return;
    emit mouseMoved(buttonBits(QGuiApplication::mouseButtons()), QPointF(mapFromGlobal(global)));
}

void Surface::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    emit gotFocus();
}

} // namespace vk
