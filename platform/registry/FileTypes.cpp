#include "platform/registry/FileTypes.h"

#include "platform/registry/Registry.h"
#include "platform/files/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStringList>

namespace registry {

namespace {

const QString DesktopGroup = QStringLiteral("[Desktop Entry]");
const QString DefaultsGroup = QStringLiteral("[Default Applications]");
const QString AddedGroup = QStringLiteral("[Added Associations]");
// Marks a desktop entry as one this store wrote, so it is never mistaken for another program's.
const QString OwnerKey = QStringLiteral("X-Tessel-ProgID");

QString Home(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QDir::homePath() + fallback : value;
}

QStringList DataFolders()
{
    QStringList folders {Home("XDG_DATA_HOME", QStringLiteral("/.local/share"))};
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty()) system = QStringLiteral("/usr/local/share:/usr/share");
    folders += system.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return folders;
}

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

bool WriteLines(const QString& path, const QStringList& lines)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return files::WriteWholeFile(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

// The value of a key in one group of a desktop-style file; nothing when absent.
std::optional<QString> GroupValue(const QStringList& lines, const QString& group, const QString& key)
{
    bool inGroup = false;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            inGroup = t == group;
            continue;
        }
        if (inGroup && t.section(QLatin1Char('='), 0, 0).trimmed() == key) return t.section(QLatin1Char('='), 1).trimmed();
    }
    return std::nullopt;
}

// Puts the entry first in the list a key of the group holds, keeping the list's other entries;
// the group and the key are added when missing.
void PutFirst(QStringList& lines, const QString& group, const QString& key, const QString& entry)
{
    int groupLine = -1;
    int end = int(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        if (!t.startsWith(QLatin1Char('['))) continue;
        if (groupLine >= 0) {
            end = i;
            break;
        }
        if (t == group) groupLine = i;
    }
    if (groupLine < 0) {
        if (!lines.isEmpty()) lines << QString();
        lines << group << key + QLatin1Char('=') + entry + QLatin1Char(';');
        return;
    }
    for (int i = groupLine + 1; i < end; ++i) {
        const QString t = lines[i].trimmed();
        if (t.section(QLatin1Char('='), 0, 0).trimmed() != key) continue;
        QStringList entries = t.section(QLatin1Char('='), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        entries.removeAll(entry);
        entries.prepend(entry);
        lines[i] = key + QLatin1Char('=') + entries.join(QLatin1Char(';')) + QLatin1Char(';');
        return;
    }
    // After the group's last entry, before the blank lines that end it.
    int at = end;
    while (at > groupLine + 1 && lines[at - 1].trimmed().isEmpty())
        --at;
    lines.insert(at, key + QLatin1Char('=') + entry + QLatin1Char(';'));
}

// The executable of an open command written as "<executable> %1".
QString CommandExecutable(const QString& command)
{
    QString exe = command.trimmed();
    if (exe.endsWith(QLatin1String("%1"))) exe.chop(2);
    return exe.trimmed();
}

// One argument of an Exec line: quoted when it holds a reserved character, with the escapes of
// quoted arguments, then the escapes of a desktop-entry string.
QString ExecArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = argument;
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool quote = false;
    for (QChar c : arg)
        if (reserved.contains(c)) quote = true;
    if (quote) {
        QString quoted;
        for (QChar c : arg) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        arg = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    arg.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    arg.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return arg;
}

bool WriteDesktopEntry(const QString& progId, const QString& exe, const QStringList& mediaTypes)
{
    const QString path = ApplicationsFolder() + QLatin1Char('/') + DesktopEntryId(progId);
    const QStringList old = ReadLines(path);
    QStringList types = GroupValue(old, DesktopGroup, QStringLiteral("MimeType"))
                            .value_or(QString())
                            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& type : mediaTypes)
        if (!types.contains(type)) types << type;
    QString name = progId;
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return WriteLines(path,
        {DesktopGroup, QStringLiteral("Type=Application"), QStringLiteral("Name=") + name,
            QStringLiteral("Exec=") + ExecArgument(exe) + QStringLiteral(" %f"), QStringLiteral("Terminal=false"),
            QStringLiteral("MimeType=") + types.join(QLatin1Char(';')) + QLatin1Char(';'), OwnerKey + QLatin1Char('=') + name});
}

bool SetDefaults(const QString& desktopId, const QStringList& mediaTypes)
{
    QStringList lines = ReadLines(MimeAppsListPath());
    for (const QString& type : mediaTypes) {
        PutFirst(lines, DefaultsGroup, type, desktopId);
        PutFirst(lines, AddedGroup, type, desktopId);
    }
    return WriteLines(MimeAppsListPath(), lines);
}

// Writes the associations of the extensions that name the program, as far as it has an open command.
void MirrorProgram(const QString& progId, const QStringList& extensions)
{
    const auto command = QueryValue(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\shell\\open\\command"), {});
    if (!command) return;
    const QString exe = CommandExecutable(*command);
    if (exe.isEmpty()) return;
    QStringList types;
    for (const QString& ext : extensions) {
        const QString type = MediaTypeOfExtension(ext);
        if (!type.isEmpty() && !types.contains(type)) types << type;
    }
    if (types.isEmpty()) return;
    if (!WriteDesktopEntry(progId, exe, types)) return;
    SetDefaults(DesktopEntryId(progId), types);
}

} // namespace

QString ApplicationsFolder() { return Home("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/applications"); }

QString MimeAppsListPath() { return Home("XDG_CONFIG_HOME", QStringLiteral("/.config")) + QStringLiteral("/mimeapps.list"); }

QString MediaTypeOfExtension(const QString& extension)
{
    if (!extension.startsWith(QLatin1Char('.')) || extension.size() < 2) return QString();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("file") + extension, QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.name() : QString();
}

QString DesktopEntryId(const QString& progId)
{
    QString base = progId;
    base.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("-"));
    if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base.prepend(QStringLiteral("tessel"));
    const QString id = base + QStringLiteral(".desktop");
    // Another program's entry of that name is never written over, nor hidden behind ours.
    for (const QString& folder : DataFolders()) {
        const QString path = folder + QStringLiteral("/applications/") + id;
        if (QFileInfo::exists(path) && !GroupValue(ReadLines(path), DesktopGroup, OwnerKey))
            return QStringLiteral("tessel-") + id;
    }
    return id;
}

void MirrorFileTypes(const QString& subKey, const QString& valueName)
{
    if (!valueName.isEmpty()) return;
    const QStringList parts = subKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() == 1 && parts[0].startsWith(QLatin1Char('.'))) {
        const auto progId = QueryValue(HKEY_CLASSES_ROOT, parts[0], {});
        if (progId && !progId->isEmpty()) MirrorProgram(*progId, {parts[0]});
        return;
    }
    const auto is = [](const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; };
    if (parts.size() == 4 && is(parts[1], "shell") && is(parts[2], "open") && is(parts[3], "command")) {
        QStringList extensions;
        for (const QString& key : SubKeys(HKEY_CLASSES_ROOT, {}))
            if (key.startsWith(QLatin1Char('.'))
                && QueryValue(HKEY_CLASSES_ROOT, key, {}).value_or(QString()).compare(parts[0], Qt::CaseInsensitive) == 0)
                extensions << key;
        MirrorProgram(parts[0], extensions);
    }
}

} // namespace registry
