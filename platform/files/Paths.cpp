#include "platform/files/Paths.h"

#include <QRegularExpression>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace files {

namespace {

fs::path ToPath(const QString& path) { return fs::path(path.toStdString()); }
QString FromPath(const fs::path& path) { return QString::fromStdString(path.string()); }

// The entry of the folder whose name equals name without regard to case; the exact name first.
std::optional<fs::path> FindEntry(const fs::path& folder, const QString& name)
{
    std::error_code ec;
    if (fs::exists(folder / name.toStdString(), ec)) return folder / name.toStdString();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (FromPath(it->path().filename()).compare(name, Qt::CaseInsensitive) == 0) return it->path();
    return std::nullopt;
}

} // namespace

QString LongPathName(const QString& path)
{
    if (path.isEmpty()) return QString();
    std::error_code ec;
    const fs::path absolute = fs::absolute(ToPath(path), ec);
    if (ec || !fs::exists(absolute, ec) || ec) return QString();
    QString result = FromPath(absolute.lexically_normal());
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

std::optional<qint64> FileLength(const QString& path)
{
    if (path.isEmpty()) return std::nullopt;
    std::error_code ec;
    const auto size = fs::file_size(ToPath(path), ec);
    if (ec) return std::nullopt;
    return static_cast<qint64>(size);
}

std::optional<QDateTime> ModifiedTime(const QString& path)
{
    if (path.isEmpty()) return std::nullopt;
    std::error_code ec;
    const auto stamp = fs::last_write_time(ToPath(path), ec);
    if (ec) return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(stamp);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(system.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms);
}

QStringList FindFiles(const QString& pattern)
{
    const QStringList parts = pattern.split(QLatin1Char('/'));
    if (parts.isEmpty() || parts.back().isEmpty()) return {};

    // Walk the folders part by part, matching each name without regard to case.
    fs::path folder = pattern.startsWith(QLatin1Char('/')) ? fs::path("/") : fs::current_path();
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part == QLatin1String(".")) continue;
        if (part == QLatin1String("..")) {
            folder = folder.parent_path();
            continue;
        }
        const auto entry = FindEntry(folder, part);
        if (!entry) return {};
        folder = *entry;
    }

    const QRegularExpression match(
        QRegularExpression::wildcardToRegularExpression(parts.back(), QRegularExpression::UnanchoredWildcardConversion),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression whole(QRegularExpression::anchoredPattern(match.pattern()), match.patternOptions());

    QStringList found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        if (whole.match(FromPath(it->path().filename())).hasMatch()) found << FromPath(it->path());
    }
    return found;
}

} // namespace files
