#pragma once

#include <QImage>
#include <QSize>

namespace vk {

// A 32-bit image for a whole window's worth of pixels. Large ones live in
// memory that the kernel may back with huge pages: a 1280 x 800 image is
// then a couple of page faults when first drawn instead of a thousand,
// which is most of what such an image costs before the first frame.
// Small ones are ordinary images.
QImage makeLargeImage(QSize size, QImage::Format format = QImage::Format_RGB32);

} // namespace vk
