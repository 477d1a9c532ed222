#pragma once

// The program's icon: a black multiplication cross on a transparent square.

#include <QImage>

namespace vk::skingen {

// Anti-aliased, at any size.
QImage paintIcon(int px);
// The 16-pixel version, set pixel by pixel.
QImage paintSmallIcon();

} // namespace vk::skingen
