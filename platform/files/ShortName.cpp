#include "platform/files/ShortName.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace files {

namespace {

bool HasBlank(const QString& text) { return text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('\t')); }

QString WithoutBlanks(QString text)
{
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\t'));
    return text;
}

// A folder of this user only, without blanks, for the links to folders with blanks.
QString LinkFolder()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || HasBlank(base) || !QFileInfo(base).isDir())
        base = QStringLiteral("/tmp/tessel-%1").arg(::getuid());
    const QString folder = base + QStringLiteral("/tessel-short");
    if (!QDir().mkpath(folder)) return {};
    const QFileInfo info(folder);
    if (info.isSymLink() || info.ownerId() != ::getuid()) return {};
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

// A blank-free path that leads to the folder.
QString FolderAlias(const QString& folder)
{
    if (!HasBlank(folder)) return folder;
    const QString links = LinkFolder();
    if (links.isEmpty()) return {};
    const QString name
        = QString::fromLatin1(QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    const QString link = links + QLatin1Char('/') + name;
    const QFileInfo existing(link);
    if (existing.isSymLink()) {
        if (existing.symLinkTarget() == folder) return link;
        QFile::remove(link);
    }
    return QFile::link(folder, link) ? link : QString();
}

} // namespace

QString ShortPathName(const QString& path)
{
    if (!HasBlank(path)) return path;
    const QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    const QString folder = info.absolutePath();
    const QString alias = FolderAlias(folder);
    if (alias.isEmpty()) return {};

    const QString name = info.fileName();
    if (!HasBlank(name)) return alias + QLatin1Char('/') + name;
    const QString suffix = info.suffix();
    QString base = WithoutBlanks(suffix.isEmpty() ? name : name.left(name.size() - suffix.size() - 1));
    const QString extension = suffix.isEmpty() ? QString() : QLatin1Char('.') + WithoutBlanks(suffix);
    for (int n = 1; n < 100000; ++n) {
        const QString candidate = base + QLatin1Char('~') + QString::number(n) + extension;
        if (!QFileInfo::exists(folder + QLatin1Char('/') + candidate)) return alias + QLatin1Char('/') + candidate;
    }
    return {};
}

} // namespace files
