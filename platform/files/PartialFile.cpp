#include "platform/files/PartialFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <unistd.h>

namespace files {

namespace {

// The process id in the name of a hidden file made for `target` ("." target "." pid "." n
// ".part"), or 0 when the name is not one of them.
pid_t WriterOf(const std::string& name, const std::string& target)
{
    const std::string head = "." + target + ".";
    const std::string tail = ".part";
    if (name.size() <= head.size() + tail.size() || name.compare(0, head.size(), head) != 0
        || name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return 0;
    const std::string middle = name.substr(head.size(), name.size() - head.size() - tail.size());
    const std::size_t dot = middle.find('.');
    const auto digits = [](const std::string& text) {
        return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
    };
    if (dot == std::string::npos || !digits(middle.substr(0, dot)) || !digits(middle.substr(dot + 1))) return 0;
    return static_cast<pid_t>(std::stoi(middle.substr(0, dot)));
}

// Removes the hidden files that writers of `target` killed before they could finish left in
// `folder`. A file whose writer still runs (or may run: it belongs to another user) is kept.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& target)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const pid_t writer = WriterOf(it->path().filename().string(), target);
        if (writer <= 0 || writer == ::getpid()) continue;
        if (::kill(writer, 0) == 0 || errno != ESRCH) continue;
        ::unlink(it->path().c_str());
    }
}

} // namespace

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
    RemoveLeftovers(folder, to.filename().string());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".";
        name += to.filename().string() + "." + std::to_string(::getpid()) + "." + std::to_string(counter++)
            + ".part";
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
