#include "skin/appcontext.h"

#include "platform/form.h"
#include "platform/wallclock.h"

namespace vk {

AppContext::AppContext(const SkinTemplate &skin, const DayClock &clock, RandomSource &random, const ScreenMetrics &screen)
    : skin(skin)
    , clock(clock)
    , random(random)
    , screen(screen)
{
    static const SystemWallClock systemWallClock;
    wallClock = &systemWallClock;
}

MainWindowApi *AppContext::mainWindow() const
{
    return dynamic_cast<MainWindowApi *>(windows.find(kMainWindowName));
}

} // namespace vk
