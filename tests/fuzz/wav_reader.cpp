// WAV files handed to the encoders: the header is read and the file admitted or refused as CD
// audio; an admitted file's samples are read to the end and encoded, as the WAV to MP3 window
// does. The encoders share the reading, so one of them stands for all three.
#include "components/encoders/MP3EncoderX.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MP3EncoderX encoder;
    const QString input = fuzz::WriteInput(QStringLiteral("input.wav"), data, size);
    const QString output = fuzz::ScratchFile(QStringLiteral("output.mp3"));
    if (encoder.EncodeFile(input, output)) fuzz::WaitFor([] { return !encoder.IsEncoding(); });
    QFile::remove(output);
    return 0;
}
