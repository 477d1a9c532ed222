#pragma once

#include "ui/main/dockedplacement.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vk {

class Form;
class ScreenMetrics;

// The top-left corner, in pixels, that centres a window of `windowSize`
// pixels in `workArea`; halves go to the even neighbour and a negative
// coordinate (a window larger than the work area) becomes 0.
QPoint workAreaPosition(QSize windowSize, QRect workArea);

// Centres the main window in the screen's work area, keeping its size (the
// stage inside it goes along).
void centerOnWorkArea(Form &main, const ScreenMetrics &screen);

} // namespace vk
