#include "platform/windowdrag.h"

#include "platform/nativewindow.h"

#include <QApplication>
#include <QWidget>

namespace vk {

void WindowDrag::begin(QPoint globalPos)
{
    m_state = State::Pressed;
    m_pressedAt = globalPos;
}

void WindowDrag::follow(QWidget &window, QPoint globalPos)
{
    switch (m_state) {
    case State::Idle:
        return;
    case State::Pressed: {
        if ((globalPos - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        // The window manager's move starts from where the pointer is now
        // (the window stays the few pixels behind it that make a drag); it
        // has the pointer from here on, and this drag is over for us.
        if (nativewindow::startWindowManagerMove(window)) {
            m_state = State::Idle;
            return;
        }
        m_state = State::ByHand;
        m_grip = m_pressedAt - window.pos();
        [[fallthrough]];
    }
    case State::ByHand:
        window.move(globalPos - m_grip);
        return;
    }
}

void WindowDrag::end()
{
    m_state = State::Idle;
}

} // namespace vk
