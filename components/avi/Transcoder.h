#pragma once

#include "components/avi/AviObjects.h"
#include "components/avi/Ffmpeg.h"

#include <functional>

namespace avifile {

// An encoder set up for a stream with the options; null when the options name no encoder.
// Opening it is left to the caller.
ff::Codec MakeEncoder(const AVICOMPRESSOPTIONS& options, const AviStreamObject& stream, const AVCodec** codec);

// Re-compresses the video stream of the source file into a new AVI file at the path, calling
// progress with the percent written whenever it changes (and with 0 first); a false answer stops
// the work with AVIERR_USERABORT. Runs on any thread; the file it writes is left for the caller
// to remove when the result is not AVIERR_OK.
HRESULT Transcode(const AviStreamObject& source, const AVICOMPRESSOPTIONS& options, const QString& target,
    const std::function<bool(int percent)>& progress);

} // namespace avifile
