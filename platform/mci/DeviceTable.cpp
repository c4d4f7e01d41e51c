#include "platform/mci/Device.h"
#include "platform/mci/Mci.h"
#include "platform/mci/MpegVideoDevice.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <vector>

namespace mci {

namespace {

struct OpenDevice {
    std::string name;
    std::unique_ptr<Device> device;
};

// The process's devices by alias, and the device types that can be opened.
struct Table {
    std::vector<std::pair<std::string, DeviceFactory>> types;
    std::vector<OpenDevice> devices;
    CommandObserver observer;

    Table() { types.emplace_back("mpegvideo", MpegVideoFactory()); }
    ~Table() { CloseAll(); }

    void CloseAll()
    {
        // Last opened, first closed; a device's destructor must not find itself still listed.
        while (!devices.empty()) {
            auto device = std::move(devices.back().device);
            devices.pop_back();
            device.reset();
        }
    }

    const DeviceFactory* FindType(std::string_view type) const
    {
        for (const auto& [name, factory] : types)
            if (SameWord(name, type)) return &factory;
        return nullptr;
    }

    std::vector<OpenDevice>::iterator Find(std::string_view name)
    {
        return std::find_if(
            devices.begin(), devices.end(), [&](const OpenDevice& d) { return SameWord(d.name, name); });
    }

    unsigned Open(const Command& command);
    unsigned Close(const Command& command);
    unsigned Run(const Command& command, std::string& reply);
};

Table& TheTable()
{
    static Table table;
    return table;
}

bool IsAll(std::string_view name) { return SameWord(name, "all"); }

unsigned Table::Open(const Command& command)
{
    if (IsAll(command.device)) return Err::CannotUseAll;
    Arguments args(command.arguments);
    std::string type;
    std::string alias;
    while (!args.AtEnd()) {
        if (args.Take("type")) {
            if (!type.empty()) return Err::DuplicateFlags;
            if (const unsigned error = args.TakeString(type)) return error;
        } else if (args.Take("alias")) {
            if (!alias.empty()) return Err::DuplicateFlags;
            if (const unsigned error = args.TakeString(alias)) return error;
        } else if (!args.Take("shareable")) {
            return Err::UnrecognizedKeyword;
        }
    }

    std::string element = command.device;
    if (type.empty()) {
        if (!FindType(element)) return Err::ExtensionNotFound;
        type = element;
        element.clear();
    }
    const DeviceFactory* factory = FindType(type);
    if (!factory) return Err::InvalidDeviceName;

    const std::string name = !alias.empty() ? alias : !element.empty() ? element : type;
    if (IsAll(name)) return Err::CannotUseAll;
    if (Find(name) != devices.end()) return alias.empty() ? Err::DeviceOpen : Err::DuplicateAlias;

    std::unique_ptr<Device> device;
    if (const unsigned error = (*factory)(element, device)) return error;
    if (!device) return Err::CannotLoadDriver;
    devices.push_back({name, std::move(device)});
    return 0;
}

unsigned Table::Close(const Command& command)
{
    if (const unsigned error = Arguments(command.arguments).Finish()) return error;
    if (IsAll(command.device)) {
        CloseAll();
        return 0;
    }
    const auto it = Find(command.device);
    if (it == devices.end()) return Err::InvalidDeviceName;
    auto device = std::move(it->device);
    devices.erase(it);
    return 0;
}

unsigned Table::Run(const Command& command, std::string& reply)
{
    if (command.verb == "open") return Open(command);
    if (command.verb == "close") return Close(command);

    if (IsAll(command.device)) {
        if (command.verb == "status" || command.verb == "where" || command.verb == "info"
            || command.verb == "capability" || command.verb == "sysinfo")
            return Err::CannotUseAll;
        unsigned first = 0;
        std::vector<Device*> targets;
        for (const auto& d : devices)
            targets.push_back(d.device.get());
        for (Device* device : targets) {
            std::string ignored;
            const unsigned error = device->Execute(command, ignored);
            if (!first) first = error;
        }
        return first;
    }

    if (const auto it = Find(command.device); it != devices.end()) return it->device->Execute(command, reply);

    // A device type named directly is opened for this one command and closed again.
    if (const DeviceFactory* factory = FindType(command.device)) {
        if (command.notify) return Err::NotifyOnAutoOpen;
        std::unique_ptr<Device> device;
        if (const unsigned error = (*factory)({}, device)) return error;
        if (!device) return Err::CannotLoadDriver;
        return device->Execute(command, reply);
    }
    return Err::InvalidDeviceName;
}

} // namespace

void RegisterDeviceType(const std::string& type, DeviceFactory factory)
{
    Table& table = TheTable();
    for (auto& [name, existing] : table.types)
        if (SameWord(name, type)) {
            existing = std::move(factory);
            return;
        }
    table.types.emplace_back(Lower(type), std::move(factory));
}

bool NullOutputs()
{
    return qEnvironmentVariable("TESSEL_NULL_OUTPUTS") == QLatin1String("1")
        || qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen");
}

void SetCommandObserver(CommandObserver observer) { TheTable().observer = std::move(observer); }

unsigned SendString(std::string_view text, char* reply, unsigned replyLength)
{
    Table& table = TheTable();
    if (table.observer) table.observer(text);

    Command command;
    if (const unsigned error = Parse(text, command)) return error;
    std::string answer;
    if (const unsigned error = table.Run(command, answer)) return error;

    if (!reply || replyLength == 0) return 0;
    if (answer.size() < replyLength) {
        std::memcpy(reply, answer.c_str(), answer.size() + 1);
        return 0;
    }
    std::memcpy(reply, answer.data(), replyLength - 1);
    reply[replyLength - 1] = '\0';
    return Err::ParamOverflow;
}

} // namespace mci
