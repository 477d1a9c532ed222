// The trainer's own start-up, done as its main() does it, up to the first
// painted frame of the start screen; reports that moment and ends.
// With --trace it also writes the time of each step to stderr.
#include "firstpaint.h"

#include "platform/fonts.h"
#include "platform/guistart.h"
#include "skin/appcontext.h"
#include "shell/application.h"
#include "ui/main/mainwindow.h"

#include <QApplication>

#include <cstring>

#include <sys/resource.h>

int main(int argc, char **argv)
{
    const bool trace = argc > 1 && std::strcmp(argv[1], "--trace") == 0;
    const long long t0 = vkbench::nowNs(CLOCK_MONOTONIC);
    const auto step = [&](const char *what) {
        if (!trace)
            return;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::fprintf(stderr, "%8.2f ms wall %8.2f ms CPU %6ld page faults  %s\n",
                     (vkbench::nowNs(CLOCK_MONOTONIC) - t0) / 1e6, vkbench::nowNs(CLOCK_PROCESS_CPUTIME_ID) / 1e6,
                     usage.ru_minflt, what);
    };
    step("main");
    const auto qapp = vk::startGuiApplication(argc, argv, QSize(1024, 768));
    step("QApplication");
    QApplication::setApplicationName(QStringLiteral("Vendrakul"));
    vk::registerFonts();
    step("registerFonts");
    vk::Application app;
    step("Application");
    QApplication::setQuitOnLastWindowClosed(false);
    if (!app.start())
        return 1;
    step("start (main window loaded and shown)");
    vkbench::FirstFrameWatch watch(app.context().windows.find<vk::MainWindow>(vk::kMainWindowName));
    const int rc = QApplication::exec();
    step("first frame");
    return rc;
}
