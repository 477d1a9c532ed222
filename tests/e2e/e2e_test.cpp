// The real program on a real X server, worked with xdotool as a person
// would, and checked on screenshots at places worked out from the layout.
#include "layout.h"
#include "xsession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace vk::e2e {
namespace {

const QString kMainTitle = QStringLiteral("Kelvaris Ostravel");
const QRgb kBody = qRgb(197, 214, 237);
const QRgb kClockBlue = qRgb(11, 3, 103);
const QRgb kGreen = qRgb(0, 192, 0);
const QRgb kLightRed = qRgb(255, 128, 128);

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

void sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

// Starts the program and waits for its start screen.
QRect startProgram(XSession &x)
{
    EXPECT_TRUE(x.ok()) << "Xvfb did not start";
    EXPECT_TRUE(x.startProgram());
    const QString id = x.waitForWindow(kMainTitle);
    EXPECT_FALSE(id.isEmpty()) << "no start screen";
    sleepMs(700);
    return id.isEmpty() ? QRect() : x.windowGeometry(id);
}

bool titleShown(const QImage &shot, const QRect &main)
{
    // The dark red title of the start screen, in the band below the frame.
    const QRect band(main.x() + main.width() / 2 - 200, main.y() + 75, 400, 90);
    return countPixels(shot, band, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 60 && qBlue(p) < 60; }) > 300;
}

TEST(EndToEnd, screenBelow768ShowsTheMessageAndEndsWithFailure)
{
    XSession x(1024, 767);
    ASSERT_TRUE(x.ok());
    ASSERT_TRUE(x.startProgram());
    // The message box is the program's only window; the main window never shows.
    QStringList windows;
    for (int i = 0; i < 50 && windows.isEmpty(); ++i, sleepMs(200))
        windows = x.visibleWindowsOfProgram();
    ASSERT_FALSE(windows.isEmpty()) << "no message shown";
    EXPECT_TRUE(x.xdotool({"search", "--onlyvisible", "--name", "^" + kMainTitle + "$"}).isEmpty());
    const QImage shot = x.screenshot();
    const QRect box = x.windowGeometry(windows.first());
    EXPECT_GT(countPixels(shot, box, dark), 50) << "the box shows its text";
    x.focus(windows.first());
    x.key("Return");
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_NE(*code, 0);
}

struct ScreenCase {
    int width;
    int height;
    QSize expected;
};

class StartScreen : public ::testing::TestWithParam<ScreenCase>
{
};

TEST_P(StartScreen, appearsAtItsSizeWithItsFrameAndClosesCleanly)
{
    const ScreenCase c = GetParam();
    XSession x(c.width, c.height);
    const QRect main = startProgram(x);
    ASSERT_EQ(main.size(), c.expected);
    EXPECT_GE(main.x(), 0);
    EXPECT_GE(main.y(), 0);
    EXPECT_LE(main.right(), c.width - 1);
    EXPECT_LE(main.bottom(), c.height - 1);

    const QImage shot = x.screenshot();
    // Body colour inside the frame, the frame's blue at its sides, the title.
    EXPECT_TRUE(sameColor(shot.pixel(main.x() + 40, main.y() + main.height() / 2), kBody));
    const QRgb side = shot.pixel(main.x() + 10, main.y() + main.height() / 2);
    EXPECT_GT(qBlue(side), qRed(side) + 40) << "the left border is blue";
    EXPECT_TRUE(titleShown(shot, main));
    // START sits in the settings panel as laid out.
    const StartLayout start(main);
    EXPECT_GT(countPixels(shot, start.start.adjusted(20, 10, -20, -10), dark), 20) << "START's caption";

    x.click(start.stripCell(4).x(), start.stripCell(4).y());
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
}

INSTANTIATE_TEST_SUITE_P(Screens, StartScreen,
                         ::testing::Values(ScreenCase{1280, 800, {1280, 800}}, ScreenCase{1024, 768, {1024, 768}},
                                           ScreenCase{1280, 1024, {1280, 800}}),
                         [](const auto &info) {
                             return QStringLiteral("%1x%2").arg(info.param.width).arg(info.param.height).toStdString();
                         });

