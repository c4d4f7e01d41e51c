#include "platform/mci/VideoWindow.h"

#include "platform/forms/XConnection.h"

#include <QEvent>
#include <QPlatformSurfaceEvent>
#include <QResizeEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <xcb/xcb.h>

namespace mci {

namespace {

// The size of a window in the display's pixels.
QSize NativeSize(const QWidget& widget) { return widget.size() * widget.devicePixelRatioF(); }

} // namespace

VideoWindow::VideoWindow()
{
    xcb_connection_t* c = forms::QtXcbConnection();
    if (!c) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    root_ = screen->root;
    window_ = xcb_generate_id(c);
    // Black until the first picture is drawn, like the video area around it. It asks for no
    // events: the pointer's events go on to the window it is bound to, as if it were not there.
    const std::uint32_t black = screen->black_pixel;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 16, 16, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        screen->root_visual, XCB_CW_BACK_PIXEL, &black);
    xcb_flush(c);
}

VideoWindow::~VideoWindow()
{
    if (xcb_connection_t* c = forms::QtXcbConnection(); c && window_) {
        xcb_destroy_window(c, window_);
        xcb_flush(c);
    }
}

void VideoWindow::BindTo(std::int64_t parent)
{
    if (!Ok()) return;
    if (parent != 0 && parent == parent_) {
        if (widget_) Resize(NativeSize(*widget_));
        return;
    }
    Detach();
    xcb_connection_t* c = forms::QtXcbConnection();
    if (!c) return;
    if (parent == 0) {
        if (shown_) ShowAlone();
        return;
    }
    const auto target = static_cast<xcb_window_t>(parent);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, target), nullptr);
    if (!geometry) return; // not a window (any more)
    QSize size(geometry->width, geometry->height);
    std::free(geometry);

    parent_ = parent;
    if (QWidget* widget = QWidget::find(static_cast<WId>(parent))) {
        widget_ = widget;
        widget->installEventFilter(this);
        if (QWindow* surface = widget->windowHandle()) {
            surface_ = surface;
            surface->installEventFilter(this);
        }
        size = NativeSize(*widget);
    }
    xcb_unmap_window(c, window_);
    xcb_reparent_window(c, window_, target, 0, 0);
    Resize(size);
    if (shown_) xcb_map_window(c, window_);
    xcb_flush(c);
}

void VideoWindow::Show(int width, int height)
{
    if (!Ok()) return;
    shown_ = true;
    ownSize_ = QSize(width, height);
    if (parent_ == 0) {
        ShowAlone();
    } else if (xcb_connection_t* c = forms::QtXcbConnection()) {
        xcb_map_window(c, window_);
        xcb_flush(c);
    }
}

void VideoWindow::Hide()
{
    if (!Ok()) return;
    Detach();
    shown_ = false;
    if (xcb_connection_t* c = forms::QtXcbConnection()) {
        xcb_unmap_window(c, window_);
        xcb_flush(c);
    }
}

void VideoWindow::ShowAlone()
{
    xcb_connection_t* c = forms::QtXcbConnection();
    if (!c) return;
    Resize(ownSize_);
    xcb_map_window(c, window_);
    xcb_flush(c);
}

// Back out of view under the root window.
void VideoWindow::Detach()
{
    if (widget_) widget_->removeEventFilter(this);
    if (surface_) surface_->removeEventFilter(this);
    widget_.clear();
    surface_.clear();
    if (std::exchange(parent_, 0) == 0) return;
    if (xcb_connection_t* c = forms::QtXcbConnection()) {
        xcb_unmap_window(c, window_);
        xcb_reparent_window(c, window_, root_, 0, 0);
        xcb_flush(c);
    }
}

void VideoWindow::Resize(QSize size)
{
    xcb_connection_t* c = forms::QtXcbConnection();
    if (!c) return;
    const std::uint32_t values[] = {std::uint32_t(std::max(1, size.width())), std::uint32_t(std::max(1, size.height()))};
    xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(c);
}

bool VideoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget_ && event->type() == QEvent::Resize) {
        Resize(static_cast<QResizeEvent*>(event)->size() * widget_->devicePixelRatioF());
    } else if (watched == surface_ && event->type() == QEvent::PlatformSurface
        && static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType()
            == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
        // X destroys a window's children with it: the picture window leaves first.
        Detach();
    }
    return false;
}

} // namespace mci
