#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace shell {

// A printer as the program's printer object keeps it: its names and the settings a print job
// would use. A setting the printer cannot take is refused with error 380 and keeps its value.
class Printer {
public:
    Printer() = default;
    Printer(QString deviceName, QString driverName, QString port);

    const QString& DeviceName() const { return deviceName_; }
    const QString& DriverName() const { return driverName_; }
    const QString& Port() const { return port_; }

    int Copies() const { return copies_; }
    void setCopies(int v);
    // 1 simplex, 2 long edge, 3 short edge.
    int Duplex() const { return duplex_; }
    void setDuplex(int v);
    // 1 portrait, 2 landscape.
    int Orientation() const { return orientation_; }
    void setOrientation(int v);
    int PaperSize() const { return paperSize_; }
    void setPaperSize(int v);
    // Dots per inch, or -1 (draft) to -4 (high).
    int PrintQuality() const { return printQuality_; }
    void setPrintQuality(int v);
    // 1 monochrome, 2 colour.
    int ColorMode() const { return colorMode_; }
    void setColorMode(int v);
    int PaperBin() const { return paperBin_; }
    void setPaperBin(int v);

private:
    QString deviceName_;
    QString driverName_;
    QString port_;
    int copies_ = 1;
    int duplex_ = 1;
    int orientation_ = 1;
    int paperSize_ = 9;
    int printQuality_ = -4;
    int colorMode_ = 2;
    int paperBin_ = 7;
};

// The printers the print system knows, in its order.
QList<Printer> Printers();
// The application's printer: the print system's default printer until the program sets another.
Printer& CurrentPrinter();
void SetCurrentPrinter(const Printer& printer);

// Replaces the print system's list (nothing restores it); the first printer becomes current.
// For tests that need known printers.
void SetKnownPrinters(std::optional<QList<Printer>> printers);

} // namespace shell
