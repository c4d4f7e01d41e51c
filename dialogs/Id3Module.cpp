#include "dialogs/Id3Module.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstring>

namespace Id3Module {

namespace {

const QString Source = QStringLiteral("Id3Module");
constexpr int BadRecordNumber = 63;
constexpr int PathFileAccessError = 75;
constexpr int DeviceIOError = 57;
const QByteArray Marker = QByteArrayLiteral("TAG");

[[noreturn]] void Fail(int number, const char* description)
{
    throw forms::RuntimeError(number, Source, QString::fromLatin1(description));
}

// A file without any write permission is read-only, for every user: the same attribute that
// protects a file on other systems.
bool ReadOnly(const QFileInfo& info)
{
    return !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

// Opens an existing file; a tag needs a file at least as long as itself.
void Open(QFile& file, QIODevice::OpenMode mode)
{
    const QFileInfo info(file.fileName());
    if (file.fileName().isEmpty() || !info.exists() || info.isDir()) forms::Raise(forms::Err::FileNotFound, Source);
    if ((mode & QIODevice::WriteOnly) && ReadOnly(info)) Fail(PathFileAccessError, "Path/File access error");
    if (!file.open(mode)) Fail(PathFileAccessError, "Path/File access error");
    if (file.size() < TagSize) Fail(BadRecordNumber, "Bad record number");
}

QByteArray ReadAt(QFile& file, qint64 offset, qint64 count)
{
    if (!file.seek(offset)) Fail(BadRecordNumber, "Bad record number");
    const QByteArray bytes = file.read(count);
    if (bytes.size() != count) Fail(PathFileAccessError, "Path/File access error");
    return bytes;
}

QByteArray Record(const Id3Tag& tag)
{
    QByteArray bytes;
    bytes.reserve(RecordSize);
    bytes.append(tag.Title.data(), tag.Title.size());
    bytes.append(tag.Artist.data(), tag.Artist.size());
    bytes.append(tag.Album.data(), tag.Album.size());
    bytes.append(tag.Year.data(), tag.Year.size());
    bytes.append(tag.Comment.data(), tag.Comment.size());
    bytes.append(static_cast<char>(tag.Genre));
    return bytes;
}

Id3Tag FromRecord(const QByteArray& bytes)
{
    Id3Tag tag;
    const char* p = bytes.constData();
    for (auto* field : {&tag.Title, &tag.Artist, &tag.Album}) {
        std::memcpy(field->data(), p, field->size());
        p += field->size();
    }
    std::memcpy(tag.Year.data(), p, tag.Year.size());
    p += tag.Year.size();
    std::memcpy(tag.Comment.data(), p, tag.Comment.size());
    p += tag.Comment.size();
    tag.Genre = static_cast<std::uint8_t>(*p);
    return tag;
}

bool WriteAt(QFile& file, qint64 offset, const QByteArray& bytes)
{
    return file.seek(offset) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

Id3Tag& Tag()
{
    static Id3Tag shared;
    return shared;
}

void ReadTag(const QString& path)
{
    QFile file(path);
    Open(file, QIODevice::ReadOnly);
    const qint64 length = file.size();
    if (ReadAt(file, length - TagSize, Marker.size()) != Marker) {
        forms::MsgBox(QStringLiteral("This Mp3 Does Not Contain an ID3 Tag"), forms::MsgBoxStyle::OKOnly,
            QStringLiteral(" Contains no Tag"));
        return;
    }
    Tag() = FromRecord(ReadAt(file, length - RecordSize, RecordSize));
}

void WriteTag(const QString& path, const Id3Tag& tag)
{
    QFile file(path);
    Open(file, QIODevice::ReadWrite);
    const qint64 length = file.size();
    const QByteArray record = Record(tag);
    if (ReadAt(file, length - TagSize, Marker.size()) == Marker) {
        const QByteArray previous = ReadAt(file, length - RecordSize, RecordSize);
        if (WriteAt(file, length - RecordSize, record)) return;
        WriteAt(file, length - RecordSize, previous);
    } else {
        if (WriteAt(file, length, Marker + record)) return;
        file.resize(length);
    }
    Fail(DeviceIOError, "Device I/O error");
}

void SetField(char* field, std::size_t width, const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (static_cast<std::size_t>(bytes.size()) > width) {
        // Cut at the width, but never inside a character: a cut one is left out whole.
        qsizetype cut = static_cast<qsizetype>(width);
        while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    std::memset(field, ' ', width);
    std::memcpy(field, bytes.constData(), bytes.size());
}

QString FieldText(const char* field, std::size_t width)
{
    const std::size_t used = strnlen(field, width);
    const QByteArray bytes(field, static_cast<qsizetype>(used));
    // Text written as UTF-8 reads as such; other tools often write Latin-1.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return QString::fromLatin1(bytes);
    return text;
}

} // namespace Id3Module
