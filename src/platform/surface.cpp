#include "platform/surface.h"

#include "platform/drawtext.h"
#include "platform/largeimage.h"
#include "platform/rounding.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace vk {
namespace {

// Row copies between two 32-bit images, clipped at both.
void copyRect(QImage &dst, int dx, int dy, int w, int h, const QImage &src, int sx, int sy)
{
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.width() - sx, dst.width() - dx});
    h = std::min({h, src.height() - sy, dst.height() - dy});
    if (w <= 0 || h <= 0)
        return;
    const qsizetype dstStride = dst.bytesPerLine();
    const qsizetype srcStride = src.bytesPerLine();
    uchar *d = dst.bits() + dy * dstStride + dx * 4;
    const uchar *s = src.constBits() + sy * srcStride + sx * 4;
    for (int row = 0; row < h; ++row, d += dstStride, s += srcStride)
        std::memcpy(d, s, static_cast<std::size_t>(w) * 4);
}

bool is32Bit(const QImage &image)
{
    return image.depth() == 32;
}

QRect scaled(const QRect &r, int scale)
{
    return scale == 1 ? r : QRect(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
}

// The size of an image in pixels of ours.
QSize ourSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

} // namespace

int artworkScale(double devicePixelRatio)
{
    // Above 100 % the 2x artwork: shown smaller at 125 % or 150 % it stays
    // sharp, where the 1x artwork shown larger would blur.
    return devicePixelRatio > 1.0 ? 2 : 1;
}

Surface::Surface(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The kept image is made when something is drawn or shown, at the size
    // the surface has then: a window sized and laid out before it is shown
    // never allocates images for its passing sizes.
}

void Surface::setBackColor(const QColor &color)
{
    m_backColor = color;
    // A change of colour shows at once on a surface nothing was kept on.
    if (!m_autoRedraw && !m_kept.isNull())
        rebuildKept(size(), false);
    update();
}

void Surface::setPicture(const QImage &picture)
{
    m_picture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    if (!m_picture.isNull())
        m_picture.setDevicePixelRatio(picture.devicePixelRatio());
    rebuildKept(size(), false);
    dropTransient();
    update();
}

void Surface::cls()
{
    if (!m_drawingClip.isNull()) {
        const QRect area = m_drawingClip & rect();
        if (m_autoRedraw && !area.isEmpty()) {
            QImage &image = kept();
            // The same pixels a whole clear leaves there: the back colour,
            // then the picture.
            QPainter(&image).fillRect(area, m_backColor);
            if (!m_picture.isNull())
                drawPicture(image, area);
            m_keptDirty |= area;
        }
        dropTransient();
        update(area);
        return;
    }
    if (m_autoRedraw) {
        rebuildKept(size(), false);
        m_keptDirty = rect();
    }
    dropTransient();
    update();
}

void Surface::refresh()
{
    // Only what was drawn since the last refresh can differ from the screen:
    // repainting that much keeps a full-window recomposition from costing a
    // second full repaint when a frame is added to it afterwards.
    const QRect changed = (m_keptDirty | m_transientDirty) & rect();
    dropTransient();
    m_keptDirty = QRect();
    m_transientDirty = QRect();
    if (!changed.isEmpty())
        repaint(changed);
}

QImage &Surface::target(const QRect &area)
{
    if (m_autoRedraw) {
        m_keptDirty |= area;
        return kept();
    }
    const int scale = imageScale();
    const QSize wanted = size().expandedTo(QSize(1, 1)) * scale;
    if (m_transient.size() != wanted) {
        m_transient = QImage(wanted, QImage::Format_ARGB32_Premultiplied);
        m_transient.setDevicePixelRatio(scale);
        m_transient.fill(Qt::transparent);
    }
    m_transientState = TransientState::Pending;
    m_transientDirty |= area;
    update(area);
    return m_transient;
}

