#pragma once

#include <QRectF>
#include <QSizeF>
#include <vector>

// Where the video goes inside the video area for the fit options that are ticked. All sizes are
// twips; the video's own size arrives in pixels and counts 15 twips to the pixel.
namespace VideoFit {

struct Options {
    bool stretch = false;
    bool zoom100 = false;
    bool zoom200 = false;
    bool zoom50 = false;
    bool keepAspectRatio = false;
};

// The moves of the video, one for each ticked option in the order stretch, 100%, 200%, 50%,
// keep aspect ratio; the last one that the video accepts wins. Offsets and derived sizes come
// from the video's size before the moves, so a fit settles over two or three calls.
std::vector<QRectF> Moves(const Options& options, int videoWidth, int videoHeight, QSizeF current, QSizeF area);

} // namespace VideoFit
