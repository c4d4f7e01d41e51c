// The byte-table cipher: the input's first byte gives the length of the key that follows, the
// rest is the text. Encrypting then decrypting gives the text back; any bytes, hexadecimal text or
// file offered as cipher text decrypt to something or raise the cipher's error.
#include "dialogs/clsDS2.h"
#include "platform/forms/RuntimeError.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static clsDS2 cipher;
    if (size == 0) return 0;
    const std::size_t keySize = std::min<std::size_t>(data[0], size - 1);
    const QByteArray key(reinterpret_cast<const char*>(data + 1), qsizetype(keySize));
    const QByteArray text(reinterpret_cast<const char*>(data + 1 + keySize), qsizetype(size - 1 - keySize));

    QByteArray work = text;
    QByteArray workKey = key;
    QByteArray secret = cipher.EncryptByte(work, workKey);
    if (secret.size() != text.size() + clsDS2::PaddingBefore + clsDS2::PaddingAfter)
        fuzz::Broken("cipher text is not five bytes longer than its text");
    workKey = key;
    if (cipher.DecryptByte(secret, workKey) != text) fuzz::Broken("decrypting did not give the text back");

    try {
        work = text;
        workKey = key;
        cipher.DecryptByte(work, workKey);
    } catch (const forms::RuntimeError&) {
    }
    try {
        QString hex = QString::fromLatin1(text);
        cipher.DecryptString(hex, QString::fromLatin1(key), true);
    } catch (const forms::RuntimeError&) {
    }
    const QString source = fuzz::WriteInput(QStringLiteral("secret.bin"), data + 1 + keySize, size - 1 - keySize);
    cipher.DecryptFile(source, fuzz::ScratchFile(QStringLiteral("plain.bin")), true, QString::fromLatin1(key));
    return 0;
}
