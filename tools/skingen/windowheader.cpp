#include "brand.h"
#include "frame.h"
#include "pieces.h"
#include "skin/palette.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace vk::skingen {

// ---------------------------------------------------------------------------------
// The header ("stage look" top of the main window, and the top of the exercise window).
//
// Laid out as a small window reaching from the header block to the right end piece
// (257 px: block 0..194, a plain stretch, right end 227..256). Rows 0..24 are the
// frame's top band, 25..59 the light strip, the rest body.

namespace {

constexpr int kStageW = kStageArea.width();
constexpr int kStageH = kStageArea.height();
constexpr int kHeaderStripTop = 25;
constexpr int kHeaderDividerRow = 59; // dark dividing line

} // namespace

QImage paintStage(const Fonts &fonts)
{
    QImage img = newImage(kStageW, kStageH, palette::kWindowBody);
    {
        QPainter p(&img);
        // The strip is flat: the clock box the program paints over the tab is flat
        // header colour from the window top down, and must not stand out.
        p.fillRect(QRect(0, kHeaderStripTop, kStageW, kHeaderDividerRow - 1 - kHeaderStripTop),
                   palette::kHeaderStrip);
        p.fillRect(QRect(0, kHeaderDividerRow - 1, kStageW, 1), palette::kDividerLight);
        p.fillRect(QRect(0, kHeaderDividerRow, kStageW, 1), palette::kDivider);

        // The logo pocket: the strip bulges down at the left and curves back up into
        // the dividing line, leaving room for the emblem.
        p.setRenderHint(QPainter::Antialiasing);
        const double bottom = 91.5;
        const double lineY = kHeaderDividerRow + 0.5;
        QPainterPath edge;
        edge.moveTo(0, bottom);
        edge.lineTo(112, bottom);
        edge.cubicTo(140, bottom, 146, lineY, 176, lineY);
        edge.lineTo(190, lineY);
        QPainterPath pocket = edge;
        pocket.lineTo(190, -20);
        pocket.lineTo(0, -20);
        pocket.closeSubpath();
        // Its shadow falls only under the bulge: faded out before the straight
        // divider, which has to stay identical to the tiled band slice.
        QImage shadow = shadowLayer(logicalSize(img), pocket, QPointF(0, 1.5), 2, QColor(40, 70, 130, 80));
        {
            QPainter sp(&shadow);
            sp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            QLinearGradient fade(150, 0, 184, 0);
            fade.setColorAt(0.0, Qt::black);
            fade.setColorAt(1.0, Qt::transparent);
            sp.fillRect(shadow.rect(), fade);
        }
        p.drawImage(0, 0, shadow);
        p.setPen(Qt::NoPen);
        p.fillPath(pocket.intersected(QPainterPath([] {
                       QPainterPath r;
                       r.addRect(0, kHeaderStripTop, kStageW, kStageH);
                       return r;
                   }())),
                   palette::kHeaderStrip);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette::kDividerLight, 1.0));
        p.drawPath(edge.translated(0, -1));
        p.setPen(QPen(palette::kDivider, 1.0));
        p.drawPath(edge);

        // Rounded right end: the divider turns up into the right border.
        const double right = kStageW - kSideWidth - 0.5; // centre of the last body column
        const double radius = 8.0;
        QPainterPath cut;
        cut.moveTo(right - radius, lineY);
        cut.arcTo(QRectF(right - 2 * radius, lineY - 2 * radius, 2 * radius, 2 * radius), 270, 90);
        cut.lineTo(right + 4, lineY - radius);
        cut.lineTo(right + 4, lineY + 4);
        cut.lineTo(right - radius, lineY + 4);
        cut.closeSubpath();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(right - radius + 0.5, lineY - 1.5, radius + 4, 2), palette::kHeaderStrip);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.fillPath(cut, palette::kWindowBody);
        QPainterPath turn;
        turn.moveTo(right - radius - 2, lineY);
        turn.lineTo(right - radius, lineY);
        turn.arcTo(QRectF(right - 2 * radius, lineY - 2 * radius, 2 * radius, 2 * radius), 270, 90);
        QPainterPath softTurn;
        softTurn.moveTo(right - radius - 2, lineY - 1);
        softTurn.lineTo(right - radius, lineY - 1);
        softTurn.arcTo(QRectF(right - 2 * radius + 1, lineY - 2 * radius + 1, 2 * radius - 2, 2 * radius - 2), 270, 90);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette::kDividerLight, 1.0));
        p.drawPath(softTurn);
        p.setPen(QPen(palette::kDivider, 1.0));
        p.drawPath(turn);

        paintEmblem(p, QPointF(52, 57), 22, logicalSize(img), true);

        // Product name beside the emblem, small, in two lines.
        p.setPen(palette::kNavy);
        p.setFont(makeFont(fonts.tahomaBold, 11));
        p.drawText(QRectF(80, 46, 110, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KELVARIS"));
        p.setPen(QColor(54, 92, 160));
        p.setFont(makeFont(fonts.tahoma, 10));
        p.drawText(QRectF(80, 60, 110, 13), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vendrakul"));
    }
    overlayFrame(img, 0, 0, FrameGeom{double(kStageW), 100000.0}, QRect(QPoint(0, 0), logicalSize(img)));
    return img;
}

// ---------------------------------------------------------------------------------
// The clock tab: hangs from the exercise window's header strip.
//
// Drawn 205 wide (left end 69, straight middle, right end 69). Its top nine rows repeat
// the strip's bottom rows (the tab sits 26 px below the window top, i.e. on strip rows
// 26..34), so the join cannot be seen.

namespace {

constexpr QRect kTabArea(skin::kTabLeft.topLeft(), skin::kTabRight.bottomRight());
constexpr int kTabW = kTabArea.width();
constexpr int kTabH = kTabArea.height();
constexpr int kTabOutlineRow = 55;

} // namespace

void paintTab(QImage &sheet)
{
    QPainter p(&sheet);
    p.translate(kTabArea.topLeft());
    // Context: strip rows 26..34 of the exercise window, with body below.
    const int stripRows = (kHeaderDividerRow - kHeaderStripTop) - 26 + 1; // rows down to the divider
    const int dividerRow = stripRows - 1;                                  // 8
    const int margin = 10;
    p.fillRect(QRect(-margin, 0, kTabW + 2 * margin, dividerRow - 1), palette::kHeaderStrip);
    p.fillRect(QRect(-margin, dividerRow - 1, kTabW + 2 * margin, 1), palette::kDividerLight);
    p.fillRect(QRect(-margin, dividerRow, kTabW + 2 * margin, 1), palette::kDivider);
    p.fillRect(QRect(-margin, dividerRow + 1, kTabW + 2 * margin, kTabH - dividerRow - 1), palette::kWindowBody);

    p.setRenderHint(QPainter::Antialiasing);
    const double top = dividerRow + 0.5;
    const double low = kTabOutlineRow + 0.5;
    QPainterPath outline;
    outline.moveTo(-margin, top);
    outline.lineTo(4, top);
    outline.cubicTo(24, top, 22, low, 44, low);
    outline.lineTo(kTabW - 44, low);
    outline.cubicTo(kTabW - 22, low, kTabW - 24, top, kTabW - 4, top);
    outline.lineTo(kTabW + margin, top);

    QPainterPath fill = outline;
    fill.lineTo(kTabW + margin, 0);
    fill.lineTo(-margin, 0);
    fill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.fillPath(fill, palette::kHeaderStrip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::kDivider, 1.0));
    p.drawPath(outline);
}

} // namespace vk::skingen
