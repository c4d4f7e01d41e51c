#pragma once

#include "platform/forms/Extent.h"

#include <QVariant>
#include <QWidget>
#include <array>
#include <vector>

namespace forms {
class PropertyBag;
}

// The program's own common-dialog control: open, save, colour, font, printer, help and folder
// dialogs behind one set of properties. It keeps a fixed size on its host and shows nothing
// itself. Every Show member is modal; a cancelled dialog raises the cancel error when
// CancelError is True.
class LumoCommonDialog : public QWidget, public forms::Extent {
    Q_OBJECT
public:
    explicit LumoCommonDialog(QWidget* parent);
    ~LumoCommonDialog() override;

    // The host's side of the control: a new instance, an instance loaded from its stored
    // property set, and the host saving its design.
    void InitProperties();
    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;
    // False while the host is in design mode: run-time-only properties and Action refuse to be set.
    bool UserMode() const { return userMode_; }
    void setUserMode(bool on) { userMode_ = on; }

    void About();
    int OwnerHwnd() const { return ownerHwnd_; }
    void setOwnerHwnd(int hwnd) { ownerHwnd_ = hwnd; }
    // Always returns an empty text; the chosen folder is in FolderPath.
    QString ShowBrowseForFolder();
    void ShowHelp();
    void ShowPrinter();
    void ShowSave();
    void ShowOpen();
    void ShowFont();
    void ShowColor();

    int Color() const { return color_; }
    void setColor(int v);
    bool CancelError() const { return cancelError_; }
    void setCancelError(bool v);
    int Flags() const { return flags_; }
    void setFlags(int v);
    QString DefaultExt() const { return defaultExt_; }
    void setDefaultExt(const QString& v);
    QString FileName() const { return fileName_; }
    void setFileName(const QString& v);
    // Read back with every "|" given to the setter as a NUL character.
    QString Filter() const { return filter_; }
    void setFilter(const QString& v);
    QString InitDir() const { return initDir_; }
    void setInitDir(const QString& v);
    QString DialogTitle() const { return dialogTitle_; }
    void setDialogTitle(const QString& v);
    QString FileTitle() const { return fileTitle_; }
    void setFileTitle(const QString& v);
    int Copies() const { return copies_; }
    void setCopies(int v);
    int FilterIndex() const { return filterIndex_; }
    void setFilterIndex(int v);
    int MaxFileSize() const { return maxFileSize_; }
    void setMaxFileSize(int v);
    int FileOffset() const { return fileOffset_; }
    void setFileOffset(int v);
    int ExtensionOffset() const { return extensionOffset_; }
    void setExtensionOffset(int v);
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool v);
    QString FontName() const { return fontName_; }
    void setFontName(const QString& v);
    float FontSize() const { return fontSize_; }
    void setFontSize(float v);
    bool FontStrikeThru() const { return fontStrikeThru_; }
    void setFontStrikeThru(bool v);
    bool FontUnderLine() const { return fontUnderLine_; }
    void setFontUnderLine(bool v);
    int FontCharSet() const { return fontCharSet_; }
    void setFontCharSet(int v);
    bool FontItalic() const { return fontItalic_; }
    void setFontItalic(bool v);
    int hDC() const { return hDC_; }
    void sethDC(int v);
    bool PrinterDefault() const { return printerDefault_; }
    void setPrinterDefault(bool v);
    int Min() const { return min_; }
    void setMin(int v);
    int Max() const { return max_; }
    void setMax(int v);
    int FromPage() const { return fromPage_; }
    void setFromPage(int v);
    int ToPage() const { return toPage_; }
    void setToPage(int v);
    int Orientation() const { return orientation_; }
    void setOrientation(int v);
    // Setting Action opens a dialog: 1 open, 2 save, 3 colour, 4 font, 5 printer, 6 help, 0 none.
    int Action() const { return action_; }
    void setAction(int v);
    int HelpCommand() const { return helpCommand_; }
    void setHelpCommand(int v);
    int HelpContext() const { return helpContext_; }
    void setHelpContext(int v);
    QString HelpFile() const { return helpFile_; }
    void setHelpFile(const QString& v);
    // Any value given is kept as its text.
    QVariant HelpKey() const { return helpKey_; }
    void setHelpKey(const QVariant& v);
    QString PrinterName() const { return printerName_; }
    void setPrinterName(const QString& v);
    int PrinterDefaultSource() const { return printerDefaultSource_; }
    void setPrinterDefaultSource(int v);

    // Filled by the printer dialog.
    int PrinterExtraCollate() const { return printerExtra_.collate; }
    int PrinterExtraColor() const { return printerExtra_.color; }
    int PrinterExtraDisplayFlags() const { return printerExtra_.displayFlags; }
    int PrinterExtraDriverVersion() const { return printerExtra_.driverVersion; }
    int PrinterExtraDuplex() const { return printerExtra_.duplex; }
    int PrinterExtraFields() const { return printerExtra_.fields; }
    int PrinterExtraPaperLength() const { return printerExtra_.paperLength; }
    int PrinterExtraPaperSize() const { return printerExtra_.paperSize; }
    int PrinterExtraPaperWidth() const { return printerExtra_.paperWidth; }
    int PrinterExtraPrintQuality() const { return printerExtra_.printQuality; }
    int PrinterExtraScale() const { return printerExtra_.scale; }
    int PrinterExtraSpecVersion() const { return printerExtra_.specVersion; }
    int PrinterExtraTTOption() const { return printerExtra_.ttOption; }
    int PrinterExtraYResolution() const { return printerExtra_.yResolution; }
    QString PrinterExtraExtra() const { return printerExtra_.extra; }
    int PrinterExtraDefault() const { return printerExtra_.isDefault; }
    int PrinterExtraDeviceOffset() const { return printerExtra_.deviceOffset; }
    int PrinterExtraDriverOffset() const { return printerExtra_.driverOffset; }
    int PrinterExtraOutputOffset() const { return printerExtra_.outputOffset; }

    QString FolderPath() const { return folderPath_; }
    void setFolderPath(const QString& v);
    // 0: the whole file system; 17: the mounted drives.
    int BrowseSpecialFolder() const { return browseSpecialFolder_; }
    void setBrowseSpecialFolder(int v);

