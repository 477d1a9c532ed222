// Tens of thousands of random inputs on both windows: keys of every kind,
// clicks and moves anywhere, resizes, minimise and restore, START and
// BACK, the clock driven past its limit. After every step the stage must
// still hold together.
#include "soak/randomrun.h"
#include "soak/stageinvariants.h"
#include "support/programdriver.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <string>

namespace vk {
namespace {

using test::ProgramDriver;

// Answers the finish question with a random button whenever it shows, so
// that no input can leave the run waiting inside the box's own loop.
class RandomAnswerer
{
public:
    RandomAnswerer(ProgramDriver &program, std::uint64_t seed)
        : m_program(program)
        , m_rng(seed)
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { answer(); });
        m_timer.start();
    }

    int answered() const { return m_answered; }

private:
    void answer()
    {
        ExerciseWindow *w = m_program.stage();
        QMessageBox *box = w ? w->questionBox().openBox() : nullptr;
        if (!box || !box->isVisible())
            return;
        const QList<QAbstractButton *> buttons = box->buttons();
        if (buttons.isEmpty())
            return;
        ++m_answered;
        buttons.at(static_cast<int>(m_rng() % static_cast<unsigned>(buttons.size())))->click();
    }

    ProgramDriver &m_program;
    std::mt19937_64 m_rng;
    QTimer m_timer;
    int m_answered = 0;
};

// Everything a keyboard can send, the keypad and the editing keys included.
const Qt::Key kKeys[] = {
    Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9,
    Qt::Key_0, Qt::Key_5, Qt::Key_9, Qt::Key_A, Qt::Key_X, Qt::Key_Z, Qt::Key_Space, Qt::Key_Backspace,
    Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab,
    Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Left, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
    Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Asterisk, Qt::Key_Asterisk, Qt::Key_Plus,
    Qt::Key_Minus, Qt::Key_Period, Qt::Key_Comma, Qt::Key_F1, Qt::Key_F4, Qt::Key_F10, Qt::Key_V, Qt::Key_C,
    Qt::Key_Menu,
};
const Qt::KeyboardModifiers kModifiers[] = {
    Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::KeypadModifier, Qt::KeypadModifier,
    Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::ControlModifier | Qt::ShiftModifier,
};

class Abuse
{
public:
    explicit Abuse(std::uint64_t seed)
        : program(seed)
        , answerer(program, seed)
        , rng(seed * 7919 + 1)
    {
    }

    int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

    void step()
    {
        const int action = pick(100);
        if (action < 45)
            pressKey();
        else if (action < 70)
            mouseSomewhere();
        else if (action < 74)
            resizeSomething();
        else if (action < 76)
            minimiseOrRestore();
        else if (action < 82)
            program.clickStart();
        else if (action < 84)
            program.clickBack();
        else if (action < 92)
            moveTheClock();
        else if (action < 94)
            QTest::qWait(12); // let the 10 ms clock tick for real
        else
            clickAControl();
        program.settle();
    }

    void check(int stepNo) { invariants.check(program.stage(), "step " + std::to_string(stepNo)); }

    ProgramDriver program;
    RandomAnswerer answerer;
    std::mt19937_64 rng;
    test::StageInvariants invariants;

private:
    void pressKey()
    {
        const Qt::Key key = kKeys[pick(std::size(kKeys))];
        const Qt::KeyboardModifiers mods = kModifiers[pick(std::size(kModifiers))];
        QWidget *target = QApplication::focusWidget();
        if (!target || pick(5) == 0)
            target = randomWidget();
        if (target)
            QTest::keyClick(target, key, mods);
    }

    QWidget *randomWindow()
    {
        ExerciseWindow *w = program.stage();
        if (w && pick(4) != 0)
            return w;
        return program.main();
    }

    QWidget *randomWidget()
    {
        QWidget *window = randomWindow();
        if (!window)
            return nullptr;
        const QList<QWidget *> children = window->findChildren<QWidget *>();
        if (children.isEmpty() || pick(6) == 0)
            return window;
        return children.at(pick(static_cast<int>(children.size())));
    }

    // The strip's close cell would end the program: everything else is fair.
    bool onCloseCell(QWidget *window, QPoint p)
    {
        MainWindow *m = program.main();
        if (window != m || !m)
            return false;
        const QRect strip = m->controlStrip().geometry();
        return p.x() >= strip.x() + 50 && p.y() >= strip.y() - 40 && p.y() <= strip.bottom() + 40;
    }

