// MP3 files in the tag editor: the ID3v1 tag is read and its fields turned into text and back,
// then written to the file again, which must change nothing but the tag.
#include "dialogs/Id3Module.h"
#include "platform/forms/RuntimeError.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/ScriptedUser.h"

#include <QFile>
#include <cstring>

namespace {

// A field's text put back into a copy of the field, as the editor's Save does.
template <std::size_t N> void RoundTrip(const std::array<char, N>& field)
{
    std::array<char, N> copy = field;
    Id3Module::SetField(copy, Id3Module::FieldText(field));
}

QByteArray TagBytes(const Id3Module::Id3Tag& tag)
{
    QByteArray bytes("TAG");
    for (const auto* field : {&tag.Title, &tag.Artist, &tag.Album})
        bytes.append(field->data(), field->size());
    bytes.append(tag.Year.data(), tag.Year.size());
    bytes.append(tag.Comment.data(), tag.Comment.size());
    bytes.append(static_cast<char>(tag.Genre));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ScriptedUser user; // answers the box of a file without a tag
    const QString file = fuzz::WriteInput(QStringLiteral("song.mp3"), data, size);
    const QByteArray before(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        Id3Module::ReadTag(file);
    } catch (const forms::RuntimeError&) {
        return 0;
    }
    const Id3Module::Id3Tag tag = Id3Module::Tag();
    RoundTrip(tag.Title);
    RoundTrip(tag.Artist);
    RoundTrip(tag.Album);
    RoundTrip(tag.Year);
    RoundTrip(tag.Comment);

    // A tag there is replaced in place (here by itself); otherwise one is appended.
    try {
        Id3Module::WriteTag(file, tag);
    } catch (const forms::RuntimeError&) {
        fuzz::Broken("a file whose tag could be read could not be written");
    }
    const bool tagged = before.size() >= Id3Module::TagSize && before.right(Id3Module::TagSize).startsWith("TAG");
    QFile after(file);
    if (!after.open(QIODevice::ReadOnly)) fuzz::Broken("the file is gone after writing its tag");
    if (after.readAll() != (tagged ? before : before + TagBytes(tag)))
        fuzz::Broken("writing the tag changed more of the file than the tag");
    return 0;
}
