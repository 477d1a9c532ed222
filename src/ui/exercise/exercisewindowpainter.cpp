#include "ui/exercise/exercisewindowpainter.h"

#include "platform/drawtext.h"
#include "platform/fonts.h"
#include "platform/movecontrol.h"
#include "platform/rounding.h"
#include "platform/surface.h"
#include "platform/textrect.h"
#include "skin/skinframe.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

#include <QWidget>

namespace vk {
namespace {

const QString kTitle = QStringLiteral("KELVARIS VENDRAKULS");

constexpr int kTileWidth = 10;
constexpr int kTabWidth = 300;
constexpr int kTabMiddleWidth = 162;
constexpr int kTabEndWidth = 69;
constexpr int kTabOffset = 190; // the tab sits this far right of the window's centre
constexpr int kClockHeight = 81;
constexpr int kMarkerWidth = 20;
constexpr int kMarkerHeight = 32;
constexpr int kMarkerPitch = 22;

} // namespace

int tabSliceX(int width, int n)
{
    return roundHalfEven((width - kTabWidth) / 2.0 + kTabOffset + kTabEndWidth + 2.0 * n);
}

ExerciseLayout exerciseLayout(int width, int height, int sheetWidth, int sheetHeight)
{
    const double W = width;
    const double H = height;
    ExerciseLayout l;
    l.tabLeft = roundHalfEven((W - kTabWidth) / 2.0 + kTabOffset);
    l.tabSlice0 = tabSliceX(width, 0);
    l.tabRight = roundHalfEven((W - kTabWidth) / 2.0 + kTabEndWidth + kTabMiddleWidth + kTabOffset);
    l.clockDisplay = QPointF((W - kTabMiddleWidth) / 2.0 + kTabOffset, 0.0);
    // The panel's top is worked out in single precision, as the sheet size is.
    const float t0 = (static_cast<float>(height) - static_cast<float>(sheetHeight + 345)) / 2.0f;
    l.sheetPanel = QPointF((W - (sheetWidth + 8)) / 2.0, roundHalfEven(t0) + 70);
    l.sheetPanelWidth = sheetWidth + 8;
    l.sheetPanelHeight = sheetHeight + 54;
    l.resultLeft = (W - kResultSize) / 2.0;
    l.backLeft = 50;
    l.finishLeft = W - kButtonWidth - 50;
    l.buttonTop = H - 80;
    return l;
}

void paintExerciseWindow(const ExerciseWindowParts &parts, const SkinTemplate &skin, TextRect &textRect)
{
    using namespace vk::skin;
    Surface &win = parts.window;
    const QImage &t = skin.image(win.imageScale());
    const QSize ts = skin.size();

    const std::int32_t W = win.width();
    const std::int32_t H = win.height();
    win.setAutoRedraw(true);
    win.cls();

    // A width or height that is not a multiple of the tile still gets a
    // last tile, clipped at the edge.
    const int across = Surface::tileCount(W, kTileWidth);
    const int down = Surface::tileCount(H, kTileWidth);
    win.tilePiece(t, kExerciseTopBand, 0, 0, across, 1);
    win.tilePiece(t, bottomBand(ts), 0, H - 20, across, 1);
    win.tilePiece(t, kLeftBorder, 0, 0, 1, down);
    win.tilePiece(t, rightBorder(ts), W - 20, 0, 1, down);

    win.copyPiece(t, kExerciseHeaderBlock, 0, 0);
    win.copyPiece(t, kExerciseHeaderEnd, W - 30, 0);
    win.copyPiece(t, bottomLeftCorner(ts), 0, H - 40);
    win.copyPiece(t, bottomRightCorner(ts), W - 40, H - 40);

    // White copy one pixel to the lower right, navy on top.
    win.setFont(makeFont(QStringLiteral("Arial"), 15, true));
    win.setForeColor(QColor(255, 255, 255));
    textRect.set(211, 3, W, H);
    win.drawText(textRect, 0, kTitle);
    win.setForeColor(QColor(0, 0, 128));
    textRect.set(210, 2, W, H);
    win.drawText(textRect, 0, kTitle);

    const ExerciseLayout l = exerciseLayout(W, H, parts.sheetWidth, parts.sheetHeight);
    win.copyPiece(t, kTabLeft, l.tabLeft, kTabTop);
    // The slices stand 2 pixels apart, as wide as they are: slice n is at
    // tabSliceX(W, 0) + 2n, since adding an even number keeps the rounding.
    win.tilePiece(t, kTabSlice, l.tabSlice0, kTabTop, kTabMiddleWidth / 2, 1);
    win.copyPiece(t, kTabRight, l.tabRight, kTabTop);

    moveControl(parts.clockDisplay, l.clockDisplay.x(), l.clockDisplay.y(), kTabMiddleWidth, kClockHeight);
    moveControl(parts.sheetPanel, l.sheetPanel.x(), l.sheetPanel.y(), l.sheetPanelWidth, l.sheetPanelHeight);
    moveControl(parts.resultPanel, l.resultLeft, parts.sheetPanel.y() + parts.sheetPanel.height() + 30, kResultSize,
                kResultSize);
    moveControl(parts.backButtonBox, l.backLeft, l.buttonTop, kButtonWidth, vk::kButtonHeight);
    moveControl(parts.finishButtonBox, l.finishLeft, parts.backButtonBox.y(), kButtonWidth, vk::kButtonHeight);

    win.refresh();
    win.setAutoRedraw(false);
    drawSkinFrame(win, parts.sheetPanel, skin);
}

void layoutSheetPanel(const QWidget &sheetPanel, QWidget &answerGrid, const QList<QWidget *> &markers)
{
    answerGrid.setGeometry(4, 50, sheetPanel.width() - 8, sheetPanel.height() - 8 - 46);
    if (markers.isEmpty())
        return;
    int left = answerGrid.x() + answerGrid.width() - 8 - kMarkerWidth;
    const int top = answerGrid.y() - 40;
    for (QWidget *marker : markers) {
        if (marker)
            marker->setGeometry(left, top, kMarkerWidth, kMarkerHeight);
        left -= kMarkerPitch;
    }
}

} // namespace vk
