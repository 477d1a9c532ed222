#include "grid/cellstyle.h"

namespace vk {

QColor toQColor(ColorRef colour)
{
    const Rgb rgb = fromColorRef(colour);
    return QColor(rgb.r, rgb.g, rgb.b);
}

Qt::Alignment toQtAlignment(int alignment)
{
    if (alignment < 0 || alignment > 8)
        alignment = kDefaultCellAlignment;
    Qt::Alignment a;
    switch (alignment / 3) {
    case 0: a = Qt::AlignLeft; break;
    case 1: a = Qt::AlignHCenter; break;
    default: a = Qt::AlignRight; break;
    }
    switch (alignment % 3) {
    case 0: a |= Qt::AlignTop; break;
    case 1: a |= Qt::AlignVCenter; break;
    default: a |= Qt::AlignBottom; break;
    }
    return a;
}

} // namespace vk
