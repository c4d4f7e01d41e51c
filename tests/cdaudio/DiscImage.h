#pragma once

#include <QString>
#include <vector>

// Writes an audio disc image, <folder>/<name>.cue with <name>.bin beside it, whose tracks are tones
// of the given whole seconds (44.1 kHz, 16-bit stereo, whole 2352-byte sectors). Returns the cue's
// path, or an empty text when sox failed.
QString MakeDiscImage(const QString& folder, const QString& name, const std::vector<int>& trackSeconds);
