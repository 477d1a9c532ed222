// The window as a whole: one window on every desktop, moved by its band or
// by the window manager, minimised, closed from outside, with the backdrop
// behind it.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vk::e2e {
namespace {

class WindowOnDesktop : public ::testing::TestWithParam<WindowManager>
{
};
class OnManagedDesktop : public WindowOnDesktop
{
};

// The program shows one window: the stage is part of it. A click on its
// band keeps the stage in front with the keyboard at the sheet; so does the
// strip's backdrop cell, with the backdrop behind the window.
TEST_P(WindowOnDesktop, theStageIsPartOfTheOneWindow)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    EXPECT_EQ(x.visibleWindowsOfProgram(), QStringList{mainId}) << "more than one window on the screen";

    x.click(main.x() + 600, main.y() + 10);
    sleepMs(500);
    QImage shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, stage)) << "a click on the band hid the stage";
    EXPECT_TRUE(bandShown(shot, main));
    EXPECT_GT(countPixels(shot, stage.clock, clockBlue), 50) << "a click on the band hid the clock";
    x.type("7");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 40)) << "a digit typed after a click on the band";

    const QRect centred = x.windowGeometry(mainId);
    const StartLayout start(centred);
    x.click(start.stripCell(1).x(), start.stripCell(1).y());
    shot = x.waitForScreen([&](const QImage &s) { return sameColor(s.pixel(0, 0), kBackdropTopLeft, 3); }, 5000);
    EXPECT_TRUE(sameColor(shot.pixel(0, 0), kBackdropTopLeft, 3)) << "the backdrop shows";
    sleepMs(300);
    const QRect now = x.windowGeometry(mainId);
    const StageLayout after(now);
    shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, after)) << "the backdrop came over the stage";
    EXPECT_TRUE(bandShown(shot, now)) << "the backdrop came over the window's band";
    x.type("8");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, after, 39); }, 3000);
    EXPECT_TRUE(digitIn(shot, after, 39)) << "a digit typed after the backdrop cell";
}

// A drag on the top band, outside the strip's cells, moves the whole
// window: through the window manager's own move where there is one, by the
// program itself where there is none. The stage goes with it.
TEST_P(WindowOnDesktop, aDragOnTheBandMovesTheWholeWindow)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    drag(x, QPoint(main.x() + 500, main.y() + 12), QPoint(-200, -80));
    // The window manager's move starts once the pointer has moved far
    // enough to make a drag: the window may stay that one step behind.
    const QPoint dragged = main.topLeft() - QPoint(200, 80);
    const auto followed = [&](const QRect &r) { return (r.topLeft() - dragged).manhattanLength() <= 28; };
    QRect now;
    waitUntil([&] { return followed(now = x.windowGeometry(mainId)); }, 3000);
    EXPECT_TRUE(followed(now)) << "the window at " << now << " did not follow the drag to " << dragged;
    EXPECT_EQ(now.size(), main.size());
    const StageLayout moved(now);
    QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, moved); }, 3000);
    EXPECT_TRUE(sheetShown(shot, moved)) << "the stage did not go with the window to " << now;
    x.type("3");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, moved, 40); }, 3000);
    EXPECT_TRUE(digitIn(shot, moved, 40)) << "a digit typed after the drag";
}

INSTANTIATE_TEST_SUITE_P(Desktops, WindowOnDesktop, kAllDesktops, kDesktopName);

// Without a window manager nothing keeps windows in their order but the
// program: the backdrop, once shown, never covers the trainer, not when it
// is clicked, not when a stage starts over it.
TEST(WithoutWindowManager, theBackdropNeverCoversTheTrainer)
{
    XSession x(1280, 1024, WindowManager::None);
    const auto [mainId, before] = startProgram(x);
    ASSERT_FALSE(before.isEmpty());
    x.click(StartLayout(before).stripCell(1).x(), StartLayout(before).stripCell(1).y());
    QImage shot = x.waitForScreen([&](const QImage &s) { return sameColor(s.pixel(0, 0), kBackdropTopLeft, 3); }, 5000);
    ASSERT_TRUE(sameColor(shot.pixel(0, 0), kBackdropTopLeft, 3)) << "the backdrop does not show";
    const QRect main = x.windowGeometry(mainId);
    EXPECT_TRUE(titleShown(shot, main)) << "the backdrop came over the start screen";

    x.click(5, 5);
    sleepMs(400);
    shot = x.screenshot();
    EXPECT_TRUE(titleShown(shot, main)) << "a click on the backdrop brought it over the start screen";

    ASSERT_TRUE(startStage(x, main)) << "START under the backdrop";
    x.click(5, main.bottom() + 60);
    sleepMs(400);
    const StageLayout stage(main);
    shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, stage)) << "a click on the backdrop brought it over the stage";
    x.type("6");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 40)) << "the keyboard did not come back to the stage";
}

