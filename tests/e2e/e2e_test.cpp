// The real program on a real X server, bare or under the window managers our
// users have, worked with xdotool as a person would, and checked on
// screenshots at places worked out from the layout.
#include "layout.h"
#include "xsession.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>
#include <ostream>

// Places and sizes as a person reads them in a failure message.
std::ostream &operator<<(std::ostream &os, const QRect &r)
{
    return os << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
std::ostream &operator<<(std::ostream &os, const QSize &s) { return os << s.width() << "x" << s.height(); }
std::ostream &operator<<(std::ostream &os, const QPoint &p) { return os << "(" << p.x() << "," << p.y() << ")"; }

namespace vk::e2e {

void PrintTo(WindowManager wm, std::ostream *os) { *os << nameOf(wm).toStdString(); }

namespace {

const QString kMainTitle = QStringLiteral("Kelvaris Ostravel");
const QString kBoxTitle = QStringLiteral("KELVARIS");
const QRgb kBody = qRgb(197, 214, 237);
const QRgb kClockBlue = qRgb(11, 3, 103);
const QRgb kGreen = qRgb(0, 192, 0);
const QRgb kLightRed = qRgb(255, 128, 128);
const QRgb kBackdropTopLeft = qRgb(80, 0, 0);

const auto kAllDesktops = ::testing::Values(WindowManager::None, WindowManager::Openbox, WindowManager::Xfwm4);
const auto kManagedDesktops = ::testing::Values(WindowManager::Openbox, WindowManager::Xfwm4);
const auto kDesktopName = [](const auto &info) { return nameOf(info.param).toStdString(); };

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &pred)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += pred(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool dark(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }
bool clockBlue(QRgb p) { return sameColor(p, kClockBlue, 40); }
bool body(QRgb p) { return sameColor(p, kBody, 2); }

void sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

bool inside(const QRect &r, const QSize &screen) { return QRect(QPoint(0, 0), screen).contains(r); }

QRect dockedBelow(const QRect &main) { return QRect(main.x(), main.y() + 25, main.width(), main.height() - 25); }

bool titleShown(const QImage &shot, const QRect &main)
{
    // The dark red title of the start screen, in the band below the frame.
    const QRect band(main.x() + main.width() / 2 - 200, main.y() + 75, 400, 90);
    return countPixels(shot, band, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 60 && qBlue(p) < 60; }) > 300;
}

// The main window's top band, blue, which the exercise window leaves free
// (the strip is in it).
bool bandShown(const QImage &shot, const QRect &main)
{
    const QRect band(main.x() + 100, main.y() + 2, main.width() - 200, 20);
    return countPixels(shot, band, [](QRgb p) { return qBlue(p) > 150 && qBlue(p) > qRed(p) + 60; })
           > band.width() * band.height() / 2;
}

// The factors written into the sheet: what only the exercise window shows.
bool sheetShown(const QImage &shot, const StageLayout &stage)
{
    return countPixels(shot, stage.cell(1, 40), dark) > 10 && countPixels(shot, stage.cell(2, 40), dark) > 10
           && countPixels(shot, stage.cell(1, 20), dark) == 0;
}

bool digitIn(const QImage &shot, const StageLayout &stage, int column)
{
    return countPixels(shot, stage.cell(5, column), dark) > 10;
}

bool revealed(const QImage &shot, const StageLayout &stage)
{
    int coloured = 0;
    for (int column = 2; column <= 40; ++column) {
        const QRgb p = shot.pixel(stage.cell(7, column).x() + 2, stage.cell(7, column).y() + 2);
        coloured += sameColor(p, kGreen, 8) || sameColor(p, kLightRed, 8);
    }
    return coloured == 39;
}

bool wrongVerdictShown(const QImage &shot, const StageLayout &stage)
{
    return countPixels(shot, stage.result, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90; }) > 300;
}

// The exercise window: the program's large window that is neither the main
// window, nor the question, nor the full-screen backdrop.
std::optional<XWindow> exerciseWindow(const XSession &x)
{
    const QSize screen = x.screenSize();
    for (const XWindow &w : x.programWindows())
        if (w.viewable && w.name != kMainTitle && w.name != kBoxTitle && w.rect.width() > 200 && w.rect.size() != screen)
            return w;
    return std::nullopt;
}

std::optional<XWindow> waitForExercise(const XSession &x, int timeoutMs = 8000)
{
    std::optional<XWindow> w;
    waitUntil([&] { return (w = exerciseWindow(x)).has_value(); }, timeoutMs);
    return w;
}

// Waits for the exercise window to stand where it belongs; where it stands.
QRect waitForDocking(const XSession &x, const QRect &expected, int timeoutMs = 5000)
{
    QRect at;
    waitUntil(
        [&] {
            const auto w = exerciseWindow(x);
            at = w ? w->rect : QRect();
            return at == expected;
        },
        timeoutMs);
    return at;
}

QString boxOnScreen(const XSession &x)
{
    return x.xdotool({"search", "--onlyvisible", "--name", "^" + kBoxTitle + "$"}).section('\n', 0, 0);
}

QString waitForBox(const XSession &x, int timeoutMs = 3000)
{
    QString box;
    waitUntil([&] { return !(box = boxOnScreen(x)).isEmpty(); }, timeoutMs);
    return box;
}

// The program started, its start screen painted.
struct Started {
    QString mainId;
    QRect main;
};

Started startProgram(XSession &x)
{
    EXPECT_TRUE(x.ok()) << x.failure().toStdString();
    if (!x.ok() || !x.startProgram())
        return {};
    const QString id = x.waitForWindow(kMainTitle);
    EXPECT_FALSE(id.isEmpty()) << "no start screen";
    if (id.isEmpty())
        return {};
    const QRect main = x.windowGeometry(id);
    x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    return {id, main};
}

// START clicked, the exercise window up and its sheet painted; where it is.
std::optional<XWindow> startStage(XSession &x, const QRect &main)
{
    const StartLayout start(main);
    x.click(start.start.center().x(), start.start.center().y());
    const auto exercise = waitForExercise(x);
    if (exercise)
        x.waitForScreen([&](const QImage &s) { return sheetShown(s, StageLayout::forExercise(exercise->rect)); }, 5000);
    return exercise;
}

// The program started and a stage opened on it: the main window, the
// exercise window and where the stage's pieces stand.
struct OpenStage {
    QString mainId;
    QRect main;
    XWindow exercise;
    StageLayout stage;
};

// Starts the program and clicks START; nothing, with the failure recorded,
// when the start screen or the stage did not come.
std::optional<OpenStage> openStage(XSession &x)
{
    const auto [mainId, main] = startProgram(x);
    if (main.isEmpty())
        return std::nullopt;
    const auto exercise = startStage(x, main);
    if (!exercise) {
        ADD_FAILURE() << "START opened no exercise window";
        return std::nullopt;
    }
    return OpenStage{mainId, main, *exercise, StageLayout::forExercise(exercise->rect)};
}

void expectClosesWithTheStrip(XSession &x, const QRect &main)
{
    const StartLayout start(main);
    x.click(start.stripCell(4).x(), start.stripCell(4).y());
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the close cell did not end the program";
    EXPECT_EQ(*code, 0);
}

// ---------------------------------------------------------------------------
// Screens: which are accepted, and how the main window fits them.

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

    const auto exercise = startStage(x, main);
    ASSERT_TRUE(exercise.has_value()) << "START opened no exercise window";
    const StageLayout stage = StageLayout::forExercise(exercise->rect);
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
// Scenarios run on each desktop.

class OnDesktop : public ::testing::TestWithParam<WindowManager>
{
};
class OnManagedDesktop : public OnDesktop
{
};

// A whole stage with the clock shown: typing, the question answering No by
// itself, Yes revealing the product, BACK, and the strip closing the program.
TEST_P(OnDesktop, wholeStageWithTheClockShown)
{
    XSession x(1280, 800, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    const auto [mainId, main] = startProgram(x);
    ASSERT_FALSE(main.isEmpty());
    const StartLayout start(main);
    x.click(start.start.center().x(), start.start.center().y());

    const StageLayout stage(main);
    QImage shot = x.waitForScreen([&](const QImage &s) { return countPixels(s, stage.clock, clockBlue) > 50; });
    ASSERT_GT(countPixels(shot, stage.clock, clockBlue), 50) << "the clock is shown";
    // The factors stand in rows 1 and 2, columns 21 to 40; column 20 is empty.
    EXPECT_GT(countPixels(shot, stage.cell(1, 21), dark), 10);
    EXPECT_GT(countPixels(shot, stage.cell(2, 40), dark), 10);
    EXPECT_EQ(countPixels(shot, stage.cell(1, 20), dark), 0);

    x.type("123");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 38); });
    for (int column : {40, 39, 38})
        EXPECT_TRUE(digitIn(shot, stage, column)) << "digit in column " << column;
    EXPECT_LT(countPixels(shot, stage.cell(5, 36), dark), 5);

    // Enter asks; left alone, the box says No by itself after about 5 s.
    x.key("Return");
    ASSERT_FALSE(waitForBox(x).isEmpty()) << "no question";
    QElapsedTimer open;
    open.start();
    while (open.elapsed() < 9000 && !boxOnScreen(x).isEmpty())
        sleepMs(100);
    EXPECT_GE(open.elapsed(), 3500);
    EXPECT_LT(open.elapsed(), 8000) << "the box did not answer by itself";
    shot = x.screenshot();
    EXPECT_TRUE(digitIn(shot, stage, 40)) << "the typed digits stay";

    // Again, and Yes (the default button) this time.
    if (const auto exercise = exerciseWindow(x))
        x.focus(exercise->id);
    x.key("Return");
    const QString box = waitForBox(x);
    ASSERT_FALSE(box.isEmpty());
    x.focus(box);
    x.key("Return");
    shot = x.waitForScreen([&](const QImage &s) { return wrongVerdictShown(s, stage); });
    // Every revealed digit sits on green or light red; "321" cannot be the
    // product, so some cell is red (the units cell may match by chance),
    // and the verdict is wrong.
    EXPECT_TRUE(revealed(shot, stage));
    int red = 0;
    for (int column = 2; column <= 40; ++column)
        red += sameColor(shot.pixel(stage.cell(7, column).x() + 2, stage.cell(7, column).y() + 2), kLightRed, 8);
    EXPECT_GT(red, 0);
    EXPECT_TRUE(wrongVerdictShown(shot, stage)) << "the red X of a wrong answer";
    EXPECT_EQ(countPixels(shot, stage.result, [](QRgb p) { return qGreen(p) > 120 && qRed(p) < 80; }), 0);
    EXPECT_GT(countPixels(shot, stage.backCentred.adjusted(30, 10, -30, -10), dark), 10) << "BACK at the bottom centre";

    x.click(stage.backCentred.center().x(), stage.backCentred.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    EXPECT_TRUE(titleShown(shot, main)) << "BACK returns to the start screen";
    expectClosesWithTheStrip(x, main);
}

