#pragma once

#include <QString>

// Small file-name and file-attribute functions for the player and the file windows.
namespace Files {

// The full form of a path that exists; empty when it doesn't.
QString GetLongPath(const QString& path);

// The file's length as display text: "500 B" below 1024 bytes, else kilobytes with up to four
// decimals, "1.5 KB". Empty when the length can't be read.
QString FileSizeText(const QString& path);

// The extension of a file name (one to four characters after its last point), without the
// point, or "Unknown".
QString GetFileExtension(QString& name);

// The file's last-modification date and time in the short form of the user's locale (the date
// alone at exactly midnight). Empty when it can't be read.
QString FileDateText(QString& path);

} // namespace Files
