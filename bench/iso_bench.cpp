// Building and writing an ISO image of a generated tree (10,000 small files in 100 folders and
// four large files, about 500 MB) with the CD writer, beside the xorriso tool doing the same with
// the same options (ISO9660 level 2, Joliet, no Rock Ridge). Each side runs in a child process of
// its own, so its time and peak memory are its own; each runs three times, alternating, and the
// best time and the highest peak count.
// Goals: within 1.2x of xorriso's time and of its peak memory (the whole process's largest
// resident size). What each process holds before it has any work is shown beside it, as
// information only.
//
// Usage: iso_bench [folder]   (the tree is made in the folder, or in a temporary one)
//        iso_bench --write <tree> <iso>   (the child: one image written by the CD writer)
#include "components/cdwriter/CDWriterXP.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;
constexpr qint64 kLargeFile = 120 * 1000 * 1000;
constexpr int kLargeFiles = 4;

void MakeFile(const QString& path, qint64 size, int seed)
{
    static const QByteArray pattern = [] {
        QByteArray bytes(1 << 20, '\0');
        for (int i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 31 + i / 4093) & 0xff);
        return bytes;
    }();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    const int offset = (seed * 4099) % 65536;
    for (qint64 left = size; left > 0;) {
        const qint64 n = std::min<qint64>(left, pattern.size() - offset);
        file.write(pattern.constData() + offset, n);
        left -= n;
    }
}

void MakeTree(const QString& root)
{
    QDir dir(root);
    for (int f = 0; f < kFolders; ++f) {
        const QString folder = QStringLiteral("folder %1").arg(f, 3, 10, QLatin1Char('0'));
        dir.mkpath(folder);
        for (int i = 0; i < kFilesPerFolder; ++i)
            MakeFile(dir.filePath(QStringLiteral("%1/small file number %2.txt").arg(folder).arg(i)), 500 + (i * 97) % 8000, i);
    }
    dir.mkpath(QStringLiteral("large"));
    for (int i = 0; i < kLargeFiles; ++i) MakeFile(dir.filePath(QStringLiteral("large/movie %1.bin").arg(i)), kLargeFile, i);
}

int WriteWithCdWriter(const QString& tree, const QString& iso)
{
    CDWriterXP writer;
    if (!writer.AddDirectory(QStringLiteral("/tree"), tree + QStringLiteral("/*.*"))) return 2;
    return writer.CreateIsoFile(iso) ? 0 : 1;
}

struct Run {
    double seconds = 0;
    long peakKb = 0;
    int status = -1;
};

Run RunChild(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        if (std::freopen("/dev/null", "w", stdout) && std::freopen("/dev/null", "w", stderr)) { }
        execvp(args[0], args.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--write") return WriteWithCdWriter(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QTemporaryDir temporary;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString tree = base + QStringLiteral("/tree");
    if (!QDir(tree).exists()) {
        std::printf("making the tree in %s ...\n", qPrintable(tree));
        MakeTree(tree);
    }
    const std::string ours = (base + QStringLiteral("/ours.iso")).toStdString();
    const std::string theirs = (base + QStringLiteral("/xorriso.iso")).toStdString();
    const std::string self = QCoreApplication::applicationFilePath().toStdString();

    Run best[2];
    for (int round = 0; round < 3; ++round) {
        QFile::remove(QString::fromStdString(ours));
        QFile::remove(QString::fromStdString(theirs));
        const Run a = RunChild({self, "--write", tree.toStdString(), ours});
        const Run b = RunChild({"xorriso", "-abort_on", "FAILURE", "-outdev", "stdio:" + theirs, "-compliance",
            "iso_9660_level=2", "-joliet", "on", "-rockridge", "off", "-map", tree.toStdString(), "/tree", "-commit"});
        if (a.status != 0 || b.status != 0) {
            std::printf("a run failed: cd writer %d, xorriso %d\n", a.status, b.status);
            return 1;
        }
        const Run runs[2] = {a, b};
        for (int i = 0; i < 2; ++i) {
            if (round == 0 || runs[i].seconds < best[i].seconds) best[i].seconds = runs[i].seconds;
            best[i].peakKb = std::max(best[i].peakKb, runs[i].peakKb);
        }
    }
    // What each process holds before it has any work: its libraries and start-up.
    const QString empty = base + QStringLiteral("/empty");
    QDir().mkpath(empty);
    const Run idleOurs = RunChild({self, "--write", empty.toStdString(), ours + ".empty"});
    const Run idleTheirs = RunChild({"xorriso", "-outdev", "stdio:" + theirs + ".empty", "-joliet", "on", "-rockridge", "off",
        "-map", empty.toStdString(), "/tree", "-commit"});
    QFile::remove(QString::fromStdString(ours + ".empty"));
    QFile::remove(QString::fromStdString(theirs + ".empty"));

    const qint64 oursSize = QFile(QString::fromStdString(ours)).size();
    const qint64 theirsSize = QFile(QString::fromStdString(theirs)).size();
    std::printf("image size: cd writer %.1f MB, xorriso %.1f MB\n", oursSize / 1e6, theirsSize / 1e6);
    const double timeRatio = best[0].seconds / best[1].seconds;
    const double memoryRatio = double(best[0].peakKb) / double(best[1].peakKb);
    std::printf("time:       cd writer %.2f s, xorriso %.2f s   ratio %.2f   goal <= 1.20   %s\n", best[0].seconds,
        best[1].seconds, timeRatio, timeRatio <= 1.2 ? "goal met" : "goal missed");
    std::printf("peak RSS:   cd writer %ld kB, xorriso %ld kB   ratio %.2f   goal <= 1.20   %s\n", best[0].peakKb,
        best[1].peakKb, memoryRatio, memoryRatio <= 1.2 ? "goal met" : "goal missed");
    std::printf("            (before any work: cd writer %ld kB, xorriso %ld kB)\n", idleOurs.peakKb, idleTheirs.peakKb);
    return 0;
}
