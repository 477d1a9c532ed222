#include "shell/application.h"

#include "platform/dayclock.h"
#include "platform/qtscreenmetrics.h"
#include "platform/randomsource.h"
#include "skin/appcontext.h"
#include "shell/backdropwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/exercise/exercisewindow.h"
#include "skin/skintemplate.h"

#include <QApplication>
#include <QStyleHints>
#include <QPointer>

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
    , m_stageReports(std::move(parts.stageReports))
    , m_ctx(std::make_unique<AppContext>(*m_skin, *m_clock, *m_random, *m_screen))
{
    if (m_wallClock)
        m_ctx->wallClock = m_wallClock.get();
    m_ctx->stageReports = m_stageReports.get();
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
    main->show();
    // The keyboard starts on START; without a window manager nobody else
    // would give the window the focus.
    main->activateWindow();
    return true;
}

int Application::run()
{
    // The program ends when the main window has gone, whatever closed it.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!start())
        return kExitScreenTooSmall;
    QPointer<Form> main = m_ctx->windows.find(kMainWindowName);
    QObject::connect(main, &QObject::destroyed, qApp, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}

} // namespace vk