// The clock hidden, the markers stepped from the keypad, BACK mid-stage.
TEST_P(OnDesktop, hiddenClockMarkersAndBackDuringTheStage)
{
    XSession x(1024, 768, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    const auto [mainId, main] = startProgram(x);
    ASSERT_EQ(main, QRect(0, 0, 1024, 768));
    const StartLayout start(main);
    x.click(start.comboPoint.x(), start.comboPoint.y());
    x.key("Down");
    x.key("Return");
    sleepMs(300);
    x.click(start.start.center().x(), start.start.center().y());

    const StageLayout stage(main);
    QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, stage); });
    ASSERT_TRUE(sheetShown(shot, stage)) << "the stage is shown";
    EXPECT_EQ(stage.sheetPanel.topLeft(), QPoint(61, 204)) << "the layout worked out for 1024 x 743";
    sleepMs(1500);
    shot = x.screenshot();
    EXPECT_EQ(countPixels(shot, stage.clock, clockBlue), 0) << "the clock display stays hidden";

    x.key("KP_Multiply");
    x.key("KP_Multiply");
    const QRgb marked = qRgb(215, 229, 248);
    shot = x.waitForScreen([&](const QImage &s) {
        return sameColor(s.pixel(stage.cell(1, 39).x() + 1, stage.cell(1, 39).y() + 1), marked, 2);
    });
    for (int column : {40, 39}) {
        for (int row : {1, 2})
            EXPECT_TRUE(sameColor(shot.pixel(stage.cell(row, column).x() + 1, stage.cell(row, column).y() + 1), marked, 2))
                << "highlight in row " << row << " column " << column;
    }
    EXPECT_FALSE(sameColor(shot.pixel(stage.cell(1, 38).x() + 1, stage.cell(1, 38).y() + 1), marked, 2));
    // Markers 0 and 1 show the guide picture (a green check), marker 2 none.
    const auto marker = [&](int i) {
        return QRect(stage.grid.right() + 1 - 28 - 22 * i, stage.sheetPanel.y() + 10, 20, 32);
    };
    const auto greenCheck = [](QRgb p) { return qGreen(p) > 100 && qRed(p) < 100 && qBlue(p) < 100; };
    EXPECT_GT(countPixels(shot, marker(0), greenCheck), 10);
    EXPECT_GT(countPixels(shot, marker(1), greenCheck), 10);
    EXPECT_EQ(countPixels(shot, marker(2), greenCheck), 0);

    x.click(stage.back.center().x(), stage.back.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    EXPECT_TRUE(titleShown(shot, main)) << "BACK leaves at once, without a question";
    EXPECT_TRUE(boxOnScreen(x).isEmpty());
}