void Surface::bitBlt(int x, int y, int w, int h, const QImage &source, int sx, int sy)
{
    QImage &dst = target(QRect(x, y, w, h) & rect());
    const int scale = imageScale();
    if (is32Bit(source) && source.format() != QImage::Format_ARGB32 && source.devicePixelRatio() == scale) {
        copyRect(dst, x * scale, y * scale, w * scale, h * scale, source, sx * scale, sy * scale);
        return;
    }
    // A source of another scale is drawn to the size it has in pixels of ours.
    const double ratio = source.devicePixelRatio();
    QPainter p(&dst);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRectF(x, y, w, h), source, QRectF(sx * ratio, sy * ratio, w * ratio, h * ratio));
}

void Surface::tileBlt(int x, int y, int w, int h, int across, int down, const QImage &source, int sx, int sy)
{
    if (w <= 0 || h <= 0 || across <= 0 || down <= 0)
        return;
    // Only whole tiles inside the source repeat cleanly; anything else takes
    // the plain way, one copy after another.
    const int scale = imageScale();
    const QSize sourceSize = ourSize(source);
    const bool wholeTile = sx >= 0 && sy >= 0 && sx + w <= sourceSize.width() && sy + h <= sourceSize.height();
    if (!wholeTile || !is32Bit(source) || source.format() == QImage::Format_ARGB32 || source.devicePixelRatio() != scale) {
        for (int j = 0; j < down; ++j)
            for (int i = 0; i < across; ++i)
                bitBlt(x + i * w, y + j * h, w, h, source, sx, sy);
        return;
    }
    const QRect area = QRect(x, y, w * across, h * down) & rect();
    QImage &dst = target(area);
    // From here on in the images' own pixels.
    const QRect clip = scaled(area, scale) & dst.rect();
    if (clip.isEmpty())
        return;
    x *= scale;
    y *= scale;
    w *= scale;
    h *= scale;
    sx *= scale;
    sy *= scale;
    const qsizetype stride = dst.bytesPerLine();
    uchar *bits = dst.bits();
    const int span = clip.width();
    const int phase = (clip.left() - x) % w; // column of the tile the first pixel comes from
    for (int row = clip.top(); row <= clip.bottom(); ++row) {
        auto *d = reinterpret_cast<quint32 *>(bits + row * stride) + clip.left();
        const auto *s = reinterpret_cast<const quint32 *>(source.constScanLine(sy + (row - y) % h)) + sx;
        // One period of the row, starting where the clip cuts into a tile,
        // then doubled out of the row itself.
        int done = std::min(w - phase, span);
        std::memcpy(d, s + phase, static_cast<std::size_t>(done) * 4);
        if (done < span) {
            const int rest = std::min(phase, span - done);
            std::memcpy(d + done, s, static_cast<std::size_t>(rest) * 4);
            done += rest;
        }
        while (done < span) {
            const int n = std::min(done, span - done);
            std::memcpy(d + done, d, static_cast<std::size_t>(n) * 4);
            done += n;
        }
    }
}

void Surface::copyPiece(const QImage &source, const QRect &piece, int x, int y)
{
    bitBlt(x, y, piece.width(), piece.height(), source, piece.x(), piece.y());
}

void Surface::tilePiece(const QImage &source, const QRect &piece, int x, int y, int across, int down)
{
    tileBlt(x, y, piece.width(), piece.height(), across, down, source, piece.x(), piece.y());
}

int Surface::tileCount(double extent, int step)
{
    int n = 0;
    while (extent / step > n)
        ++n;
    return n;
}

const QImage &Surface::keptImage() const
{
    // Made on first use, like any other look at the kept image.
    return const_cast<Surface *>(this)->kept();
}

QImage &Surface::kept()
{
    if (m_kept.size() != size().expandedTo(QSize(1, 1)) * imageScale())
        rebuildKept(size(), true);
    return m_kept;
}

int Surface::imageScale() const
{
    return artworkScale(devicePixelRatioF());
}

