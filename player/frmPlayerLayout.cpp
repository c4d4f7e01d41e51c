// The layout pass of the player window and the fit of the video.
#include "player/frmPlayer.h"

#include "engine/Media.h"
#include "engine/Slider.h"
#include "player/VideoFit.h"

#include "platform/forms/RuntimeError.h"

#include <QEvent>

namespace {
// The grip sits this far past the bottom-right corner: only its top-left part shows.
constexpr double GripOverhang = 100;
} // namespace

void frmPlayer::WireLayout() { }

double frmPlayer::NarrowestClientWidth() const { return framControls->Width() + 2 * (Frame1->Width() - GripOverhang); }

bool frmPlayer::eventFilter(QObject* watched, QEvent* event)
{
    const bool handled = Form::eventFilter(watched, event);
    // The fit of the video starts from the video's present size and settles over three passes;
    // the program's own sizing runs the pass three times. When the desktop sizes the window
    // afterwards (entering or leaving full screen, maximising), the fit settles the same way.
    if (watched == Client() && event->type() == QEvent::Resize && IsLoaded() && !Form::ProgramEnded()) {
        forms::IgnoreErrors run;
        for (int pass = 0; pass < 2; ++pass)
            run([&] { Aspect(); });
    }
    return handled;
}

// Places every bar and frame from the window's inner size. A step that fails (a negative size
// when the window is very small) leaves its control where it was.
void frmPlayer::Form_Resize()
{
    forms::IgnoreErrors run;
    const double W = ScaleWidth();
    const double H = ScaleHeight();

    run([&] { tmrMax->setEnabled(false); });
    run([&] { scrVolume->Move(0, 0, scrVolume->Width(), H - (lstPlaylist->Height() + framControls2->Height())); });
    run([&] { scrSpeed->Move(scrVolume->Width(), 0, W - scrVolume->Width(), scrSpeed->Height()); });
    // The position bar runs on past the window's right edge.
    run([&] {
        scrPosition->Move(
            scrVolume->Width(), scrVolume->Height() - scrPosition->Height(), W + 100, scrPosition->Height());
    });
    if (!FullScreen) {
        run([&] {
            framPlayer->Move(scrVolume->Width(), scrSpeed->Height(), W - scrVolume->Width(),
                scrVolume->Height() - (scrPosition->Height() + scrSpeed->Height()));
        });
    }
    if (FullScreen) run([&] { framPlayer->Move(0, 0, W, H); });
    run([&] { framControls2->Move(0, H - framControls2->Height(), W, framControls2->Height()); });
    run([&] { framControls->Move(W / 2 - framControls->Width() / 2); });
    run([&] { lstPlaylist->Move(0, scrPosition->Top() + scrPosition->Height(), W, lstPlaylist->Height()); });
    run([&] { Frame1->Move(W - Frame1->Width() + GripOverhang, H - Frame1->Height() + GripOverhang); });
    // The grip lies over the button strip: in a window too narrow for both the buttons keep
    // their place and the grip gives way (the window's frame still sizes it).
    run([&] { Frame1->setVisible(W >= NarrowestClientWidth()); });
    run([&] { Aspect(); });
    run([&] { tmrMax->setEnabled(true); });
}

// Fits the video inside the video area as the ticked fit options say.
void frmPlayer::Aspect()
{
    forms::IgnoreErrors run;
    int w = 0;
    int h = 0;
    run([&] { Media1->extractDefaultMovieSize(w, h); });

    VideoFit::Options options;
    options.stretch = mnuOptionsStretch->Checked();
    options.zoom100 = mnuOptionsDefaultSize->Checked();
    options.zoom200 = mnuViewZoom200->Checked();
    options.zoom50 = mnuViewZoom50->Checked();
    options.keepAspectRatio = mnuOptionsAspectRatio->Checked();
    const QSizeF current(Media1->Width(), Media1->Height());
    const QSizeF area(framPlayer->Width(), framPlayer->Height());
    for (const QRectF& move : VideoFit::Moves(options, w, h, current, area))
        run([&] { Media1->Move(move.left(), move.top(), move.width(), move.height()); });
}
