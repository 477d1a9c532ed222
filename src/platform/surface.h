#pragma once

#include "platform/textrect.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

namespace vk {

// A painted surface: a window or a picture box. It keeps an image of its
// own (the persistent image) that every repaint shows. While autoRedraw is
// on, drawing goes into that image and stays; while it is off, drawing
// lands on the screen only (a transient layer above the kept image) and is
// gone at the next repaint. Composition code switches autoRedraw on, draws,
// refreshes once and switches it off, so the composed picture stays as the
// background while hover looks drawn later come and go.
class Surface : public QWidget
{
    Q_OBJECT
public:
    enum class Pointer { Default, Arrow, Custom };

    explicit Surface(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    void setAutoRedraw(bool on) { m_autoRedraw = on; }
    bool autoRedraw() const { return m_autoRedraw; }

    void setBackColor(const QColor &color);
    QColor backColor() const { return m_backColor; }
    void setForeColor(const QColor &color) { m_foreColor = color; }
    QColor foreColor() const { return m_foreColor; }

    // The picture shown at the surface's top-left under everything drawn,
    // at the size it has in pixels of ours (an image of device pixel ratio
    // 2 covers half its pixel size).
    void setPicture(const QImage &picture);
    void clearPicture() { setPicture(QImage()); }
    const QImage &picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

    // Clears the kept image (while autoRedraw is on) to the back colour and
    // the picture, and drops what is only on screen.
    void cls();
    // Repaints at once from the kept image; on-screen-only drawing is gone.
    void refresh();

    // While set, cls() clears only `area`, printAt() draws only there, and
    // only that much is repainted by the next refresh(): a redraw of a part
    // of what was drawn leaves every pixel outside it as it was.
    void setDrawingClip(const QRect &area) { m_drawingClip = area; }
    void clearDrawingClip() { m_drawingClip = QRect(); }

    // Plain source copy of a rectangle of `source` to (x, y), clipped at both
    // images' edges; negative positions are fine.
    void bitBlt(int x, int y, int w, int h, const QImage &source, int sx, int sy);
    // The same w x h copy repeated: `across` times to the right and `down`
    // times below, each next to the last (tile i, j at x + i * w, y + j * h).
    // Exactly what the bitBlt calls one by one would leave, at a fraction of
    // the cost for narrow tiles.
    void tileBlt(int x, int y, int w, int h, int across, int down, const QImage &source, int sx, int sy);
    // The same two for a named piece of a picture (a skin template, say):
    // the piece's own size is the copy's, and the step between tiles.
    void copyPiece(const QImage &source, const QRect &piece, int x, int y);
    void tilePiece(const QImage &source, const QRect &piece, int x, int y, int across, int down);
    // How many tiles `step` apart a loop "while extent / step > i" lays:
    // the last one may run past the edge.
    static int tileCount(double extent, int step);
    // Text in the surface's font and fore colour, transparent background,
    // laid out in `rect` by the dt:: format bits; clipped unless dt::NoClip.
    void drawText(const TextRect &rect, unsigned format, const QString &text);
    // Text whose cell's top-left corner stands at (x, y).
    void printAt(double x, double y, const QString &text);

    int textWidth(const QString &text) const;
    int textHeight(const QString &text) const; // all lines, in the current font

    // The pointer arriving over the surface without a move of its own (the
    // surface appeared or came to lie under a resting pointer, or the
    // window system reports an enter) counts as a mouse move there.
    void setEnterCountsAsMove(bool on) { m_enterCountsAsMove = on; }

    void setMousePointer(Pointer pointer);
    Pointer mousePointer() const { return m_pointer; }

    // The kept image. Its pixels are the screen's: at a scale above 100 %
    // it is made at twice the surface's size (devicePixelRatio() 2), so
    // that text and artwork drawn into it stay sharp.
    const QImage &keptImage() const;
    // 1 or 2: how many of the kept image's pixels make one of ours.
    int imageScale() const;
    // What the screen shows now: the kept image with any transient drawing.
    QImage screenImage() const;
    bool hasTransientDrawing() const { return m_transientState != TransientState::None; }

    // Mouse buttons as a bit set: 1 left, 2 right, 4 middle.
    static int buttonBits(Qt::MouseButtons buttons);

signals:
    void clicked();
    void mouseDown(int buttons, QPointF pos);
    void mouseMoved(int buttons, QPointF pos);
    void resized();
    void gotFocus();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // The image drawing goes to now, noting the area it is about to change;
    // marks transient drawing for the screen.
    QImage &target(const QRect &area);

private:
    enum class TransientState { None, Pending, Shown };

    // The kept image at the surface's size, made or resized (keeping what
    // it holds) when it is not.
    QImage &kept();
    void rebuildKept(const QSize &size, bool keepOld);
    // A move reported where a resting pointer now lies over the surface.
    void reportPointerArrival();
    // The picture's part within `area` (pixels of ours) into `image`.
    void drawPicture(QImage &image, const QRect &area) const;
    void dropTransient();

    bool m_autoRedraw = false;
    QColor m_backColor{Qt::white};
    QColor m_foreColor{Qt::black};
    QImage m_picture;
    QImage m_kept;
    QImage m_transient;
    QRect m_keptDirty;      // kept image drawn on since the last refresh
    QRect m_transientDirty; // screen-only drawing since the last refresh
    QRect m_drawingClip;    // null: draw anywhere
    TransientState m_transientState = TransientState::None;
    Pointer m_pointer = Pointer::Default;
    bool m_pressedHere = false;
    bool m_enterCountsAsMove = false;
};

// The scale of the artwork and of kept images on a screen of this device
// pixel ratio: 1 at 100 % and below, 2 above.
int artworkScale(double devicePixelRatio);

// What Surface::printAt draws, drawn into any image: `text` in `font` and
// `colour` with its cell's top-left corner at (x, y), limited to `clip`
// unless that is null. Pieces made ahead of time with it match a surface's
// own drawing pixel for pixel.
void printTextAt(QImage &image, const QFont &font, const QColor &colour, double x, double y, const QString &text,
                 const QRect &clip = QRect());

} // namespace vk
