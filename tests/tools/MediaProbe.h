#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Test media made with the ffmpeg tool, and what ffprobe says of a file.
namespace media {

// Runs ffmpeg with the arguments (after "-v error -y"); true when it succeeded.
bool Ffmpeg(const QStringList& arguments);

// The entries of the first video stream (codec_name, nb_frames, width, height, duration...),
// and format_name; empty when ffprobe cannot read the file.
QMap<QString, QString> ProbeVideo(const QString& path);

} // namespace media
