#include "xsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <cstdlib>

namespace vk::e2e {
namespace {

QString freeDisplay(int from)
{
    for (int n = from; n < from + 200; ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    return QStringLiteral(":%1").arg(from);
}

QProcessEnvironment environmentFor(const QString &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    return env;
}

} // namespace

XSession::XSession(int width, int height, bool windowManager)
{
    // A display of our own: a server that fails to start (the number is
    // taken, or an old server is still going away) is passed over, and so
    // is one that answers but is not ours.
    const int base = 50 + static_cast<int>(QCoreApplication::applicationPid() % 40) * 5;
    for (int attempt = 0; attempt < 20 && !m_ok; ++attempt) {
        m_display = freeDisplay(base + attempt);
        m_xvfb = std::make_unique<QProcess>();
        m_xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_xvfb->start(QStringLiteral("Xvfb"),
                      {m_display, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                       QStringLiteral("-dpi"), QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (!m_xvfb->waitForStarted(5000))
            continue;
        for (int i = 0; i < 50 && !m_ok && m_xvfb->state() == QProcess::Running; ++i) {
            QProcess probe;
            probe.setProcessEnvironment(environmentFor(m_display));
            probe.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
            probe.waitForFinished(2000);
            const QString answer = QString::fromLatin1(probe.readAllStandardOutput()).trimmed();
            m_ok = probe.exitCode() == 0 && answer == QStringLiteral("%1 %2").arg(width).arg(height)
                   && m_xvfb->state() == QProcess::Running;
            if (!m_ok)
                pause(100);
        }
        if (!m_ok) {
            m_xvfb->kill();
            m_xvfb->waitForFinished(2000);
        }
    }
    if (m_ok && windowManager) {
        m_wm = std::make_unique<QProcess>();
        m_wm->setProcessEnvironment(environmentFor(m_display));
        m_wm->start(QStringLiteral("openbox"), {});
        m_wm->waitForStarted(5000);
        pause(700);
    }
}

XSession::~XSession()
{
    for (auto *p : {m_program.get(), m_wm.get(), m_xvfb.get()}) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(2000);
            }
        }
    }
}

QString XSession::programPath()
{
    if (const char *path = std::getenv("VK_PROGRAM"))
        return QString::fromLocal8Bit(path);
    return QStringLiteral(VK_PROGRAM_PATH);
}

bool XSession::startProgram(const QStringList &args)
{
    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(environmentFor(m_display));
    m_program->setProcessChannelMode(QProcess::ForwardedChannels);
    m_program->start(programPath(), args);
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

QString XSession::xdotool(const QStringList &args, int timeoutMs) const
{
    QProcess p;
    p.setProcessEnvironment(environmentFor(m_display));
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(timeoutMs);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
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

QStringList XSession::visibleWindowsOfProgram() const
{
    if (!m_program)
        return {};
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                 QString::number(m_program->processId())});
    const QString root = xdotool({QStringLiteral("search"), QStringLiteral("--maxdepth"), QStringLiteral("0"),
                                  QStringLiteral("--name"), QStringLiteral(".*")});
    QStringList windows;
    for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!root.split(QLatin1Char('\n')).contains(id))
            windows << id;
    return windows;
}

QRect XSession::windowGeometry(const QString &id) const
{
    const QString out = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
    int x = 0, y = 0, w = 0, h = 0;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QStringList kv = line.split(QLatin1Char('='));
        if (kv.size() != 2)
            continue;
        const int v = kv[1].toInt();
        if (kv[0] == QLatin1String("X"))
            x = v;
        else if (kv[0] == QLatin1String("Y"))
            y = v;
        else if (kv[0] == QLatin1String("WIDTH"))
            w = v;
        else if (kv[0] == QLatin1String("HEIGHT"))
            h = v;
    }
    return QRect(x, y, w, h);
}

void XSession::moveMouse(int x, int y) const
{
    xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
    pause(60);
}

void XSession::click(int x, int y, int button) const
{
    moveMouse(x, y);
    xdotool({QStringLiteral("click"), QString::number(button)});
    pause(150);
}

void XSession::key(const QString &keysym) const
{
    xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keysym});
    pause(80);
}

void XSession::focus(const QString &id) const
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
    pause(100);
}

void XSession::type(const QString &text) const
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), text});
    pause(100);
}

QImage XSession::screenshot() const
{
    QProcess p;
    p.setProcessEnvironment(environmentFor(m_display));
    p.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    p.waitForFinished(10000);
    QImage image;
    image.loadFromData(p.readAllStandardOutput(), "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
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
