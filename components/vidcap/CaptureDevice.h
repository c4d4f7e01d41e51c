#pragma once

#include "components/avi/Ffmpeg.h"

#include <QString>
#include <QStringList>
#include <vector>

// The capture drivers of this computer and how to open them: the Video4Linux2 devices, and with
// TESSEL_CAPTURE=lavfi in the environment FFmpeg's test pattern as one more.
namespace vidcap {

struct CaptureDriver {
    QString name;
    QString format; // FFmpeg's input format: "video4linux2" or "lavfi"
    QString device; // the device's path, or the pattern's name
    bool IsPattern() const { return format == QLatin1String("lavfi"); }
};

// What the format and source dialogs choose.
struct CaptureFormat {
    int width = 320;
    int height = 240;
    int rate = 15;
    int channel = 0; // the device's input
    QString pattern = QStringLiteral("smptebars");
};

struct AudioFormat {
    int sampleRate = 22050;
    int channels = 1;
};

std::vector<CaptureDriver> ListDrivers();
// The test patterns the pattern driver offers.
QStringList Patterns();

// Opens the driver's device with the format; null with the reason when it cannot.
ff::Input OpenVideo(const CaptureDriver& driver, const CaptureFormat& format, QString* error);
// Opens the sound input (PulseAudio's default source); null with the reason when it cannot.
ff::Input OpenAudio(const AudioFormat& format, QString* error);

} // namespace vidcap
