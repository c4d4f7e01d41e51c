#include "tests/ripping/EncoderMedia.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace media {

namespace {

QByteArray Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    const QByteArray out = process.readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return out;
}

} // namespace

void MakeWav(const QString& path, double seconds, int hz, int rate, int channels, const QString& codec)
{
    Run(QStringLiteral("ffmpeg"),
        {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=%1:sample_rate=%2:duration=%3").arg(hz).arg(rate).arg(seconds),
            QStringLiteral("-ac"), QString::number(channels), QStringLiteral("-c:a"), codec, path});
}

QJsonObject Probe(const QString& path)
{
    const QByteArray json = Run(QStringLiteral("ffprobe"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-print_format"), QStringLiteral("json"),
            QStringLiteral("-show_streams"), QStringLiteral("-show_format"), path});
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    QJsonObject stream;
    for (const auto& s : root.value(QStringLiteral("streams")).toArray())
        if (s.toObject().value(QStringLiteral("codec_type")).toString() == QStringLiteral("audio")) {
            stream = s.toObject();
            break;
        }
    const QJsonObject format = root.value(QStringLiteral("format")).toObject();
    stream.insert(QStringLiteral("duration"), format.value(QStringLiteral("duration")).toString().toDouble());
    stream.insert(QStringLiteral("format_bit_rate"), format.value(QStringLiteral("bit_rate")).toString().toDouble());
    stream.insert(QStringLiteral("bit_rate"), stream.value(QStringLiteral("bit_rate")).toString().toDouble());
    stream.insert(QStringLiteral("sample_rate"), stream.value(QStringLiteral("sample_rate")).toString().toInt());
    return stream;
}

double ToneFrequency(const QString& path)
{
    constexpr int Rate = 44100;
    const QByteArray raw = Run(QStringLiteral("ffmpeg"),
        {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
            QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-ar"), QString::number(Rate),
            QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-")});
    std::vector<std::int16_t> samples(std::size_t(raw.size()) / 2);
    std::memcpy(samples.data(), raw.constData(), samples.size() * 2);
    // The middle of the sound, away from the encoders' start-up and padding.
    const std::size_t from = samples.size() / 4;
    const std::size_t to = samples.size() * 3 / 4;
    if (to <= from + 1) return 0;
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    return crossings / 2.0 / (double(to - from) / Rate);
}

} // namespace media
