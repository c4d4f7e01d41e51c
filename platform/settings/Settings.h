#pragma once

#include <QString>
#include <utility>
#include <vector>

// The per-user application settings store: one text value per application, section and key, kept
// in an INI file per application in the user's configuration folder
// ($XDG_CONFIG_HOME/tessel/<application>.ini).
namespace settings {

// The stored value, or defaultValue when there is none.
QString GetSetting(
    const QString& appName, const QString& section, const QString& key, const QString& defaultValue = QString());

// Stores the values of one section together. The file is rewritten whole: when that fails (a full
// disk, a folder that cannot be written) the previous file stays, GetSetting goes on giving its
// values, and the result is false.
bool SaveSettings(
    const QString& appName, const QString& section, const std::vector<std::pair<QString, QString>>& values);
// Stores one value, the same way.
bool SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// Where an application's values are kept.
QString StorePath(const QString& appName);

} // namespace settings
