#pragma once

#include <QString>
#include <vector>

// Writes an audio disc image, <folder>/<name>.cue with <name>.bin beside it, whose tracks are tones
// of the given whole seconds (44.1 kHz, 16-bit stereo, whole 2352-byte sectors); the tone of the
// n-th audio track (from 0) is 300 + 100 n Hz. Returns the cue's path, or an empty text when sox
// failed.
QString MakeDiscImage(const QString& folder, const QString& name, const std::vector<int>& trackSeconds);

// The same with more choice: a data track of dataSeconds first when that is not 0, and the data
// file under binName (relative to the folder) when that is given.
struct DiscImageLayout {
    int dataSeconds = 0;
    QString binName;
};
QString MakeDiscImage(const QString& folder, const QString& name, const std::vector<int>& trackSeconds,
    const DiscImageLayout& layout);

// Cue sheets over a data file of three seconds (225 sectors) named binName that a disc reader must
// refuse: a track without its start (INDEX 01), tracks that start at or beyond the end of the data,
// and track numbers that do not run 1, 2, 3 ... (73 and 99 alone, without an index).
std::vector<QByteArray> UntrustworthySheets(const QString& binName);

// The dominant frequency in Hz of 16-bit little-endian stereo samples, by counting zero crossings
// of the left channel.
double ToneFrequency(const QByteArray& pcm, int sampleRate);
