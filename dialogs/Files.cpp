#include "dialogs/Files.h"

#include "platform/files/Paths.h"

#include <QLocale>

namespace Files {

QString GetLongPath(const QString& path) { return files::LongPathName(path); }

QString FileSizeText(const QString& path)
{
    const auto length = files::FileLength(path);
    if (!length) return QString();
    const qint64 n = *length;
    if (n < 1024) return QString::number(n) + QStringLiteral(" B");

    // n / 1024 to four decimal places, rounded half to even, done in whole numbers so that even
    // the largest files keep every digit: n / 1024 * 10000 = n * 625 / 64.
    const __int128 scaled = static_cast<__int128>(n) * 625;
    __int128 units = scaled / 64;
    const __int128 rest = scaled % 64;
    if (rest > 32 || (rest == 32 && units % 2 != 0)) ++units;

    const qint64 whole = static_cast<qint64>(units / 10000);
    QString fraction = QStringLiteral("%1").arg(static_cast<int>(units % 10000), 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString text = QString::number(whole);
    if (!fraction.isEmpty()) text += QLocale().decimalPoint() + fraction;
    return text + QStringLiteral(" KB");
}

QString GetFileExtension(QString& name)
{
    for (int length = 1; length <= 4; ++length) {
        if (name.right(length + 1).left(1) == QLatin1String(".")) return name.right(length);
    }
    return QStringLiteral("Unknown");
}

QString FileDateText(QString& path)
{
    const auto stamp = files::ModifiedTime(path);
    if (!stamp) return QString();
    const QLocale locale;
    const QDateTime local = stamp->toLocalTime();
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    // File times count whole seconds here; a stamp within the first second of the day is midnight.
    if (local.time().hour() == 0 && local.time().minute() == 0 && local.time().second() == 0) return date;
    return date + QLatin1Char(' ') + locale.toString(local.time(), QLocale::ShortFormat);
}

} // namespace Files
