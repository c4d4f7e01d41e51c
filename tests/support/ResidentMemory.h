#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <unistd.h>

// The resident memory of this process in MB, as the system counts it (/proc/self/statm). Tests and
// benchmarks watch with it what a long session keeps.
inline double ResidentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}
