// Five hundred stages, each one worked through the way a user does it:
// a factor length chosen at random, START, some digits, the column markers, the question by FINISH or by
// Enter with every kind of answer or none at all, now and then the limit,
// BACK. After each step the stage holds together, and every window, box
// and timer of a stage goes with it: LeakSanitizer checks the sanitizer
// build, the resident memory the normal one (flat once the first stages
// have warmed the font, glyph and picture caches).
#include "msgbox/boxdriver.h"
#include "soak/stageinvariants.h"
#include "support/memory.h"
#include "support/programdriver.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <string>

namespace vk {
namespace {

using test::ProgramDriver;

// How a cycle's stage meets its question, if it is asked at all.
enum class Answer { Yes, No, TimeOut, Escape, NeverAsked };

void answerWhenAsked(ExerciseWindow *window, Answer answer)
{
    QPointer<ExerciseWindow> w(window);
    test::whenBoxOpens([w, answer](QMessageBox &box) {
        switch (answer) {
        case Answer::Yes:
            test::userClicks(box, QMessageBox::Yes);
            break;
        case Answer::No:
            test::userClicks(box, QMessageBox::No);
            break;
        case Answer::Escape:
            QTest::keyClick(&box, Qt::Key_Escape);
            break;
        case Answer::TimeOut:
            for (int tick = 0; tick < 10000 && w && w->questionBox().openBox(); ++tick)
                w->questionBox().answerTimerTick();
            break;
        case Answer::NeverAsked:
            break;
        }
    });
}

TEST(StageCycles, fiveHundredWorkedStagesLeaveNothingBehind)
{
    ProgramDriver program(7);
    ASSERT_TRUE(program.started);
    test::StageInvariants invariants;
    long atFifty = 0;
    std::mt19937 lengths(500);
    for (int cycle = 1; cycle <= 500; ++cycle) {
        const int digits = std::uniform_int_distribution<int>(2, 20)(lengths);
        const std::string when = "cycle " + std::to_string(cycle) + " at " + std::to_string(digits) + " digits";
        program.main()->factorChoice().setCurrentText(QString::number(digits));
        program.clickStart();
        QPointer<ExerciseWindow> w = program.stage();
        ASSERT_TRUE(w) << when;
        ASSERT_FALSE(w->stage().firstActivation) << when;
        ASSERT_EQ(w->stage().factorDigits, digits) << when;
        QWidget *editor = w->answerGrid().editor();
        ASSERT_NE(editor, nullptr) << "no cell editor after the first activation, " << when;
        for (char digit : {'4', '0', '9', '2'})
            QTest::keyClick(editor, digit);
        QTest::keyClick(editor, Qt::Key_Asterisk, Qt::KeypadModifier);
        QTest::mouseClick(&w->markerBox(1 + cycle % (digits - 1)), Qt::LeftButton, {}, QPoint(10, 16));
        program.clock->advance(3.0f);
        ASSERT_NO_FATAL_FAILURE(invariants.check(w, when + ", digits typed"));

        // Five answers against two ways of asking: every pairing comes round.
        const Answer answer = static_cast<Answer>(cycle % 5);
        if (answer != Answer::NeverAsked) {
            answerWhenAsked(w, answer);
            if (cycle % 2)
                program.clickFinish();
            else
                QTest::keyClick(w->answerGrid().editor() ? static_cast<QWidget *>(w->answerGrid().editor()) : &w->answerGrid(),
                                Qt::Key_Return);
            ProgramDriver::settle();
            ASSERT_TRUE(w) << when;
            ASSERT_EQ(w->questionBox().openBox(), nullptr) << "the question stayed open, " << when;
        }
        ASSERT_EQ(w->stage().stageRunning, answer != Answer::Yes) << when;
        // Every third stage still running is run to its limit, asked or not.
        if (w->stage().stageRunning && cycle % 3 == 0) {
            program.clock->advance(900.0f);
            w->stageClock().tick();
            ASSERT_FALSE(w->stage().stageRunning) << "the limit did not finish the stage, " << when;
        }
        ASSERT_NO_FATAL_FAILURE(invariants.check(w, when + ", before BACK"));

        program.clock->advance(1.0f);
        program.clickBack();
        ASSERT_FALSE(w) << "BACK left the stage window alive, " << when;
        ASSERT_EQ(program.stage(), nullptr) << "BACK did not unload the stage, " << when;
        ASSERT_EQ(test::visibleMessageBox(), nullptr) << when;
        if (cycle == 50)
            atFifty = test::residentKb();
    }
    const long atEnd = test::residentKb();
    std::cout << "resident memory: " << atFifty << " kB after 50 stages, " << atEnd << " kB after 500; "
              << invariants.evaluations() << " stages evaluated at " << invariants.lengthsSeen().size()
              << " factor lengths" << std::endl;
    if (!test::kSanitized) {
        EXPECT_LE(atEnd - atFifty, 2048) << "memory grows with every stage";
    }
    program.clickStripCell(4);
    EXPECT_EQ(program.main(), nullptr) << "the close cell did not close the program";
}

} // namespace
} // namespace vk