    void mouseSomewhere()
    {
        QWidget *window = randomWindow();
        if (!window || window->width() <= 0 || window->height() <= 0)
            return;
        const QPoint p(pick(window->width()), pick(window->height()));
        if (onCloseCell(window, p))
            return;
        QWidget *target = window->childAt(p);
        if (!target)
            target = window;
        const QPoint local = target->mapFrom(window, p);
        // Never the strip's close cell, even when a captured strip takes the click.
        if (QWidget::mouseGrabber() && program.main() && QWidget::mouseGrabber() == &program.main()->controlStrip())
            return;
        const Qt::MouseButton button = pick(5) == 0 ? Qt::RightButton : Qt::LeftButton;
        switch (pick(4)) {
        case 0:
            QTest::mouseMove(target, local);
            break;
        case 1:
            QTest::mousePress(target, button, {}, local);
            break;
        case 2:
            QTest::mouseRelease(target, button, {}, local);
            break;
        default:
            QTest::mouseMove(target, local);
            QTest::mouseClick(target, button, {}, local);
            break;
        }
    }

    void clickAControl()
    {
        ExerciseWindow *w = program.stage();
        if (!w)
            return;
        switch (pick(4)) {
        case 0: { // a marker
            Surface *marker = &w->markerBox(pick(w->markerCount()));
            QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(10, 16));
            break;
        }
        case 1: // FINISH, hovered first so that the click counts
            if (w->finishButtonBox().isVisible())
                ProgramDriver::hoverAndClick(&w->finishButtonBox());
            break;
        case 2: { // a cell anywhere on the sheet
            const int row = pick(9), col = pick(42);
            QTest::mouseClick(w->answerGrid().viewport(), Qt::LeftButton, {}, w->answerGrid().cellRect(row, col).center());
            break;
        }
        default:
            if (MainWindow *m = program.main()) {
                m->clockChoice().setCurrentIndex(pick(2));
                m->factorChoice().setCurrentIndex(pick(m->factorChoice().count()));
            }
            break;
        }
    }

    void resizeSomething()
    {
        QWidget *window = randomWindow();
        if (window)
            window->resize(200 + pick(1500), 150 + pick(1000));
    }

    void minimiseOrRestore()
    {
        QWidget *window = randomWindow();
        if (!window)
            return;
        if (window->isMinimized())
            window->showNormal();
        else
            window->showMinimized();
    }

    void moveTheClock()
    {
        const int kind = pick(10);
        if (kind == 0)
            program.clock->advance(900.0f); // straight past the limit
        else if (kind == 1)
            program.clock->set(86399.0f - static_cast<float>(pick(20))); // about to wrap at midnight
        else
            program.clock->advance(static_cast<float>(pick(3000)) / 100.0f);
        if (program.clock->secondsSinceMidnight() >= 86400.0f)
            program.clock->set(program.clock->secondsSinceMidnight() - 86400.0f);
        if (ExerciseWindow *w = program.stage())
            if (!w->stage().firstActivation)
                w->stageClock().tick();
    }
};

TEST(Abuse, randomInputNeverBreaksTheStage)
{
    const test::RandomRun run = test::randomRunFromEnvironment(20261210, 20000);

    Abuse abuse(run.seed);
    ASSERT_TRUE(abuse.program.started);
    abuse.program.clickStart();
    for (int i = 0; i < run.steps; ++i) {
        abuse.step();
        abuse.check(i);
        if (::testing::Test::HasFatalFailure())
            return;
        // Keep a stage on screen most of the time.
        if (!abuse.program.stage() && abuse.pick(3) == 0)
            abuse.program.clickStart();
    }
    std::cout << abuse.invariants.evaluations() << " stages evaluated, " << abuse.answerer.answered() << " questions answered, "
              << abuse.invariants.lengthsSeen().size() << " factor lengths played" << std::endl;
    EXPECT_GT(abuse.invariants.evaluations(), 0) << "the run never reached a finish: the input mix is too weak";
    EXPECT_GT(abuse.invariants.lengthsSeen().size(), 1u) << "the run never left one factor length";
}

} // namespace
} // namespace vk
