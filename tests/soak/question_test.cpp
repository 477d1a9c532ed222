// Random use of the program aimed at the finish question: while the box is
// open its own event loop runs, the clock keeps ticking, the main window
// stays usable and the exercise window must take no input. Every question
// is left a random way (Yes, No, Escape, closing the box, letting it answer
// itself), and the run ends by closing the program, sometimes with the box
// still open. After every step the stage must still hold together and a
// finished stage must show exactly the evaluation of the answer it froze.
// Closing the program from inside the question is also tried on its own,
// twenty times over.
#include "msgbox/boxdriver.h"
#include "soak/randomrun.h"
#include "soak/stageinvariants.h"
#include "support/programdriver.h"

#include <QDomElement>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <string>

namespace vk {
namespace {

using test::ProgramDriver;

const Qt::Key kKeys[] = {
    Qt::Key_0,        Qt::Key_1,      Qt::Key_2,     Qt::Key_3,         Qt::Key_4,        Qt::Key_5,
    Qt::Key_6,        Qt::Key_7,      Qt::Key_8,     Qt::Key_9,         Qt::Key_Backspace, Qt::Key_Left,
    Qt::Key_Right,    Qt::Key_Up,     Qt::Key_Down,  Qt::Key_Home,      Qt::Key_End,      Qt::Key_PageUp,
    Qt::Key_PageDown, Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Escape,  Qt::Key_Return,   Qt::Key_Enter,
    Qt::Key_Space,    Qt::Key_Delete, Qt::Key_Asterisk, Qt::Key_A,      Qt::Key_V,        Qt::Key_F2,
    Qt::Key_F4,       Qt::Key_Y,      Qt::Key_N,
};
const Qt::KeyboardModifiers kModifiers[] = {
    Qt::NoModifier,      Qt::NoModifier,    Qt::NoModifier, Qt::KeypadModifier,
    Qt::KeypadModifier,  Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
};

enum class Ending { Yes, No, Escape, CloseBox, TimeOut, CloseProgram };

class QuestionAbuse
{
public:
    QuestionAbuse(std::uint64_t seed, int steps)
        : program(seed)
        , rng(seed ^ 0x5EED5EEDull)
        , m_steps(steps)
    {
        m_poll.setInterval(0);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { onPoll(); });
        m_poll.start();
    }

    int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

    void run()
    {
        ASSERT_TRUE(program.started);
        startStage();
        for (m_step = 0; m_step < m_steps; ++m_step) {
            step();
            if (::testing::Test::HasFatalFailure())
                return;
            checkStage("after a step");
            if (::testing::Test::HasFatalFailure())
                return;
        }
        // The end: close the program, half the time from inside the question.
        if (program.stage() && program.stage()->stage().stageRunning && pick(2) == 0) {
            m_closeFromQuestion = true;
            askByFinish();
        } else {
            program.clickStripCell(4);
        }
        ASSERT_EQ(program.main(), nullptr) << "the close cell did not close the program";
        ASSERT_EQ(program.stage(), nullptr);
        m_poll.stop();
        program.shutDown();
    }

    int questions = 0;
    int endings[6] = {};
    ProgramDriver program;
    std::mt19937_64 rng;
    test::StageInvariants invariants;

private:
    // ---- outside the question -------------------------------------------------

    void step()
    {
        const int action = pick(100);
        if (action < 40)
            typeOnSheet();
        else if (action < 50)
            askByFinish();
        else if (action < 58)
            askByEnter();
        else if (action < 66)
            clickMarker();
        else if (action < 76)
            moveClock(false);
        else if (action < 80)
            resizeOrMinimise();
        else if (action < 84)
            program.clickBack();
        else if (action < 90)
            startStage();
        else if (action < 95)
            clickCell();
        else
            mainWindowAction();
        ProgramDriver::settle();
        if (!program.stage() && pick(2) == 0)
            startStage();
    }

    void startStage()
    {
        // Keep the day clock clear of midnight: the stage's own reading of
        // the time is checked elsewhere, here it only has to be predictable.
        if (!program.stage() && program.clock->secondsSinceMidnight() > 70000.0f)
            program.clock->set(36000.0f);
        program.clickStart();
        if (ExerciseWindow *w = program.stage(); w && m_stageWindow != w) {
            m_stageWindow = w;
            m_stageStart = w->stage().startTime;
        }
    }

    QWidget *sheetTarget()
    {
        ExerciseWindow *w = program.stage();
        if (!w)
            return nullptr;
        if (QWidget *focus = QApplication::focusWidget(); focus && pick(4) != 0)
            return focus;
        return w->answerGrid().editor() ? static_cast<QWidget *>(w->answerGrid().editor()) : &w->answerGrid();
    }

    void typeOnSheet()
    {
        QWidget *target = sheetTarget();
        if (!target)
            return;
        Qt::Key key = kKeys[pick(std::size(kKeys))];
        // Enter opens the question: that is askByEnter's business.
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            key = Qt::Key_Left;
        QTest::keyClick(target, key, kModifiers[pick(std::size(kModifiers))]);
    }