// The strip: the backdrop behind the windows, minimising, closing.
TEST_P(OnManagedDesktop, stripShowsTheBackdropMinimisesAndCloses)
{
    XSession x(1280, 1024, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    const auto [mainId, before] = startProgram(x);
    ASSERT_FALSE(before.isEmpty());
    StartLayout start(before);
    x.click(start.stripCell(1).x(), start.stripCell(1).y());
    sleepMs(800);

    const QRect main = x.windowGeometry(mainId);
    EXPECT_EQ(main.size(), QSize(1280, 800));
    EXPECT_EQ(main.y(), (1024 - 800) / 2) << "centred in the work area";
    QImage shot = x.screenshot();
    EXPECT_TRUE(sameColor(shot.pixel(0, 0), kBackdropTopLeft, 3)) << "dark red top-left";
    EXPECT_TRUE(sameColor(shot.pixel(1279, 0), qRgb(0, 80, 0), 3)) << "dark green top-right";
    EXPECT_TRUE(sameColor(shot.pixel(1279, 1023), qRgb(0, 0, 80), 3)) << "dark blue bottom-right";
    EXPECT_TRUE(sameColor(shot.pixel(0, 1023), qRgb(40, 40, 0), 3)) << "dark olive bottom-left";
    EXPECT_TRUE(titleShown(shot, main)) << "the backdrop came over the main window";

    start = StartLayout(main);
    x.click(start.stripCell(2).x(), start.stripCell(2).y());
    EXPECT_TRUE(waitUntil([&] { return x.window(mainId) && !x.window(mainId)->viewable; }, 3000)) << "minimised";
    shot = x.screenshot();
    EXPECT_FALSE(sameColor(shot.pixel(0, 0), kBackdropTopLeft, 3)) << "the backdrop hides with it";

    x.xdotool({"windowactivate", mainId});
    ASSERT_TRUE(waitUntil([&] { return x.window(mainId) && x.window(mainId)->viewable; }, 3000)) << "restored";
    x.waitForScreen([&](const QImage &s) { return titleShown(s, main); }, 3000);
    expectClosesWithTheStrip(x, main);
}

// Minimising during a stage takes the window, stage and all, off the
// screen. Moved while minimised and restored, it shows the stage below the
// band where the window now stands, with the keyboard at the sheet.
TEST_P(OnManagedDesktop, minimisedMovedAndRestoredDuringAStage)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    x.type("7");
    x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);

    const StartLayout start(main);
    x.click(start.stripCell(2).x(), start.stripCell(2).y());
    const auto viewable = [&] {
        const auto w = x.window(mainId);
        return w && w->viewable;
    };
    EXPECT_TRUE(waitUntil([&] { return !viewable(); }, 3000)) << "the window is still on screen";
    QImage shot = x.screenshot();
    EXPECT_EQ(countPixels(shot, main, body), 0) << "pieces of the program are still on screen";
    EXPECT_FALSE(sheetShown(shot, stage)) << "the sheet is still on screen";

    x.xdotool({"windowmove", mainId, "100", "60"});
    x.xdotool({"windowactivate", mainId});
    EXPECT_TRUE(waitUntil(viewable, 3000)) << "the window did not come back";
    sleepMs(300);
    const QRect now = x.windowGeometry(mainId);
    EXPECT_EQ(now.size(), main.size());
    const StageLayout moved(now);
    shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, moved); }, 3000);
    EXPECT_TRUE(sheetShown(shot, moved)) << "the stage is not below the band of the window at " << now;
    EXPECT_TRUE(bandShown(shot, now));
    x.type("8");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, moved, 39); }, 3000);
    EXPECT_TRUE(digitIn(shot, moved, 39)) << "a digit typed after the restore";
}

