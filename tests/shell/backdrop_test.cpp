#include "skin/appcontext.h"
#include "shell/backdropwindow.h"
#include "shell/gradientfill.h"
#include "support/programdriver.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace vk {
namespace {

using test::ProgramDriver;

struct Expected {
    const char *where;
    QPoint at;
    Rgb colour;
};

// Each channel within one step of the expected value: the last row and
// column lie one pixel short of the far corners.
void expectNear(const QImage &image, const Expected &e, int tolerance)
{
    const QRgb p = image.pixel(e.at);
    EXPECT_LE(std::abs(qRed(p) - e.colour.r), tolerance) << e.where;
    EXPECT_LE(std::abs(qGreen(p) - e.colour.g), tolerance) << e.where;
    EXPECT_LE(std::abs(qBlue(p) - e.colour.b), tolerance) << e.where;
}

// The two triangles meet on the top-left to bottom-right diagonal: a point
// of the upper-right half mixes only the top corners and the bottom right,
// a point of the lower-left half only the top left and the bottom corners.
TEST(Backdrop, loadCoversTheScreenWithTheFourCornerGradient)
{
    for (const QRect screen : {QRect(0, 0, 1280, 800), QRect(0, 0, 1920, 1080)}) {
        SCOPED_TRACE(screen.width());
        ProgramDriver t(screen);
        AppContext &ctx = t.app->context();
        Form *backdrop = ctx.windows.get(kBackdropWindowName);
        ASSERT_NE(backdrop, nullptr);
        EXPECT_EQ(backdrop->geometry(), screen);
        const QImage &kept = backdrop->keptImage();
        ASSERT_EQ(kept.size(), screen.size());
        const int w = screen.width();
        const int h = screen.height();

        const Expected corners[] = {
            {"top left, dark red", {0, 0}, {80, 0, 0}},
            {"top right, dark green", {w - 1, 0}, {0, 80, 0}},
            {"bottom right, dark blue", {w - 1, h - 1}, {0, 0, 80}},
            {"bottom left, dark olive", {0, h - 1}, {40, 40, 0}},
        };
        for (const Expected &e : corners)
            expectNear(kept, e, 1);

        const Expected inside[] = {
            {"centre, on the diagonal", {w / 2, h / 2}, {40, 0, 40}},
            {"upper-right half", {w * 3 / 4, h / 4}, {20, 40, 20}},
            {"lower-left half", {w / 4, h * 3 / 4}, {40, 20, 20}},
        };
        for (const Expected &e : inside)
            expectNear(kept, e, 0);
    }
}

TEST(GradientFill, aPixelOnAVertexTakesItsColourExactly)
{
    QImage image(9, 9, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::array vertices{gradientVertex(0, 0, toColorRef({200, 0, 0})), gradientVertex(8, 0, toColorRef({0, 200, 0})),
                              gradientVertex(0, 8, toColorRef({0, 0, 200}))};
    const std::array triangles{GradientTriangle{0, 1, 2}};
    gradientFill(image, vertices, triangles);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xC80000u);
    EXPECT_EQ(image.pixel(8, 0) & 0xFFFFFF, 0x00C800u);
    EXPECT_EQ(image.pixel(0, 8) & 0xFFFFFF, 0x0000C8u);
    EXPECT_EQ(image.pixel(4, 4) & 0xFFFFFF, qRgb(0, 100, 100) & 0xFFFFFF) << "the middle of the long edge";
    EXPECT_EQ(image.pixel(8, 8) & 0xFFFFFF, 0xFFFFFFu) << "outside the triangle nothing is painted";
}

// A click on the backdrop hands the focus to the stage window, else to the
// main window; with the main window minimised it does nothing.
TEST(Backdrop, focusGoesBackToTheWorkingWindow)
{
    ProgramDriver t(QRect(0, 0, 1920, 1080));
    AppContext &ctx = t.app->context();
    ASSERT_TRUE(t.app->start());
    auto *mainWindow = ctx.windows.find<MainWindow>(kMainWindowName);
    mainWindow->toggleBackdrop();
    Form *backdrop = ctx.windows.find(kBackdropWindowName);
    ASSERT_NE(backdrop, nullptr);
    ASSERT_TRUE(backdrop->isVisible());

    backdrop->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(mainWindow)) << "no stage window: the main window";

    QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);
    Form *stage = ctx.windows.find(kExerciseWindowName);
    ASSERT_NE(stage, nullptr);
    backdrop->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(stage)) << "the stage window";

    mainWindow->showMinimized();
    ASSERT_TRUE(mainWindow->isMinimized());
    backdrop->activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), backdrop) << "minimised: the click changes nothing";
}

} // namespace
} // namespace vk