    void askByFinish()
    {
        if (!program.stage())
            return;
        const bool running = program.stage()->stage().stageRunning;
        m_answered = false;
        program.clickFinish();
        afterQuestion(running);
    }

    void askByEnter()
    {
        ExerciseWindow *w = program.stage();
        if (!w)
            return;
        const bool running = w->stage().stageRunning;
        m_answered = false;
        QWidget *target = w->answerGrid().editor() ? static_cast<QWidget *>(w->answerGrid().editor()) : &w->answerGrid();
        QTest::keyClick(target, pick(2) ? Qt::Key_Return : Qt::Key_Enter,
                        pick(2) ? Qt::NoModifier : Qt::KeypadModifier);
        ProgramDriver::settle();
        afterQuestion(running);
    }

    // What the answer must have done to the stage.
    void afterQuestion(bool wasRunning)
    {
        ExerciseWindow *w = program.stage();
        if (!m_answered || !w || w != m_stageWindow)
            return;
        const float elapsed = program.clock->secondsSinceMidnight() - m_stageStart;
        // The next tick sees a limit reached while the box was open.
        w->stageClock().tick();
        ProgramDriver::settle();
        const bool running = w->stage().stageRunning;
        if (m_lastEnding == Ending::Yes) {
            EXPECT_FALSE(running) << "Yes did not finish the stage at step " << m_step;
        } else if (wasRunning && elapsed < 898.0f) {
            EXPECT_TRUE(running) << "a question answered " << static_cast<int>(m_lastEnding)
                                 << " finished the stage at step " << m_step;
        } else if (elapsed > 902.0f) {
            EXPECT_FALSE(running) << "the limit passed during the question, the stage still runs at step " << m_step;
        }
    }

    void clickMarker()
    {
        ExerciseWindow *w = program.stage();
        if (!w)
            return;
        if (pick(3) == 0 && w->answerGrid().editor()) {
            QTest::keyClick(w->answerGrid().editor(), Qt::Key_Asterisk, Qt::KeypadModifier);
            return;
        }
        Surface *marker = &w->markerBox(pick(w->markerCount()));
        QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(10, 16));
    }

    void clickCell()
    {
        ExerciseWindow *w = program.stage();
        if (!w)
            return;
        const int row = pick(9), col = pick(42);
        QTest::mouseClick(w->answerGrid().viewport(), pick(4) ? Qt::LeftButton : Qt::RightButton, {},
                          w->answerGrid().cellRect(row, col).center());
    }

    void moveClock(bool insideQuestion)
    {
        const int kind = pick(insideQuestion ? 4 : 12);
        if (kind == 0)
            program.clock->advance(450.0f + static_cast<float>(pick(600)));
        else
            program.clock->advance(static_cast<float>(pick(2000)) / 100.0f);
        if (ExerciseWindow *w = program.stage(); w && !w->stage().firstActivation)
            w->stageClock().tick();
    }

    // The program's one window, with the stage inside it.
    void resizeOrMinimise()
    {
        QWidget *window = program.main();
        if (!window)
            return;
        switch (pick(3)) {
        case 0:
            window->resize(300 + pick(1200), 200 + pick(800));
            break;
        case 1:
            window->showMinimized();
            break;
        default:
            window->showNormal();
            break;
        }
    }

    // The main window stays usable while a stage runs (and while its
    // question is open): START again, the combo, the backdrop and minimise cells.
    void mainWindowAction()
    {
        MainWindow *m = program.main();
        if (!m)
            return;
        switch (pick(4)) {
        case 0:
            startStage();
            break;
        case 1:
            m->clockChoice().setCurrentIndex(pick(m->clockChoice().count()));
            m->factorChoice().setCurrentIndex(pick(m->factorChoice().count()));
            break;
        case 2:
            program.clickStripCell(1);
            break;
        default:
            program.clickStripCell(2);
            m->showNormal();
            break;
        }
    }

    // ---- inside the question --------------------------------------------------

    void onPoll()
    {
        ExerciseWindow *w = program.stage();
        QMessageBox *box = w ? w->questionBox().openBox() : nullptr;
        if (!box)
            return;
        if (m_inQuestion) {
            // A question asked from behind an open one: the box let input
            // through to its window. Answer it, or the test would wait in it.
            if (box != m_openQuestion) {
                ADD_FAILURE() << "a second question opened behind the first, step " << m_step;
                box->reject();
            }
            return;
        }
        m_inQuestion = true;
        m_openQuestion = box;
        ++questions;
        workTheQuestion(w);
        m_inQuestion = false;
        m_openQuestion = nullptr;
    }

