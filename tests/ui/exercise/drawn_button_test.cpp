#include "exercisetestsupport.h"

#include "platform/fonts.h"
#include "platform/surface.h"
#include "platform/textrect.h"
#include "skin/skintemplate.h"
#include "ui/exercise/drawnbutton.h"

#include <gtest/gtest.h>

#include <memory>

namespace vk {
namespace {

using test::moveOver;
using test::sourceAt;

// The look a button image shows, told by the template row its left end came from.
QString lookOf(const QImage &image)
{
    const QPoint source = sourceAt(image, 3, 10);
    switch (source.y() - 10) {
    case 593: return QStringLiteral("N");
    case 643: return QStringLiteral("H");
    case 693: return QStringLiteral("P");
    default: return QStringLiteral("?");
    }
}

class DrawnButtons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<Surface>();
        window->resize(600, 200);
        back = addButton(50, "BACK", backState);
        finish = addButton(400, "FINISH", finishState);
        window->show();
        ASSERT_EQ(lookOf(back->button().keptImage()), "N");
    }
    void TearDown() override
    {
        if (QWidget *grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
    }

    std::unique_ptr<DrawnButton> addButton(int left, const char *caption, std::uint8_t &state)
    {
        auto *s = new Surface(window.get());
        s->setFont(makeFont(QStringLiteral("Tahoma"), 12.75, true));
        auto button = std::make_unique<DrawnButton>(*s, QString::fromLatin1(caption), state, skin, textRect);
        s->setGeometry(left, 100, 150, 50); // the resize paints the normal look
        return button;
    }

    static QString screenLook(const DrawnButton &b) { return lookOf(b.button().screenImage()); }
    static bool holdsCapture(const DrawnButton &b) { return QWidget::mouseGrabber() == &b.button(); }

    SkinTemplate skin{test::coordinateTemplate()};
    TextRect textRect;
    std::uint8_t backState = 0;
    std::uint8_t finishState = 0;
    std::unique_ptr<Surface> window;
    std::unique_ptr<DrawnButton> back;
    std::unique_ptr<DrawnButton> finish;
};

TEST_F(DrawnButtons, normalLookIsComposedFromTheTemplateRowWithTheCaptionCentred)
{
    const QImage &img = back->button().keptImage();
    EXPECT_EQ(sourceAt(img, 0, 0), QPoint(68, 593)) << "left end";
    EXPECT_EQ(sourceAt(img, 149, 49), QPoint(247, 642)) << "right end at Wd - 20";
    EXPECT_EQ(sourceAt(img, 25, 2), QPoint(95, 595)) << "middle tiles";
    // Black caption, centred both ways.
    QRect ink;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 150; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == 0)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isNull());
    EXPECT_NEAR(ink.center().x(), 75, 3);
    EXPECT_NEAR(ink.center().y(), 25, 3);
    EXPECT_EQ(back->button().font().pointSizeF(), 12.75) << "BACK fits at the defined size";
}

TEST_F(DrawnButtons, unknownLookPaintsNothing)
{
    Surface &s = back->button();
    const QImage before = s.screenImage();
    paintDrawnButton(s, u"X", QStringLiteral("BACK"), skin, textRect);
    EXPECT_EQ(s.screenImage(), before);
}

// Each row: where the pointer is reported, with which buttons held, from
// which state; what the button then shows and holds.
struct MoveCase {
    const char *name;
    bool captured;  // state 1 with the capture, entered by a plain move first
    QPointF pos;
    Qt::MouseButtons buttons;
    int state;
    const char *look;  // on screen afterwards
    bool holds;
};

class PointerMoves : public DrawnButtons, public ::testing::WithParamInterface<MoveCase>
{};

TEST_P(PointerMoves, followTheStateTable)
{
    const MoveCase &c = GetParam();
    Surface &s = back->button();
    if (c.captured) {
        moveOver(&s, {75, 25});
        ASSERT_EQ(backState, 1);
        s.refresh(); // the hover look is gone from the screen; only a new painting brings a look back
    }
    moveOver(&s, c.pos, c.buttons);
    EXPECT_EQ(backState, c.state);
    EXPECT_EQ(screenLook(*back), c.look);
    EXPECT_EQ(holdsCapture(*back), c.holds);
    EXPECT_EQ(s.mousePointer(), c.state ? Surface::Pointer::Custom : Surface::Pointer::Arrow);
    EXPECT_EQ(lookOf(s.keptImage()), "N") << "only the normal look is ever kept";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointerMoves,
    ::testing::Values(
        MoveCase{"leftmostColumnIsOutside", false, {0, 25}, Qt::NoButton, 0, "N", false},
        MoveCase{"topRowIsOutside", false, {75, 0}, Qt::NoButton, 0, "N", false},
        MoveCase{"enterWithoutButtonsHovers", false, {1, 1}, Qt::NoButton, 1, "H", true},
        MoveCase{"enterWithLeftButtonPresses", false, {75, 25}, Qt::LeftButton, 1, "P", true},
        MoveCase{"enterWithRightButtonHovers", false, {75, 25}, Qt::RightButton, 1, "H", true},
        MoveCase{"enterWithLeftAndRightHovers", false, {75, 25}, Qt::LeftButton | Qt::RightButton, 1, "H", true},
        MoveCase{"columnJustRightIsInsideWhileCaptured", true, {150, 25}, Qt::NoButton, 1, "N", true},
        MoveCase{"rowJustBelowIsInsideWhileCaptured", true, {75, 50}, Qt::NoButton, 1, "N", true},
        MoveCase{"leavingRepaintsNormalAndReleases", true, {151, 25}, Qt::NoButton, 0, "N", false},
        MoveCase{"leavingLeftRepaintsNormalAndReleases", true, {0, 25}, Qt::LeftButton, 0, "N", false}),
    [](const ::testing::TestParamInfo<MoveCase> &info) { return std::string(info.param.name); });

