#pragma once

#include "shell/dockedplacement.h"

namespace vk {

class ScreenMetrics;

// What start-up makes of the screen. Only the height is tested: a screen
// narrower than the window passes.
enum class ScreenFit {
    TooLow,     // under 768 pixels high: the program cannot run
    FillScreen, // 768 to 799 pixels high: the main window covers the screen
    Standard,   // 800 pixels or more: the main window is 1280 x 800 pixels
};

inline constexpr int kMinimumScreenHeight = 768;
inline constexpr int kStandardScreenHeight = 800;
inline constexpr int kStandardWidthPixels = 1280;
inline constexpr int kStandardHeightPixels = 800;

ScreenFit screenFit(const ScreenMetrics &screen);

// The screen's height in pixels, from its height in twips.
int screenHeightPixels(const ScreenMetrics &screen);

// The main window's rectangle after the start-up sizing. `current` is
// where the window stands now; the standard size keeps its position.
TwipsRect mainWindowPlacement(ScreenFit fit, const ScreenMetrics &screen, const TwipsRect &current);

} // namespace vk
