#include "skin/appcontext.h"
#include "support/programdriver.h"
#include "ui/main/mainwindow.h"
#include "skin/templatemap.h"
#include "ui/main/mainscreen.h"

#include <QFontInfo>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace vk {
namespace {

using test::ProgramDriver;

TEST(StartScreenLayout, logoAndSloganFollowTheWindowAndTheTitleHeight)
{
    struct Case { int w, h, th1; StartScreenLayout expected; };
    const Case cases[] = {
        // 845 / 2 = 422.5 and 589 / 2 = 294.5 both go to the even neighbour.
        {1280, 800, 90, {368, 291, {422, 291}, {422, 216}}},
        {1024, 768, 90, {336, 275, {294, 275}, {294, 200}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.w);
        EXPECT_EQ(startScreenLayout(c.w, c.h, c.th1), c.expected);
    }
}

int countPixels(const QImage &image, const QRect &area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// The two copies of the start screen's title as the kept image shows them,
// looked for in `area` only: the top band's template tiles and the borders
// may hold any colour.
struct TitleCopies {
    QRect red, white;
    int redPixels = 0, whitePixels = 0;
};

TitleCopies titleCopies(const QImage &image, const QRect &area)
{
    TitleCopies t;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p == (qRgb(192, 0, 0) & 0xFFFFFF)) {
                t.red |= QRect(x, y, 1, 1);
                ++t.redPixels;
            } else if (p == (qRgb(255, 255, 255) & 0xFFFFFF)) {
                t.white |= QRect(x, y, 1, 1);
                ++t.whitePixels;
            }
        }
    return t;
}

class MainScreenPainting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.app->start());
        mainWindow = ctx().windows.find<MainWindow>(kMainWindowName);
        ASSERT_EQ(mainWindow->size(), QSize(1280, 800));
    }
    AppContext &ctx() { return t.app->context(); }
    QImage piece(const QRect &r) const { return t.app->context().skin.image().copy(r); }
    const QImage &kept() const { return mainWindow->keptImage(); }

    ProgramDriver t{QRect(0, 0, 1280, 800)};
    MainWindow *mainWindow = nullptr;
};

TEST_F(MainScreenPainting, startLookWithAKnownTitleHeightPutsLogoAndSloganWhereTheExampleSays)
{
    mainWindow->mainScreen().setTitleHeight([](const Form &, const QString &) { return 90; });
    mainWindow->paintMainScreen();
    EXPECT_EQ(mainWindow->mainScreen().logoTop(), 291);
    EXPECT_EQ(kept().copy(422, 291, 435, 300), piece(skin::kLargeLogo));
    EXPECT_EQ(kept().copy(422, 216, 436, 45), piece(skin::kSlogan));
    EXPECT_EQ(kept().copy(0, 0, 50, 50), piece(skin::kTopLeftCorner));

    // The smallest screen's window: 589 / 2 = 294.5 goes to 294.
    mainWindow->resize(1024, 768);
    mainWindow->paintMainScreen();
    EXPECT_EQ(mainWindow->mainScreen().logoTop(), 275);
    EXPECT_EQ(kept().copy(294, 275, 435, 300), piece(skin::kLargeLogo));
    EXPECT_EQ(kept().copy(294, 200, 436, 45), piece(skin::kSlogan));
}

TEST_F(MainScreenPainting, startLookMeasuresTheTitleInTheWindowsFont)
{
    const int th1 = mainWindow->textHeight(mainTitleText(20));
    EXPECT_GT(th1, 60) << "two lines at 28 points";
    // Worked by hand for an 800-pixel window: G = 800 - 305 - 37 - TH1 and the
    // logo's top (G - 300) / 2 + TH1 + 167, halves to the even neighbour; the
    // logo and the slogan both start at 845 / 2 = 422.5, so at 422.
    const int g = 800 - 305 - 37 - th1;
    const int logoTop = static_cast<int>(std::nearbyint((g - 300) / 2.0 + th1 + 167));
    EXPECT_EQ(mainWindow->mainScreen().logoTop(), logoTop);
    EXPECT_EQ(kept().copy(422, logoTop, 435, 300), piece(skin::kLargeLogo));
    EXPECT_EQ(kept().copy(422, logoTop - 75, 436, 45), piece(skin::kSlogan));

    // The title is drawn twice: dark red, with a white copy 2 pixels lower right.
    const QRect titleBand(0, 75, 1280, th1);
    EXPECT_GT(countPixels(kept(), titleBand, qRgb(192, 0, 0)), 500);
    EXPECT_GT(countPixels(kept(), titleBand, qRgb(255, 255, 255)), 100);

    // The settings panel is framed: the frame's top-left corner piece.
    const QRect panel = mainWindow->settingsPanel().geometry();
    EXPECT_EQ(kept().copy(panel.x() - 4, panel.y() - 4, 10, 4), piece(QRect(skin::kFrameTopLeft.topLeft(), QSize(10, 4))));
}

