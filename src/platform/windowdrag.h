#pragma once

#include <QPoint>

#include <optional>

class QWidget;

namespace vk {

// Moves a frameless top-level window by a drag on a part of it, as a
// title bar would. Once the pointer has moved a little with the button
// held (a click moves nothing), the window system's own move takes over
// where it offers one: the window manager then moves, snaps and constrains
// the window as it does every other. Where it offers none (no window
// manager at all) the program moves the window itself.
class WindowDrag
{
public:
    // The left button went down at `globalPos` on the part that moves `window`.
    void begin(QPoint globalPos);
    // The pointer moved with the button held.
    void follow(QWidget &window, QPoint globalPos);
    // The button was released.
    void end();

private:
    enum class State { Idle, Pressed, ByHand };
    State m_state = State::Idle;
    QPoint m_pressedAt;
    // Where the pointer holds the window, from its top-left corner, while
    // the program moves it itself.
    QPoint m_grip;
};

} // namespace vk
