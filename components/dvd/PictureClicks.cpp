#include "components/dvd/PictureClicks.h"

#include "platform/forms/XConnection.h"

#include <xcb/xcb.h>

namespace dvdclicks {

namespace {

template <class Event> Event PointerEvent(std::uint8_t type, xcb_window_t window, int x, int y)
{
    Event event {};
    event.response_type = type;
    event.time = XCB_CURRENT_TIME;
    event.event = window;
    event.event_x = static_cast<std::int16_t>(x);
    event.event_y = static_cast<std::int16_t>(y);
    event.same_screen = 1;
    return event;
}

} // namespace

void PassClick(quintptr window, int x, int y)
{
    xcb_connection_t* connection = forms::QtXcbConnection();
    if (!connection) return;
    const auto target = static_cast<xcb_window_t>(window);

    // The library selected pointer motion on the window; events sent with that mask reach it
    // whatever their kind. It takes a click where the pointer last moved.
    auto move = PointerEvent<xcb_motion_notify_event_t>(XCB_MOTION_NOTIFY, target, x, y);
    auto press = PointerEvent<xcb_button_press_event_t>(XCB_BUTTON_PRESS, target, x, y);
    press.detail = 1;
    auto release = PointerEvent<xcb_button_release_event_t>(XCB_BUTTON_RELEASE, target, x, y);
    release.detail = 1;
    release.state = XCB_BUTTON_MASK_1;
    xcb_send_event(connection, 0, target, XCB_EVENT_MASK_POINTER_MOTION, reinterpret_cast<const char*>(&move));
    xcb_send_event(connection, 0, target, XCB_EVENT_MASK_POINTER_MOTION, reinterpret_cast<const char*>(&press));
    xcb_send_event(connection, 0, target, XCB_EVENT_MASK_POINTER_MOTION, reinterpret_cast<const char*>(&release));
    xcb_flush(connection);
}

} // namespace dvdclicks
