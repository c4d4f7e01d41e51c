#include "components/encoders/EncodeError.h"

QString EncodeError::Text(int code)
{
    switch (code) {
    case InputFormat: return QStringLiteral("Input audio format is not a 44k 16bit stereo PCM file!");
    case CreateOutput: return QStringLiteral("Error creating output file!");
    case OpenInput: return QStringLiteral("Error opening input file!");
    case EncodingBuffer: return QStringLiteral("Error with encoding buffer!");
    case InvalidSettings: return QStringLiteral("Encoder Settings are invalid!");
    case Unknown: return QStringLiteral("Unknown Error!");
    default: return {};
    }
}
