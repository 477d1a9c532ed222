// skingen: draws Vendrakul's artwork (skin template, feedback pictures, marker, icons).
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

#include "skin/palette.h"
#include "skin/templatemap.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Where the pieces lie is the program's own template map; the generator paints each
// piece at the place the program copies it from.
namespace skin = vk::skin;

constexpr QSize kTemplateSize(1280, 800);

// Every named colour comes from the program's own palette: the program paints some
// of them right beside pieces copied out of the template, so they must match exactly.
namespace palette = vk::palette;

// ---------------------------------------------------------------------------------
// Fonts: loaded from fixed files so the output does not depend on fontconfig's mood.

struct Fonts {
    QString sansBold;
    QString serifBoldItalic;
    QString monoBold;
    QString tahoma;
    QString tahomaBold;
};

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

QFont makeFont(const QString &family, int pixelSize, bool bold = false, bool italic = false)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// ---------------------------------------------------------------------------------
// Small helpers.

struct Rgbf {
    double r = 0, g = 0, b = 0;
};

Rgbf toRgbf(const QColor &c) { return {double(c.red()), double(c.green()), double(c.blue())}; }

Rgbf lerp(const Rgbf &a, const Rgbf &b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

QRgb toRgb(const Rgbf &c)
{
    auto ch = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return qRgb(ch(c.r), ch(c.g), ch(c.b));
}

QImage newImage(int w, int h, const QColor &fill)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

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

// A soft shadow of `shape` (filled), as a layer the caller may mask before use.
QImage shadowLayer(const QSize &size, const QPainterPath &shape, QPointF offset, int radius, const QColor &colour)
{
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing);
        mp.translate(offset);
        mp.fillPath(shape, Qt::black);
    }
    const QImage blurred = blurAlpha(mask, radius);
    QImage tinted(size, QImage::Format_ARGB32_Premultiplied);
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

QPainterPath strokeOutline(const QPainterPath &path, double width, Qt::PenCapStyle cap = Qt::RoundCap,
                           Qt::PenJoinStyle join = Qt::RoundJoin)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(path).simplified();
}

// ---------------------------------------------------------------------------------
// The window frame.
//
// The frame is described by a depth u: 0 on the outer edge, 1 where the body starts.
// Lines of equal depth are inset rounded rectangles, so the bevel bands run round the
// corners without a mitre, and every straight stretch depends on one coordinate only
// (which is what makes the border slices tile).

// The side and bottom borders are exactly as wide as the slices the program tiles.
constexpr double kSideWidth = skin::kLeftBorder.width();
constexpr double kBottomWidth = skin::bottomBand(kTemplateSize).height();
static_assert(skin::rightBorder(kTemplateSize).width() == skin::kLeftBorder.width());
constexpr double kTopHeight = 25.0;
constexpr double kOuterRadius = 14.0;
constexpr double kInnerRadius = 3.0;

struct FrameGeom {
    double width;
    double height;
};

bool insideInset(const FrameGeom &g, double px, double py, double u)
{
    const double l = kSideWidth * u;
    const double t = kTopHeight * u;
    const double r = g.width - kSideWidth * u;
    const double b = g.height - kBottomWidth * u;
    if (px < l || px > r || py < t || py > b)
        return false;
    const double rad = std::max(kOuterRadius - kSideWidth * u, kInnerRadius);
    double cx, cy;
    if (px < l + rad)
        cx = l + rad;
    else if (px > r - rad)
        cx = r - rad;
    else
        return true;
    if (py < t + rad)
        cy = t + rad;
    else if (py > b - rad)
        cy = b - rad;
    else
        return true;
    return std::hypot(px - cx, py - cy) <= rad;
}

// < 0 outside the window, >= 1 in the body, otherwise the bevel depth.
double frameDepth(const FrameGeom &g, double px, double py)
{
    if (!insideInset(g, px, py, 0.0))
        return -1.0;
    if (insideInset(g, px, py, 1.0))
        return 1.0;
    double lo = 0.0, hi = 1.0;
    for (int i = 0; i < 22; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (insideInset(g, px, py, mid))
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

Rgbf frameProfile(double u)
{
    struct Stop {
        double u;
        int r, g, b;
    };
    // Dark rim, a bright lip, a rounded blue tube, then a dark groove and a light
    // inner lip that sets the pale body off from the frame.
    static const Stop stops[] = {
        {0.000, 22, 46, 98},    {0.048, 22, 46, 98},    {0.052, 156, 196, 244},
        {0.100, 124, 170, 232}, {0.170, 88, 138, 212},  {0.550, 56, 106, 186},
        {0.780, 40, 90, 170},   {0.858, 34, 78, 154},   {0.862, 24, 56, 120},
        {0.944, 24, 56, 120},   {0.948, 228, 237, 250}, {1.000, 228, 237, 250},
    };
    const int n = int(std::size(stops));
    if (u <= stops[0].u)
        return {double(stops[0].r), double(stops[0].g), double(stops[0].b)};
    for (int i = 1; i < n; ++i) {
        if (u <= stops[i].u) {
            const Stop &a = stops[i - 1];
            const Stop &b = stops[i];
            const double t = (u - a.u) / (b.u - a.u);
            return lerp({double(a.r), double(a.g), double(a.b)}, {double(b.r), double(b.g), double(b.b)}, t);
        }
    }
    return {double(stops[n - 1].r), double(stops[n - 1].g), double(stops[n - 1].b)};
}

// Draws the frame of a window of size g, whose origin is at (ox, oy) in img, over the
// pixels of `area`. Body pixels keep what is already there, so the body content is
// painted first and the frame laid over it.
void overlayFrame(QImage &img, int ox, int oy, const FrameGeom &g, const QRect &area)
{
    constexpr int kSub = 4;
    const QRect clipped = area.intersected(img.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const double wx = x - ox;
            const double wy = y - oy;
            // The body is convex: a pixel whose four corners lie in it is body throughout.
            if (insideInset(g, wx, wy, 1.0) && insideInset(g, wx + 1, wy, 1.0) &&
                insideInset(g, wx, wy + 1, 1.0) && insideInset(g, wx + 1, wy + 1, 1.0))
                continue;
            const Rgbf existing{double(qRed(line[x])), double(qGreen(line[x])), double(qBlue(line[x]))};
            Rgbf sum;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const double u = frameDepth(g, wx + (sx + 0.5) / kSub, wy + (sy + 0.5) / kSub);
                    Rgbf c;
                    if (u < 0)
                        c = toRgbf(palette::kOutsideCorner);
                    else if (u >= 1.0)
                        c = existing;
                    else
                        c = frameProfile(u);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            constexpr double n = kSub * kSub;
            line[x] = toRgb({sum.r / n, sum.g / n, sum.b / n});
        }
    }
}

// ---------------------------------------------------------------------------------
// Emblem: a glossy blue disc with a white multiplication cross. Used large in the
// start-screen logo and small in the header.

void paintEmblem(QPainter &p, QPointF centre, double radius, const QSize &canvas, bool withShadow)
{
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    if (withShadow)
        paintShadow(p, canvas, disc, QPointF(radius * 0.04, radius * 0.10), std::max(1, int(radius / 12)),
                    QColor(20, 40, 90, 110));

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Rim.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 44, 100));
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(236, 243, 252));
    p.drawEllipse(centre, radius * 0.94, radius * 0.94);

    const double inner = radius * 0.86;
    QRadialGradient body(centre + QPointF(-inner * 0.35, -inner * 0.45), inner * 1.5);
    body.setColorAt(0.0, QColor(120, 172, 238));
    body.setColorAt(0.55, QColor(46, 100, 186));
    body.setColorAt(1.0, QColor(18, 48, 118));
    p.setBrush(body);
    p.drawEllipse(centre, inner, inner);

    // The cross, with a faint shadow so it sits on the disc rather than on top of it.
    const double arm = inner * 0.50;
    const double stroke = inner * 0.26;
    QPainterPath cross;
    cross.moveTo(centre + QPointF(-arm, -arm));
    cross.lineTo(centre + QPointF(arm, arm));
    cross.moveTo(centre + QPointF(arm, -arm));
    cross.lineTo(centre + QPointF(-arm, arm));
    const QPainterPath crossShape = strokeOutline(cross, stroke, Qt::FlatCap, Qt::MiterJoin);
    p.setBrush(QColor(10, 28, 70, 90));
    p.drawPath(crossShape.translated(inner * 0.03, inner * 0.07));
    QLinearGradient crossFill(centre + QPointF(0, -arm), centre + QPointF(0, arm));
    crossFill.setColorAt(0.0, QColor(255, 255, 255));
    crossFill.setColorAt(1.0, QColor(214, 228, 248));
    p.setBrush(crossFill);
    p.drawPath(crossShape);

    // Gloss over the upper half.
    QPainterPath gloss;
    gloss.addEllipse(QRectF(centre.x() - inner * 0.78, centre.y() - inner * 0.92, inner * 1.56, inner * 1.05));
    QLinearGradient glossFill(centre + QPointF(0, -inner), centre + QPointF(0, inner * 0.15));
    glossFill.setColorAt(0.0, QColor(255, 255, 255, 150));
    glossFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(glossFill);
    p.drawPath(gloss);
    p.restore();
}

