#include "cdaudio/Gyrelle.h"

#include "cdaudio/PlayerMod.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/Timer.h"

#include <cstring>
#include <limits>

namespace {

const QString AppTitle = QStringLiteral("Gyrelle");

// The text of a reply area up to its first NUL.
QString ReplyText(const char* area, std::size_t size) { return QString::fromUtf8(area, qstrnlen(area, size)); }

std::int16_t IntegerOf(const QString& text) { return dispatch::Variant(text).ToInteger(); }

} // namespace

Gyrelle::Gyrelle()
    : Timer1(new forms::Timer(this, 1000, false))
{
    connect(Timer1, &forms::Timer::Tick, this, [this] { Update(); });
}

Gyrelle::~Gyrelle() = default;

bool Gyrelle::TimerEnabled() const { return Timer1->Enabled(); }

bool Gyrelle::SendMCIString(const QString& command, bool fShowError)
{
    lastError_ = PlayerMod::mciSendStringA(command, nullptr, 0);
    if (fShowError && lastError_ != 0) {
        lastErrorText_ = PlayerMod::mciGetErrorStringA(lastError_);
        forms::MsgBox(lastErrorText_, forms::MsgBoxStyle::OKOnly, AppTitle);
    }
    return lastError_ == 0;
}

void Gyrelle::Initiate()
{
    forms::IgnoreErrors run;
    run([&] { fastForwardSpeed = 5; });
    run([&] { fCDLoaded = false; });
    run([&] { CDPaused = false; });
    run([&] { SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true); });
    run([&] { SendMCIString(QStringLiteral("set cd time format tmsf wait"), true); });
    run([&] { Timer1->setEnabled(true); });
}

void Gyrelle::Terminate()
{
    if (fPlaying && fCDLoaded) StopCD();
    SendMCIString(QStringLiteral("close all"), false);
}

void Gyrelle::PlayCD(std::int16_t CDTrack)
{
    if (!fCDLoaded) return;
    if (CDPaused) {
        cmd = QStringLiteral("play cd");
        CDPaused = false;
    } else {
        cmd = QStringLiteral("play cd from ") + QString::number(CDTrack);
    }
    SendMCIString(cmd, true);
    fPlaying = true;
}

void Gyrelle::StopCD()
{
    if (!fPlaying) return;
    SendMCIString(QStringLiteral("stop cd wait"), true);
    cmd = QStringLiteral("seek cd to ") + QString::number(track);
    SendMCIString(cmd, true);
    CDPaused = false;
    fPlaying = false;
    Update();
}

void Gyrelle::PauseCD()
{
    SendMCIString(QStringLiteral("pause cd"), true);
    CDPaused = true;
    fPlaying = false;
    Update();
}

void Gyrelle::EjectCD()
{
    SendMCIString(QStringLiteral("set cd door open"), true);
    Update();
}

void Gyrelle::InjectCD()
{
    SendMCIString(QStringLiteral("set cd door closed"), true);
    Update();
}

void Gyrelle::FFCD() { Jump(+1); }

void Gyrelle::RWCD() { Jump(-1); }

void Gyrelle::Jump(int direction)
{
    SendMCIString(QStringLiteral("set cd time format milliseconds"), true);
    std::int64_t target = 0;
    try {
        char reply[40] = {};
        PlayerMod::mciSendStringA(QStringLiteral("status cd position wait"), reply, sizeof reply);
        const std::int32_t position = dispatch::Variant(ReplyText(reply, sizeof reply)).ToLong();
        target = static_cast<std::int64_t>(position) + direction * static_cast<std::int64_t>(fastForwardSpeed) * 1000;
        if (target < std::numeric_limits<std::int32_t>::min() || target > std::numeric_limits<std::int32_t>::max())
            forms::Raise(forms::Err::Overflow, AppTitle);
    } catch (const forms::RuntimeError&) {
        // Every later reply is read in tmsf: do not leave the device counting in milliseconds.
        PlayerMod::mciSendStringA(QStringLiteral("set cd time format tmsf"), nullptr, 0);
        throw;
    }
    cmd = (fPlaying ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) + QString::number(target);
    CDPaused = false;
    PlayerMod::mciSendStringA(cmd, nullptr, 0);
    SendMCIString(QStringLiteral("set cd time format tmsf"), true);
    Update();
}

void Gyrelle::FTrack()
{
    if (track < numTracks) {
        cmd = (fPlaying ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) + QString::number(track + 1);
        SendMCIString(cmd, true);
    } else {
        SendMCIString(QStringLiteral("seek cd to 1"), true);
    }
    CDPaused = false;
    Update();
}

void Gyrelle::PTrack()
{
    int t = track;
    if (min == 0 && sec == 0) t = track < 2 ? numTracks : track - 1;
    cmd = (fPlaying ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) + QString::number(t);
    SendMCIString(cmd, true);
    CDPaused = false;
    Update();
}

QString Gyrelle::QueryStatus(const QString& command)
{
    PlayerMod::mciSendStringA(command, status_.data(), static_cast<int>(status_.size()));
    return ReplyText(status_.data(), status_.size());
}

void Gyrelle::Update()
{
    forms::IgnoreErrors run;
    // Without an answer to this first question (the device is not open) nothing changes.
    bool present = false;
    const int error
        = PlayerMod::mciSendStringA(QStringLiteral("status cd media present"), status_.data(), int(status_.size()));
    if (error != 0 || !run([&] { present = dispatch::Variant(ReplyText(status_.data(), status_.size())).ToBool(); }))
        return;
    if (!present) {
        if (fCDLoaded) {
            fCDLoaded = false;
            fPlaying = false;
            min = 0;
            sec = 0;
        }
        return;
    }
    if (!fCDLoaded) {
        run([&] { numTracks = IntegerOf(QueryStatus(QStringLiteral("status cd number of tracks wait")).left(2)); });
        run([&] { TotalTime = QueryStatus(QStringLiteral("status cd length wait")); });
        run([&] {
            trackLengths_.clear();
            for (int i = 1; i <= numTracks; ++i) {
                cmd = QStringLiteral("status cd length track ") + QString::number(i);
                trackLengths_.append(QueryStatus(cmd));
            }
        });
        run([&] { fCDLoaded = true; });
        run([&] { SendMCIString(QStringLiteral("seek cd to 1"), true); });
    }
    QString position;
    run([&] { position = QueryStatus(QStringLiteral("status cd position")); });
    run([&] { track = IntegerOf(position.mid(0, 2)); });
    run([&] { min = IntegerOf(position.mid(3, 2)); });
    run([&] { sec = IntegerOf(position.mid(6, 2)); });
    run([&] { fPlaying = QueryStatus(QStringLiteral("status cd mode")).left(7) == QLatin1String("playing"); });
    run([&] {
        if (track < 1 || track > trackLengths_.size()) forms::Raise(forms::Err::SubscriptOutOfRange, AppTitle);
        TrackTime = trackLengths_.at(track - 1);
    });
}
