#include "xsession.h"

#include "xsessiontools.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/types.h>
#include <unistd.h>

namespace vk::e2e {
namespace {

QString freeDisplay(int from)
{
    for (int n = from; n < from + 200; ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    return QStringLiteral(":%1").arg(from);
}

void stopGroup(QProcess *p)
{
    if (!p)
        return;
    const qint64 group = p->property("processGroup").toLongLong();
    if (group > 0) {
        ::kill(static_cast<pid_t>(-group), SIGTERM);
        if (!p->waitForFinished(3000))
            p->kill();
        p->waitForFinished(2000);
        // Whatever of the group outlived its leader.
        ::kill(static_cast<pid_t>(-group), SIGKILL);
    } else if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(2000);
    }
}

} // namespace

QProcessEnvironment environmentFor(const QString &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // Nothing we start talks to the desktop session of whoever runs the
    // tests, and no accessibility bus is started behind our back.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    return env;
}

void startInOwnGroup(QProcess &p, const QString &program, const QStringList &args)
{
    p.setChildProcessModifier([] { ::setsid(); });
    p.start(program, args);
    // QProcess forgets the id once the leader has ended; the group may not.
    p.setProperty("processGroup", p.processId());
}

QString nameOf(WindowManager wm)
{
    switch (wm) {
    case WindowManager::None:
        return QStringLiteral("None");
    case WindowManager::Openbox:
        return QStringLiteral("Openbox");
    case WindowManager::Xfwm4:
        return QStringLiteral("Xfwm4");
    case WindowManager::Weston:
        return QStringLiteral("Weston");
    case WindowManager::WestonHeadless:
        return QStringLiteral("WestonHeadless");
    }
    return {};
}

XSession::XSession(int width, int height, WindowManager wm, ScreenKind kind)
    : m_wmKind(wm)
{
    if (wm == WindowManager::WestonHeadless) {
        if (!startWeston(width, height, true))
            m_failure = QStringLiteral("headless weston with XWayland did not start: %1")
                            .arg(m_wm ? QString::fromLocal8Bit(m_wm->readAll()).trimmed().right(400) : QString());
        m_screenDisplay = m_display;
        return;
    }
    // Weston's X window gets a strip of screen beside it for the pointer to
    // leave it by (see bringThePointerIntoWeston).
    const int serverWidth = wm == WindowManager::Weston ? width + kWestonStrip : width;
    if (!startServer(serverWidth, height, kind)) {
        m_failure = QStringLiteral("the X server (%1) did not start at %2x%3")
                        .arg(kind == ScreenKind::Fixed ? QStringLiteral("Xvfb") : QStringLiteral("Xephyr"))
                        .arg(width)
                        .arg(height);
        return;
    }
    m_screenDisplay = m_display;
    if (wm == WindowManager::Weston) {
        if (!startWeston(width, height, false)) {
            m_failure = QStringLiteral("weston with XWayland did not start: %1")
                            .arg(m_wm ? QString::fromLocal8Bit(m_wm->readAll()).trimmed().right(400) : QString());
            return;
        }
        m_westonOutput = QSize(width, height);
        bringThePointerIntoWeston();
        return;
    }
    if (wm != WindowManager::None && !startWindowManager(wm)) {
        QString why = QStringLiteral("it did not take over the screen within 15 s");
        if (m_wm && m_wm->state() == QProcess::NotRunning)
            why = QStringLiteral("it ended with exit code %1: %2")
                      .arg(m_wm->exitCode())
                      .arg(QString::fromLocal8Bit(m_wm->readAll()).trimmed());
        m_failure = QStringLiteral("the window manager %1 did not start: %2").arg(nameOf(wm), why);
    }
}

bool XSession::startServer(int width, int height, ScreenKind kind)
{
    // A display of our own: a server that fails to start (the number is
    // taken, or an old server is still going away) is passed over, and so
    // is one that answers but is not ours.
    const int base = 50 + static_cast<int>(QCoreApplication::applicationPid() % 40) * 5;
    const auto answers = [](const QString &display, QProcess *server, int w, int h) {
        for (int i = 0; i < 50 && server->state() == QProcess::Running; ++i) {
            QProcess probe;
            probe.setProcessEnvironment(environmentFor(display));
            probe.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
            probe.waitForFinished(2000);
            const QString answer = QString::fromLatin1(probe.readAllStandardOutput()).trimmed();
            if (probe.exitCode() == 0 && answer == QStringLiteral("%1 %2").arg(w).arg(h) && server->state() == QProcess::Running)
                return true;
            pause(100);
        }
        return false;
    };
    const QStringList common{QStringLiteral("-dpi"), QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                             QStringLiteral("-noreset")};
    for (int attempt = 0; attempt < 20; ++attempt) {
        stopGroup(m_server.get());
        stopGroup(m_host.get());
        m_server.reset();
        m_host.reset();
        if (kind == ScreenKind::Fixed) {
            m_display = freeDisplay(base + attempt);
            m_server = std::make_unique<QProcess>();
            m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            startInOwnGroup(*m_server, QStringLiteral("Xvfb"),
                            QStringList{m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                                        QStringLiteral("%1x%2x24").arg(width).arg(height)}
                                + common);
            if (m_server->waitForStarted(5000) && answers(m_display, m_server.get(), width, height))
                return true;
            continue;
        }
        // Xephyr needs a host server a little larger than its largest screen.
        m_hostDisplay = freeDisplay(base + attempt);
        m_host = std::make_unique<QProcess>();
        m_host->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        startInOwnGroup(*m_host, QStringLiteral("Xvfb"),
                        QStringList{m_hostDisplay, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("2000x1200x24")}
                            + common);
        if (!m_host->waitForStarted(5000) || !answers(m_hostDisplay, m_host.get(), 2000, 1200))
            continue;
        m_display = freeDisplay(m_hostDisplay.mid(1).toInt() + 1);
        m_server = std::make_unique<QProcess>();
        m_server->setProcessEnvironment(environmentFor(m_hostDisplay));
        // Xephyr talks a lot about its host's missing extensions.
        m_server->setProcessChannelMode(QProcess::MergedChannels);
        m_server->setStandardOutputFile(QProcess::nullDevice());
        startInOwnGroup(*m_server, QStringLiteral("Xephyr"),
                        QStringList{m_display, QStringLiteral("-screen"), QStringLiteral("%1x%2").arg(width).arg(height),
                                    QStringLiteral("-resizeable")}
                            + common);
        if (m_server->waitForStarted(5000) && answers(m_display, m_server.get(), width, height))
            return true;
    }
    return false;
}

bool XSession::startWindowManager(WindowManager wm)
{
    m_wm = std::make_unique<QProcess>();
    QProcessEnvironment env = environmentFor(m_display);
    m_wm->setProcessChannelMode(QProcess::MergedChannels);
    if (wm == WindowManager::Openbox) {
        m_wm->setProcessEnvironment(env);
        startInOwnGroup(*m_wm, QStringLiteral("openbox"), {});
    } else {
        // xfwm4 reads its settings through xfconf, which needs a session
        // bus; the bus, xfconfd and the settings file are ours alone.
        if (!m_wmConfig.isValid())
            return false;
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_wmConfig.path());
        m_wm->setProcessEnvironment(env);
        const QString script = QStringLiteral(
            "xfconf-query -c xfwm4 -p /general/prevent_focus_stealing -n -t bool -s true || exit 3; "
            "[ \"$(xfconf-query -c xfwm4 -p /general/prevent_focus_stealing)\" = true ] || exit 4; "
            "exec xfwm4 --compositor=off");
        startInOwnGroup(*m_wm, QStringLiteral("dbus-run-session"),
                        {QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"), script});
    }
    if (!m_wm->waitForStarted(5000))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 15000) {
        if (windowManagerReady(wm)) {
            pause(300);
            return m_wm->state() == QProcess::Running;
        }
        // Also the pause: a window manager that gave up is not waited for.
        if (m_wm->waitForFinished(100))
            return false;
    }
    return false;
}

bool XSession::windowManagerReady(WindowManager wm) const
{
    const QString check = run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("window id # (0x[0-9a-f]+)")).match(check);
    if (!m.hasMatch())
        return false;
    const QString name = run(QStringLiteral("xprop"), {QStringLiteral("-id"), m.captured(1), QStringLiteral("_NET_WM_NAME")});
    return name.contains(nameOf(wm), Qt::CaseInsensitive);
}

