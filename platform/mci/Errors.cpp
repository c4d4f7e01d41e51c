#include "platform/mci/Errors.h"

#include <map>

namespace mci {

std::string ErrorText(unsigned code)
{
    static const std::map<unsigned, const char*> texts = {
        {0, "The specified command was carried out."},
        {Err::InvalidDeviceId, "Invalid device ID. Use the ID given to the device when it was opened."},
        {Err::UnrecognizedKeyword, "The driver cannot recognize the specified command parameter."},
        {Err::UnrecognizedCommand, "The driver cannot recognize the specified command."},
        {Err::Hardware, "There is a problem with your media device. Make sure it is working correctly."},
        {Err::InvalidDeviceName, "The specified device is not open or is not recognized."},
        {Err::OutOfMemory, "There is not enough memory available for this task."},
        {Err::DeviceOpen, "The device name is already being used as an alias. Use a unique alias."},
        {Err::CannotLoadDriver, "The specified device driver could not be loaded."},
        {Err::MissingCommandString, "No command was specified."},
        {Err::ParamOverflow,
            "The output string was too large to fit in the return buffer. Increase the size of the buffer."},
        {Err::MissingStringArgument,
            "The specified command requires a character-string parameter. Please provide one."},
        {Err::BadInteger, "The specified integer is invalid for this command."},
        {Err::ParserInternal, "The command parser failed internally."},
        {Err::DriverInternal, "The device driver failed internally."},
        {Err::MissingParameter, "The specified command requires a parameter. Please supply one."},
        {Err::UnsupportedFunction, "The device you are using does not support the specified command."},
        {Err::FileNotFound, "Cannot find the specified file. Make sure the path and filename are correct."},
        {Err::DeviceNotReady, "The device driver is not ready."},
        {Err::Internal, "A problem occurred in initializing the media layer."},
        {Err::Driver, "There is a problem with the device driver."},
        {Err::CannotUseAll, "Cannot use 'all' as the device name with the specified command."},
        {Err::Multiple, "Errors occurred in more than one device. Specify each command and device separately."},
        {Err::ExtensionNotFound, "Cannot determine the device type from the given filename extension."},
        {Err::OutOfRange, "The specified parameter is out of range for the specified command."},
        {Err::FlagsNotCompatible, "The specified parameters cannot be used together."},
        {Err::FileNotSaved,
            "Cannot save the specified file. Make sure you have enough disk space or are still connected to the "
            "network."},
        {Err::DeviceTypeRequired,
            "Cannot find the specified device. Make sure it is installed or that the device name is spelled "
            "correctly."},
        {Err::DeviceLocked, "The specified device is now being closed. Wait a few seconds, and then try again."},
        {Err::DuplicateAlias, "The specified alias is already being used in this application. Use a unique alias."},
        {Err::BadConstant, "The specified parameter is invalid for this command."},
        {Err::MustUseShareable,
            "The device driver is already in use. To share it, use the 'shareable' parameter with each 'open' "
            "command."},
        {Err::MissingDeviceName,
            "The specified command requires an alias, file, driver, or device name. Please supply one."},
        {Err::BadTimeFormat, "The specified value for the time format is invalid."},
        {Err::NoClosingQuote,
            "A closing double-quotation mark is missing from the parameter value. Please supply one."},
        {Err::DuplicateFlags, "A parameter or value was specified twice. Only specify it once."},
        {Err::InvalidFile,
            "The specified file cannot be played on the specified device. The file may be corrupt, or not in the "
            "correct format."},
        {Err::NullParameterBlock, "A null parameter block was passed."},
        {Err::UnnamedResource, "Cannot save an unnamed file. Supply a filename."},
        {Err::NewRequiresAlias, "You must specify an alias when using the 'new' parameter."},
        {Err::NotifyOnAutoOpen, "Cannot use the 'notify' flag with auto-opened devices."},
        {Err::NoElementAllowed, "Cannot use a filename with the specified device."},
        {Err::NonapplicableFunction,
            "Cannot carry out the commands in the order specified. Correct the command sequence, and then try again."},
        {Err::IllegalForAutoOpen,
            "Cannot carry out the specified command on an auto-opened device. Wait until the device is closed, and "
            "then try again."},
        {Err::FilenameRequired, "The filename is invalid. Make sure the filename is correct."},
        {Err::ExtraCharacters, "Cannot specify extra characters after a string enclosed in quotation marks."},
        {Err::DeviceNotInstalled, "The specified device is not installed on the system."},
        {Err::NoInteger, "The parameter for this command must be an integer."},
        {Err::NoWindow, "There is no display window."},
        {Err::CreateWindow, "Could not create or use window."},
        {Err::FileRead,
            "Cannot read the specified file. Make sure the file is still present, or check your disk or network "
            "connection."},
        {Err::FileWrite,
            "Cannot write to the specified file. Make sure you have enough disk space or are still connected to the "
            "network."},
        {Err::WaveOutputsUnsuitable,
            "No waveform device that can play files in the current format is available. Make sure a sound "
            "server is running."},
        {Err::WaveSetOutputUnsuitable, "The device you are using to play a waveform cannot use the data format."},
        {Err::WaveInputsUnsuitable,
            "No waveform device that can record files in the current format is available. Make sure a sound "
            "server is running."},
        {Err::WaveSetInputUnsuitable, "The device you are using to record a waveform cannot use the data format."},
        {Err::SeqNoMidiPresent, "There is no MIDI device to play on. Make sure a sound server is running."},
    };
    const auto it = texts.find(code);
    if (it == texts.end()) return "Unknown error code " + std::to_string(code) + ".";
    return it->second;
}

} // namespace mci
