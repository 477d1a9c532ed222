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
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendrakul"));
    if (commandLine.mode == vk::RunMode::Progress)
        return vk::runProgressMode();
    vk::registerFonts();
    vk::Application::Parts parts;
    parts.stageReports = vk::stageReportsFor(commandLine);
    vk::Application app(std::move(parts));
    return app.run();
}
