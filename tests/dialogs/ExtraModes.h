#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

// Modes added to the virtual screen's output for one test, over a connection of the test's own.
class ExtraModes {
public:
    ExtraModes() { dpy_ = XOpenDisplay(nullptr); }
    ~ExtraModes()
    {
        if (!dpy_) return;
        for (RRMode mode : added_) {
            XRRDeleteOutputMode(dpy_, output_, mode);
            XRRDestroyMode(dpy_, mode);
        }
        XCloseDisplay(dpy_);
    }
    bool Add(int width, int height, int refresh)
    {
        if (!dpy_) return false;
        const Window root = DefaultRootWindow(dpy_);
        XRRScreenResources* res = XRRGetScreenResourcesCurrent(dpy_, root);
        if (!res || res->noutput < 1) return false;
        const QByteArray name = QStringLiteral("%1x%2_%3").arg(width).arg(height).arg(refresh).toLatin1();
        XRRModeInfo info {};
        info.width = width;
        info.height = height;
        info.hTotal = width + 160;
        info.vTotal = height + 30;
        info.hSyncStart = width + 16;
        info.hSyncEnd = width + 96;
        info.vSyncStart = height + 3;
        info.vSyncEnd = height + 7;
        info.dotClock = static_cast<unsigned long>(info.hTotal) * info.vTotal * refresh;
        info.name = const_cast<char*>(name.constData());
        info.nameLength = name.size();
        const RRMode mode = XRRCreateMode(dpy_, root, &info);
        output_ = res->outputs[0];
        XRRAddOutputMode(dpy_, output_, mode);
        added_.push_back(mode);
        XRRFreeScreenResources(res);
        XSync(dpy_, False);
        return true;
    }

private:
    Display* dpy_ = nullptr;
    RROutput output_ = 0;
    std::vector<RRMode> added_;
};
