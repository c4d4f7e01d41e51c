// The Show members of the common-dialog control: each asks the user interface for its dialog
// and takes the answer into the control's properties.
#include "dialogs/LumoCommonDialog.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/UserInterface.h"
#include "platform/shell/DialogOwner.h"
#include "platform/shell/Printers.h"

#include <cmath>

namespace {

constexpr int HelpContextCommand = 1;
constexpr int FaceNameLength = 31;
constexpr int NamesAreaLength = 100;
constexpr int DevNamesHeader = 8;
constexpr int RegularWeight = 400;

QString UpToNul(const QString& text) { return text.section(QChar(0), 0, 0); }

// Leading and trailing blanks, and only those.
QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// The filter list ends at the first empty text or at a description without its pattern.
void SplitFilter(const QString& filter, QStringList& descriptions, QStringList& patterns)
{
    const QStringList parts = filter.split(QChar(0));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() || parts[i + 1].isEmpty()) break;
        descriptions << parts[i];
        patterns << parts[i + 1];
    }
}

} // namespace

void LumoCommonDialog::ShowOpen() { ShowFile(false); }

void LumoCommonDialog::ShowSave() { ShowFile(true); }

void LumoCommonDialog::ShowFile(bool save)
{
    forms::FileRequest request;
    request.owner = ResolveOwner();
    // The file buffers hold MaxFileSize characters and a terminating NUL; their length is a
    // 16-bit number.
    if (maxFileSize_ + 1 > 32767) forms::Raise(forms::Err::Overflow);
    if (maxFileSize_ < 0) forms::Raise(forms::Err::InvalidProcedureCall);
    request.save = save;
    SplitFilter(filter_, request.descriptions, request.patterns);
    request.initialFolder = initDir_;
    request.fileName = UpToNul(fileName_);
    request.title = dialogTitle_;
    request.flags = flags_;
    request.defaultExtension = defaultExt_;

    std::optional<forms::FileResult> result = forms::UI().FileDialog(request);
    // A path longer than the buffer makes the dialog fail.
    if (result && result->path.toUtf8().size() > maxFileSize_) result.reset();
    if (!result) {
        if (cancelError_) RaiseCancel();
        return;
    }
    const QString path = result->path;
    const int nameAt = static_cast<int>(path.lastIndexOf(QLatin1Char('/')) + 1);
    const QString name = path.mid(nameAt);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    fileName_ = TrimSpaces(UpToNul(path));
    fileOffset_ = nameAt;
    extensionOffset_ = dot < 0 ? static_cast<int>(path.size()) : nameAt + static_cast<int>(dot) + 1;
    fileTitle_ = UpToNul(name);
    filterIndex_ = result->filterIndex;
}

void LumoCommonDialog::ShowColor()
{
    forms::ColorRequest request;
    request.owner = ResolveOwner();
    request.flags = flags_;
    request.customColors = customColors_;
    const std::optional<forms::ColorResult> result = forms::UI().ColorDialog(request);
    if (!result) {
        if (cancelError_) RaiseCancel();
        return;
    }
    color_ = result->color;
    customColors_ = result->customColors;
}

void LumoCommonDialog::ShowFont()
{
    forms::FontRequest request;
    request.owner = ResolveOwner();
    request.flags = flags_;
    request.faceName = fontName_.left(FaceNameLength);
    request.minSize = min_;
    request.maxSize = max_;
    const std::optional<forms::FontResult> result = forms::UI().FontDialog(request);
    if (!result) {
        if (cancelError_) RaiseCancel();
        return;
    }
    fontName_ = UpToNul(result->faceName).left(FaceNameLength);
    color_ = result->color;
    fontCharSet_ = result->charSet & 0xFF;
    fontItalic_ = result->italic;
    fontUnderLine_ = result->underline;
    fontStrikeThru_ = result->strikeOut;
    fontBold_ = result->weight > RegularWeight;
    // Whole points, halves to the even neighbour.
    fontSize_ = static_cast<float>(std::nearbyint(-result->height * 72.0 / shell::LogicalPixelsPerInchY()));
    hDC_ = result->hDC;
}

