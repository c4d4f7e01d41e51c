#pragma once

#include "platform/registry/Registry.h"

#include <QString>

namespace modRegistry {

// Reads a string value of the registry. Raises 0x80040001 when the key cannot be opened and
// 0x80040002 when the value cannot be read (missing, or longer than the 255-byte reply area).
QString GetStringKey(registry::Root RootKey, const QString& SubKey, const QString& ValueName);

} // namespace modRegistry
