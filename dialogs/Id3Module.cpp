#include "dialogs/Id3Module.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
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

bool WriteAt(QFile& file, qint64 offset, const QByteArray& bytes)
{
    return file.seek(offset) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

std::optional<Id3Tag> ParseTag(QByteArrayView trailer)
{
    if (trailer.size() != TagSize || !trailer.startsWith(Marker)) return std::nullopt;
    Id3Tag tag;
    const char* p = trailer.constData() + Marker.size();
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

Id3Tag& Tag()
{
    static Id3Tag shared;
    return shared;
}

void ReadTag(const QString& path)
{
    QFile file(path);
    Open(file, QIODevice::ReadOnly);
    const auto tag = ParseTag(ReadAt(file, file.size() - TagSize, TagSize));
    if (!tag) {
        forms::MsgBox(QStringLiteral("This Mp3 Does Not Contain an ID3 Tag"), forms::MsgBoxStyle::OKOnly,
            QStringLiteral(" Contains no Tag"));
        return;
    }
    Tag() = *tag;
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
    // Text the field already shows stays as it is stored, padding and all: an unedited tag is
    // written back unchanged.
    if (FieldText(field, width) == text) return;
    std::memset(field, ' ', width);
    std::size_t used = 0;
    for (const char32_t c : text.toUcs4()) {
        if (used == width) break;
        field[used++] = c <= 0xFF ? static_cast<char>(c) : '?';
    }
}

QString FieldText(const char* field, std::size_t width)
{
    return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, width)));
}

} // namespace Id3Module
