#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QPoint>
#include <QPointer>

#include <optional>

class QWidget;

namespace vk {

class Form;

// What the program needs of the display server beyond what Qt offers. On
// X11 these talk to the server directly; elsewhere they do nothing (or
// fall back to Qt's own idea of the window).
namespace nativewindow {

// Where the top-left corner of a shown top-level window really stands on
// the screen, asked of the display server. A reparenting window manager
// can leave Qt's cached position of a frameless window behind; this can't.
// Nothing when the window has no native window yet or the platform can't say.
std::optional<QPoint> screenPosition(const QWidget &window);

// Marks a window that is not yet shown (but has its native window) as one
// that belongs to another window: no entry of its own in task bars and
// pagers.
void keepOutOfTaskbar(QWidget &window);

// Hands a drag of `window` over to the window manager's own move, from
// where the pointer stands now; the pointer's button is held. True when a
// window manager took it (on X11: one that announces _NET_WM_MOVERESIZE),
// false when the platform has no window manager to hand it to. Elsewhere
// Qt's own system move is asked.
bool startWindowManagerMove(QWidget &window);

} // namespace nativewindow

// Notices when the native window of a Form is destroyed by someone other
// than the program (xdotool windowclose, a session tearing windows down):
// Qt keeps the widget as if nothing happened. The Form is told through
// Form::nativeWindowLost(), queued, so that it can close as if asked to.
class NativeWindowWatcher final : public QAbstractNativeEventFilter
{
public:
    // The watcher of the running application; installed on first use.
    static NativeWindowWatcher &instance();

    void watch(Form *form);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    NativeWindowWatcher() = default;

    QList<QPointer<Form>> m_forms;
};

} // namespace vk
