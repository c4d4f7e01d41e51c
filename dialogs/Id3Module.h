#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The ID3v1 tag: the last 128 bytes of an MP3 file, "TAG" and then six fixed-width fields.
namespace Id3Module {

// The tag's fields without the "TAG" marker, as they stand in the file (125 bytes). Text fields
// are padded; text read from a file is kept exactly as stored.
struct Id3Tag {
    std::array<char, 30> Title {};
    std::array<char, 30> Artist {};
    std::array<char, 30> Album {};
    std::array<char, 4> Year {};
    std::array<char, 30> Comment {};
    std::uint8_t Genre = 0;
};

constexpr int TagSize = 128;
constexpr int RecordSize = 125;
// The genre byte that names no genre.
constexpr std::uint8_t NoGenre = 255;

// The one record the module and the tag editor share: the last tag read or written.
Id3Tag& Tag();

// The tag held by a file's last 128 bytes; nothing when they hold none.
std::optional<Id3Tag> ParseTag(QByteArrayView trailer);

// Fills the shared record from the file's tag. A file without one gets the box "This Mp3 Does Not
// Contain an ID3 Tag" and the record keeps its content. Raises 53 for a missing file, 63 for one
// shorter than a tag and 75 for one that cannot be read.
void ReadTag(const QString& path);

// Puts the record into the file's tag: a tag there is replaced in place, otherwise a new one is
// appended; no other byte of the file changes, and a write that fails leaves the file as it was.
// Raises 75 (path/file access error) for a read-only file, 53 for a missing one, 63 for one
// shorter than a tag.
void WriteTag(const QString& path, const Id3Tag& tag);

// The text fields are ISO-8859-1, one byte a character, as other programs read and write them.
// Text into a fixed-width field: a character outside ISO-8859-1 becomes "?", the text is cut at
// the width and padded with blanks; a field that already shows the text keeps its bytes. Text out
// of a field: what stands before the first NUL.
QString FieldText(const char* field, std::size_t width);
template <std::size_t N> QString FieldText(const std::array<char, N>& field) { return FieldText(field.data(), N); }

void SetField(char* field, std::size_t width, const QString& text);
template <std::size_t N> void SetField(std::array<char, N>& field, const QString& text)
{
    SetField(field.data(), N, text);
}

} // namespace Id3Module
