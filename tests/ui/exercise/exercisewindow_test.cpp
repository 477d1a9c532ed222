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
using test::FakeDayClock;
using test::FakeMainWindow;
using test::ScriptedRandom;
using test::whenBoxOpens;

// Backgrounds of the revealed digits, 0x00BBGGRR.
constexpr ColorRef kGreen = 0x00C000;    // RGB 0, 192, 0: the user's digit matches
constexpr ColorRef kLightRed = 0x8080FF; // RGB 255, 128, 128: it does not

class ExerciseWindowTest : public test::ExerciseWindowFixture
{
protected:
    ExerciseWindow *start(bool clockOn = true, QSize size = {1024, 743}) { return showExercise(clockOn, size); }

    int answerRow(ExerciseWindow *w) const { return w->answerGrid().rows() - 4; }
    int revealRow(ExerciseWindow *w) const { return w->answerGrid().rows() - 2; }

    void typeAnswer(ExerciseWindow *w, const QString &digits)
    {
        for (qsizetype i = 0; i < digits.size(); ++i)
            w->answerGrid().setCellText(answerRow(w), 40 - static_cast<int>(digits.size() - 1 - i), digits.mid(i, 1));
    }

    int cellsColoured(ExerciseWindow *w, ColorRef colour) const
    {
        int n = 0;
        for (int c = 0; c < w->answerGrid().cols(); ++c)
            n += w->answerGrid().cellBackgroundColour(revealRow(w), c) == colour ? 1 : 0;
        return n;
    }

};