// A whole stage with the clock shown: typing, the question answering No by
// itself, Yes revealing the product, BACK, and the strip closing the program.
TEST(EndToEnd, wholeStageWithTheClockShown)
{
    XSession x(1280, 800);
    const QRect main = startProgram(x);
    ASSERT_FALSE(main.isEmpty());
    const StartLayout start(main);
    x.click(start.start.center().x(), start.start.center().y());

    const StageLayout stage(main);
    QImage shot = x.waitForScreen([&](const QImage &s) {
        return countPixels(s, stage.clock, [](QRgb p) { return sameColor(p, kClockBlue, 40); }) > 50;
    });
    ASSERT_GT(countPixels(shot, stage.clock, [](QRgb p) { return sameColor(p, kClockBlue, 40); }), 50)
        << "the clock is shown";
    // The factors stand in rows 1 and 2, columns 21 to 40; column 20 is empty.
    EXPECT_GT(countPixels(shot, stage.cell(1, 21), dark), 10);
    EXPECT_GT(countPixels(shot, stage.cell(2, 40), dark), 10);
    EXPECT_EQ(countPixels(shot, stage.cell(1, 20), dark), 0);

    x.type("123");
    shot = x.waitForScreen([&](const QImage &s) { return countPixels(s, stage.cell(5, 38), dark) > 10; });
    for (int column : {40, 39, 38})
        EXPECT_GT(countPixels(shot, stage.cell(5, column), dark), 10) << "digit in column " << column;
    EXPECT_LT(countPixels(shot, stage.cell(5, 36), dark), 5);

    // Enter asks; left alone, the box says No by itself after about 5 s.
    x.key("Return");
    QString box;
    for (int i = 0; i < 30 && box.isEmpty(); ++i, sleepMs(100))
        box = x.xdotool({"search", "--onlyvisible", "--name", "^KELVARIS$"});
    ASSERT_FALSE(box.isEmpty()) << "no question";
    QElapsedTimer open;
    open.start();
    while (open.elapsed() < 9000 && !x.xdotool({"search", "--onlyvisible", "--name", "^KELVARIS$"}).isEmpty())
        sleepMs(100);
    EXPECT_GE(open.elapsed(), 3500);
    EXPECT_LT(open.elapsed(), 8000) << "the box did not answer by itself";
    shot = x.screenshot();
    EXPECT_GT(countPixels(shot, stage.cell(5, 40), dark), 10) << "the typed digits stay";

    // Again, and Yes (the default button) this time.
    x.key("Return");
    box.clear();
    for (int i = 0; i < 30 && box.isEmpty(); ++i, sleepMs(100))
        box = x.xdotool({"search", "--onlyvisible", "--name", "^KELVARIS$"});
    ASSERT_FALSE(box.isEmpty());
    x.focus(box.split('\n').first());
    x.key("Return");
    shot = x.waitForScreen([&](const QImage &s) {
        return countPixels(s, stage.result, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90; }) > 300;
    });
    // Every revealed digit sits on green or light red; "123" cannot be the
    // product, so the units cell at least is red, and the verdict is wrong.
    int green = 0, red = 0;
    for (int column = 2; column <= 40; ++column) {
        const QRgb p = shot.pixel(stage.cell(7, column).x() + 2, stage.cell(7, column).y() + 2);
        green += sameColor(p, kGreen, 8);
        red += sameColor(p, kLightRed, 8);
    }
    EXPECT_EQ(green + red, 39);
    EXPECT_GT(red, 0);
    EXPECT_GT(countPixels(shot, stage.result, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90; }), 300)
        << "the red X of a wrong answer";
    EXPECT_EQ(countPixels(shot, stage.result, [](QRgb p) { return qGreen(p) > 120 && qRed(p) < 80; }), 0);
    EXPECT_GT(countPixels(shot, stage.backCentred.adjusted(30, 10, -30, -10), dark), 10) << "BACK at the bottom centre";

    x.click(stage.backCentred.center().x(), stage.backCentred.center().y());
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    EXPECT_TRUE(titleShown(shot, main)) << "BACK returns to the start screen";

    x.click(start.stripCell(4).x(), start.stripCell(4).y());
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
}

