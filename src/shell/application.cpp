#include "shell/application.h"

#include "platform/dayclock.h"
#include "platform/qtscreenmetrics.h"
#include "platform/randomsource.h"
#include "skin/appcontext.h"
#include "shell/backdropwindow.h"
#include "shell/endsignals.h"
#include "shell/logstatusrelay.h"
#include "ui/main/logstatusline.h"
#include "ui/main/mainwindow.h"
#include "ui/exercise/exercisewindow.h"
#include "skin/skintemplate.h"

#include <QApplication>
#include <QStyleHints>
#include <QPointer>

#include <utility>

namespace vk {

Application::Application()
    : Application(Parts{})
{
}

Application::Application(Parts parts)
    : m_screen(parts.screen ? std::move(parts.screen) : std::make_unique<QtScreenMetrics>())
    , m_clock(parts.clock ? std::move(parts.clock) : std::make_unique<SystemDayClock>())
    , m_random(parts.random ? std::move(parts.random) : std::make_unique<Mt19937RandomSource>())
    , m_skin(parts.skin ? std::move(parts.skin) : std::make_unique<SkinTemplate>())
    , m_messages(parts.messages ? std::move(parts.messages) : plainMessageBox())
    , m_wallClock(std::move(parts.wallClock))
    , m_logStatus(std::move(parts.logStatus))
    , m_stageReports(std::move(parts.stageReports))
    , m_ctx(std::make_unique<AppContext>(*m_skin, *m_clock, *m_random, *m_screen))
{
    if (m_wallClock)
        m_ctx->wallClock = m_wallClock.get();
    m_ctx->stageReports = m_stageReports.get();
    if (parts.factorDigits != 0)
        m_ctx->run.factorDigits = parts.factorDigits;
    // The answer cell's caret does not blink: the highlighted cell already
    // shows where the next digit goes, and a blinking caret would repaint
    // twice a second through a whole stage.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    defineWindows();
    m_screen->setChangeHandler([this] {
        if (auto *main = m_ctx->windows.find<MainWindow>(kMainWindowName))
            main->screenChanged();
    });
}

Application::~Application()
{
    m_screen->setChangeHandler(nullptr);
    // Windows still open refer to the context; they go first, the latest
    // first (deleting a window deletes the windows it owns).
    for (QList<Form *> open = m_ctx->windows.loaded(); !open.isEmpty(); open = m_ctx->windows.loaded())
        delete open.last();
    // Every stage has been reported by now (a window whose deletion is
    // still pending reported at its unload); nothing reports after this.
    m_ctx->stageReports = nullptr;
    // The training log's writer finishes the rows still queued here.
    m_stageReports.reset();
}

void Application::defineWindows()
{
    AppContext &ctx = *m_ctx;
    ctx.windows.define(kMainWindowName, [this, &ctx] {
        auto *mainWindow = new MainWindow(ctx);
        mainWindow->setMessageSink(m_messages);
        return mainWindow;
    });
    ctx.windows.define(kExerciseWindowName, [&ctx] { return new ExerciseWindow(ctx); });
    ctx.windows.define(kBackdropWindowName, [&ctx] { return new BackdropWindow(ctx); });
}

bool Application::start()
{
    auto *main = m_ctx->windows.get<MainWindow>(kMainWindowName);
    if (!main)
        return false;
    if (main->endedEarly()) {
        // The program ends here: the window is discarded without its unload.
        delete main;
        return false;
    }
    if (m_logStatus)
        showLogStatus(*main);
    main->show();
    // The keyboard starts on START; without a window manager nobody else
    // would give the window the focus.
    main->activateWindow();
    return true;
}

void Application::showLogStatus(MainWindow &main)
{
    auto *line = new LogStatusLine(main);
    const auto update = [line, relay = m_logStatus.get()] {
        const LogStatusText now = relay->line();
        line->show(now.text, now.problem);
    };
    QObject::connect(m_logStatus.get(), &LogStatusRelay::changed, line, update);
    update();
}

int Application::run()
{
    if (!start())
        return kExitScreenTooSmall;
    return exec();
}

namespace {

// The run whose event loop is running, for an end without the windows.
Application *g_running = nullptr;
QtMessageHandler g_previousHandler = nullptr;

// Qt's words just before it ends the program when the X server has gone.
// Said on the main thread with everything still alive, unlike what runs at
// exit(), by when Qt's own statics may already be gone under the writer.
bool isDisplayLost(const QString &message)
{
    return message.startsWith(QLatin1String("The X11 connection broke"));
}

} // namespace

int Application::exec()
{
    QPointer<Form> main = m_ctx->windows.find(kMainWindowName);
    if (!main)
        return 0;
    // The program ends when the main window has gone, whatever closed it.
    QApplication::setQuitOnLastWindowClosed(false);
    int status = 0;
    // Connections that go with this call: nothing here outlives it.
    const QObject scope;
    QObject::connect(main, &QObject::destroyed, &scope, [&status] { QCoreApplication::exit(status); });
    const EndSignals endSignals([this, &status](int signal) {
        status = 128 + signal;
        m_ctx->windows.unload(kMainWindowName);
    });
    g_running = this;
    g_previousHandler = qInstallMessageHandler(&Application::watchForDisplayLost);
    const int result = QApplication::exec();
    qInstallMessageHandler(g_previousHandler);
    g_running = nullptr;
    return result;
}

void Application::watchForDisplayLost(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        qt_message_output(type, context, message);
    if (isDisplayLost(message)) {
        if (Application *app = std::exchange(g_running, nullptr))
            app->endWithoutWindows();
    }
}

void Application::endWithoutWindows()
{
    if (auto *stage = m_ctx->windows.find<ExerciseWindow>(kExerciseWindowName))
        stage->reportLeftStage();
    m_ctx->stageReports = nullptr;
    // The training log's writer finishes the rows still queued here.
    m_stageReports.reset();
}

} // namespace vk
