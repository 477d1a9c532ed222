#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vk::e2e {

// One X server of our own (Xvfb) for a test, with optional window manager,
// the program under test, xdotool to work it and screenshots to check it.
class XSession
{
public:
    XSession(int width, int height, bool windowManager = false);
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    bool ok() const { return m_ok; }
    QString display() const { return m_display; }

    // Starts the program; false when it did not start.
    bool startProgram(const QStringList &args = {});
    // Waits for the program to end; its exit code, or nothing on time-out.
    std::optional<int> waitForExit(int ms);
    bool programRunning() const;

    // xdotool, returning its standard output (trimmed).
    QString xdotool(const QStringList &args, int timeoutMs = 10000) const;
    // Waits until a visible window with this name appears; its id or empty.
    QString waitForWindow(const QString &name, int timeoutMs = 15000) const;
    QStringList visibleWindowsOfProgram() const;
    QRect windowGeometry(const QString &id) const;

    void click(int x, int y, int button = 1) const;
    void moveMouse(int x, int y) const;
    void key(const QString &keysym) const;
    void type(const QString &text) const;
    // Gives a window the keyboard focus (works without a window manager).
    void focus(const QString &id) const;

    QImage screenshot() const;
    // Screenshots until `pred` holds, or the time is up; the last one taken.
    template<class Pred>
    QImage waitForScreen(Pred pred, int timeoutMs = 10000) const;

    static QString programPath();

private:
    static void pause(int ms);

    QString m_display;
    bool m_ok = false;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_wm;
    std::unique_ptr<QProcess> m_program;
};

template<class Pred>
QImage XSession::waitForScreen(Pred pred, int timeoutMs) const
{
    QImage shot;
    for (int waited = 0; waited <= timeoutMs; waited += 200) {
        shot = screenshot();
        if (!shot.isNull() && pred(shot))
            return shot;
        pause(200);
    }
    return shot;
}

// Pixel helpers: an exact colour, and one within a tolerance per channel.
bool sameColor(QRgb a, QRgb b, int tolerance = 0);

} // namespace vk::e2e
