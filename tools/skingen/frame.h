#pragma once

// The window frame.
//
// The frame is described by a depth u: 0 on the outer edge, 1 where the body starts.
// Lines of equal depth are inset rounded rectangles, so the bevel bands run round the
// corners without a mitre, and every straight stretch depends on one coordinate only
// (which is what makes the border slices tile).

#include "sheet.h"
#include "skin/templatemap.h"

#include <QImage>
#include <QRect>

namespace vk::skingen {

// The side and bottom borders are exactly as wide as the slices the program tiles.
constexpr double kSideWidth = skin::kLeftBorder.width();
constexpr double kBottomWidth = skin::bottomBand(kTemplateSize).height();
static_assert(skin::rightBorder(kTemplateSize).width() == skin::kLeftBorder.width());
constexpr double kTopHeight = 25.0;
constexpr double kOuterRadius = 14.0;
constexpr double kInnerRadius = 3.0;

struct FrameGeom {
    double width;
    double height;
};

// Draws the frame of a window of size g, whose origin is at (ox, oy) in img, over the
// pixels of `area`. Body pixels keep what is already there, so the body content is
// painted first and the frame laid over it.
void overlayFrame(QImage &img, int ox, int oy, const FrameGeom &g, const QRect &area);

} // namespace vk::skingen
