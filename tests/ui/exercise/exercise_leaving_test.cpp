// Leaving a stage: BACK, Escape once the stage is over, and the program
// closing under a running stage.
#include "exercisetestsupport.h"
#include "support/builtasdefined.h"
#include "support/fakes.h"

#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "msgbox/timedmessagebox.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "ui/exercise/exercisewindow.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"
#include "skin/windowdefinitions.h"
#include "stage/evaluation.h"
#include "ui/exercise/drawnbutton.h"

#include <QAbstractButton>
#include <QEnterEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>


namespace vk {
namespace {

using test::ExerciseWindowTest;
using test::FakeMainWindow;
using test::whenBoxOpens;

TEST_F(ExerciseWindowTest, backDuringARunningStageLeavesWithoutEvaluating)
{
    ExerciseWindow *w = start();
    const QPointer<ExerciseWindow> guard(w);
    const QPointer<FlexGrid> grid(&w->answerGrid());
    // Typed from the units leftwards: 1 in column 40, 2 in 39, 3 in 38.
    for (const Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3})
        QTest::keyClick(w->answerGrid().editor(), key);
    const QString product = w->stage().correctProduct;
    const QString answerBefore = problemElement(w->stage()).attribute(doc::kAnswer);
    ASSERT_EQ(answerBefore, QStringLiteral("321")) << "the answer is in the problem document";

    test::moveOver(&w->backButtonBox(), {75, 25});
    test::click(&w->backButtonBox(), {75, 25});

