#include "platform/files/FileCopy.h"

#include <filesystem>
#include <system_error>

namespace files {

bool CopyFile(const QString& source, const QString& target)
{
    namespace fs = std::filesystem;
    if (source.isEmpty() || target.isEmpty()) return false;
    const fs::path from(source.toStdString());
    const fs::path to(target.toStdString());
    std::error_code error;
    if (!fs::is_regular_file(from, error)) return false;
    if (fs::exists(to, error) && fs::equivalent(from, to, error)) return false;

    // Written beside the target first, then put in its place in one step.
    fs::path partial = to;
    partial += ".partial";
    if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, error)) {
        fs::remove(partial, error);
        return false;
    }
    fs::rename(partial, to, error);
    if (error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return false;
    }
    return true;
}

} // namespace files
