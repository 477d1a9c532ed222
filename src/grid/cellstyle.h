#pragma once

#include "platform/colorref.h"

#include <QColor>
#include <qnamespace.h>

namespace vk {

// Left, centred vertically: what a column shows until told otherwise.
constexpr int kDefaultCellAlignment = 1;

QColor toQColor(ColorRef colour);

// The grid's alignment numbers, 0 left-top ... 4 centre-centre ... 8
// right-bottom, as Qt flags. Numbers outside 0..8 give the default.
Qt::Alignment toQtAlignment(int alignment);

} // namespace vk
