#include "tests/engine/MediaClips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace clips {

namespace {

QString Folder()
{
    const QString folder = QStringLiteral(TESSEL_BINARY_DIR "/test-media");
    QDir().mkpath(folder);
    return folder;
}

// Makes the file once: written under a private name and renamed, so that test processes running
// at the same time never see half a file.
QString Make(const QString& name, const QStringList& ffmpegArguments)
{
    const QString path = Folder() + u'/' + name;
    if (QFile::exists(path)) return path;
    const QString partial = path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QStringList arguments {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")};
    arguments << ffmpegArguments << QStringLiteral("-f") << QFileInfo(name).suffix() << partial;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    ffmpeg.waitForFinished(60000);
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
    QFile::rename(partial, path);
    QFile::remove(partial);
    return path;
}

} // namespace

QString Video()
{
    return Make(QStringLiteral("clip.mp4"),
        {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi", "-i",
            "sine=frequency=440:sample_rate=44100", "-t", "4", "-ac", "2", "-c:v", "libx264", "-preset", "ultrafast",
            "-pix_fmt", "yuv420p", "-c:a", "aac"});
}

QString LongVideo()
{
    return Make(QStringLiteral("clip-30s.mp4"),
        {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi", "-i",
            "sine=frequency=440:sample_rate=44100", "-t", "30", "-ac", "2", "-c:v", "libx264", "-preset", "ultrafast",
            "-pix_fmt", "yuv420p", "-c:a", "aac"});
}

QString LongGopVideo()
{
    return Make(QStringLiteral("long-gop-720p.mp4"),
        {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25", "-t", "60", "-c:v", "libx264", "-preset", "ultrafast",
            "-g", "250", "-pix_fmt", "yuv420p"});
}

QString Mpeg4Video()
{
    return Make(QStringLiteral("mpeg4.mp4"),
        {"-f", "lavfi", "-i", "testsrc=size=176x144:rate=25", "-t", "1", "-c:v", "mpeg4", "-q:v", "5"});
}

QString Wav()
{
    return Make(QStringLiteral("tone.wav"),
        {"-f", "lavfi", "-i", "sine=frequency=330:sample_rate=44100", "-t", "3", "-ac", "2"});
}

QString Mp3()
{
    return Make(QStringLiteral("tone.mp3"),
        {"-f", "lavfi", "-i", "sine=frequency=550:sample_rate=44100", "-t", "3", "-ac", "2", "-c:a", "libmp3lame"});
}

QString Damaged()
{
    const QString path = Folder() + QStringLiteral("/damaged.avi");
    if (!QFile::exists(path)) {
        QFile file(path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid()));
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(4096, 'x').prepend("RIFF not a real movie"));
        file.close();
        QFile::rename(file.fileName(), path);
    }
    return path;
}

} // namespace clips
