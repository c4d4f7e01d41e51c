#include "tests/fuzz/FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

QTemporaryDir* scratch = nullptr;

} // namespace

QString ScratchFile(const QString& name) { return scratch->filePath(name); }

QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size)
{
    const QString path = ScratchFile(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        Broken("cannot write the input to the scratch folder");
    return path;
}

void WaitFor(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void Broken(const char* what)
{
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

} // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The program's settings go to a folder of this process, never the user's own; the folder
    // and every file an input became are removed when the process ends normally.
    fuzz::scratch = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tessel-fuzz-XXXXXX"));
    if (!fuzz::scratch->isValid()) fuzz::Broken("cannot make a scratch folder");
    std::atexit([] { delete fuzz::scratch; });
    const QString home = fuzz::ScratchFile(QStringLiteral("home"));
    QDir().mkpath(home);
    qputenv("TESSEL_HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Inputs are damaged on purpose: the warnings Qt gives about them (a file name with a NUL in
    // it, say) would bury the report that matters. Critical and fatal messages still go out.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    new QCoreApplication(*argc, *argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessel"));
    return 0;
}
