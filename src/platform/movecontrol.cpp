#include "platform/movecontrol.h"

#include "platform/rounding.h"

#include <QWidget>

namespace vk {

void moveControl(QWidget &control, double left, double top, double width, double height)
{
    control.setGeometry(roundHalfEven(left), roundHalfEven(top), roundHalfEven(width), roundHalfEven(height));
}

void moveControl(QWidget &control, double left, double top)
{
    control.move(roundHalfEven(left), roundHalfEven(top));
}

} // namespace vk
