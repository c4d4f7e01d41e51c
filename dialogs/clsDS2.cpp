#include "dialogs/clsDS2.h"

#include "platform/forms/RuntimeError.h"
#include "platform/files/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

const QString Source = QStringLiteral("clsDS2");

// The table row of each key byte, so that a step looks up AddTable(x, key(k)) as rows[k][x].
std::vector<const std::uint8_t*> KeyRows(const std::array<std::uint8_t, 256 * 256>& table, const QByteArray& key)
{
    std::vector<const std::uint8_t*> rows(key.size());
    for (qsizetype k = 0; k < key.size(); ++k)
        rows[k] = table.data() + 256 * static_cast<std::uint8_t>(key[k]);
    return rows;
}

bool ReadWhole(QFile& file, char* into, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(into + done, size - done);
        if (got <= 0) return false;
        done += got;
    }
    return true;
}

bool WriteWhole(const QString& path, const char* bytes, qint64 size)
{
    // Written beside the destination and put in its place only when complete: a failed write
    // leaves the old destination as it was.
    return files::WriteWholeFile(path, QByteArray::fromRawData(bytes, size));
}

bool MayWrite(const QString& source, const QString& destination, bool overwrite)
{
    const QFileInfo src(source);
    if (!src.exists() || src.isDir()) return false;
    return overwrite || !QFileInfo::exists(destination);
}

// Each byte as two uppercase hexadecimal digits.
QString HexPairs(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex().toUpper()); }

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

// Pairs of hexadecimal digits back to the characters whose codes they are; a lone last digit
// is a code of its own.
QString DecodeHex(const QString& hex)
{
    QString text;
    text.reserve(hex.size() / 2 + 1);
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        int code = 0;
        for (qsizetype j = i; j < std::min(i + 2, hex.size()); ++j) {
            const int digit = HexDigit(hex[j]);
            if (digit < 0) forms::Raise(forms::Err::TypeMismatch, Source);
            code = code * 16 + digit;
        }
        text += QChar(code);
    }
    return text;
}

} // namespace

clsDS2::clsDS2(QObject* parent)
    : QObject(parent)
{
    for (int i = 0; i < 256; ++i)
        for (int j = 0; j < 256; ++j)
            AddTable[256 * i + j] = static_cast<std::uint8_t>((i + j) % 255);
}

void clsDS2::PadKey(QByteArray& key)
{
    while (key.size() < 3)
        key.append('\x01');
}

void clsDS2::FillPadding(std::uint8_t* d, std::size_t dataSize)
{
    auto* random = QRandomGenerator::global();
    const auto pad = [&] { return static_cast<std::uint8_t>(random->bounded(1, 255)); };
    for (int i = 0; i < PaddingBefore; ++i)
        d[i] = pad();
    for (int i = 0; i < PaddingAfter; ++i)
        d[PaddingBefore + dataSize + i] = pad();
}

void clsDS2::PassDone(int pass)
{
    static const QMetaMethod progress = QMetaMethod::fromSignal(&clsDS2::Progress);
    if (!isSignalConnected(progress)) return;
    // The share done, rounded to the nearest whole percent, ties to even.
    emit Progress(static_cast<qint16>(std::lrint(pass * 100.0 / Passes)));
}

// The sixteen passes run as a wavefront: pass p works two pairs behind pass p - 1, on bytes that
// pass has finished with, so the sixteen steps of one round touch different bytes and the
// processor overlaps them. Every pass still sees its bytes exactly as after the pass before.
// Step s of each pass is the s-th pair it visits; pass p takes step s in round s + 2p.
//
// The pair (j, j + 1) always meets key bytes j mod m and j mod m + 1; the rounds in which all
// sixteen passes work look their table rows up in a copy of the key's rows long enough that the
// sixteen pairs of a round need no wrap-around.

