// tessel-regsvr: registers an in-process server (or with -u unregisters it) by calling its
// DllRegisterServer or DllUnregisterServer entry point.
#include "platform/dispatch/InProcServer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool unregister = args.removeAll(QStringLiteral("-u")) > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tessel-regsvr [-u] LIBRARY\n");
        return 2;
    }
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    QString error;
    const int result = dispatch::CallRegistrationEntry(path, entry, &error);
    if (result != dispatch::S_OK) {
        std::fprintf(stderr, "tessel-regsvr: %s failed for %s (0x%08x)%s%s\n", entry, qPrintable(path),
            static_cast<unsigned>(result), error.isEmpty() ? "" : ": ", qPrintable(error));
        return 1;
    }
    std::printf("%s succeeded for %s\n", entry, qPrintable(path));
    return 0;
}
