// Screens: which are accepted, and how the main window fits them.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace vk::e2e {
namespace {

struct ScreenCase {
    WindowManager wm;
    QSize screen;
    QSize expected;
    // Where the main window must stand when the screen leaves no choice.
    std::optional<QPoint> place;
};

void PrintTo(const ScreenCase &c, std::ostream *os) { *os << nameOf(c.wm).toStdString() << " " << c.screen; }

std::string screenCaseName(const ::testing::TestParamInfo<ScreenCase> &info)
{
    return QStringLiteral("%1_%2x%3")
        .arg(nameOf(info.param.wm))
        .arg(info.param.screen.width())
        .arg(info.param.screen.height())
        .toStdString();
}

class StartScreen : public ::testing::TestWithParam<ScreenCase>
{
};

// The main window fits the screen, with the strip's close cell and, during a
// stage, FINISH within reach; BACK and the close cell work.
TEST_P(StartScreen, fitsTheScreenWithItsControlsWithinReach)
{
    const ScreenCase c = GetParam();
    XSession x(c.screen.width(), c.screen.height(), c.wm);
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    const auto [mainId, main] = startProgram(x);
    ASSERT_FALSE(main.isEmpty());
    EXPECT_EQ(main.size(), c.expected) << "main window at " << main;
    if (c.place) {
        EXPECT_EQ(main.topLeft(), *c.place) << "main window at " << main;
    }
    EXPECT_TRUE(inside(main, c.screen)) << "main window at " << main;

    QImage shot = x.screenshot();
    // Body colour inside the frame, the frame's blue at its sides, the title.
    EXPECT_TRUE(sameColor(shot.pixel(main.x() + 40, main.y() + main.height() / 2), kBody));
    const QRgb side = shot.pixel(main.x() + 10, main.y() + main.height() / 2);
    EXPECT_GT(qBlue(side), qRed(side) + 40) << "the left border is blue";
    EXPECT_TRUE(titleShown(shot, main));
    const StartLayout start(main);
    EXPECT_GT(countPixels(shot, start.start.adjusted(20, 10, -20, -10), dark), 20) << "START's caption";
    EXPECT_TRUE(inside(start.stripCellRect(4), c.screen)) << "the close cell at " << start.stripCellRect(4);

    ASSERT_TRUE(startStage(x, main)) << "START opened no stage";
    const StageLayout stage(main);
    shot = x.screenshot();
    EXPECT_TRUE(inside(stage.finish, c.screen)) << "FINISH at " << stage.finish;
    EXPECT_GT(countPixels(shot, stage.finish.adjusted(30, 10, -30, -10), dark), 10) << "FINISH's caption";

    x.click(stage.back.center().x(), stage.back.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    EXPECT_TRUE(titleShown(shot, main)) << "BACK returns to the start screen";
    expectClosesWithTheStrip(x, main);
}

std::vector<ScreenCase> acceptedScreens()
{
    std::vector<ScreenCase> cases;
    for (WindowManager wm : {WindowManager::None, WindowManager::Openbox, WindowManager::Xfwm4}) {
        cases.push_back({wm, {1024, 768}, {1024, 768}, QPoint(0, 0)});
        cases.push_back({wm, {1024, 800}, {1024, 800}, QPoint(0, 0)});
        cases.push_back({wm, {1152, 864}, {1152, 864}, QPoint(0, 0)});
        cases.push_back({wm, {1280, 800}, {1280, 800}, QPoint(0, 0)});
        cases.push_back({wm, {1280, 1024}, {1280, 800}, std::nullopt});
        cases.push_back({wm, {1920, 1080}, {1280, 800}, std::nullopt});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Screens, StartScreen, ::testing::ValuesIn(acceptedScreens()), screenCaseName);

class RefusedScreen : public ::testing::TestWithParam<ScreenCase>
{
};

// Too small a screen, in either direction: the message box alone, then an
// end with failure.
TEST_P(RefusedScreen, showsTheMessageAndEndsWithFailure)
{
    const ScreenCase c = GetParam();
    XSession x(c.screen.width(), c.screen.height(), c.wm);
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    ASSERT_TRUE(x.startProgram());
    QStringList windows;
    waitUntil([&] { return !(windows = x.visibleWindowsOfProgram()).isEmpty(); });
    ASSERT_FALSE(windows.isEmpty()) << "no message shown";
    sleepMs(500);
    EXPECT_TRUE(x.xdotool({"search", "--onlyvisible", "--name", "^" + kMainTitle + "$"}).isEmpty())
        << "the main window shows";
    windows = x.visibleWindowsOfProgram();
    ASSERT_EQ(windows.size(), 1);
    const QImage shot = x.screenshot();
    const QRect box = x.windowGeometry(windows.first());
    EXPECT_LT(box.width(), 700) << "a message box, not a window at " << box;
    EXPECT_GT(countPixels(shot, box, dark), 50) << "the box shows its text";
    x.focus(windows.first());
    x.key("Return");
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_NE(*code, 0);
}

std::vector<ScreenCase> refusedScreens()
{
    std::vector<ScreenCase> cases;
    for (WindowManager wm : {WindowManager::None, WindowManager::Openbox, WindowManager::Xfwm4})
        for (QSize screen : {QSize(1024, 767), QSize(800, 768), QSize(768, 1024)})
            cases.push_back({wm, screen, {}, std::nullopt});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Screens, RefusedScreen, ::testing::ValuesIn(refusedScreens()), screenCaseName);

// ---------------------------------------------------------------------------
// Scaled desktops: the desktop hands its scale to the program, as KDE Plasma
// does (QT_SCREEN_SCALE_FACTORS) or a user does (QT_SCALE_FACTOR).

struct ScaledCase {
    const char *name;
    QSize screen;
    const char *variable;
    const char *factor;
    double scale;   // what the program runs at
    QRect expected; // the window on the screen, in the screen's pixels
};

void PrintTo(const ScaledCase &c, std::ostream *os) { *os << c.name; }

class ScaledScreen : public ::testing::TestWithParam<ScaledCase>
{
};

// Of the 2 x 2 blocks of the screen's pixels that the title's ink touches,
// the share that is not one colour: none where the title is pixel-doubled.
double unevenBlocks(const QImage &shot, const QRect &area)
{
    int inked = 0, uneven = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb p[] = {shot.pixel(x, y), shot.pixel(x + 1, y), shot.pixel(x, y + 1), shot.pixel(x + 1, y + 1)};
            if (!std::any_of(std::begin(p), std::end(p), [](QRgb c) { return qBlue(c) > 90 && qRed(c) < 60; }))
                continue;
            ++inked;
            uneven += !(p[0] == p[1] && p[0] == p[2] && p[0] == p[3]);
        }
    return inked ? double(uneven) / inked : 0.0;
}

// The window stands where the layout puts it, counted in the screen's
// pixels; the stage stands below its band, in the screen's pixels too;
// and the stage's title is drawn at the screen's resolution, not doubled.
TEST_P(ScaledScreen, placesTheStageInScreenPixelsAndDrawsItsTitleSharp)
{
    const ScaledCase c = GetParam();
    XSession x(c.screen.width(), c.screen.height(), WindowManager::Openbox);
    x.setProgramEnvironment(QString::fromLatin1(c.variable), QString::fromLatin1(c.factor));
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    ASSERT_TRUE(x.startProgram()) << "the program did not start";
    const QString mainId = x.waitForWindow(kMainTitle);
    ASSERT_FALSE(mainId.isEmpty()) << "no start screen: the screen was refused";
    const QRect main = x.windowGeometry(mainId);
    EXPECT_EQ(main, c.expected);
    const QRect ours(QPoint(std::lround(main.x() / c.scale), std::lround(main.y() / c.scale)),
                     QSize(std::lround(main.width() / c.scale), std::lround(main.height() / c.scale)));
    const StageLayout stage = StageLayout(ours).scaledBy(c.scale);
    const QRect start = StageLayout::scaled(StartLayout(ours).start, c.scale);
    x.waitForScreen([&](const QImage &s) { return countPixels(s, start, dark) > 20; });

    x.click(start.center().x(), start.center().y());
    QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, stage); });
    ASSERT_TRUE(sheetShown(shot, stage)) << "the stage is not below the band at " << stage.exercise;
    EXPECT_EQ(stage.exercise.top() - main.top(), std::lround(25 * c.scale)) << "the band";
    const QRect title = StageLayout::scaled(QRect(ours.x() + 210, ours.y() + 25 + 2, 260, 22), c.scale);
    EXPECT_GT(countPixels(shot, title, [](QRgb p) { return qBlue(p) > 90 && qRed(p) < 60; }), 100) << "no title";
    EXPECT_GT(unevenBlocks(shot, title), 0.3) << "the title is pixel-doubled";

    x.click(stage.back.center().x(), stage.back.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return countPixels(s, start, dark) > 20 && !sheetShown(s, stage); });
    EXPECT_FALSE(sheetShown(shot, stage)) << "BACK";
}

INSTANTIATE_TEST_SUITE_P(
    Scales, ScaledScreen,
    ::testing::Values(
        // 1920 x 1080 of the program's pixels: no need to lower the scale.
        ScaledCase{"Openbox_Plasma200_3840x2160", {3840, 2160}, "QT_SCREEN_SCALE_FACTORS", "2", 2.0,
                   QRect(640, 280, 2560, 1600)},
        // 1280 x 720 at 150 %: the program lowers its scale to 125 %.
        ScaledCase{"Openbox_Scale150_1920x1080", {1920, 1080}, "QT_SCALE_FACTOR", "1.5", 1.25,
                   QRect(160, 40, 1600, 1000)}),
    [](const ::testing::TestParamInfo<ScaledCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace vk::e2e
