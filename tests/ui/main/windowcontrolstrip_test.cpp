#include "platform/surface.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"
#include "ui/main/windowcontrolstrip.h"

#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>
#include <QTest>

#include <gtest/gtest.h>

namespace vk {
namespace {

using Look = WindowControlStrip::Look;

TEST(StripHitTest, onlyTheHorizontalPositionCountsAndTheDisabledCellIsEmpty)
{
    struct Case { double x; int cell; };
    const Case cases[] = {
        {-1, 0}, {0, 0}, {0.5, 1}, {17, 1}, {17.5, 2}, {34, 2},
        {34.5, 0}, {51, 0}, // cell 3 behaves like empty space
        {51.5, 4}, {68, 4}, {68.5, 0}, {200, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(stripHitTest(c.x), c.cell) << "x = " << c.x;
}

class Strip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        surface.resize(68, 15);
        surface.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
        strip.copyInitialGlyphs();
    }
    void TearDown() override { surface.releaseMouse(); }

    // What the screen shows in a cell, and the sprite it should be.
    QImage shown(int cell) const { return surface.screenImage().copy(17 * (cell - 1), 0, 17, 15); }
    QImage kept(int cell) const { return surface.keptImage().copy(17 * (cell - 1), 0, 17, 15); }
    QImage sprite(int cell, Look look) const
    {
        const QPoint at = WindowControlStrip::spriteSource(cell, look);
        return skin.image().copy(at.x(), at.y(), 17, 15);
    }
    bool captured() const { return QWidget::mouseGrabber() == &surface; }

    SkinTemplate skin;
    Surface surface;
    QStringList calls;
    WindowControlStrip strip{surface, skin,
                             {[this] { calls << "backdrop"; }, [this] { calls << "minimise"; },
                              [this] { calls << "hide backdrop"; }, [this] { calls << "close"; }}};
};

TEST_F(Strip, startsWithTheFourNormalGlyphsKept)
{
    for (int cell = 1; cell <= 4; ++cell)
        EXPECT_EQ(kept(cell), sprite(cell, Look::Normal)) << cell;
    EXPECT_EQ(strip.hotCell(), 0);
}

// Entering a cell shows its hover look on screen only and takes the capture;
// moving on to the next cell gives the first one back its normal look.
TEST_F(Strip, movingFromCellToCellKeepsTheCapture)
{
    strip.mouseMove(0, 5);
    EXPECT_EQ(strip.hotCell(), 1);
    EXPECT_TRUE(captured());
    EXPECT_EQ(shown(1), sprite(1, Look::Hover));
    EXPECT_EQ(kept(1), sprite(1, Look::Normal)) << "hover looks are not kept";

    strip.mouseMove(0, 20);
    EXPECT_EQ(strip.hotCell(), 2);
    EXPECT_TRUE(captured());
    EXPECT_EQ(shown(1), sprite(1, Look::Normal));
    EXPECT_EQ(shown(2), sprite(2, Look::Hover));
}

TEST_F(Strip, crossingTheDisabledCellIsLikeLeavingTheStrip)
{
    strip.mouseMove(0, 20);
    strip.mouseMove(0, 40);
    EXPECT_EQ(strip.hotCell(), 0);
    EXPECT_FALSE(captured());
    EXPECT_EQ(shown(2), sprite(2, Look::Normal));
    EXPECT_EQ(shown(3), sprite(3, Look::Normal)) << "no hover on the disabled cell";

    strip.mouseMove(0, 45); // not captured: nothing happens
    EXPECT_EQ(strip.hotCell(), 0);
    strip.mouseMove(0, 60);
    EXPECT_EQ(strip.hotCell(), 4);
    EXPECT_EQ(shown(4), sprite(4, Look::Hover));
}

// Only the left button alone shows the pressed look on entering a cell.
TEST_F(Strip, enteringWithTheLeftButtonAloneShowsThePressedLook)
{
    struct Case { int buttons; Look look; };
    for (const Case c : {Case{1, Look::Pressed}, Case{2, Look::Hover}, Case{0, Look::Hover}, Case{3, Look::Hover},
                         Case{4, Look::Hover}}) {
        SCOPED_TRACE(c.buttons);
        strip.mouseMove(0, 40); // off the cells
        strip.mouseMove(c.buttons, 25);
        EXPECT_EQ(shown(2), sprite(2, c.look));
    }
}

// While captured only X counts: leaving the strip straight down keeps the
// cell hot, and a click made there acts on that cell.
TEST_F(Strip, leavingVerticallyKeepsTheCellHotAndAClickStillActs)
{
    QTest::mouseMove(&surface, QPoint(8, 7));
    ASSERT_EQ(strip.hotCell(), 1) << "the surface's mouse moves reach the strip";
    ASSERT_TRUE(captured());
    QTest::mouseMove(&surface, QPoint(8, 60));
    EXPECT_EQ(strip.hotCell(), 1);
    EXPECT_TRUE(captured());

    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(8, 60));
    EXPECT_EQ(calls, QStringList{"backdrop"});
    EXPECT_EQ(strip.hotCell(), 0);
    EXPECT_FALSE(captured());
    EXPECT_EQ(kept(1), sprite(1, Look::Normal));
}

// A click is a press and a release on the strip: pressing a cell and letting
// go after dragging off the strip does nothing, and neither does a release
// over a cell the press was not made on.
TEST_F(Strip, aPressAndAReleaseInDifferentPlacesDoNothing)
{
    QTest::mouseMove(&surface, QPoint(25, 7));
    ASSERT_EQ(strip.hotCell(), 2);
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(25, 7));
    QTest::mouseMove(&surface, QPoint(100, 7)); // the left button still held
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(100, 7));
    EXPECT_EQ(calls, QStringList{}) << "pressed on minimise, released off the strip";
    EXPECT_FALSE(captured());

    QTest::mouseMove(&surface, QPoint(60, 7));
    ASSERT_EQ(strip.hotCell(), 4);
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(60, 7));
    EXPECT_EQ(calls, QStringList{}) << "pressed elsewhere, released on close";

    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(60, 7));
    EXPECT_EQ(calls, QStringList{"close"}) << "a press and a release on close";
}