XSession::~XSession()
{
    stopGroup(m_program.get());
    stopGroup(m_wm.get());
    stopGroup(m_server.get());
    stopGroup(m_host.get());
}

QString XSession::programPath()
{
    if (const char *path = std::getenv("VK_PROGRAM"))
        return QString::fromLocal8Bit(path);
    return QStringLiteral(VK_PROGRAM_PATH);
}

bool XSession::startProgram(const QStringList &args)
{
    stopGroup(m_program.get());
    m_program = std::make_unique<QProcess>();
    QProcessEnvironment env = environmentFor(m_display);
    for (auto it = m_programEnv.cbegin(); it != m_programEnv.cend(); ++it)
        env.insert(it.key(), it.value());
    m_program->setProcessEnvironment(env);
    m_program->setProcessChannelMode(QProcess::ForwardedChannels);
    startInOwnGroup(*m_program, programPath(), args);
    return m_program->waitForStarted(5000);
}

std::optional<int> XSession::waitForExit(int ms)
{
    if (!m_program)
        return std::nullopt;
    if (m_program->state() != QProcess::NotRunning && !m_program->waitForFinished(ms))
        return std::nullopt;
    if (m_program->exitStatus() != QProcess::NormalExit)
        return -1;
    return m_program->exitCode();
}

bool XSession::programRunning() const
{
    return m_program && m_program->state() == QProcess::Running;
}