TEST_F(DrawnButtons, aHoveredButtonIsNotRepaintedWhileThePointerStaysOver)
{
    Surface &s = back->button();
    moveOver(&s, {75, 25});
    ASSERT_EQ(screenLook(*back), "H");
    s.refresh(); // covered and uncovered: the kept normal look shows
    moveOver(&s, {80, 20}, Qt::LeftButton);
    EXPECT_EQ(screenLook(*back), "N") << "no painting without a change of state";
    EXPECT_EQ(backState, 1);
}

TEST_F(DrawnButtons, mouseDownPressesOnlyWhileRegistered)
{
    Surface &s = back->button();
    test::press(&s, {75, 25});
    EXPECT_EQ(screenLook(*back), "N") << "state 0: nothing happens";
    EXPECT_FALSE(s.hasTransientDrawing());
    test::release(&s, {75, 25});

    moveOver(&s, {75, 25});
    test::press(&s, {75, 25}, Qt::RightButton);
    EXPECT_EQ(screenLook(*back), "P") << "any mouse button";
    EXPECT_EQ(backState, 1);
}

TEST_F(DrawnButtons, aClickCountsOnlyWhileRegisteredAndLeavesTheNormalLook)
{
    Surface &s = back->button();
    EXPECT_FALSE(back->takeClick()) << "the pointer never registered";

    moveOver(&s, {75, 25});
    test::press(&s, {75, 25});
    ASSERT_EQ(screenLook(*back), "P");
    EXPECT_TRUE(back->takeClick());
    EXPECT_EQ(backState, 0);
    EXPECT_FALSE(holdsCapture(*back));
    EXPECT_EQ(screenLook(*back), "N");
    EXPECT_FALSE(s.autoRedraw());
    EXPECT_EQ(s.cursor().shape(), Qt::PointingHandCursor) << "the pointer is still over the button: the hand stays";

    // Pointer still over it, no move yet: a second press and click do nothing.
    test::press(&s, {75, 25});
    EXPECT_EQ(screenLook(*back), "N");
    EXPECT_FALSE(back->takeClick());
    // The first move brings the hover back.
    moveOver(&s, {76, 25});
    EXPECT_EQ(screenLook(*back), "H");
    EXPECT_EQ(backState, 1);
}

TEST_F(DrawnButtons, movingFromOneButtonToTheOtherHandsTheCaptureOver)
{
    moveOver(&back->button(), {75, 25});
    ASSERT_TRUE(holdsCapture(*back));
    // BACK holds the capture, so the first move beyond it is reported to it.
    moveOver(&back->button(), {75 + 350, 25});
    EXPECT_EQ(backState, 0);
    EXPECT_FALSE(holdsCapture(*back));
    EXPECT_EQ(screenLook(*back), "N");
    moveOver(&finish->button(), {75, 25});
    EXPECT_EQ(finishState, 1);
    EXPECT_TRUE(holdsCapture(*finish));
    EXPECT_EQ(screenLook(*finish), "H");
}

TEST_F(DrawnButtons, aMoveOutsideWhileAnotherWindowHoldsTheCaptureKeepsTheState)
{
    moveOver(&back->button(), {75, 25});
    finish->button().grabMouse(); // capture taken elsewhere
    moveOver(&back->button(), {200, 25});
    EXPECT_EQ(backState, 1);
    EXPECT_EQ(back->button().mousePointer(), Surface::Pointer::Custom);
}

TEST_F(DrawnButtons, resizeRepaintsTheNormalLookAndKeepsTheState)
{
    moveOver(&back->button(), {75, 25});
    back->button().resize(200, 50);
    EXPECT_EQ(lookOf(back->button().screenImage()), "N");
    EXPECT_EQ(sourceAt(back->button().keptImage(), 199, 0), QPoint(247, 593));
    EXPECT_EQ(backState, 1);
}

TEST_F(DrawnButtons, narrowSizesShrinkTheCaptionForGoodAndStopAtTheSmallestSize)
{
    Surface &s = finish->button();
    s.resize(60, 50);
    const double narrowed = s.font().pointSizeF();
    EXPECT_LT(narrowed, 12.75);
    EXPECT_LE(s.textWidth(QStringLiteral("FINISH")), 60 - 20);
    EXPECT_EQ(narrowed, 12.75 - std::ceil(12.75 - narrowed)) << "one point at a time";
    s.resize(150, 50);
    EXPECT_EQ(s.font().pointSizeF(), narrowed) << "never made larger again";

    // No size fits in 20 pixels or less: the fitting stops instead of looping.
    s.resize(15, 50);
    EXPECT_EQ(s.font().pointSizeF(), kSmallestCaptionPoints);
}

TEST_F(DrawnButtons, hoverAndPressedCaptionsAreDarkOlive)
{
    Surface &s = back->button();
    moveOver(&s, {75, 25});
    EXPECT_GT(test::countColour(s.screenImage(), qRgb(64, 64, 0)), 0);
    EXPECT_EQ(test::countColour(s.keptImage(), qRgb(64, 64, 0)), 0);
    EXPECT_GT(test::countColour(s.keptImage(), qRgb(0, 0, 0)), 0);
}

} // namespace
} // namespace vk
