#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vk::skin {

// Where the pieces of every skinned surface lie in the 1280 x 800 template.
// Pieces tied to the template's right or bottom edge take its size, which
// callers read from the template itself.

// The small framed panel whose 4-pixel sunken border frames controls.
inline constexpr QRect kFramePanel{544, 282, 116, 87};
inline constexpr QRect kFrameTop{562, 282, 4, 4};
inline constexpr QRect kFrameBottom{562, 365, 4, 4};
inline constexpr QRect kFrameLeft{544, 303, 4, 4};
inline constexpr QRect kFrameRight{656, 303, 4, 4};
inline constexpr QRect kFrameTopLeft{544, 282, 10, 10};
inline constexpr QRect kFrameTopRight{650, 282, 10, 10};
inline constexpr QRect kFrameBottomLeft{544, 359, 10, 10};
inline constexpr QRect kFrameBottomRight{650, 359, 10, 10};

// The outer window frame.
inline constexpr QRect kTopLeftCorner{0, 0, 50, 50};
inline constexpr QRect topRightCorner(QSize t) { return {t.width() - 30, 0, 30, 60}; }
inline constexpr QRect kStartTopBand{220, 0, 10, 97};
inline constexpr QRect kLeftBorder{0, 260, 20, 10};
inline constexpr QRect rightBorder(QSize t) { return {t.width() - 20, 260, 20, 10}; }
inline constexpr QRect bottomBand(QSize t) { return {50, t.height() - 20, 10, 20}; }
inline constexpr QRect bottomLeftCorner(QSize t) { return {0, t.height() - 40, 40, 40}; }
inline constexpr QRect bottomRightCorner(QSize t) { return {t.width() - 40, t.height() - 40, 40, 40}; }

// The header of the main window's stage look (full 97-pixel height).
inline constexpr QRect kStageHeaderBlock{195, 97, 195, 97};
inline constexpr QRect kStageTopBand{400, 97, 10, 97};
inline constexpr QRect kStageHeaderEnd{422, 97, 30, 97};

// The same header taken 25 pixels lower, for the exercise window docked
// 25 pixels below the main window's top.
inline constexpr QRect kExerciseHeaderBlock{195, 122, 200, 72};
inline constexpr QRect kExerciseTopBand{400, 122, 10, 35};
inline constexpr QRect kExerciseHeaderEnd{422, 122, 30, 46};

// The clock tab hanging below the exercise window's header.
inline constexpr QRect kTabLeft{474, 97, 69, 57};
inline constexpr QRect kTabSlice{545, 97, 2, 57};
inline constexpr QRect kTabRight{610, 97, 69, 57};

// Start screen artwork.
inline constexpr QRect kLargeLogo{68, 241, 435, 300};
inline constexpr QRect kSlogan{728, 241, 436, 45};

// Window-control strip sprites: 17 x 15 cells, one row per look.
inline constexpr int kStripCellWidth = 17;
inline constexpr int kStripCellHeight = 15;
inline constexpr int kStripNormalTop = 179;
inline constexpr int kStripHoverTop = 194;
inline constexpr int kStripPressedTop = 209;
inline constexpr int kStripBackdropLeft = 89;
inline constexpr int kStripMinimiseLeft = 106;
inline constexpr int kStripMaximiseLeft = 174; // disabled: normal look only
inline constexpr int kStripCloseLeft = 157;
// Also in the strip, though no window shows them: an enabled maximise button
// and a restore button.
inline constexpr int kStripEnabledMaximiseLeft = 123;
inline constexpr int kStripRestoreLeft = 140;
// The cell whose top-left corner is at `topLeft`.
inline constexpr QRect stripCell(QPoint topLeft) { return {topLeft, QSize(kStripCellWidth, kStripCellHeight)}; }

// Drawn push buttons: a 50-pixel strip per look.
inline constexpr int kButtonNormalTop = 593;
inline constexpr int kButtonHoverTop = 643;
inline constexpr int kButtonPressedTop = 693;
inline constexpr int kButtonHeight = 50;
inline constexpr int kButtonLeftCapX = 68;
inline constexpr int kButtonLeftCapWidth = 20;
inline constexpr int kButtonMiddleX = 90;
inline constexpr int kButtonMiddleWidth = 10;
inline constexpr int kButtonRightCapX = 228;
inline constexpr int kButtonRightCapWidth = 20;
// The three pieces of the look whose strip starts at row `top`.
inline constexpr QRect buttonLeftCap(int top) { return {kButtonLeftCapX, top, kButtonLeftCapWidth, kButtonHeight}; }
inline constexpr QRect buttonMiddle(int top) { return {kButtonMiddleX, top, kButtonMiddleWidth, kButtonHeight}; }
inline constexpr QRect buttonRightCap(int top) { return {kButtonRightCapX, top, kButtonRightCapWidth, kButtonHeight}; }

} // namespace vk::skin
