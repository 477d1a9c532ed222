#include "shell/gradientfill.h"

#include <algorithm>
#include <cmath>

namespace vk {

GradientVertex gradientVertex(std::int32_t x, std::int32_t y, ColorRef colour)
{
    const Rgb c = fromColorRef(colour);
    return {x, y, static_cast<std::uint16_t>(c.r << 8), static_cast<std::uint16_t>(c.g << 8),
            static_cast<std::uint16_t>(c.b << 8), 0};
}

namespace {

// Twice the signed area of (a, b, p): positive when p lies left of a->b.
std::int64_t edge(const GradientVertex &a, const GradientVertex &b, std::int64_t px, std::int64_t py)
{
    return (static_cast<std::int64_t>(b.x) - a.x) * (py - a.y) - (static_cast<std::int64_t>(b.y) - a.y) * (px - a.x);
}

int channel(std::int64_t w0, std::int64_t w1, std::int64_t w2, std::uint16_t c0, std::uint16_t c1, std::uint16_t c2,
            double inverseArea)
{
    // The weights sum to the area, so the sum is an exact integer in a double;
    // the tiny bias keeps a result that is exactly k from landing on k - 1.
    const double sum = static_cast<double>(w0) * c0 + static_cast<double>(w1) * c1 + static_cast<double>(w2) * c2;
    const auto value = static_cast<std::int64_t>(std::floor(sum * inverseArea + 1e-9));
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 0xFFFF) >> 8);
}

void fillTriangle(QImage &image, const GradientVertex &a, GradientVertex b, GradientVertex c)
{
    std::int64_t area = edge(a, b, c.x, c.y);
    if (area == 0)
        return;
    if (area < 0) {
        std::swap(b, c);
        area = -area;
    }
    const double inverseArea = 1.0 / static_cast<double>(area);
    const int x0 = std::max(0, std::min({a.x, b.x, c.x}));
    const int y0 = std::max(0, std::min({a.y, b.y, c.y}));
    const int x1 = std::min(image.width() - 1, std::max({a.x, b.x, c.x}));
    const int y1 = std::min(image.height() - 1, std::max({a.y, b.y, c.y}));
    for (int y = y0; y <= y1; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            // Weight of each corner: the area of the triangle opposite it.
            const std::int64_t wa = edge(b, c, x, y);
            const std::int64_t wb = edge(c, a, x, y);
            const std::int64_t wc = edge(a, b, x, y);
            if (wa < 0 || wb < 0 || wc < 0)
                continue;
            line[x] = qRgb(channel(wa, wb, wc, a.red, b.red, c.red, inverseArea),
                           channel(wa, wb, wc, a.green, b.green, c.green, inverseArea),
                           channel(wa, wb, wc, a.blue, b.blue, c.blue, inverseArea));
        }
    }
}

} // namespace

void gradientFill(QImage &image, std::span<const GradientVertex> vertices, std::span<const GradientTriangle> triangles)
{
    if (image.depth() != 32)
        image = image.convertToFormat(QImage::Format_RGB32);
    for (const GradientTriangle &t : triangles) {
        if (t.vertex1 >= vertices.size() || t.vertex2 >= vertices.size() || t.vertex3 >= vertices.size())
            continue;
        fillTriangle(image, vertices[t.vertex1], vertices[t.vertex2], vertices[t.vertex3]);
    }
}

} // namespace vk
