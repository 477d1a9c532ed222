#include "platform/twips.h"

#include "platform/rounding.h"

namespace vk {

int Twips::perPixel(double logicalDpi)
{
    if (!(logicalDpi > 0.0))
        return 15; // a screen that reports nothing is taken as the usual 96 DPI
    const int factor = roundHalfEven(perInch / logicalDpi);
    return factor > 0 ? factor : 1;
}

std::int32_t Twips::fromPixels(double pixels, int twipsPerPixel)
{
    return roundHalfEven(pixels * twipsPerPixel);
}

double Twips::toPixels(std::int32_t twips, int twipsPerPixel)
{
    return static_cast<double>(twips) / twipsPerPixel;
}

} // namespace vk