// ---------------------------------------------------------------------------------
// The header ("stage look" top of the main window, and the top of the exercise window).
//
// Laid out as a small window reaching from the header block to the right end piece
// (257 px: block 0..194, a plain stretch, right end 227..256). Rows 0..24 are the
// frame's top band, 25..59 the light strip, the rest body.

constexpr QRect kStageArea(skin::kStageHeaderBlock.topLeft(), skin::kStageHeaderEnd.bottomRight());
constexpr int kStageW = kStageArea.width();
constexpr int kStageH = kStageArea.height();
constexpr int kHeaderStripTop = 25;
constexpr int kHeaderDividerRow = 59; // dark dividing line

QImage paintStage(const Fonts &fonts)
{
    QImage img = newImage(kStageW, kStageH, palette::kWindowBody);
    {
        QPainter p(&img);
        // The strip is flat: the clock box the program paints over the tab is flat
        // header colour from the window top down, and must not stand out.
        p.fillRect(QRect(0, kHeaderStripTop, kStageW, kHeaderDividerRow - 1 - kHeaderStripTop),
                   palette::kHeaderStrip);
        p.fillRect(QRect(0, kHeaderDividerRow - 1, kStageW, 1), palette::kDividerLight);
        p.fillRect(QRect(0, kHeaderDividerRow, kStageW, 1), palette::kDivider);

        // The logo pocket: the strip bulges down at the left and curves back up into
        // the dividing line, leaving room for the emblem.
        p.setRenderHint(QPainter::Antialiasing);
        const double bottom = 91.5;
        const double lineY = kHeaderDividerRow + 0.5;
        QPainterPath edge;
        edge.moveTo(0, bottom);
        edge.lineTo(112, bottom);
        edge.cubicTo(140, bottom, 146, lineY, 176, lineY);
        edge.lineTo(190, lineY);
        QPainterPath pocket = edge;
        pocket.lineTo(190, -20);
        pocket.lineTo(0, -20);
        pocket.closeSubpath();
        // Its shadow falls only under the bulge: faded out before the straight
        // divider, which has to stay identical to the tiled band slice.
        QImage shadow = shadowLayer(img.size(), pocket, QPointF(0, 1.5), 2, QColor(40, 70, 130, 80));
        {
            QPainter sp(&shadow);
            sp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            QLinearGradient fade(150, 0, 184, 0);
            fade.setColorAt(0.0, Qt::black);
            fade.setColorAt(1.0, Qt::transparent);
            sp.fillRect(shadow.rect(), fade);
        }
        p.drawImage(0, 0, shadow);
        p.setPen(Qt::NoPen);
        p.fillPath(pocket.intersected(QPainterPath([] {
                       QPainterPath r;
                       r.addRect(0, kHeaderStripTop, kStageW, kStageH);
                       return r;
                   }())),
                   palette::kHeaderStrip);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette::kDividerLight, 1.0));
        p.drawPath(edge.translated(0, -1));
        p.setPen(QPen(palette::kDivider, 1.0));
        p.drawPath(edge);

        // Rounded right end: the divider turns up into the right border.
        const double right = kStageW - kSideWidth - 0.5; // centre of the last body column
        const double radius = 8.0;
        QPainterPath cut;
        cut.moveTo(right - radius, lineY);
        cut.arcTo(QRectF(right - 2 * radius, lineY - 2 * radius, 2 * radius, 2 * radius), 270, 90);
        cut.lineTo(right + 4, lineY - radius);
        cut.lineTo(right + 4, lineY + 4);
        cut.lineTo(right - radius, lineY + 4);
        cut.closeSubpath();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(right - radius + 0.5, lineY - 1.5, radius + 4, 2), palette::kHeaderStrip);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.fillPath(cut, palette::kWindowBody);
        QPainterPath turn;
        turn.moveTo(right - radius - 2, lineY);
        turn.lineTo(right - radius, lineY);
        turn.arcTo(QRectF(right - 2 * radius, lineY - 2 * radius, 2 * radius, 2 * radius), 270, 90);
        QPainterPath softTurn;
        softTurn.moveTo(right - radius - 2, lineY - 1);
        softTurn.lineTo(right - radius, lineY - 1);
        softTurn.arcTo(QRectF(right - 2 * radius + 1, lineY - 2 * radius + 1, 2 * radius - 2, 2 * radius - 2), 270, 90);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette::kDividerLight, 1.0));
        p.drawPath(softTurn);
        p.setPen(QPen(palette::kDivider, 1.0));
        p.drawPath(turn);

        paintEmblem(p, QPointF(52, 57), 22, img.size(), true);

        // Product name beside the emblem, small, in two lines.
        p.setPen(palette::kNavy);
        p.setFont(makeFont(fonts.tahomaBold, 11));
        p.drawText(QRectF(80, 46, 110, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KELVARIS"));
        p.setPen(QColor(54, 92, 160));
        p.setFont(makeFont(fonts.tahoma, 10));
        p.drawText(QRectF(80, 60, 110, 13), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vendrakul"));
    }
    overlayFrame(img, 0, 0, FrameGeom{double(kStageW), 100000.0}, img.rect());
    return img;
}

// ---------------------------------------------------------------------------------
// The clock tab: hangs from the exercise window's header strip.
//
// Drawn 205 wide (left end 69, straight middle, right end 69). Its top nine rows repeat
// the strip's bottom rows (the tab sits 26 px below the window top, i.e. on strip rows
// 26..34), so the join cannot be seen.

constexpr QRect kTabArea(skin::kTabLeft.topLeft(), skin::kTabRight.bottomRight());
constexpr int kTabW = kTabArea.width();
constexpr int kTabH = kTabArea.height();
constexpr int kTabOutlineRow = 55;

void paintTab(QImage &img)
{
    QPainter p(&img);
    p.translate(kTabArea.topLeft());
    // Context: strip rows 26..34 of the exercise window, with body below.
    const int stripRows = (kHeaderDividerRow - kHeaderStripTop) - 26 + 1; // rows down to the divider
    const int dividerRow = stripRows - 1;                                  // 8
    const int margin = 10;
    p.fillRect(QRect(-margin, 0, kTabW + 2 * margin, dividerRow - 1), palette::kHeaderStrip);
    p.fillRect(QRect(-margin, dividerRow - 1, kTabW + 2 * margin, 1), palette::kDividerLight);
    p.fillRect(QRect(-margin, dividerRow, kTabW + 2 * margin, 1), palette::kDivider);
    p.fillRect(QRect(-margin, dividerRow + 1, kTabW + 2 * margin, kTabH - dividerRow - 1), palette::kWindowBody);

    p.setRenderHint(QPainter::Antialiasing);
    const double top = dividerRow + 0.5;
    const double low = kTabOutlineRow + 0.5;
    QPainterPath outline;
    outline.moveTo(-margin, top);
    outline.lineTo(4, top);
    outline.cubicTo(24, top, 22, low, 44, low);
    outline.lineTo(kTabW - 44, low);
    outline.cubicTo(kTabW - 22, low, kTabW - 24, top, kTabW - 4, top);
    outline.lineTo(kTabW + margin, top);

    QPainterPath fill = outline;
    fill.lineTo(kTabW + margin, 0);
    fill.lineTo(-margin, 0);
    fill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.fillPath(fill, palette::kHeaderStrip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::kDivider, 1.0));
    p.drawPath(outline);
}

