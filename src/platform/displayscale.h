#pragma once

#include <QSize>

#include <optional>

namespace vk {

// The scale to run at on a screen of `physical` device pixels that the
// desktop's scaling shows at `ratio` device pixels per pixel of ours, so
// that `design` (in our pixels) fits on it: nothing when it fits already;
// else the largest quarter step below `ratio` at which it fits, never
// below 1. A screen too small even at 1 is left at its ratio: it is too
// small, whatever the scale, and says so itself.
std::optional<double> fittingScale(QSize physical, double ratio, QSize design);

// The screen's size in our pixels at `ratio`, as the window system rounds it.
QSize logicalScreenSize(QSize physical, double ratio);

} // namespace vk