namespace {

constexpr std::size_t Lag = 2 * (clsDS2::Passes - 1);

struct Schedule {
    std::size_t steps; // pairs per pass: size - 1
    std::size_t rounds() const { return steps + Lag; }
    // The passes at work in a round.
    int First(std::size_t round) const { return round >= steps ? static_cast<int>((round - steps) / 2 + 1) : 0; }
    int Last(std::size_t round) const { return static_cast<int>(std::min<std::size_t>(round / 2, clsDS2::Passes - 1)); }
    // The pass that ends with this round, or 0 when none does (passes counted from 1).
    int Finished(std::size_t round) const
    {
        return round + 1 >= steps && (round + 1 - steps) % 2 == 0 ? static_cast<int>((round + 1 - steps) / 2) + 1 : 0;
    }
};

// rows[j mod m] and rows[j mod m + 1], for j from 0 past m by the width of a round.
struct KeyRuns {
    std::vector<const std::uint8_t*> first;
    std::vector<const std::uint8_t*> second;
    KeyRuns(const std::vector<const std::uint8_t*>& rows, std::size_t m)
    {
        for (std::size_t j = 0; j < m + Lag + 2; ++j) {
            first.push_back(rows[j % m]);
            second.push_back(rows[j % m + 1]);
        }
    }
};

// Encryption's three steps on the pair (j, j + 1).
inline void Mix(std::uint8_t* d, std::size_t j, const std::uint8_t* rowK, const std::uint8_t* rowNext)
{
    const std::uint8_t a = d[j] ^ rowK[d[j + 1]];
    const std::uint8_t b = a ^ d[j + 1];
    d[j] = a ^ rowNext[b];
    d[j + 1] = b;
}

// The same three steps undone, last to first.
inline void Unmix(std::uint8_t* d, std::size_t j, const std::uint8_t* rowK, const std::uint8_t* rowNext)
{
    const std::uint8_t a = d[j] ^ rowNext[d[j + 1]];
    const std::uint8_t b = d[j + 1] ^ a;
    d[j] = a ^ rowK[b];
    d[j + 1] = b;
}

} // namespace

void clsDS2::Encrypt(std::uint8_t* d, std::size_t size, const QByteArray& key)
{
    const std::size_t m = key.size() - 1;
    const auto rows = KeyRows(AddTable, key);
    const KeyRuns runs(rows, m);
    const Schedule plan {size - 1};
    std::size_t round = 0;
    const auto edgeRound = [&] {
        for (int pass = plan.First(round); pass <= plan.Last(round); ++pass) {
            const std::size_t j = round - 2 * pass;
            Mix(d, j, rows[j % m], rows[j % m + 1]);
        }
        if (const int done = plan.Finished(round)) PassDone(done);
        ++round;
    };
    while (round < std::min(Lag, plan.rounds()))
        edgeRound();
    // All sixteen at work: the last pass at pair j, the first at j + Lag.
    for (std::size_t b = (round - Lag) % m; round < plan.steps; ++round) {
        std::uint8_t* at = d + (round - Lag);
        const std::uint8_t* const* rowK = runs.first.data() + b;
        const std::uint8_t* const* rowNext = runs.second.data() + b;
        for (std::size_t q = 0; q < Passes; ++q)
            Mix(at, 2 * q, rowK[2 * q], rowNext[2 * q]);
        if (const int done = plan.Finished(round)) PassDone(done);
        if (++b == m) b = 0;
    }
    while (round < plan.rounds())
        edgeRound();
}

void clsDS2::Decrypt(std::uint8_t* d, std::size_t size, const QByteArray& key)
{
    const std::size_t m = key.size() - 1;
    const auto rows = KeyRows(AddTable, key);
    const KeyRuns runs(rows, m);
    const Schedule plan {size - 1};
    // Pass p undoes, in round r, the pair (j, j + 1) with j = size - 2 - (r - 2p).
    std::size_t round = 0;
    const auto edgeRound = [&] {
        for (int pass = plan.First(round); pass <= plan.Last(round); ++pass) {
            const std::size_t j = size - 2 - (round - 2 * pass);
            Unmix(d, j, rows[j % m], rows[j % m + 1]);
        }
        if (const int done = plan.Finished(round)) PassDone(done);
        ++round;
    };
    while (round < std::min(Lag, plan.rounds()))
        edgeRound();
    // All sixteen at work: the first pass at pair j, the last at j + Lag.
    for (std::size_t c = (size - 2 - round) % m; round < plan.steps; ++round) {
        std::uint8_t* at = d + (size - 2 - round);
        const std::uint8_t* const* rowK = runs.first.data() + c;
        const std::uint8_t* const* rowNext = runs.second.data() + c;
        for (std::size_t p = 0; p < Passes; ++p)
            Unmix(at, 2 * p, rowK[2 * p], rowNext[2 * p]);
        if (const int done = plan.Finished(round)) PassDone(done);
        c = c == 0 ? m - 1 : c - 1;
    }
    while (round < plan.rounds())
        edgeRound();
}

