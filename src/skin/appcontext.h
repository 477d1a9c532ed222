#pragma once

#include "platform/windowregistry.h"
#include "skin/runstate.h"
#include "stage/stagereport.h"

namespace vk {

class DayClock;
class RandomSource;
class ScreenMetrics;
class SkinTemplate;
class WallClock;

// Window names, as the registry and the window-control strip know them.
inline const QString kMainWindowName = QStringLiteral("mainWindow");
inline const QString kExerciseWindowName = QStringLiteral("exerciseWindow");
inline const QString kBackdropWindowName = QStringLiteral("backdropWindow");

// What the main window offers the other windows.
class MainWindowApi
{
public:
    virtual ~MainWindowApi() = default;
    // Repaints the start screen or the stage look, by RunState::stageActive.
    virtual void paintMainScreen() = 0;
};

// Everything one run of the program shares. Every window is constructed
// with it: `SomeWindow(AppContext &ctx)`.
struct AppContext {
    AppContext(const SkinTemplate &skin, const DayClock &clock, RandomSource &random, const ScreenMetrics &screen);

    RunState run;
    const SkinTemplate &skin;
    const DayClock &clock;
    RandomSource &random;
    const ScreenMetrics &screen;
    WindowRegistry windows;
    // The date of a stage's start, for the training log. The system's
    // clock unless the run is given another.
    const WallClock *wallClock;
    // Told of every stage's end when the run keeps a training log; null
    // (the default) when nothing is kept.
    StageReportSink *stageReports = nullptr;

    // The main window while it is loaded, else null.
    MainWindowApi *mainWindow() const;
};

} // namespace vk
