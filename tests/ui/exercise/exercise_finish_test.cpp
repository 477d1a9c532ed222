// The end of a stage: the reveal and the verdict, the finish question, and
// a sheet that takes no more keys.
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
using test::kGreen;
using test::kLightRed;
using test::ScriptedRandom;
using test::whenBoxOpens;

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

} // namespace
} // namespace vk
