#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

namespace files {

// One field of a delimited record: a text, a Boolean or a whole number.
using Field = std::variant<QString, bool, int>;

// Writes one delimited record as the whole content of the file (created or replaced): the fields
// separated by commas, a text in double quotes written unchanged (a quote inside is not escaped),
// a Boolean as #TRUE# or #FALSE#, a number in decimal; the line ends in CR LF. False when the
// file can't be written. The file is replaced whole: an interrupted or failed write leaves the
// old content.
bool WriteRecord(const QString& path, const std::vector<Field>& fields);

// Writes the text unchanged as the file's one line, ended by CR LF. False when the file can't
// be written.
bool WriteLine(const QString& path, const QString& text);

// The text of one delimited record line, without the line end.
QString RecordText(const std::vector<Field>& fields);

// Reads delimited items in order: blanks before an item are skipped; an item that begins with a
// double quote runs to the next double quote (which is dropped, as is anything up to the next
// comma or line end); any other item runs to the next comma or line end, trailing blanks
// dropped. A comma or a line end (CR LF, LF or CR) ends an item.
class DelimitedReader {
public:
    // The small files read this way hold a few short items; what lies beyond is not read.
    static constexpr qint64 DefaultMaxBytes = 64 * 1024;
    static constexpr qint64 WholeFile = -1;

    // Reads the file's first maxBytes (or all of it); a file that can't be opened is not Open().
    explicit DelimitedReader(const QString& path, qint64 maxBytes = DefaultMaxBytes);
    // Reads from a text already in memory.
    static DelimitedReader FromText(const QString& text);

    bool Open() const { return open_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    // The next item; at the end, nothing.
    std::optional<QString> ReadItem();
    // Up to count items; fewer when the file ends first, none when it can't be opened.
    QStringList ReadItems(int count);

private:
    DelimitedReader() = default;
    void SkipDelimiter();
    QString text_;
    qsizetype pos_ = 0;
    bool open_ = false;
};

// Conversions of an item read as text. #TRUE# and #FALSE# read as True and False; "True" and
// "False" in any case too; a number is True unless it is 0. Anything else does not convert.
std::optional<bool> ToBoolean(const QString& item);
// A 16-bit whole number: a decimal number, rounded half to even; #TRUE# is -1 and #FALSE# 0.
// Text that is not a number, or a number outside -32768 to 32767, does not convert.
std::optional<int> ToInteger(const QString& item);

} // namespace files