TEST_F(ExerciseWindowTest, aNewWindowIsAsDefinedWithTheStageLoadedAndNothingTicking)
{
    ctx->run.timerEnabled = true;
    auto *w = ctx->windows.get<ExerciseWindow>(kExerciseWindowName);
    ASSERT_NE(w, nullptr);

    for (QWidget *hidden : {static_cast<QWidget *>(&w->resultPanel()), static_cast<QWidget *>(&w->correctPictureBox()),
                            static_cast<QWidget *>(&w->wrongPictureBox()), static_cast<QWidget *>(&w->markerPictureBox())})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    for (QWidget *shown : {static_cast<QWidget *>(&w->finishButtonBox()), static_cast<QWidget *>(&w->backButtonBox()),
                           static_cast<QWidget *>(&w->clockDisplay()), static_cast<QWidget *>(&w->sheetPanel())})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    EXPECT_FALSE(w->clockTimer().isActive());
    EXPECT_FALSE(w->answerTimer().isActive());
    EXPECT_EQ(w->clockTimer().interval(), 10);
    EXPECT_EQ(w->clockTimer().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(w->answerTimer().objectName(), QStringLiteral("answerTimer"));

    EXPECT_EQ(w->backColor(), QColor(197, 214, 237));
    EXPECT_EQ(w->sheetPanel().backColor(), QColor(197, 214, 237));
    EXPECT_EQ(w->clockDisplay().backColor(), QColor(215, 229, 248));
    EXPECT_TRUE(w->clockDisplay().autoRedraw());
    EXPECT_TRUE(w->resultPanel().autoRedraw());
    EXPECT_EQ(w->backButtonBox().font().pointSizeF(), 12.75);
    EXPECT_TRUE(w->finishButtonBox().font().bold());
    EXPECT_EQ(w->font().pointSizeF(), 8.25);

    ASSERT_EQ(w->markerCount(), 20);
    for (int i = 0; i < w->markerCount(); ++i) {
        const Surface &m = w->markerBox(i);
        EXPECT_EQ(m.parentWidget(), &w->sheetPanel());
        EXPECT_FALSE(m.isHidden());
        EXPECT_EQ(m.backColor(), QColor(229, 249, 128));
        EXPECT_EQ(m.mousePointer(), Surface::Pointer::Custom);
        EXPECT_FALSE(m.hasPicture());
    }
    EXPECT_EQ(w->answerGrid().parentWidget(), &w->sheetPanel());
    EXPECT_TRUE(w->markerPictureBox().hasPicture());

    const StageRecord &s = w->stage();
    EXPECT_TRUE(s.firstActivation);
    EXPECT_TRUE(s.stageRunning);
    EXPECT_EQ(s.timeLimit, 900);
    EXPECT_EQ(s.backState, 0);
    EXPECT_EQ(s.finishState, 0);
    EXPECT_EQ(s.sheetWidth, 894);
    EXPECT_EQ(s.sheetHeight, 180);
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(s.stageElement.firstChildElement().tagName(), QStringLiteral("Soru_1"));
    EXPECT_TRUE(w->answerGrid().cellText(1, 40).isEmpty()) << "the sheet is filled at the first activation";
}

// Made from its definition: every control as, where and in the order the
// definition says, and every accessor hands out the control of its name.
// (The clock display's font is the clock's, not the definition's.)
TEST_F(ExerciseWindowTest, aNewWindowIsBuiltAsItsDefinitionSays)
{
    ExerciseWindow w(*ctx);
    test::expectBuiltAsDefined(w, exerciseWindowDefinition(), skin);

    const std::pair<const QObject *, const char *> accessors[] = {
        {&w.wrongPictureBox(), "wrongPictureBox"}, {&w.correctPictureBox(), "correctPictureBox"},
        {&w.resultPanel(), "resultPanel"},         {&w.answerTimer(), "answerTimer"},
        {&w.finishButtonBox(), "finishButtonBox"}, {&w.backButtonBox(), "backButtonBox"},
        {&w.clockTimer(), "clockTimer"},           {&w.clockDisplay(), "clockDisplay"},
        {&w.sheetPanel(), "sheetPanel"},           {&w.markerPictureBox(), "markerPictureBox"},
        {&w.markerBox(0), "markerBox_0"},            {&w.answerGrid(), "answerGrid"},
    };
    for (const auto &[control, name] : accessors)
        EXPECT_EQ(control->objectName(), QLatin1String(name));
    EXPECT_EQ(w.markerCount(), 1) << "the other markers come with the load";
}

TEST_F(ExerciseWindowTest, clockSwitchedOffHidesTheDisplayAtLoad)
{
    ctx->run.timerEnabled = false;
    auto *w = ctx->windows.get<ExerciseWindow>(kExerciseWindowName);
    EXPECT_TRUE(w->clockDisplay().isHidden());
    EXPECT_FALSE(w->stage().clockOn);
}

TEST_F(ExerciseWindowTest, firstActivationFillsTheSheetAndStartsTheClockOnce)
{
    ExerciseWindow *w = start();
    const StageRecord &s = w->stage();
    EXPECT_FALSE(s.firstActivation);
    EXPECT_EQ(s.problemNo, 1);
    EXPECT_EQ(s.startTime, 36000.0f);
    EXPECT_TRUE(w->clockTimer().isActive());
    const QDomElement problem = problemElement(s);
    EXPECT_EQ(w->answerGrid().cellText(1, 21), problem.attribute(doc::kFactor1).left(1));
    EXPECT_EQ(w->answerGrid().cellText(2, 40), problem.attribute(doc::kFactor2).right(1));
    EXPECT_TRUE(w->answerGrid().isEditing());
    EXPECT_EQ(w->answerGrid().col(), 40);

    clock.advance(30.0f);
    emit w->activated();
    EXPECT_EQ(s.startTime, 36000.0f) << "later activations leave the clock alone";
}

TEST_F(ExerciseWindowTest, layoutPlacesTheControlsAndTheMarkersOverTheDigitColumns)
{
    ExerciseWindow *w = start();
    EXPECT_EQ(w->sheetPanel().geometry(), QRect(61, 179, 902, 234));
    EXPECT_EQ(w->resultPanel().geometry(), QRect(437, 443, 150, 150));
    EXPECT_EQ(w->backButtonBox().geometry(), QRect(50, 663, 150, 50));
    EXPECT_EQ(w->finishButtonBox().geometry(), QRect(824, 663, 150, 50));
    EXPECT_EQ(w->clockDisplay().geometry(), QRect(621, 0, 162, 81));
    EXPECT_EQ(w->answerGrid().geometry(), QRect(4, 50, 894, 180));
    for (int i = 0; i < 20; ++i) {
        const QRect cell = w->answerGrid().cellRect(1, 40 - i).translated(w->answerGrid().viewport()->pos() + w->answerGrid().pos());
        EXPECT_EQ(w->markerBox(i).geometry().center().x(), cell.center().x()) << "marker " << i;
        EXPECT_EQ(w->markerBox(i).size(), QSize(20, 32));
    }
    // The window's image carries the skin; the sheet panel is framed.
    EXPECT_EQ(test::sourceAt(w->keptImage(), 0, 0), QPoint(195, 122));
    EXPECT_EQ(test::sourceAt(w->keptImage(), 57, 175), skin::kFrameTopLeft.topLeft());
}

TEST_F(ExerciseWindowTest, resizeWhileMinimisedLaysNothingOutAndRestoringDoes)
{
    ExerciseWindow *w = start();
    w->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(w->isMinimized());
    w->resize(1280, 775);
    emit w->resized();
    EXPECT_EQ(w->finishButtonBox().pos(), QPoint(824, 663)) << "nothing laid out while minimised";
    w->setWindowState(Qt::WindowNoState);
    ASSERT_FALSE(w->isMinimized());
    EXPECT_EQ(w->finishButtonBox().pos(), QPoint(1280 - 200, 775 - 80));
}

struct FinishCase {
    const char *name;
    std::vector<double> draws;
    std::function<QString(const QString &product)> answer;
    int answerColumn1Digit; // typed into (5, 1) when >= 0
    bool correct;
    int red;
    int wrongColumn;        // the one red column, or 0
};

class FinishedStages : public ExerciseWindowTest, public ::testing::WithParamInterface<FinishCase>
{};

TEST_P(FinishedStages, revealTheProductAndTheVerdict)
{
    const FinishCase &c = GetParam();
    random = ScriptedRandom(c.draws);
    ExerciseWindow *w = start();
    const QString product = w->stage().correctProduct;
    typeAnswer(w, c.answer(product));
    if (c.answerColumn1Digit >= 0)
        w->answerGrid().setCellText(answerRow(w), 1, QString::number(c.answerColumn1Digit));
    clock.advance(125.3f);

    w->finishStage();

    EXPECT_FALSE(w->stage().stageRunning);
    EXPECT_FALSE(w->clockTimer().isActive());
    EXPECT_FLOAT_EQ(w->stage().elapsedTime, 125.3f);
    for (qsizetype i = 1; i <= product.size(); ++i)
        ASSERT_EQ(w->answerGrid().cellText(revealRow(w), 41 - static_cast<int>(i)), product.mid(product.size() - i, 1));
    EXPECT_EQ(cellsColoured(w, kLightRed), c.red);
    EXPECT_EQ(cellsColoured(w, kGreen), product.size() - c.red);
    if (c.wrongColumn > 0) {
        EXPECT_EQ(w->answerGrid().cellBackgroundColour(revealRow(w), c.wrongColumn), kLightRed);
    }
    if (product.size() == 39) {
        EXPECT_TRUE(w->answerGrid().cellText(revealRow(w), 1).isEmpty());
        EXPECT_NE(w->answerGrid().cellBackgroundColour(revealRow(w), 1), kLightRed);
        EXPECT_NE(w->answerGrid().cellBackgroundColour(revealRow(w), 1), kGreen);
    }
    EXPECT_FALSE(w->resultPanel().isHidden());
    EXPECT_EQ(w->resultPanel().picture(), (c.correct ? &w->correctPictureBox() : &w->wrongPictureBox())->picture());
    EXPECT_TRUE(w->finishButtonBox().isHidden());
    EXPECT_EQ(w->backButtonBox().geometry(), QRect(437, 663, 150, 50));
    EXPECT_EQ(test::sourceAt(w->keptImage(), 437 - 4, 443 - 4), skin::kFrameTopLeft.topLeft()) << "result framed";

    // A second call, as when the limit comes just after a confirmed finish.
    const QImage result = w->resultPanel().keptImage();
    w->answerGrid().setCellText(answerRow(w), 40, QStringLiteral("x"));
    clock.advance(50.0f);
    w->finishStage();
    EXPECT_FLOAT_EQ(w->stage().elapsedTime, 125.3f);
    EXPECT_EQ(cellsColoured(w, kLightRed), c.red);
    EXPECT_EQ(w->resultPanel().keptImage(), result);
}

QString same(const QString &p) { return p; }

INSTANTIATE_TEST_SUITE_P(
    Answers, FinishedStages,
    ::testing::Values(
        FinishCase{"fullyRight40", {0.95, 0.97, 0.99}, same, -1, true, 0, 0},
        FinishCase{"oneDigitWrong", {0.95, 0.97, 0.99},
                   [](const QString &p) {
                       QString a = p;
                       a[a.size() - 8] = a[a.size() - 8] == u'3' ? u'4' : u'3';
                       return a;
                   },
                   -1, false, 1, 33},
        FinishCase{"emptyAnswer", {0.95, 0.97, 0.99}, [](const QString &) { return QString(); }, -1, false, 40, 0},
        FinishCase{"digitLeftOf39DigitProductIgnored", {0.0}, same, 7, true, 0, 0}),
    [](const ::testing::TestParamInfo<FinishCase> &info) { return std::string(info.param.name); });

TEST_F(ExerciseWindowTest, aHiddenClockShowsTheFinalTimeAfterTheFinish)
{
    ExerciseWindow *w = start(false);
    ASSERT_TRUE(w->clockDisplay().isHidden());
    clock.advance(65.4f);
    w->finishStage();
    EXPECT_FALSE(w->clockDisplay().isHidden());
    EXPECT_GT(test::countColour(w->clockDisplay().keptImage(), qRgb(11, 3, 103)), 0) << "the final reading is drawn";
}

TEST_F(ExerciseWindowTest, theLimitFinishesTheStageByItself)
{
    ExerciseWindow *w = start(false);
    clock.advance(900.0f);
    QTRY_VERIFY_WITH_TIMEOUT(!w->stage().stageRunning, 2000);
    EXPECT_FALSE(w->resultPanel().isHidden());
    EXPECT_EQ(w->stage().elapsedTime, 900.0f);
}

TEST_F(ExerciseWindowTest, aLayoutPassAfterTheFinishPutsBackBackAtTheLeft)
{
    ExerciseWindow *w = start();
    w->finishStage();
    ASSERT_EQ(w->backButtonBox().x(), 437);
    w->resize(1030, 743);
    EXPECT_EQ(w->backButtonBox().geometry(), QRect(50, 663, 150, 50));
    EXPECT_TRUE(w->finishButtonBox().isHidden());
    EXPECT_FALSE(w->resultPanel().isHidden());
    EXPECT_EQ(test::sourceAt(w->keptImage(), 440 - 4, 443 - 4), QPoint(-1, -1)) << "the result frame is not redrawn";
}

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

TEST_F(ExerciseWindowTest, finishAskedAndAnsweredYesEvaluates)
{
    ExerciseWindow *w = start();
    bool sawQuestion = false;
    whenBoxOpens(w, [&](QMessageBox &box) {
        sawQuestion = box.text() == QStringLiteral("Do you want to finish this stage?");
        buttonWithText(box, QStringLiteral("Yes"))->click();
    });
    test::moveOver(&w->finishButtonBox(), {75, 25});
    test::click(&w->finishButtonBox(), {75, 25});
    EXPECT_TRUE(sawQuestion);
    EXPECT_EQ(w->stage().finishState, 0);
    EXPECT_FALSE(w->stage().stageRunning);
    EXPECT_TRUE(w->finishButtonBox().isHidden());
}

TEST_F(ExerciseWindowTest, finishAnsweredNoGoesOnWithTheStage)
{
    ExerciseWindow *w = start();
    whenBoxOpens(w, [](QMessageBox &box) { buttonWithText(box, QStringLiteral("No"))->click(); });
    test::moveOver(&w->finishButtonBox(), {75, 25});
    test::click(&w->finishButtonBox(), {75, 25});
    EXPECT_TRUE(w->stage().stageRunning);
    EXPECT_TRUE(w->clockTimer().isActive());
    EXPECT_FALSE(w->finishButtonBox().isHidden());
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

// The window manager's close (Alt+F4, or the native window destroyed under
// the program) leaves the stage as BACK does: the main window repaints its
// start screen and the stage window goes.
TEST_F(ExerciseWindowTest, aCloseFromTheWindowManagerActsAsBack)
{
    const std::function<void(ExerciseWindow *)> closes[] = {
        [](ExerciseWindow *w) { w->windowHandle()->close(); },
        [](ExerciseWindow *w) { w->nativeWindowLost(); },
    };
    for (const auto &close : closes) {
        ExerciseWindow *w = start();
        main->repaints = 0;
        const QPointer<ExerciseWindow> guard(w);
        close(w);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        EXPECT_FALSE(ctx->windows.isLoaded(kExerciseWindowName));
        EXPECT_TRUE(guard.isNull());
        EXPECT_FALSE(ctx->run.stageActive);
        EXPECT_EQ(main->repaints, 1);
        EXPECT_FALSE(main->stageActiveSeen) << "the start screen, not the stage look";
    }
}

// After the finish the sheet is no longer an editor: no caret, and keys
// neither move its cursor nor step the markers nor change the answer.
TEST_F(ExerciseWindowTest, afterTheFinishNoKeyReachesTheSheet)
{
    ExerciseWindow *w = start();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
    ASSERT_EQ(w->answerGrid().cellText(answerRow(w), 39), QStringLiteral("2"));
    ASSERT_EQ(w->answerGrid().col(), 38);

    w->finishStage();
    EXPECT_FALSE(w->answerGrid().isEditing());

    const QString answer = w->stage().stageElement.firstChildElement().attribute(QStringLiteral("cevap"));
    const auto setMarkers = [w] {
        int n = 0;
        for (int i = 0; i < ColumnMarkers::kCount; ++i)
            n += w->sheet().markers().isSet(i) ? 1 : 0;
        return n;
    };
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Left, Qt::NoModifier}, std::pair{Qt::Key_Right, Qt::NoModifier},
                                         std::pair{Qt::Key_Asterisk, Qt::KeypadModifier},
                                         std::pair{Qt::Key_5, Qt::NoModifier}, std::pair{Qt::Key_Backspace, Qt::NoModifier},
                                         std::pair{Qt::Key_Return, Qt::NoModifier}}) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &w->answerGrid();
        QTest::keyClick(target, key, modifiers);
        SCOPED_TRACE(key);
        EXPECT_EQ(w->answerGrid().col(), 38);
        EXPECT_FALSE(w->answerGrid().isEditing());
        EXPECT_EQ(setMarkers(), 0);
        EXPECT_EQ(w->stage().stageElement.firstChildElement().attribute(QStringLiteral("cevap")), answer);
        EXPECT_EQ(w->questionBox().openBox(), nullptr);
    }
}

