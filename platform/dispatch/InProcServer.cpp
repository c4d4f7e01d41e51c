#include "platform/dispatch/InProcServer.h"

#include "platform/forms/RuntimeError.h"
#include "platform/registry/Registry.h"

#include <QFileInfo>
#include <dlfcn.h>
#include <map>

namespace dispatch {

namespace {

const QString Source = QStringLiteral("CreateObject");

[[noreturn]] void CannotCreate(const QString& why)
{
    throw forms::RuntimeError(429, Source, QStringLiteral("ActiveX component can't create object (%1)").arg(why));
}

// Servers stay loaded for the life of the process: their objects and code may still be in use.
void* Load(const QString& path, QString* error)
{
    static std::map<QString, void*> loaded;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) {
        if (error) *error = QStringLiteral("no such file: %1").arg(path);
        return nullptr;
    }
    if (auto it = loaded.find(canonical); it != loaded.end()) return it->second;
    void* handle = dlopen(canonical.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) *error = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    loaded[canonical] = handle;
    return handle;
}

} // namespace

bool RegisterServer(const QString& progId, const QString& clsid, const QString& path, const QString& description)
{
    using namespace registry;
    const QString classKey = QStringLiteral("CLSID\\") + clsid;
    return SetValue(HKEY_CLASSES_ROOT, progId, {}, description)
        && SetValue(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\CLSID"), {}, clsid)
        && SetValue(HKEY_CLASSES_ROOT, classKey, {}, description)
        && SetValue(HKEY_CLASSES_ROOT, classKey + QStringLiteral("\\ProgID"), {}, progId)
        && SetValue(HKEY_CLASSES_ROOT, classKey + QStringLiteral("\\InprocServer32"), {}, path);
}

bool UnregisterServer(const QString& progId, const QString& clsid)
{
    using namespace registry;
    DeleteKey(HKEY_CLASSES_ROOT, progId);
    DeleteKey(HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\") + clsid);
    return !KeyExists(HKEY_CLASSES_ROOT, progId) && !KeyExists(HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\") + clsid);
}

QString ModulePath(const void* addressInModule)
{
    Dl_info info {};
    if (!dladdr(addressInModule, &info) || !info.dli_fname) return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

std::unique_ptr<IDispatch> CreateObject(const QString& progId)
{
    using namespace registry;
    const auto clsid = QueryValue(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\CLSID"), {});
    if (!clsid || clsid->isEmpty()) CannotCreate(QStringLiteral("%1 is not registered").arg(progId));
    const auto path = QueryValue(HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\%1\\InprocServer32").arg(*clsid), {});
    if (!path || path->isEmpty()) CannotCreate(QStringLiteral("class %1 has no server").arg(*clsid));

    QString error;
    void* handle = Load(*path, &error);
    if (!handle) CannotCreate(error);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) CannotCreate(QStringLiteral("%1 is not an in-process server").arg(*path));
    ClassFactory* factory = nullptr;
    if (getClassObject(clsid->toUtf8().constData(), &factory) != S_OK || !factory)
        CannotCreate(QStringLiteral("%1 does not make class %2").arg(*path, *clsid));
    return factory->CreateInstance();
}

int CallRegistrationEntry(const QString& path, const char* entry, QString* error)
{
    void* handle = Load(path, error);
    if (!handle) return RegistrationFailed;
    auto fn = reinterpret_cast<RegisterServerFn>(dlsym(handle, entry));
    if (!fn) {
        if (error) *error = QStringLiteral("%1 has no entry point %2").arg(path, QString::fromLatin1(entry));
        return RegistrationFailed;
    }
    return fn();
}

} // namespace dispatch
