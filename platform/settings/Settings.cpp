#include "platform/settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace settings {

QString StorePath(const QString& appName)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/tessel/") + appName + QStringLiteral(".ini");
}

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings store(StorePath(appName), QSettings::IniFormat);
    const QVariant value = store.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

bool SaveSettings(
    const QString& appName, const QString& section, const std::vector<std::pair<QString, QString>>& values)
{
    const QString path = StorePath(appName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings store(path, QSettings::IniFormat);
    store.beginGroup(section);
    std::vector<std::pair<QString, QVariant>> before;
    for (const auto& [key, value] : values) {
        before.emplace_back(key, store.value(key));
        store.setValue(key, value);
    }
    // QSettings saves atomically unless told otherwise (QSettings::isAtomicSyncRequired() is true
    // by default), so a failed sync leaves the old file; status() reports the failure.
    store.sync();
    if (store.status() == QSettings::NoError) return true;
    // QSettings keeps the values it could not write in the cache that every QSettings object on
    // the file shares, where they would read back as stored although the file does not hold
    // them. They are taken back, so that what reads back is what the next start will find.
    for (const auto& [key, value] : before) {
        if (value.isValid())
            store.setValue(key, value);
        else
            store.remove(key);
    }
    return false;
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    return SaveSettings(appName, section, {{key, value}});
}

} // namespace settings
