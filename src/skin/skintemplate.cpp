#include "skin/skintemplate.h"

#include <QIcon>

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

SkinTemplate::SkinTemplate()
    : SkinTemplate(loadPicture(":/skin/template.png"))
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
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/vendrakul.png"));
    icon.addFile(QStringLiteral(":/icons/vendrakul-16.png"));
    return icon;
}

} // namespace vk
