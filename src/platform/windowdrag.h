#pragma once

#include <QPoint>

#include <optional>

class QWidget;

namespace vk {

// Moves a frameless top-level window by a drag on a part of it, as a
// title bar would: through the window system's own move where it offers
// one (the window manager then moves, snaps and constrains the window as
// it does every other), by the program itself where it does not (no
// window manager at all).
class WindowDrag
{
public:
    // The left button went down at `globalPos` on the part that moves `window`.
    void begin(QWidget &window, QPoint globalPos);
    // The pointer moved with the button held.
    void follow(QWidget &window, QPoint globalPos);
    // The button was released.
    void end() { m_grip.reset(); }

    bool movingByHand() const { return m_grip.has_value(); }

private:
    // Where the pointer holds the window, from its top-left corner, while
    // the program moves it itself.
    std::optional<QPoint> m_grip;
};

} // namespace vk