// ---------------------------------------------------------------------------------
// Drawn push buttons: strips 180 x 50 from the left cap to the right cap, middle
// horizontally uniform.

constexpr QSize kButtonStripSize(skin::kButtonRightCapX + skin::kButtonRightCapWidth - skin::kButtonLeftCapX,
                                 skin::kButtonHeight);

struct ButtonLook {
    std::array<std::pair<double, QColor>, 4> stops;
    QColor outline;
    QColor glossTop;
};

QImage paintButtonStrip(const ButtonLook &look)
{
    const QSize size = kButtonStripSize;
    QImage img = newImage(size.width(), size.height(), palette::kWindowBody);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(2.0, 3.0, 176.0, 42.0);
    QPainterPath shape;
    shape.addRoundedRect(body, 12.0, 12.0);
    paintShadow(p, size, shape, QPointF(0.0, 2.0), 2, QColor(30, 50, 90, 95));

    QLinearGradient fill(0, body.top(), 0, body.bottom());
    for (const auto &[at, colour] : look.stops)
        fill.setColorAt(at, colour);
    p.setPen(QPen(look.outline, 1.2));
    p.setBrush(fill);
    p.drawPath(shape);

    // Gloss on the upper half and a crisp inner lip along the top.
    QPainterPath gloss;
    gloss.addRoundedRect(QRectF(5.0, 5.0, 170.0, 18.0), 9.0, 9.0);
    QLinearGradient glossFill(0, 5.0, 0, 23.0);
    glossFill.setColorAt(0.0, look.glossTop);
    glossFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glossFill);
    p.drawPath(gloss);
    QPainterPath lip;
    lip.addRoundedRect(body.adjusted(1.2, 1.2, -1.2, -1.2), 11.0, 11.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    p.drawPath(lip);
    return img;
}

// ---------------------------------------------------------------------------------
// The framed panel: exact pixels, no anti-aliasing; the program tiles its edges.

void paintPanel(QImage &img)
{
    const QRgb horizontal[4] = {qRgb(120, 121, 122), qRgb(194, 195, 197), qRgb(245, 246, 248),
                                qRgb(248, 249, 251)};
    const QRgb vertical[4] = {qRgb(155, 155, 157), qRgb(212, 214, 216), qRgb(243, 245, 247),
                              qRgb(244, 246, 248)};
    // One colour per line of the border, outermost first.
    static_assert(skin::kFrameTop.height() == 4 && skin::kFrameLeft.width() == 4);
    const QRect panel = skin::kFramePanel;
    for (int y = panel.top(); y <= panel.bottom(); ++y)
        for (int x = panel.left(); x <= panel.right(); ++x) {
            QRgb c = palette::kPanelBlue.rgb();
            if (x - panel.left() < 4)
                c = vertical[x - panel.left()];
            else if (x >= panel.right() - 3)
                c = vertical[x - (panel.right() - 3)];
            // The horizontal lines run through the corners.
            if (y - panel.top() < 4)
                c = horizontal[y - panel.top()];
            else if (y >= panel.bottom() - 3)
                c = horizontal[y - (panel.bottom() - 3)];
            img.setPixel(x, y, c);
        }
}

// ---------------------------------------------------------------------------------
// Window-control sprites: 17 x 15 cells, rows normal / hover / pressed.

constexpr int kCtlW = skin::kStripCellWidth;
constexpr int kCtlH = skin::kStripCellHeight;
constexpr int kCtlBandRow = 4; // where the strip sits on the top band

enum class Glyph { Backdrop, Minimise, Maximise, Restore, Close, MaximiseDisabled };

