#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The program's registry: a tree of keys under three roots, each key holding a default value and
// named string values. It lives in one file of the user's configuration folder
// ($XDG_CONFIG_HOME/tessel/registry); every change rewrites that file crash-safe (a new file is
// written, then renamed over the old one), so a reader never sees half a registry.
//
// Sub-key paths use "\" between key names, as the callers write them; names are matched without
// regard to letter case and keep the case they were created with. The empty value name is the
// key's default value.
namespace registry {

using Root = std::int32_t;
constexpr Root HKEY_CLASSES_ROOT = static_cast<Root>(0x80000000u);
constexpr Root HKEY_CURRENT_USER = static_cast<Root>(0x80000001u);
constexpr Root HKEY_LOCAL_MACHINE = static_cast<Root>(0x80000002u);

// The file that holds the registry.
QString StorePath();

// True when the key exists (a root with an empty sub-key always does). False for an unknown root.
bool KeyExists(Root root, const QString& subKey);
// Creates the key and any missing parents. False for an unknown root or when the file cannot be written.
bool CreateKey(Root root, const QString& subKey);
// Sets a string value, creating the key when needed. File types under HKEY_CLASSES_ROOT also
// reach the desktop's own associations (FileTypes.h).
bool SetValue(Root root, const QString& subKey, const QString& name, const QString& data);
// The value, or nothing when the key or the value does not exist.
std::optional<QString> QueryValue(Root root, const QString& subKey, const QString& name);
// Removes one value; false when it did not exist.
bool DeleteValue(Root root, const QString& subKey, const QString& name);
// Removes a key with everything below it; false when it did not exist. A root cannot be removed.
bool DeleteKey(Root root, const QString& subKey);
// The names of a key's direct sub-keys, in the order they were created.
QStringList SubKeys(Root root, const QString& subKey);

} // namespace registry
