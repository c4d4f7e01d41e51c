#include "player/PlayerFiles.h"

#include "platform/files/ProgramFolder.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

namespace PlayerFiles {

namespace {
QString FirstItem(files::DelimitedReader reader)
{
    const QStringList items = reader.ReadItems(1);
    return items.isEmpty() ? QString() : items.front();
}
} // namespace

RecentSlots RebuildRecentFiles(const RecentSlots& captions, const QString& current)
{
    RecentSlots recent;
    recent[0] = captions[0];
    recent[1] = current;
    if (captions[1].isEmpty()) return recent;
    recent[1] = captions[1];
    recent[2] = current;
    if (captions[2].isEmpty()) return recent;
    recent[2] = captions[2];
    recent[3] = current;
    if (captions[3].isEmpty()) return recent;
    recent[3] = captions[3];
    recent[0] = current;
    return recent;
}

RecentSlots ReadRecentFiles()
{
    RecentSlots recent;
    const QStringList items = files::DelimitedReader(files::ProgramFile(RecentFilesFile)).ReadItems(4);
    for (qsizetype i = 0; i < items.size(); ++i)
        recent[i] = items[i];
    return recent;
}

bool WriteRecentFiles(const RecentSlots& recent)
{
    return files::WriteRecord(files::ProgramFile(RecentFilesFile), {recent[0], recent[1], recent[2], recent[3]});
}

QString ReadFirstRun() { return FirstItem(files::DelimitedReader(files::ProgramFile(FirstRunFile))); }

bool WriteFirstRun()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + now.time().toString(QStringLiteral("HH:mm:ss"));
    return files::WriteLine(files::ProgramFile(FirstRunFile), text);
}

QStringList ReadSettings() { return files::DelimitedReader(files::ProgramFile(SettingsFile)).ReadItems(SettingsItems); }

bool WriteSettings(const std::vector<files::Field>& fields)
{
    return files::WriteRecord(files::ProgramFile(SettingsFile), fields);
}

bool WriteHandoff(const QString& path) { return files::WriteLine(files::ProgramFile(HandoffFile), path); }

QString ReadHandoff() { return FirstItem(files::DelimitedReader(files::ProgramFile(HandoffFile))); }

QString HandoffItem(const QString& path) { return FirstItem(files::DelimitedReader::FromText(path)); }

void DeleteHandoff() { QFile::remove(files::ProgramFile(HandoffFile)); }

} // namespace PlayerFiles