QByteArray clsDS2::EncryptByte(QByteArray& data, QByteArray& key)
{
    PadKey(key);
    const qsizetype n = data.size();
    QByteArray padded(n + PaddingBefore + PaddingAfter, Qt::Uninitialized);
    auto* d = reinterpret_cast<std::uint8_t*>(padded.data());
    if (n > 0) std::memcpy(d + PaddingBefore, data.constData(), n);
    FillPadding(d, n);
    Encrypt(d, padded.size(), key);
    data = padded;
    return padded;
}

QByteArray clsDS2::DecryptByte(QByteArray& data, QByteArray& key)
{
    PadKey(key);
    if (data.size() < PaddingBefore + PaddingAfter) forms::Raise(forms::Err::InvalidProcedureCall, Source);
    QByteArray work = data;
    Decrypt(reinterpret_cast<std::uint8_t*>(work.data()), work.size(), key);
    data = work.mid(PaddingBefore, work.size() - PaddingBefore - PaddingAfter);
    return data;
}

QString clsDS2::EnHex(const QString& text) const { return HexPairs(text.toUtf8()); }

QString clsDS2::EncryptString(const QString& text, const QString& key, bool hexOutput)
{
    QByteArray data = text.toUtf8();
    QByteArray keyBytes = key.toUtf8();
    const QByteArray cipher = EncryptByte(data, keyBytes);
    // Cipher text is bytes, not text: its hex form is one pair per byte.
    return hexOutput ? HexPairs(cipher) : QString::fromLatin1(cipher);
}

QString clsDS2::DecryptString(QString& text, const QString& key, bool hexInput)
{
    if (hexInput) text = DecodeHex(text);
    QByteArray data = text.toLatin1();
    QByteArray keyBytes = key.toUtf8();
    return QString::fromUtf8(DecryptByte(data, keyBytes));
}

bool clsDS2::EncryptFile(const QString& source, const QString& destination, bool overwrite, const QString& key)
{
    if (!MayWrite(source, destination, overwrite)) return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return false;
    // The file, a blank byte after it, and room for the padding on either side.
    const qint64 n = in.size() + 1;
    QByteArray buffer(n + PaddingBefore + PaddingAfter, Qt::Uninitialized);
    if (!ReadWhole(in, buffer.data() + PaddingBefore, n - 1)) return false;
    in.close();
    buffer[PaddingBefore + n - 1] = ' ';
    auto* d = reinterpret_cast<std::uint8_t*>(buffer.data());
    FillPadding(d, n);
    QByteArray keyBytes = key.toUtf8();
    PadKey(keyBytes);
    Encrypt(d, buffer.size(), keyBytes);
    return WriteWhole(destination, buffer.constData(), buffer.size());
}

bool clsDS2::DecryptFile(const QString& source, const QString& destination, bool overwrite, const QString& key)
{
    if (!MayWrite(source, destination, overwrite)) return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const qint64 size = in.size();
    if (size < PaddingBefore + PaddingAfter) return false;
    QByteArray buffer(size, Qt::Uninitialized);
    if (!ReadWhole(in, buffer.data(), size)) return false;
    in.close();
    QByteArray keyBytes = key.toUtf8();
    PadKey(keyBytes);
    Decrypt(reinterpret_cast<std::uint8_t*>(buffer.data()), size, keyBytes);
    return WriteWhole(destination, buffer.constData() + PaddingBefore, size - PaddingBefore - PaddingAfter);
}
