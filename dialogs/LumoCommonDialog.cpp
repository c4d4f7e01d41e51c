#include "dialogs/LumoCommonDialog.h"

#include "platform/forms/PropertyBag.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QResizeEvent>

namespace {

constexpr int ControlSize = 420;

// Integer properties hold 16 bits; anything wider does not fit.
int Integer(int v)
{
    if (v < -32768 || v > 32767) forms::Raise(forms::Err::Overflow);
    return v;
}

} // namespace

LumoCommonDialog::LumoCommonDialog(QWidget* parent)
    : QWidget(parent)
    , forms::Extent(this)
{
    setObjectName(QStringLiteral("LumoCommonDialog"));
    setFixedSize(forms::ToPixels(ControlSize), forms::ToPixels(ControlSize));
    InitProperties();
}

LumoCommonDialog::~LumoCommonDialog() = default;

void LumoCommonDialog::resizeEvent(QResizeEvent* event) { QWidget::resizeEvent(event); }

void LumoCommonDialog::InitProperties() { }

void LumoCommonDialog::ReadProperties(const forms::PropertyBag& /*bag*/) { }

void LumoCommonDialog::WriteProperties(forms::PropertyBag& /*bag*/) const { }

void LumoCommonDialog::About() { }
QString LumoCommonDialog::ShowBrowseForFolder() { return QString(); }
void LumoCommonDialog::ShowHelp() { }
void LumoCommonDialog::ShowPrinter() { }
void LumoCommonDialog::ShowSave() { }
void LumoCommonDialog::ShowOpen() { }
void LumoCommonDialog::ShowFont() { }
void LumoCommonDialog::ShowColor() { }

void LumoCommonDialog::RefuseAtDesignTime() const
{
    if (!userMode_) forms::Raise(forms::Err::SetNotPermitted);
}

