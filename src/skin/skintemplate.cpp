#include "skin/skintemplate.h"

#include <QIcon>

#include <cstring>

static void initResources()
{
    // The resources live in a static library; make sure they are linked in.
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace vk {
namespace {
// The picture at 100 %, or the one drawn at twice its size for a scale of
// 2 ("name@2x.png", device pixel ratio 2) where there is one.
QImage loadPicture(const char *name, int scale)
{
    initResources();
    if (scale == 2) {
        QImage large(QStringLiteral(":/pictures/%1@2x.png").arg(QLatin1String(name)));
        if (!large.isNull()) {
            large = large.convertToFormat(QImage::Format_RGB32);
            large.setDevicePixelRatio(2);
            return large;
        }
    }
    return QImage(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name))).convertToFormat(QImage::Format_RGB32);
}
} // namespace

// The template linked into the program as raw pixels: "VKRAW1", width,
// height, then 32-bit rows. Used in place, never decoded or copied.
extern "C" const unsigned char vk_rawTemplate[];
extern "C" const unsigned char vk_rawTemplateEnd[];
extern "C" const unsigned char vk_rawTemplate2x[];
extern "C" const unsigned char vk_rawTemplate2xEnd[];

// Pages of the one not used are never touched.
static QImage embeddedTemplate(const unsigned char *p, const unsigned char *end, int devicePixelRatio)
{
    const std::size_t size = static_cast<std::size_t>(end - p);
    const auto le32 = [p](int at) {
        return static_cast<quint32>(p[at]) | static_cast<quint32>(p[at + 1]) << 8 | static_cast<quint32>(p[at + 2]) << 16
               | static_cast<quint32>(p[at + 3]) << 24;
    };
    if (size < 16 || std::memcmp(p, "VKRAW1", 6) != 0)
        return {};
    const quint32 w = le32(8);
    const quint32 h = le32(12);
    if (w == 0 || h == 0 || w > 16384 || h > 16384 || size != 16 + std::size_t(w) * h * 4)
        return {};
    QImage image(p + 16, static_cast<int>(w), static_cast<int>(h), static_cast<qsizetype>(w) * 4, QImage::Format_RGB32);
    // Set while the image is the only one on its pixels: later it would copy them.
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

SkinTemplate::SkinTemplate()
    : SkinTemplate(embeddedTemplate(vk_rawTemplate, vk_rawTemplateEnd, 1),
                   embeddedTemplate(vk_rawTemplate2x, vk_rawTemplate2xEnd, 2))
{
}

SkinTemplate::SkinTemplate(QImage image, QImage image2x)
    : m_image(image.convertToFormat(QImage::Format_RGB32))
{
    if (image2x.isNull())
        return;
    if (image2x.devicePixelRatio() != 2)
        image2x.setDevicePixelRatio(2);
    m_image2x = image2x.convertToFormat(QImage::Format_RGB32);
}

QImage correctPicture(int scale)
{
    return loadPicture("correct", scale);
}

QImage wrongPicture(int scale)
{
    return loadPicture("wrong", scale);
}

QImage markerPicture(int scale)
{
    return loadPicture("marker", scale);
}

QIcon programIcon()
{
    initResources();
    // With their sizes given the files are read only when a size is asked
    // for, not while the main window is being built.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/vendrakul.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/vendrakul-16.png"), QSize(16, 16));
    return icon;
}

} // namespace vk
