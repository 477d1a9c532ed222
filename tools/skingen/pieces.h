#pragma once

// The template's drawn pieces, each painted where the template map puts it: the
// header and the clock tab, the push buttons, the framed panel and the
// window-control sprites.

#include "painting.h"
#include "skin/templatemap.h"

#include <QImage>
#include <QRect>

namespace vk::skingen {

// The header: the main window's stage look and, 25 px lower, the top of the exercise
// window, both read from this one picture.
constexpr QRect kStageArea(skin::kStageHeaderBlock.topLeft(), skin::kStageHeaderEnd.bottomRight());
QImage paintStage(const Fonts &fonts);

// The clock tab, drawn straight into the sheet.
void paintTab(QImage &sheet);

// The three looks of the push buttons, drawn straight into the sheet.
void paintButtons(QImage &sheet);

// The small framed panel, drawn straight into the sheet.
void paintPanel(QImage &sheet);

// The window-control sprites, drawn straight into the sheet. Their background is
// copied from the sheet's top band, so the frame has to be on the sheet already.
// In a window the strip sits this many pixels below the top, on that band.
constexpr int kControlStripTop = 4;
void paintControls(QImage &sheet);

} // namespace vk::skingen
