#pragma once

#include "platform/colorref.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace vk {

// A corner of a shaded triangle: a position in pixels and 16-bit colour
// channels (the 8-bit component in the high byte).
struct GradientVertex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;
};

struct GradientTriangle {
    std::uint32_t vertex1 = 0;
    std::uint32_t vertex2 = 0;
    std::uint32_t vertex3 = 0;
};

GradientVertex gradientVertex(std::int32_t x, std::int32_t y, ColorRef colour);

// Shades each triangle smoothly between its three corner colours (Gouraud),
// into a 32-bit image. A pixel takes the colour at its integer position, so
// a pixel on a vertex has that vertex's colour exactly; channels are cut to
// their high byte. Pixels outside every triangle are left alone.
void gradientFill(QImage &image, std::span<const GradientVertex> vertices, std::span<const GradientTriangle> triangles);

} // namespace vk
