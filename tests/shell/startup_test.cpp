#include "skin/appcontext.h"
#include "ui/main/mainwindowlifecycle.h"
#include "support/programdriver.h"
#include "ui/main/mainwindow.h"
#include "skin/templatemap.h"
#include "ui/main/windowcontrolstrip.h"

#include <QApplication>
#include <QComboBox>
#include <QDomDocument>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <utility>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::ProgramDriver;

MainWindow *mainOf(ProgramDriver &t)
{
    return t.app->context().windows.find<MainWindow>(kMainWindowName);
}

// Counts windows being shown anywhere in the program.
struct ShowWatch : QObject {
    ShowWatch() { qApp->installEventFilter(this); }
    ~ShowWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget *>(o)->isWindow())
            ++windowsShown;
        return false;
    }
    int windowsShown = 0;
};

struct ScreenCase {
    const char *name;
    QRect screen;
    QRect expected; // where the main window stands once shown
};

// A screen of at least 1280 x 800 gets a 1280 x 800 window, centred; a
// smaller one from 1024 x 768 up is covered whole, so that FINISH, the
// clock and the window's own close cell never stand off the screen.
TEST(StartUp, mainWindowIsSizedByTheScreen)
{
    const ScreenCase cases[] = {
        {"exactly 1024 x 768", QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)},
        {"799 high", QRect(0, 0, 1280, 799), QRect(0, 0, 1280, 799)},
        {"exactly 800 high", QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)},
        {"large screen", QRect(0, 0, 1920, 1080), QRect(320, 140, 1280, 800)},
        {"high enough but narrower than the window", QRect(0, 0, 1024, 800), QRect(0, 0, 1024, 800)},
        {"1152 x 864", QRect(0, 0, 1152, 864), QRect(0, 0, 1152, 864)},
        {"1279 wide", QRect(0, 0, 1279, 1024), QRect(0, 0, 1279, 1024)},
    };
    for (const ScreenCase &c : cases) {
        SCOPED_TRACE(c.name);
        ProgramDriver t(c.screen);
        ASSERT_TRUE(t.app->start());
        MainWindow *mainWindow = mainOf(t);
        ASSERT_NE(mainWindow, nullptr);
        EXPECT_TRUE(mainWindow->isVisible());
        EXPECT_EQ(mainWindow->geometry(), c.expected);
        EXPECT_EQ(mainWindow->controlStrip().geometry().right(), c.expected.width() - 5) << "the strip is on the screen";
        EXPECT_TRUE(t.messages.isEmpty());
    }
}

// A screen lower than 768 or narrower than 1024 pixels: the message, then
// the end with a failure status; no window is left and none was shown.
TEST(StartUp, screenTooSmallShowsTheMessageAndEndsWithFailure)
{
    for (const QRect screen : {QRect(0, 0, 1024, 767), QRect(0, 0, 800, 768), QRect(0, 0, 768, 1024),
                               QRect(0, 0, 1023, 800)}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(screen.width()).arg(screen.height()).toStdString());
        ProgramDriver t(screen);
        ShowWatch shows;
        // A screen accepted by mistake would run the program until someone
        // closed it: the test ends it instead, and fails at once.
        QTimer accepted;
        accepted.setSingleShot(true);
        QObject::connect(&accepted, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        accepted.start(3000);

        const int status = t.app->run();

        EXPECT_NE(status, 0);
        EXPECT_EQ(status, Application::kExitScreenTooSmall);
        EXPECT_EQ(t.messages, QStringList{QStringLiteral("Minimum secreen resolution must be 1024x768")});
        EXPECT_TRUE(t.app->context().windows.loaded().isEmpty());
        EXPECT_EQ(shows.windowsShown, 0);
    }
}

TEST(StartUp, loadResetsTheChoiceClearsTheStageAndPlacesThePanel)
{
    ProgramDriver t(QRect(0, 0, 1280, 800));
    AppContext &ctx = t.app->context();
    ctx.run.stageActive = true; // as if left over
    ASSERT_TRUE(t.app->start());
    MainWindow &mainWindow = *mainOf(t);

    EXPECT_EQ(mainWindow.clockChoice().currentIndex(), 0);
    EXPECT_EQ(mainWindow.clockChoice().currentText(), QStringLiteral("Yes"));
    EXPECT_FALSE(ctx.run.stageActive);
    EXPECT_EQ(mainWindow.settingsPanel().geometry(), QRect(265, 610, 750, 120));
    EXPECT_TRUE(mainWindow.settingsPanel().isVisible());

    // The panel's children follow its working size.
    EXPECT_EQ(mainWindow.startButton().geometry(), QRect(288, 60, 175, 45)); // 287.5 goes to the even neighbour
    const QLabel &label = mainWindow.clockChoiceLabel();
    EXPECT_EQ(label.x() + label.width(), 360);
    EXPECT_EQ(label.y() + label.height(), 45);
    EXPECT_EQ(mainWindow.clockChoice().x(), 375);
    EXPECT_EQ(mainWindow.clockChoice().width(), 140);
    EXPECT_EQ(mainWindow.clockChoice().y(), label.y() - 4);

    // The strip's kept image holds the four normal glyphs.
    const QImage &t0 = ctx.skin.image();
    const int sources[] = {skin::kStripBackdropLeft, skin::kStripMinimiseLeft, skin::kStripMaximiseLeft,
                           skin::kStripCloseLeft};
    ASSERT_EQ(mainWindow.controlStrip().keptImage().size(), QSize(68, 15));
    for (int cell = 0; cell < 4; ++cell) {
        SCOPED_TRACE(cell + 1);
        EXPECT_EQ(mainWindow.controlStrip().keptImage().copy(17 * cell, 0, 17, 15),
                  t0.copy(sources[cell], skin::kStripNormalTop, 17, 15));
    }
    EXPECT_FALSE(mainWindow.skinTemplate().isVisible());
}

