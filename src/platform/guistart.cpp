#include "platform/guistart.h"

#include "platform/displayscale.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QScreen>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vk {
namespace {

// Windows are placed by the program itself, which Wayland does not allow;
// run on XWayland instead, unless the user chose a platform.
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

// What Qt says while it connects is held back: a failure to connect is
// told in one line of ours, anything else is passed on afterwards.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QtMessageHandler g_previousHandler = nullptr;
std::vector<HeldMessage> *g_held = nullptr;

[[noreturn]] void endWithoutDisplay()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        std::fputs("vendrakul: no display to open its window on (DISPLAY is not set)\n", stderr);
    else
        std::fprintf(stderr, "vendrakul: cannot open the display %s\n",
                     display.isEmpty() ? qgetenv("WAYLAND_DISPLAY").constData() : display.constData());
    std::fflush(stderr);
    // Qt is half set up: nothing of it may run any more.
    std::_Exit(1);
}

void holdMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg)
        endWithoutDisplay();
    if (g_held)
        g_held->push_back({type, text});
}

// What Qt said while it connected, for the caller to pass on.
std::vector<HeldMessage> g_said;

void passOn(const std::vector<HeldMessage> &messages)
{
    const QMessageLogContext context;
    for (const HeldMessage &m : messages) {
        if (g_previousHandler)
            g_previousHandler(m.type, context, m.text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(m.text));
    }
}

// One QApplication, made with the environment as it stands. What Qt said
// meanwhile is left in g_said.
std::unique_ptr<QApplication> connect(int &argc, char **argv)
{
    std::vector<HeldMessage> held;
    g_held = &held;
    g_previousHandler = qInstallMessageHandler(holdMessage);
    const bool userChosePainting = qEnvironmentVariableIsSet(kNoSharedMemoryPainting);
    if (!userChosePainting)
        qputenv(kNoSharedMemoryPainting, "1");
    auto app = std::make_unique<QApplication>(argc, argv);
    if (!userChosePainting)
        qunsetenv(kNoSharedMemoryPainting);
    qInstallMessageHandler(g_previousHandler);
    g_held = nullptr;
    g_said = std::move(held);
    return app;
}

} // namespace

std::unique_ptr<QApplication> startGuiApplication(int &argc, char **argv, QSize design)
{
    preferXcbOnWayland(argc, argv);
    // Qt takes its own options out of argv; a second start needs them again.
    const QList<QByteArray> given = [&] {
        QList<QByteArray> copy;
        for (int i = 0; i < argc; ++i)
            copy.append(QByteArray(argv[i]));
        return copy;
    }();

    std::unique_ptr<QApplication> app = connect(argc, argv);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        passOn(g_said);
        return app;
    }
    const double ratio = screen->devicePixelRatio();
    const QSize logical = screen->geometry().size();
    const QSize physical(static_cast<int>(std::lround(logical.width() * ratio)),
                         static_cast<int>(std::lround(logical.height() * ratio)));
    const std::optional<double> scale = fittingScale(physical, ratio, design);
    if (!scale) {
        passOn(g_said);
        return app;
    }

    // The desktop's factor for the screen times ours is what Qt uses; ours
    // becomes what brings the product down to the scale that fits. Qt reads
    // it when it starts, so it starts again.
    bool ok = false;
    double ours = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok || ours <= 0)
        ours = 1.0;
    app.reset();
    qputenv("QT_SCALE_FACTOR", QByteArray::number(ours * *scale / ratio, 'g', 8));
    static std::vector<QByteArray> arguments;
    static std::vector<char *> pointers;
    arguments.assign(given.begin(), given.end());
    pointers.clear();
    for (QByteArray &a : arguments)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    static int count = 0;
    count = static_cast<int>(arguments.size());
    auto restarted = connect(count, pointers.data());
    argc = count;
    // Only what the run that goes on said: the first start said the same.
    passOn(g_said);
    return restarted;
}

} // namespace vk