void Surface::drawPicture(QImage &image, const QRect &area) const
{
    const int scale = static_cast<int>(image.devicePixelRatio());
    if (m_picture.devicePixelRatio() == scale) {
        const QRect r = scaled(area, scale);
        copyRect(image, r.x(), r.y(), r.width(), r.height(), m_picture, r.x(), r.y());
        return;
    }
    const double ratio = m_picture.devicePixelRatio();
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRectF shown = QRectF(area) & QRectF(QPointF(0, 0), m_picture.deviceIndependentSize());
    p.drawImage(shown, m_picture, QRectF(shown.x() * ratio, shown.y() * ratio, shown.width() * ratio, shown.height() * ratio));
}

QImage Surface::screenImage() const
{
    QImage shown = keptImage().copy();
    shown.setDevicePixelRatio(m_kept.devicePixelRatio());
    if (m_transientState != TransientState::None && m_transient.size() == m_kept.size()) {
        QPainter p(&shown);
        p.drawImage(0, 0, m_transient);
    }
    return shown;
}

void Surface::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // In bands of fewer rows than Qt's raster engine hands out to helper
    // threads: showing the kept image is a plain copy, and starting threads
    // for it (as the first frame would) costs more than it saves.
    constexpr int kBandRows = 16;
    const QImage &image = kept();
    const int scale = imageScale();
    const QRect area = event->rect() & rect();
    if (scale != 1 && devicePixelRatioF() != scale)
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int y = area.top(); y <= area.bottom(); y += kBandRows) {
        const QRect band(area.left(), y, area.width(), std::min(kBandRows, area.bottom() + 1 - y));
        if (scale == 1)
            p.drawImage(band.topLeft(), image, band);
        else
            p.drawImage(QRectF(band), image, QRectF(scaled(band, scale)));
    }
    switch (m_transientState) {
    case TransientState::Pending:
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(0, 0, m_transient);
        m_transientState = TransientState::Shown;
        break;
    case TransientState::Shown:
        // A repaint after the one that showed it: on-screen drawing is gone.
        dropTransient();
        break;
    case TransientState::None:
        break;
    }
}

void Surface::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Qt delivers the resize of a hidden widget late; only a real change of
    // size touches the images, and only images that exist.
    if (!m_kept.isNull() && m_kept.size() != size().expandedTo(QSize(1, 1)) * imageScale()) {
        rebuildKept(size(), true);
        dropTransient();
    }
    emit resized();
}

void Surface::rebuildKept(const QSize &size, bool keepOld)
{
    const int scale = imageScale();
    // A picture that covers the whole surface is the kept image itself,
    // shared until something is drawn on it (the hidden template box holds
    // 4 MB that way only once).
    const QSize wanted = size.expandedTo(QSize(1, 1)) * scale;
    const bool pictureFits = !m_picture.isNull() && m_picture.size() == wanted && m_picture.devicePixelRatio() == scale;
    if (pictureFits && (!keepOld || m_kept.isNull() || m_kept.size() == wanted)) {
        if (!keepOld || m_kept.isNull())
            m_kept = m_picture;
        return;
    }
    // Clearing at the same size refills the image in place: a 1280 x 800
    // window would otherwise allocate 4 MB at every repaint of its skin.
    if (!keepOld && m_kept.size() == wanted) {
        m_kept.fill(m_backColor);
        if (!m_picture.isNull())
            drawPicture(m_kept, QRect(QPoint(0, 0), size));
        return;
    }
    QImage fresh = makeLargeImage(wanted);
    fresh.setDevicePixelRatio(scale);
    fresh.fill(m_backColor);
    if (!m_picture.isNull())
        drawPicture(fresh, QRect(QPoint(0, 0), size));
    if (keepOld && !m_kept.isNull()) {
        if (m_kept.devicePixelRatio() == scale) {
            copyRect(fresh, 0, 0, m_kept.width(), m_kept.height(), m_kept, 0, 0);
        } else {
            // The surface moved to a screen of another scale.
            QPainter p(&fresh);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(QPointF(0, 0), m_kept);
        }
    }
    m_kept = std::move(fresh);
}

void Surface::dropTransient()
{
    if (m_transientState == TransientState::None)
        return;
    m_transient.fill(Qt::transparent);
    m_transientState = TransientState::None;
}

} // namespace vk
