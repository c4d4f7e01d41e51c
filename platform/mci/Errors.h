#pragma once

#include <string>

namespace mci {

// The error codes of the command-string interface. 0 is success; every other code has a text
// (ErrorText) that callers may show.
namespace Err {
constexpr unsigned Base = 256;
constexpr unsigned InvalidDeviceId = Base + 1;
constexpr unsigned UnrecognizedKeyword = Base + 3;
constexpr unsigned UnrecognizedCommand = Base + 5;
constexpr unsigned Hardware = Base + 6;
constexpr unsigned InvalidDeviceName = Base + 7;
constexpr unsigned OutOfMemory = Base + 8;
constexpr unsigned DeviceOpen = Base + 9;
constexpr unsigned CannotLoadDriver = Base + 10;
constexpr unsigned MissingCommandString = Base + 11;
constexpr unsigned ParamOverflow = Base + 12;
constexpr unsigned MissingStringArgument = Base + 13;
constexpr unsigned BadInteger = Base + 14;
constexpr unsigned ParserInternal = Base + 15;
constexpr unsigned DriverInternal = Base + 16;
constexpr unsigned MissingParameter = Base + 17;
constexpr unsigned UnsupportedFunction = Base + 18;
constexpr unsigned FileNotFound = Base + 19;
constexpr unsigned DeviceNotReady = Base + 20;
constexpr unsigned Internal = Base + 21;
constexpr unsigned Driver = Base + 22;
constexpr unsigned CannotUseAll = Base + 23;
constexpr unsigned Multiple = Base + 24;
constexpr unsigned ExtensionNotFound = Base + 25;
constexpr unsigned OutOfRange = Base + 26;
constexpr unsigned FlagsNotCompatible = Base + 28;
constexpr unsigned FileNotSaved = Base + 30;
constexpr unsigned DeviceTypeRequired = Base + 31;
constexpr unsigned DeviceLocked = Base + 32;
constexpr unsigned DuplicateAlias = Base + 33;
constexpr unsigned BadConstant = Base + 34;
constexpr unsigned MustUseShareable = Base + 35;
constexpr unsigned MissingDeviceName = Base + 36;
constexpr unsigned BadTimeFormat = Base + 37;
constexpr unsigned NoClosingQuote = Base + 38;
constexpr unsigned DuplicateFlags = Base + 39;
constexpr unsigned InvalidFile = Base + 40;
constexpr unsigned NullParameterBlock = Base + 41;
constexpr unsigned UnnamedResource = Base + 42;
constexpr unsigned NewRequiresAlias = Base + 43;
constexpr unsigned NotifyOnAutoOpen = Base + 44;
constexpr unsigned NoElementAllowed = Base + 45;
constexpr unsigned NonapplicableFunction = Base + 46;
constexpr unsigned IllegalForAutoOpen = Base + 47;
constexpr unsigned FilenameRequired = Base + 48;
constexpr unsigned ExtraCharacters = Base + 49;
constexpr unsigned DeviceNotInstalled = Base + 50;
constexpr unsigned NoInteger = Base + 56;
constexpr unsigned NoWindow = Base + 90;
constexpr unsigned CreateWindow = Base + 91;
constexpr unsigned FileRead = Base + 92;
constexpr unsigned FileWrite = Base + 93;
constexpr unsigned WaveOutputsUnsuitable = Base + 70;
constexpr unsigned WaveSetOutputUnsuitable = Base + 71;
constexpr unsigned WaveInputsUnsuitable = Base + 72;
constexpr unsigned WaveSetInputUnsuitable = Base + 73;
constexpr unsigned SeqNoMidiPresent = Base + 87;
} // namespace Err

// The text for an error code; an unknown code gets a text that says so.
std::string ErrorText(unsigned code);

} // namespace mci
