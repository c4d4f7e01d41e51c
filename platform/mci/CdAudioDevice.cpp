#include "platform/mci/CdAudioDevice.h"

#include "platform/mci/Errors.h"

namespace mci {

namespace {

constexpr int FramesPerSecond = 75;
constexpr int ProgramAreaStart = 150; // absolute address of sector 0: 00:02:00

QString Msf(int frames)
{
    if (frames < 0) frames = 0;
    return QStringLiteral("%1:%2:%3")
        .arg(frames / (60 * FramesPerSecond), 2, 10, QLatin1Char('0'))
        .arg(frames / FramesPerSecond % 60, 2, 10, QLatin1Char('0'))
        .arg(frames % FramesPerSecond, 2, 10, QLatin1Char('0'));
}

// Numbers of a time text; each field, and the sector they come to, must fit a disc's range.
constexpr qint64 MaxField = 1'000'000;
constexpr qint64 MaxSector = 100LL * 60 * FramesPerSecond * 60; // a hundred hours, far beyond any disc

bool ParseFields(const QString& text, std::vector<qint64>& fields, int maxFields)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > maxFields) return false;
    for (const QString& p : parts) {
        bool ok = false;
        const qint64 v = p.toLongLong(&ok);
        if (!ok || v < 0 || v > MaxField) return false;
        fields.push_back(v);
    }
    return true;
}

bool ToSector(qint64 value, int& sector)
{
    if (value < -MaxSector || value > MaxSector) return false;
    sector = static_cast<int>(value);
    return true;
}

} // namespace

CdAudioDevice::CdAudioDevice()
    : player_(drive_.Device())
{
    Refresh();
    if (toc_) position_ = StreamOrigin();
}

bool CdAudioDevice::Refresh()
{
    const bool had = toc_.has_value();
    medium_ = drive_.Probe(&toc_);
    if (!toc_) {
        if (had) StopPlayer();
    } else if (!had) {
        position_ = StreamOrigin();
        paused_ = false;
    }
    return toc_.has_value();
}

int CdAudioDevice::StreamOrigin() const
{
    const auto audio = toc_->FirstAudioTrack();
    return toc_->TrackStart(audio ? *audio : toc_->firstTrack);
}

bool CdAudioDevice::IsAudioAt(int sector) const { return toc_->IsAudio(toc_->TrackAt(sector)); }

void CdAudioDevice::StopPlayer()
{
    player_.Stop();
    paused_ = false;
}

int CdAudioDevice::Position()
{
    if (!toc_) return 0;
    const int origin = StreamOrigin();
    if (!paused_) {
        if (auto t = player_.Time()) position_ = origin + static_cast<int>(*t * FramesPerSecond + 0.5);
    }
    if (position_ > toc_->leadOut) position_ = toc_->leadOut;
    return position_;
}

bool CdAudioDevice::ParseTime(const QString& text, int& sector) const
{
    std::vector<qint64> f;
    switch (format_) {
    case Format::Milliseconds: {
        bool ok = false;
        const qlonglong ms = text.toLongLong(&ok);
        if (!ok || ms < 0 || ms > MaxSector * 1000 / FramesPerSecond) return false;
        return ToSector(ms * FramesPerSecond / 1000 - ProgramAreaStart, sector);
    }
    case Format::Msf:
        if (!ParseFields(text, f, 3)) return false;
        f.resize(3, 0);
        return ToSector((f[0] * 60 + f[1]) * FramesPerSecond + f[2] - ProgramAreaStart, sector);
    case Format::Tmsf:
        if (!ParseFields(text, f, 4)) return false;
        f.resize(4, 0);
        if (f[0] < toc_->firstTrack || f[0] > toc_->LastTrack()) return false;
        return ToSector(toc_->TrackStart(static_cast<int>(f[0])) + (f[1] * 60 + f[2]) * FramesPerSecond + f[3], sector);
    }
    return false;
}

QString CdAudioDevice::PositionText(int sector) const
{
    switch (format_) {
    case Format::Milliseconds:
        return QString::number(static_cast<qlonglong>(sector + ProgramAreaStart) * 1000 / FramesPerSecond);
    case Format::Msf: return Msf(sector + ProgramAreaStart);
    case Format::Tmsf: {
        const int track = toc_->TrackAt(sector);
        return QStringLiteral("%1:").arg(track, 2, 10, QLatin1Char('0')) + Msf(sector - toc_->TrackStart(track));
    }
    }
    return {};
}

QString CdAudioDevice::LengthText(int sectors) const
{
    if (format_ == Format::Milliseconds)
        return QString::number(static_cast<qlonglong>(sectors) * 1000 / FramesPerSecond);
    return Msf(sectors);
}

int CdAudioDevice::Command(QStringList words, QString& reply)
{
    reply.clear();
    words.removeIf([](const QString& w) {
        return w.compare(QStringLiteral("wait"), Qt::CaseInsensitive) == 0
            || w.compare(QStringLiteral("notify"), Qt::CaseInsensitive) == 0;
    });
    if (words.isEmpty()) return Err::MissingCommandString;
    const QString verb = words.takeFirst().toLower();
    for (QString& w : words)
        w = w.toLower();

    if (verb == QLatin1String("status")) return Status(words, reply);
    if (verb == QLatin1String("set")) return Set(words);
    if (!Refresh()) return medium_ == Medium::Unreadable ? Err::Hardware : Err::DeviceNotReady;
    if (verb == QLatin1String("play")) return Play(words);
    if (verb == QLatin1String("seek")) return Seek(words);
    if (!words.isEmpty()) return Err::UnrecognizedKeyword;
    if (verb == QLatin1String("pause")) {
        if (player_.Playing()) {
            Position();
            player_.Pause();
            paused_ = true;
        }
        return 0;
    }
    if (verb == QLatin1String("resume")) return paused_ ? Play({}) : 0;
    if (verb == QLatin1String("stop")) {
        Position();
        StopPlayer();
        return 0;
    }
    return Err::UnrecognizedCommand;
}

