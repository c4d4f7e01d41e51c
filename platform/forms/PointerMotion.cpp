#include "platform/forms/PointerMotion.h"

#include "platform/forms/XConnection.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace forms {

namespace {

// xinput.h: an event mask is its header followed by mask_len 32-bit words of event bits.
struct RawMotionMask {
    xcb_input_event_mask_t header;
    std::uint32_t bits;
};

// The raw motion reports of the master pointers, asked for on the root window of every screen of
// Qt's own connection, so they arrive with Qt's other events. The server sends them to the root
// window wherever the pointer is and whoever grabs it. A selection belongs to one client, window
// and device: Qt's own selections on the root window name every device, not the master ones, and
// stay as they are.
class RawMotion : public QAbstractNativeEventFilter {
public:
    // Adds a watcher; false when the display sends no raw motion reports.
    static bool Add(PointerMotion* watcher)
    {
        if (!instance) {
            auto* started = new RawMotion;
            if (!started->Start()) {
                delete started;
                return false;
            }
            instance = started;
        }
        instance->watchers_.append(watcher);
        return true;
    }

    // The reports stop with the last watcher.
    static void Remove(PointerMotion* watcher)
    {
        if (!instance || !instance->watchers_.removeOne(watcher) || !instance->watchers_.isEmpty()) return;
        delete std::exchange(instance, nullptr);
    }

    ~RawMotion() override
    {
        if (connection_ && connection_ == QtXcbConnection()) {
            Select(false);
            xcb_flush(connection_);
        }
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC) return false;
        const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
        if (generic->extension != opcode_ || generic->event_type != XCB_INPUT_RAW_MOTION) return false;
        const QList<QPointer<PointerMotion>> watchers(watchers_.cbegin(), watchers_.cend());
        for (const QPointer<PointerMotion>& watcher : watchers)
            if (watcher) emit watcher->Moved();
        return true;
    }

private:
    bool Start()
    {
        xcb_connection_t* c = QtXcbConnection();
        if (!c) return false;
        const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
        if (!extension || !extension->present) return false;
        // Qt announced version 2.2 on this connection already when the server has it; announcing
        // it again is allowed and tells whether the server speaks version 2 at all.
        xcb_input_xi_query_version_reply_t* version
            = xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr);
        const bool two = version && version->major_version >= 2;
        std::free(version);
        if (!two) return false;
        connection_ = c;
        opcode_ = extension->major_opcode;
        if (!Select(true)) return false;
        QCoreApplication::instance()->installNativeEventFilter(this);
        return true;
    }

    // True when the server took the selection on every root window.
    bool Select(bool on)
    {
        RawMotionMask mask {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, on ? std::uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION) : 0u};
        bool ok = true;
        for (auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)); screen.rem; xcb_screen_next(&screen)) {
            const xcb_void_cookie_t cookie
                = xcb_input_xi_select_events_checked(connection_, screen.data->root, 1, &mask.header);
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                ok = false;
                std::free(error);
            }
        }
        return ok;
    }

    static inline RawMotion* instance = nullptr;
    QList<PointerMotion*> watchers_;
    xcb_connection_t* connection_ = nullptr;
    std::uint8_t opcode_ = 0;
};

} // namespace

PointerMotion::PointerMotion(QObject* parent)
    : QObject(parent)
    , watching_(RawMotion::Add(this))
{
}

PointerMotion::~PointerMotion()
{
    if (watching_) RawMotion::Remove(this);
}

} // namespace forms