TEST_F(Strip, mouseDownShowsThePressedLookOfTheHotCellOnly)
{
    strip.mouseDown();
    EXPECT_EQ(shown(1), sprite(1, Look::Normal));
    strip.mouseMove(0, 60);
    strip.mouseDown();
    EXPECT_EQ(shown(4), sprite(4, Look::Pressed));
}

TEST_F(Strip, clickActionsByCell)
{
    struct Case { double x; QStringList calls; int hotAfter; };
    const Case cases[] = {
        {5, {"backdrop"}, 0},
        {20, {"minimise", "hide backdrop"}, 0},
        {40, {}, 0}, // the disabled cell
        {60, {"close"}, 4}, // the program ends: nothing more happens here
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.x);
        calls.clear();
        strip.mouseMove(0, c.x);
        strip.mouseDown();
        strip.click();
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(strip.hotCell(), c.hotAfter);
        EXPECT_FALSE(captured());
        for (int cell = 1; cell <= 4; ++cell)
            EXPECT_EQ(kept(cell), sprite(cell, Look::Normal)) << cell;
        strip.mouseMove(0, 100); // leave, as the mouse would
    }
}

// A pointer resting on a cell is told what the cell does; the disabled
// cell and the strip's edges tell nothing.
TEST_F(Strip, restingPointerIsToldWhatEachCellDoes)
{
    struct Case { int x; const char *text; };
    const Case cases[] = {{8, "Backdrop"}, {25, "Minimise"}, {42, ""}, {60, "Close"}, {0, ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.x);
        QToolTip::showText(surface.mapToGlobal(QPoint(c.x, 7)), QStringLiteral("left over"), &surface);
        QHelpEvent help(QEvent::ToolTip, QPoint(c.x, 7), surface.mapToGlobal(QPoint(c.x, 7)));
        QCoreApplication::sendEvent(&surface, &help);
        if (*c.text) {
            EXPECT_TRUE(QToolTip::isVisible());
            EXPECT_EQ(QToolTip::text(), QString::fromLatin1(c.text));
        } else {
            EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000)) << "still telling " << QToolTip::text().toStdString();
        }
    }
    QToolTip::hideText();
}

} // namespace
} // namespace vk