    void workTheQuestion(ExerciseWindow *window)
    {
        QPointer<ExerciseWindow> w(window);
        checkStage("the question opened");
        EXPECT_TRUE(w->stage().stageRunning) << "a question was asked about a finished stage at step " << m_step;
        const QStringList before = test::answerCells(w->answerGrid());
        const QString storedBefore = problemElement(w->stage()).attribute(doc::kAnswer);

        // The user goes on using the program while the box waits.
        const int actions = pick(6);
        for (int i = 0; i < actions && w && w->questionBox().openBox(); ++i) {
            switch (pick(7)) {
            case 0:
            case 1:
                QTest::keyClick(pick(2) ? static_cast<QWidget *>(&w->answerGrid()) : w.data(),
                                kKeys[pick(std::size(kKeys))], kModifiers[pick(std::size(kModifiers))]);
                break;
            case 2:
                ProgramDriver::hoverAndClick(pick(2) ? &w->backButtonBox() : &w->finishButtonBox());
                break;
            case 3:
                QTest::mouseClick(&w->markerBox(pick(w->markerCount())), Qt::LeftButton, {},
                                  QPoint(10, 16));
                break;
            case 4:
                moveClock(true);
                break;
            case 5:
                resizeOrMinimise();
                break;
            default:
                mainWindowAction();
                break;
            }
            if (!w)
                break;
            checkStage("inside the question");
            EXPECT_TRUE(w->stage().stageRunning) << "the stage finished while its question was open, step " << m_step;
            EXPECT_EQ(test::answerCells(w->answerGrid()), before) << "the answer changed behind the box, step " << m_step;
            EXPECT_EQ(problemElement(w->stage()).attribute(doc::kAnswer), storedBefore);
        }
        if (!w || !w->questionBox().openBox())
            return;

        Ending ending = static_cast<Ending>(pick(5));
        if (m_closeFromQuestion)
            ending = Ending::CloseProgram;
        ++endings[static_cast<int>(ending)];
        m_lastEnding = ending;
        m_answered = true;
        QMessageBox *box = w->questionBox().openBox();
        switch (ending) {
        case Ending::Yes:
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            break;
        case Ending::No:
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
            break;
        case Ending::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Ending::CloseBox:
            box->close();
            break;
        case Ending::TimeOut:
            // The answer timer's ticks, without waiting for them.
            for (int tick = 0; tick < 10000 && w && w->questionBox().openBox(); ++tick)
                w->questionBox().answerTimerTick();
            break;
        case Ending::CloseProgram:
            program.clickStripCell(4);
            break;
        }
        if (w && ending != Ending::CloseProgram) {
            EXPECT_EQ(w->questionBox().openBox(), nullptr) << "the question stayed open after its answer, step " << m_step;
        }
    }

    // ---- what must hold ---------------------------------------------------

    void checkStage(const char *when)
    {
        invariants.check(program.stage(), std::string(when) + ", step " + std::to_string(m_step));
    }

    QTimer m_poll;
    int m_steps = 0;
    int m_step = 0;
    bool m_inQuestion = false;
    QPointer<QMessageBox> m_openQuestion;
    bool m_closeFromQuestion = false;
    bool m_answered = false;
    Ending m_lastEnding = Ending::No;
    QPointer<ExerciseWindow> m_stageWindow;
    float m_stageStart = 0.0f;
};

TEST(QuestionAbuse, theQuestionSurvivesAnythingDoneAroundIt)
{
    const test::RandomRun run = test::randomRunFromEnvironment(31337, 20000);

    QuestionAbuse abuse(run.seed, run.steps);
    abuse.run();
    std::cout << abuse.questions << " questions (yes " << abuse.endings[0] << ", no " << abuse.endings[1]
              << ", escape " << abuse.endings[2] << ", closed " << abuse.endings[3] << ", timed out "
              << abuse.endings[4] << ", program closed " << abuse.endings[5] << "), " << abuse.invariants.evaluations()
              << " stages evaluated at " << abuse.invariants.lengthsSeen().size() << " factor lengths" << std::endl;
    if (run.steps >= 1000) {
        EXPECT_GT(abuse.invariants.evaluations(), 10) << "too few finishes: the input mix no longer reaches them";
        EXPECT_GT(abuse.invariants.lengthsSeen().size(), 1u) << "the run never left one factor length";
        for (int e = 0; e < 5; ++e) {
            EXPECT_GT(abuse.endings[e], 0) << "no question ended the way " << e;
        }
    }
}

// Closing the program while the finish question is open: the window, the
// box and its event loop unwind without touching what is gone (the
// sanitizer build watches) and nothing stays behind.
TEST(QuestionClosing, closingTheProgramDuringTheQuestionLeavesNothingBehind)
{
    for (int round = 0; round < 20; ++round) {
        ProgramDriver program(100 + round);
        program.clickStart();
        QPointer<ExerciseWindow> w = program.stage();
        ASSERT_TRUE(w);
        QTest::keyClick(w->answerGrid().editor(), '5');
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
