#pragma once

#include "platform/rounding.h"

#include <QRect>
#include <QSize>

#include <cstdint>

namespace vk {

// A window rectangle in twips.
struct TwipsRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend constexpr bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// The main window's top band that stays visible above the stage: the
// header and the window-control strip live there.
inline constexpr std::int32_t kDockedBandTwips = 375;

// Where the stage stands inside a main window of `mainSize` pixels: the
// whole window without its top band (25 pixels at 15 twips per pixel).
inline QRect dockedArea(QSize mainSize, int twipsPerPixelY)
{
    const int band = roundHalfEven(static_cast<double>(kDockedBandTwips) / twipsPerPixelY);
    return QRect(0, band, mainSize.width(), mainSize.height() - band);
}

} // namespace vk
