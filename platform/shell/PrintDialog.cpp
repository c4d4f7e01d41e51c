#include "platform/shell/CommonDialogs.h"
#include "platform/shell/DialogOwner.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace shell {

namespace {

// Flags of the print dialog, in and out.
constexpr int Selection = 0x1;
constexpr int PageNums = 0x2;
constexpr int NoSelection = 0x4;
constexpr int NoPageNums = 0x8;
constexpr int Collate = 0x10;
constexpr int PrintToFile = 0x20;
constexpr int DisablePrintToFile = 0x80000;
constexpr int HidePrintToFile = 0x100000;
constexpr int CurrentPage = 0x400000;
constexpr int NoCurrentPage = 0x800000;

// Which device-mode fields the dialog fills, and the device-mode version it speaks.
constexpr int FilledFields = 0x1 | 0x2 | 0x4 | 0x8 | 0x10 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000 | 0x8000;
constexpr int SpecVersion = 0x0401;
constexpr int UserPaper = 256;

int PaperNumber(QPageSize::PageSizeId id)
{
    switch (id) {
    case QPageSize::Letter: return 1;
    case QPageSize::Tabloid: return 3;
    case QPageSize::Ledger: return 4;
    case QPageSize::Legal: return 5;
    case QPageSize::Executive: return 7;
    case QPageSize::A3: return 8;
    case QPageSize::A4: return 9;
    case QPageSize::A5: return 11;
    case QPageSize::Envelope10: return 20;
    case QPageSize::EnvelopeDL: return 27;
    case QPageSize::EnvelopeC5: return 28;
    default: return UserPaper;
    }
}

// Paper sources in the platform's numbering: the first eleven follow Qt's order.
int BinNumber(QPrinter::PaperSource source)
{
    if (source <= QPrinter::LargeCapacity) return source + 1;
    if (source == QPrinter::Cassette) return 14;
    if (source == QPrinter::FormSource) return 15;
    return 256;
}

int DuplexNumber(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexShortSide: return 3;
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto: return 2;
    default: return 1;
    }
}

} // namespace

std::optional<forms::PrinterResult> ShowPrintDialog(const forms::PrinterRequest& request)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!request.deviceName.isEmpty()) printer.setPrinterName(request.deviceName);

    QPrintDialog dialog(&printer, DialogOwner(request.owner));
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintCollateCopies;
    if (!(request.flags & (DisablePrintToFile | HidePrintToFile))) options |= QAbstractPrintDialog::PrintToFile;
    if (!(request.flags & NoSelection)) options |= QAbstractPrintDialog::PrintSelection;
    if (!(request.flags & NoPageNums)) options |= QAbstractPrintDialog::PrintPageRange;
    if (!(request.flags & NoCurrentPage)) options |= QAbstractPrintDialog::PrintCurrentPage;
    dialog.setOptions(options);
    if (request.minPage > 0 && request.minPage <= request.maxPage) dialog.setMinMax(request.minPage, request.maxPage);
    if (request.flags & PageNums && request.fromPage > 0 && request.fromPage <= request.toPage) {
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        printer.setFromTo(request.fromPage, request.toPage);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    forms::PrinterResult result;
    result.flags = request.flags & ~(Selection | PageNums | CurrentPage | Collate | PrintToFile);
    switch (printer.printRange()) {
    case QPrinter::Selection: result.flags |= Selection; break;
    case QPrinter::PageRange: result.flags |= PageNums; break;
    case QPrinter::CurrentPage: result.flags |= CurrentPage; break;
    default: break;
    }
    if (printer.collateCopies()) result.flags |= Collate;
    if (!printer.outputFileName().isEmpty()) result.flags |= PrintToFile;

    result.copies = printer.copyCount();
    result.fromPage = printer.fromPage();
    result.toPage = printer.toPage();
    result.deviceName = printer.printerName();
    const QPrinterInfo info = QPrinterInfo::printerInfo(result.deviceName);
    result.driverName = info.makeAndModel();
    result.port = info.location();
    result.isDefault = !result.deviceName.isEmpty() && result.deviceName == QPrinterInfo::defaultPrinterName();

    const QPageLayout layout = printer.pageLayout();
    result.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    result.paperSize = PaperNumber(layout.pageSize().id());
    const QSizeF millimetres = layout.pageSize().size(QPageSize::Millimeter);
    result.paperWidth = static_cast<int>(millimetres.width() * 10);
    result.paperLength = static_cast<int>(millimetres.height() * 10);
    result.defaultSource = BinNumber(printer.paperSource());
    result.collate = printer.collateCopies() ? 1 : 0;
    result.color = printer.colorMode() == QPrinter::GrayScale ? 1 : 2;
    result.duplex = DuplexNumber(printer.duplex());
    result.printQuality = printer.resolution();
    result.yResolution = printer.resolution();
    result.scale = 100;
    result.fields = FilledFields;
    result.specVersion = SpecVersion;
    return result;
}

} // namespace shell
