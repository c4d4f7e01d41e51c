#include "platform/mci/WaveFile.h"

#include "platform/files/WholeFile.h"

#include <QSaveFile>
#include <QString>
#include <cstdint>

namespace mci {

namespace {

void Put16(QByteArray& out, std::uint16_t v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void Put32(QByteArray& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xff));
}

} // namespace

QByteArray WaveHeader(const PcmFormat& format, std::uint32_t dataBytes)
{
    QByteArray h;
    h.append("RIFF");
    Put32(h, 36 + dataBytes + (dataBytes & 1));
    h.append("WAVEfmt ");
    Put32(h, 16);
    Put16(h, 1); // PCM
    Put16(h, std::uint16_t(format.channels));
    Put32(h, std::uint32_t(format.rate));
    Put32(h, std::uint32_t(format.BytesPerSecond()));
    Put16(h, std::uint16_t(format.BlockAlign()));
    Put16(h, std::uint16_t(format.bits));
    h.append("data");
    Put32(h, dataBytes);
    return h;
}

bool WriteWaveFile(const std::string& path, const PcmFormat& format, std::string_view data)
{
    if (data.size() > 0xffffffffu - 64) return false;
    const auto bytes = static_cast<std::uint32_t>(data.size());
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray header = WaveHeader(format, bytes);
    if (file.write(header) != header.size()) return false;
    if (file.write(data.data(), qint64(data.size())) != qint64(data.size())) return false;
    if ((bytes & 1) && file.write("\0", 1) != 1) return false; // chunks are padded to even length
    return files::CommitWhole(file);
}

} // namespace mci
