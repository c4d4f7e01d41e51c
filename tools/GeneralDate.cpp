#include "tools/GeneralDate.h"

#include <QLocale>

namespace {

QString TimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QStringLiteral(" t")); // no time zone
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

QString DateFormat(const QLocale& locale) { return locale.dateFormat(QLocale::ShortFormat); }

} // namespace

QString GeneralDate(const QDateTime& when)
{
    const QLocale locale;
    return locale.toString(when, DateFormat(locale) + QLatin1Char(' ') + TimeFormat(locale));
}

std::optional<QDateTime> ParseGeneralDate(const QString& input)
{
    const QString text = input.simplified();
    if (text.isEmpty()) return std::nullopt;
    const QLocale locale;
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat).remove(QStringLiteral(" t")).trimmed();
    const QStringList dateTimeFormats {DateFormat(locale) + QLatin1Char(' ') + TimeFormat(locale),
        DateFormat(locale) + QLatin1Char(' ') + shortTime, QStringLiteral("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("yyyy-MM-dd HH:mm"), QStringLiteral("yyyy-MM-ddTHH:mm:ss")};
    for (const QString& format : dateTimeFormats) {
        QDateTime parsed = locale.toDateTime(text, format);
        if (!parsed.isValid()) continue;
        // Two-digit years are this century's.
        if (parsed.date().year() < 1950 && !format.contains(QStringLiteral("yyyy"))) parsed = parsed.addYears(100);
        return parsed;
    }
    for (const QString& format : {TimeFormat(locale), shortTime, QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm")}) {
        const QTime time = locale.toTime(text, format);
        if (time.isValid()) return QDateTime(QDate::currentDate(), time);
    }
    for (const QString& format : {DateFormat(locale), QStringLiteral("yyyy-MM-dd")}) {
        QDate date = locale.toDate(text, format);
        if (!date.isValid()) continue;
        if (date.year() < 1950 && !format.contains(QStringLiteral("yyyy"))) date = date.addYears(100);
        return QDateTime(date, QTime(0, 0));
    }
    return std::nullopt;
}
