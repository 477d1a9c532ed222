#include "pieces.h"
#include "sheet.h"
#include "skin/palette.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <array>
#include <utility>

namespace vk::skingen {

// ---------------------------------------------------------------------------------
// Drawn push buttons: strips 180 x 50 from the left cap to the right cap, middle
// horizontally uniform.

namespace {

constexpr QSize kButtonStripSize(skin::kButtonRightCapX + skin::kButtonRightCapWidth - skin::kButtonLeftCapX,
                                 skin::kButtonHeight);

struct ButtonLook {
    std::array<std::pair<double, QColor>, 4> stops;
    QColor outline;
    QColor glossTop;
};

QImage paintButtonStrip(const ButtonLook &look)
{
    const QSize size = kButtonStripSize;
    QImage img = newImage(size.width(), size.height(), palette::kWindowBody);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(2.0, 3.0, 176.0, 42.0);
    QPainterPath shape;
    shape.addRoundedRect(body, 12.0, 12.0);
    paintShadow(p, size, shape, QPointF(0.0, 2.0), 2, QColor(30, 50, 90, 95));

    QLinearGradient fill(0, body.top(), 0, body.bottom());
    for (const auto &[at, colour] : look.stops)
        fill.setColorAt(at, colour);
    p.setPen(QPen(look.outline, 1.2));
    p.setBrush(fill);
    p.drawPath(shape);

    // Gloss on the upper half and a crisp inner lip along the top.
    QPainterPath gloss;
    gloss.addRoundedRect(QRectF(5.0, 5.0, 170.0, 18.0), 9.0, 9.0);
    QLinearGradient glossFill(0, 5.0, 0, 23.0);
    glossFill.setColorAt(0.0, look.glossTop);
    glossFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glossFill);
    p.drawPath(gloss);
    QPainterPath lip;
    lip.addRoundedRect(body.adjusted(1.2, 1.2, -1.2, -1.2), 11.0, 11.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    p.drawPath(lip);
    return img;
}

} // namespace

void paintButtons(QImage &sheet)
{
    const ButtonLook normal{{{{0.0, QColor(255, 255, 255)},
                              {0.48, QColor(200, 218, 245)},
                              {0.52, QColor(156, 188, 236)},
                              {1.0, QColor(34, 78, 168)}}},
                            QColor(26, 58, 126),
                            QColor(255, 255, 255, 170)};
    const ButtonLook highlighted{{{{0.0, QColor(255, 255, 232)},
                                   {0.48, QColor(246, 242, 178)},
                                   {0.52, QColor(228, 224, 132)},
                                   {1.0, QColor(136, 132, 36)}}},
                                 QColor(104, 100, 28),
                                 QColor(255, 255, 255, 170)};
    const ButtonLook pressed{{{{0.0, QColor(88, 184, 76)},
                               {0.45, QColor(164, 222, 150)},
                               {0.55, QColor(196, 236, 186)},
                               {1.0, QColor(255, 255, 255)}}},
                             QColor(62, 130, 56),
                             QColor(255, 255, 255, 90)};
    QPainter p(&sheet);
    p.drawImage(skin::kButtonLeftCapX, skin::kButtonNormalTop, paintButtonStrip(normal));
    p.drawImage(skin::kButtonLeftCapX, skin::kButtonHoverTop, paintButtonStrip(highlighted));
    p.drawImage(skin::kButtonLeftCapX, skin::kButtonPressedTop, paintButtonStrip(pressed));
}

// ---------------------------------------------------------------------------------
// The framed panel: exact pixels, no anti-aliasing; the program tiles its edges.

void paintPanel(QImage &sheet)
{
    // One colour per line of the border, outermost first.
    static_assert(skin::kFrameTop.height() == 4 && skin::kFrameLeft.width() == 4);
    const QRgb horizontal[4] = {qRgb(120, 121, 122), qRgb(194, 195, 197), qRgb(245, 246, 248),
                                qRgb(248, 249, 251)};
    const QRgb vertical[4] = {qRgb(155, 155, 157), qRgb(212, 214, 216), qRgb(243, 245, 247),
                              qRgb(244, 246, 248)};
    const QRect panel = skin::kFramePanel;
    for (int y = panel.top(); y <= panel.bottom(); ++y)
        for (int x = panel.left(); x <= panel.right(); ++x) {
            QRgb c = palette::kPanelBlue.rgb();
            if (x - panel.left() < 4)
                c = vertical[x - panel.left()];
            else if (x >= panel.right() - 3)
                c = vertical[x - (panel.right() - 3)];
            // The horizontal lines run through the corners.
            if (y - panel.top() < 4)
                c = horizontal[y - panel.top()];
            else if (y >= panel.bottom() - 3)
                c = horizontal[y - (panel.bottom() - 3)];
            setArtPixel(sheet, x, y, c);
        }
}

// ---------------------------------------------------------------------------------
// Window-control sprites: 17 x 15 cells, rows normal / hover / pressed.

namespace {

constexpr int kCtlW = skin::kStripCellWidth;
constexpr int kCtlH = skin::kStripCellHeight;

enum class Glyph { Backdrop, Minimise, Maximise, Restore, Close, MaximiseDisabled };

void paintGlyph(QPainter &p, Glyph glyph, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    switch (glyph) {
    case Glyph::Backdrop: {
        const QPointF up[3] = {{4.5, 6.6}, {8.5, 2.4}, {12.5, 6.6}};
        const QPointF down[3] = {{4.5, 8.4}, {8.5, 12.6}, {12.5, 8.4}};
        p.drawPolygon(up, 3);
        p.drawPolygon(down, 3);
        break;
    }
    case Glyph::Minimise:
        p.drawRect(QRectF(4.5, 9.5, 8.0, 2.5));
        break;
    case Glyph::Maximise:
    case Glyph::MaximiseDisabled: {
        QPainterPath frame;
        frame.addRect(QRectF(4.0, 3.0, 9.0, 9.0));
        frame.addRect(QRectF(5.3, 5.2, 6.4, 5.5));
        frame.setFillRule(Qt::OddEvenFill);
        p.drawPath(frame);
        break;
    }
    case Glyph::Restore: {
        QPainterPath back;
        back.addRect(QRectF(6.5, 2.5, 7.0, 6.5));
        back.addRect(QRectF(7.6, 4.2, 4.8, 3.7));
        back.setFillRule(Qt::OddEvenFill);
        p.drawPath(back);
        QPainterPath front;
        front.addRect(QRectF(3.5, 5.8, 7.0, 6.7));
        front.addRect(QRectF(4.6, 7.5, 4.8, 3.9));
        front.setFillRule(Qt::OddEvenFill);
        p.drawPath(front);
        break;
    }
    case Glyph::Close: {
        QPainterPath cross;
        cross.moveTo(4.8, 3.8);
        cross.lineTo(12.2, 11.2);
        cross.moveTo(12.2, 3.8);
        cross.lineTo(4.8, 11.2);
        p.drawPath(strokeOutline(cross, 2.0, Qt::FlatCap));
        break;
    }
    }
}

} // namespace

void paintControls(QImage &sheet)
{
    struct Cell {
        Glyph glyph;
        int left;
    };
    const Cell cells[] = {
        {Glyph::Backdrop, skin::kStripBackdropLeft}, {Glyph::Minimise, skin::kStripMinimiseLeft},
        {Glyph::Maximise, skin::kStripEnabledMaximiseLeft}, {Glyph::Restore, skin::kStripRestoreLeft},
        {Glyph::Close, skin::kStripCloseLeft}, {Glyph::MaximiseDisabled, skin::kStripMaximiseLeft},
    };
    const int rowTops[3] = {skin::kStripNormalTop, skin::kStripHoverTop, skin::kStripPressedTop};
    // Backgrounds are the top band itself, so the sprites sit on it without a seam.
    std::array<QRgb, kCtlH> band{};
    for (int k = 0; k < kCtlH; ++k)
        band[std::size_t(k)] = artPixel(sheet, kTemplateSize.width() / 2, kControlStripTop + k);

    for (int state = 0; state < 3; ++state)
        for (const Cell &cell : cells) {
            const int cx = cell.left;
            const int cy = rowTops[state];
            for (int k = 0; k < kCtlH; ++k)
                for (int x = 0; x < kCtlW; ++x)
                    setArtPixel(sheet, cx + x, cy + k, band[std::size_t(k)]);

            QPainter p(&sheet);
            p.setRenderHint(QPainter::Antialiasing);
            p.translate(cx, cy);
            const Glyph glyph = cell.glyph;
            const bool disabled = glyph == Glyph::MaximiseDisabled;
            const bool close = glyph == Glyph::Close;
            const QRectF face(0.5, 0.5, 16.0, 14.0);
            if (disabled) {
                paintGlyph(p, glyph, QColor(128, 150, 186));
                continue;
            }
            if (state == 0) {
                p.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
                p.setBrush(QColor(255, 255, 255, 18));
                p.drawRoundedRect(face, 3.0, 3.0);
            } else if (state == 1) {
                QLinearGradient g(0, 0, 0, kCtlH);
                g.setColorAt(0.0, close ? QColor(250, 150, 130, 235) : QColor(200, 225, 255, 200));
                g.setColorAt(1.0, close ? QColor(200, 50, 36, 235) : QColor(110, 160, 230, 170));
                p.setPen(QPen(QColor(255, 255, 255, 190), 1.0));
                p.setBrush(g);
                p.drawRoundedRect(face, 3.0, 3.0);
            } else {
                QLinearGradient g(0, 0, 0, kCtlH);
                g.setColorAt(0.0, close ? QColor(110, 20, 12, 235) : QColor(8, 24, 60, 210));
                g.setColorAt(1.0, close ? QColor(170, 40, 28, 235) : QColor(30, 64, 130, 190));
                p.setPen(QPen(QColor(10, 22, 50, 220), 1.0));
                p.setBrush(g);
                p.drawRoundedRect(face, 3.0, 3.0);
            }
            const QPointF press = state == 2 ? QPointF(0.0, 1.0) : QPointF(0.0, 0.0);
            p.translate(press + QPointF(0.6, 0.8));
            paintGlyph(p, glyph, QColor(8, 22, 56, state == 1 ? 120 : 160));
            p.translate(QPointF(-0.6, -0.8));
            paintGlyph(p, glyph, state == 2 ? QColor(206, 222, 250) : QColor(255, 255, 255));
        }
}

} // namespace vk::skingen
