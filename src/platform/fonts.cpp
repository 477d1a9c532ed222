#include "platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vk {

bool registerFonts()
{
    static const bool registered = [] {
        bool any = false;
        for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            any = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 || any;
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
