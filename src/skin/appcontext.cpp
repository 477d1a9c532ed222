#include "skin/appcontext.h"

#include "platform/form.h"

namespace vk {

MainWindowApi *AppContext::mainWindow() const
{
    return dynamic_cast<MainWindowApi *>(windows.find(kMainWindowName));
}

} // namespace vk
