#include "platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vk {

bool registerFonts()
{
    static const bool registered = [] {
        // Only the regular face: Wine's bold Tahoma draws with the regular
        // face's ink, just spaced wider, so bold Tahoma would not look bold.
        // Without a bold face Qt emboldens the regular one.
        const bool any = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) >= 0;
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
        return any;
    }();
    return registered;
}

QFont makeFont(const QString &face, double pointSize, bool bold, bool underline)
{
    registerFonts();
    QFont font(face);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace vk
