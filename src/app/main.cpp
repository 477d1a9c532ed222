#include "platform/fonts.h"
#include "shell/application.h"

#include <QApplication>
#include <QByteArray>

#include <cstring>

namespace {

// Windows are placed and docked by the program itself, which Wayland does
// not allow; run on XWayland instead, unless the user chose a platform.
void preferXcbOnWayland(int argc, char **argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return;
    const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char **argv)
{
    preferXcbOnWayland(argc, argv);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendrakul"));
    vk::registerFonts();
    vk::Application app;
    return app.run();
}
