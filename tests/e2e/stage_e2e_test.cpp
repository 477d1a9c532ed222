// A stage on each desktop, worked as a person works it.
#include "e2e_support.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vk::e2e {
namespace {

class OnDesktop : public ::testing::TestWithParam<WindowManager>
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
    x.focus(mainId);
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
    ASSERT_TRUE(waitForStage(x, main, 5000)) << "Return on the fresh start screen started no stage";
    const StageLayout stage(main);

    x.click(stage.back.center().x(), stage.back.center().y());
    const QImage shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    ASSERT_TRUE(titleShown(shot, main)) << "BACK";

    x.key("KP_Enter");
    EXPECT_TRUE(waitForStage(x, main, 5000)) << "keypad Enter after BACK started no stage";
}

// The question takes the keyboard as soon as it opens: Escape answers No
// and gives the keyboard back to the sheet; Return answers Yes.
TEST_P(OnDesktop, finishQuestionTakesTheKeyboard)
{
    XSession x(1920, 1080, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
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
    const auto &[mainId, main, stage] = *open;
    x.type("45");
    const QImage shot = finishWithYes(x, mainId, stage);
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

// The keyboard alone after the reveal: Escape leaves the finished stage as
// BACK does, and Return on the start screen starts the next one. During
// the stage Escape does nothing: the typed answer stays.
TEST_P(OnDesktop, escapeAfterTheRevealReturnsToTheStartScreen)
{
    XSession x(1280, 800, GetParam());
    const auto open = openStage(x);
    ASSERT_TRUE(open.has_value());
    const auto &[mainId, main, stage] = *open;
    x.type("5");
    x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);
    x.key("Escape");
    sleepMs(500);
    QImage shot = x.screenshot();
    EXPECT_TRUE(sheetShown(shot, stage)) << "Escape left a running stage";
    EXPECT_TRUE(digitIn(shot, stage, 40)) << "Escape took the typed digit";

    shot = finishWithYes(x, mainId, stage);
    ASSERT_TRUE(revealed(shot, stage)) << "Yes did not finish the stage";
    x.key("Escape");
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); }, 5000);
    EXPECT_TRUE(titleShown(shot, main)) << "Escape after the reveal did not return to the start screen";
    x.key("Return");
    EXPECT_TRUE(waitForStage(x, main, 5000)) << "the keyboard was not back on START";
}

// The pointer rests where BACK will stand once the stage is over; the
// keyboard does everything else. The reveal brings BACK under the pointer,
// and one click there, without a move, counts.
TEST_P(OnDesktop, oneClickOnBackUnderARestingPointer)
{
    XSession x(1280, 800, GetParam());
    const auto [mainId, main] = startProgram(x);
    ASSERT_FALSE(main.isEmpty());
    const StageLayout stage(main);
    x.moveMouse(stage.backCentred.center().x(), stage.backCentred.center().y());
    x.key("Return");
    ASSERT_TRUE(waitForStage(x, main, 5000)) << "Return started no stage";
    x.type("4");
    x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 40); }, 3000);
    QImage shot = finishWithYes(x, mainId, stage);
    ASSERT_TRUE(revealed(shot, stage)) << "Return did not answer Yes";
    sleepMs(300);

    x.xdotool({"click", "1"});
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); }, 4000);
    EXPECT_TRUE(titleShown(shot, main)) << "one click on BACK under the resting pointer did nothing";
}

INSTANTIATE_TEST_SUITE_P(Desktops, OnDesktop, kAllDesktops, kDesktopName);

// Types 12 into the stage, then Return asks and Return answers Yes; the
// screen once the product is revealed and the answer judged wrong.
QImage typeTwelveAndFinishByTheKeyboard(XSession &x, const StageLayout &stage)
{
    x.type("12");
    QImage shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 39); }, 3000);
    EXPECT_TRUE(digitIn(shot, stage, 40) && digitIn(shot, stage, 39)) << "typing";

    x.key("Return");
    EXPECT_FALSE(waitForBox(x).isEmpty()) << "Return asked no question";
    x.key("Return");
    shot = x.waitForScreen([&](const QImage &s) { return revealed(s, stage) && wrongVerdictShown(s, stage); }, 5000);
    EXPECT_TRUE(revealed(shot, stage)) << "Return did not answer Yes";
    return shot;
}

// The program started on weston, which places X windows itself: the window
// is found where its pixels are on the output, its start screen painted.
Started startProgramOnWeston(XSession &x)
{
    EXPECT_TRUE(x.ok()) << x.failure().toStdString();
    if (!x.ok() || !x.startProgram())
        return {};
    const QString id = x.waitForWindow(kMainTitle);
    EXPECT_FALSE(id.isEmpty()) << "no start screen";
    if (id.isEmpty())
        return {};
    QRect main;
    waitUntil([&] { return !(main = x.windowOnScreen(id)).isEmpty(); }, 10000);
    EXPECT_FALSE(main.isEmpty()) << "the window was not found on weston's output";
    if (main.isEmpty())
        return {};
    EXPECT_EQ(main.size(), QSize(1280, 800));
    EXPECT_TRUE(inside(main, x.screenSize())) << main;
    x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    return {id, main};
}

// A Wayland desktop: weston shows the program's window through XWayland
// and places it itself, where it likes. The stage is part of the window
// wherever that is: typing, the question, the reveal, Escape and the strip
// all work there.
class OnWayland : public ::testing::TestWithParam<WindowManager>
{
};

TEST_P(OnWayland, aWholeStageWhereWestonPutsTheWindow)
{
    XSession x(1920, 1080, GetParam());
    const auto [mainId, main] = startProgramOnWeston(x);
    ASSERT_FALSE(main.isEmpty());

    ASSERT_TRUE(startStage(x, main)) << "START opened no stage below the band of the window at " << main;
    const StageLayout stage(main);
    QImage shot = typeTwelveAndFinishByTheKeyboard(x, stage);
    // Weston does not hand the keyboard back to the window when the question
    // closes (it does not let a program activate its own window): a click
    // on the band gives it back, as a user would.
    x.click(main.x() + 500, main.y() + 12);
    waitUntil([&] { return x.focusedWindow() == mainId; }, 5000);
    sleepMs(300);
    x.key("Escape");
    shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); }, 5000);
    EXPECT_TRUE(titleShown(shot, main)) << "Escape after the reveal";
    expectClosesWithTheStrip(x, main);
}

INSTANTIATE_TEST_SUITE_P(Desktops, OnWayland, ::testing::Values(WindowManager::Weston), kDesktopName);

// Weston with no screen of X's at all: its headless back end. It has no
// pointer, so the whole stage goes by the keyboard: Return on START, the
// digits, Return and Return for Yes, and the reveal.
TEST(OnHeadlessWayland, aWholeStageByTheKeyboard)
{
    XSession x(1920, 1080, WindowManager::WestonHeadless);
    const auto [mainId, main] = startProgramOnWeston(x);
    ASSERT_FALSE(main.isEmpty());

    x.key("Return");
    ASSERT_TRUE(waitForStage(x, main)) << "Return on START opened no stage";
    const StageLayout stage(main);
    QImage shot = typeTwelveAndFinishByTheKeyboard(x, stage);
    EXPECT_TRUE(wrongVerdictShown(shot, stage));
    // Weston hands the keyboard back to no window when the question closes;
    // above, a click on the band gives it back, which needs a pointer. The
    // stage ends here, revealed and judged.
    EXPECT_TRUE(x.programRunning());
}

} // namespace
} // namespace vk::e2e