// START takes Enter from the keyboard as soon as the start screen is up,
// without a click anywhere first; and again after BACK, from the keypad.
TEST_P(OnDesktop, enterStartsAStage)
{
    XSession x(1920, 1080, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    const auto [mainId, main] = startProgram(x);
    ASSERT_FALSE(main.isEmpty());

    x.key("Return");
    auto exercise = waitForExercise(x, 4000);
    ASSERT_TRUE(exercise.has_value()) << "Return on the fresh start screen started no stage";
    StageLayout stage = StageLayout::forExercise(exercise->rect);
    QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, stage); }, 5000);
    EXPECT_TRUE(sheetShown(shot, stage));

    x.click(stage.back.center().x(), stage.back.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    ASSERT_TRUE(titleShown(shot, main)) << "BACK";
    ASSERT_TRUE(waitUntil([&] { return !exerciseWindow(x); }, 3000));

    x.key("KP_Enter");
    exercise = waitForExercise(x, 4000);
    ASSERT_TRUE(exercise.has_value()) << "keypad Enter after BACK started no stage";
    stage = StageLayout::forExercise(exercise->rect);
    shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, stage); }, 5000);
    EXPECT_TRUE(sheetShown(shot, stage));
}

// The exercise window covers the main window exactly, below its top band, on
// every START, and goes with the main window when that is moved.
TEST_P(OnDesktop, exerciseWindowDocksBelowTheBandAndFollowsTheMainWindow)
{
    XSession x(1920, 1080, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    auto [mainId, main] = startProgram(x);
    ASSERT_FALSE(main.isEmpty());
    EXPECT_EQ(main, QRect(320, 140, 1280, 800)) << "centred on the screen";

    auto exercise = startStage(x, main);
    ASSERT_TRUE(exercise.has_value()) << "START opened no exercise window";
    EXPECT_EQ(waitForDocking(x, dockedBelow(main)), dockedBelow(main));
    QImage shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, StageLayout(main))) << "the sheet where the layout puts it";

    x.xdotool({"windowmove", mainId, "100", "60"});
    ASSERT_TRUE(waitUntil([&] { return x.windowGeometry(mainId).topLeft() == QPoint(100, 60); }, 5000))
        << "the main window did not move: " << x.windowGeometry(mainId);
    main = x.windowGeometry(mainId);
    EXPECT_EQ(waitForDocking(x, dockedBelow(main)), QRect(100, 85, 1280, 775)) << "the exercise window follows";
    shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, StageLayout(main)); }, 3000);
    EXPECT_TRUE(sheetShown(shot, StageLayout(main)));

    // BACK, and a new START where the main window now stands.
    const StageLayout stage(main);
    x.click(stage.back.center().x(), stage.back.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    ASSERT_TRUE(titleShown(shot, main)) << "BACK";
    ASSERT_TRUE(waitUntil([&] { return !exerciseWindow(x); }, 3000));
    exercise = startStage(x, main);
    ASSERT_TRUE(exercise.has_value()) << "the second START opened no exercise window";
    EXPECT_EQ(waitForDocking(x, dockedBelow(main)), QRect(100, 85, 1280, 775));
}

