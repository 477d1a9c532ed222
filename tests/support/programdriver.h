#pragma once

// The whole program in-process on a screen of the test's choosing, with a
// day clock the test moves, chance it controls and messages recorded
// instead of shown; and the user's ways into it: START, BACK, FINISH and
// the strip's cells.
#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "platform/randomsource.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "skin/appcontext.h"
#include "shell/application.h"
#include "shell/logstatusrelay.h"
#include "ui/main/mainwindow.h"
#include "ui/exercise/exercisewindow.h"
#include "skin/skintemplate.h"
#include "stage/stage.h"
#include "support/fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <cstdint>
#include <memory>
#include <vector>

namespace vk::test {

class ProgramDriver
{
public:
    // The program on `screen` (and its work area), not started yet: the test
    // calls app->start() or app->run(). Chance follows a short fixed script.
    // `stageReports`, when given, is the run's own (a training log's
    // writer), `logStatus` what the start screen says of it, and
    // `factorDigits` the factors' length it starts with, as --digits gives it.
    explicit ProgramDriver(QRect screen, QRect workArea = {}, std::unique_ptr<StageReportSink> stageReports = {},
                           std::unique_ptr<LogStatusRelay> logStatus = {}, int factorDigits = 0)
        : ProgramDriver(screen, workArea,
                        std::make_unique<ScriptedRandom>(std::vector<double>{0.11, 0.52, 0.93, 0.34, 0.75, 0.06}),
                        std::move(stageReports), std::move(logStatus), factorDigits)
    {
    }

    // The program started on a 1280 x 800 screen with seeded chance, as the
    // long runs use it; `started` tells whether it came up.
    explicit ProgramDriver(std::uint64_t seed)
        : ProgramDriver(QRect(0, 0, 1280, 800), {}, std::make_unique<Mt19937RandomSource>(seed))
    {
        started = app->start();
    }

    ~ProgramDriver() { shutDown(); }

    ProgramDriver(const ProgramDriver &) = delete;
    ProgramDriver &operator=(const ProgramDriver &) = delete;

    // The program as it ends: its windows gone, every deferred deletion done.
    void shutDown()
    {
        app.reset();
        settle();
    }

    AppContext &ctx() { return app->context(); }
    MainWindow *main() { return ctx().windows.find<MainWindow>(kMainWindowName); }
    ExerciseWindow *stage() { return ctx().windows.find<ExerciseWindow>(kExerciseWindowName); }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Mouse events as the window system delivers them to one widget.
    static void sendMouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // Onto the widget, then a left click: drawn buttons count a click only
    // after the mouse has been over them.
    static void hoverAndClick(QWidget *w, QPointF at)
    {
        sendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        sendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    static void hoverAndClick(QWidget *w) { hoverAndClick(w, QPointF(w->width() / 2.0, w->height() / 2.0)); }

    // START as the user clicks it, and the first activation the window
    // system would send the new stage window.
    void clickStart()
    {
        if (MainWindow *m = main())
            QTest::mouseClick(&m->startButton(), Qt::LeftButton);
        settle();
        if (ExerciseWindow *w = stage(); w && w->stage().firstActivation) {
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &activate);
        }
        settle();
    }

    void clickBack()
    {
        if (ExerciseWindow *w = stage())
            hoverAndClick(&w->backButtonBox());
        settle();
    }

    // FINISH as the user clicks it; returns once the question has closed.
    void clickFinish()
    {
        if (ExerciseWindow *w = stage(); w && w->finishButtonBox().isVisible())
            hoverAndClick(&w->finishButtonBox());
        settle();
    }

    // The strip's cells: 1 backdrop, 2 minimise, 4 close (this one ends the program).
    void clickStripCell(int cell)
    {
        MainWindow *m = main();
        if (!m)
            return;
        static const int kCentres[] = {0, 8, 25, 42, 59};
        hoverAndClick(&m->controlStrip(), QPointF(kCentres[cell], 7));
        settle();
    }

    QStringList messages;
    FixedScreenMetrics *screen = nullptr; // owned by the application
    FakeDayClock *clock = nullptr;        // owned by the application, at 10:00 to begin with
    std::unique_ptr<Application> app;
    bool started = false;

private:
    ProgramDriver(QRect screen, QRect workArea, std::unique_ptr<RandomSource> chance,
                  std::unique_ptr<StageReportSink> stageReports = {},
                  std::unique_ptr<LogStatusRelay> logStatus = {}, int factorDigits = 0)
    {
        quietenTheOffscreenPlatform();
        Application::Parts parts;
        auto fixedScreen = std::make_unique<FixedScreenMetrics>(screen, workArea);
        this->screen = fixedScreen.get();
        parts.screen = std::move(fixedScreen);
        auto fakeClock = std::make_unique<FakeDayClock>(36000.0f);
        clock = fakeClock.get();
        parts.clock = std::move(fakeClock);
        parts.random = std::move(chance);
        parts.messages = [this](const QString &text) { messages.append(text); };
        parts.stageReports = std::move(stageReports);
        parts.logStatus = std::move(logStatus);
        parts.factorDigits = factorDigits;
        app = std::make_unique<Application>(std::move(parts));
    }

    // The offscreen platform reports every raise and mouse grab it cannot
    // do; thousands of those lines would bury a failure.
    static void quietenTheOffscreenPlatform()
    {
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (message.startsWith(QLatin1String("This plugin does not support")))
                    return;
                previous(type, context, message);
            });
    }
};

} // namespace vk::test
