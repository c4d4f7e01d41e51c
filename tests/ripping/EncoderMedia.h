#pragma once

#include <QJsonObject>
#include <QString>

// WAV input made with the ffmpeg tool, and what ffprobe and ffmpeg say about encoded output.
namespace media {

// A sine tone as a WAV file: `seconds` long, `hz` high, at the given rate, channel count and
// sample codec (pcm_s16le, pcm_u8, ...). Written to `path`.
void MakeWav(const QString& path, double seconds, int hz = 1000, int rate = 44100, int channels = 2,
    const QString& codec = QStringLiteral("pcm_s16le"));

// The first audio stream of a file as ffprobe reports it (codec_name, sample_rate, channels,
// bit_rate, ...), with the container's "duration" and "format_bit_rate" added.
QJsonObject Probe(const QString& path);

// The frequency of the decoded sound's first channel, from its zero crossings.
double ToneFrequency(const QString& path);

} // namespace media
