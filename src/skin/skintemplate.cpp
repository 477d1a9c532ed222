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
QImage loadPicture(const char *path)
{
    initResources();
    return QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_RGB32);
}
} // namespace

// The template linked into the program as raw pixels: "VKRAW1", width,
// height, then 32-bit rows. Used in place, never decoded or copied.
extern "C" const unsigned char vk_rawTemplate[];
extern "C" const unsigned char vk_rawTemplateEnd[];

static QImage embeddedTemplate()
{
    const unsigned char *p = vk_rawTemplate;
    const std::size_t size = static_cast<std::size_t>(vk_rawTemplateEnd - vk_rawTemplate);
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
    return QImage(p + 16, static_cast<int>(w), static_cast<int>(h), static_cast<qsizetype>(w) * 4, QImage::Format_RGB32);
}

SkinTemplate::SkinTemplate()
    : SkinTemplate(embeddedTemplate())
{
}

SkinTemplate::SkinTemplate(QImage image)
    : m_image(image.convertToFormat(QImage::Format_RGB32))
{
}

QImage correctPicture()
{
    return loadPicture(":/pictures/correct.png");
}

QImage wrongPicture()
{
    return loadPicture(":/pictures/wrong.png");
}

QImage markerPicture()
{
    return loadPicture(":/pictures/marker.png");
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
