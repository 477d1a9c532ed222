#include "icon.h"

#include "painting.h"

#include <QPainterPath>

namespace vk::skingen {

QImage paintIcon(int px)
{
    QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = px;
    const double inset = s * 0.22;
    const double stroke = s * 0.135;
    QPainterPath cross;
    cross.moveTo(inset, inset);
    cross.lineTo(s - inset, s - inset);
    cross.moveTo(s - inset, inset);
    cross.lineTo(inset, s - inset);
    p.fillPath(strokeOutline(cross, stroke, Qt::FlatCap, Qt::MiterJoin), Qt::black);
    return img;
}

// At 16 px anti-aliasing turns the cross into a blur, so it is set pixel by pixel:
// two-pixel diagonals with a light grey shadow to the lower right.
QImage paintSmallIcon()
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    auto ink = [](int x, int y) {
        if (x < 3 || x > 12 || y < 3 || y > 12)
            return false;
        const int d = x - y;
        const int a = x + y;
        return d == 0 || d == 1 || a == 14 || a == 15; // mirror images
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (ink(x, y))
                img.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (x > 0 && y > 0 && ink(x - 1, y - 1))
                img.setPixel(x, y, qRgba(192, 192, 192, 255));
        }
    return img;
}

} // namespace vk::skingen
