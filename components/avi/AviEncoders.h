#pragma once

#include "components/avi/AviFile.h"

#include <QString>
#include <vector>

namespace avifile {

struct VideoEncoder {
    QString name; // the handler name kept in the options
    QString description;
};

// The video encoders whose output the AVI container takes, by description.
std::vector<VideoEncoder> AviVideoEncoders();

// Whether the encoder can write a stream of this size with these options: AVIERR_OK,
// AVIERR_NOCOMPRESSOR when there is no such encoder, AVIERR_COMPRESSOR when it refuses.
HRESULT CheckEncoder(const AVICOMPRESSOPTIONS& options, const AviStreamObject& stream);

} // namespace avifile
