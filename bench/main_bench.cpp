// The main window: its start screen painting, and the way from nothing to
// the first painted start screen next to a minimal Qt Widgets program that
// only shows one window, in the same run.
#include "platform/fonts.h"
#include "platform/screenmetrics.h"
#include "shell/appcontext.h"
#include "shell/application.h"
#include "skin/frmmain.h"
#include "skin/skintemplate.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::unique_ptr<vk::Application> makeApp(QRect screen)
{
    vk::Application::Parts parts;
    parts.screen = std::make_unique<vk::FixedScreenMetrics>(screen);
    parts.messages = [](const QString &) {};
    return std::make_unique<vk::Application>(std::move(parts));
}

vk::FrmMain *mainOf(vk::Application &app)
{
    return app.context().windows.find<vk::FrmMain>(vk::kFrmMain);
}

// The painter alone at 1280 x 800, titles included; the window is loaded
// but hidden, so the refreshes have no screen to go to.
void BM_temelYarismaEkraniCiz_1280x800(benchmark::State &state)
{
    auto app = makeApp(QRect(0, 0, 1280, 800));
    vk::FrmMain *frm = static_cast<vk::FrmMain *>(app->context().windows.get(vk::kFrmMain));
    for (auto _ : state)
        frm->temelYarismaEkraniCiz();
}
BENCHMARK(BM_temelYarismaEkraniCiz_1280x800)->Unit(benchmark::kMicrosecond);

// The same on a shown window: each refresh repaints the window and its
// controls at once.
void BM_temelYarismaEkraniCiz_1280x800_shown(benchmark::State &state)
{
    auto app = makeApp(QRect(0, 0, 1280, 800));
    app->start();
    vk::FrmMain *frm = mainOf(*app);
    for (auto _ : state)
        frm->temelYarismaEkraniCiz();
}
BENCHMARK(BM_temelYarismaEkraniCiz_1280x800_shown)->Unit(benchmark::kMicrosecond);

void BM_temelYarismaEkraniCiz_stageLook_shown(benchmark::State &state)
{
    auto app = makeApp(QRect(0, 0, 1280, 800));
    app->start();
    app->context().mod.stageActive = true;
    vk::FrmMain *frm = mainOf(*app);
    for (auto _ : state)
        frm->temelYarismaEkraniCiz();
}
BENCHMARK(BM_temelYarismaEkraniCiz_stageLook_shown)->Unit(benchmark::kMicrosecond);

// From nothing to the first painted start screen: the shared objects, the
// registry, the main window's definition and load, show and paint.
void BM_firstStartScreen_vendrakul(benchmark::State &state)
{
    for (auto _ : state) {
        auto app = makeApp(QRect(0, 0, 1280, 800));
        app->start();
        mainOf(*app)->repaint();
    }
}
BENCHMARK(BM_firstStartScreen_vendrakul)->Unit(benchmark::kMicrosecond);

// The reference: one plain window of the same size, shown and painted.
void BM_firstWindow_plainQt(benchmark::State &state)
{
    for (auto _ : state) {
        QWidget w;
        w.setWindowTitle(QStringLiteral("Kelvaris Ostravel"));
        w.resize(1280, 800);
        w.show();
        w.repaint();
    }
}
BENCHMARK(BM_firstWindow_plainQt)->Unit(benchmark::kMicrosecond);

// Whole processes: this program started again in a probe mode that does
// what the program's main does (or what a minimal Qt program does), paints
// the first window and quits.
std::string g_self;

void runProbe(benchmark::State &state, const char *mode)
{
    for (auto _ : state) {
        pid_t pid = 0;
        char arg[] = "--probe";
        std::string m = mode;
        char *argv[] = {g_self.data(), arg, m.data(), nullptr};
        if (posix_spawn(&pid, g_self.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the probe");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe failed");
            return;
        }
    }
}

void BM_process_vendrakulFirstStartScreen(benchmark::State &state) { runProbe(state, "vendrakul"); }
BENCHMARK(BM_process_vendrakulFirstStartScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

void BM_process_plainQtWindow(benchmark::State &state) { runProbe(state, "plain"); }
BENCHMARK(BM_process_plainQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

int probe(int argc, char **argv, const char *mode)
{
    QApplication qapp(argc, argv);
    if (std::strcmp(mode, "vendrakul") == 0) {
        QApplication::setApplicationName(QStringLiteral("Vendrakul"));
        vk::registerFonts();
        vk::Application app;
        if (!app.start())
            return 1;
        mainOf(app)->repaint();
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        return QApplication::exec();
    }
    QWidget w;
    w.setWindowTitle(QStringLiteral("Kelvaris Ostravel"));
    w.resize(1280, 800);
    w.show();
    w.repaint();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && std::strcmp(argv[1], "--probe") == 0)
        return probe(argc, argv, argv[2]);

    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    g_self = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string(argv[0]);

    QApplication qapp(argc, argv);
    vk::registerFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
