#include "dialogs/clsDS2.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <vector>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

QByteArray RandomBytes(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(count, Qt::Uninitialized);
    for (char& b : bytes)
        b = static_cast<char>(random.bounded(256));
    return bytes;
}

// The passes written out step by step as the cipher defines them, with both tables, for
// checking the class against.
struct Reference {
    static int Xor(char i, char j) { return u(i) ^ u(j); }
    static int Add(char i, char j) { return (u(i) + u(j)) % 255; }
    static int u(char c) { return static_cast<unsigned char>(c); }
    static char b(int v) { return static_cast<char>(v); }

    static QByteArray Encrypt(QByteArray d, const QByteArray& key)
    {
        const int m = key.size() - 1;
        for (int pass = 0; pass < 16; ++pass) {
            int k = 0;
            for (int i = 0; i <= d.size() - 2; ++i) {
                if (k == m) k = 0;
                d[i] = b(Xor(d[i], b(Add(d[i + 1], key[k]))));
                d[i + 1] = b(Xor(d[i], d[i + 1]));
                d[i] = b(Xor(d[i], b(Add(d[i + 1], key[k + 1]))));
                ++k;
            }
        }
        return d;
    }

    // Undoes the passes and keeps the padding.
    static QByteArray Decrypt(QByteArray d, const QByteArray& key)
    {
        const int m = key.size() - 1;
        for (int pass = 0; pass < 16; ++pass) {
            int k = (d.size() - 1) % m;
            for (int i = d.size() - 1; i >= 1; --i) {
                if (k == 0) k = m;
                d[i - 1] = b(Xor(d[i - 1], b(Add(d[i], key[k]))));
                d[i] = b(Xor(d[i - 1], d[i]));
                d[i - 1] = b(Xor(d[i - 1], b(Add(d[i], key[k - 1]))));
                --k;
            }
        }
        return d;
    }
};

QByteArray Padded(QByteArray key)
{
    while (key.size() < 3)
        key.append('\x01');
    return key;
}

} // namespace

TEST(Cipher, RoundTripsEveryLengthAndKeyExactlyAsDefined)
{
    clsDS2 cipher;
    const std::vector<QByteArray> keys = {QByteArray(), Bytes({0}), Bytes({255, 254}), Bytes({1, 2, 3}),
        QByteArray("a longer key of several words"), RandomBytes(300, 7)};
    for (const QByteArray& originalKey : keys) {
        for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 31, 32, 33, 254, 255, 256, 257, 1000, 4099}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " key size " << originalKey.size());
            const QByteArray plain = RandomBytes(n, n * 31 + originalKey.size());
            QByteArray data = plain;
            QByteArray key = originalKey;
            const QByteArray encrypted = cipher.EncryptByte(data, key);
            ASSERT_EQ(encrypted.size(), n + 5);
            EXPECT_EQ(data, encrypted) << "data receives the result";
            EXPECT_EQ(key, Padded(originalKey)) << "the key is brought to three bytes in place";

            // The padded buffer behind the cipher text: data in the middle, padding 1 to 254 around it,
            // and the defined passes over it give exactly the class's cipher text.
            const QByteArray padded = Reference::Decrypt(encrypted, Padded(originalKey));
            EXPECT_EQ(padded.mid(3, n), plain);
            for (int i : {0, 1, 2, n + 3, n + 4}) {
                EXPECT_GE(Reference::u(padded[i]), 1);
                EXPECT_LE(Reference::u(padded[i]), 254);
            }
            EXPECT_EQ(Reference::Encrypt(padded, Padded(originalKey)), encrypted);

            QByteArray back = encrypted;
            QByteArray sameKey = originalKey;
            EXPECT_EQ(cipher.DecryptByte(back, sameKey), plain);
            EXPECT_EQ(back, plain) << "data receives the result";
        }
    }
}

TEST(Cipher, ShortKeysArePaddedWithOnesAndPaddingDiffersFromRunToRun)
{
    clsDS2 cipher;
    const QByteArray plain("The same words, twice.");
    const auto encrypt = [&](QByteArray key) {
        QByteArray data = plain;
        return cipher.EncryptByte(data, key);
    };
    const auto decrypt = [&](QByteArray data, QByteArray key) { return cipher.DecryptByte(data, key); };

    EXPECT_EQ(decrypt(encrypt(QByteArray()), Bytes({1, 1, 1})), plain);
    EXPECT_EQ(decrypt(encrypt(Bytes({1, 1, 1})), QByteArray()), plain);
    EXPECT_EQ(decrypt(encrypt(Bytes({7})), Bytes({7, 1, 1})), plain);
    EXPECT_EQ(decrypt(encrypt(Bytes({7, 9})), Bytes({7, 9, 1})), plain);
    EXPECT_NE(decrypt(encrypt(Bytes({7})), Bytes({7, 2, 1})), plain) << "a wrong key gives scrambled bytes";
    EXPECT_EQ(decrypt(encrypt(Bytes({7})), Bytes({7, 2, 1})).size(), plain.size());

    EXPECT_NE(encrypt("key"), encrypt("key")) << "random padding";

    QByteArray tooShort("abcd");
    QByteArray key("k");
    EXPECT_EQ(ErrorNumber([&] { cipher.DecryptByte(tooShort, key); }), 5);
}

