#include "tests/writing/WriterFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <sys/stat.h>

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    return true;
}

QString RunTool(const QString& program, const QStringList& arguments, int* exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The tools read and write file names in the locale's character set.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(300000);
    if (exitCode) *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAll());
}

int SessionsOnImage(const QString& image)
{
    const QString toc = RunTool(QStringLiteral("xorriso"), {QStringLiteral("-indev"), QStringLiteral("stdio:") + image, QStringLiteral("-toc")});
    int sessions = 0;
    for (const QString& line : toc.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("ISO session"))) ++sessions;
    return sessions;
}

bool ExtractImage(const QString& image, const QString& folder, int session)
{
    QStringList arguments {QStringLiteral("-osirrox"), QStringLiteral("on"), QStringLiteral("-indev"), QStringLiteral("stdio:") + image};
    if (session > 0) arguments << QStringLiteral("-load") << QStringLiteral("session") << QString::number(session);
    arguments << QStringLiteral("-extract") << QStringLiteral("/") << folder;
    int code = 0;
    RunTool(QStringLiteral("xorriso"), arguments, &code);
    return code == 0;
}

QStringList FilesOnImage(const QString& image)
{
    const QString found = RunTool(QStringLiteral("xorriso"), {QStringLiteral("-indev"), QStringLiteral("stdio:") + image,
        QStringLiteral("-find"), QStringLiteral("/"), QStringLiteral("-type"), QStringLiteral("f")});
    QStringList files;
    for (const QString& line : found.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1Char('\'')) && line.endsWith(QLatin1Char('\''))) files << line.mid(1, line.size() - 2);
    return files;
}

int NextWritableAddress(const QString& image)
{
    const QString toc = RunTool(QStringLiteral("xorriso"), {QStringLiteral("-indev"), QStringLiteral("stdio:") + image, QStringLiteral("-toc")});
    for (const QString& line : toc.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Media nwa"))) return line.section(QLatin1Char(':'), 1).trimmed().chopped(1).toInt();
    return -1;
}

void MakeFile(const QString& path, qint64 size, char fill)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    QByteArray chunk(64 * 1024, fill);
    for (qint64 i = 0; i < std::min<qint64>(size, chunk.size()); ++i) chunk[int(i % chunk.size())] = char('a' + (i * 7 + fill) % 26);
    qint64 left = size;
    while (left > 0) {
        const qint64 n = std::min<qint64>(left, chunk.size());
        file.write(chunk.constData(), n);
        left -= n;
    }
}

void MakeSourceTree(const QString& folder)
{
    QDir(folder).mkpath(QStringLiteral("sub/deeper"));
    MakeFile(folder + QStringLiteral("/readme.txt"), 1536);
    MakeFile(folder + QStringLiteral("/NOEXTENSION"), 1234567);
    MakeFile(folder + QStringLiteral("/.hidden"), 10);
    MakeFile(folder + QStringLiteral("/Grüße aus Köln.txt"), 300);
    MakeFile(folder + QStringLiteral("/empty.dat"), 0);
    MakeFile(folder + QStringLiteral("/sub/inner.bin"), 5000, 'q');
    MakeFile(folder + QStringLiteral("/sub/deeper/leaf.txt"), 42, 'z');
    // A pipe would never end if it were read; the image leaves it out.
    mkfifo((folder + QStringLiteral("/pipe")).toLocal8Bit().constData(), 0600);
}

RecorderFixture::RecorderFixture()
{
    image = dir.file(QStringLiteral("recorder.iso"));
    qputenv("TESSEL_RECORDER", image.toUtf8());
    writer = std::make_unique<CDWriterXP>();
    writer->OpenDevice(writer->DeviceCount() - 1);
    QObject::connect(writer.get(), &CDWriterXP::WriteComplete, [this] { last_ = QStringLiteral("WriteComplete"); });
    QObject::connect(writer.get(), &CDWriterXP::WriteCancelled, [this] { last_ = QStringLiteral("WriteCancelled"); });
    QObject::connect(writer.get(), &CDWriterXP::WriteError, [this](const QString& text, int number) {
        last_ = QStringLiteral("WriteError");
        lastError = QStringLiteral("%1 %2").arg(number).arg(text);
    });
    QObject::connect(writer.get(), &CDWriterXP::EraseComplete, [this] { last_ = QStringLiteral("EraseComplete"); });
}

RecorderFixture::~RecorderFixture()
{
    writer.reset();
    qunsetenv("TESSEL_RECORDER");
}

QString RecorderFixture::WriteAndWait()
{
    if (!writer->StartWrite()) return QStringLiteral("refused");
    return WaitForEnd();
}

QString RecorderFixture::WaitForEnd()
{
    last_.clear();
    if (!WaitFor([this] { return !last_.isEmpty() && !writer->Busy(); })) return QStringLiteral("timeout");
    return last_;
}
