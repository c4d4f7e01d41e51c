#include "platform/forms/WindowManager.h"

#include "platform/forms/XConnection.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace forms::wm {

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (!reply) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

const char* StateName(State state)
{
    switch (state) {
    case State::Above: return "_NET_WM_STATE_ABOVE";
    case State::FullScreen: return "_NET_WM_STATE_FULLSCREEN";
    }
    return "";
}

xcb_window_t RootOf(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The 32-bit items of a property, empty when it is not set.
std::vector<std::uint32_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    std::vector<std::uint32_t> items;
    xcb_get_property_reply_t* reply
        = xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 64), nullptr);
    if (!reply) return items;
    if (reply->format == 32 && reply->type == type) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        items.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return items;
}

bool Mapped(const QWidget* window) { return window->isVisible(); }

std::optional<QMargins>& LastExtents()
{
    static std::optional<QMargins> extents;
    return extents;
}

// Tells the program when the window manager sets the frame extents of one of its windows.
class FrameExtentsWatch : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
        const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
        if (notify->atom != extentsAtom || notify->state != XCB_PROPERTY_NEW_VALUE) return false;
        if (QWidget* window = QWidget::find(static_cast<WId>(notify->window))) {
            // Handled after the event, so that Qt has taken the event in first.
            QMetaObject::invokeMethod(window, [window, this] {
                for (const auto& callback : callbacks) callback(window);
            }, Qt::QueuedConnection);
        }
        return false;
    }
    xcb_atom_t extentsAtom = XCB_ATOM_NONE;
    std::vector<std::function<void(QWidget*)>> callbacks;
};

FrameExtentsWatch* Watch()
{
    static FrameExtentsWatch* watch = [] {
        auto* w = new FrameExtentsWatch;
        if (xcb_connection_t* c = QtXcbConnection()) {
            w->extentsAtom = Atom(c, "_NET_FRAME_EXTENTS");
            qGuiApp->installNativeEventFilter(w);
        }
        return w;
    }();
    return watch;
}

} // namespace

bool Present()
{
    // Asked once: the layout asks on every pass.
    static const bool present = [] {
        xcb_connection_t* c = QtXcbConnection();
        if (!c) return false;
        Watch();
        return !Property(c, RootOf(c), Atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty();
    }();
    return present;
}

void SetState(QWidget* window, State state, bool on)
{
    xcb_connection_t* c = QtXcbConnection();
    if (!c || !window || !window->isWindow()) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t netWmState = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t wanted = Atom(c, StateName(state));
    if (Mapped(window)) {
        // The window manager owns the state of a window on the screen: it is asked by message.
        xcb_client_message_event_t message {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = netWmState;
        message.data.data32[0] = on ? 1 : 0; // add or remove
        message.data.data32[1] = wanted;
        message.data.data32[2] = 0;
        message.data.data32[3] = 1; // from an application
        xcb_send_event(c, 0, RootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
            reinterpret_cast<const char*>(&message));
    } else {
        // A window not yet on the screen carries its states as a property of its own.
        std::vector<std::uint32_t> states = Property(c, id, netWmState, XCB_ATOM_ATOM);
        std::erase(states, wanted);
        if (on) states.push_back(wanted);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, netWmState, XCB_ATOM_ATOM, 32,
            static_cast<std::uint32_t>(states.size()), states.data());
    }
    xcb_flush(c);
}

std::optional<bool> HasState(const QWidget* window, State state)
{
    xcb_connection_t* c = QtXcbConnection();
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created)) return std::nullopt;
    const std::vector<std::uint32_t> states
        = Property(c, static_cast<xcb_window_t>(window->winId()), Atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM);
    return std::find(states.begin(), states.end(), Atom(c, StateName(state))) != states.end();
}

std::optional<QMargins> FrameExtents(const QWidget* window)
{
    xcb_connection_t* c = QtXcbConnection();
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created)) return std::nullopt;
    const std::vector<std::uint32_t> e = Property(
        c, static_cast<xcb_window_t>(window->winId()), Atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    if (e.size() < 4) return std::nullopt;
    const QMargins extents(static_cast<int>(e[0]), static_cast<int>(e[2]), static_cast<int>(e[1]), static_cast<int>(e[3]));
    if (!extents.isNull()) LastExtents() = extents;
    return extents;
}

std::optional<QPoint> ClientPosition(const QWidget* window)
{
    xcb_connection_t* c = QtXcbConnection();
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created)) return std::nullopt;
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, static_cast<xcb_window_t>(window->winId()), RootOf(c), 0, 0), nullptr);
    if (!reply) return std::nullopt;
    const QPoint at(reply->dst_x, reply->dst_y);
    std::free(reply);
    return at;
}

std::optional<QMargins> LastFrameExtents(QWidget* window)
{
    if (LastExtents()) return LastExtents();
    xcb_connection_t* c = QtXcbConnection();
    if (!c || !window || !window->isWindow() || !Present()) return std::nullopt;
    static bool asked = false;
    if (asked) return std::nullopt;
    asked = true;
    // The window manager answers by setting the frame extents on the window, framed or not.
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, RootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    for (int attempt = 0; attempt < 50 && !LastExtents(); ++attempt) {
        if (FrameExtents(window)) break;
        QThread::msleep(5);
    }
    return LastExtents();
}

void OnFrameExtents(std::function<void(QWidget* window)> callback)
{
    Watch()->callbacks.push_back(std::move(callback));
}

} // namespace forms::wm
