#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Date-times as the recorder shows and takes them: the general date format of the user's locale
// (its short date and its time with seconds).
QString GeneralDate(const QDateTime& when);

// A typed date, time or both: the general format, the locale's other forms, or ISO 8601. A time
// alone is today's, a date alone its midnight. Nothing when the text is neither.
std::optional<QDateTime> ParseGeneralDate(const QString& text);
