#include "painting.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageWriter>
#include <QPainterPathStroker>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vk::skingen {

namespace {

QString loadFont(const char *path)
{
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(path));
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        std::fprintf(stderr, "skingen: cannot load font %s\n", path);
        std::exit(2);
    }
    return families.first();
}

} // namespace

Fonts loadFonts()
{
    Fonts f;
    f.sansBold = loadFont("/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf");
    f.serifBoldItalic = loadFont("/usr/share/fonts/truetype/liberation2/LiberationSerif-BoldItalic.ttf");
    f.monoBold = loadFont("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf");
    f.tahoma = loadFont("/usr/share/wine/fonts/tahoma.ttf");
    f.tahomaBold = loadFont("/usr/share/wine/fonts/tahomabd.ttf");
    return f;
}

QFont makeFont(const QString &family, int pixelSize, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

namespace {
int g_scale = 1;
} // namespace

void setDrawingScale(int scale) { g_scale = scale; }
int drawingScale() { return g_scale; }

QImage newImage(int w, int h, const QColor &fill)
{
    QImage img(w * g_scale, h * g_scale, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(g_scale);
    img.fill(fill);
    return img;
}

QSize logicalSize(const QImage &img)
{
    return img.deviceIndependentSize().toSize();
}

void setArtPixel(QImage &img, int x, int y, QRgb colour)
{
    const int s = int(img.devicePixelRatio());
    for (int dy = 0; dy < s; ++dy)
        for (int dx = 0; dx < s; ++dx)
            img.setPixel(x * s + dx, y * s + dy, colour);
}

QRgb artPixel(const QImage &img, int x, int y)
{
    const int s = int(img.devicePixelRatio());
    return img.pixel(x * s, y * s);
}

namespace {

// Separable box blur of the alpha channel, three passes (close to a Gaussian).
// Integer arithmetic keeps it exact, so horizontally uniform input stays uniform.
QImage blurAlpha(const QImage &src, int radius)
{
    const int w = src.width();
    const int h = src.height();
    std::vector<int> a(std::size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        for (int x = 0; x < w; ++x)
            a[std::size_t(y) * w + x] = qAlpha(line[x]);
    }
    std::vector<int> tmp(a.size());
    const int span = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int xx = std::clamp(x + k, 0, w - 1);
                    sum += a[std::size_t(y) * w + xx];
                }
                tmp[std::size_t(y) * w + x] = (sum + span / 2) / span;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int yy = std::clamp(y + k, 0, h - 1);
                    sum += tmp[std::size_t(yy) * w + x];
                }
                a[std::size_t(y) * w + x] = (sum + span / 2) / span;
            }
    }
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgba(0, 0, 0, a[std::size_t(y) * w + x]);
    }
    return out;
}

} // namespace

QImage shadowLayer(const QSize &logical, const QPainterPath &shape, QPointF offset, int radius, const QColor &colour)
{
    // Blurred in the image's own pixels, as far as it reaches in the
    // artwork's.
    const QSize size = logical * g_scale;
    radius *= g_scale;
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(g_scale);
    mask.fill(Qt::transparent);
    {
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing);
        mp.translate(offset);
        mp.fillPath(shape, Qt::black);
    }
    const QImage blurred = blurAlpha(mask, radius);
    QImage tinted(size, QImage::Format_ARGB32_Premultiplied);
    tinted.setDevicePixelRatio(g_scale);
    for (int y = 0; y < size.height(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(blurred.constScanLine(y));
        QRgb *dst = reinterpret_cast<QRgb *>(tinted.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int alpha = qAlpha(src[x]) * colour.alpha() / 255;
            dst[x] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), alpha));
        }
    }
    return tinted;
}

void paintShadow(QPainter &p, const QSize &size, const QPainterPath &shape, QPointF offset, int radius,
                 const QColor &colour)
{
    p.drawImage(0, 0, shadowLayer(size, shape, offset, radius, colour));
}

QPainterPath strokeOutline(const QPainterPath &path, double width, Qt::PenCapStyle cap, Qt::PenJoinStyle join)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(path).simplified();
}

bool savePng(const QImage &img, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, "png");
    writer.setCompression(100); // Qt's scale: 100 is zlib's strongest level
    if (!writer.write(img)) {
        std::fprintf(stderr, "skingen: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), img.width(), img.height());
    return true;
}

} // namespace vk::skingen
