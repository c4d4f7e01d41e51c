#include "tests/tools/SoundTest.h"

#include "tests/support/TonePower.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cmath>
#include <numbers>

namespace {

QString Run(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        if (exitCode) *exitCode = -1;
        return {};
    }
    if (exitCode) *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

std::atomic<int> sinkCount {0};

} // namespace

bool SoundServerRuns()
{
    int code = -1;
    Run(QStringLiteral("pactl"), {QStringLiteral("info")}, &code);
    return code == 0;
}

TestSink::TestSink()
{
    if (!SoundServerRuns()) return;
    name_ = QStringLiteral("tessel_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(sinkCount++);
    int code = -1;
    const QString index = Run(QStringLiteral("pactl"),
        {QStringLiteral("load-module"), QStringLiteral("module-null-sink"), QStringLiteral("sink_name=") + name_},
        &code);
    if (code != 0) return;
    module_ = index.toInt();
    qputenv("PULSE_SOURCE", (name_ + QStringLiteral(".monitor")).toUtf8());
    qputenv("PULSE_SINK", name_.toUtf8());

    // A new null sink hands out its sound in blocks of two seconds until a client asks for short
    // ones; a listener that asks for them, and whose first sound has arrived, keeps it quick for
    // the recordings of the test.
    primerFile_ = QDir::temp().filePath(name_ + QStringLiteral("-primer.raw"));
    primer_ = std::make_unique<QProcess>();
    primer_->setStandardOutputFile(primerFile_);
    primer_->start(QStringLiteral("pacat"),
        {QStringLiteral("--record"), QStringLiteral("--latency-msec=20"),
            QStringLiteral("--device=") + name_ + QStringLiteral(".monitor")});
    primer_->waitForStarted(10000);
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(primerFile_).size() == 0 && clock.elapsed() < 20000)
        QThread::msleep(20);
}

TestSink::~TestSink()
{
    if (player_) {
        player_->kill();
        player_->waitForFinished(5000);
    }
    if (!toneFile_.isEmpty()) QFile::remove(toneFile_);
    if (primer_) {
        primer_->kill();
        primer_->waitForFinished(5000);
        QFile::remove(primerFile_);
    }
    if (module_ < 0) return;
    qunsetenv("PULSE_SOURCE");
    qunsetenv("PULSE_SINK");
    Run(QStringLiteral("pactl"), {QStringLiteral("unload-module"), QString::number(module_)});
}

bool TestSink::PlayTone(int frequency, double seconds)
{
    toneFile_ = QDir::temp().filePath(name_ + QStringLiteral("-tone.wav"));
    Run(QStringLiteral("sox"),
        {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"), QStringLiteral("1"),
            QStringLiteral("-b"), QStringLiteral("16"), toneFile_, QStringLiteral("synth"), QString::number(seconds),
            QStringLiteral("sine"), QString::number(frequency), QStringLiteral("vol"), QStringLiteral("0.5")});
    // The listener hears the sink: the tone sounds once what it records since now is no longer
    // the null sink's silence (all zero bytes).
    const qint64 heardFrom = QFileInfo(primerFile_).size();
    player_ = std::make_unique<QProcess>();
    player_->start(QStringLiteral("paplay"), {QStringLiteral("--device=") + name_, toneFile_});
    player_->waitForStarted(10000);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        QFile heard(primerFile_);
        if (heard.open(QIODevice::ReadOnly) && heard.seek(heardFrom)) {
            const QByteArray sound = heard.readAll();
            if (sound.count('\0') < sound.size()) return true;
        }
        QThread::msleep(20);
    }
    return false;
}

void TestSink::WaitForTone()
{
    if (player_) player_->waitForFinished(60000);
}

NoSoundServer::NoSoundServer()
    : previous_(qgetenv("PULSE_SERVER"))
    , had_(qEnvironmentVariableIsSet("PULSE_SERVER"))
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/tessel-no-sound-server");
}

NoSoundServer::~NoSoundServer()
{
    if (had_)
        qputenv("PULSE_SERVER", previous_);
    else
        qunsetenv("PULSE_SERVER");
}

namespace {

quint32 Le(const QByteArray& b, int at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

} // namespace

WaveFileInfo ReadWaveFile(const QString& path)
{
    WaveFileInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return info;
    const QByteArray b = file.readAll();
    if (b.size() < 44 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE") return info;
    if (Le(b, 4, 4) + 8 != quint32(b.size())) return info;
    int at = 12;
    bool haveFormat = false;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const int size = int(Le(b, at + 4, 4));
        const int body = at + 8;
        if (body + size > b.size()) return info;
        if (id == "fmt ") {
            info.format = int(Le(b, body, 2));
            info.channels = int(Le(b, body + 2, 2));
            info.rate = int(Le(b, body + 4, 4));
            info.bytesPerSecond = int(Le(b, body + 8, 4));
            info.blockAlign = int(Le(b, body + 12, 2));
            info.bitsPerSample = int(Le(b, body + 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            info.data = b.mid(body, size);
            info.valid = haveFormat;
            return info;
        }
        at = body + size + (size & 1);
    }
    return info;
}

int DominantFrequency(const WaveFileInfo& wave)
{
    if (!wave.valid || wave.blockAlign == 0) return 0;
    const int frames = int(wave.data.size() / wave.blockAlign);
    std::vector<double> samples;
    for (int i = 0; i < frames; ++i) {
        const int at = i * wave.blockAlign;
        if (wave.bitsPerSample == 8)
            samples.push_back((quint8(wave.data[at]) - 128) / 128.0);
        else
            samples.push_back(qint16(Le(wave.data, at, 2)) / 32768.0);
    }
    // One second from the middle, where the tone certainly sounds.
    const std::size_t length = std::min<std::size_t>(samples.size(), std::size_t(wave.rate));
    const std::size_t start = (samples.size() - length) / 2;
    int best = 0;
    double bestPower = 0;
    for (int f = 100; f <= 4000; f += 5) {
        const double power = TonePower(samples, start, length, f, wave.rate);
        if (power > bestPower) {
            bestPower = power;
            best = f;
        }
    }
    return best;
}

QByteArray MidiFile(int notes)
{
    QByteArray track;
    const auto event = [&](std::initializer_list<int> bytes) {
        for (int b : bytes)
            track.append(char(b));
    };
    event({0x00, 0xC0, 0x00}); // piano
    for (int i = 0; i < notes; ++i) {
        event({0x00, 0x90, 60 + i % 12, 100});
        event({0x83, 0x60, 0x80, 60 + i % 12, 0}); // 480 ticks later
    }
    event({0x00, 0xFF, 0x2F, 0x00});

    QByteArray file("MThd");
    file.append("\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 10); // format 0, one track, 480 ticks per quarter
    file.append("MTrk");
    const int size = int(track.size());
    file.append(char(size >> 24)).append(char(size >> 16)).append(char(size >> 8)).append(char(size));
    file.append(track);
    return file;
}
