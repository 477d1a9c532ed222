#include "exercisetestsupport.h"

#include "platform/surface.h"
#include "platform/textrect.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"
#include "ui/exercise/exercisewindowpainter.h"

#include <gtest/gtest.h>

#include <memory>

namespace vk {
namespace {

using test::sourceAt;

const QRgb kNavy = qRgb(0, 0, 128);
const QRgb kWhite = qRgb(255, 255, 255);

// A window with the controls the layout places; the standard sheet.
struct Window {
    explicit Window(int w, int h)
    {
        window = std::make_unique<Surface>();
        window->setBackColor(QColor(197, 214, 237));
        window->resize(w, h);
        for (Surface **s : {&clockDisplay, &sheetPanel, &resultPanel, &backButtonBox, &finishButtonBox})
            *s = new Surface(window.get());
    }
    void paint(const SkinTemplate &skin)
    {
        paintExerciseWindow({*window, *clockDisplay, *sheetPanel, *resultPanel, *backButtonBox, *finishButtonBox, 894, 180}, skin,
                            textRect);
    }
    const QImage &image() const { return window->keptImage(); }

    std::unique_ptr<Surface> window;
    Surface *clockDisplay = nullptr;
    Surface *sheetPanel = nullptr;
    Surface *resultPanel = nullptr;
    Surface *backButtonBox = nullptr;
    Surface *finishButtonBox = nullptr;
    TextRect textRect;
};

class ExercisePainter : public ::testing::Test
{
protected:
    SkinTemplate skin{test::coordinateTemplate()};
};

TEST_F(ExercisePainter, placesTheControlsOfTheWorkedExample)
{
    Window w(1024, 743);
    w.paint(skin);
    EXPECT_EQ(w.sheetPanel->geometry(), QRect(61, 179, 902, 234));
    EXPECT_EQ(w.resultPanel->geometry(), QRect(437, 443, 150, 150));
    EXPECT_EQ(w.backButtonBox->geometry(), QRect(50, 663, 150, 50));
    EXPECT_EQ(w.finishButtonBox->geometry(), QRect(824, 663, 150, 50));
    EXPECT_EQ(w.clockDisplay->geometry(), QRect(621, 0, 162, 81));

    // The tab runs from 552 to 851: left end, slices, right end.
    EXPECT_EQ(sourceAt(w.image(), 552, 40), QPoint(474, 111));
    EXPECT_EQ(sourceAt(w.image(), 851, 40), QPoint(678, 111));
    EXPECT_NE(sourceAt(w.image(), 852, 40), QPoint(679, 111));
    EXPECT_EQ(sourceAt(w.image(), 700, 30), QPoint(545 + (700 - 621) % 2, 101));
}

TEST_F(ExercisePainter, oddWidthPutsTheTabPiecesOnEvenRoundedPlaces)
{
    Window w(1023, 743);
    w.paint(skin);
    const QImage &img = w.image();
    EXPECT_EQ(sourceAt(img, 552, 40), QPoint(474, 111)) << "left end at round(551.5) = 552";
    EXPECT_EQ(sourceAt(img, 551, 20), QPoint(401, 142)) << "header band left of the tab";
    // Slices land on 620, 622, ... 780; the first overlaps the left end's last column.
    EXPECT_EQ(sourceAt(img, 620, 40), QPoint(545, 111));
    EXPECT_EQ(sourceAt(img, 619, 40), QPoint(474 + 67, 111));
    for (int n = 0; n <= 80; ++n) {
        ASSERT_EQ(sourceAt(img, 620 + 2 * n, 50), QPoint(545, 121)) << "slice " << n;
        ASSERT_EQ(sourceAt(img, 621 + 2 * n, 50), QPoint(546, 121)) << "slice " << n;
    }
    EXPECT_EQ(sourceAt(img, 782, 40), QPoint(610, 111)) << "right end at round(782.5) = 782";
    EXPECT_EQ(sourceAt(img, 782 + 68, 40), QPoint(678, 111));

    // The controls get half-pixel places, halves to even.
    EXPECT_EQ(w.clockDisplay->x(), 620);  // 620.5
    EXPECT_EQ(w.sheetPanel->x(), 60);  // 60.5
    EXPECT_EQ(w.resultPanel->x(), 436); // 436.5
    EXPECT_EQ(w.finishButtonBox->x(), 823);
}

TEST_F(ExercisePainter, bandsAndBordersCoverTheEdgesForAnyWidth)
{
    for (const QSize size : {QSize(1024, 743), QSize(1023, 741), QSize(1027, 768), QSize(1280, 775)}) {
        Window w(size.width(), size.height());
        w.paint(skin);
        const QImage &img = w.image();
        const int W = size.width();
        const int H = size.height();
        SCOPED_TRACE(testing::Message() << W << " x " << H);
        for (int x = 0; x < W; ++x) {
            // Header strip rows below the title, the bottom band, each from the template.
            ASSERT_NE(sourceAt(img, x, 33).x(), -1) << "header at x = " << x;
            ASSERT_NE(sourceAt(img, x, H - 1).x(), -1) << "bottom at x = " << x;
            ASSERT_NE(sourceAt(img, x, H - 20).x(), -1) << "bottom at x = " << x;
        }
        for (int y = 0; y < H; ++y) {
            ASSERT_NE(sourceAt(img, 0, y).x(), -1) << "left border at y = " << y;
            ASSERT_NE(sourceAt(img, W - 1, y).x(), -1) << "right border at y = " << y;
        }
        // Between the corners the bands are the tiles themselves.
        const int midX = (W / 2 / 10) * 10 + 3;
        EXPECT_EQ(sourceAt(img, midX - 300, H - 5), QPoint(53, 795));
        EXPECT_EQ(sourceAt(img, 5, H / 2), QPoint(5, 260 + (H / 2) % 10));
        EXPECT_EQ(sourceAt(img, W - 15, H / 2), QPoint(1265, 260 + (H / 2) % 10));
        // The corners overwrite the bands.
        EXPECT_EQ(sourceAt(img, 0, 0), QPoint(195, 122));
        EXPECT_EQ(sourceAt(img, W - 1, 45), QPoint(451, 167));
        EXPECT_EQ(sourceAt(img, 0, H - 1), QPoint(0, 799));
        EXPECT_EQ(sourceAt(img, W - 1, H - 1), QPoint(1279, 799));
        // The body is the window's colour.
        EXPECT_EQ(img.pixel(W / 2, H - 60) & 0xFFFFFF, qRgb(197, 214, 237) & 0xFFFFFF);
    }
}

TEST_F(ExercisePainter, titleIsOneLineWithAWhiteCopyOnePixelLowerRight)
{
    Window w(1024, 743);
    w.paint(skin);
    const QImage &img = w.image();
    int navyTop = 1000, navyLeft = 1000, navyBottom = -1;
    int whiteTop = 1000, whiteLeft = 1000;
    for (int y = 0; y < 97; ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            if (p == (kNavy & 0xFFFFFF)) {
                navyTop = std::min(navyTop, y);
                navyLeft = std::min(navyLeft, x);
                navyBottom = std::max(navyBottom, y);
            } else if (p == (kWhite & 0xFFFFFF)) {
                whiteTop = std::min(whiteTop, y);
                whiteLeft = std::min(whiteLeft, x);
            }
        }
    ASSERT_GE(navyBottom, 0) << "the navy title is drawn";
    EXPECT_GE(navyLeft, 210);
    EXPECT_GE(navyTop, 2);
    EXPECT_LT(navyBottom, 2 + 30) << "one line only";
    EXPECT_GE(whiteLeft, 211);
    EXPECT_GE(whiteTop, 3);
    EXPECT_EQ(w.window->foreColor(), QColor(0, 0, 128)) << "the colour stays as last set";
    EXPECT_EQ(w.window->font().pointSizeF(), 15.0);
    EXPECT_TRUE(w.window->font().bold());
}

TEST_F(ExercisePainter, titleIsClippedAtTheRightEdgeInsteadOfWrapping)
{
    Window w(330, 400); // "KELVARIS VENDRAKULS" is far wider than 120 pixels
    w.paint(skin);
    int lowest = -1;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 330; ++x)
            if ((w.image().pixel(x, y) & 0xFFFFFF) == (kNavy & 0xFFFFFF))
                lowest = std::max(lowest, y);
    ASSERT_GE(lowest, 0);
    EXPECT_LT(lowest, 32);
}

TEST_F(ExercisePainter, sheetPanelIsFramedAndThePersistentImageSwitchedOff)
{
    Window w(1024, 743);
    w.paint(skin);
    EXPECT_FALSE(w.window->autoRedraw());
    EXPECT_EQ(sourceAt(w.image(), 61 - 4, 179 - 4), skin::kFrameTopLeft.topLeft());
    EXPECT_EQ(sourceAt(w.image(), 61 + 902 + 3, 179 + 234 + 3), skin::kFrameBottomRight.bottomRight());
}

TEST(SheetPanelLayout, gridFillsThePanelBelowTheMarkerStripAndMarkersFollowTheColumns)
{
    QWidget panel;
    panel.resize(902, 234);
    auto *grid = new QWidget(&panel);
    QList<QWidget *> markers;
    for (int i = 0; i < 20; ++i)
        markers.append(new QWidget(&panel));
    layoutSheetPanel(panel, *grid, markers);
    EXPECT_EQ(grid->geometry(), QRect(4, 50, 894, 180));
    // Marker 0 over the units column, each next one a 22-pixel column further left.
    EXPECT_EQ(markers[0]->geometry(), QRect(4 + 894 - 8 - 20, 10, 20, 32));
    for (int i = 1; i < 20; ++i)
        EXPECT_EQ(markers[i]->geometry(), markers[i - 1]->geometry().translated(-22, 0)) << i;
    EXPECT_EQ(markers[19]->x(), 870 - 19 * 22);
}

} // namespace
} // namespace vk
