// Transport buttons and the playback timers.
#include "player/frmPlayer.h"

#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/forms/RuntimeError.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
const QString AppTitle = QStringLiteral("Morvane Media Player");
} // namespace

void frmPlayer::WireTransport()
{
    connect(cmdPlay, &forms::CommandButton::Click, this, &frmPlayer::cmdPlay_Click);
    connect(cmdPause, &forms::CommandButton::Click, this, &frmPlayer::cmdPause_Click);
    connect(cmdStop, &forms::CommandButton::Click, this, &frmPlayer::cmdStop_Click);
    connect(cmdNext, &forms::CommandButton::Click, this, &frmPlayer::cmdNext_Click);
    connect(cmdPrev, &forms::CommandButton::Click, this, &frmPlayer::cmdPrev_Click);
    connect(cmdForw->events(), &forms::Events::MouseDown, this, &frmPlayer::cmdForw_MouseDown);
    connect(cmdForw->events(), &forms::Events::MouseUp, this, &frmPlayer::cmdForw_MouseUp);
    connect(cmdRew->events(), &forms::Events::MouseDown, this, &frmPlayer::cmdRew_MouseDown);
    connect(cmdRew->events(), &forms::Events::MouseUp, this, &frmPlayer::cmdRew_MouseUp);

    connect(tmrCaption, &forms::Timer::Tick, this, &frmPlayer::tmrCaption_Timer);
    connect(tmrCurrent, &forms::Timer::Tick, this, &frmPlayer::tmrCurrent_Timer);
    connect(tmrPlaylist, &forms::Timer::Tick, this, &frmPlayer::tmrPlaylist_Timer);
    connect(tmrFF, &forms::Timer::Tick, this, &frmPlayer::tmrFF_Timer);
    connect(tmrRW, &forms::Timer::Tick, this, &frmPlayer::tmrRW_Timer);
    connect(tmrFF2, &forms::Timer::Tick, this, &frmPlayer::tmrFF2_Timer);
    connect(tmrRW2, &forms::Timer::Tick, this, &frmPlayer::tmrRW2_Timer);
}

QString frmPlayer::PositionText()
{
    return Media1->getFormatPosition() + QStringLiteral(" / ") + Media1->getFormatLength();
}

int frmPlayer::SeekSeconds(double seconds)
{
    if (std::isnan(seconds)) return 0;
    return static_cast<int>(std::clamp(std::nearbyint(seconds), double(INT_MIN / 1000), double(INT_MAX / 1000)));
}

// ---- Buttons ----

void frmPlayer::cmdPlay_Click()
{
    forms::IgnoreErrors run;
    tmrPlaylist->setEnabled(true);
    run([&] {
        if (!Media1->GetFileName().isEmpty())
            Media1->playMovie();
        else
            OpenCommand();
    });
}

// The same button pauses and resumes.
void frmPlayer::cmdPause_Click()
{
    forms::IgnoreErrors run;
    run([&] {
        if (Media1->isMoviePlaying())
            Media1->PauseMovie();
        else
            Media1->playMovie();
    });
}

void frmPlayer::cmdStop_Click()
{
    forms::IgnoreErrors run;
    run([&] { Media1->setPositionTo(0); });
    run([&] { scrPosition->setValue(0); });
    run([&] { Media1->StopMovie(); });
}

// Past the last row nothing happens.
void frmPlayer::cmdNext_Click()
{
    forms::IgnoreErrors run;
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListIndex() + 1); });
}

// From the first row the playlist is left without a selection.
void frmPlayer::cmdPrev_Click()
{
    forms::IgnoreErrors run;
    tmrMax->setEnabled(false);
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListIndex() - 1); });
    tmrMax->setEnabled(true);
}

void frmPlayer::cmdForw_MouseDown()
{
    tmrFF->setEnabled(true);
    tmrMax->setEnabled(false);
}

void frmPlayer::cmdForw_MouseUp()
{
    tmrFF->setEnabled(false);
    tmrCurrent->setEnabled(true);
    tmrMax->setEnabled(true);
}

void frmPlayer::cmdRew_MouseDown()
{
    tmrRW->setEnabled(true);
    tmrMax->setEnabled(false);
}

void frmPlayer::cmdRew_MouseUp()
{
    tmrRW->setEnabled(false);
    tmrCurrent->setEnabled(true);
    tmrMax->setEnabled(true);
}

// ---- Timers ----

void frmPlayer::tmrCaption_Timer()
{
    forms::IgnoreErrors run;
    run([&] {
        QString name = Media1->GetFileName();
        if (name.isEmpty())
            setCaption(AppTitle);
        else
            setCaption(GetFileName(name) + QStringLiteral(" - ") + AppTitle);
    });
}

void frmPlayer::tmrCurrent_Timer()
{
    forms::IgnoreErrors run;
    run([&] { scrPosition->setMaxValue(Media1->getLengthInSec()); });
    run([&] { scrPosition->setValue(Media1->getPositionInSec()); });
    run([&] { scrPosition->setCaption(PositionText()); });
}

// At the end of a track, with Repeat on, the next row plays: after the last row the first, and
// a single row plays again from the start.
void frmPlayer::tmrPlaylist_Timer()
{
    forms::IgnoreErrors run;
    if (!mnuRepeat->Checked()) return;
    // A closed or never opened device answers neither query, and both would then read the same
    // old reply: only an open file whose position has reached its length is at its end.
    bool atEnd = false;
    run([&] {
        atEnd = Media1->checkDeviceReady() == QLatin1String("true")
            && Media1->getPositionInMS() == Media1->getLengthInMS();
    });
    if (!atEnd) return;

    if (lstPlaylist->ListIndex() == lstPlaylist->ListCount() - 1) {
        run([&] { lstPlaylist->setListIndex(0); });
    } else {
        run([&] { lstPlaylist->setListIndex(lstPlaylist->ListIndex() + 1); });
        run([&] { OpenFile(); });
    }
    if (lstPlaylist->ListCount() == 1) {
        run([&] { Media1->setPositionTo(0); });
        run([&] { Media1->playMovie(); });
    }
}

void frmPlayer::tmrFF_Timer()
{
    forms::IgnoreErrors run;
    tmrCurrent->setEnabled(false);
    run([&] { Media1->setPositionTo(Media1->getPositionInSec() + 1); });
    run([&] { Media1->playMovie(); });
    run([&] { scrPosition->setCaption(PositionText()); });
    run([&] { scrPosition->setValue(Media1->getPositionInSec()); });
}

void frmPlayer::tmrRW_Timer()
{
    forms::IgnoreErrors run;
    tmrCurrent->setEnabled(false);
    run([&] { Media1->rewindBySeconds(1); });
    run([&] { Media1->playMovie(); });
    run([&] { scrPosition->setCaption(PositionText()); });
    run([&] { scrPosition->setValue(Media1->getPositionInSec()); });
}

// The step grows with the position bar's value: a 75th of it, in seconds.
void frmPlayer::tmrFF2_Timer()
{
    forms::IgnoreErrors run;
    run([&] { Media1->setPositionTo(SeekSeconds(Media1->getPositionInSec() + scrPosition->Value() / 75)); });
    run([&] { Media1->playMovie(); });
    run([&] { scrPosition->setCaption(PositionText()); });
}

void frmPlayer::tmrRW2_Timer()
{
    forms::IgnoreErrors run;
    run([&] { Media1->setPositionTo(SeekSeconds(Media1->getPositionInSec() - scrPosition->Value() / 75)); });
    run([&] { Media1->playMovie(); });
    run([&] { scrPosition->setCaption(PositionText()); });
}