    EXPECT_FALSE(ctx->run.stageActive);
    EXPECT_EQ(main->repaints, 1);
    EXPECT_FALSE(main->stageActiveSeen) << "the start screen is drawn";
    EXPECT_FALSE(ctx->windows.isLoaded(kExerciseWindowName));
    ASSERT_TRUE(grid) << "deleted only when the event loop comes back";
    EXPECT_TRUE(grid->cellText(7, 40).isEmpty()) << "nothing revealed";
    EXPECT_FALSE(w->clockTimer().isActive());
    EXPECT_TRUE(w->resultPanel().isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
    EXPECT_FALSE(grid);

    // The problem and the answer stay in memory, as they were, until the next START.
    const QDomElement left = ctx->run.problemDoc.documentElement()
                                 .firstChildElement(doc::kStage)
                                 .firstChildElement(doc::kProblemPrefix + QStringLiteral("1"));
    EXPECT_EQ(left.attribute(doc::kAnswer), answerBefore);
    EXPECT_EQ(left.attribute(doc::kProduct), product);

    // The next START is a fresh window with a new problem.
    ExerciseWindow *next = start();
    EXPECT_NE(next, nullptr);
    EXPECT_EQ(random.reseeds, 2);
    EXPECT_TRUE(next->stage().stageRunning);
    EXPECT_EQ(problemElement(next->stage()).attribute(doc::kAnswer), QString());
    EXPECT_TRUE(next->answerGrid().cellText(5, 40).isEmpty()) << "the answer is not carried over";
}

TEST_F(ExerciseWindowTest, backAfterTheFinishReturnsToTheStartScreen)
{
    ExerciseWindow *w = start();
    w->finishStage();
    test::moveOver(&w->backButtonBox(), {75, 25});
    test::click(&w->backButtonBox(), {75, 25});
    EXPECT_FALSE(ctx->windows.isLoaded(kExerciseWindowName));
    EXPECT_EQ(main->repaints, 1);
}

TEST_F(ExerciseWindowTest, aClickOnAButtonThePointerHasLeftDoesNothing)
{
    ExerciseWindow *w = start();
    test::click(&w->backButtonBox(), {75, 25}); // no move registered it
    EXPECT_TRUE(ctx->windows.isLoaded(kExerciseWindowName));
    EXPECT_EQ(main->repaints, 0);
    test::click(&w->finishButtonBox(), {75, 25});
    EXPECT_EQ(w->questionBox().openBox(), nullptr);
    EXPECT_TRUE(w->stage().stageRunning);
}

// Closing the program while the question is open: the main window unloads
// every window and goes. Nothing may touch a window that is gone, and the
// stage is not evaluated.
TEST_F(ExerciseWindowTest, programClosingWhileFinishIsAskedFromTheButtonEndsCleanly)
{
    ExerciseWindow *w = start();
    const QPointer<ExerciseWindow> guard(w);
    const QPointer<FakeMainWindow> mainGuard(main);
    bool evaluated = false;
    whenBoxOpens(w, [&](QMessageBox &) {
        ctx->windows.unload(main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        evaluated = guard && !guard->stage().stageRunning;
    });
    test::moveOver(&w->finishButtonBox(), {75, 25});
    test::click(&w->finishButtonBox(), {75, 25});
    EXPECT_FALSE(evaluated);
    EXPECT_FALSE(mainGuard);
    if (guard) {
        EXPECT_TRUE(guard->stage().stageRunning) << "a stage being left is not evaluated";
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(guard);
    main = nullptr;
}

TEST_F(ExerciseWindowTest, programClosingWhileFinishIsAskedFromEnterEndsCleanly)
{
    ExerciseWindow *w = start();
    w->activateWindow();
    const QPointer<ExerciseWindow> guard(w);
    const QPointer<FlexGrid> grid(&w->answerGrid());
    whenBoxOpens(w, [&](QMessageBox &) {
        ctx->windows.unload(main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(grid) << "the grid's key handling is still on the stack";
    });
    ASSERT_TRUE(w->answerGrid().isEditing());
    QTest::keyClick(w->answerGrid().editor(), Qt::Key_Return);
    if (guard) {
        EXPECT_TRUE(guard->stage().stageRunning);
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(guard);
    EXPECT_FALSE(grid);
    main = nullptr;
}

// Escape after the finish leaves as BACK does, wherever the keyboard is on
// the stage. During the stage it does nothing at all: a stray key must
// never throw away the work of a stage.
TEST_F(ExerciseWindowTest, escapeLeavesAFinishedStageAndNeverARunningOne)
{
    ExerciseWindow *w = start();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    const auto keyboard = [w] { return QApplication::focusWidget() ? QApplication::focusWidget() : w; };
    QTest::keyClicks(keyboard(), QStringLiteral("12"));
    for (QWidget *target : {keyboard(), static_cast<QWidget *>(&w->sheetPanel()), static_cast<QWidget *>(w)}) {
        SCOPED_TRACE(target->objectName().toStdString());
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(ctx->windows.isLoaded(kExerciseWindowName));
        EXPECT_TRUE(w->stage().stageRunning);
        EXPECT_TRUE(ctx->run.stageActive);
        EXPECT_EQ(main->repaints, 0);
    }
    EXPECT_EQ(problemElement(w->stage()).attribute(doc::kAnswer), QStringLiteral("21")) << "the answer stays";

    w->finishStage();
    const QPointer<ExerciseWindow> guard(w);
    QTest::keyClick(keyboard(), Qt::Key_Escape);
    EXPECT_FALSE(ctx->windows.isLoaded(kExerciseWindowName));
    EXPECT_FALSE(ctx->run.stageActive);
    EXPECT_EQ(main->repaints, 1);
    EXPECT_FALSE(main->stageActiveSeen) << "the start screen is drawn";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
}

// The reveal moves BACK under a pointer that does not move: the window
// system tells of that only by an enter. It counts as a move there, so the
// first click on BACK leaves; without the enter the click does nothing.
TEST_F(ExerciseWindowTest, anEnterOverBackCountsAsTheMoveThatRegistersIt)
{
    ExerciseWindow *w = start();
    w->finishStage();
    Surface &back = w->backButtonBox();
    test::click(&back, {75, 25});
    ASSERT_TRUE(ctx->windows.isLoaded(kExerciseWindowName)) << "a click without a move counted";

    const QPointF at(75, 25);
    QEnterEvent enter(at, back.mapTo(back.window(), at), back.mapToGlobal(at));
    QCoreApplication::sendEvent(&back, &enter);
    EXPECT_EQ(w->stage().backState, 1);
    test::click(&back, at);
    EXPECT_FALSE(ctx->windows.isLoaded(kExerciseWindowName)) << "the click after the enter did not count";
}

} // namespace
} // namespace vk