// The exercise window belongs to the main window: the desktop keeps it on top
// of it and out of the task bar, and a click on the main window's band or on
// the strip's backdrop cell leaves the stage in front with the keyboard.
TEST_P(OnDesktop, exerciseWindowStaysOnTopOfItsMainWindow)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    auto [mainId, main, exercise, stage] = *open;

    const QString owner = x.property(exercise.id, "WM_TRANSIENT_FOR");
    const QString mainHex = "0x" + QString::number(mainId.toULongLong(), 16);
    EXPECT_TRUE(owner.endsWith("window id # " + mainHex)) << owner.toStdString() << ", main window " << mainHex.toStdString();
    const QString state = x.property(exercise.id, "_NET_WM_STATE");
    EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state.toStdString();

    x.click(main.x() + 600, main.y() + 10);
    sleepMs(500);
    QImage shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, stage)) << "a click on the band hid the stage";
    EXPECT_TRUE(bandShown(shot, main));
    EXPECT_GT(countPixels(shot, stage.clock, clockBlue), 50) << "a click on the band hid the clock";
    x.type("7");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 40)) << "a digit typed after a click on the band";

    const StartLayout start(x.windowGeometry(mainId));
    x.click(start.stripCell(1).x(), start.stripCell(1).y());
    shot = x.waitForScreen([&](const QImage &s) { return sameColor(s.pixel(0, 0), kBackdropTopLeft, 3); }, 5000);
    EXPECT_TRUE(sameColor(shot.pixel(0, 0), kBackdropTopLeft, 3)) << "the backdrop shows";
    const auto after = exerciseWindow(x);
    ASSERT_TRUE(after.has_value()) << "the exercise window went";
    stage = StageLayout::forExercise(after->rect);
    sleepMs(300);
    shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, stage)) << "the backdrop came over the stage";
    EXPECT_TRUE(bandShown(shot, x.windowGeometry(mainId))) << "the backdrop came over the main window's band";
    x.type("8");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 39); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 39)) << "a digit typed after the backdrop cell";
}

