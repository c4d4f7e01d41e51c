#include "platform/settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

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

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    QDir().mkpath(QFileInfo(StorePath(appName)).absolutePath());
    QSettings store(StorePath(appName), QSettings::IniFormat);
    store.setValue(section + QLatin1Char('/') + key, value);
    store.sync();
}

} // namespace settings
