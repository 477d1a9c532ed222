// Five hundred stages, each one worked through the way a user does it:
// START, some digits, the column markers, FINISH with every kind of answer,
// now and then the limit, BACK. Every window, box and timer of a stage must
// go with it: LeakSanitizer checks the sanitizer build, the resident memory
// the normal one (flat once the first stages have warmed the font, glyph
// and picture caches).
#include "msgbox/boxdriver.h"
#include "support/memory.h"
#include "support/programdriver.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>

namespace vk {
namespace {

using test::ProgramDriver;


// How each cycle leaves its question.
enum class Answer { Yes, No, TimeOut, Escape };

void answerWhenAsked(FrmVendrakul *window, Answer answer)
{
    QPointer<FrmVendrakul> w(window);
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
            for (int tick = 0; tick < 10000 && w && w->msgBox().openBox(); ++tick)
                w->msgBox().trmMsgBoxTimer();
            break;
        }
    });
}

TEST(StageCycles, fiveHundredWorkedStagesLeaveNothingBehind)
{
    ProgramDriver program(7);
    ASSERT_TRUE(program.started);
    long atFifty = 0;
    for (int cycle = 1; cycle <= 500; ++cycle) {
        program.clickStart();
        QPointer<FrmVendrakul> w = program.stage();
        ASSERT_TRUE(w) << "cycle " << cycle;
        ASSERT_FALSE(w->stage().firstActivation) << "cycle " << cycle;
        QWidget *editor = w->gSoru->editor();
        ASSERT_NE(editor, nullptr) << "no cell editor after the first activation, cycle " << cycle;
        for (char digit : {'4', '0', '9', '2'})
            QTest::keyClick(editor, digit);
        QTest::keyClick(editor, Qt::Key_Asterisk, Qt::KeypadModifier);
        QTest::mouseClick(w->pIsaret.at(1 + cycle % 19), Qt::LeftButton, {}, QPoint(10, 16));
        program.clock->advance(3.0f);

        const Answer answer = static_cast<Answer>(cycle % 4);
        answerWhenAsked(w, answer);
        if (cycle % 2)
            program.clickFinish();
        else
            QTest::keyClick(w->gSoru->editor() ? static_cast<QWidget *>(w->gSoru->editor()) : w->gSoru, Qt::Key_Return);
        ProgramDriver::settle();
        ASSERT_TRUE(w);
        ASSERT_EQ(w->msgBox().openBox(), nullptr) << "the question stayed open, cycle " << cycle;
        ASSERT_EQ(w->stage().stageRunning, answer != Answer::Yes) << "cycle " << cycle;
        if (w->stage().stageRunning && cycle % 5 == 0) {
            program.clock->advance(900.0f);
            w->stageClock().tick();
            ASSERT_FALSE(w->stage().stageRunning) << "the limit did not finish the stage, cycle " << cycle;
        }

        program.clickBack();
        ASSERT_FALSE(w) << "BACK left the stage window alive, cycle " << cycle;
        ASSERT_EQ(program.stage(), nullptr);
        ASSERT_EQ(test::visibleMessageBox(), nullptr);
        if (cycle == 50)
            atFifty = test::residentKb();
    }
    const long atEnd = test::residentKb();
    std::cout << "resident memory: " << atFifty << " kB after 50 stages, " << atEnd << " kB after 500" << std::endl;
    if (!test::kSanitized) {
        EXPECT_LE(atEnd - atFifty, 2048) << "memory grows with every stage";
    }
    program.clickStripCell(4);
    EXPECT_EQ(program.main(), nullptr) << "the close cell did not close the program";
}

// Closing the program while the finish question is open: the window, the
// box and its event loop unwind without touching what is gone (the
// sanitizer build watches) and nothing stays behind.
TEST(StageCycles, closingDuringTheQuestionLeavesNothingBehind)
{
    for (int round = 0; round < 20; ++round) {
        ProgramDriver program(100 + round);
        program.clickStart();
        QPointer<FrmVendrakul> w = program.stage();
        ASSERT_TRUE(w);
        QTest::keyClick(w->gSoru->editor(), '5');
        auto closed = test::whenBoxOpens([&program](QMessageBox &) { program.clickStripCell(4); });
        program.clickFinish();
        ProgramDriver::settle();
        EXPECT_TRUE(*closed);
        EXPECT_FALSE(w) << "the stage window outlived the program, round " << round;
        EXPECT_EQ(program.main(), nullptr);
        EXPECT_EQ(test::visibleMessageBox(), nullptr);
    }
}

} // namespace
} // namespace vk
