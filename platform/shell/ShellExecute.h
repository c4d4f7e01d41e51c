#pragma once

#include <QString>
#include <functional>

class QUrl;

namespace shell {

// The results of ShellExecute: above 32 is success, the rest are the platform's error numbers.
namespace ShellResult {
constexpr int Opened = 42;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int NoAssociation = 31;
} // namespace ShellResult

// Hands a document, folder or web address to the program the desktop opens it with. The verb
// "open" (or none, or "explore" for a folder) is the only one the desktop knows; a relative
// path is taken from directory. Parameters and the show command are for programs, which this
// never starts. A null text stands for an absent one.
int ShellExecute(const QString& operation, const QString& file, const QString& parameters, const QString& directory,
    int showCommand);

// The desktop's handler for an address; returns whether it took it. Tests install one that
// records the address instead (null restores the desktop's). Returns the previous one.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

} // namespace shell