void LumoCommonDialog::ShowPrinter()
{
    // Everything up to the cancel is done step by step, a failing step skipped.
    forms::IgnoreErrors run;
    forms::PrinterRequest request;
    run([&] { request.owner = ResolveOwner(); });
    run([&] {
        request.flags = flags_;
        request.fromPage = fromPage_;
        request.toPage = toPage_;
        request.minPage = min_;
        request.maxPage = max_;
        const shell::Printer& current = shell::CurrentPrinter();
        request.driverName = current.DriverName();
        request.deviceName = current.DeviceName();
        request.port = current.Port();
    });
    std::optional<forms::PrinterResult> result;
    run([&] { result = forms::UI().PrinterDialog(request); });
    if (!result) {
        if (cancelError_) RaiseCancel();
        return;
    }
    const forms::PrinterResult& r = *result;

    // The device names as the platform lays them out: driver, device and port, each ended by a
    // NUL, in a names area of fixed length behind an 8-byte header of offsets.
    run([&] {
        const QByteArray driver = r.driverName.toUtf8();
        const QByteArray device = r.deviceName.toUtf8();
        QByteArray names = driver + '\0' + device + '\0' + r.port.toUtf8() + '\0';
        names = names.left(NamesAreaLength).leftJustified(NamesAreaLength, '\0');
        printerExtra_.extra = QString::fromUtf8(names);
        printerExtra_.driverOffset = DevNamesHeader;
        printerExtra_.deviceOffset = ToInteger(DevNamesHeader + static_cast<int>(driver.size()) + 1);
        printerExtra_.outputOffset = ToInteger(printerExtra_.deviceOffset + static_cast<int>(device.size()) + 1);
        printerExtra_.isDefault = r.isDefault ? 1 : 0;
    });

    const QString chosen = UpToNul(r.deviceName);
    run([&] {
        if (chosen.toUpper() == shell::CurrentPrinter().DeviceName()) return;
        for (const shell::Printer& printer : shell::Printers())
            if (printerDefault_ && printer.DeviceName().toUpper() == chosen.toUpper())
                shell::SetCurrentPrinter(printer);
    });

    run([&] { flags_ = r.flags; });
    run([&] { copies_ = ToInteger(r.copies); });
    run([&] { fromPage_ = ToInteger(r.fromPage); });
    run([&] { toPage_ = ToInteger(r.toPage); });
    orientation_ = r.orientation;
    hDC_ = r.hDC;
    printerName_ = chosen;
    printerDefaultSource_ = r.defaultSource;
    run([&] {
        PrinterExtra& e = printerExtra_;
        e.collate = ToInteger(r.collate);
        e.color = ToInteger(r.color);
        e.displayFlags = r.displayFlags;
        e.driverVersion = ToInteger(r.driverVersion);
        e.duplex = ToInteger(r.duplex);
        e.fields = r.fields;
        e.paperLength = ToInteger(r.paperLength);
        e.paperSize = ToInteger(r.paperSize);
        e.paperWidth = ToInteger(r.paperWidth);
        e.printQuality = ToInteger(r.printQuality);
        e.scale = ToInteger(r.scale);
        e.specVersion = ToInteger(r.specVersion);
        e.ttOption = ToInteger(r.ttOption);
        e.yResolution = ToInteger(r.yResolution);
    });
    if (!printerDefault_) return;
    shell::Printer& printer = shell::CurrentPrinter();
    run([&] { printer.setCopies(r.copies); });
    run([&] { printer.setDuplex(r.duplex); });
    run([&] { printer.setOrientation(r.orientation); });
    run([&] { printer.setPaperSize(r.paperSize); });
    run([&] { printer.setPrintQuality(r.printQuality); });
    run([&] { printer.setColorMode(r.color); });
    run([&] { printer.setPaperBin(r.defaultSource); });
}

void LumoCommonDialog::ShowHelp()
{
    forms::HelpRequest request;
    request.owner = ResolveOwner();
    request.helpFile = helpFile_;
    request.command = helpCommand_;
    request.data = helpCommand_ == HelpContextCommand ? QVariant(helpContext_) : QVariant(helpKey_.toString());
    forms::UI().Help(request);
}

QString LumoCommonDialog::ShowBrowseForFolder()
{
    forms::FolderRequest request;
    request.owner = ResolveOwner();
    request.root = browseSpecialFolder_;
    request.title = dialogTitle_;
    request.flags = flags_;
    const std::optional<QString> chosen = forms::UI().FolderDialog(request);
    if (!chosen && cancelError_) RaiseCancel();
    folderPath_ = chosen ? UpToNul(*chosen) : QString();
    return QString();
}
