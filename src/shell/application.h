#pragma once

#include "platform/dayclock.h"
#include "platform/randomsource.h"
#include "platform/screenmetrics.h"
#include "platform/wallclock.h"
#include "msgbox/messagesink.h"
#include "shell/logstatusrelay.h"
#include "skin/skintemplate.h"
#include "stage/stagereport.h"

#include <QtGlobal>

#include <memory>

namespace vk {

struct AppContext;
class MainWindow;

// One run of the program: the shared objects, the three windows defined in
// the registry, the main window loaded and shown, the event loop.
class Application
{
public:
    // What a test may replace; anything left empty is the real thing.
    struct Parts {
        std::unique_ptr<ScreenMetrics> screen;
        std::unique_ptr<DayClock> clock;
        std::unique_ptr<RandomSource> random;
        std::unique_ptr<SkinTemplate> skin;
        MessageSink messages;
        std::unique_ptr<WallClock> wallClock; // none: the context's system clock
        // What the training log's writer says of the log, for the start
        // screen's line; none without a log.
        std::unique_ptr<LogStatusRelay> logStatus;
        // Where the stages go when the run keeps a training log; none by
        // default. It goes after the windows, so a stage left by the
        // program's end still reaches it.
        std::unique_ptr<StageReportSink> stageReports;
        // The factors' length the settings panel starts with (--digits);
        // 0: the longest.
        int factorDigits = 0;
    };

    Application();
    explicit Application(Parts parts);
    ~Application();

    AppContext &context() { return *m_ctx; }

    // Loads and shows the main window. False when the program has to end
    // at once (the screen is too low): nothing is shown then.
    bool start();
    // start(), then exec(); the program's exit status. A screen too small
    // ends it with kExitScreenTooSmall.
    int run();
    // The event loop of a started run, until the main window has gone:
    // closed by the user (status 0), or by the session's end (SIGTERM,
    // SIGHUP, SIGINT), which closes it as the user's close does (status 128
    // plus the signal's number). When the display connection is lost, Qt
    // ends the program itself; the running stage is reported as left and
    // the training log's queued rows are written all the same.
    int exec();

    static constexpr int kExitScreenTooSmall = 1;

private:
    void defineWindows();
    // The start screen's line about the training log, kept up to date.
    void showLogStatus(MainWindow &main);
    // The program ends without the windows' close (Qt gives up on the
    // display and ends it): only what needs no display is done.
    void endWithoutWindows();
    static void watchForDisplayLost(QtMsgType type, const QMessageLogContext &context, const QString &message);

    std::unique_ptr<ScreenMetrics> m_screen;
    std::unique_ptr<DayClock> m_clock;
    std::unique_ptr<RandomSource> m_random;
    std::unique_ptr<SkinTemplate> m_skin;
    MessageSink m_messages;
    std::unique_ptr<WallClock> m_wallClock;
    std::unique_ptr<LogStatusRelay> m_logStatus; // outlives the writer, which posts to it
    std::unique_ptr<StageReportSink> m_stageReports;
    std::unique_ptr<AppContext> m_ctx;
};

} // namespace vk