TEST(Cipher, ProgressReportsEachOfTheSixteenPasses)
{
    clsDS2 cipher;
    std::vector<int> seen;
    QObject::connect(&cipher, &clsDS2::Progress, [&](qint16 percent) { seen.push_back(percent); });
    const std::vector<int> expected = {6, 12, 19, 25, 31, 38, 44, 50, 56, 62, 69, 75, 81, 88, 94, 100};
    QByteArray data("progress");
    QByteArray key("k");
    cipher.EncryptByte(data, key);
    EXPECT_EQ(seen, expected);
    seen.clear();
    cipher.DecryptByte(data, key);
    EXPECT_EQ(seen, expected);
}

TEST(Cipher, StringsAndHexRoundTrip)
{
    clsDS2 cipher;
    EXPECT_EQ(cipher.EnHex(QStringLiteral("A\n")), QStringLiteral("410A"));
    // Every character as its UTF-8 bytes, Latin-1 or not, so that the hex decodes back.
    EXPECT_EQ(cipher.EnHex(QString(QChar(0)) + QChar(255)), QStringLiteral("00C3BF"));
    EXPECT_EQ(cipher.EnHex(QStringLiteral("é€")), QStringLiteral("C3A9E282AC"));
    const QString mixed = QStringLiteral("Café à 5 € – Ĳssel ÿ 𝄞");
    EXPECT_EQ(QString::fromUtf8(QByteArray::fromHex(cipher.EnHex(mixed).toLatin1())), mixed);

    for (const QString& text : {QStringLiteral("plain words"), QStringLiteral("Grüße, Ĳssel ✓"), QString()}) {
        const QString encrypted = cipher.EncryptString(text, QStringLiteral("schlüssel"), false);
        EXPECT_EQ(encrypted.size(), text.toUtf8().size() + 5) << "one character per byte";
        QString copy = encrypted;
        EXPECT_EQ(cipher.DecryptString(copy, QStringLiteral("schlüssel"), false), text);

        QString hex = cipher.EncryptString(text, QStringLiteral("k"), true);
        EXPECT_EQ(hex.size(), (text.toUtf8().size() + 5) * 2);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]*$")).match(hex).hasMatch());
        const QString hexBefore = hex;
        EXPECT_EQ(cipher.DecryptString(hex, QStringLiteral("k"), true), text);
        EXPECT_EQ(QString::fromLatin1(hex.toLatin1().toHex().toUpper()), hexBefore)
            << "the caller's text receives the decoded cipher text, one character per byte";
    }

    QString notHex = QStringLiteral("41ZZ0000000000");
    EXPECT_EQ(ErrorNumber([&] { cipher.DecryptString(notHex, QStringLiteral("k"), true); }), 13);
}

TEST(Cipher, FilesGainOneBlankAndNeverOverwriteUnasked)
{
    clsDS2 cipher;
    TempDir dir;
    const QByteArray content = RandomBytes(70000, 3);
    Write(dir.file("plain.bin"), content);

    ASSERT_TRUE(cipher.EncryptFile(dir.file("plain.bin"), dir.file("secret.bin"), false, QStringLiteral("pass")));
    const QByteArray encrypted = Read(dir.file("secret.bin"));
    EXPECT_EQ(encrypted.size(), content.size() + 6);
    ASSERT_TRUE(cipher.DecryptFile(dir.file("secret.bin"), dir.file("back.bin"), false, QStringLiteral("pass")));
    EXPECT_EQ(Read(dir.file("back.bin")), content + ' ');

    // An existing destination stays as it was unless overwriting is asked for.
    Write(dir.file("other.bin"), "keep me");
    EXPECT_FALSE(cipher.EncryptFile(dir.file("plain.bin"), dir.file("other.bin"), false, QStringLiteral("pass")));
    EXPECT_FALSE(cipher.DecryptFile(dir.file("secret.bin"), dir.file("other.bin"), false, QStringLiteral("pass")));
    EXPECT_EQ(Read(dir.file("other.bin")), QByteArray("keep me"));
    EXPECT_EQ(Read(dir.file("plain.bin")), content);
    EXPECT_EQ(Read(dir.file("secret.bin")), encrypted);
    EXPECT_TRUE(cipher.EncryptFile(dir.file("plain.bin"), dir.file("other.bin"), true, QStringLiteral("pass")));
    EXPECT_EQ(Read(dir.file("other.bin")).size(), content.size() + 6);

    EXPECT_FALSE(cipher.EncryptFile(dir.file("missing"), dir.file("x"), true, QStringLiteral("pass")));
    EXPECT_FALSE(QFile::exists(dir.file("x")));
    Write(dir.file("short.bin"), "abc");
    EXPECT_FALSE(cipher.DecryptFile(dir.file("short.bin"), dir.file("x"), true, QStringLiteral("pass")));
    EXPECT_FALSE(QFile::exists(dir.file("x")));

    // An empty file encrypts to its blank and the padding.
    Write(dir.file("empty"), "");
    ASSERT_TRUE(cipher.EncryptFile(dir.file("empty"), dir.file("empty.enc"), false, QString()));
    ASSERT_TRUE(cipher.DecryptFile(dir.file("empty.enc"), dir.file("empty.back"), false, QString()));
    EXPECT_EQ(Read(dir.file("empty.back")), QByteArray(" "));
}
