#pragma once

// The loose pictures: the verdicts on an answer (a tick, a brushed cross) and the row
// marker.

#include <QImage>

namespace vk::skingen {

QImage paintCorrect();
QImage paintWrong();
QImage paintMarker();

} // namespace vk::skingen
