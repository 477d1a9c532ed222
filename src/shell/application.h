#pragma once

#include "platform/dayclock.h"
#include "platform/randomsource.h"
#include "platform/screenmetrics.h"
#include "platform/wallclock.h"
#include "msgbox/messagesink.h"
#include "skin/skintemplate.h"
#include "stage/stagereport.h"

#include <memory>

namespace vk {

struct AppContext;

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
        // Where the stages go when the run keeps a training log; none by
        // default. It goes after the windows, so a stage left by the
        // program's end still reaches it.
        std::unique_ptr<StageReportSink> stageReports;
    };

    Application();
    explicit Application(Parts parts);
    ~Application();

    AppContext &context() { return *m_ctx; }

    // Loads and shows the main window. False when the program has to end
    // at once (the screen is too low): nothing is shown then.
    bool start();
    // start(), then the event loop; the program's exit status. Closing the
    // main window ends it with 0; a screen too small ends it with kExitScreenTooSmall.
    int run();

    static constexpr int kExitScreenTooSmall = 1;

private:
    void defineWindows();

    std::unique_ptr<ScreenMetrics> m_screen;
    std::unique_ptr<DayClock> m_clock;
    std::unique_ptr<RandomSource> m_random;
    std::unique_ptr<SkinTemplate> m_skin;
    MessageSink m_messages;
    std::unique_ptr<WallClock> m_wallClock;
    std::unique_ptr<StageReportSink> m_stageReports;
    std::unique_ptr<AppContext> m_ctx;
};

} // namespace vk
