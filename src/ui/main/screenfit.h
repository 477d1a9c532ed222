#pragma once

#include "ui/main/dockedplacement.h"

namespace vk {

class ScreenMetrics;

// What start-up makes of the screen.
enum class ScreenFit {
    TooSmall,   // under 1024 x 768 pixels: the program cannot run
    FillScreen, // at least 1024 x 768 but under 1280 x 800: the main window covers the screen
    Standard,   // 1280 x 800 pixels or more: the main window is 1280 x 800 pixels
};

// A screen narrower than the window would hide FINISH, the clock and the
// window's own close cell off its right edge, so the width counts as the
// height does.
inline constexpr int kMinimumScreenWidth = 1024;
inline constexpr int kMinimumScreenHeight = 768;
inline constexpr int kStandardScreenHeight = 800;
inline constexpr int kStandardWidthPixels = 1280;
inline constexpr int kStandardHeightPixels = 800;

ScreenFit screenFit(const ScreenMetrics &screen);

// The screen's size in pixels, from its size in twips.
int screenWidthPixels(const ScreenMetrics &screen);
int screenHeightPixels(const ScreenMetrics &screen);

// The main window's rectangle after the start-up sizing. `current` is
// where the window stands now; the standard size keeps its position.
TwipsRect mainWindowPlacement(ScreenFit fit, const ScreenMetrics &screen, const TwipsRect &current);

// The same sizing once the screen has changed under a running program: a
// screen now too small is covered as far as it goes, and a standard-sized
// window is moved where needed to lie inside the work area.
TwipsRect mainWindowRefit(const ScreenMetrics &screen, const TwipsRect &current);

} // namespace vk
