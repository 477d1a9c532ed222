#include "platform/fonts.h"
#include "shell/application.h"
#include "shell/commandline.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

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

// On X11 Qt hands window contents to the server in shared memory, and
// before it paints again over a spot handed over since the last round trip
// it waits for the server to have read it. A running stage repaints its
// clock's spot every second, and every such wait is a round trip and a
// hand-over between Qt's threads that often moves the program to the other
// core (15 % more CPU at rest than without, in paired runs). Sent over the
// connection instead, a repaint is one request and no wait; a whole window
// costs a little more that way (about 1 ms at 1920 x 1080, 5 ms at
// 3840 x 2160). Qt reads the setting once, when it connects; programs
// started from here get the environment the user gave.
constexpr const char *kNoSharedMemoryPainting = "QT_XCB_NO_MITSHM";

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const vk::CommandLine commandLine = vk::parseCommandLine(arguments);
    if (!vk::needsDisplay(commandLine)) {
        // Help, the version and the export work where there is no display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Vendrakul"));
        QTextStream out(stdout);
        QTextStream err(stderr);
        return vk::runWithoutDisplay(commandLine, vk::defaultTrainingLogPath(), out, err);
    }

    preferXcbOnWayland(argc, argv);
    const bool userChosePainting = qEnvironmentVariableIsSet(kNoSharedMemoryPainting);
    if (!userChosePainting)
        qputenv(kNoSharedMemoryPainting, "1");
    QApplication qapp(argc, argv);
    if (!userChosePainting)
        qunsetenv(kNoSharedMemoryPainting);
    QApplication::setApplicationName(QStringLiteral("Vendrakul"));
    if (commandLine.mode == vk::RunMode::Progress)
        return vk::runProgressMode();
    vk::registerFonts();
    vk::Application::Parts parts;
    parts.stageReports = vk::stageReportsFor(commandLine);
    vk::Application app(std::move(parts));
    return app.run();
}
