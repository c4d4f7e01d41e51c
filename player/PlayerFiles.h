#pragma once

#include "platform/files/DelimitedFile.h"

#include <QString>
#include <QStringList>
#include <array>

// The player's small files in the program folder: its settings, the recent files, the time of
// the last exit and the hand-off file through which a second start passes its file on. A file
// that is missing or can't be read yields empty items; a write that fails is reported by the
// result only.
namespace PlayerFiles {

inline const QString SettingsFile = QStringLiteral("Settings.ini");
inline const QString RecentFilesFile = QStringLiteral("RecentFiles.ini");
inline const QString FirstRunFile = QStringLiteral("First.ini");
inline const QString HandoffFile = QStringLiteral("command");

// The number of items in "Settings.ini".
constexpr int SettingsItems = 14;

using RecentSlots = std::array<QString, 4>;

// The recent-file slots after an exit, from the four captions and the playlist's current text:
// the current text goes into the first empty slot among 2 to 4; once those are full it goes
// into slot 1 at every exit.
RecentSlots RebuildRecentFiles(const RecentSlots& captions, const QString& current);

// Up to four items; the ones the file doesn't hold stay empty.
RecentSlots ReadRecentFiles();
bool WriteRecentFiles(const RecentSlots& recent);

// The first item of "First.ini"; empty on the first run.
QString ReadFirstRun();
// Writes the current date and time.
bool WriteFirstRun();

// The items of "Settings.ini" as text, as many as the file holds (at most 14).
QStringList ReadSettings();
bool WriteSettings(const std::vector<files::Field>& fields);

// The hand-off file: one line, the path a start was given.
bool WriteHandoff(const QString& path);
// Its first item; empty when the file is missing or empty.
QString ReadHandoff();
// The item ReadHandoff gives back for a path written with WriteHandoff (a path holding a comma
// is read up to the comma).
QString HandoffItem(const QString& path);
void DeleteHandoff();

} // namespace PlayerFiles