// The question takes the keyboard as soon as it opens: Escape answers No
// and gives the keyboard back to the sheet; Return answers Yes.
TEST_P(OnDesktop, finishQuestionTakesTheKeyboard)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, exercise, stage] = *open;
    x.type("12");
    QImage shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 39); }, 3000);
    ASSERT_TRUE(digitIn(shot, stage, 39)) << "typing";

    x.key("Return");
    ASSERT_FALSE(waitForBox(x).isEmpty()) << "Return asked no question";
    x.key("Escape");
    EXPECT_TRUE(waitUntil([&] { return boxOnScreen(x).isEmpty(); }, 2000)) << "Escape did not reach the box";
    // Whatever happened, the box has answered No by itself after 5 s.
    ASSERT_TRUE(waitUntil([&] { return boxOnScreen(x).isEmpty(); }, 7000));
    x.type("3");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 38); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 38)) << "the keyboard did not come back to the sheet after No";
    EXPECT_FALSE(revealed(shot, stage)) << "No finished the stage";

    x.key("Return");
    ASSERT_FALSE(waitForBox(x).isEmpty()) << "Return asked no question the second time";
    x.key("Return");
    shot = x.waitForScreen([&](const QImage &s) { return revealed(s, stage); }, 4000);
    EXPECT_TRUE(revealed(shot, stage)) << "Return did not answer Yes";
    EXPECT_TRUE(wrongVerdictShown(shot, stage)) << "no verdict";
}

// After the finish the sheet is only something to look at: no key moves,
// marks or writes anything on it.
TEST_P(OnDesktop, sheetIgnoresKeysAfterTheFinish)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, exercise, stage] = *open;
    x.type("45");
    x.key("Return");
    const QString box = waitForBox(x);
    ASSERT_FALSE(box.isEmpty()) << "Return asked no question";
    x.focus(box);
    x.key("Return");
    QImage shot = x.waitForScreen([&](const QImage &s) { return revealed(s, stage) && wrongVerdictShown(s, stage); });
    ASSERT_TRUE(revealed(shot, stage)) << "Yes did not finish the stage";
    sleepMs(600);
    const QImage before = x.screenshot().copy(stage.sheetPanel);

    for (const char *key : {"Left", "Left", "Right", "KP_Multiply", "KP_Multiply", "6", "7", "BackSpace"})
        x.key(key);
    sleepMs(700);
    const QImage after = x.screenshot().copy(stage.sheetPanel);
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int xx = 0; xx < before.width(); ++xx)
            changed += before.pixel(xx, y) != after.pixel(xx, y);
    EXPECT_EQ(changed, 0) << "pixels of the sheet changed after the finish";
}

// Closing the program's windows from outside: the window manager's close
// (Alt+F4), or the window destroyed under the program's feet.
enum class Closer { AltF4, DestroyExercise, DestroyMain };

struct CloseCase {
    WindowManager wm;
    Closer how;
};

std::string closeCaseName(const ::testing::TestParamInfo<CloseCase> &info)
{
    const char *how = info.param.how == Closer::AltF4 ? "AltF4"
                      : info.param.how == Closer::DestroyExercise ? "DestroyExercise"
                                                                 : "DestroyMain";
    return nameOf(info.param.wm).toStdString() + "_" + how;
}

void PrintTo(const CloseCase &c, std::ostream *os) { *os << closeCaseName({c, 0}); }

class ClosedFromOutside : public ::testing::TestWithParam<CloseCase>
{
};

// Closing the exercise window from outside is BACK: the start screen comes
// back whole, and START works again. Closing the main window ends the
// program cleanly.
TEST_P(ClosedFromOutside, actsAsBackOrEndsTheProgram)
{
    const CloseCase c = GetParam();
    XSession x(1920, 1080, c.wm);
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, exercise, stage] = *open;
    x.type("5");
    x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);

    switch (c.how) {
    case Closer::AltF4:
        if (x.focusedWindow() != exercise.id)
            x.xdotool({"windowactivate", exercise.id}, 3000);
        waitUntil([&] { return x.focusedWindow() == exercise.id; }, 3000);
        ASSERT_EQ(x.focusedWindow(), exercise.id) << "the exercise window does not have the focus";
        x.key("alt+F4");
        break;
    case Closer::DestroyExercise:
        x.xdotool({"windowclose", exercise.id});
        break;
    case Closer::DestroyMain: {
        x.xdotool({"windowclose", mainId});
        const auto code = x.waitForExit(5000);
        ASSERT_TRUE(code.has_value()) << "the program went on without its main window";
        EXPECT_EQ(*code, 0);
        return;
    }
    }

    EXPECT_TRUE(waitUntil([&] { return !exerciseWindow(x); }, 3000)) << "the exercise window is still there";
    QImage shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); }, 5000);
    EXPECT_TRUE(titleShown(shot, main)) << "the start screen did not come back";
    ASSERT_TRUE(x.programRunning()) << "the program ended";
    const auto again = startStage(x, main);
    ASSERT_TRUE(again.has_value()) << "START no longer works";
    EXPECT_EQ(again->rect, dockedBelow(main));
    shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, StageLayout(main)));
}

