#include "tests/e2e/PlayerProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

PlayerProcess::PlayerProcess(const QString& programFolder)
    : programFolder_(programFolder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TESSEL_HOME"), programFolder_);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), programFolder_ + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), programFolder_ + QStringLiteral("/data"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // On a real display the graphics drivers are unloaded with their memory still held, where no
    // leak report can name them; leaks are checked in the in-process tests instead.
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    process_.setProcessEnvironment(env);

    // A player that has run before, unless the test removes this file: the first run's
    // association dialog waits for its user.
    QDir().mkpath(programFolder_);
    QFile first(programFolder_ + QStringLiteral("/First.ini"));
    if (!first.exists() && first.open(QIODevice::WriteOnly)) first.write("\"01/01/2026 12:00:00\"\r\n");
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
}

PlayerProcess::~PlayerProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString PlayerProcess::Binary() { return QStringLiteral(TESSEL_BINARY_DIR "/bin/tessel"); }

QString PlayerProcess::ArtefactFolder()
{
    const QString folder = QStringLiteral(TESSEL_BINARY_DIR "/test-artefacts");
    QDir().mkpath(folder);
    return folder;
}

void PlayerProcess::Start(const QStringList& arguments)
{
    process_.start(Binary(), arguments);
    process_.waitForStarted(10000);
}

namespace {

// A window exists before the window manager shows it; only a shown one can be looked at and used.
bool Viewable(const QString& window)
{
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    info.waitForFinished(20000);
    return info.readAllStandardOutput().contains("Map State: IsViewable");
}

} // namespace

QString PlayerProcess::WaitForWindow(const QString& title, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        QProcess tree;
        tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        tree.waitForFinished(5000);
        const QStringList lines = QString::fromUtf8(tree.readAllStandardOutput()).split(QLatin1Char('\n'));
        static const QRegularExpression idAndName(QStringLiteral("^\\s*(0x[0-9a-f]+) \"(.*)\": .* (\\d+)x(\\d+)"));
        for (const QString& line : lines) {
            const auto m = idAndName.match(line);
            if (m.hasMatch() && m.captured(2).contains(title) && m.captured(3).toInt() > 50 && Viewable(m.captured(1)))
                return m.captured(1);
        }
        QThread::msleep(200);
    }
    return QString();
}

QString PlayerProcess::Screenshot(const QString& windowId, const QString& name)
{
    const QString path = ArtefactFolder() + QLatin1Char('/') + name + QStringLiteral(".png");
    // A photograph that fails leaves no file, never the one an earlier run left.
    QFile::remove(path);
    QProcess import;
    import.start(QStringLiteral("import"), {QStringLiteral("-window"), windowId, path});
    import.waitForFinished(20000);
    return path;
}

bool PlayerProcess::Terminate(int timeoutMs)
{
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    return WaitForExit(timeoutMs);
}

bool PlayerProcess::WaitForExit(int timeoutMs)
{
    if (process_.state() == QProcess::NotRunning) return true;
    return process_.waitForFinished(timeoutMs);
}
