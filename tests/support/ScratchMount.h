#pragma once

#include <QByteArray>
#include <QFile>
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

    // Fills the file system with a file of that name (a tmpfs keeps whole pages of 4 KB).
    void Fill(const QString& name = QStringLiteral("filler")) const
    {
        QFile filler(path_ + QLatin1Char('/') + name);
        if (!filler.open(QIODevice::WriteOnly)) return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

private:
    QString path_;
    bool mounted_ = false;
};
