#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace mci {

// What a disc image's cue sheet says, once it is known to have the plain shape libcdio's cue
// reader handles safely.
struct CueSheet {
    QString dataFile; // as the sheet names it, relative to the sheet's folder
    std::vector<int> trackStarts; // each track's INDEX 01, in sectors from the start of the data file

    // Whether every track starts inside a data file of this many bytes (2352 to the sector).
    bool FitsData(qint64 dataBytes) const;
};

// Reads a cue sheet. Anything but this shape is refused, since libcdio's reader trusts what it is
// given: one FILE line before the first track; tracks numbered 1, 2, 3 ... up to 99, each of a mode
// libcdio knows and each with one INDEX 01, starting in rising order; times mm:ss:ff that parse;
// besides these only the remarks, catalogue number, flags, pregaps, other indexes and CD-Text
// lines libcdio reads, each with its value. Lines are split and words separated exactly as libcdio
// does it, so that both see the same sheet.
std::optional<CueSheet> ReadCueSheet(QByteArrayView text);

} // namespace mci