INSTANTIATE_TEST_SUITE_P(Closing, ClosedFromOutside,
                         ::testing::Values(CloseCase{WindowManager::None, Closer::DestroyExercise},
                                           CloseCase{WindowManager::None, Closer::DestroyMain},
                                           CloseCase{WindowManager::Openbox, Closer::AltF4},
                                           CloseCase{WindowManager::Openbox, Closer::DestroyExercise},
                                           CloseCase{WindowManager::Openbox, Closer::DestroyMain},
                                           CloseCase{WindowManager::Xfwm4, Closer::AltF4},
                                           CloseCase{WindowManager::Xfwm4, Closer::DestroyExercise},
                                           CloseCase{WindowManager::Xfwm4, Closer::DestroyMain}),
                         closeCaseName);

// ---------------------------------------------------------------------------
// The training log, as a user keeps it: stages played with --log, the
// progress view, the export.

// The dark pixels of a sheet cell: what a digit looks like there.
QList<bool> darkMask(const QImage &shot, const QRect &cell)
{
    QList<bool> mask;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            mask.append(dark(shot.pixel(x, y)));
    return mask;
}

// The digit in a cell, by the closest of the ten digits seen in the answer
// row; -1 for an empty cell or one no digit is clearly closest to.
int readDigit(const QImage &shot, const QRect &cell, const QList<QList<bool>> &digits)
{
    const QList<bool> mask = darkMask(shot, cell);
    if (mask.count(true) < 10)
        return -1;
    int best = -1, bestDistance = INT_MAX, secondDistance = INT_MAX;
    for (int d = 0; d < digits.size(); ++d) {
        int distance = 0;
        for (int i = 0; i < mask.size(); ++i)
            distance += mask[i] != digits[d][i];
        if (distance < bestDistance)
            secondDistance = bestDistance, bestDistance = distance, best = d;
        else if (distance < secondDistance)
            secondDistance = distance;
    }
    return bestDistance * 2 < secondDistance ? best : -1;
}

// The factor in sheet row 1 or 2 (columns 21 to 40); empty if a digit could
// not be read.
QString readFactor(const QImage &shot, const StageLayout &stage, int row, const QList<QList<bool>> &digits)
{
    QString factor;
    for (int column = 21; column <= 40; ++column) {
        const int d = readDigit(shot, stage.cell(row, column), digits);
        if (d < 0)
            return {};
        factor.append(QChar(u'0' + d));
    }
    return factor;
}

// The product as the trainer writes it: 39 digits for two 20-digit factors,
// leading zeros kept, and a 40th when the last column leaves a carry.
QString productOf(const QString &a, const QString &b)
{
    std::vector<int> digits(a.size() + b.size(), 0); // units first
    for (qsizetype i = 0; i < a.size(); ++i)
        for (qsizetype j = 0; j < b.size(); ++j)
            digits[i + j] += (a[a.size() - 1 - i].unicode() - u'0') * (b[b.size() - 1 - j].unicode() - u'0');
    for (std::size_t k = 0; k + 1 < digits.size(); ++k) {
        digits[k + 1] += digits[k] / 10;
        digits[k] %= 10;
    }
    if (digits.back() == 0)
        digits.pop_back();
    QString product;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it)
        product.append(QChar(u'0' + *it));
    return product;
}

QString reversed(const QString &s)
{
    QString r;
    for (auto it = s.crbegin(); it != s.crend(); ++it)
        r.append(*it);
    return r;
}

bool correctVerdictShown(const QImage &shot, const StageLayout &stage)
{
    return countPixels(shot, stage.result, [](QRgb p) { return qGreen(p) > 120 && qRed(p) < 80; }) > 300;
}

// The CSV the export wrote: the header's names, then one map per row.
QList<QMap<QString, QString>> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return {};
    const QStringList names = lines.first().split(u',');
    QList<QMap<QString, QString>> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // Nothing in these rows needs quoting: digits, a time, a word.
        const QStringList fields = lines[i].split(u',');
        QMap<QString, QString> row;
        for (qsizetype f = 0; f < names.size() && f < fields.size(); ++f)
            row.insert(names[f], fields[f]);
        rows.append(row);
    }
    return rows;
}

