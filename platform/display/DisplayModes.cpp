#include "platform/display/DisplayModes.h"

#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace display {

namespace {

// The program's own connection to the X display, when it runs on one with XRandR 1.2 or later.
Display* XDisplay()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* dpy = x11 ? x11->display() : nullptr;
    if (!dpy) return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(dpy, &eventBase, &errorBase) || !XRRQueryVersion(dpy, &major, &minor)) return nullptr;
    if (major < 1 || (major == 1 && minor < 2)) return nullptr;
    return dpy;
}

struct ResourcesFree {
    void operator()(XRRScreenResources* r) const { XRRFreeScreenResources(r); }
};
struct OutputFree {
    void operator()(XRROutputInfo* o) const { XRRFreeOutputInfo(o); }
};
struct CrtcFree {
    void operator()(XRRCrtcInfo* c) const { XRRFreeCrtcInfo(c); }
};
using Resources = std::unique_ptr<XRRScreenResources, ResourcesFree>;
using OutputInfo = std::unique_ptr<XRROutputInfo, OutputFree>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, CrtcFree>;

// The primary output: the one the display names, else the first connected one that shows a picture.
struct Primary {
    Resources resources;
    RROutput output = None;
    OutputInfo info;
};

Primary FindPrimary(Display* dpy)
{
    const Window root = DefaultRootWindow(dpy);
    Primary p;
    p.resources.reset(XRRGetScreenResourcesCurrent(dpy, root));
    if (!p.resources) return p;
    const auto usable = [&](RROutput output) {
        OutputInfo info(XRRGetOutputInfo(dpy, p.resources.get(), output));
        if (!info || info->connection != RR_Connected || info->crtc == None) return false;
        p.output = output;
        p.info = std::move(info);
        return true;
    };
    const RROutput named = XRRGetOutputPrimary(dpy, root);
    if (named != None && usable(named)) return p;
    for (int i = 0; i < p.resources->noutput; ++i)
        if (usable(p.resources->outputs[i])) return p;
    return p;
}

const XRRModeInfo* ModeInfo(const XRRScreenResources& resources, RRMode id)
{
    for (int i = 0; i < resources.nmode; ++i)
        if (resources.modes[i].id == id) return &resources.modes[i];
    return nullptr;
}

std::uint32_t RefreshRate(const XRRModeInfo& mode)
{
    double lines = mode.vTotal;
    if (mode.modeFlags & RR_DoubleScan) lines *= 2;
    if (mode.modeFlags & RR_Interlace) lines /= 2;
    if (mode.hTotal == 0 || lines == 0) return 0;
    return static_cast<std::uint32_t>(std::lround(mode.dotClock / (mode.hTotal * lines)));
}

bool Sideways(Rotation rotation) { return rotation & (RR_Rotate_90 | RR_Rotate_270); }

// X reports a refused request as an error event; while a change runs, errors are counted instead
// of ending the program.
int changeErrors = 0;
int CountError(Display*, XErrorEvent*)
{
    ++changeErrors;
    return 0;
}

// The mode of the output to switch to: the one in use when it already has that size, else the
// record's own, else the first the output lists with that size (and rate, when asked).
RRMode ChooseMode(const Primary& p, const XRRCrtcInfo& crtc, const DisplayMode& wanted)
{
    const bool rateAsked = wanted.Fields & DisplayField::DisplayFrequency;
    const auto fits = [&](RRMode id) {
        const XRRModeInfo* info = ModeInfo(*p.resources, id);
        return info && info->width == wanted.PelsWidth && info->height == wanted.PelsHeight
            && (!rateAsked || RefreshRate(*info) == wanted.DisplayFrequency);
    };
    std::vector<RRMode> offered(p.info->modes, p.info->modes + p.info->nmode);
    if (fits(crtc.mode)) return crtc.mode;
    if (std::find(offered.begin(), offered.end(), wanted.Id) != offered.end() && fits(wanted.Id)) return wanted.Id;
    for (RRMode id : offered)
        if (fits(id)) return id;
    return None;
}

} // namespace

bool EnumDisplaySettings(int index, DisplayMode& mode)
{
    Display* dpy = XDisplay();
    if (!dpy || index < 0) return false;
    const Primary p = FindPrimary(dpy);
    if (!p.info || index >= p.info->nmode) return false;
    const XRRModeInfo* info = ModeInfo(*p.resources, p.info->modes[index]);
    if (!info) return false;
    mode.PelsWidth = info->width;
    mode.PelsHeight = info->height;
    mode.BitsPerPel = static_cast<std::uint16_t>(DefaultDepth(dpy, DefaultScreen(dpy)));
    mode.DisplayFrequency = RefreshRate(*info);
    mode.Fields = DisplayField::BitsPerPel | DisplayField::PelsWidth | DisplayField::PelsHeight
        | DisplayField::DisplayFrequency;
    mode.Id = info->id;
    return true;
}

