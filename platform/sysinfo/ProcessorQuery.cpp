#include "platform/sysinfo/ProcessorQuery.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace sysinfo {

namespace {

QString& StatFile()
{
    static QString path = QStringLiteral("/proc/stat");
    return path;
}

// The "cpu" lines of the statistics: busy and total time of each, in clock ticks.
bool ReadTimes(QHash<QString, std::pair<std::uint64_t, std::uint64_t>>& times)
{
    QFile file(StatFile());
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith("cpu")) continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        // user nice system idle iowait irq softirq steal; guest time is inside user already.
        std::uint64_t values[8] = {};
        for (int i = 0; i < 8 && i + 1 < fields.size(); ++i)
            values[i] = fields[i + 1].toULongLong();
        const std::uint64_t idle = values[3] + values[4];
        const std::uint64_t busy = values[0] + values[1] + values[2] + values[5] + values[6] + values[7];
        times.insert(QString::fromLatin1(fields[0]), {busy, busy + idle});
    }
    return true;
}

} // namespace

QString ProcessorQuery::SetStatFile(const QString& path)
{
    QString previous = StatFile();
    StatFile() = path;
    return previous;
}

std::int32_t ProcessorQuery::Open()
{
    QFile file(StatFile());
    open_ = file.open(QIODevice::ReadOnly);
    return open_ ? CounterStatus::ValidData : CounterStatus::FileNotFound;
}

void ProcessorQuery::Close()
{
    open_ = false;
    counters_.clear();
}

std::int32_t ProcessorQuery::AddCounter(const QString& path, int& handle)
{
    static const QRegularExpression processorTime(
        QStringLiteral("^\\\\Processor\\((\\d+|_Total)\\)\\\\% Processor Time$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = processorTime.match(path);
    handle = -1;
    if (!open_ || !match.hasMatch()) return CounterStatus::BadCounterPath;
    const QString instance = match.captured(1);
    Counter counter;
    counter.line = instance.compare(QLatin1String("_Total"), Qt::CaseInsensitive) == 0
        ? QStringLiteral("cpu")
        : QStringLiteral("cpu") + instance;
    counters_.push_back(counter);
    handle = static_cast<int>(counters_.size()) - 1;
    return CounterStatus::ValidData;
}

std::int32_t ProcessorQuery::Collect()
{
    if (!open_) return CounterStatus::FileNotFound;
    QHash<QString, std::pair<std::uint64_t, std::uint64_t>> times;
    if (!ReadTimes(times)) return CounterStatus::NoData;
    for (Counter& counter : counters_) {
        counter.previous = counter.current;
        const auto it = times.constFind(counter.line);
        counter.current = it == times.cend() ? Sample() : Sample {true, it->first, it->second};
        ++counter.samples;
    }
    return CounterStatus::ValidData;
}

double ProcessorQuery::Value(int handle, std::int32_t& status) const
{
    if (handle < 0 || handle >= static_cast<int>(counters_.size())) {
        status = CounterStatus::NoData;
        return 0;
    }
    const Counter& counter = counters_[handle];
    if (counter.samples > 0 && !counter.current.present) {
        status = CounterStatus::NoInstance;
        return 0;
    }
    // A rate needs two samples, and time must have passed between them.
    if (counter.samples < 2 || !counter.previous.present || counter.current.total <= counter.previous.total
        || counter.current.busy < counter.previous.busy) {
        status = CounterStatus::InvalidData;
        return 0;
    }
    status = CounterStatus::ValidData;
    const double busy = static_cast<double>(counter.current.busy - counter.previous.busy);
    const double total = static_cast<double>(counter.current.total - counter.previous.total);
    // Idle time that the kernel counts backwards (it may, for waits on input and output) never
    // makes a processor more than fully busy.
    return std::clamp(100.0 * busy / total, 0.0, 100.0);
}

} // namespace sysinfo