// With --log: a stage left with BACK, one answered correctly, one with one
// wrong digit, one left empty. The progress view charts the three evaluated
// ones with the correct one marked, and the export holds all four rows.
// The factors are read off the screen with the digits the first stage's
// answer row showed, and multiplied here.
TEST_P(OnDesktop, trainingLogKeepsEveryStageAndShowsProgress)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const auto restore = qScopeGuard([&] {
        if (savedDataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedDataHome);
    });

    XSession x(1920, 1080, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    ASSERT_TRUE(x.startProgram({QStringLiteral("--log")}));
    const QString mainId = x.waitForWindow(kMainTitle);
    ASSERT_FALSE(mainId.isEmpty()) << "no start screen";
    const QRect main = x.windowGeometry(mainId);
    x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });

    const auto backToStart = [&](const QRect &back) {
        x.click(back.center().x(), back.center().y());
        const QImage shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main) && !exerciseWindow(x); });
        return titleShown(shot, main);
    };
    const auto finish = [&](const StageLayout &stage) {
        if (const auto exercise = exerciseWindow(x))
            x.focus(exercise->id);
        x.key("Return");
        const QString box = waitForBox(x);
        if (box.isEmpty())
            return QImage();
        x.focus(box);
        x.key("Return");
        return x.waitForScreen([&](const QImage &s) {
            return revealed(s, stage) && (correctVerdictShown(s, stage) || wrongVerdictShown(s, stage));
        });
    };

    // 1. The digits 0 to 9 typed into the answer row, seen, and the stage left with BACK.
    auto exercise = startStage(x, main);
    ASSERT_TRUE(exercise.has_value());
    StageLayout stage = StageLayout::forExercise(exercise->rect);
    x.type(QStringLiteral("0123456789"));
    QImage shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 31); });
    QList<QList<bool>> digits;
    for (int d = 0; d <= 9; ++d)
        digits.append(darkMask(shot, stage.cell(5, 40 - d)));
    ASSERT_TRUE(backToStart(stage.back)) << "BACK during the stage";

    // 2. The right product; 3. the right product with its units digit wrong;
    // 4. nothing typed.
    struct Played {
        QString factor1, factor2, product;
    };
    QList<Played> played;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        exercise = startStage(x, main);
        ASSERT_TRUE(exercise.has_value());
        stage = StageLayout::forExercise(exercise->rect);
        shot = x.screenshot();
        Played p{readFactor(shot, stage, 1, digits), readFactor(shot, stage, 2, digits), {}};
        ASSERT_EQ(p.factor1.size(), 20) << "the first factor could not be read";
        ASSERT_EQ(p.factor2.size(), 20) << "the second factor could not be read";
        p.product = productOf(p.factor1, p.factor2);
        played.append(p);
        QString answer = p.product;
        if (round == 1)
            answer.back() = QChar(u'0' + (answer.back().unicode() - u'0' + 1) % 10);
        if (round < 2) {
            x.type(reversed(answer));
            x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 41 - answer.size()); });
        }
        shot = finish(stage);
        ASSERT_FALSE(shot.isNull()) << "Return asked no question";
        if (round == 0)
            EXPECT_TRUE(correctVerdictShown(shot, stage)) << "the right product was not taken as correct";
        else
            EXPECT_TRUE(wrongVerdictShown(shot, stage));
        ASSERT_TRUE(backToStart(stage.backCentred)) << "BACK after the finish";
    }
    expectClosesWithTheStrip(x, main);

    // The progress view: a window of its own on the screen, the chart with
    // one mark of a correct stage.
    ASSERT_TRUE(x.startProgram({QStringLiteral("--progress")}));
    const QString progressId = x.waitForWindow(QStringLiteral("Vendrakul progress"));
    ASSERT_FALSE(progressId.isEmpty()) << "no progress view";
    const QRect progress = x.windowGeometry(progressId);
    EXPECT_TRUE(inside(progress, x.screenSize())) << progress;
    const auto correctMark = [](QRgb p) { return sameColor(p, qRgb(0x1e, 0x9e, 0x3a), 30); };
    const auto secondsBlue = [](QRgb p) { return sameColor(p, qRgb(0x1f, 0x5f, 0xa8), 30); };
    shot = x.waitForScreen([&](const QImage &s) { return countPixels(s, progress, correctMark) > 40; });
    EXPECT_GT(countPixels(shot, progress, correctMark), 40) << "the correct stage is not marked";
    EXPECT_GT(countPixels(shot, progress, secondsBlue), 100) << "no seconds drawn";
    // Put away with Escape, which ends the program.
    x.focus(progressId);
    x.key("Escape");
    const auto closed = x.waitForExit(10000);
    ASSERT_TRUE(closed.has_value()) << "the progress view did not close";
    EXPECT_EQ(*closed, 0);

    // The export: four rows in the order played.
    const QString csv = data.filePath(QStringLiteral("stages.csv"));
    int exitCode = -1;
    x.run(XSession::programPath(), {QStringLiteral("--export-log"), csv}, 10000, &exitCode);
    ASSERT_EQ(exitCode, 0);
    const auto rows = readCsv(csv);
    ASSERT_EQ(rows.size(), 4);
    const QStringList verdicts{QStringLiteral("left"), QStringLiteral("correct"), QStringLiteral("wrong"),
                               QStringLiteral("wrong")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rows[i].value(QStringLiteral("verdict")), verdicts[i]) << "row " << i;
    for (int i = 0; i < 3; ++i) {
        const auto &row = rows[i + 1];
        EXPECT_EQ(row.value(QStringLiteral("factor1")), played[i].factor1) << "row " << i + 1;
        EXPECT_EQ(row.value(QStringLiteral("factor2")), played[i].factor2) << "row " << i + 1;
        EXPECT_EQ(row.value(QStringLiteral("product")), played[i].product) << "row " << i + 1;
    }
    const int length = static_cast<int>(played[0].product.size());
    EXPECT_EQ(rows[1].value(QStringLiteral("digits_matched")).toInt(), length);
    EXPECT_EQ(rows[2].value(QStringLiteral("digits_matched")).toInt(), played[1].product.size() - 1);
    EXPECT_EQ(rows[3].value(QStringLiteral("digits_matched")).toInt(), 0);
    EXPECT_EQ(rows[3].value(QStringLiteral("answer")), QString());
    for (const auto &row : rows)
        EXPECT_EQ(row.value(QStringLiteral("clock_shown")), QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Desktops, OnDesktop, kAllDesktops, kDesktopName);

