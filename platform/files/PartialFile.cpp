#include "platform/files/PartialFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace files {

PartialFile::~PartialFile() { Discard(); }

PartialFile::PartialFile(PartialFile&& other) noexcept { *this = std::move(other); }

PartialFile& PartialFile::operator=(PartialFile&& other) noexcept
{
    if (this == &other) return *this;
    Discard();
    target_ = std::move(other.target_);
    partial_ = std::move(other.partial_);
    file_ = other.file_;
    exists_ = other.exists_;
    failed_ = other.failed_;
    other.file_ = nullptr;
    other.exists_ = false;
    return *this;
}

bool PartialFile::Create(const std::string& target)
{
    namespace fs = std::filesystem;
    Discard();
    if (target.empty()) return false;
    std::error_code error;
    const fs::path to(target);
    if (fs::is_directory(to, error) || !to.has_filename()) return false;

    static std::atomic<unsigned> counter {0};
    const fs::path folder = to.has_parent_path() ? to.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "." + to.filename().string() + "." + std::to_string(::getpid()) + "."
            + std::to_string(counter++) + ".part";
        const std::string path = (folder / name).string();
        // Mode 0666 under the process's umask: the finished file gets the usual permissions.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        file_ = ::fdopen(fd, "w+b");
        if (!file_) {
            ::close(fd);
            ::unlink(path.c_str());
            return false;
        }
        target_ = target;
        partial_ = path;
        exists_ = true;
        failed_ = false;
        return true;
    }
    return false;
}

bool PartialFile::Close()
{
    if (!file_) return !failed_;
    if (std::ferror(file_)) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

bool PartialFile::Commit()
{
    if (!exists_) return false;
    if (!Close() || std::rename(partial_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    exists_ = false;
    return true;
}

void PartialFile::Discard()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (exists_) ::unlink(partial_.c_str());
    exists_ = false;
    failed_ = false;
}

} // namespace files
