#pragma once

class QWidget;

namespace vk {

// Moves a control to a real-valued place; half pixels go to the even neighbour.
void moveControl(QWidget &control, double left, double top, double width, double height);
void moveControl(QWidget &control, double left, double top);

} // namespace vk