int ChangeDisplaySettings(const DisplayMode& mode, int flags)
{
    if (flags & ~(ChangeFlags::UpdateRegistry | ChangeFlags::Test)) return ChangeResult::BadFlags;
    if (!(mode.Fields & DisplayField::PelsWidth) || !(mode.Fields & DisplayField::PelsHeight))
        return ChangeResult::BadParam;
    Display* dpy = XDisplay();
    if (!dpy) return ChangeResult::Failed;
    const int screen = DefaultScreen(dpy);
    if ((mode.Fields & DisplayField::BitsPerPel) && mode.BitsPerPel != DefaultDepth(dpy, screen))
        return ChangeResult::Restart;

    const Primary p = FindPrimary(dpy);
    if (!p.info) return ChangeResult::Failed;
    const CrtcInfo crtc(XRRGetCrtcInfo(dpy, p.resources.get(), p.info->crtc));
    if (!crtc) return ChangeResult::Failed;
    const RRMode chosen = ChooseMode(p, *crtc, mode);
    if (chosen == None) return ChangeResult::BadMode;

    // The screen must hold every output's picture once this one has its new size.
    const Window root = RootWindow(dpy, screen);
    unsigned width = Sideways(crtc->rotation) ? mode.PelsHeight : mode.PelsWidth;
    unsigned height = Sideways(crtc->rotation) ? mode.PelsWidth : mode.PelsHeight;
    width += crtc->x;
    height += crtc->y;
    for (int i = 0; i < p.resources->ncrtc; ++i) {
        if (p.resources->crtcs[i] == p.info->crtc) continue;
        const CrtcInfo other(XRRGetCrtcInfo(dpy, p.resources.get(), p.resources->crtcs[i]));
        if (!other || other->mode == None) continue;
        width = std::max(width, other->x + other->width);
        height = std::max(height, other->y + other->height);
    }
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    XRRGetScreenSizeRange(dpy, root, &minWidth, &minHeight, &maxWidth, &maxHeight);
    if (int(width) > maxWidth || int(height) > maxHeight) return ChangeResult::BadMode;
    width = std::max<unsigned>(width, minWidth);
    height = std::max<unsigned>(height, minHeight);
    if (flags & ChangeFlags::Test) return ChangeResult::Successful;

    Window rootReturn = 0;
    int x = 0, y = 0;
    unsigned oldWidth = 0, oldHeight = 0, border = 0, depth = 0;
    XGetGeometry(dpy, root, &rootReturn, &x, &y, &oldWidth, &oldHeight, &border, &depth);
    // The physical size keeps the screen's dots per inch.
    const auto millimetres = [&](unsigned w, unsigned h) {
        const double perPixelX = double(DisplayWidthMM(dpy, screen)) / std::max(DisplayWidth(dpy, screen), 1);
        const double perPixelY = double(DisplayHeightMM(dpy, screen)) / std::max(DisplayHeight(dpy, screen), 1);
        return std::pair<int, int>(std::max(1L, std::lround(w * perPixelX)), std::max(1L, std::lround(h * perPixelY)));
    };

    XSync(dpy, False);
    changeErrors = 0;
    const auto previousHandler = XSetErrorHandler(CountError);
    XGrabServer(dpy);
    // Grown first so the new picture fits, shrunk after so the old one still did.
    const unsigned grownWidth = std::max(width, oldWidth);
    const unsigned grownHeight = std::max(height, oldHeight);
    if (grownWidth != oldWidth || grownHeight != oldHeight) {
        const auto mm = millimetres(grownWidth, grownHeight);
        XRRSetScreenSize(dpy, root, grownWidth, grownHeight, mm.first, mm.second);
    }
    const Status status = XRRSetCrtcConfig(dpy, p.resources.get(), p.info->crtc, CurrentTime, crtc->x, crtc->y, chosen,
        crtc->rotation, crtc->outputs, crtc->noutput);
    if (status == RRSetConfigSuccess && (width != grownWidth || height != grownHeight)) {
        const auto mm = millimetres(width, height);
        XRRSetScreenSize(dpy, root, width, height, mm.first, mm.second);
    }
    XUngrabServer(dpy);
    XSync(dpy, False);
    XSetErrorHandler(previousHandler);
    return status == RRSetConfigSuccess && changeErrors == 0 ? ChangeResult::Successful : ChangeResult::Failed;
}

} // namespace display
