// The screen: screenshots, weston as the desktop on an X server of our own,
// and finding where it put a window.
#include "xsession.h"

#include "xsessiontools.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vk::e2e {

bool XSession::startWeston(int width, int height, bool headless)
{
    if (!m_runtimeDir.isValid())
        return false;
    QFile::setPermissions(m_runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_wm = std::make_unique<QProcess>();
    QProcessEnvironment env = environmentFor(m_screenDisplay);
    if (headless)
        env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
    m_wm->setProcessEnvironment(env);
    m_wm->setProcessChannelMode(QProcess::MergedChannels);
    m_waylandSocket = QStringLiteral("vk-e2e-%1").arg(QCoreApplication::applicationPid());
    QStringList args{headless ? QStringLiteral("--backend=headless-backend.so") : QStringLiteral("--backend=x11-backend.so"),
                     QStringLiteral("--width=%1").arg(width), QStringLiteral("--height=%1").arg(height),
                     QStringLiteral("--use-pixman"), QStringLiteral("--xwayland"), QStringLiteral("--no-config"),
                     QStringLiteral("--idle-time=0"), QStringLiteral("--socket=") + m_waylandSocket};
    // Weston's own screenshooter, which takes the headless output, is a
    // debugging protocol.
    if (headless)
        args.append(QStringLiteral("--debug"));
    startInOwnGroup(*m_wm, QStringLiteral("weston"), args);
    if (!m_wm->waitForStarted(5000))
        return false;
    // Weston says which display its XWayland answers on.
    static const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
    QString said;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 15000 && m_wm->state() == QProcess::Running) {
        m_wm->waitForReadyRead(200);
        said += QString::fromLocal8Bit(m_wm->readAll());
        if (const auto m = listening.match(said); m.hasMatch()) {
            m_display = m.captured(1);
            // XWayland starts on the first connection; the shell's panel
            // takes a moment to be drawn.
            return waitUntil([&] { return !run(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}).isEmpty(); },
                             15000);
        }
    }
    return false;
}

// Now and then weston's X window comes up under the pointer without being
// told that the pointer is in it, and then it follows none of the pointer's
// moves: its own pointer stays at 0,0 and the first click lands on the
// panel's launcher there. Leaving the window and coming back tells it.
void XSession::bringThePointerIntoWeston() const
{
    moveMouse(m_westonOutput.width() + kWestonStrip / 2, m_westonOutput.height() / 2);
    moveMouse(m_westonOutput.width() / 2, m_westonOutput.height() / 2);
}

QRect XSession::windowOnScreen(const QString &id) const
{
    if (!isWeston())
        return windowGeometry(id);
    QProcess p;
    p.setProcessEnvironment(environmentFor(m_display));
    p.start(QStringLiteral("import"), {QStringLiteral("-window"), id, QStringLiteral("png:-")});
    p.waitForFinished(10000);
    QImage window;
    window.loadFromData(p.readAllStandardOutput(), "PNG");
    window = window.convertToFormat(QImage::Format_RGB32);
    const QImage screen = grab();
    if (window.isNull() || screen.isNull())
        return {};
    // A patch of the window's middle, searched for pixel for pixel.
    const QRect patch(window.width() / 2 - 24, window.height() / 2 - 24, 48, 48);
    for (int y = 0; y + window.height() <= screen.height() + patch.y(); ++y)
        for (int x = 0; x + patch.width() <= screen.width(); ++x) {
            bool same = true;
            for (int py = 0; py < patch.height() && same; ++py)
                for (int px = 0; px < patch.width() && same; ++px)
                    same = screen.pixel(x + px, y + py) == window.pixel(patch.x() + px, patch.y() + py);
            if (same)
                return QRect(QPoint(x, y) - patch.topLeft(), window.size());
        }
    return {};
}

QImage XSession::screenshot() const
{
    QImage shot = grab();
    keep(shot);
    return shot;
}

void XSession::keep(const QImage &shot) const
{
    const QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VK_E2E_SHOTS"));
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (folder.isEmpty() || !test || shot.isNull())
        return;
    QString name = QStringLiteral("%1.%2").arg(QString::fromLatin1(test->test_suite_name()), QString::fromLatin1(test->name()));
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    shot.save(QStringLiteral("%1/%2-%3.png").arg(folder, name).arg(++m_shots, 2, 10, QLatin1Char('0')));
}

QImage XSession::grab() const
{
    if (m_wmKind == WindowManager::WestonHeadless) {
        // Weston writes the output into a file of its naming in the
        // current folder: a folder of its own each time.
        QTemporaryDir folder;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandSocket);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder.path());
        p.start(QStringLiteral("weston-screenshooter"), {});
        p.waitForFinished(10000);
        const QStringList shots = QDir(folder.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
        QImage image;
        if (!shots.isEmpty())
            image.load(folder.filePath(shots.first()));
        return image.convertToFormat(QImage::Format_RGB32);
    }
    QProcess p;
    p.setProcessEnvironment(environmentFor(m_screenDisplay));
    p.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    p.waitForFinished(10000);
    QImage image;
    image.loadFromData(p.readAllStandardOutput(), "PNG");
    if (m_westonOutput.isValid() && !image.isNull())
        image = image.copy(QRect(QPoint(0, 0), m_westonOutput));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace vk::e2e
