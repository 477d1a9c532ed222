#pragma once

#include "ui/main/dockedplacement.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace vk {

class Form;
class ScreenMetrics;
class WindowRegistry;

// The top-left corner, in pixels, that centres a window of `windowSize`
// pixels in `workArea`; halves go to the even neighbour and a negative
// coordinate (a window larger than the work area) becomes 0.
QPoint workAreaPosition(QSize windowSize, QRect workArea);

// Centres the main window in the screen's work area, keeping its size, and
// docks every other open window except the backdrop below its top band.
void centerOnWorkArea(Form &main, const ScreenMetrics &screen, WindowRegistry &windows);

// The open windows that belong over the main window: all but the main
// window and the backdrop (in practice the exercise window).
QList<Form *> dockedWindows(const WindowRegistry &windows);

// Docks every such window below the top band of a main window standing at
// `main` (twips).
void dockWindows(const TwipsRect &main, const WindowRegistry &windows);

} // namespace vk
