#pragma once

#include "components/avi/AviFile.h"

#include <QString>
#include <atomic>

// What the AVI file services' handles stand for.
namespace avifile {

struct AviFileObject {
    std::atomic<int> refs {1};
    QString path;
};

// A stream of an open file, or a compressed stream made over one.
struct AviStreamObject {
    std::atomic<int> refs {1};
    PAVIFILE file = nullptr;
    int index = -1; // the stream's number among all streams of the file
    std::uint32_t type = 0;
    int width = 0;
    int height = 0;
    int rateNum = 25; // frames per second, as a fraction
    int rateDen = 1;
    std::int64_t frames = 0; // 0 when the file does not say
    // Set for a compressed stream: the stream it reads and the options it was made with.
    PAVISTREAM source = nullptr;
    AVICOMPRESSOPTIONS options;
};

// One more reference to a file or a stream.
void AddRef(PAVIFILE file);
void AddRef(PAVISTREAM stream);

} // namespace avifile
