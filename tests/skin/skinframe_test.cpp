#include "platform/surface.h"
#include "skin/skinframe.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

// A template whose pixels tell their own coordinates: red = x - 500,
// green = y - 250, blue = 200. Every copied pixel can be traced back.
SkinTemplate coordinateTemplate()
{
    QImage image(1280, 800, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    for (int y = 250; y < 400; ++y)
        for (int x = 500; x < 700; ++x)
            image.setPixel(x, y, qRgb(x - 500, y - 250, 200));
    return SkinTemplate(image);
}

struct Source {
    int x;
    int y;
    bool copied;
};

Source sourceOf(const QImage &image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return {qRed(p) + 500, qGreen(p) + 250, qBlue(p) == 200};
}

class SkinFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(800, 600);
        window.setBackColor(Qt::white);
        window.setAutoRedraw(true);
        window.cls();
        window.setAutoRedraw(false);
    }
    // The frame's ring around ctl: every pixel there comes from the panel's
    // border pieces, nothing outside the ring or deep inside ctl is touched.
    void expectRingOnly(const QRect &ctl)
    {
        const QImage &kept = window.keptImage();
        const QRect ring = ctl.adjusted(-4, -4, 4, 4);
        for (int y = std::max(0, ring.top() - 2); y <= std::min(kept.height() - 1, ring.bottom() + 2); ++y) {
            for (int x = std::max(0, ring.left() - 2); x <= std::min(kept.width() - 1, ring.right() + 2); ++x) {
                const Source s = sourceOf(kept, x, y);
                const bool inRing = ring.contains(x, y) && !ctl.contains(x, y);
                const bool deepInside = ctl.adjusted(6, 6, -6, -6).contains(x, y);
                if (inRing) {
                    ASSERT_TRUE(s.copied) << "ring pixel not drawn at " << x << "," << y;
                    ASSERT_TRUE(skin::kFramePanel.contains(s.x, s.y)) << x << "," << y;
                } else if (!ring.contains(x, y) || deepInside) {
                    ASSERT_FALSE(s.copied) << "drawn outside the ring at " << x << "," << y;
                }
            }
        }
    }

    SkinTemplate skin = coordinateTemplate();
    Surface window;
    QWidget ctl{&window};
};

TEST_F(SkinFrame, ringAroundAHundredByFiftyControl)
{
    ctl.setGeometry(200, 300, 100, 50);
    drawSkinFrame(window, ctl, skin);
    const QImage &kept = window.keptImage();
    expectRingOnly(ctl.geometry());

    // Top tiles at x = 196, 200, ... 292 come from the top edge tile; the
    // one at 292 is cut by the top-right corner drawn at 294.
    for (int x = 208; x <= 288; x += 4) // the top-left corner covers up to 205
        EXPECT_EQ(sourceOf(kept, x, 296).x, skin::kFrameTop.x()) << x;
    EXPECT_EQ(sourceOf(kept, 293, 296).x, skin::kFrameTop.x() + 1);
    EXPECT_EQ(sourceOf(kept, 294, 296).x, skin::kFrameTopRight.x());
    // The bottom edge sits right under the control, dark line first.
    EXPECT_EQ(sourceOf(kept, 240, 350).y, skin::kFrameBottom.y());
    // Left and right edges down to y = 344, then the bottom corners.
    EXPECT_EQ(sourceOf(kept, 196, 340).x, skin::kFrameLeft.x());
    EXPECT_EQ(sourceOf(kept, 300, 340).x, skin::kFrameRight.x());
    EXPECT_EQ(sourceOf(kept, 303, 353).x, skin::kFrameBottomRight.x() + 9);
    EXPECT_EQ(sourceOf(kept, 303, 353).y, skin::kFrameBottomRight.y() + 9);
    EXPECT_FALSE(window.autoRedraw()) << "the persistent image is left switched off";
}

TEST_F(SkinFrame, widthNotAMultipleOfFourIsClosedByTheCorner)
{
    ctl.setGeometry(20, 200, 750, 120);
    drawSkinFrame(window, ctl, skin);
    expectRingOnly(ctl.geometry());
    // 188 top tiles, the last at L + 744; the corner at L + 744 reaches L + 753.
    EXPECT_EQ(sourceOf(window.keptImage(), 20 + 753, 196).x, skin::kFrameTopRight.x() + 9);
}

TEST_F(SkinFrame, zeroWidthStillDrawsSidesAndCorners)
{
    ctl.setGeometry(100, 100, 0, 40);
    drawSkinFrame(window, ctl, skin);
    const QImage &kept = window.keptImage();
    EXPECT_EQ(sourceOf(kept, 96, 120).x, skin::kFrameLeft.x());
    EXPECT_EQ(sourceOf(kept, 103, 120).x, skin::kFrameRight.x() + 3);
    EXPECT_TRUE(sourceOf(kept, 96, 96).copied);
}

TEST_F(SkinFrame, controlAtTheCornerIsClippedAndDrawingTwiceChangesNothing)
{
    ctl.setGeometry(0, 0, 60, 30);
    drawSkinFrame(window, ctl, skin);
    const QImage once = window.keptImage().copy();
    EXPECT_EQ(sourceOf(once, 60, 0).x, skin::kFrameRight.x()) << "the right edge starts at the window's top row";
    drawSkinFrame(window, ctl, skin);
    EXPECT_EQ(window.keptImage(), once);
}

// The built-in template carries the frame panel's exact border colours.
TEST(BuiltInTemplate, framePanelEdgesHaveTheirColours)
{
    const SkinTemplate skin;
    ASSERT_EQ(skin.size(), QSize(1280, 800));
    const QImage &t = skin.image();
    const QRgb top[] = {qRgb(120, 121, 122), qRgb(194, 195, 197), qRgb(245, 246, 248), qRgb(248, 249, 251)};
    const QRgb side[] = {qRgb(155, 155, 157), qRgb(212, 214, 216), qRgb(243, 245, 247), qRgb(244, 246, 248)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.pixel(563, 282 + i), top[i]);
        EXPECT_EQ(t.pixel(563, 365 + i), top[i]);
        EXPECT_EQ(t.pixel(544 + i, 304), side[i]);
        EXPECT_EQ(t.pixel(656 + i, 304), side[i]);
    }
    EXPECT_EQ(t.pixel(600, 320), qRgb(107, 153, 216));
}

} // namespace
} // namespace vk
