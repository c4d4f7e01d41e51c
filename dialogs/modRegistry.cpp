#include "dialogs/modRegistry.h"

#include "platform/forms/RuntimeError.h"

namespace modRegistry {

namespace {
constexpr int OpenKeyFailed = static_cast<int>(0x80040001u);
constexpr int QueryValueFailed = static_cast<int>(0x80040002u);
constexpr int ReplySize = 255;
} // namespace

QString GetStringKey(registry::Root RootKey, const QString& SubKey, const QString& ValueName)
{
    const QString source = QStringLiteral("GetStringKey");
    if (!registry::KeyExists(RootKey, SubKey))
        throw forms::RuntimeError(
            OpenKeyFailed, source, QStringLiteral("Win 32 API function failed to open registry key '%1'.").arg(SubKey));
    const std::optional<QString> value = registry::QueryValue(RootKey, SubKey, ValueName);
    // The value and its terminating NUL must fit the reply area.
    if (!value || value->toUtf8().size() + 1 > ReplySize)
        throw forms::RuntimeError(QueryValueFailed, source,
            QStringLiteral("Win32 API function failed to get registry key value: '%1'.").arg(SubKey));
    const qsizetype nul = value->indexOf(QChar(0));
    return nul < 0 ? *value : value->left(nul);
}

} // namespace modRegistry
