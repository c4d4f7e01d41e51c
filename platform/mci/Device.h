#pragma once

#include "platform/mci/Command.h"

#include <functional>
#include <memory>
#include <string>

namespace mci {

// One open device. The table owns it from "open" until "close"; its destructor releases
// whatever the device holds. Devices run on the user-interface thread, like every command.
class Device {
public:
    virtual ~Device() = default;

    // Runs one command other than "open" and "close". A query writes its answer into reply and
    // returns 0; a failing command returns its error code and leaves reply empty.
    virtual unsigned Execute(const Command& command, std::string& reply) = 0;
};

// Makes a device of one type for an element (a file name; empty when the command names the device
// type itself). Returns 0 and the device, or the error code of the failed open.
using DeviceFactory = std::function<unsigned(const std::string& element, std::unique_ptr<Device>& device)>;

// Makes a device type known by its name ("MPEGVideo", "cdaudio", ...); names match without regard
// to case. Registering a name again replaces its factory.
void RegisterDeviceType(const std::string& type, DeviceFactory factory);

// True when the process runs without a display or sound (tests: the offscreen platform, or
// TESSEL_NULL_OUTPUTS=1): devices then play to null outputs.
bool NullOutputs();

} // namespace mci
