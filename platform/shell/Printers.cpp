#include "platform/shell/Printers.h"

#include "platform/forms/RuntimeError.h"

#include <QPrinterInfo>

namespace shell {

namespace {

int Checked(int value, bool acceptable)
{
    if (!acceptable) forms::Raise(forms::Err::InvalidPropertyValue);
    return value;
}

std::optional<QList<Printer>>& KnownPrinters()
{
    static std::optional<QList<Printer>> known;
    return known;
}

Printer FromInfo(const QPrinterInfo& info) { return Printer(info.printerName(), info.makeAndModel(), info.location()); }

std::optional<Printer>& Current()
{
    static std::optional<Printer> current;
    return current;
}

} // namespace

Printer::Printer(QString deviceName, QString driverName, QString port)
    : deviceName_(std::move(deviceName))
    , driverName_(std::move(driverName))
    , port_(std::move(port))
{
}

void Printer::setCopies(int v) { copies_ = Checked(v, v >= 1 && v <= 9999); }
void Printer::setDuplex(int v) { duplex_ = Checked(v, v >= 1 && v <= 3); }
void Printer::setOrientation(int v) { orientation_ = Checked(v, v == 1 || v == 2); }
void Printer::setPaperSize(int v) { paperSize_ = Checked(v, v >= 1); }
void Printer::setPrintQuality(int v) { printQuality_ = Checked(v, v != 0 && v >= -4); }
void Printer::setColorMode(int v) { colorMode_ = Checked(v, v == 1 || v == 2); }
void Printer::setPaperBin(int v) { paperBin_ = Checked(v, v >= 1); }

QList<Printer> Printers()
{
    if (KnownPrinters()) return *KnownPrinters();
    QList<Printer> printers;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        printers << FromInfo(info);
    return printers;
}

Printer& CurrentPrinter()
{
    if (!Current()) {
        if (KnownPrinters())
            Current() = KnownPrinters()->value(0);
        else
            Current() = FromInfo(QPrinterInfo::defaultPrinter());
    }
    return *Current();
}

void SetCurrentPrinter(const Printer& printer) { Current() = printer; }

void SetKnownPrinters(std::optional<QList<Printer>> printers)
{
    KnownPrinters() = std::move(printers);
    Current().reset();
}

} // namespace shell
