#include "tests/tools/MediaProbe.h"

#include <QProcess>

namespace media {

bool Ffmpeg(const QStringList& arguments)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList {"-v", "error", "-y"} + arguments);
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

QMap<QString, QString> ProbeVideo(const QString& path)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
        {"-v", "error", "-select_streams", "v:0", "-show_entries",
            "stream=codec_name,nb_frames,width,height,duration,r_frame_rate:format=format_name,duration", "-of",
            "default=noprint_wrappers=1", path});
    QMap<QString, QString> entries;
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0) return entries;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QString key = line.section('=', 0, 0);
        if (!entries.contains(key)) entries.insert(key, line.section('=', 1));
    }
    return entries;
}

} // namespace media
