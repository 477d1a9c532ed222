#include "preview.h"

#include "pieces.h"
#include "sheet.h"
#include "skin/palette.h"
#include "skin/templatemap.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace vk::skingen {

namespace {

class Composer {
public:
    Composer(const QImage &sheet, QImage &target) : sheet_(sheet), size_(target.size()), p_(&target) {}

    // Copies one piece of the sheet to `to`.
    void copy(const QRect &piece, QPoint to)
    {
        p_.drawImage(to.x(), to.y(), sheet_, piece.x(), piece.y(), piece.width(), piece.height());
    }

    // Repeats a piece along the row y from x0 up to x1, the last copy cut short.
    void tileX(const QRect &piece, int x0, int x1, int y)
    {
        for (int x = x0; x < x1; x += piece.width())
            copy(QRect(piece.topLeft(), QSize(std::min(piece.width(), x1 - x), piece.height())), {x, y});
    }
    // Repeats a piece down the column x from y0 to y1, the last copy cut short.
    void tileY(const QRect &piece, int x, int y0, int y1)
    {
        for (int y = y0; y < y1; y += piece.height())
            copy(QRect(piece.topLeft(), QSize(piece.width(), std::min(piece.height(), y1 - y))), {x, y});
    }

    // The side borders, starting below the top pieces of the given heights, and the
    // bottom band between the bottom corners.
    void sidesAndBottom(int leftTop, int rightTop)
    {
        const QRect right = skin::rightBorder(kTemplateSize);
        const QRect bottom = skin::bottomBand(kTemplateSize);
        tileY(skin::kLeftBorder, 0, leftTop, size_.height() - skin::bottomLeftCorner(kTemplateSize).height());
        tileY(right, size_.width() - right.width(), rightTop,
              size_.height() - skin::bottomRightCorner(kTemplateSize).height());
        tileX(bottom, skin::bottomLeftCorner(kTemplateSize).width(),
              size_.width() - skin::bottomRightCorner(kTemplateSize).width(), size_.height() - bottom.height());
    }
    void bottomCorners()
    {
        const QRect left = skin::bottomLeftCorner(kTemplateSize);
        const QRect right = skin::bottomRightCorner(kTemplateSize);
        copy(left, {0, size_.height() - left.height()});
        copy(right, {size_.width() - right.width(), size_.height() - right.height()});
    }
    // A piece put against the target's right edge at the top.
    void topRight(const QRect &piece) { copy(piece, {size_.width() - piece.width(), 0}); }

    // Button wd x 50 in one of the three looks (0 normal, 1 highlighted, 2 pressed).
    void button(int look, int dx, int dy, int wd, const QString &caption, const QFont &font)
    {
        const int rowTops[3] = {skin::kButtonNormalTop, skin::kButtonHoverTop, skin::kButtonPressedTop};
        const int top = rowTops[look];
        tileX(QRect(skin::kButtonMiddleX, top, skin::kButtonMiddleWidth, skin::kButtonHeight), dx, dx + wd, dy);
        copy(QRect(skin::kButtonLeftCapX, top, skin::kButtonLeftCapWidth, skin::kButtonHeight), {dx, dy});
        copy(QRect(skin::kButtonRightCapX, top, skin::kButtonRightCapWidth, skin::kButtonHeight),
             {dx + wd - skin::kButtonRightCapWidth, dy});
        p_.setFont(font);
        p_.setPen(look == 0 ? QColor(0, 0, 0) : QColor(64, 64, 0));
        p_.drawText(QRect(dx, dy, wd, 48), Qt::AlignCenter, caption);
    }

    void panel(const QRect &r)
    {
        const int right = r.x() + r.width();
        const int bottom = r.y() + r.height();
        p_.fillRect(r, palette::kPanelBlue);
        const int x0 = r.left() + skin::kFrameTopLeft.width();
        const int x1 = right - skin::kFrameTopRight.width();
        tileX(skin::kFrameTop, x0, x1, r.top());
        tileX(skin::kFrameBottom, x0, x1, bottom - skin::kFrameBottom.height());
        const int y0 = r.top() + skin::kFrameTopLeft.height();
        const int y1 = bottom - skin::kFrameBottomLeft.height();
        tileY(skin::kFrameLeft, r.left(), y0, y1);
        tileY(skin::kFrameRight, right - skin::kFrameRight.width(), y0, y1);
        copy(skin::kFrameTopLeft, r.topLeft());
        copy(skin::kFrameTopRight, {right - skin::kFrameTopRight.width(), r.top()});
        copy(skin::kFrameBottomLeft, {r.left(), bottom - skin::kFrameBottomLeft.height()});
        copy(skin::kFrameBottomRight,
             {right - skin::kFrameBottomRight.width(), bottom - skin::kFrameBottomRight.height()});
    }

    // The strip of four window controls, 4 px from the top and right edges; the
    // maximise button is disabled and has its normal look only.
    void controls(int state)
    {
        const int rowTops[3] = {skin::kStripNormalTop, skin::kStripHoverTop, skin::kStripPressedTop};
        const int top = rowTops[state];
        auto cell = [](int left, int cellTop) {
            return QRect(left, cellTop, skin::kStripCellWidth, skin::kStripCellHeight);
        };
        const int x = size_.width() - kControlStripTop - 4 * skin::kStripCellWidth;
        const int step = skin::kStripCellWidth;
        copy(cell(skin::kStripBackdropLeft, top), {x, kControlStripTop});
        copy(cell(skin::kStripMinimiseLeft, top), {x + step, kControlStripTop});
        copy(cell(skin::kStripMaximiseLeft, skin::kStripNormalTop), {x + 2 * step, kControlStripTop});
        copy(cell(skin::kStripCloseLeft, top), {x + 3 * step, kControlStripTop});
    }