// The question takes the keyboard when it opens, and the sheet has it
// again when the question closes, so a keyboard-only user can go on.
TEST_F(ExerciseWindowTest, theQuestionTakesTheKeyboardAndGivesItBack)
{
    ExerciseWindow *w = start();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->answerGrid().setFocus();
    bool boxHadTheKeyboard = false;
    whenBoxOpens(w, [&](QMessageBox &box) {
        // Activation and focus arrive as separate events: wait for both.
        boxHadTheKeyboard = QTest::qWaitFor(
            [&] { return QApplication::activeWindow() == &box && box.isAncestorOf(QApplication::focusWidget()); }, 2000);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    EXPECT_TRUE(boxHadTheKeyboard);
    EXPECT_TRUE(w->stage().stageRunning) << "Escape answers No";
    ASSERT_TRUE(QTest::qWaitForWindowActive(w, 2000));
    const QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(focus && (focus == &w->answerGrid() || w->answerGrid().isAncestorOf(focus)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
    EXPECT_EQ(w->answerGrid().cellText(answerRow(w), 40), QStringLiteral("7"));
}

TEST(ExerciseWindowLook, rendersWithTheRealSkin)
{
    const SkinTemplate skin;
    ASSERT_FALSE(skin.isNull()) << "the template is built into the program";
    FakeDayClock clock(36000.0f);
    ScriptedRandom random({0.95, 0.31, 0.77, 0.12, 0.58});
    FixedScreenMetrics screen(QRect(0, 0, 1280, 800));
    AppContext ctx(skin, clock, random, screen);
    ctx.windows.define(kExerciseWindowName, [&ctx] { return new ExerciseWindow(ctx); });
    auto *w = ctx.windows.get<ExerciseWindow>(kExerciseWindowName);
    w->setGeometry(0, 25, 1280, 775);
    w->show();
    if (w->stage().firstActivation)
        emit w->activated();
    clock.advance(83.0f);
    QTest::qWait(30);
    test::click(&w->markerBox(2), {10, 10});
    QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The body in the window's colour, the sheet panel's frame from the template.
    EXPECT_EQ(shot.pixel(30, 400) & 0xFFFFFF, qRgb(197, 214, 237) & 0xFFFFFF);
    EXPECT_EQ(shot.pixel(w->sheetPanel().x() - 4, w->sheetPanel().y() + 100),
              skin.image().pixel(skin::kFrameLeft.topLeft()));
    EXPECT_EQ(shot.pixel(5, 5), skin.image().pixel(195 + 5, 122 + 5)) << "the header's left block";

    // 83 seconds of clock: the display shows 01:23, as drawn into it.
    EXPECT_EQ(w->stageClock().lastClockText(), QStringLiteral("01:23"));
    const QRect clockArea = w->clockDisplay().geometry();
    EXPECT_EQ(shot.copy(clockArea), w->clockDisplay().keptImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(test::countColour(shot, qRgb(11, 3, 103), clockArea), 50) << "the dark blue reading";

    // Marker 2 shows the guide picture; the factor cells of column 38 are lit.
    ASSERT_TRUE(w->markerBox(2).hasPicture());
    const QImage guide = w->markerPictureBox().picture().convertToFormat(QImage::Format_RGB32);
    const QRect marker(w->markerBox(2).mapTo(w, QPoint(0, 0)), w->markerBox(2).size());
    const QRect shown = QRect(marker.topLeft(), guide.size()).intersected(marker);
    EXPECT_EQ(shot.copy(shown), guide.copy(0, 0, shown.width(), shown.height()));
    for (int row : {1, 2}) {
        const QRect cell = w->answerGrid().cellRect(row, 38);
        const QPoint corner = w->answerGrid().viewport()->mapTo(w, cell.topLeft() + QPoint(2, 2));
        EXPECT_EQ(shot.pixel(corner) & 0xFFFFFF, qRgb(215, 229, 248) & 0xFFFFFF) << "row " << row;
        const QPoint unmarked = w->answerGrid().viewport()->mapTo(w, w->answerGrid().cellRect(row, 37).topLeft() + QPoint(2, 2));
        EXPECT_NE(shot.pixel(unmarked) & 0xFFFFFF, qRgb(215, 229, 248) & 0xFFFFFF) << "row " << row;
    }
    if (const QByteArray dir = qgetenv("VK_RENDER_DIR"); !dir.isEmpty()) {
        shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/exercise-running.png"));
        w->answerGrid().setCellText(5, 40, QStringLiteral("7"));
        w->finishStage();
        w->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/exercise-finished.png"));
    }
    ctx.windows.unload(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace vk
