#pragma once

#include <QString>
#include <sys/mount.h>
#include <unistd.h>

// A small file system of the test's own over a folder, so a full disk or a read-only folder can
// be had. Mounting needs root: Mounted() tells whether the test can go on.
class ScratchMount {
public:
    ScratchMount(const QString& path, const char* options)
        : path_(path)
    {
        mounted_ = ::geteuid() == 0 && ::mount("tessel-test", path.toLocal8Bit().constData(), "tmpfs", 0, options) == 0;
    }
    ~ScratchMount()
    {
        if (mounted_) ::umount(path_.toLocal8Bit().constData());
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;
    bool Mounted() const { return mounted_; }

private:
    QString path_;
    bool mounted_ = false;
};
