#pragma once

#include "platform/dispatch/Dispatch.h"

#include <QString>
#include <memory>

// The entry points every in-process server exports, with C linkage:
//
//   int DllRegisterServer(void);      writes the server's keys (ProgID, class id, path); 0 on success
//   int DllUnregisterServer(void);    removes them again; 0 on success
//   int DllGetClassObject(const char* clsid, dispatch::ClassFactory** factory);
//                                     the factory of a class the server holds; 0 on success,
//                                     ClassNotAvailable when the server does not have that class
//   int DllCanUnloadNow(void);        0 when no object of the server is alive
//
// The factory and the objects it makes stay owned by the server's code; the host deletes an
// object through its virtual destructor and never unloads a server it has loaded.
namespace dispatch {

constexpr int S_OK = 0;
constexpr int S_FALSE = 1;
constexpr int ClassNotAvailable = static_cast<int>(0x80040111u);
constexpr int RegistrationFailed = static_cast<int>(0x80004005u);

using RegisterServerFn = int (*)();
using GetClassObjectFn = int (*)(const char* clsid, ClassFactory** factory);

// Writes the keys that let CreateObject(progId) find the server at path:
//   HKEY_CLASSES_ROOT\<progId> (default: description) \CLSID (default: clsid)
//   HKEY_CLASSES_ROOT\CLSID\<clsid> (default: description) \ProgID (default: progId)
//                                                          \InprocServer32 (default: path)
bool RegisterServer(const QString& progId, const QString& clsid, const QString& path, const QString& description);
// Removes those keys; true when they are gone.
bool UnregisterServer(const QString& progId, const QString& clsid);

// The path of the shared object that holds the given address (a server finds its own file so).
QString ModulePath(const void* addressInModule);

// Creates an object by ProgID: ProgID -> class id -> in-process server path, loads the server and
// asks its class factory. Raises error 429 when the ProgID is not registered or the server cannot
// be loaded or does not make the class.
std::unique_ptr<IDispatch> CreateObject(const QString& progId);

// Loads a server by path and calls one of its registration entry points ("DllRegisterServer" or
// "DllUnregisterServer"). Returns the entry point's result; on failure to load, error receives why.
int CallRegistrationEntry(const QString& path, const char* entry, QString* error);

} // namespace dispatch
