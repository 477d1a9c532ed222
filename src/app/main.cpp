#include "platform/fonts.h"
#include "platform/guistart.h"
#include "shell/application.h"
#include "shell/commandline.h"
#include "shell/logstatusrelay.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSize>
#include <QStringList>
#include <QTextStream>

#include <memory>

namespace {

// The smallest screen the windows are laid out for, in pixels of ours.
constexpr QSize kDesignScreen(1024, 768);

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

    // Ends the program with one line when there is no display.
    const std::unique_ptr<QApplication> qapp = vk::startGuiApplication(argc, argv, kDesignScreen);
    QApplication::setApplicationName(QStringLiteral("Vendrakul"));
    if (commandLine.mode == vk::RunMode::Progress)
        return vk::runProgressMode();
    vk::registerFonts();
    vk::Application::Parts parts;
    if (commandLine.keepLog)
        parts.logStatus = std::make_unique<vk::LogStatusRelay>();
    parts.stageReports = vk::stageReportsFor(commandLine, parts.logStatus.get());
    parts.factorDigits = commandLine.factorDigits;
    vk::Application app(std::move(parts));
    return app.run();
}
