#include "platform/nativewindow.h"

#include "platform/form.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vk {
namespace {

xcb_connection_t *x11Connection()
{
    if (auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->connection();
    return nullptr;
}

template<class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template<class Reply>
ReplyPtr<Reply> adopt(Reply *reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto reply = adopt(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Whether a window manager runs that lists `what` among what it supports.
bool supportedByWindowManager(xcb_connection_t *c, xcb_window_t root, xcb_atom_t what)
{
    const auto reply = adopt(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == what)
            return true;
    return false;
}

} // namespace

namespace nativewindow {

std::optional<QPoint> screenPosition(const QWidget &window)
{
    if (!window.isWindow() || !window.testAttribute(Qt::WA_WState_Created) || !window.isVisible())
        return std::nullopt;
    xcb_connection_t *c = x11Connection();
    if (!c)
        return window.mapToGlobal(QPoint(0, 0));
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    const xcb_window_t root = rootWindow(c);
    if (!id || !root)
        return std::nullopt;
    const auto reply = adopt(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr));
    if (!reply)
        return std::nullopt;
    return QPoint(reply->dst_x, reply->dst_y);
}

void keepOutOfTaskbar(QWidget &window)
{
    xcb_connection_t *c = x11Connection();
    if (!c)
        return;
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    if (!id)
        return;
    // Set on the window before it is mapped; Qt adds its own states to
    // these when it shows the window.
    const xcb_atom_t states[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(c);
}

bool startWindowManagerMove(QWidget &window)
{
    QWindow *handle = window.windowHandle();
    xcb_connection_t *c = x11Connection();
    if (!c)
        return handle && handle->startSystemMove();
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    const xcb_window_t root = rootWindow(c);
    if (!id || !root || !supportedByWindowManager(c, root, atom(c, "_NET_WM_MOVERESIZE")))
        return false;
    // Qt's own system move tells the window manager where the pointer is
    // from Qt's idea of the window's place, which a reparenting window
    // manager can leave behind; the server knows.
    const auto pointer = adopt(xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr));
    if (!pointer)
        return false;
    // The window manager takes the pointer: the press's grab is let go.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    constexpr std::uint32_t kMove = 8;          // _NET_WM_MOVERESIZE_MOVE
    constexpr std::uint32_t kLeftButton = 1;
    constexpr std::uint32_t kFromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = atom(c, "_NET_WM_MOVERESIZE");
    message.data.data32[0] = static_cast<std::uint32_t>(pointer->root_x);
    message.data.data32[1] = static_cast<std::uint32_t>(pointer->root_y);
    message.data.data32[2] = kMove;
    message.data.data32[3] = kLeftButton;
    message.data.data32[4] = kFromApplication;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
    return true;
}

} // namespace nativewindow

NativeWindowWatcher &NativeWindowWatcher::instance()
{
    static NativeWindowWatcher watcher;
    return watcher;
}

void NativeWindowWatcher::watch(Form *form)
{
    // Installed once per application object (tests make more than one).
    static QPointer<QCoreApplication> installedOn;
    if (installedOn != QCoreApplication::instance()) {
        installedOn = QCoreApplication::instance();
        if (installedOn)
            installedOn->installNativeEventFilter(this);
    }
    m_forms.removeAll(nullptr);
    m_forms.append(form);
}

bool NativeWindowWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
        return false;
    const auto *destroyed = reinterpret_cast<const xcb_destroy_notify_event_t *>(event);
    for (const QPointer<Form> &form : std::as_const(m_forms)) {
        // A window the program destroys itself is gone from the widget (or
        // the widget is gone) before the server's notice arrives.
        if (form && form->testAttribute(Qt::WA_WState_Created) && form->internalWinId() == destroyed->window)
            QMetaObject::invokeMethod(form.data(), &Form::nativeWindowLost, Qt::QueuedConnection);
    }
    return false;
}

} // namespace vk
