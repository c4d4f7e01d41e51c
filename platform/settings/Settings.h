#pragma once

#include <QString>

// The per-user application settings store: one text value per application, section and key, kept
// in an INI file per application in the user's configuration folder
// ($XDG_CONFIG_HOME/tessel/<application>.ini).
namespace settings {

// The stored value, or defaultValue when there is none.
QString GetSetting(
    const QString& appName, const QString& section, const QString& key, const QString& defaultValue = QString());

// Stores the value; the file is rewritten whole, so a failed write leaves the previous one.
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// Where an application's values are kept.
QString StorePath(const QString& appName);

} // namespace settings
