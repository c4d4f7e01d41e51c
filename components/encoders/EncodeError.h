#pragma once

#include <QString>

// The reasons an encoder gives for an encode it refused or could not finish (its LastError), and
// the statuses its EncodeStatus event reports.
namespace EncodeError {
constexpr int InputFormat = 0;
constexpr int CreateOutput = 1;
constexpr int OpenInput = 2;
constexpr int EncodingBuffer = 3;
constexpr int InvalidSettings = 4;
constexpr int Unknown = 5;

// The text shown for a code; empty for a code outside these six.
QString Text(int code);
} // namespace EncodeError

namespace EncodeStatusCode {
constexpr int Started = 0;
constexpr int Complete = 1;
constexpr int Cancelled = 2;
// The encode stopped on an error; LastError tells which.
constexpr int Failed = 3;
// Progress: the event's percent holds 0-100.
constexpr int Progress = 4;
} // namespace EncodeStatusCode
