// Encrypts and decrypts a file of 100 MB (or the size in MB given) with the byte-table cipher and
// reports the speed of each direction. There is no goal: the figures are for comparison between
// versions.
#include "dialogs/clsDS2.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.bin"));
    {
        QFile file(plain);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (qint64 i = 0; i < megabytes; ++i) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
            file.write(block);
        }
    }

    clsDS2 cipher;
    QElapsedTimer clock;
    clock.start();
    if (!cipher.EncryptFile(plain, dir.filePath(QStringLiteral("secret.bin")), true, QStringLiteral("bench key"))) {
        std::fprintf(stderr, "EncryptFile failed\n");
        return 1;
    }
    const double encryptSeconds = clock.nsecsElapsed() / 1e9;
    clock.restart();
    if (!cipher.DecryptFile(dir.filePath(QStringLiteral("secret.bin")), dir.filePath(QStringLiteral("back.bin")), true,
            QStringLiteral("bench key"))) {
        std::fprintf(stderr, "DecryptFile failed\n");
        return 1;
    }
    const double decryptSeconds = clock.nsecsElapsed() / 1e9;
    std::printf("EncryptFile: %lld MB in %.2f s, %.1f MB/s\n", static_cast<long long>(megabytes), encryptSeconds,
        megabytes / encryptSeconds);
    std::printf("DecryptFile: %lld MB in %.2f s, %.1f MB/s\n", static_cast<long long>(megabytes), decryptSeconds,
        megabytes / decryptSeconds);
    std::printf("(no goal set: figures for comparison between versions)\n");
    return 0;
}
