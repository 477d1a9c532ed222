#pragma once

// The product's marks: the emblem, the start-screen logo and the slogan.

#include "painting.h"

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSize>

namespace vk::skingen {

// Emblem: a glossy blue disc with a white multiplication cross. Used large in the
// start-screen logo and small in the header.
// With a shadow, `canvas` is the size of the image p paints on.
void paintEmblem(QPainter &p, QPointF centre, double radius, const QSize &canvas, bool withShadow);

// The start-screen logo and the slogan, each the size of its place in the template map.
QImage paintLogo(const Fonts &fonts);
QImage paintSlogan(const Fonts &fonts);

} // namespace vk::skingen
