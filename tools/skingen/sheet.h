#pragma once

// The skin template as a whole: the sheet every skinned surface is copied from.

#include "painting.h"

#include <QImage>
#include <QSize>

namespace vk::skingen {

constexpr QSize kTemplateSize(1280, 800);

// The full template, framed like a window, with every piece at its place in the
// template map and a small gallery of the loose pictures.
QImage paintTemplate(const Fonts &fonts);

} // namespace vk::skingen
