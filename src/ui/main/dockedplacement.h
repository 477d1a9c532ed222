#pragma once

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

// The main window's top band that stays visible above a docked window:
// the header and the window-control strip live there.
inline constexpr std::int32_t kDockedBandTwips = 375;

// Where a window docked over the main window goes: the main window's
// rectangle without its top band.
constexpr TwipsRect dockedPlacement(const TwipsRect &main)
{
    return {main.left, main.top + kDockedBandTwips, main.width, main.height - kDockedBandTwips};
}

} // namespace vk