int CdAudioDevice::Play(const QStringList& args)
{
    int from = Position();
    if (!args.isEmpty()) {
        if (args.size() != 2 || args[0] != QLatin1String("from")) return Err::UnrecognizedKeyword;
        if (!ParseTime(args[1], from)) return Err::OutOfRange;
    }
    if (from < toc_->TrackStart(toc_->firstTrack) || from >= toc_->leadOut) return Err::OutOfRange;
    position_ = from;
    paused_ = false;
    // A data track has nothing to play: the drive stays stopped there.
    if (!IsAudioAt(from)) {
        StopPlayer();
        return 0;
    }
    player_.SetDevice(drive_.Source());
    if (!player_.PlayFrom(static_cast<double>(from - StreamOrigin()) / FramesPerSecond)) return Err::Hardware;
    return 0;
}

int CdAudioDevice::Seek(const QStringList& args)
{
    if (args.size() == 1 && args[0] == QLatin1String("to")) return Err::MissingParameter;
    int to = 0;
    if (args == QStringList {QStringLiteral("to"), QStringLiteral("start")})
        to = StreamOrigin();
    else if (args == QStringList {QStringLiteral("to"), QStringLiteral("end")})
        to = toc_->leadOut;
    else if (args.size() == 2 && args[0] == QLatin1String("to")) {
        if (!ParseTime(args[1], to)) return Err::OutOfRange;
    } else
        return Err::UnrecognizedKeyword;
    if (to < toc_->TrackStart(toc_->firstTrack) || to > toc_->leadOut) return Err::OutOfRange;
    StopPlayer();
    position_ = to;
    return 0;
}

int CdAudioDevice::Set(const QStringList& args)
{
    const QString what = args.join(QLatin1Char(' '));
    if (what == QLatin1String("time format tmsf")) {
        format_ = Format::Tmsf;
    } else if (what == QLatin1String("time format msf")) {
        format_ = Format::Msf;
    } else if (what == QLatin1String("time format milliseconds") || what == QLatin1String("time format ms")) {
        format_ = Format::Milliseconds;
    } else if (what == QLatin1String("door open")) {
        if (drive_.IsImage()) StopPlayer();
        if (!drive_.SetDoor(true)) return Err::Hardware;
        Refresh();
    } else if (what == QLatin1String("door closed")) {
        if (!drive_.SetDoor(false)) return Err::Hardware;
        Refresh();
    } else if (args.value(0) == QLatin1String("time") && args.value(1) == QLatin1String("format")) {
        return Err::BadTimeFormat;
    } else {
        return Err::UnrecognizedKeyword;
    }
    return 0;
}

int CdAudioDevice::Status(const QStringList& args, QString& reply)
{
    const QString what = args.join(QLatin1Char(' '));
    const bool present = Refresh();
    if (medium_ == Medium::Unreadable && what != QLatin1String("time format")) return Err::Hardware;
    if (what == QLatin1String("media present") || what == QLatin1String("ready")) {
        reply = present ? QStringLiteral("true") : QStringLiteral("false");
        return 0;
    }
    if (what == QLatin1String("time format")) {
        reply = format_ == Format::Tmsf ? QStringLiteral("tmsf")
            : format_ == Format::Msf    ? QStringLiteral("msf")
                                        : QStringLiteral("milliseconds");
        return 0;
    }
    if (what == QLatin1String("mode")) {
        if (!present)
            reply = drive_.DoorOpen() ? QStringLiteral("open") : QStringLiteral("not ready");
        else if (player_.Playing())
            reply = QStringLiteral("playing");
        else
            reply = paused_ ? QStringLiteral("paused") : QStringLiteral("stopped");
        return 0;
    }
    if (args.isEmpty()) return Err::MissingParameter;
    if (!present) return Err::DeviceNotReady;

    if (what == QLatin1String("number of tracks")) {
        reply = QString::number(toc_->TrackCount());
    } else if (what == QLatin1String("current track")) {
        reply = QString::number(toc_->TrackAt(Position()));
    } else if (what == QLatin1String("length")) {
        reply = LengthText(toc_->leadOut - toc_->TrackStart(toc_->firstTrack));
    } else if (what == QLatin1String("position")) {
        reply = PositionText(Position());
    } else if (args.size() == 3 && args[1] == QLatin1String("track")
        && (args[0] == QLatin1String("length") || args[0] == QLatin1String("position"))) {
        bool ok = false;
        const int track = args[2].toInt(&ok);
        if (!ok) return Err::BadInteger;
        if (track < toc_->firstTrack || track > toc_->LastTrack()) return Err::OutOfRange;
        reply = args[0] == QLatin1String("length") ? LengthText(toc_->TrackEnd(track) - toc_->TrackStart(track))
                                                   : PositionText(toc_->TrackStart(track));
    } else {
        return Err::UnrecognizedKeyword;
    }
    return 0;
}

} // namespace mci