void paintGlyph(QPainter &p, Glyph glyph, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    switch (glyph) {
    case Glyph::Backdrop: {
        const QPointF up[3] = {{4.5, 6.6}, {8.5, 2.4}, {12.5, 6.6}};
        const QPointF down[3] = {{4.5, 8.4}, {8.5, 12.6}, {12.5, 8.4}};
        p.drawPolygon(up, 3);
        p.drawPolygon(down, 3);
        break;
    }
    case Glyph::Minimise:
        p.drawRect(QRectF(4.5, 9.5, 8.0, 2.5));
        break;
    case Glyph::Maximise:
    case Glyph::MaximiseDisabled: {
        QPainterPath frame;
        frame.addRect(QRectF(4.0, 3.0, 9.0, 9.0));
        frame.addRect(QRectF(5.3, 5.2, 6.4, 5.5));
        frame.setFillRule(Qt::OddEvenFill);
        p.drawPath(frame);
        break;
    }
    case Glyph::Restore: {
        QPainterPath back;
        back.addRect(QRectF(6.5, 2.5, 7.0, 6.5));
        back.addRect(QRectF(7.6, 4.2, 4.8, 3.7));
        back.setFillRule(Qt::OddEvenFill);
        p.drawPath(back);
        QPainterPath front;
        front.addRect(QRectF(3.5, 5.8, 7.0, 6.7));
        front.addRect(QRectF(4.6, 7.5, 4.8, 3.9));
        front.setFillRule(Qt::OddEvenFill);
        p.drawPath(front);
        break;
    }
    case Glyph::Close: {
        QPainterPath cross;
        cross.moveTo(4.8, 3.8);
        cross.lineTo(12.2, 11.2);
        cross.moveTo(12.2, 3.8);
        cross.lineTo(4.8, 11.2);
        p.drawPath(strokeOutline(cross, 2.0, Qt::FlatCap));
        break;
    }
    }
}

void paintControls(QImage &img)
{
    struct Cell {
        Glyph glyph;
        int left;
    };
    const Cell cells[] = {
        {Glyph::Backdrop, skin::kStripBackdropLeft}, {Glyph::Minimise, skin::kStripMinimiseLeft},
        {Glyph::Maximise, skin::kStripEnabledMaximiseLeft}, {Glyph::Restore, skin::kStripRestoreLeft},
        {Glyph::Close, skin::kStripCloseLeft}, {Glyph::MaximiseDisabled, skin::kStripMaximiseLeft},
    };
    const int rowTops[3] = {skin::kStripNormalTop, skin::kStripHoverTop, skin::kStripPressedTop};
    // Backgrounds are the top band itself, so the sprites sit on it without a seam.
    std::array<QRgb, kCtlH> band{};
    for (int k = 0; k < kCtlH; ++k)
        band[std::size_t(k)] = img.pixel(kTemplateSize.width() / 2, kCtlBandRow + k);

    for (int state = 0; state < 3; ++state)
        for (const Cell &cell : cells) {
            const int cx = cell.left;
            const int cy = rowTops[state];
            for (int k = 0; k < kCtlH; ++k)
                for (int x = 0; x < kCtlW; ++x)
                    img.setPixel(cx + x, cy + k, band[std::size_t(k)]);

            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.translate(cx, cy);
            const Glyph glyph = cell.glyph;
            const bool disabled = glyph == Glyph::MaximiseDisabled;
            const bool close = glyph == Glyph::Close;
            const QRectF face(0.5, 0.5, 16.0, 14.0);
            if (disabled) {
                paintGlyph(p, glyph, QColor(128, 150, 186));
                continue;
            }
            if (state == 0) {
                p.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
                p.setBrush(QColor(255, 255, 255, 18));
                p.drawRoundedRect(face, 3.0, 3.0);
            } else if (state == 1) {
                QLinearGradient g(0, 0, 0, kCtlH);
                g.setColorAt(0.0, close ? QColor(250, 150, 130, 235) : QColor(200, 225, 255, 200));
                g.setColorAt(1.0, close ? QColor(200, 50, 36, 235) : QColor(110, 160, 230, 170));
                p.setPen(QPen(QColor(255, 255, 255, 190), 1.0));
                p.setBrush(g);
                p.drawRoundedRect(face, 3.0, 3.0);
            } else {
                QLinearGradient g(0, 0, 0, kCtlH);
                g.setColorAt(0.0, close ? QColor(110, 20, 12, 235) : QColor(8, 24, 60, 210));
                g.setColorAt(1.0, close ? QColor(170, 40, 28, 235) : QColor(30, 64, 130, 190));
                p.setPen(QPen(QColor(10, 22, 50, 220), 1.0));
                p.setBrush(g);
                p.drawRoundedRect(face, 3.0, 3.0);
            }
            const QPointF press = state == 2 ? QPointF(0.0, 1.0) : QPointF(0.0, 0.0);
            p.translate(press + QPointF(0.6, 0.8));
            paintGlyph(p, glyph, QColor(8, 22, 56, state == 1 ? 120 : 160));
            p.translate(QPointF(-0.6, -0.8));
            paintGlyph(p, glyph, state == 2 ? QColor(206, 222, 250) : QColor(255, 255, 255));
        }
}

// ---------------------------------------------------------------------------------
// Start-screen logo and slogan.

// Schoolbook product of two decimal strings; the logo shows a real result.
std::string multiplyDecimal(const std::string &a, const std::string &b)
{
    std::vector<int> digits(a.size() + b.size(), 0);
    for (int i = int(a.size()) - 1; i >= 0; --i)
        for (int j = int(b.size()) - 1; j >= 0; --j) {
            const std::size_t pos = std::size_t(i + j + 1);
            const int sum = digits[pos] + (a[std::size_t(i)] - '0') * (b[std::size_t(j)] - '0');
            digits[pos] = sum % 10;
            digits[pos - 1] += sum / 10;
        }
    std::string out;
    for (int d : digits)
        if (!(out.empty() && d == 0))
            out.push_back(char('0' + d));
    return out.empty() ? "0" : out;
}

QString groupDigits(const std::string &digits, int group)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % group == 0)
            out += QChar(0x2009);
        out += QChar(digits[std::size_t(i)]);
    }
    return out;
}

