#include "platform/shell/ShellExecute.h"

#include "platform/shell/CommonDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace shell {

namespace {

UrlOpener& Opener()
{
    static UrlOpener opener;
    return opener;
}

bool Open(const QUrl& url) { return Opener() ? Opener()(url) : QDesktopServices::openUrl(url); }

// "https://host/page", "mailto:someone@host": an address with a scheme; a path is none.
bool IsAddress(const QString& target)
{
    if (target.startsWith(QLatin1Char('/'))) return false;
    const QUrl url(target, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1;
}

bool IsOpenVerb(const QString& operation)
{
    return operation.isEmpty() || operation.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0
        || operation.compare(QLatin1String("explore"), Qt::CaseInsensitive) == 0;
}

} // namespace

int ShellExecute(const QString& operation, const QString& file, const QString& /*parameters*/, const QString& directory,
    int /*showCommand*/)
{
    if (!IsOpenVerb(operation)) return ShellResult::NoAssociation;
    if (file.isEmpty()) return ShellResult::FileNotFound;
    if (IsAddress(file)) return Open(QUrl(file, QUrl::StrictMode)) ? ShellResult::Opened : ShellResult::NoAssociation;

    const QFileInfo target(directory.isEmpty() ? QDir::current() : QDir(directory), file);
    if (!target.exists()) return target.dir().exists() ? ShellResult::FileNotFound : ShellResult::PathNotFound;
    return Open(QUrl::fromLocalFile(target.absoluteFilePath())) ? ShellResult::Opened : ShellResult::NoAssociation;
}

UrlOpener SetUrlOpener(UrlOpener opener)
{
    UrlOpener before = std::move(Opener());
    Opener() = std::move(opener);
    return before;
}

void ShowHelpFile(const forms::HelpRequest& request)
{
    constexpr int HelpQuit = 2;
    if (request.command == HelpQuit || request.helpFile.isEmpty()) return;
    ShellExecute(QStringLiteral("open"), request.helpFile, QString(), QString(), 1);
}

} // namespace shell