// clang-format off
void LumoCommonDialog::setColor(int v) { color_ = v; emit PropertyChanged(QStringLiteral("Color")); }
void LumoCommonDialog::setCancelError(bool v) { cancelError_ = v; emit PropertyChanged(QStringLiteral("CancelError")); }
void LumoCommonDialog::setFlags(int v) { flags_ = v; emit PropertyChanged(QStringLiteral("Flags")); }
void LumoCommonDialog::setDefaultExt(const QString& v) { defaultExt_ = v; emit PropertyChanged(QStringLiteral("DefaultExt")); }
void LumoCommonDialog::setFileName(const QString& v) { fileName_ = v; emit PropertyChanged(QStringLiteral("FileName")); }
void LumoCommonDialog::setInitDir(const QString& v) { initDir_ = v; emit PropertyChanged(QStringLiteral("InitDir")); }
void LumoCommonDialog::setDialogTitle(const QString& v) { dialogTitle_ = v; emit PropertyChanged(QStringLiteral("DialogTitle")); }
void LumoCommonDialog::setFileTitle(const QString& v) { RefuseAtDesignTime(); fileTitle_ = v; emit PropertyChanged(QStringLiteral("FileTitle")); }
void LumoCommonDialog::setCopies(int v) { copies_ = Integer(v); emit PropertyChanged(QStringLiteral("Copies")); }
void LumoCommonDialog::setFilterIndex(int v) { filterIndex_ = Integer(v); emit PropertyChanged(QStringLiteral("FilterIndex")); }
void LumoCommonDialog::setMaxFileSize(int v) { maxFileSize_ = Integer(v); emit PropertyChanged(QStringLiteral("MaxFileSize")); }
void LumoCommonDialog::setFileOffset(int v) { RefuseAtDesignTime(); fileOffset_ = Integer(v); emit PropertyChanged(QStringLiteral("FileOffset")); }
void LumoCommonDialog::setExtensionOffset(int v) { RefuseAtDesignTime(); extensionOffset_ = Integer(v); emit PropertyChanged(QStringLiteral("ExtensionOffset")); }
void LumoCommonDialog::setFontBold(bool v) { fontBold_ = v; emit PropertyChanged(QStringLiteral("FontBold")); }
void LumoCommonDialog::setFontName(const QString& v) { fontName_ = v; emit PropertyChanged(QStringLiteral("FontName")); }
void LumoCommonDialog::setFontSize(float v) { fontSize_ = v; emit PropertyChanged(QStringLiteral("FontSize")); }
void LumoCommonDialog::setFontStrikeThru(bool v) { fontStrikeThru_ = v; emit PropertyChanged(QStringLiteral("FontStrikeThru")); }
void LumoCommonDialog::setFontUnderLine(bool v) { fontUnderLine_ = v; emit PropertyChanged(QStringLiteral("FontUnderLine")); }
void LumoCommonDialog::setFontCharSet(int v) { fontCharSet_ = v; emit PropertyChanged(QStringLiteral("FontCharSet")); }
void LumoCommonDialog::setFontItalic(bool v) { fontItalic_ = v; emit PropertyChanged(QStringLiteral("FontItalic")); }
void LumoCommonDialog::sethDC(int v) { RefuseAtDesignTime(); hDC_ = v; emit PropertyChanged(QStringLiteral("hDC")); }
void LumoCommonDialog::setPrinterDefault(bool v) { printerDefault_ = v; emit PropertyChanged(QStringLiteral("PrinterDefault")); }
void LumoCommonDialog::setMin(int v) { min_ = Integer(v); emit PropertyChanged(QStringLiteral("Min")); }
void LumoCommonDialog::setMax(int v) { max_ = Integer(v); emit PropertyChanged(QStringLiteral("Max")); }
void LumoCommonDialog::setFromPage(int v) { fromPage_ = Integer(v); emit PropertyChanged(QStringLiteral("FromPage")); }
void LumoCommonDialog::setToPage(int v) { toPage_ = Integer(v); emit PropertyChanged(QStringLiteral("ToPage")); }
void LumoCommonDialog::setOrientation(int v) { orientation_ = v; emit PropertyChanged(QStringLiteral("Orientation")); }
void LumoCommonDialog::setHelpCommand(int v) { helpCommand_ = Integer(v); emit PropertyChanged(QStringLiteral("HelpCommand")); }
void LumoCommonDialog::setHelpContext(int v) { helpContext_ = v; emit PropertyChanged(QStringLiteral("HelpContext")); }
void LumoCommonDialog::setHelpFile(const QString& v) { helpFile_ = v; emit PropertyChanged(QStringLiteral("HelpFile")); }
void LumoCommonDialog::setHelpKey(const QVariant& v) { helpKey_ = v.toString(); emit PropertyChanged(QStringLiteral("HelpKey")); }
void LumoCommonDialog::setPrinterName(const QString& v) { RefuseAtDesignTime(); printerName_ = v; emit PropertyChanged(QStringLiteral("PrinterName")); }
void LumoCommonDialog::setPrinterDefaultSource(int v) { RefuseAtDesignTime(); printerDefaultSource_ = v; emit PropertyChanged(QStringLiteral("PrinterDefaultSource")); }
void LumoCommonDialog::setFolderPath(const QString& v) { folderPath_ = v; emit PropertyChanged(QStringLiteral("FolderPath")); }
void LumoCommonDialog::setBrowseSpecialFolder(int v) { browseSpecialFolder_ = v; emit PropertyChanged(QStringLiteral("BrowseSpecialFolder")); }
// clang-format on

void LumoCommonDialog::setFilter(const QString& v)
{
    QString stored = v;
    stored.replace(QLatin1Char('|'), QChar(0));
    filter_ = stored;
    emit PropertyChanged(QStringLiteral("Filter"));
}

void LumoCommonDialog::setAction(int v)
{
    RefuseAtDesignTime();
    if (v < 0 || v > 6) forms::Raise(forms::Err::InvalidPropertyValue);
    action_ = v;
    emit PropertyChanged(QStringLiteral("Action"));
}