QImage paintLogo(const Fonts &fonts)
{
    const QSize size = skin::kLargeLogo.size();
    QImage img = newImage(size.width(), size.height(), palette::kWindowBody);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // A soft light pool behind the picture; it reaches the plain body colour well
    // inside the edges so the logo melts into the window.
    {
        p.save();
        p.translate(217.5, 140.0);
        p.scale(1.72, 1.0);
        QRadialGradient pool(QPointF(0, 0), 118.0);
        pool.setColorAt(0.0, QColor(236, 243, 253));
        pool.setColorAt(0.6, QColor(218, 230, 246));
        pool.setColorAt(1.0, palette::kWindowBody);
        p.setPen(Qt::NoPen);
        p.setBrush(pool);
        p.drawEllipse(QPointF(0, 0), 118.0, 118.0);
        p.restore();
    }

    const std::string a = "73914028565019347286";
    const std::string b = "50827319466028175393";
    const QPointF emblemCentre(217.5, 78.0);
    const double emblemRadius = 50.0;

    // The two factors flank the cross, ten digits a line.
    const QFont mono = makeFont(fonts.monoBold, 17);
    p.setFont(mono);
    const QFontMetricsF fm(mono);
    auto drawNumber = [&](const std::string &digits, bool left) {
        const QString hi = QString::fromStdString(digits.substr(0, 10));
        const QString lo = QString::fromStdString(digits.substr(10));
        const double gap = 16.0;
        const double w = fm.horizontalAdvance(hi);
        const double x = left ? emblemCentre.x() - emblemRadius - gap - w : emblemCentre.x() + emblemRadius + gap;
        const double y1 = emblemCentre.y() - 6.0;
        const double y2 = emblemCentre.y() + 18.0;
        p.setPen(QColor(255, 255, 255, 200));
        p.drawText(QPointF(x + 1, y1 + 1), hi);
        p.drawText(QPointF(x + 1, y2 + 1), lo);
        p.setPen(QColor(30, 62, 124));
        p.drawText(QPointF(x, y1), hi);
        p.setPen(QColor(58, 96, 160));
        p.drawText(QPointF(x, y2), lo);
    };
    drawNumber(a, true);
    drawNumber(b, false);

    paintEmblem(p, emblemCentre, emblemRadius, size, true);

    // Rule under the factors, fading out at both ends: the line of a written sum.
    {
        QLinearGradient rule(40, 0, 395, 0);
        rule.setColorAt(0.0, QColor(30, 62, 124, 0));
        rule.setColorAt(0.2, QColor(30, 62, 124, 200));
        rule.setColorAt(0.8, QColor(30, 62, 124, 200));
        rule.setColorAt(1.0, QColor(30, 62, 124, 0));
        p.fillRect(QRectF(40, 146, 355, 2), rule);
        QLinearGradient under(40, 0, 395, 0);
        under.setColorAt(0.0, QColor(255, 255, 255, 0));
        under.setColorAt(0.5, QColor(255, 255, 255, 220));
        under.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(40, 148, 355, 1), under);
    }

    // "KELVARIS", letter-spaced, above the word mark.
    {
        QFont f = makeFont(fonts.sansBold, 15, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 7.0);
        p.setFont(f);
        p.setPen(QColor(62, 98, 160));
        const QString text = QStringLiteral("KELVARIS");
        const double w = QFontMetricsF(f).horizontalAdvance(text) - 7.0;
        p.drawText(QPointF(217.5 - w / 2.0, 174.0), text);
    }

    // Word mark: white-edged, gradient-filled, with a soft shadow.
    {
        QFont f = makeFont(fonts.sansBold, 60, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
        QPainterPath word;
        word.addText(0, 0, f, QStringLiteral("VENDRAKUL"));
        const QRectF box = word.boundingRect();
        word.translate(217.5 - box.center().x(), 234.0);
        const QRectF placed = word.boundingRect();
        paintShadow(p, size, word, QPointF(2.0, 3.0), 3, QColor(20, 40, 90, 120));
        p.setPen(QPen(QColor(255, 255, 255), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(word);
        QLinearGradient fill(0, placed.top(), 0, placed.bottom());
        fill.setColorAt(0.0, QColor(84, 138, 220));
        fill.setColorAt(0.48, QColor(36, 86, 176));
        fill.setColorAt(0.52, QColor(24, 66, 150));
        fill.setColorAt(1.0, QColor(14, 38, 96));
        p.setPen(QPen(QColor(12, 32, 80), 1.0));
        p.setBrush(fill);
        p.drawPath(word);
        // Sheen on the upper half of the letters.
        p.save();
        p.setClipPath(word);
        QLinearGradient sheen(0, placed.top(), 0, placed.center().y());
        sheen.setColorAt(0.0, QColor(255, 255, 255, 120));
        sheen.setColorAt(1.0, QColor(255, 255, 255, 10));
        p.fillRect(QRectF(placed.left(), placed.top(), placed.width(), placed.height() / 2.0), sheen);
        p.restore();
    }

    // The product, as the answer under the line.
    {
        const QFont f = makeFont(fonts.monoBold, 12);
        p.setFont(f);
        const QString text = QStringLiteral("= ") + groupDigits(multiplyDecimal(a, b), 5);
        const double w = QFontMetricsF(f).horizontalAdvance(text);
        p.setPen(QColor(255, 255, 255, 200));
        p.drawText(QPointF(217.5 - w / 2.0 + 1, 268.0 + 1), text);
        p.setPen(QColor(52, 88, 150));
        p.drawText(QPointF(217.5 - w / 2.0, 268.0), text);
    }
    return img;
}

QImage paintSlogan(const Fonts &fonts)
{
    const QSize size = skin::kSlogan.size();
    QImage img = newImage(size.width(), size.height(), palette::kWindowBody);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QString text = QStringLiteral("Multiply twenty digits in your head");
    QFont f = makeFont(fonts.serifBoldItalic, 25, true, true);
    QPainterPath path;
    path.addText(0, 0, f, text);
    QRectF box = path.boundingRect();
    path.translate(218.0 - box.center().x(), 22.5 - box.center().y());
    box = path.boundingRect();
    // A pale halo lifts the navy letters off the body colour.
    paintShadow(p, size, path, QPointF(0, 0), 2, QColor(255, 255, 255, 255));
    paintShadow(p, size, path, QPointF(1.0, 1.5), 1, QColor(20, 40, 90, 70));
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0.0, QColor(44, 92, 176));
    fill.setColorAt(1.0, QColor(18, 44, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    return img;
}

// ---------------------------------------------------------------------------------
// Feedback pictures, marker and icons.

QImage paintCorrect()
{
    const QSize size(150, 150);
    QImage img = newImage(size.width(), size.height(), palette::kPictureGround);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(30, 80);
    tick.lineTo(61, 112);
    tick.lineTo(122, 38);
    const QPainterPath body = strokeOutline(tick, 24.0);
    const QPainterPath edge = strokeOutline(tick, 29.0);
    paintShadow(p, size, edge, QPointF(4.0, 6.0), 4, QColor(30, 45, 70, 110));
    p.setPen(Qt::NoPen);
    p.fillPath(edge, Qt::white);
    QLinearGradient fill(0, 30, 0, 125);
    fill.setColorAt(0.0, QColor(124, 214, 92));
    fill.setColorAt(0.55, QColor(52, 162, 52));
    fill.setColorAt(1.0, QColor(22, 112, 36));
    p.fillPath(body, fill);
    // A narrow highlight along the upper side of both strokes.
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(QColor(255, 255, 255, 70), 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(-2.5, -5.5));
    p.restore();
    return img;
}

// One brush stroke along a gentle curve: swelling in the middle, tapering to ragged
// ends, with bristle streaks running along it.
void paintBrushStroke(QPainter &p, QPointF a, QPointF b, double bend, double width, Lcg &rng)
{
    const QPointF dir = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF normal(-dir.y(), dir.x());
    auto centre = [&](double t) {
        const double arc = std::sin(M_PI * t) * bend;
        return a + (b - a) * t + normal * arc;
    };
    auto halfWidth = [&](double t) {
        const double swell = std::sqrt(std::sin(M_PI * (0.02 + 0.96 * t)));
        // Pressed harder at the start, lifting off towards the end.
        return 0.5 * width * (0.62 + 0.38 * swell) * (1.06 - 0.12 * t);
    };
    constexpr int kSteps = 48;
    constexpr int kCap = 9;
    QPolygonF outline;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps;
        outline << centre(t) + normal * halfWidth(t);
    }
    // Rounded, slightly frayed ends.
    auto cap = [&](double t, QPointF out, double side) {
        for (int k = 1; k < kCap; ++k) {
            const double angle = M_PI * k / kCap;
            const double w = halfWidth(t);
            outline << centre(t) + normal * (side * w * std::cos(angle)) +
                           out * (w * 0.45 * std::sin(angle) + rng.range(-2.2, 2.2));
        }
    };
    cap(1.0, dir, 1.0);
    for (int i = kSteps; i >= 0; --i) {
        const double t = double(i) / kSteps;
        outline << centre(t) - normal * halfWidth(t);
    }
    cap(0.0, -dir, -1.0);
    QPainterPath shape;
    shape.addPolygon(outline);
    shape.closeSubpath();

    QLinearGradient fill(0, 25, 0, 128);
    fill.setColorAt(0.0, QColor(242, 84, 62));
    fill.setColorAt(0.5, QColor(212, 36, 30));
    fill.setColorAt(1.0, QColor(150, 16, 18));
    p.setPen(QPen(QColor(120, 10, 12, 160), 1.0));
    p.setBrush(fill);
    p.drawPath(shape);

    p.save();
    p.setClipPath(shape);
    for (int s = 0; s < 9; ++s) {
        const double offset = rng.range(-0.85, 0.85);
        const double t0 = rng.range(0.0, 0.25);
        const double t1 = rng.range(0.7, 1.0);
        const bool light = s % 3 == 0;
        QPainterPath streak;
        for (int i = 0; i <= 24; ++i) {
            const double t = t0 + (t1 - t0) * i / 24.0;
            const QPointF pt = centre(t) + normal * (offset * halfWidth(t));
            if (i == 0)
                streak.moveTo(pt);
            else
                streak.lineTo(pt);
        }
        const QColor c = light ? QColor(255, 170, 150, 70) : QColor(110, 0, 0, 60);
        p.setPen(QPen(c, rng.range(0.8, 2.0), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(streak);
    }
    p.restore();
}

QImage paintWrong()
{
    const QSize size(150, 150);
    QImage img = newImage(size.width(), size.height(), palette::kPictureGround);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Shadow first, from the bare stroke shapes.
    QPainterPath first;
    first.moveTo(32, 30);
    first.quadTo(80, 70, 120, 122);
    QPainterPath second;
    second.moveTo(118, 28);
    second.quadTo(70, 72, 34, 122);
    QPainterPath both = strokeOutline(first, 26.0);
    both.addPath(strokeOutline(second, 26.0));
    paintShadow(p, size, both, QPointF(4.0, 6.0), 4, QColor(30, 45, 70, 100));
    Lcg rng(0x5eed1234u);
    paintBrushStroke(p, QPointF(32, 30), QPointF(120, 122), -5.0, 30.0, rng);
    paintBrushStroke(p, QPointF(118, 28), QPointF(34, 122), 6.0, 30.0, rng);
    return img;
}

QImage paintMarker()
{
    const QSize size(20, 32);
    QImage img = newImage(size.width(), size.height(), palette::kMarkerYellow);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(4.2, 16.0);
    tick.lineTo(8.4, 20.8);
    tick.lineTo(15.8, 10.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 110, 20, 70), 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(0.7, 0.9));
    p.setPen(QPen(QColor(26, 140, 36), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return img;
}

QImage paintIcon(int px)
{
    QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = px;
    const double inset = s * 0.22;
    const double stroke = s * 0.135;
    QPainterPath cross;
    cross.moveTo(inset, inset);
    cross.lineTo(s - inset, s - inset);
    cross.moveTo(s - inset, inset);
    cross.lineTo(inset, s - inset);
    p.fillPath(strokeOutline(cross, stroke, Qt::FlatCap, Qt::MiterJoin), Qt::black);
    return img;
}

// At 16 px anti-aliasing turns the cross into a blur, so it is set pixel by pixel:
// two-pixel diagonals with a light grey shadow to the lower right.
QImage paintSmallIcon()
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    auto ink = [](int x, int y) {
        if (x < 3 || x > 12 || y < 3 || y > 12)
            return false;
        const int d = x - y;
        const int a = x + y;
        return d == 0 || d == 1 || a == 14 || a == 15; // mirror images
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (ink(x, y))
                img.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (x > 0 && y > 0 && ink(x - 1, y - 1))
                img.setPixel(x, y, qRgba(192, 192, 192, 255));
        }
    return img;
}

// ---------------------------------------------------------------------------------
// The whole template.

QImage paintTemplate(const Fonts &fonts)
{
    QImage img = newImage(kTemplateSize.width(), kTemplateSize.height(), palette::kWindowBody);

    // Frame of the sheet itself: corners, border slices and the top band all come
    // from here.
    overlayFrame(img, 0, 0, FrameGeom{double(kTemplateSize.width()), double(kTemplateSize.height())}, img.rect());

    {
        QPainter p(&img);
        p.drawImage(kStageArea.topLeft(), paintStage(fonts));
    }
    paintTab(img);
    paintControls(img);

    {
        QPainter p(&img);
        p.drawImage(skin::kLargeLogo.topLeft(), paintLogo(fonts));
        p.drawImage(skin::kSlogan.topLeft(), paintSlogan(fonts));

        const ButtonLook normal{{{{0.0, QColor(255, 255, 255)},
                                  {0.48, QColor(200, 218, 245)},
                                  {0.52, QColor(156, 188, 236)},
                                  {1.0, QColor(34, 78, 168)}}},
                                QColor(26, 58, 126),
                                QColor(255, 255, 255, 170)};
        const ButtonLook highlighted{{{{0.0, QColor(255, 255, 232)},
                                       {0.48, QColor(246, 242, 178)},
                                       {0.52, QColor(228, 224, 132)},
                                       {1.0, QColor(136, 132, 36)}}},
                                     QColor(104, 100, 28),
                                     QColor(255, 255, 255, 170)};
        const ButtonLook pressed{{{{0.0, QColor(88, 184, 76)},
                                   {0.45, QColor(164, 222, 150)},
                                   {0.55, QColor(196, 236, 186)},
                                   {1.0, QColor(255, 255, 255)}}},
                                 QColor(62, 130, 56),
                                 QColor(255, 255, 255, 90)};
        p.drawImage(skin::kButtonLeftCapX, skin::kButtonNormalTop, paintButtonStrip(normal));
        p.drawImage(skin::kButtonLeftCapX, skin::kButtonHoverTop, paintButtonStrip(highlighted));
        p.drawImage(skin::kButtonLeftCapX, skin::kButtonPressedTop, paintButtonStrip(pressed));

        // A small gallery of the loose pictures, so the sheet shows the whole set.
        p.drawImage(760, 330, paintCorrect());
        p.drawImage(930, 330, paintWrong());
        p.drawImage(1100, 330, paintMarker());
        p.drawImage(1100, 380, paintIcon(32));
        p.drawImage(1100, 430, paintSmallIcon());

        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(makeFont(fonts.tahomaBold, 13));
        p.setPen(QColor(80, 108, 156));
        p.drawText(QPointF(760, 716), QStringLiteral("KELVARIS VENDRAKUL"));
        p.setFont(makeFont(fonts.tahoma, 11));
        p.setPen(QColor(112, 136, 176));
        p.drawText(QPointF(760, 734), QStringLiteral("skin sheet \u00b7 www.kelvaris.example"));
    }
    paintPanel(img);
    return img.convertToFormat(QImage::Format_RGB888);
}

// ---------------------------------------------------------------------------------
// Output.

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

int writeResources(const QString &dir, const Fonts &fonts)
{
    bool ok = true;
    ok &= savePng(paintTemplate(fonts), dir + "/skin/template.png");
    ok &= savePng(paintCorrect().convertToFormat(QImage::Format_RGB888), dir + "/pictures/correct.png");
    ok &= savePng(paintWrong().convertToFormat(QImage::Format_RGB888), dir + "/pictures/wrong.png");
    ok &= savePng(paintMarker().convertToFormat(QImage::Format_RGB888), dir + "/pictures/marker.png");
    ok &= savePng(paintIcon(32).convertToFormat(QImage::Format_ARGB32), dir + "/icons/vendrakul.png");
    ok &= savePng(paintSmallIcon(), dir + "/icons/vendrakul-16.png");
    ok &= savePng(paintIcon(256).convertToFormat(QImage::Format_ARGB32), dir + "/icons/vendrakul-256.png");
    return ok ? 0 : 1;
}

// ---------------------------------------------------------------------------------
// Previews: the windows assembled from the template the way the program does it.

class Composer {
public:
    Composer(const QImage &sheet, QImage &target) : sheet_(sheet), size_(target.size()), p_(&target) {}

    // Copies one piece of the sheet to `to`.
    void copy(const QRect &piece, QPoint to)
    {
        p_.drawImage(to.x(), to.y(), sheet_, piece.x(), piece.y(), piece.width(), piece.height());
    }

    // Repeats a piece along the row y from x0 up to x1, the last copy cut short.
    void tileX(const QRect &piece, int x0, int x1, int y)
    {
        for (int x = x0; x < x1; x += piece.width())
            copy(QRect(piece.topLeft(), QSize(std::min(piece.width(), x1 - x), piece.height())), {x, y});
    }
    // Repeats a piece down the column x from y0 to y1, the last copy cut short.
    void tileY(const QRect &piece, int x, int y0, int y1)
    {
        for (int y = y0; y < y1; y += piece.height())
            copy(QRect(piece.topLeft(), QSize(piece.width(), std::min(piece.height(), y1 - y))), {x, y});
    }

    // The side borders, starting below the top pieces of the given heights, and the
    // bottom band between the bottom corners.
    void sidesAndBottom(int leftTop, int rightTop)
    {
        const QRect right = skin::rightBorder(kTemplateSize);
        const QRect bottom = skin::bottomBand(kTemplateSize);
        tileY(skin::kLeftBorder, 0, leftTop, size_.height() - skin::bottomLeftCorner(kTemplateSize).height());
        tileY(right, size_.width() - right.width(), rightTop,
              size_.height() - skin::bottomRightCorner(kTemplateSize).height());
        tileX(bottom, skin::bottomLeftCorner(kTemplateSize).width(),
              size_.width() - skin::bottomRightCorner(kTemplateSize).width(), size_.height() - bottom.height());
    }
    void bottomCorners()
    {
        const QRect left = skin::bottomLeftCorner(kTemplateSize);
        const QRect right = skin::bottomRightCorner(kTemplateSize);
        copy(left, {0, size_.height() - left.height()});
        copy(right, {size_.width() - right.width(), size_.height() - right.height()});
    }
    // A piece put against the target's right edge at the top.
    void topRight(const QRect &piece) { copy(piece, {size_.width() - piece.width(), 0}); }

    // Button wd x 50 in one of the three looks (0 normal, 1 highlighted, 2 pressed).
    void button(int look, int dx, int dy, int wd, const QString &caption, const QFont &font)
    {
        const int rowTops[3] = {skin::kButtonNormalTop, skin::kButtonHoverTop, skin::kButtonPressedTop};
        const int top = rowTops[look];
        tileX(QRect(skin::kButtonMiddleX, top, skin::kButtonMiddleWidth, skin::kButtonHeight), dx, dx + wd, dy);
        copy(QRect(skin::kButtonLeftCapX, top, skin::kButtonLeftCapWidth, skin::kButtonHeight), {dx, dy});
        copy(QRect(skin::kButtonRightCapX, top, skin::kButtonRightCapWidth, skin::kButtonHeight),
             {dx + wd - skin::kButtonRightCapWidth, dy});
        p_.setFont(font);
        p_.setPen(look == 0 ? QColor(0, 0, 0) : QColor(64, 64, 0));
        p_.drawText(QRect(dx, dy, wd, 48), Qt::AlignCenter, caption);
    }

    void panel(const QRect &r)
    {
        const int right = r.x() + r.width();
        const int bottom = r.y() + r.height();
        p_.fillRect(r, palette::kPanelBlue);
        const int x0 = r.left() + skin::kFrameTopLeft.width();
        const int x1 = right - skin::kFrameTopRight.width();
        tileX(skin::kFrameTop, x0, x1, r.top());
        tileX(skin::kFrameBottom, x0, x1, bottom - skin::kFrameBottom.height());
        const int y0 = r.top() + skin::kFrameTopLeft.height();
        const int y1 = bottom - skin::kFrameBottomLeft.height();
        tileY(skin::kFrameLeft, r.left(), y0, y1);
        tileY(skin::kFrameRight, right - skin::kFrameRight.width(), y0, y1);
        copy(skin::kFrameTopLeft, r.topLeft());
        copy(skin::kFrameTopRight, {right - skin::kFrameTopRight.width(), r.top()});
        copy(skin::kFrameBottomLeft, {r.left(), bottom - skin::kFrameBottomLeft.height()});
        copy(skin::kFrameBottomRight,
             {right - skin::kFrameBottomRight.width(), bottom - skin::kFrameBottomRight.height()});
    }

    // The strip of four window controls, 4 px from the top and right edges; the
    // maximise button is disabled and has its normal look only.
    void controls(int state)
    {
        const int rowTops[3] = {skin::kStripNormalTop, skin::kStripHoverTop, skin::kStripPressedTop};
        const int top = rowTops[state];
        auto cell = [](int left, int cellTop) {
            return QRect(left, cellTop, skin::kStripCellWidth, skin::kStripCellHeight);
        };
        const int x = size_.width() - kCtlBandRow - 4 * skin::kStripCellWidth;
        const int step = skin::kStripCellWidth;
        copy(cell(skin::kStripBackdropLeft, top), {x, kCtlBandRow});
        copy(cell(skin::kStripMinimiseLeft, top), {x + step, kCtlBandRow});
        copy(cell(skin::kStripMaximiseLeft, skin::kStripNormalTop), {x + 2 * step, kCtlBandRow});
        copy(cell(skin::kStripCloseLeft, top), {x + 3 * step, kCtlBandRow});
    }

    QPainter &painter() { return p_; }

private:
    const QImage &sheet_;
    QSize size_;
    QPainter p_;
};

void composeStart(const QImage &sheet, QImage &out, const Fonts &fonts, bool stageLook, int controlState)
{
    const int w = out.width();
    out.fill(palette::kWindowBody);
    Composer c(sheet, out);
    c.tileX(skin::kStartTopBand, 0, w, 0);
    c.sidesAndBottom(skin::kTopLeftCorner.height(), skin::topRightCorner(kTemplateSize).height());
    c.copy(skin::kTopLeftCorner, {0, 0});
    c.topRight(skin::topRightCorner(kTemplateSize));
    c.bottomCorners();
    if (stageLook) {
        c.tileX(skin::kStageTopBand, 0, w, 0);
        c.copy(skin::kStageHeaderBlock, {0, 0});
        c.topRight(skin::kStageHeaderEnd);
    } else {
        c.copy(skin::kSlogan, {422, 216});
        c.copy(skin::kLargeLogo, {422, 291});
        QPainter &p = c.painter();
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(makeFont(fonts.sansBold, 40, true));
        p.setPen(palette::kNavy);
        p.drawText(QRect(0, 75, w, 95), Qt::AlignCenter, QStringLiteral("KELVARIS VENDRAKUL"));
        const QFont bf = makeFont(fonts.tahomaBold, 15);
        c.button(0, 440, 640, 150, QStringLiteral("Start"), bf);
        c.button(1, 615, 640, 150, QStringLiteral("Options"), bf);
        c.button(2, 790, 640, 150, QStringLiteral("Results"), bf);
    }
    c.controls(controlState);
}

void composeExercise(const QImage &sheet, QImage &out, const Fonts &fonts)
{
    const int w = out.width();
    out.fill(palette::kWindowBody);
    Composer c(sheet, out);
    c.tileX(skin::kExerciseTopBand, 0, w, 0);
    c.sidesAndBottom(skin::kExerciseHeaderBlock.height(), skin::kExerciseHeaderEnd.height());
    c.copy(skin::kExerciseHeaderBlock, {0, 0});
    c.topRight(skin::kExerciseHeaderEnd);
    c.bottomCorners();

    // The clock tab: both ends around 81 two-pixel slices, the clock box on top.
    const int tabX = (w - 300) / 2 + 190;
    const int tabY = 26;
    const int boxX = tabX + skin::kTabLeft.width();
    const int boxWidth = 81 * skin::kTabSlice.width();
    c.copy(skin::kTabLeft, {tabX, tabY});
    for (int x = boxX; x < boxX + boxWidth; x += skin::kTabSlice.width())
        c.copy(skin::kTabSlice, {x, tabY});
    c.copy(skin::kTabRight, {boxX + boxWidth, tabY});

    QPainter &p = c.painter();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(boxX, 0, boxWidth, 81), palette::kHeaderStrip);
    p.setFont(makeFont(fonts.monoBold, 30));
    p.setPen(palette::kNavy);
    p.drawText(QRect(boxX, 0, boxWidth, 81), Qt::AlignCenter, QStringLiteral("04:17"));

    QFont title = makeFont(QStringLiteral("Liberation Sans"), 20, true);
    p.setFont(title);
    p.setPen(palette::kNavy);
    p.drawText(QPointF(210, 2 + QFontMetricsF(title).ascent()), QStringLiteral("KELVARIS VENDRAKULS"));

    const QFont bf = makeFont(fonts.tahomaBold, 15);
    c.button(0, 200, 660, 150, QStringLiteral("Check"), bf);
    c.button(1, 370, 660, 150, QStringLiteral("Hint"), bf);
    c.button(2, 540, 660, 150, QStringLiteral("Next"), bf);
    c.panel(QRect(120, 200, 1040, 420));
    p.setFont(makeFont(fonts.monoBold, 24));
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(120, 200, 1040, 420), Qt::AlignCenter,
               QStringLiteral("73914028565019347286\n\u00d7 50827319466028175393"));
}

int writePreviews(const QString &resources, const QString &dir, const Fonts &fonts)
{
    QImage sheet(resources + "/skin/template.png");
    if (sheet.isNull() || sheet.size() != kTemplateSize) {
        std::fprintf(stderr, "skingen: cannot read %s/skin/template.png\n", qPrintable(resources));
        return 1;
    }
    sheet = sheet.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QDir().mkpath(dir);
    bool ok = true;

    QImage start(kTemplateSize, QImage::Format_ARGB32_Premultiplied);
    composeStart(sheet, start, fonts, false, 0);
    ok &= savePng(start, dir + "/start.png");

    for (int state = 0; state < 3; ++state) {
        QImage stage(kTemplateSize.width(), 200, QImage::Format_ARGB32_Premultiplied);
        composeStart(sheet, stage, fonts, true, state);
        ok &= savePng(stage, dir + QStringLiteral("/stage-%1.png").arg(state));
    }

    QImage exercise(kTemplateSize.width(), 775, QImage::Format_ARGB32_Premultiplied);
    composeExercise(sheet, exercise, fonts);
    ok &= savePng(exercise, dir + "/exercise.png");

    // The exercise window docked 25 px below the stage-look main window's top.
    QImage joined(kTemplateSize.width(), 800, QImage::Format_ARGB32_Premultiplied);
    composeStart(sheet, joined, fonts, true, 0);
    {
        QPainter p(&joined);
        p.drawImage(0, 25, exercise);
    }
    ok &= savePng(joined, dir + "/joined.png");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
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