// The dark red title lies on top and its white copy shows 2 pixels right of
// and below it, on the first start screen (design face) and on the one after
// a stage (Arial).
TEST_F(MainScreenPainting, titleIsDarkRedOnTopOfAWhiteCopyTwoPixelsLowerRight)
{
    const auto expectDarkRedOnTop = [&] {
        // Below the top band, between the borders, above the slogan.
        const int top = skin::kStartTopBand.height();
        const QRect area(20, top, 1240, mainWindow->mainScreen().logoTop() - 75 - top);
        const TitleCopies t = titleCopies(kept(), area);
        ASSERT_FALSE(t.red.isNull());
        ASSERT_FALSE(t.white.isNull());
        EXPECT_EQ(t.white.right(), t.red.right() + 2);
        EXPECT_EQ(t.white.bottom(), t.red.bottom() + 2);
        // The copy on top shows whole; the one below it only where it sticks out.
        EXPECT_GT(t.redPixels, t.whitePixels * 3 / 2);
    };
    {
        SCOPED_TRACE("first start screen, design face");
        ASSERT_EQ(QFontInfo(mainWindow->font()).family(), QStringLiteral("Tahoma"));
        expectDarkRedOnTop();
    }
    ctx().run.stageActive = true;
    mainWindow->paintMainScreen();
    ctx().run.stageActive = false;
    mainWindow->paintMainScreen();
    {
        SCOPED_TRACE("start screen after a stage, Arial");
        ASSERT_EQ(mainWindow->font().family(), QStringLiteral("Arial"));
        expectDarkRedOnTop();
    }
}

TEST_F(MainScreenPainting, stageLookDrawsOnlyTheHeaderAndFrame)
{
    ctx().run.stageActive = true;
    mainWindow->paintMainScreen();
    EXPECT_EQ(kept().copy(0, 0, 195, 97), piece(skin::kStageHeaderBlock));
    EXPECT_EQ(kept().copy(1250, 0, 30, 97), piece(skin::kStageHeaderEnd));
    EXPECT_EQ(kept().copy(600, 50, 10, 47), piece(QRect(400, 147, 10, 47))) << "stage band tiles";

    const QRgb back = qRgb(197, 214, 237);
    EXPECT_EQ(countPixels(kept(), QRect(40, 97, 1200, 663), back), 1200 * 663)
        << "no title, no logo, no slogan, no frame around the settings panel";
}

// Both looks keep everything, the bottom corners included, in the kept picture.
TEST_F(MainScreenPainting, bottomCornersBelongToTheKeptPictureInBothLooks)
{
    const QSize ts = ctx().skin.size();
    for (const bool stage : {false, true}) {
        SCOPED_TRACE(stage);
        ctx().run.stageActive = stage;
        mainWindow->paintMainScreen();
        EXPECT_FALSE(mainWindow->autoRedraw());
        EXPECT_FALSE(mainWindow->hasTransientDrawing());
        EXPECT_EQ(kept().copy(0, 760, 40, 40), piece(skin::bottomLeftCorner(ts)));
        EXPECT_EQ(kept().copy(1240, 760, 40, 40), piece(skin::bottomRightCorner(ts)));
        EXPECT_EQ(kept().copy(600, 780, 10, 20), piece(skin::bottomBand(ts)));
        EXPECT_EQ(mainWindow->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 760, 40, 40),
                  piece(skin::bottomLeftCorner(ts)))
            << "and on screen after a repaint";
    }
}

// Painting changes the window's font and never restores it: the first
// start screen is in the design face, a start screen after a stage in Arial.
TEST_F(MainScreenPainting, theStageLookLeavesItsFaceToTheNextStartScreen)
{
    QFontInfo first(mainWindow->font());
    EXPECT_EQ(first.family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(first.bold());
    EXPECT_EQ(mainWindow->font().pointSizeF(), 28);

    ctx().run.stageActive = true;
    mainWindow->paintMainScreen();
    EXPECT_EQ(mainWindow->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(mainWindow->font().pointSizeF(), 12);

    ctx().run.stageActive = false;
    mainWindow->paintMainScreen();
    EXPECT_EQ(mainWindow->font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(mainWindow->font().bold());
    EXPECT_EQ(mainWindow->font().pointSizeF(), 28);
    // The labels and the panel keep their own fonts.
    EXPECT_EQ(QFontInfo(mainWindow->clockChoiceLabel().font()).family(), QStringLiteral("Tahoma"));
}

TEST_F(MainScreenPainting, stripDocksTopRightAndTheAddressFollowsItAtThePainting)
{
    auto expectDocked = [&] {
        const QRect strip = mainWindow->controlStrip().geometry();
        EXPECT_EQ(strip, QRect(mainWindow->width() - 72, 4, 68, 15));
        const QLabel &url = mainWindow->addressLabel();
        EXPECT_EQ(url.x() + url.width(), strip.x() - 20);
        EXPECT_EQ(url.y(), 3);
        EXPECT_EQ(mainWindow->addressShadowLabel().pos(), url.pos() + QPoint(1, 1));
        const QObjectList &stack = mainWindow->children();
        EXPECT_GT(stack.indexOf(&mainWindow->addressLabel()), stack.indexOf(&mainWindow->addressShadowLabel())) << "the address above its shadow";
    };
    expectDocked(); // after start-up

    mainWindow->resize(1100, 780);
    EXPECT_EQ(mainWindow->controlStrip().geometry(), QRect(1028, 4, 68, 15));
    mainWindow->paintMainScreen();
    expectDocked();
}

TEST_F(MainScreenPainting, aMinimisedWindowIsNeitherRepaintedNorRedocked)
{
    mainWindow->showMinimized();
    ASSERT_TRUE(mainWindow->isMinimized());
    const QRect strip = mainWindow->controlStrip().geometry();
    ctx().run.stageActive = true;
    mainWindow->mainScreen().resizeHandling();
    EXPECT_EQ(mainWindow->controlStrip().geometry(), strip);
    EXPECT_EQ(kept().copy(0, 0, 50, 50), piece(skin::kTopLeftCorner)) << "still the start look";
}

} // namespace
} // namespace vk