TEST(StartUp, everyActivationPutsTheFocusOnStart)
{
    ProgramDriver t(QRect(0, 0, 1280, 800));
    ASSERT_TRUE(t.app->start());
    MainWindow &mainWindow = *mainOf(t);
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    EXPECT_EQ(QApplication::focusWidget(), &mainWindow.startButton());

    mainWindow.clockChoice().setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    EXPECT_EQ(QApplication::focusWidget(), &mainWindow.startButton());
}

class Start : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.app->start());
        mainWindow = mainOf(t);
    }
    AppContext &ctx() { return t.app->context(); }
    Form *stageWindow() { return ctx().windows.find(kExerciseWindowName); }

    ProgramDriver t{QRect(0, 0, 1920, 1080)};
    MainWindow *mainWindow = nullptr;
};

// The choice is read when START is pressed; the stage is shown inside the
// main window, covering it below its 25-pixel top band.
TEST_F(Start, copiesTheChoiceAndShowsTheStageBelowTheBand)
{
    struct Case { int index; bool timerEnabled; };
    for (const Case c : {Case{1, false}, Case{0, true}}) {
        SCOPED_TRACE(c.index);
        mainWindow->clockChoice().setCurrentIndex(c.index);
        QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);

        EXPECT_EQ(ctx().run.timerEnabled, c.timerEnabled);
        EXPECT_TRUE(ctx().run.stageActive);
        Form *stage = stageWindow();
        ASSERT_NE(stage, nullptr);
        EXPECT_TRUE(stage->isVisible());
        EXPECT_EQ(stage->window(), mainWindow) << "one window, not two";
        EXPECT_EQ(stage->geometry(), QRect(0, 25, mainWindow->width(), mainWindow->height() - 25));
        EXPECT_EQ(stage->screenPosition(), mainWindow->pos() + QPoint(0, 25));
        // The main window shows its stage look: the header block at the top left.
        EXPECT_EQ(mainWindow->keptImage().copy(0, 0, 195, 97), ctx().skin.image().copy(skin::kStageHeaderBlock));
        ctx().windows.unload(stage);
        ctx().run.stageActive = false;
    }
}

TEST_F(Start, anOpenStageWindowIsOnlyPlacedAgain)
{
    QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);
    Form *first = stageWindow();
    ASSERT_NE(first, nullptr);
    const QString problem = ctx().run.problemDoc.toString();
    mainWindow->clockChoice().setCurrentIndex(1);
    first->move(0, 0);

    QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);

    EXPECT_EQ(stageWindow(), first);
    EXPECT_EQ(ctx().run.problemDoc.toString(), problem) << "no new problem is drawn";
    EXPECT_EQ(first->geometry(), QRect(0, 25, mainWindow->width(), mainWindow->height() - 25));
}

// START has the focus so that Enter starts a stage as Space does: the
// Return key and the keypad's Enter both.
TEST_F(Start, enterOnStartStartsAStage)
{
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
        SCOPED_TRACE(key);
        QTest::keyClick(&mainWindow->startButton(), key, modifiers);
        ASSERT_NE(stageWindow(), nullptr);
        EXPECT_TRUE(stageWindow()->isVisible());
        EXPECT_TRUE(ctx().run.stageActive);
        ctx().windows.unload(stageWindow());
        ctx().run.stageActive = false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// While a stage runs the keyboard is the stage's: activating the main
// window (a click on its band or strip) hands the activation on.
TEST_F(Start, activatingTheMainWindowDuringAStageKeepsTheKeyboardOnTheStage)
{
    QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);
    Form *stage = stageWindow();
    ASSERT_NE(stage, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(stage));

    mainWindow->activateWindow();
    QTest::qWait(50);
    ASSERT_TRUE(QTest::qWaitForWindowActive(stage));
    EXPECT_NE(QApplication::focusWidget(), &mainWindow->startButton());
    EXPECT_TRUE(stage->isAncestorOf(QApplication::focusWidget()));
}