QString XSession::run(const QString &program, const QStringList &args, int timeoutMs, int *exitCode) const
{
    return runOn(m_display, program, args, timeoutMs, exitCode);
}

QString XSession::runOn(const QString &display, const QString &program, const QStringList &args, int timeoutMs,
                        int *exitCode) const
{
    QProcess p;
    p.setProcessEnvironment(environmentFor(display));
    p.start(program, args);
    const bool finished = p.waitForFinished(timeoutMs);
    if (exitCode)
        *exitCode = finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString XSession::xdotool(const QStringList &args, int timeoutMs) const
{
    return run(QStringLiteral("xdotool"), args, timeoutMs);
}

QString XSession::waitForWindow(const QString &name, int timeoutMs) const
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                     QStringLiteral("^%1$").arg(name)});
        if (!ids.isEmpty())
            return ids.split(QLatin1Char('\n')).first();
        pause(100);
    }
    return {};
}

QList<XWindow> XSession::programWindows() const
{
    QList<XWindow> windows;
    if (!m_program || m_program->processId() <= 0)
        return windows;
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--pid"), QString::number(m_program->processId())});
    const QStringList roots = xdotool({QStringLiteral("search"), QStringLiteral("--maxdepth"), QStringLiteral("0"),
                                       QStringLiteral("--name"), QStringLiteral(".*")})
                                  .split(QLatin1Char('\n'));
    for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (roots.contains(id))
            continue;
        if (const auto w = window(id))
            windows << *w;
    }
    return windows;
}

QStringList XSession::visibleWindowsOfProgram() const
{
    QStringList ids;
    for (const XWindow &w : programWindows())
        if (w.viewable)
            ids << w.id;
    return ids;
}

std::optional<XWindow> XSession::window(const QString &id) const
{
    int code = 0;
    const QString out = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}, 5000, &code);
    if (code != 0 || out.isEmpty())
        return std::nullopt;
    XWindow w;
    w.id = id;
    int x = 0, y = 0, width = 0, height = 0;
    static const QRegularExpression named(QStringLiteral("^xwininfo: Window id: \\S+ \"(.*)\"$"));
    for (const QString &raw : out.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (const auto m = named.match(line); m.hasMatch())
            w.name = m.captured(1);
        else if (line.startsWith(QLatin1String("Absolute upper-left X:")))
            x = line.section(QLatin1Char(':'), 1).trimmed().toInt();
        else if (line.startsWith(QLatin1String("Absolute upper-left Y:")))
            y = line.section(QLatin1Char(':'), 1).trimmed().toInt();
        else if (line.startsWith(QLatin1String("Width:")))
            width = line.section(QLatin1Char(':'), 1).trimmed().toInt();
        else if (line.startsWith(QLatin1String("Height:")))
            height = line.section(QLatin1Char(':'), 1).trimmed().toInt();
        else if (line.startsWith(QLatin1String("Map State:")))
            w.viewable = line.endsWith(QLatin1String("IsViewable"));
    }
    w.rect = QRect(x, y, width, height);
    return w;
}

QRect XSession::windowGeometry(const QString &id) const
{
    const auto w = window(id);
    return w ? w->rect : QRect();
}

QString XSession::property(const QString &id, const QString &name) const
{
    return run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, name});
}

QString XSession::focusedWindow() const
{
    return xdotool({QStringLiteral("getwindowfocus")});
}

QSize XSession::screenSize() const
{
    if (m_westonOutput.isValid())
        return m_westonOutput;
    const QStringList wh = runOn(m_screenDisplay, QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}, 10000, nullptr)
                               .split(QLatin1Char(' '));
    return wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
}

bool XSession::setScreenSize(int width, int height) const
{
    int code = 0;
    run(QStringLiteral("xrandr"), {QStringLiteral("-s"), QStringLiteral("%1x%2").arg(width).arg(height)}, 10000, &code);
    return code == 0 && waitUntil([&] { return screenSize() == QSize(width, height); }, 5000);
}

void XSession::moveMouse(int x, int y) const
{
    runOn(m_screenDisplay, QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(x), QString::number(y)}, 10000,
          nullptr);
    pause(60);
}

void XSession::click(int x, int y, int button) const
{
    moveMouse(x, y);
    runOn(m_screenDisplay, QStringLiteral("xdotool"), {QStringLiteral("click"), QString::number(button)}, 10000, nullptr);
    pause(150);
}

void XSession::key(const QString &keysym) const
{
    runOn(m_screenDisplay, QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keysym}, 10000,
          nullptr);
    pause(80);
}

void XSession::focus(const QString &id) const
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id}, 3000);
    pause(100);
}

void XSession::type(const QString &text) const
{
    runOn(m_screenDisplay, QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), text},
          10000, nullptr);
    pause(100);
}

void XSession::pause(int ms)
{
    QThread::msleep(static_cast<unsigned long>(ms));
}

bool sameColor(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace vk::e2e