    QPainter &painter() { return p_; }

private:
    const QImage &sheet_;
    QSize size_;
    QPainter p_;
};

void composeStart(const QImage &sheet, QImage &out, const Fonts &fonts, bool stageLook, int controlState)
{
    const int w = out.width();
    out.fill(palette::kWindowBody);
    Composer c(sheet, out);
    c.tileX(skin::kStartTopBand, 0, w, 0);
    c.sidesAndBottom(skin::kTopLeftCorner.height(), skin::topRightCorner(kTemplateSize).height());
    c.copy(skin::kTopLeftCorner, {0, 0});
    c.topRight(skin::topRightCorner(kTemplateSize));
    c.bottomCorners();
    if (stageLook) {
        c.tileX(skin::kStageTopBand, 0, w, 0);
        c.copy(skin::kStageHeaderBlock, {0, 0});
        c.topRight(skin::kStageHeaderEnd);
    } else {
        c.copy(skin::kSlogan, {422, 216});
        c.copy(skin::kLargeLogo, {422, 291});
        QPainter &p = c.painter();
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(makeFont(fonts.sansBold, 40, true));
        p.setPen(palette::kNavy);
        p.drawText(QRect(0, 75, w, 95), Qt::AlignCenter, QStringLiteral("KELVARIS VENDRAKUL"));
        const QFont bf = makeFont(fonts.tahomaBold, 15);
        c.button(0, 440, 640, 150, QStringLiteral("Start"), bf);
        c.button(1, 615, 640, 150, QStringLiteral("Options"), bf);
        c.button(2, 790, 640, 150, QStringLiteral("Results"), bf);
    }
    c.controls(controlState);
}

void composeExercise(const QImage &sheet, QImage &out, const Fonts &fonts)
{
    const int w = out.width();
    out.fill(palette::kWindowBody);
    Composer c(sheet, out);
    c.tileX(skin::kExerciseTopBand, 0, w, 0);
    c.sidesAndBottom(skin::kExerciseHeaderBlock.height(), skin::kExerciseHeaderEnd.height());
    c.copy(skin::kExerciseHeaderBlock, {0, 0});
    c.topRight(skin::kExerciseHeaderEnd);
    c.bottomCorners();

    // The clock tab: both ends around 81 two-pixel slices, the clock box on top.
    const int tabX = (w - 300) / 2 + 190;
    const int tabY = 26;
    const int boxX = tabX + skin::kTabLeft.width();
    const int boxWidth = 81 * skin::kTabSlice.width();
    c.copy(skin::kTabLeft, {tabX, tabY});
    for (int x = boxX; x < boxX + boxWidth; x += skin::kTabSlice.width())
        c.copy(skin::kTabSlice, {x, tabY});
    c.copy(skin::kTabRight, {boxX + boxWidth, tabY});

    QPainter &p = c.painter();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(boxX, 0, boxWidth, 81), palette::kHeaderStrip);
    p.setFont(makeFont(fonts.monoBold, 30));
    p.setPen(palette::kNavy);
    p.drawText(QRect(boxX, 0, boxWidth, 81), Qt::AlignCenter, QStringLiteral("04:17"));

    QFont title = makeFont(QStringLiteral("Liberation Sans"), 20, true);
    p.setFont(title);
    p.setPen(palette::kNavy);
    p.drawText(QPointF(210, 2 + QFontMetricsF(title).ascent()), QStringLiteral("KELVARIS VENDRAKULS"));

    const QFont bf = makeFont(fonts.tahomaBold, 15);
    c.button(0, 200, 660, 150, QStringLiteral("Check"), bf);
    c.button(1, 370, 660, 150, QStringLiteral("Hint"), bf);
    c.button(2, 540, 660, 150, QStringLiteral("Next"), bf);
    c.panel(QRect(120, 200, 1040, 420));
    p.setFont(makeFont(fonts.monoBold, 24));
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(120, 200, 1040, 420), Qt::AlignCenter,
               QStringLiteral("73914028565019347286\n\u00d7 50827319466028175393"));
}

} // namespace

int writePreviews(const QString &resources, const QString &dir, const Fonts &fonts)
{
    QImage sheet(resources + "/skin/template.png");
    if (sheet.isNull() || sheet.size() != kTemplateSize) {
        std::fprintf(stderr, "skingen: cannot read %s/skin/template.png\n", qPrintable(resources));
        return 1;
    }
    sheet = sheet.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QDir().mkpath(dir);
    bool ok = true;

    QImage start(kTemplateSize, QImage::Format_ARGB32_Premultiplied);
    composeStart(sheet, start, fonts, false, 0);
    ok &= savePng(start, dir + "/start.png");

    for (int state = 0; state < 3; ++state) {
        QImage stage(kTemplateSize.width(), 200, QImage::Format_ARGB32_Premultiplied);
        composeStart(sheet, stage, fonts, true, state);
        ok &= savePng(stage, dir + QStringLiteral("/stage-%1.png").arg(state));
    }

    QImage exercise(kTemplateSize.width(), 775, QImage::Format_ARGB32_Premultiplied);
    composeExercise(sheet, exercise, fonts);
    ok &= savePng(exercise, dir + "/exercise.png");

    // The exercise window docked 25 px below the stage-look main window's top.
    QImage joined(kTemplateSize.width(), 800, QImage::Format_ARGB32_Premultiplied);
    composeStart(sheet, joined, fonts, true, 0);
    {
        QPainter p(&joined);
        p.drawImage(0, 25, exercise);
    }
    ok &= savePng(joined, dir + "/joined.png");
    return ok ? 0 : 1;
}

} // namespace vk::skingen
