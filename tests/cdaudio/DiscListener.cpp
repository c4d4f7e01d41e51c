#include "tests/cdaudio/DiscListener.h"

#include "tests/tools/SoundTest.h"

#include <QTest>
#include <cstring>

namespace {

quint32 Frame(const QByteArray& bytes, qsizetype i)
{
    quint32 v = 0;
    std::memcpy(&v, bytes.constData() + i * 4, 4);
    return v;
}

} // namespace

bool Listen(QProcess& parec, const TestSink& sink, int latencyMs)
{
    parec.start(QStringLiteral("parec"), {QStringLiteral("-d"), sink.Name() + QStringLiteral(".monitor"),
        QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
        QStringLiteral("--raw"), QStringLiteral("--latency-msec=%1").arg(latencyMs)});
    return parec.waitForStarted();
}

QByteArray RecordWhatIsHeard(const TestSink& sink, int milliseconds)
{
    QProcess parec;
    if (!Listen(parec, sink)) return {};
    QTest::qWait(milliseconds);
    parec.terminate();
    parec.waitForFinished();
    return parec.readAllStandardOutput();
}

QByteArray DistinctFrames(qsizetype frames)
{
    QByteArray out(frames * 4, Qt::Uninitialized);
    for (qsizetype i = 0; i < frames; ++i) {
        // An odd multiplier is a bijection on 28 bits: no two frames are alike.
        const quint32 mixed = (quint32(i) * 0x9E3779Bu + 0x5A5A5u) & 0x0FFFFFFFu;
        const qint16 left = qint16(int(mixed & 0x3FFF) - 0x2000);
        const qint16 right = qint16(int(mixed >> 14) - 0x2000);
        std::memcpy(out.data() + i * 4, &left, 2);
        std::memcpy(out.data() + i * 4 + 2, &right, 2);
    }
    return out;
}

DiscListener::DiscListener(QByteArray disc)
    : disc_(std::move(disc))
{
    for (qsizetype i = 0; i < Frames(); ++i)
        where_.emplace(Frame(disc_, i), i);
}

void DiscListener::Hear(const QByteArray& bytes)
{
    heard_ += bytes;
    for (; (done_ + 1) * 4 <= heard_.size(); ++done_) {
        const quint32 frame = Frame(heard_, done_);
        if (next_ >= 0 && next_ < Frames() && frame == Frame(disc_, next_)) {
            Heard(next_);
        } else if (frame == 0) {
            // Silence, between plays or while the server waited for data.
            if (runs_.empty() || runs_.back().disc != Run::Silence) runs_.push_back({done_, 0, Run::Silence});
            next_ = -1;
        } else if (const auto at = where_.find(frame); at != where_.end()) {
            // A play from elsewhere (or a moment the recording lost under load).
            runs_.push_back({done_, 0, at->second});
            Heard(at->second);
        } else {
            if (stray_ == 0) firstStray_ = done_;
            ++stray_;
            if (runs_.empty() || runs_.back().disc != Run::Stray) runs_.push_back({done_, 0, Run::Stray});
            next_ = -1;
        }
        ++runs_.back().length;
    }
}

void DiscListener::Heard(qsizetype at)
{
    if (runs_.empty() || runs_.back().disc < 0) runs_.push_back({done_, 0, at});
    const bool atEnd = at >= Frames() - 441;
    if (atEnd && !inEnd_) ++ends_;
    if (atEnd) lastEnd_ = done_ + 1;
    inEnd_ = atEnd;
    if (!atEnd) ++framesBeforeEnd_;
    next_ = at + 1;
}

std::string DiscListener::Describe(qsizetype from) const
{
    std::string text;
    for (const Run& run : runs_) {
        if (run.at + run.length <= from) continue;
        const std::string what = run.disc == Run::Silence ? "silence"
            : run.disc == Run::Stray                      ? "stray"
                                                          : "disc " + std::to_string(run.disc);
        text += "\n  at " + std::to_string(run.at) + ": " + what + " x" + std::to_string(run.length);
    }
    return text;
}

QString DiscListener::FirstStray() const
{
    return QStringLiteral("frame %1: %2").arg(firstStray_).arg(QString::fromLatin1(heard_.mid(firstStray_ * 4, 32).toHex(' ')));
}
