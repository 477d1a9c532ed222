#include "flow/confirmfinish.h"

#include "flowfixture.h"
#include "msgbox/boxdriver.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::FakeExerciseWindow;
using test::userClicks;
using test::whenBoxOpens;

// A running stage whose clock last read `elapsed`; the day clock stands there.
void runningAt(FakeExerciseWindow &w, float elapsed)
{
    w.start();
    w.standAt(elapsed);
    w.clock->tick();
}

TEST(ConfirmFinish, asksWithTheFixedRequestAndYesFinishesAtOnce)
{
    FakeExerciseWindow w;
    runningAt(w, 100.0f);
    MessageBoxRequest seen;
    int timerInterval = 0;
    bool timerActive = false;
    whenBoxOpens([&](QMessageBox &box) {
        seen = w.questionBox.boxRequest;
        timerInterval = w.answerTimer->interval();
        timerActive = w.answerTimer->isActive();
        userClicks(box, QMessageBox::Yes);
    });
    confirmFinish(w.stage, w.questionBox, w);
    EXPECT_EQ(w.finishes, 1);
    EXPECT_EQ(seen.askingWindow, &w);
    EXPECT_EQ(seen.blockedWindow, &w);
    EXPECT_EQ(seen.style, 36u);
    EXPECT_TRUE(seen.autoAnswer);
    EXPECT_EQ(seen.autoAnswerTicks, 5);
    EXPECT_EQ(seen.tickInterval, 1000);
    EXPECT_EQ(seen.autoAnswerButton, BoxAnswer::No);
    EXPECT_EQ(seen.caption, QStringLiteral("KELVARIS"));
    EXPECT_EQ(seen.text, QStringLiteral("Do you want to finish this stage?"));
    EXPECT_EQ(timerInterval, 1000);
    EXPECT_TRUE(timerActive);
    EXPECT_EQ(w.questionBox.openBoxHandle, 0u);
}

TEST(ConfirmFinish, noWhileTheClockRunsLetsTheStageGoOn)
{
    FakeExerciseWindow w;
    runningAt(w, 100.0f);
    whenBoxOpens([&](QMessageBox &box) { userClicks(box, QMessageBox::No); });
    confirmFinish(w.stage, w.questionBox, w);
    EXPECT_EQ(w.finishes, 0);
    EXPECT_TRUE(w.clockTimer->isActive());
    EXPECT_TRUE(w.stage.stageRunning);
    EXPECT_EQ(w.questionBox.openBoxHandle, 0u);
}

// The clock keeps ticking under the box; at the limit it stops and shows
// 15:00 but leaves the finish to the confirmation, which finishes on close.
TEST(ConfirmFinish, limitReachedWhileBoxOpenFinishesOnClose)
{
    FakeExerciseWindow w;
    runningAt(w, 880.0f);
    bool stopped = false;
    int finishesWhileOpen = -1;
    QString shown;
    whenBoxOpens([&](QMessageBox &box) {
        w.standAt(900.0f);
        stopped = QTest::qWaitFor([&] { return !w.clockTimer->isActive(); }, 2000);
        QTest::qWait(30);
        finishesWhileOpen = w.finishes;
        shown = w.clock->lastClockText();
        userClicks(box, QMessageBox::No);
    });
    confirmFinish(w.stage, w.questionBox, w);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(shown, QStringLiteral("15:00"));
    EXPECT_EQ(finishesWhileOpen, 0);
    EXPECT_EQ(w.finishes, 1);
    EXPECT_FALSE(w.boxOpenAtFinish);
}

// r = 3: the box answers No by itself at its third tick; the clock (still
// short of the limit here) goes on and its own tick finishes at the limit.
TEST(ConfirmFinish, threeSecondsLeftAnswersNoAfterThreeTicks)
{
    FakeExerciseWindow w;
    runningAt(w, 897.0f);
    int ticksAsked = 0;
    whenBoxOpens([&](QMessageBox &) {
        ticksAsked = w.questionBox.boxRequest.autoAnswerTicks;
        w.answerTimer->setInterval(10); // a second per tick is not what is tested
    });
    confirmFinish(w.stage, w.questionBox, w);
    EXPECT_EQ(ticksAsked, 3);
    EXPECT_EQ(w.answerTicks, 3);
    EXPECT_EQ(w.finishes, 0);
    EXPECT_TRUE(w.clockTimer->isActive());

    w.standAt(900.0f);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.finishes == 1; }, 2000));
}

// Less than half a second left: the box never answers itself, the limit
// comes while it is open, and either answer then finishes the stage.
TEST(ConfirmFinish, noTimeLeftWaitsForTheUserAndAnyAnswerFinishes)
{
    for (const QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
        FakeExerciseWindow w;
        runningAt(w, 899.6f);
        bool stillOpen = false;
        int finishesWhileOpen = -1;
        whenBoxOpens([&](QMessageBox &box) {
            w.answerTimer->setInterval(10);
            w.standAt(900.2f);
            EXPECT_TRUE(QTest::qWaitFor([&] { return w.answerTicks >= 5 && !w.clockTimer->isActive(); }, 3000));
            stillOpen = box.isVisible() && w.questionBox.openBoxHandle != 0;
            finishesWhileOpen = w.finishes;
            userClicks(box, answer);
        });
        confirmFinish(w.stage, w.questionBox, w);
        EXPECT_EQ(w.questionBox.boxRequest.autoAnswerTicks, 0);
        EXPECT_GE(w.answerTicks, 5);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(finishesWhileOpen, 0);
        EXPECT_EQ(w.finishes, 1) << (answer == QMessageBox::Yes ? "Yes" : "No");
        EXPECT_EQ(w.stage.elapsedTime, 900.2f);
        EXPECT_EQ(w.clock->lastClockText(), QStringLiteral("15:00"));
    }
}

// The program closing while the box is open unloads the window: the stage
// is not evaluated and nothing touches the window afterwards.
TEST(ConfirmFinish, windowUnloadedWhileAskingEndsWithoutEvaluation)
{
    int finishes = 0;
    QPointer<FakeExerciseWindow> w = new FakeExerciseWindow;
    w->finishLog = &finishes;
    runningAt(*w, 899.0f);
    whenBoxOpens([&](QMessageBox &) {
        w->standAt(900.0f);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w->clockTimer->isActive(); }, 2000));
        w->close();
        w->deleteLater();
    });
    confirmFinish(w->stage, w->questionBox, *w);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(finishes, 0);
}

} // namespace
} // namespace vk
