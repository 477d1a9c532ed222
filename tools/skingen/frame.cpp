#include "frame.h"

#include "painting.h"
#include "skin/palette.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vk::skingen {
namespace {

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

} // namespace

void overlayFrame(QImage &img, int ox, int oy, const FrameGeom &g, const QRect &area)
{
    constexpr int kSub = 4;
    // The image's own pixels; the geometry is the 100 % artwork's.
    const int s = int(img.devicePixelRatio());
    const QRect clipped = QRect(area.topLeft() * s, area.size() * s).intersected(img.rect());
    const double step = 1.0 / s;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const double wx = double(x) / s - ox;
            const double wy = double(y) / s - oy;
            // The body is convex: a pixel whose four corners lie in it is body throughout.
            if (insideInset(g, wx, wy, 1.0) && insideInset(g, wx + step, wy, 1.0) &&
                insideInset(g, wx, wy + step, 1.0) && insideInset(g, wx + step, wy + step, 1.0))
                continue;
            const Rgbf existing{double(qRed(line[x])), double(qGreen(line[x])), double(qBlue(line[x]))};
            Rgbf sum;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const double u = frameDepth(g, wx + (sx + 0.5) / kSub * step, wy + (sy + 0.5) / kSub * step);
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

} // namespace vk::skingen
