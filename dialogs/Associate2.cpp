#include "dialogs/Associate2.h"

#include "platform/registry/Registry.h"

#include <QFileInfo>

namespace Associate2 {

using registry::HKEY_CLASSES_ROOT;

bool AssociateExtension(const QString& exe, QString ext)
{
    if (!ExecutableExists(exe)) return false;
    const QString name = ExecutableFileName(exe);
    if (!ext.contains(QLatin1Char('.'))) ext.prepend(QLatin1Char('.'));

    if (!registry::CreateKey(HKEY_CLASSES_ROOT, ext)) return false;
    if (!registry::SetValue(HKEY_CLASSES_ROOT, ext, {}, name)) return false;
    if (!registry::CreateKey(HKEY_CLASSES_ROOT, name)) return false;
    if (!registry::SetValue(HKEY_CLASSES_ROOT, name + QStringLiteral("\\shell\\open\\command"), {},
            exe + QStringLiteral(" %1")))
        return false;
    if (!registry::KeyExists(HKEY_CLASSES_ROOT, name)) return false;
    return registry::SetValue(HKEY_CLASSES_ROOT, name + QStringLiteral("\\DefaultIcon"), {}, exe);
}

QString ExecutableFileName(const QString& path)
{
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
    if (name.endsWith(QChar(0))) name.chop(1);
    return name;
}

// Exactly as named: a name that only matches with other letter case, or through a wildcard,
// would give an open command that cannot start.
bool ExecutableExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

} // namespace Associate2
