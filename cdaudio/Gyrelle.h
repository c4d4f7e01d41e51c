#pragma once

#include "platform/dispatch/Dispatch.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace forms {
class Timer;
}

// The audio CD control: plays the drive's disc through the "cd" alias of the cdaudio device, keeps
// the table of contents and the position in its public state, and polls the device once a second
// on a hidden timer. Its host reads and calls it only by dispatch id (GyrelleIds.h).
class Gyrelle : public QObject, public dispatch::IDispatch {
public:
    Gyrelle();
    ~Gyrelle() override;

    // Public state, read and written by the host.
    bool CDPaused = false;
    std::int32_t fastForwardSpeed = 0;
    bool fPlaying = false;
    bool fCDLoaded = false;
    std::int16_t numTracks = 0;
    std::int16_t track = 0;
    std::int16_t min = 0;
    std::int16_t sec = 0;
    QString cmd;
    QString TrackTime;
    QString TotalTime;

    void Initiate();
    void Terminate();
    bool SendMCIString(const QString& command, bool fShowError);
    void PlayCD(std::int16_t CDTrack = 0);
    void StopCD();
    void PauseCD();
    void EjectCD();
    void InjectCD();
    void FFCD();
    void RWCD();
    void FTrack();
    void PTrack();
    void Update();

    bool TimerEnabled() const;

    dispatch::Variant Invoke(
        dispatch::DispId id, dispatch::Invocation how, std::vector<dispatch::Variant>& args) override;

private:
    void Jump(int direction);
    QString QueryStatus(const QString& command);

    QStringList trackLengths_; // index 0 is track 1
    int lastError_ = 0;
    QString lastErrorText_;
    std::array<char, 30> status_ {};
    forms::Timer* Timer1;
};
