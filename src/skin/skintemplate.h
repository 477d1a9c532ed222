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
    explicit SkinTemplate(QImage image);  // any other picture, for tests

    const QImage &image() const { return m_image; }
    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isNull() const { return m_image.isNull(); }

private:
    QImage m_image; // 32-bit, so copies out of it are plain row copies
};

// The other pictures built into the program.
QImage correctPicture();
QImage wrongPicture();
QImage markerPicture();
QIcon programIcon();

} // namespace vk
