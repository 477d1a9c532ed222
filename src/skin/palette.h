#pragma once

#include <QColor>

namespace vk::palette {

// The skin's named colours, each under one name. The artwork generator
// (tools/skingen) draws the template with them, and the program paints some of
// them itself right beside pieces copied out of that template, so both sides
// must take them from here to stay seamless. The window definitions
// (windowdefinitions.cpp) give the controls their colours from here too.

// The pale blue of every window body: behind the controls, the logo and the
// answer grid.
inline constexpr QColor kWindowBody{197, 214, 237};

// The lighter blue of the header strip; the clock tab and the clock box drawn
// over it share it.
inline constexpr QColor kHeaderStrip{215, 229, 248};

// The header strip's dark dividing line and the light line just above it.
inline constexpr QColor kDivider{86, 118, 174};
inline constexpr QColor kDividerLight{190, 207, 234};

// Lettering on the header and the start screen.
inline constexpr QColor kNavy{24, 52, 108};

// Inside the small framed panel.
inline constexpr QColor kPanelBlue{107, 153, 216};

// Behind the tick of the row marker.
inline constexpr QColor kMarkerYellow{229, 249, 128};

// Behind the tick and the cross of the verdict pictures.
inline constexpr QColor kPictureGround{222, 229, 238};

// What shows where a window's rounded corner cuts the frame away.
inline constexpr QColor kOutsideCorner{46, 50, 58};

// Plain white and black: the ground and the ink of the picture boxes, the
// drawn buttons and the window-control strip; the ink of the answer sheet
// and of the address on the start screen.
inline constexpr QColor kWhite{255, 255, 255};
inline constexpr QColor kBlack{0, 0, 0};

// Under the verdict picture in the result panel.
inline constexpr QColor kResultPink{255, 192, 255};

// The caption beside the clock choice on the settings panel; the start
// screen's title is drawn in the same red.
inline constexpr QColor kCaptionRed{192, 0, 0};

// The address's shadow on the start screen.
inline constexpr QColor kAddressShadow{207, 207, 207};

} // namespace vk::palette