// The clock hidden, the markers stepped from the keypad, BACK mid-stage.
TEST(EndToEnd, hiddenClockMarkersAndBackDuringTheStage)
{
    XSession x(1024, 768);
    const QRect main = startProgram(x);
    ASSERT_EQ(main.size(), QSize(1024, 768));
    const StartLayout start(main);
    x.click(start.comboPoint.x(), start.comboPoint.y());
    x.key("Down");
    x.key("Return");
    sleepMs(300);
    x.click(start.start.center().x(), start.start.center().y());

    const StageLayout stage(main);
    QImage shot = x.waitForScreen([&](const QImage &s) { return countPixels(s, stage.cell(1, 40), dark) > 10; });
    ASSERT_GT(countPixels(shot, stage.cell(1, 40), dark), 10) << "the stage is shown";
    EXPECT_EQ(stage.sheetPanel.topLeft(), QPoint(61, 204)) << "the layout worked out for 1024 x 743";
    sleepMs(1500);
    shot = x.screenshot();
    EXPECT_EQ(countPixels(shot, stage.clock, [](QRgb p) { return sameColor(p, kClockBlue, 40); }), 0)
        << "the clock display stays hidden";

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
    EXPECT_TRUE(x.xdotool({"search", "--onlyvisible", "--name", "^KELVARIS$"}).isEmpty());
}

// The strip: the backdrop behind the windows, minimising, closing.
TEST(EndToEnd, stripShowsTheBackdropMinimisesAndCloses)
{
    XSession x(1280, 1024, /*windowManager=*/true);
    const QRect before = startProgram(x);
    ASSERT_FALSE(before.isEmpty());
    StartLayout start(before);
    x.click(start.stripCell(1).x(), start.stripCell(1).y());
    sleepMs(800);

    const QString id = x.waitForWindow(kMainTitle);
    const QRect main = x.windowGeometry(id);
    EXPECT_EQ(main.size(), QSize(1280, 800));
    EXPECT_EQ(main.y(), (1024 - 800) / 2) << "centred in the work area";
    QImage shot = x.screenshot();
    EXPECT_TRUE(sameColor(shot.pixel(0, 0), qRgb(80, 0, 0), 3)) << "dark red top-left";
    EXPECT_TRUE(sameColor(shot.pixel(1279, 0), qRgb(0, 80, 0), 3)) << "dark green top-right";
    EXPECT_TRUE(sameColor(shot.pixel(1279, 1023), qRgb(0, 0, 80), 3)) << "dark blue bottom-right";
    EXPECT_TRUE(sameColor(shot.pixel(0, 1023), qRgb(40, 40, 0), 3)) << "dark olive bottom-left";

    start = StartLayout(main);
    x.click(start.stripCell(2).x(), start.stripCell(2).y());
    sleepMs(800);
    EXPECT_TRUE(x.xdotool({"search", "--onlyvisible", "--name", "^" + kMainTitle + "$"}).isEmpty()) << "minimised";
    shot = x.screenshot();
    EXPECT_FALSE(sameColor(shot.pixel(0, 0), qRgb(80, 0, 0), 3)) << "the backdrop hides with it";

    x.xdotool({"windowactivate", "--sync", id});
    sleepMs(800);
    ASSERT_FALSE(x.xdotool({"search", "--onlyvisible", "--name", "^" + kMainTitle + "$"}).isEmpty());
    x.click(start.stripCell(4).x(), start.stripCell(4).y());
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
}

} // namespace
} // namespace vk::e2e

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
