#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace vk::e2e {

// The desktops our users run the trainer on: a bare X server, one of two
// common window managers with their out-of-the-box settings (xfwm4 with
// focus-stealing prevention switched on, as many distributions ship it), or
// a Wayland desktop: weston, the program on its XWayland. Weston draws on
// an X server of its own (its X11 back end), which is where the tests'
// pointer and keyboard come from and where screenshots are taken: weston's
// headless back end has no seat, and XWayland 22 crashes when input is
// made up for it.
// Weston runs on X (its X11 back end, on an Xvfb whose screen shows its
// output) or without any screen (its headless back end, screenshots taken
// through weston itself). The headless one has no pointer: XWayland goes
// down at the first pointer event sent to it, so only keys may be.
enum class WindowManager { None, Openbox, Xfwm4, Weston, WestonHeadless };

// How much wider than weston's output its Xvfb screen is.
inline constexpr int kWestonStrip = 16;

QString nameOf(WindowManager wm);

// How the X server is run: Xvfb, whose screen size is fixed, or Xephyr
// nested in an Xvfb, whose screen can be resized with xrandr while the
// program runs.
enum class ScreenKind { Fixed, Resizable };

// A top-level window of the program as the X server sees it.
struct XWindow {
    QString id;
    QString name;   // WM_NAME; empty when it has none
    QRect rect;     // absolute place on the screen, without any frame
    bool viewable = false;
};

// One X server of our own for a test, with the window manager asked for,
// the program under test, xdotool to work it and screenshots to check it.
// Everything it starts is stopped again, with all its children, when the
// session ends.
class XSession
{
public:
    XSession(int width, int height, WindowManager wm = WindowManager::None, ScreenKind kind = ScreenKind::Fixed);
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // The server, and the window manager when one was asked for, are up.
    bool ok() const { return m_failure.isEmpty(); }
    // Why not.
    QString failure() const { return m_failure; }
    QString display() const { return m_display; }
    WindowManager windowManager() const { return m_wmKind; }

    // Starts the program; false when it did not start.
    bool startProgram(const QStringList &args = {});
    // A variable of the program's environment from now on (a desktop's
    // scaling, say).
    void setProgramEnvironment(const QString &name, const QString &value) { m_programEnv.insert(name, value); }
    // Waits for the program to end; its exit code (-1 for a crash), or
    // nothing on time-out.
    std::optional<int> waitForExit(int ms);
    bool programRunning() const;

    // A tool run against the program's display; its standard output (trimmed).
    QString run(const QString &program, const QStringList &args, int timeoutMs = 10000, int *exitCode = nullptr) const;
    // Where the window stands on the screen, found on a screenshot: under
    // weston, whose XWayland knows nothing of where weston shows a window.
    // Elsewhere the X server's own word.
    QRect windowOnScreen(const QString &id) const;
    QString xdotool(const QStringList &args, int timeoutMs = 10000) const;
    // Waits until a visible window with this name appears; its id or empty.
    QString waitForWindow(const QString &name, int timeoutMs = 15000) const;
    QStringList visibleWindowsOfProgram() const;
    // Every top-level window of the program, mapped or not.
    QList<XWindow> programWindows() const;
    std::optional<XWindow> window(const QString &id) const;
    QRect windowGeometry(const QString &id) const;
    // One property of a window as xprop prints it ("NAME(TYPE) = value").
    QString property(const QString &id, const QString &name) const;
    // The window holding the keyboard focus.
    QString focusedWindow() const;
    QSize screenSize() const;
    // Switches the screen to another size (resizable screens only) and waits
    // until the server reports it.
    bool setScreenSize(int width, int height) const;

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
    static void pause(int ms);

private:
    QImage grab() const;
    // With VK_E2E_SHOTS set to a folder, every screenshot that a test looks
    // at is kept there, named after the test, for a person to look at.
    void keep(const QImage &shot) const;

    bool startServer(int width, int height, ScreenKind kind);
    bool startWindowManager(WindowManager wm);
    bool startWeston(int width, int height, bool headless);
    void bringThePointerIntoWeston() const;
    bool isWeston() const { return m_wmKind == WindowManager::Weston || m_wmKind == WindowManager::WestonHeadless; }
    // A tool run against a display of ours.
    QString runOn(const QString &display, const QString &program, const QStringList &args, int timeoutMs,
                  int *exitCode) const;
    bool windowManagerReady(WindowManager wm) const;

    QString m_display;       // where the program runs
    QString m_screenDisplay; // where the screen is: the pointer, the keyboard, screenshots
    QString m_hostDisplay;
    QSize m_westonOutput; // weston's output in its X window at 0,0 of the screen, when there is one
    QTemporaryDir m_runtimeDir;
    QString m_waylandSocket;
    QString m_failure;
    WindowManager m_wmKind = WindowManager::None;
    QTemporaryDir m_wmConfig;
    std::unique_ptr<QProcess> m_host;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_wm;
    std::unique_ptr<QProcess> m_program;
    mutable int m_shots = 0;
    QMap<QString, QString> m_programEnv;
};

template<class Pred>
QImage XSession::waitForScreen(Pred pred, int timeoutMs) const
{
    QImage shot;
    for (int waited = 0; waited <= timeoutMs; waited += 200) {
        shot = grab();
        if (!shot.isNull() && pred(shot))
            break;
        pause(200);
    }
    keep(shot);
    return shot;
}

// Polls `pred` every 100 ms until it holds or the time is up; its last answer.
template<class Pred>
bool waitUntil(Pred pred, int timeoutMs = 10000)
{
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        if (pred())
            return true;
        XSession::pause(100);
    }
    return pred();
}

// Pixel helpers: an exact colour, and one within a tolerance per channel.
bool sameColor(QRgb a, QRgb b, int tolerance = 0);

} // namespace vk::e2e
