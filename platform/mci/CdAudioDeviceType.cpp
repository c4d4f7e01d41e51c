// Makes the cdaudio device known to the device table when the layer is loaded.
#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Device.h"
#include "platform/mci/Errors.h"

namespace mci {

namespace {

class CdAudio : public Device {
public:
    unsigned Execute(const Command& command, std::string& reply) override
    {
        QStringList words {QString::fromStdString(command.verb)};
        for (const Token& t : command.arguments)
            words << QString::fromStdString(t.text);
        QString answer;
        const int error = device_.Command(words, answer);
        reply = answer.toStdString();
        return static_cast<unsigned>(error);
    }

private:
    CdAudioDevice device_;
};

const bool registered = [] {
    RegisterDeviceType("cdaudio", [](const std::string& element, std::unique_ptr<Device>& device) -> unsigned {
        if (!element.empty()) return Err::NoElementAllowed;
        device = std::make_unique<CdAudio>();
        return 0;
    });
    return true;
}();

} // namespace

} // namespace mci