// ---------------------------------------------------------------------------
// Scenarios that need a window manager.

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

// Minimising during a stage takes both windows off the screen; activating
// the main window brings both back, docked, with the keyboard at the sheet.
TEST_P(OnManagedDesktop, minimiseDuringAStageHidesBothAndRestoreBringsBothBack)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    auto [mainId, main, exercise, stage] = *open;
    x.type("7");
    x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);

    const StartLayout start(main);
    x.click(start.stripCell(2).x(), start.stripCell(2).y());
    const auto viewable = [&](const QString &id) {
        const auto w = x.window(id);
        return w && w->viewable;
    };
    waitUntil([&] { return !viewable(mainId) && !viewable(exercise.id); }, 3000);
    EXPECT_FALSE(viewable(mainId)) << "the main window is still on screen";
    EXPECT_FALSE(viewable(exercise.id)) << "the exercise window is still on screen";
    QImage shot = x.screenshot();
    EXPECT_EQ(countPixels(shot, main, body), 0) << "pieces of the program are still on screen";
    EXPECT_FALSE(sheetShown(shot, stage)) << "the sheet is still on screen";

    x.xdotool({"windowactivate", mainId});
    EXPECT_TRUE(waitUntil([&] { return viewable(mainId) && viewable(exercise.id); }, 3000))
        << "not both windows came back";
    const QRect mainNow = x.windowGeometry(mainId);
    EXPECT_EQ(waitForDocking(x, dockedBelow(mainNow)), dockedBelow(mainNow));
    stage = StageLayout(mainNow);
    shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, stage); }, 3000);
    EXPECT_TRUE(sheetShown(shot, stage)) << "the stage is not in front";
    x.type("8");
    shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 39); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 39)) << "a digit typed after the restore";
}

// The screen changes size while a stage runs: the main window fits the new
// screen, the exercise window stays docked and FINISH within reach.
TEST_P(OnManagedDesktop, screenChangeWhileAStageRuns)
{
    XSession x(1920, 1080, GetParam(), ScreenKind::Resizable);
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, exercise, stage] = *open;
    EXPECT_EQ(main.size(), QSize(1280, 800));

    ASSERT_TRUE(x.setScreenSize(1024, 768));
    QRect now;
    waitUntil([&] { return (now = x.windowGeometry(mainId)) == QRect(0, 0, 1024, 768); }, 5000);
    EXPECT_EQ(now, QRect(0, 0, 1024, 768)) << "the main window on the small screen";
    EXPECT_EQ(waitForDocking(x, QRect(0, 25, 1024, 743)), QRect(0, 25, 1024, 743));
    const StageLayout small(QRect(0, 0, 1024, 768));
    QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, small); }, 3000);
    EXPECT_TRUE(sheetShown(shot, small)) << "the sheet laid out for the small screen";
    EXPECT_GT(countPixels(shot, small.finish.adjusted(30, 10, -30, -10), dark), 10) << "FINISH on the small screen";

    ASSERT_TRUE(x.setScreenSize(1920, 1080));
    waitUntil([&] { return (now = x.windowGeometry(mainId)).size() == QSize(1280, 800); }, 5000);
    EXPECT_EQ(now.size(), QSize(1280, 800)) << "the main window back on the large screen: " << now;
    EXPECT_TRUE(inside(now, QSize(1920, 1080))) << now;
    EXPECT_EQ(waitForDocking(x, dockedBelow(now)), dockedBelow(now));
    shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, StageLayout(now)); }, 3000);
    EXPECT_TRUE(sheetShown(shot, StageLayout(now))) << "the sheet laid out for the large screen again";
}

INSTANTIATE_TEST_SUITE_P(Desktops, OnManagedDesktop, kManagedDesktops, kDesktopName);

} // namespace
} // namespace vk::e2e

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