signals:
    // A persisted property was set; key is the name it is stored under.
    void PropertyChanged(const QString& key);

protected:
    // The control keeps its size whatever the host asks.
    void ApplyGeometry(const QRectF& twips) override;

private:
    struct Persisted;
    static const std::vector<Persisted>& PersistedProperties();

    struct PrinterExtra {
        int collate = 0, color = 0, displayFlags = 0, driverVersion = 0, duplex = 0, fields = 0;
        int paperLength = 0, paperSize = 0, paperWidth = 0, printQuality = 0, scale = 0;
        int specVersion = 0, ttOption = 0, yResolution = 0;
        QString extra;
        int isDefault = 0, deviceOffset = 0, driverOffset = 0, outputOffset = 0;
    };

    static int ToInteger(int v);
    quintptr ResolveOwner();
    void RefuseAtDesignTime() const;
    [[noreturn]] void RaiseCancel() const;
    void ShowFile(bool save);

    bool userMode_ = true;
    int ownerHwnd_ = 0;
    std::array<int, 16> customColors_ {};

    int color_ = 0;
    bool cancelError_ = false;
    int flags_ = 0;
    QString defaultExt_;
    QString fileName_;
    QString filter_;
    QString initDir_;
    QString dialogTitle_;
    QString fileTitle_;
    int copies_ = 1;
    int filterIndex_ = 0;
    int maxFileSize_ = 260;
    int fileOffset_ = 0;
    int extensionOffset_ = 0;
    bool fontBold_ = false;
    QString fontName_;
    float fontSize_ = 8;
    bool fontStrikeThru_ = false;
    bool fontUnderLine_ = false;
    int fontCharSet_ = 0;
    bool fontItalic_ = false;
    int hDC_ = 0;
    bool printerDefault_ = false;
    int min_ = 0;
    int max_ = 0;
    int fromPage_ = 0;
    int toPage_ = 0;
    int orientation_ = 1;
    int action_ = 0;
    int helpCommand_ = 0;
    int helpContext_ = 0;
    QString helpFile_;
    QVariant helpKey_ = QString();
    QString printerName_;
    int printerDefaultSource_ = 0;
    PrinterExtra printerExtra_;
    QString folderPath_;
    int browseSpecialFolder_ = 0;
};
