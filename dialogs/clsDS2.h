#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// Encrypts and decrypts bytes, strings and files with a key of the caller's choosing: five random
// padding bytes around the data, then sixteen mixing passes over neighbouring byte pairs through
// exclusive-or and an addition-modulo-255 table. Cipher text is five bytes longer than the plain
// text. The class holds no key of its own.
//
// Plain text crosses as UTF-8; cipher text as strings has one character per byte (codes 0 to 255).
class clsDS2 : public QObject {
    Q_OBJECT
public:
    explicit clsDS2(QObject* parent = nullptr);

    // The text's UTF-8 bytes, each as two uppercase hexadecimal digits.
    QString EnHex(const QString& text) const;

    // The file encrypted (with one blank byte added at its end before encryption) or decrypted
    // into the destination. False when the source is missing, the destination exists and may not
    // be overwritten, or anything fails; a failed write leaves the destination as it was.
    bool EncryptFile(const QString& source, const QString& destination, bool overwrite, const QString& key);
    bool DecryptFile(const QString& source, const QString& destination, bool overwrite, const QString& key);

    QString EncryptString(const QString& text, const QString& key, bool hexOutput);
    // With hexInput the text is first decoded from hexadecimal pairs, and text receives that
    // decoded form. Raises 13 for a pair that is not hexadecimal, and 5 for text too short to be
    // cipher text.
    QString DecryptString(QString& text, const QString& key, bool hexInput);

    // Both return the result and leave it in data too. The key is brought to at least three bytes
    // in place (missing bytes become 1). DecryptByte raises 5 for fewer than five bytes.
    QByteArray EncryptByte(QByteArray& data, QByteArray& key);
    QByteArray DecryptByte(QByteArray& data, QByteArray& key);

    static constexpr int Passes = 16;
    static constexpr int PaddingBefore = 3;
    static constexpr int PaddingAfter = 2;

signals:
    // After each of the sixteen passes of EncryptByte and DecryptByte: the share done, in percent.
    void Progress(qint16 percent);

private:
    // The passes over a whole padded buffer.
    void Encrypt(std::uint8_t* d, std::size_t size, const QByteArray& key);
    void Decrypt(std::uint8_t* d, std::size_t size, const QByteArray& key);
    void PassDone(int pass);
    static void PadKey(QByteArray& key);
    static void FillPadding(std::uint8_t* d, std::size_t dataSize);

    // AddTable(i, j) = (i + j) mod 255, row i at i * 256. Its partner, the XOR table, is the
    // operator ^ itself.
    std::array<std::uint8_t, 256 * 256> AddTable;
};
