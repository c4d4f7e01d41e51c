// The library's in-process server entry points: self-registration under the ProgID
// "Gyrelle.Gyrelle" and the class factory of the control.
#include "cdaudio/Gyrelle.h"
#include "platform/dispatch/InProcServer.h"

#include <cstring>

namespace {

const char* const Clsid = "{6E1A3F52-9C4B-4D7E-8A21-5B0F3C9D7E64}";
const QString ProgId = QStringLiteral("Gyrelle.Gyrelle");
int liveControls = 0;

// Counts the controls alive, so DllCanUnloadNow can answer.
class CountedGyrelle : public Gyrelle {
public:
    CountedGyrelle() { ++liveControls; }
    ~CountedGyrelle() override { --liveControls; }
};

class Factory : public dispatch::ClassFactory {
public:
    std::unique_ptr<dispatch::IDispatch> CreateInstance() override { return std::make_unique<CountedGyrelle>(); }
};

} // namespace

extern "C" {

__attribute__((visibility("default"))) int DllRegisterServer()
{
    const QString path = dispatch::ModulePath(reinterpret_cast<const void*>(&DllRegisterServer));
    if (path.isEmpty()) return dispatch::RegistrationFailed;
    return dispatch::RegisterServer(ProgId, QString::fromLatin1(Clsid), path, ProgId) ? dispatch::S_OK
                                                                                      : dispatch::RegistrationFailed;
}

__attribute__((visibility("default"))) int DllUnregisterServer()
{
    return dispatch::UnregisterServer(ProgId, QString::fromLatin1(Clsid)) ? dispatch::S_OK
                                                                          : dispatch::RegistrationFailed;
}

__attribute__((visibility("default"))) int DllGetClassObject(const char* clsid, dispatch::ClassFactory** factory)
{
    static Factory theFactory;
    if (!clsid || !factory || std::strcmp(clsid, Clsid) != 0) return dispatch::ClassNotAvailable;
    *factory = &theFactory;
    return dispatch::S_OK;
}

__attribute__((visibility("default"))) int DllCanUnloadNow()
{
    return liveControls == 0 ? dispatch::S_OK : dispatch::S_FALSE;
}
}
