#include "platform/files/DelimitedFile.h"

#include "platform/files/WholeFile.h"

#include <QFile>
#include <cmath>

namespace files {

namespace {

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool IsLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

QString FieldText(const Field& field)
{
    if (const auto* text = std::get_if<QString>(&field)) return QLatin1Char('"') + *text + QLatin1Char('"');
    if (const auto* flag = std::get_if<bool>(&field))
        return *flag ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
    return QString::number(std::get<int>(field));
}

// The new content goes to a temporary file beside the old one, reaches the disk, and then takes
// the old one's place: a crash or a full disk leaves the old file or the new one, never a part.
bool WriteWhole(const QString& path, const QString& line)
{
    return WriteWholeFile(path, (line + QStringLiteral("\r\n")).toUtf8());
}

} // namespace

QString RecordText(const std::vector<Field>& fields)
{
    QStringList parts;
    for (const Field& field : fields)
        parts << FieldText(field);
    return parts.join(QLatin1Char(','));
}

bool WriteRecord(const QString& path, const std::vector<Field>& fields) { return WriteWhole(path, RecordText(fields)); }

bool WriteLine(const QString& path, const QString& text) { return WriteWhole(path, text); }

DelimitedReader::DelimitedReader(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    text_ = QString::fromUtf8(maxBytes < 0 ? file.readAll() : file.read(maxBytes));
    open_ = true;
}

DelimitedReader DelimitedReader::FromText(const QString& text)
{
    DelimitedReader reader;
    reader.text_ = text;
    reader.open_ = true;
    return reader;
}

void DelimitedReader::SkipDelimiter()
{
    if (AtEnd()) return;
    const QChar c = text_[pos_];
    if (c == QLatin1Char(',')) {
        ++pos_;
    } else if (c == QLatin1Char('\r')) {
        ++pos_;
        if (!AtEnd() && text_[pos_] == QLatin1Char('\n')) ++pos_;
    } else if (c == QLatin1Char('\n')) {
        ++pos_;
    }
}

std::optional<QString> DelimitedReader::ReadItem()
{
    if (AtEnd()) return std::nullopt;
    while (!AtEnd() && IsBlank(text_[pos_]))
        ++pos_;

    QString item;
    if (!AtEnd() && text_[pos_] == QLatin1Char('"')) {
        const qsizetype close = text_.indexOf(QLatin1Char('"'), pos_ + 1);
        const qsizetype end = close < 0 ? text_.size() : close;
        item = text_.mid(pos_ + 1, end - pos_ - 1);
        pos_ = close < 0 ? end : close + 1;
        // Whatever follows the closing quote up to the delimiter is dropped.
        while (!AtEnd() && text_[pos_] != QLatin1Char(',') && !IsLineEnd(text_[pos_]))
            ++pos_;
    } else {
        const qsizetype start = pos_;
        while (!AtEnd() && text_[pos_] != QLatin1Char(',') && !IsLineEnd(text_[pos_]))
            ++pos_;
        item = text_.mid(start, pos_ - start);
        while (!item.isEmpty() && IsBlank(item.back()))
            item.chop(1);
    }
    SkipDelimiter();
    return item;
}

QStringList DelimitedReader::ReadItems(int count)
{
    QStringList items;
    while (items.size() < count) {
        auto item = ReadItem();
        if (!item) break;
        items << *item;
    }
    return items;
}

std::optional<bool> ToBoolean(const QString& item)
{
    const QString text = item.trimmed();
    if (text.compare(QStringLiteral("#TRUE#"), Qt::CaseInsensitive) == 0
        || text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QStringLiteral("#FALSE#"), Qt::CaseInsensitive) == 0
        || text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number != 0;
}

std::optional<int> ToInteger(const QString& item)
{
    const QString text = item.trimmed();
    if (text.compare(QStringLiteral("#TRUE#"), Qt::CaseInsensitive) == 0) return -1;
    if (text.compare(QStringLiteral("#FALSE#"), Qt::CaseInsensitive) == 0) return 0;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number)) return std::nullopt;
    const double rounded = std::nearbyint(number); // the default rounding mode: half to even
    if (rounded < -32768 || rounded > 32767) return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace files