// The window manager's own move gesture (Alt+drag on openbox and xfwm4)
// moves the whole window: the stage goes with it, nothing of the start
// screen shows beneath.
TEST_P(OnManagedDesktop, altDragMovesTheWholeWindow)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    drag(x, stage.sheetPanel.center() + QPoint(0, 150), QPoint(-250, -100), QStringLiteral("alt"));
    QRect now;
    waitUntil([&] { return (now = x.windowGeometry(mainId)).topLeft() != main.topLeft(); }, 3000);
    EXPECT_NE(now.topLeft(), main.topLeft()) << "Alt+drag did not move the window";
    EXPECT_EQ(now.size(), main.size());
    const StageLayout moved(now);
    const QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, moved); }, 3000);
    EXPECT_TRUE(sheetShown(shot, moved)) << "the stage did not go with the window to " << now;
    EXPECT_LT(countPixels(shot, StartLayout(now).start.adjusted(20, 10, -20, -10), dark), 5) << "START shows beneath";
}

// The screen changes size while a stage runs: the main window fits the new
// screen, the stage in it, and FINISH within reach.
TEST_P(OnManagedDesktop, screenChangeWhileAStageRuns)
{
    XSession x(1920, 1080, GetParam(), ScreenKind::Resizable);
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    EXPECT_EQ(main.size(), QSize(1280, 800));

    ASSERT_TRUE(x.setScreenSize(1024, 768));
    QRect now;
    waitUntil([&] { return (now = x.windowGeometry(mainId)) == QRect(0, 0, 1024, 768); }, 5000);
    EXPECT_EQ(now, QRect(0, 0, 1024, 768)) << "the main window on the small screen";
    const StageLayout small(QRect(0, 0, 1024, 768));
    QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, small); }, 3000);
    EXPECT_TRUE(sheetShown(shot, small)) << "the sheet laid out for the small screen";
    EXPECT_GT(countPixels(shot, small.finish.adjusted(30, 10, -30, -10), dark), 10) << "FINISH on the small screen";

    ASSERT_TRUE(x.setScreenSize(1920, 1080));
    waitUntil([&] { return (now = x.windowGeometry(mainId)).size() == QSize(1280, 800); }, 5000);
    EXPECT_EQ(now.size(), QSize(1280, 800)) << "the main window back on the large screen: " << now;
    EXPECT_TRUE(inside(now, QSize(1920, 1080))) << now;
    shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, StageLayout(now)); }, 3000);
    EXPECT_TRUE(sheetShown(shot, StageLayout(now))) << "the sheet laid out for the large screen again";
}

INSTANTIATE_TEST_SUITE_P(Desktops, OnManagedDesktop, kManagedDesktops, kDesktopName);

// Closing the window from outside: the window manager's close (Alt+F4)
// or the window destroyed under the program. A running stage goes with it,
// without a question, and the program ends cleanly.
enum class Closer { AltF4, Destroy };

struct CloseCase {
    WindowManager wm;
    Closer how;
};

std::string closeCaseName(const ::testing::TestParamInfo<CloseCase> &info)
{
    return nameOf(info.param.wm).toStdString() + (info.param.how == Closer::AltF4 ? "_AltF4" : "_Destroy");
}

void PrintTo(const CloseCase &c, std::ostream *os) { *os << closeCaseName({c, 0}); }

class ClosedFromOutside : public ::testing::TestWithParam<CloseCase>
{
};

TEST_P(ClosedFromOutside, endsTheProgramWithItsStage)
{
    const CloseCase c = GetParam();
    XSession x(1920, 1080, c.wm);
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    x.type("5");
    x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);

    if (c.how == Closer::AltF4) {
        waitUntil([&] { return x.focusedWindow() == mainId; }, 3000);
        ASSERT_EQ(x.focusedWindow(), mainId) << "the window does not have the focus";
        x.key("alt+F4");
    } else {
        x.xdotool({"windowclose", mainId});
    }
    const auto code = x.waitForExit(5000);
    ASSERT_TRUE(code.has_value()) << "the program went on without its window";
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(boxOnScreen(x).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Closing, ClosedFromOutside,
                         ::testing::Values(CloseCase{WindowManager::None, Closer::Destroy},
                                           CloseCase{WindowManager::Openbox, Closer::AltF4},
                                           CloseCase{WindowManager::Openbox, Closer::Destroy},
                                           CloseCase{WindowManager::Xfwm4, Closer::AltF4},
                                           CloseCase{WindowManager::Xfwm4, Closer::Destroy}),
                         closeCaseName);

} // namespace
} // namespace vk::e2e
