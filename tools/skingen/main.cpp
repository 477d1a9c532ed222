// skingen: draws Vendrakul's artwork (skin template, feedback pictures, marker, icons),
// the template and the pictures also at twice the size for scaled screens.
//
// Everything is computed from code and a few fonts that ship with Debian, so the PNGs
// under resources/ can be rebuilt byte for byte: no randomness except a fixed-seed
// generator, no clock, no system font lookup.
//
//   skingen --out RESOURCES_DIR
//   skingen --preview OUT_DIR [--resources RESOURCES_DIR]
//
// The preview mode re-reads the written template and assembles the windows the way
// the program does, so seams between tiled pieces show up before anyone runs the app.
//
// Where things are: painting.* holds the drawing primitives, frame.* the bevelled
// window frame, brand.* the emblem, logo and slogan, pieces.h with windowheader.cpp
// and controls.cpp the other template pieces, pictures.* and icon.* the loose
// pictures, sheet.* the whole template and preview.* the window mock-ups. Piece
// places come from the program's src/skin/templatemap.h, named colours from
// src/skin/palette.h.

#include "icon.h"
#include "painting.h"
#include "pictures.h"
#include "preview.h"
#include "sheet.h"

#include <QGuiApplication>

#include <cstdio>

namespace vk::skingen {
namespace {

int writeResources(const QString &dir, const Fonts &fonts)
{
    bool ok = true;
    // The artwork the program copies pieces of, at 100 % and at twice the
    // size for scaled screens ("@2x", Qt's name for it).
    for (const int scale : {1, 2}) {
        setDrawingScale(scale);
        const QString at = scale == 1 ? QString() : QStringLiteral("@2x");
        ok &= savePng(paintTemplate(fonts), dir + "/skin/template" + at + ".png");
        ok &= savePng(paintCorrect().convertToFormat(QImage::Format_RGB888), dir + "/pictures/correct" + at + ".png");
        ok &= savePng(paintWrong().convertToFormat(QImage::Format_RGB888), dir + "/pictures/wrong" + at + ".png");
        ok &= savePng(paintMarker().convertToFormat(QImage::Format_RGB888), dir + "/pictures/marker" + at + ".png");
    }
    setDrawingScale(1);
    ok &= savePng(paintIcon(32).convertToFormat(QImage::Format_ARGB32), dir + "/icons/vendrakul.png");
    ok &= savePng(paintSmallIcon(), dir + "/icons/vendrakul-16.png");
    ok &= savePng(paintIcon(256).convertToFormat(QImage::Format_ARGB32), dir + "/icons/vendrakul-256.png");
    return ok ? 0 : 1;
}

} // namespace
} // namespace vk::skingen

int main(int argc, char **argv)
{
    using namespace vk::skingen;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();

    QString out;
    QString preview;
    QString resources = QStringLiteral("resources");
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == "--out" && i + 1 < args.size())
            out = args.at(++i);
        else if (a == "--preview" && i + 1 < args.size())
            preview = args.at(++i);
        else if (a == "--resources" && i + 1 < args.size())
            resources = args.at(++i);
        else {
            std::fprintf(stderr, "usage: skingen --out RESOURCES_DIR | --preview DIR [--resources RESOURCES_DIR]\n");
            return 2;
        }
    }
    if (out.isEmpty() && preview.isEmpty()) {
        std::fprintf(stderr, "usage: skingen --out RESOURCES_DIR | --preview DIR [--resources RESOURCES_DIR]\n");
        return 2;
    }
    const Fonts fonts = loadFonts();
    if (!out.isEmpty()) {
        if (const int rc = writeResources(out, fonts); rc != 0)
            return rc;
        resources = out;
    }
    if (!preview.isEmpty())
        return writePreviews(resources, preview, fonts);
    return 0;
}
