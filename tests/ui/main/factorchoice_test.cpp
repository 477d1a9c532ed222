// The factors' length on the settings panel: where it stands, what it starts
// at, the title that names it, and the stages it gives.
#include "shell/commandline.h"
#include "skin/appcontext.h"
#include "skin/templatemap.h"
#include "support/programdriver.h"
#include "ui/main/mainscreen.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::ProgramDriver;

// The program started as `vendrakul ARGUMENTS` starts it.
struct StartedWith {
    explicit StartedWith(const QStringList &arguments)
        : program(QRect(0, 0, 1280, 800), {}, {}, {}, parseCommandLine(arguments).factorDigits)
    {
        started = program.app->start();
    }
    MainWindow &main() { return *program.main(); }

    ProgramDriver program;
    bool started = false;
};

// 20 unless --digits says otherwise; nothing of an earlier run is kept.
TEST(FactorChoice, startsAtTwentyOrAtTheLengthGiven)
{
    struct Case { QStringList arguments; int digits; };
    const Case cases[] = {
        {{}, 20},
        {{"--digits", "8"}, 8},
        {{"--digits=2"}, 2},
        {{"--log", "--digits", "13"}, 13},
        {{}, 20}, // the next run starts afresh
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        StartedWith run(c.arguments);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.main().factorChoice().currentText(), QString::number(c.digits));
        EXPECT_EQ(run.main().mainScreen().titleDigits(), c.digits);
        EXPECT_EQ(run.main().clockChoice().currentText(), QStringLiteral("Yes")) << "the clock choice is its own";
    }
}

// On the clock choice's row, to its right, at the heights of the clock
// choice and its label, inside the panel and clear of START.
TEST(FactorChoice, standsRightOfTheClockChoiceOnItsRow)
{
    StartedWith run({});
    ASSERT_TRUE(run.started);
    const MainWindow &w = run.main();
    const QRect clock = w.clockChoice().geometry();
    const QRect label = w.factorChoiceLabel().geometry();
    const QRect choice = w.factorChoice().geometry();

    EXPECT_EQ(label.x(), clock.right() + 1 + 30);
    EXPECT_EQ(label.y(), w.clockChoiceLabel().y());
    EXPECT_EQ(label.size(), w.factorChoiceLabel().sizeHint()) << "the label shows its whole text";
    EXPECT_EQ(choice.x(), label.right() + 1 + 15);
    EXPECT_EQ(choice.y(), clock.y());
    EXPECT_EQ(choice.height(), clock.height());
    EXPECT_GE(choice.width(), w.factorChoice().minimumSizeHint().width()) << "\"20\" fits";
    EXPECT_LE(choice.right(), w.settingsPanel().width() - 20) << "inside the panel, off its frame";
    EXPECT_LT(choice.bottom(), w.startButton().y());
    EXPECT_EQ(w.factorChoiceLabel().parentWidget(), &w.settingsPanel());
    EXPECT_EQ(w.factorChoice().parentWidget(), &w.settingsPanel());
}

TEST(FactorChoice, theTitleNamesTheLength)
{
    struct Case { int digits; const char *title; };
    const Case cases[] = {
        {20, "KELVARIS VENDRAKUL\r\n20 DIGIT NUMBERS"},
        {8, "KELVARIS VENDRAKUL\r\n8 DIGIT NUMBERS"},
        {2, "KELVARIS VENDRAKUL\r\n2 DIGIT NUMBERS"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(mainTitleText(c.digits), QLatin1String(c.title));
}

// A choice made on the start screen repaints it at once, exactly as a
// program started with that length paints it; back at 20 the start screen
// is what it was, pixel for pixel.
TEST(FactorChoice, choosingALengthRepaintsTheTitleAsStartingWithItDoes)
{
    QImage startedAt19;
    {
        StartedWith run({"--digits", "19"});
        ASSERT_TRUE(run.started);
        startedAt19 = run.main().keptImage();
    }
    StartedWith run({});
    ASSERT_TRUE(run.started);
    MainWindow &w = run.main();
    const QImage at20 = w.keptImage();
    ASSERT_NE(at20, startedAt19);

    w.factorChoice().setFocus();
    QTest::keyClick(&w.factorChoice(), Qt::Key_Up);
    ASSERT_EQ(w.factorChoice().currentText(), QStringLiteral("19"));
    EXPECT_EQ(w.keptImage(), startedAt19);

    QTest::keyClick(&w.factorChoice(), Qt::Key_Down);
    EXPECT_EQ(w.keptImage(), at20);
}

// START copies the choice into the stage; the choice stays through the
// stage and BACK, and the next START reads it again.
TEST(FactorChoice, startCopiesTheChoiceAndTheChoiceOutlivesTheStage)
{
    StartedWith run({});
    ASSERT_TRUE(run.started);
    ProgramDriver &program = run.program;
    MainWindow &w = run.main();
    for (const int digits : {8, 2, 20}) {
        SCOPED_TRACE(digits);
        w.factorChoice().setCurrentText(QString::number(digits));
        program.clickStart();
        ExerciseWindow *stage = program.stage();
        ASSERT_NE(stage, nullptr);
        EXPECT_EQ(stage->stage().factorDigits, digits);
        EXPECT_EQ(problemElement(stage->stage()).attribute(doc::kFactor1).size(), digits);
        EXPECT_EQ(stage->markerCount(), digits);

        // Changed under the stage: the stage keeps its length and the main
        // window its stage look until BACK.
        w.factorChoice().setCurrentText(QStringLiteral("5"));
        EXPECT_EQ(stage->stage().factorDigits, digits);
        EXPECT_EQ(w.keptImage().copy(skin::kStageHeaderBlock.translated(-skin::kStageHeaderBlock.topLeft())),
                  program.ctx().skin.image().copy(skin::kStageHeaderBlock));
        w.factorChoice().setCurrentText(QString::number(digits));

        program.clickBack();
        ASSERT_EQ(program.stage(), nullptr);
        EXPECT_EQ(w.factorChoice().currentText(), QString::number(digits));
        EXPECT_EQ(w.mainScreen().titleDigits(), digits);
    }
}

} // namespace
} // namespace vk
