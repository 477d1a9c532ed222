#pragma once

#include <cstdint>

namespace vk {

// Top-level windows and the screen are measured in twips (1/1440 inch);
// everything inside a window in pixels. The factor follows the screen's
// logical DPI: 15 at 96 DPI.
class Twips
{
public:
    static constexpr int perInch = 1440;

    static int perPixel(double logicalDpi);
    static std::int32_t fromPixels(double pixels, int twipsPerPixel);
    static double toPixels(std::int32_t twips, int twipsPerPixel);
};

} // namespace vk
