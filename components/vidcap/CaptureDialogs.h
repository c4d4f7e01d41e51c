#pragma once

#include "components/vidcap/CaptureDevice.h"

class QWidget;

// The capture component's own dialogs over what the device and FFmpeg offer. Each changes its
// argument and returns true when the user chose OK.
namespace vidcap {

// The device's input (a camera's channel, or the pattern of the test pattern).
bool SourceDialog(QWidget* owner, const CaptureDriver& driver, CaptureFormat& format);
// The picture size and frame rate.
bool FormatDialog(QWidget* owner, CaptureFormat& format);
// The sound's sample rate and channels.
bool AudioFormatDialog(QWidget* owner, AudioFormat& format);

} // namespace vidcap
