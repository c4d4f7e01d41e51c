#include "player/VideoFit.h"

#include <cmath>

namespace VideoFit {

namespace {
constexpr double TwipsPerVideoPixel = 15;
}

std::vector<QRectF> Moves(const Options& options, int videoWidth, int videoHeight, QSizeF current, QSizeF area)
{
    const double w = videoWidth;
    const double h = videoHeight;
    const double cw = std::nearbyint(current.width());
    const double ch = std::nearbyint(current.height());
    const double fw = area.width();
    const double fh = area.height();
    const double centredLeft = fw / 2 - cw / 2;
    const double centredTop = fh / 2 - ch / 2;

    std::vector<QRectF> moves;
    if (options.stretch) moves.emplace_back(0, 0, fw, fh);
    if (options.zoom100) moves.emplace_back(centredLeft, centredTop, w * TwipsPerVideoPixel, h * TwipsPerVideoPixel);
    if (options.zoom200)
        moves.emplace_back(centredLeft, centredTop, 2 * w * TwipsPerVideoPixel, 2 * h * TwipsPerVideoPixel);
    if (options.zoom50)
        moves.emplace_back(centredLeft, centredTop, w * TwipsPerVideoPixel / 2, h * TwipsPerVideoPixel / 2);
    if (options.keepAspectRatio) {
        // The ratio is kept in single precision; without a video height it stays 0.
        float r = 0;
        if (videoHeight != 0) r = static_cast<float>(w) / static_cast<float>(h);
        // A square video fills the width, as a wide one does.
        if (r >= 1)
            moves.emplace_back(0, (fh - ch) / 2, fw, cw / r);
        else
            moves.emplace_back((fw - cw) / 2, 0, ch * r, fh);
    }
    return moves;
}

} // namespace VideoFit
