#pragma once

// Drawing primitives every picture of skingen is made with: fonts from fixed files,
// colour arithmetic, a repeatable random source, soft shadows, stroked outlines and
// PNG output.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vk::skingen {

// Fonts: loaded from fixed files so the output does not depend on fontconfig's mood.
struct Fonts {
    QString sansBold;
    QString serifBoldItalic;
    QString monoBold;
    QString tahoma;
    QString tahomaBold;
};

// Exits the program if a font file is missing: the artwork would come out different.
Fonts loadFonts();
QFont makeFont(const QString &family, int pixelSize, bool bold = false, bool italic = false);

// A colour with fractional channels, for blending.
struct Rgbf {
    double r = 0, g = 0, b = 0;
};

inline Rgbf toRgbf(const QColor &c) { return {double(c.red()), double(c.green()), double(c.blue())}; }

inline Rgbf lerp(const Rgbf &a, const Rgbf &b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline QRgb toRgb(const Rgbf &c)
{
    auto ch = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return qRgb(ch(c.r), ch(c.g), ch(c.b));
}

// The scale everything is drawn at: 1 for the artwork at 100 %, 2 for the
// same artwork at twice the size. Coordinates stay those of the 100 %
// artwork; images made here carry the scale as their device pixel ratio,
// so painting into them lands on their finer pixels.
void setDrawingScale(int scale);
int drawingScale();

// A premultiplied ARGB image of w x h (of the 100 % artwork's pixels) at
// the drawing scale, filled with `fill`.
QImage newImage(int w, int h, const QColor &fill);
// An image's size in the 100 % artwork's pixels.
QSize logicalSize(const QImage &img);
// Exact pixels: the pixel (x, y) of the 100 % artwork, set as a block of
// the image's own pixels, and read from its top-left one.
void setArtPixel(QImage &img, int x, int y, QRgb colour);
QRgb artPixel(const QImage &img, int x, int y);

// Fixed-seed generator for the brush texture; same numbers on every run and machine.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    double next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / double(1u << 24);
    }
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    std::uint32_t state_;
};

// A soft shadow of `shape` (filled), as a layer the caller may mask before use.
QImage shadowLayer(const QSize &size, const QPainterPath &shape, QPointF offset, int radius, const QColor &colour);
// The same shadow laid straight onto p.
void paintShadow(QPainter &p, const QSize &size, const QPainterPath &shape, QPointF offset, int radius,
                 const QColor &colour);

// The filled outline of `path` stroked with the given pen width, cap and join.
QPainterPath strokeOutline(const QPainterPath &path, double width, Qt::PenCapStyle cap = Qt::RoundCap,
                           Qt::PenJoinStyle join = Qt::RoundJoin);

// Writes img as a PNG, creating its folder, and says so on stdout.
bool savePng(const QImage &img, const QString &path);

} // namespace vk::skingen
