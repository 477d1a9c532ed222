#pragma once

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QSize>

namespace vk {

// The one skin template every skinned surface is copied from. Held by the
// application and handed to the windows by reference.
class SkinTemplate
{
public:
    SkinTemplate();                       // the template built into the program
    explicit SkinTemplate(QImage image, QImage image2x = {}); // any other pictures, for tests

    const QImage &image() const { return m_image; }
    // The template for kept images of `scale` (1 or 2, Surface::imageScale()):
    // the one drawn at twice the size for 2 where there is one, else the
    // one at 100 %, which is then shown larger.
    const QImage &image(int scale) const { return scale == 2 && !m_image2x.isNull() ? m_image2x : m_image; }
    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isNull() const { return m_image.isNull(); }

private:
    QImage m_image; // 32-bit, so copies out of it are plain row copies
    QImage m_image2x; // the same at twice the size, device pixel ratio 2; may be null
};

// The other pictures built into the program, for kept images of `scale`.
QImage correctPicture(int scale = 1);
QImage wrongPicture(int scale = 1);
QImage markerPicture(int scale = 1);
QIcon programIcon();

} // namespace vk
