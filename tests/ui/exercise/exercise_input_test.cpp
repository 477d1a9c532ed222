// The pointer and the keyboard on a running stage: the markers, what makes
// a click, and the focus that stays on the sheet.
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

using test::buttonWithText;
using test::ExerciseWindowTest;

TEST_F(ExerciseWindowTest, markerClicksToggleWhileTheStageRunsOnly)
{
    ExerciseWindow *w = start();
    Surface *m0 = &w->markerBox(0);
    test::click(m0, {10, 10});
    EXPECT_TRUE(m0->hasPicture());
    EXPECT_EQ(m0->picture(), w->markerPictureBox().picture());
    EXPECT_EQ(w->answerGrid().cellBackgroundColour(1, 40), 0xF8E5D7u);
    test::click(m0, {10, 10});
    EXPECT_FALSE(m0->hasPicture());

    test::click(&w->markerBox(3), {10, 10});
    w->finishStage();
    test::click(&w->markerBox(3), {10, 10});
    test::click(&w->markerBox(4), {10, 10});
    EXPECT_TRUE(w->markerBox(3).hasPicture());
    EXPECT_FALSE(w->markerBox(4).hasPicture());
}

// A click is a press and a release on the same marker or button. Qt hands
// the release to the surface that had the press, wherever the pointer is by
// then: pressing and dragging off before letting go does nothing, and a
// release over a surface whose press was made elsewhere does nothing either.
TEST_F(ExerciseWindowTest, aPressAndAReleaseInDifferentPlacesAreNoClick)
{
    ExerciseWindow *w = start();
    bool asked = false;
    QTimer answerNo;
    answerNo.setInterval(5);
    QObject::connect(&answerNo, &QTimer::timeout, [&] {
        if (QMessageBox *box = w->questionBox().openBox()) {
            asked = true;
            buttonWithText(*box, QStringLiteral("No"))->click();
        }
    });
    answerNo.start();

    struct Target {
        const char *name;
        Surface *surface;
        QPointF inside, outside; // outside: over the next marker, or above the button
        bool hovered;            // a drawn button acts only once the pointer has entered it
    };
    const Target targets[] = {
        {"marker 0", &w->markerBox(0), {10, 10}, {-12, 10}, false},
        {"marker 7", &w->markerBox(7), {10, 10}, {-12, 10}, false},
        {"marker 19", &w->markerBox(19), {10, 10}, {-30, 10}, false},
        {"BACK", &w->backButtonBox(), {75, 25}, {75, -30}, true},
        {"FINISH", &w->finishButtonBox(), {75, 25}, {75, -30}, true},
    };
    const auto nothingHappened = [&] {
        for (int i = 0; i < 20; ++i)
            EXPECT_FALSE(w->markerBox(i).hasPicture()) << "marker " << i;
        for (int c = 21; c <= 40; ++c)
            EXPECT_NE(w->answerGrid().cellBackgroundColour(1, c), 0xF8E5D7u) << "column " << c;
        EXPECT_TRUE(ctx->windows.isLoaded(kExerciseWindowName));
        EXPECT_EQ(main->repaints, 0);
        EXPECT_FALSE(asked);
        EXPECT_TRUE(w->stage().stageRunning);
    };
    for (const Target &t : targets) {
        SCOPED_TRACE(t.name);
        if (t.hovered)
            test::moveOver(t.surface, t.inside);
        test::press(t.surface, t.inside);
        test::moveOver(t.surface, t.outside, Qt::LeftButton);
        test::release(t.surface, t.outside);
        nothingHappened();

        if (t.hovered)
            test::moveOver(t.surface, t.inside);
        test::release(t.surface, t.inside);
        nothingHappened();
        if (t.hovered)
            test::moveOver(t.surface, t.outside);
    }

    // The same events make a click when press and release meet on one marker.
    test::click(&w->markerBox(7), {10, 10});
    EXPECT_TRUE(w->markerBox(7).hasPicture());
    answerNo.stop();
}

TEST_F(ExerciseWindowTest, theSheetKeepsTheKeyboardFocus)
{
    ExerciseWindow *w = start();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    const auto focusInSheet = [w] {
        const QWidget *f = QApplication::focusWidget();
        return f && (f == &w->answerGrid() || w->answerGrid().isAncestorOf(f));
    };
    w->answerGrid().setFocus();
    ASSERT_TRUE(focusInSheet());

    for (QWidget *target : {static_cast<QWidget *>(&w->clockDisplay()), static_cast<QWidget *>(&w->markerBox(5)),
                            static_cast<QWidget *>(&w->sheetPanel()), static_cast<QWidget *>(w)})
        test::click(target, {5, 5});
    EXPECT_TRUE(focusInSheet()) << "clicks elsewhere on the window leave the focus in the sheet";
    EXPECT_TRUE(w->answerGrid().isEditing());

    for (QWidget *target : {static_cast<QWidget *>(&w->backButtonBox()), static_cast<QWidget *>(&w->finishButtonBox()),
                            static_cast<QWidget *>(&w->clockDisplay()), static_cast<QWidget *>(&w->markerBox(19)),
                            static_cast<QWidget *>(&w->sheetPanel())}) {
        target->setFocus(Qt::OtherFocusReason);
        EXPECT_TRUE(focusInSheet()) << target->objectName().toStdString();
    }
}

} // namespace
} // namespace vk