// The stage goes wherever the main window goes: minimised and restored
// with it, and moved with it.
TEST_F(Start, theStageGoesWithTheMainWindow)
{
    QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);
    Form *stage = stageWindow();
    ASSERT_NE(stage, nullptr);

    mainWindow->showMinimized();
    EXPECT_TRUE(stage->isMinimizedState());
    mainWindow->showNormal();
    EXPECT_FALSE(stage->isMinimizedState());
    EXPECT_TRUE(stage->isVisible());
    mainWindow->move(100, 60);
    QCoreApplication::processEvents();
    EXPECT_EQ(stage->geometry(), QRect(0, 25, 1280, 775));
    EXPECT_EQ(stage->screenPosition(), QPoint(100, 85));
}

// A new resolution or a monitor unplugged while the program runs: the
// main window is fitted to the new screen by the start-up rules, the
// stage window stays docked and the backdrop covers the new screen.
TEST_F(Start, aChangedScreenRefitsTheWindows)
{
    QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);
    Form *stage = stageWindow();
    ASSERT_NE(stage, nullptr);
    mainWindow->toggleBackdrop();
    Form *backdrop = ctx().windows.find(kBackdropWindowName);
    ASSERT_NE(backdrop, nullptr);

    struct Change {
        const char *name;
        QRect screen;
        QRect workArea;
        QRect expected;
    };
    const Change changes[] = {
        {"down to 1024 x 768", QRect(0, 0, 1024, 768), {}, QRect(0, 0, 1024, 768)},
        {"back to 1920 x 1080", QRect(0, 0, 1920, 1080), {}, QRect(0, 0, 1280, 800)},
        {"a panel takes the top 120 pixels", QRect(0, 0, 1920, 1080), QRect(0, 120, 1920, 960), QRect(0, 120, 1280, 800)},
        {"1280 x 800 with the panel", QRect(0, 0, 1280, 800), QRect(0, 30, 1280, 770), QRect(0, 30, 1280, 800)},
    };
    for (const Change &c : changes) {
        SCOPED_TRACE(c.name);
        t.screen->change(c.screen, c.workArea);
        QCoreApplication::processEvents();
        EXPECT_EQ(mainWindow->geometry(), c.expected);
        EXPECT_EQ(stage->geometry(), QRect(0, 25, c.expected.width(), c.expected.height() - 25));
        EXPECT_EQ(backdrop->geometry(), c.screen);
        EXPECT_EQ(mainWindow->settingsPanel().x(), (c.expected.width() - 750) / 2) << "the panel is centred again";
    }
}

// A screen change while the window is minimised leaves it minimised: the
// refit places the settings panel without restoring the window.
TEST_F(Start, aChangedScreenLeavesAMinimisedWindowMinimised)
{
    mainWindow->showMinimized();
    ASSERT_TRUE(mainWindow->isMinimized());
    for (const QRect screen : {QRect(0, 0, 1024, 768), QRect(0, 0, 1920, 1080)}) {
        t.screen->change(screen);
        QCoreApplication::processEvents();
        EXPECT_TRUE(mainWindow->isMinimized()) << screen.width() << " x " << screen.height();
    }
}

// On the start screen the refitted window is painted with the settings
// panel in its new place: the panel's frame goes with it.
TEST_F(Start, aChangedScreenRepaintsTheStartScreenAroundThePanel)
{
    t.screen->change(QRect(0, 0, 1024, 768));
    QCoreApplication::processEvents();
    ASSERT_EQ(mainWindow->size(), QSize(1024, 768));
    const QRect panel = mainWindow->settingsPanel().geometry();
    EXPECT_EQ(panel.topLeft(), QPoint(137, 578));
    EXPECT_EQ(mainWindow->keptImage().copy(panel.x() - 4, panel.y() - 4, 10, 4),
              ctx().skin.image().copy(QRect(skin::kFrameTopLeft.topLeft(), QSize(10, 4))));
}

// Closing the main window, by its strip or by the system, closes every
// other window without a question and ends the program with success.
TEST(Closing, closingTheMainWindowUnloadsEverythingAndEndsWithSuccess)
{
    enum class By { Strip, Program, WindowManager, NativeWindowLost };
    for (const By by : {By::Strip, By::Program, By::WindowManager, By::NativeWindowLost}) {
        SCOPED_TRACE(static_cast<int>(by));
        ProgramDriver t(QRect(0, 0, 1920, 1080));
        AppContext &ctx = t.app->context();
        QTimer::singleShot(0, [&] {
            auto *mainWindow = ctx.windows.find<MainWindow>(kMainWindowName);
            QTest::mouseClick(&mainWindow->startButton(), Qt::LeftButton);
            mainWindow->toggleBackdrop();
            switch (by) {
            case By::Strip:
                mainWindow->strip().mouseMove(0, 60);
                mainWindow->strip().click();
                break;
            case By::Program:
                mainWindow->close();
                break;
            case By::WindowManager:
                mainWindow->windowHandle()->close();
                break;
            case By::NativeWindowLost:
                mainWindow->nativeWindowLost();
                break;
            }
        });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });

        const int status = t.app->run();

        EXPECT_EQ(status, 0);
        EXPECT_TRUE(t.messages.isEmpty());
        EXPECT_TRUE(ctx.windows.loaded().isEmpty());
    }
}

} // namespace
} // namespace vk
