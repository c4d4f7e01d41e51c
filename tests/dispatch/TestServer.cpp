// A small in-process server for the dispatch tests: one class "Tessel.TestObject" with a property,
// a method that writes back into its by-reference argument, and a method that raises an error.
#include "platform/dispatch/InProcServer.h"
#include "platform/forms/RuntimeError.h"

#include <cstring>

namespace {

const char* const Clsid = "{5A0C1D2E-0000-4000-8000-00000000A001}";
int alive = 0;

class TestObject : public dispatch::IDispatch {
public:
    TestObject() { ++alive; }
    ~TestObject() override { --alive; }

    dispatch::Variant Invoke(
        dispatch::DispId id, dispatch::Invocation how, std::vector<dispatch::Variant>& args) override
    {
        using dispatch::Invocation;
        switch (id) {
        case 1:
            if (how == Invocation::PropertyPut) value_ = args.at(0).ToInteger();
            return value_;
        case 2: // Double(n): doubles its argument in place
            args.at(0) = static_cast<std::int32_t>(args.at(0).ToLong() * 2);
            return {};
        case 3: throw forms::RuntimeError(0x4242, QStringLiteral("TestObject"), QStringLiteral("raised inside"));
        default: dispatch::RaiseMemberNotFound(QStringLiteral("TestObject"));
        }
    }

private:
    std::int16_t value_ = 0;
};

class Factory : public dispatch::ClassFactory {
public:
    std::unique_ptr<dispatch::IDispatch> CreateInstance() override { return std::make_unique<TestObject>(); }
};

} // namespace

extern "C" {

int DllRegisterServer()
{
    const QString path = dispatch::ModulePath(reinterpret_cast<const void*>(&DllRegisterServer));
    return dispatch::RegisterServer(QStringLiteral("Tessel.TestObject"), QString::fromLatin1(Clsid), path,
               QStringLiteral("Tessel.TestObject"))
        ? dispatch::S_OK
        : dispatch::RegistrationFailed;
}

int DllUnregisterServer()
{
    return dispatch::UnregisterServer(QStringLiteral("Tessel.TestObject"), QString::fromLatin1(Clsid))
        ? dispatch::S_OK
        : dispatch::RegistrationFailed;
}

int DllGetClassObject(const char* clsid, dispatch::ClassFactory** factory)
{
    static Factory theFactory;
    if (!clsid || std::strcmp(clsid, Clsid) != 0) return dispatch::ClassNotAvailable;
    *factory = &theFactory;
    return dispatch::S_OK;
}

int DllCanUnloadNow() { return alive == 0 ? dispatch::S_OK : dispatch::S_FALSE; }
}
