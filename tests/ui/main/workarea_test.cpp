#include "platform/form.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "support/programdriver.h"
#include "ui/main/dockedplacement.h"
#include "ui/main/mainwindow.h"
#include "ui/main/windowcontrolstrip.h"
#include "ui/main/workarea.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::ProgramDriver;

TEST(WorkArea, windowIsCentredInTheWorkAreaAndNeverPushedOffItsTopLeft)
{
    struct Case { const char *what; QSize window; QRect workArea; QPoint expected; };
    const Case cases[] = {
        {"panel at the bottom", {1280, 800}, {0, 0, 1920, 1040}, {320, 120}},
        {"panel at the left and top", {1280, 800}, {100, 50, 1820, 1030}, {370, 165}},
        {"half pixel to the even neighbour", {1279, 800}, {0, 0, 1920, 1081}, {320, 140}},
        {"window wider and taller than the area", {1280, 800}, {0, 0, 1024, 768}, {0, 0}},
        {"larger than an offset area: screen edge, not area edge", {1280, 800}, {40, 30, 1000, 700}, {0, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(workAreaPosition(c.window, c.workArea), c.expected) << c.what;
}

// Centring keeps the size and leaves the backdrop where it is; the stage,
// inside the main window, stands on its band wherever the window goes.
TEST(WorkArea, centringMovesTheMainWindowWithItsStageButNotTheBackdrop)
{
    FixedScreenMetrics screen(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040));
    WindowRegistry windows;
    windows.define(kMainWindowName, [&] { return new Form(kMainWindowName, screen); });
    windows.define(kExerciseWindowName, [&] { return new Form(kExerciseWindowName, screen, Form::Kind::Inside); });
    windows.define(kBackdropWindowName, [&] { return new Form(kBackdropWindowName, screen); });
    Form *main = windows.get(kMainWindowName);
    Form *stage = windows.get(kExerciseWindowName);
    Form *backdrop = windows.get(kBackdropWindowName);
    main->setGeometry(5, 7, 1280, 800);
    main->show();
    stage->showInside(main, dockedArea(main->size(), screen.twipsPerPixelY()));
    backdrop->setGeometry(0, 0, 1920, 1080);

    centerOnWorkArea(*main, screen);

    EXPECT_EQ(main->geometry(), QRect(320, 120, 1280, 800));
    EXPECT_EQ(stage->geometry(), QRect(0, 25, 1280, 775));
    EXPECT_EQ(stage->screenPosition(), QPoint(320, 145));
    EXPECT_EQ(backdrop->geometry(), QRect(0, 0, 1920, 1080));
    delete backdrop;
    delete main;
}

// Backdrop mode: on centres the main window and shows the backdrop, off
// hides it; minimising hides it but leaves the mode on, so the next click
// switches the mode off and the one after brings the backdrop back.
TEST(BackdropMode, togglingMinimisingAndTogglingAgain)
{
    ProgramDriver t(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040));
    AppContext &ctx = t.app->context();
    ASSERT_TRUE(t.app->start());
    auto *mainWindow = ctx.windows.find<MainWindow>(kMainWindowName);
    EXPECT_FALSE(mainWindow->backdropOn());
    EXPECT_FALSE(ctx.windows.isLoaded(kBackdropWindowName)) << "loaded only when first shown";

    mainWindow->toggleBackdrop();
    Form *backdrop = ctx.windows.find(kBackdropWindowName);
    ASSERT_NE(backdrop, nullptr);
    EXPECT_TRUE(mainWindow->backdropOn());
    EXPECT_TRUE(backdrop->isVisible());
    EXPECT_EQ(mainWindow->geometry(), QRect(320, 120, 1280, 800));

    // The strip's minimise cell.
    mainWindow->strip().mouseMove(0, 20);
    mainWindow->strip().click();
    EXPECT_TRUE(mainWindow->isMinimized());
    EXPECT_FALSE(backdrop->isVisible());
    EXPECT_TRUE(mainWindow->backdropOn());

    mainWindow->showNormal();
    EXPECT_FALSE(backdrop->isVisible()) << "restoring does not bring the backdrop back";
    mainWindow->toggleBackdrop();
    EXPECT_FALSE(mainWindow->backdropOn());
    EXPECT_FALSE(backdrop->isVisible());
    EXPECT_EQ(ctx.windows.find(kBackdropWindowName), backdrop) << "it stays loaded";
    mainWindow->toggleBackdrop();
    EXPECT_TRUE(backdrop->isVisible());
}

} // namespace
} // namespace vk
