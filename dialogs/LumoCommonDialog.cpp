#include "dialogs/LumoCommonDialog.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/PropertyBag.h"
#include "platform/forms/RuntimeError.h"

#include <QWidget>
#include <cmath>
#include <limits>
#include <variant>

namespace {

constexpr double ControlSize = 420;

constexpr int ActionNone = 0;
constexpr int ActionOpen = 1;
constexpr int ActionSave = 2;
constexpr int ActionColor = 3;
constexpr int ActionFont = 4;
constexpr int ActionPrinter = 5;
constexpr int ActionHelp = 6;

// Stored values are converted the way the property's type takes them: numbers round half to
// even, a number outside the type's range overflows and a text that is no number is a type
// mismatch.
double Number(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool) return value.toBool() ? -1 : 0;
    bool ok = false;
    const double n = value.toDouble(&ok);
    if (!ok) forms::Raise(forms::Err::TypeMismatch);
    return n;
}

int ToLong(const QVariant& value)
{
    const double n = std::nearbyint(Number(value));
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) forms::Raise(forms::Err::Overflow);
    return static_cast<int>(n);
}

bool ToBoolean(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    }
    return Number(value) != 0;
}

QString ToText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool) return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

} // namespace

// One persisted property: its key, its default and where it lives.
struct LumoCommonDialog::Persisted {
    using Field = std::variant<int LumoCommonDialog::*, bool LumoCommonDialog::*, float LumoCommonDialog::*,
        QString LumoCommonDialog::*, QVariant LumoCommonDialog::*>;
    QString key;
    QVariant defaultValue;
    Field field;
    bool integer16 = false;
};

const std::vector<LumoCommonDialog::Persisted>& LumoCommonDialog::PersistedProperties()
{
    using C = LumoCommonDialog;
    const QString none;
    static const std::vector<Persisted> properties {
        {QStringLiteral("Color"), 0, &C::color_},
        {QStringLiteral("CancelError"), false, &C::cancelError_},
        {QStringLiteral("Flags"), 0, &C::flags_},
        {QStringLiteral("DefaultExt"), none, &C::defaultExt_},
        {QStringLiteral("FileName"), none, &C::fileName_},
        {QStringLiteral("Filter"), none, &C::filter_},
        {QStringLiteral("InitDir"), none, &C::initDir_},
        {QStringLiteral("DialogTitle"), none, &C::dialogTitle_},
        {QStringLiteral("FileTitle"), none, &C::fileTitle_},
        {QStringLiteral("Copies"), 1, &C::copies_, true},
        {QStringLiteral("FilterIndex"), 0, &C::filterIndex_, true},
        {QStringLiteral("MaxFileSize"), 260, &C::maxFileSize_, true},
        {QStringLiteral("FileOffset"), 0, &C::fileOffset_, true},
        {QStringLiteral("ExtensionOffset"), 0, &C::extensionOffset_, true},
        {QStringLiteral("FontBold"), false, &C::fontBold_},
        {QStringLiteral("FontName"), none, &C::fontName_},
        {QStringLiteral("FontSize"), 8.0f, &C::fontSize_},
        {QStringLiteral("FontStrikeThru"), false, &C::fontStrikeThru_},
        {QStringLiteral("FontUnderLine"), false, &C::fontUnderLine_},
        {QStringLiteral("FontCharSet"), 0, &C::fontCharSet_},
        {QStringLiteral("FontItalic"), false, &C::fontItalic_},
        {QStringLiteral("hDC"), 0, &C::hDC_},
        {QStringLiteral("PrinterDefault"), false, &C::printerDefault_},
        {QStringLiteral("Min"), 0, &C::min_, true},
        {QStringLiteral("Max"), 0, &C::max_, true},
        {QStringLiteral("FromPage"), 0, &C::fromPage_, true},
        {QStringLiteral("ToPage"), 0, &C::toPage_, true},
        {QStringLiteral("Orientation"), 1, &C::orientation_},
        {QStringLiteral("Action"), 0, &C::action_, true},
        {QStringLiteral("HelpCommand"), 0, &C::helpCommand_, true},
        {QStringLiteral("HelpContext"), 0, &C::helpContext_},
        {QStringLiteral("HelpFile"), none, &C::helpFile_},
        {QStringLiteral("HelpKey"), none, &C::helpKey_},
        {QStringLiteral("PrinterName"), none, &C::printerName_},
        {QStringLiteral("PrinterDefaultSource"), 0, &C::printerDefaultSource_},
        {QStringLiteral("FolderPath"), none, &C::folderPath_},
        {QStringLiteral("BrowseSpecialFolder"), 0, &C::browseSpecialFolder_},
    };
    return properties;
}

// Integer properties hold 16 bits; anything wider does not fit.
int LumoCommonDialog::ToInteger(int v)
{
    if (v < -32768 || v > 32767) forms::Raise(forms::Err::Overflow);
    return v;
}

LumoCommonDialog::LumoCommonDialog(QWidget* parent)
    : QWidget(parent)
    , forms::Extent(this)
{
    setObjectName(QStringLiteral("LumoCommonDialog"));
    Move(0, 0, ControlSize, ControlSize);
    InitProperties();
}

LumoCommonDialog::~LumoCommonDialog() = default;

void LumoCommonDialog::ApplyGeometry(const QRectF& twips)
{
    forms::Extent::ApplyGeometry(QRectF(twips.topLeft(), QSizeF(ControlSize, ControlSize)));
}

void LumoCommonDialog::InitProperties()
{
    for (const Persisted& p : PersistedProperties())
        std::visit(
            [&](auto field) {
                this->*field = qvariant_cast<std::remove_reference_t<decltype(this->*field)>>(p.defaultValue);
            },
            p.field);
}

void LumoCommonDialog::ReadProperties(const forms::PropertyBag& bag)
{
    for (const Persisted& p : PersistedProperties()) {
        const QVariant value = bag.ReadProperty(p.key, p.defaultValue);
        std::visit(
            [&](auto field) {
                using T = std::remove_reference_t<decltype(this->*field)>;
                if constexpr (std::is_same_v<T, int>)
                    this->*field = p.integer16 ? ToInteger(ToLong(value)) : ToLong(value);
                else if constexpr (std::is_same_v<T, bool>)
                    this->*field = ToBoolean(value);
                else if constexpr (std::is_same_v<T, float>)
                    this->*field = static_cast<float>(Number(value));
                else if constexpr (std::is_same_v<T, QString>)
                    this->*field = ToText(value);
                else
                    this->*field = QVariant(ToText(value));
            },
            p.field);
    }
}

void LumoCommonDialog::WriteProperties(forms::PropertyBag& bag) const
{
    for (const Persisted& p : PersistedProperties())
        std::visit(
            [&](auto field) { bag.WriteProperty(p.key, QVariant::fromValue(this->*field), p.defaultValue); }, p.field);
}

void LumoCommonDialog::About()
{
    forms::MsgBox(QStringLiteral("LumoCommonDialog\n\n"
                                 "The open, save, colour, font, printer, help and folder dialogs of the desktop "
                                 "behind one control.\n\nWritten for the Morvane Media Player."),
        forms::MsgBoxStyle::Information, QStringLiteral("About LumoCommonDialog"));
}

quintptr LumoCommonDialog::ResolveOwner()
{
    if (ownerHwnd_ == 0 && parentWidget()) {
        const quintptr host = parentWidget()->window()->winId();
        if (host > static_cast<quintptr>(std::numeric_limits<int>::max())) forms::Raise(forms::Err::Overflow);
        ownerHwnd_ = static_cast<int>(host);
    }
    return static_cast<quintptr>(static_cast<unsigned>(ownerHwnd_));
}

void LumoCommonDialog::RefuseAtDesignTime() const
{
    if (!userMode_) forms::Raise(forms::Err::SetNotPermitted);
}

void LumoCommonDialog::RaiseCancel() const
{
    throw forms::RuntimeError(forms::Err::CancelSelected, QStringLiteral("LumoCommonDialog user control"),
        QStringLiteral("Cancel was selected."));
}

void LumoCommonDialog::setAction(int v)
{
    RefuseAtDesignTime();
    if (v < ActionNone || v > ActionHelp) forms::Raise(forms::Err::InvalidPropertyValue);
    action_ = v;
    switch (v) {
    case ActionOpen: ShowOpen(); break;
    case ActionSave: ShowSave(); break;
    case ActionColor: ShowColor(); break;
    case ActionFont: ShowFont(); break;
    case ActionPrinter: ShowPrinter(); break;
    case ActionHelp: ShowHelp(); break;
    default: break;
    }
    emit PropertyChanged(QStringLiteral("Action"));
}

void LumoCommonDialog::setFilter(const QString& v)
{
    QString stored = v;
    stored.replace(QLatin1Char('|'), QChar(0));
    filter_ = stored;
    emit PropertyChanged(QStringLiteral("Filter"));
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
void LumoCommonDialog::setCopies(int v) { copies_ = ToInteger(v); emit PropertyChanged(QStringLiteral("Copies")); }
void LumoCommonDialog::setFilterIndex(int v) { filterIndex_ = ToInteger(v); emit PropertyChanged(QStringLiteral("FilterIndex")); }
void LumoCommonDialog::setMaxFileSize(int v) { maxFileSize_ = ToInteger(v); emit PropertyChanged(QStringLiteral("MaxFileSize")); }
void LumoCommonDialog::setFileOffset(int v) { RefuseAtDesignTime(); fileOffset_ = ToInteger(v); emit PropertyChanged(QStringLiteral("FileOffset")); }
void LumoCommonDialog::setExtensionOffset(int v) { RefuseAtDesignTime(); extensionOffset_ = ToInteger(v); emit PropertyChanged(QStringLiteral("ExtensionOffset")); }
void LumoCommonDialog::setFontBold(bool v) { fontBold_ = v; emit PropertyChanged(QStringLiteral("FontBold")); }
void LumoCommonDialog::setFontName(const QString& v) { fontName_ = v; emit PropertyChanged(QStringLiteral("FontName")); }
void LumoCommonDialog::setFontSize(float v) { fontSize_ = v; emit PropertyChanged(QStringLiteral("FontSize")); }
void LumoCommonDialog::setFontStrikeThru(bool v) { fontStrikeThru_ = v; emit PropertyChanged(QStringLiteral("FontStrikeThru")); }
void LumoCommonDialog::setFontUnderLine(bool v) { fontUnderLine_ = v; emit PropertyChanged(QStringLiteral("FontUnderLine")); }
void LumoCommonDialog::setFontCharSet(int v) { fontCharSet_ = v; emit PropertyChanged(QStringLiteral("FontCharSet")); }
void LumoCommonDialog::setFontItalic(bool v) { fontItalic_ = v; emit PropertyChanged(QStringLiteral("FontItalic")); }
void LumoCommonDialog::sethDC(int v) { RefuseAtDesignTime(); hDC_ = v; emit PropertyChanged(QStringLiteral("hDC")); }
void LumoCommonDialog::setPrinterDefault(bool v) { printerDefault_ = v; emit PropertyChanged(QStringLiteral("PrinterDefault")); }
void LumoCommonDialog::setMin(int v) { min_ = ToInteger(v); emit PropertyChanged(QStringLiteral("Min")); }
void LumoCommonDialog::setMax(int v) { max_ = ToInteger(v); emit PropertyChanged(QStringLiteral("Max")); }
void LumoCommonDialog::setFromPage(int v) { fromPage_ = ToInteger(v); emit PropertyChanged(QStringLiteral("FromPage")); }
void LumoCommonDialog::setToPage(int v) { toPage_ = ToInteger(v); emit PropertyChanged(QStringLiteral("ToPage")); }
void LumoCommonDialog::setOrientation(int v) { orientation_ = v; emit PropertyChanged(QStringLiteral("Orientation")); }
void LumoCommonDialog::setHelpCommand(int v) { helpCommand_ = ToInteger(v); emit PropertyChanged(QStringLiteral("HelpCommand")); }
void LumoCommonDialog::setHelpContext(int v) { helpContext_ = v; emit PropertyChanged(QStringLiteral("HelpContext")); }
void LumoCommonDialog::setHelpFile(const QString& v) { helpFile_ = v; emit PropertyChanged(QStringLiteral("HelpFile")); }
void LumoCommonDialog::setHelpKey(const QVariant& v) { helpKey_ = QVariant(ToText(v)); emit PropertyChanged(QStringLiteral("HelpKey")); }
void LumoCommonDialog::setPrinterName(const QString& v) { RefuseAtDesignTime(); printerName_ = v; emit PropertyChanged(QStringLiteral("PrinterName")); }
void LumoCommonDialog::setPrinterDefaultSource(int v) { RefuseAtDesignTime(); printerDefaultSource_ = v; emit PropertyChanged(QStringLiteral("PrinterDefaultSource")); }
void LumoCommonDialog::setFolderPath(const QString& v) { folderPath_ = v; emit PropertyChanged(QStringLiteral("FolderPath")); }
void LumoCommonDialog::setBrowseSpecialFolder(int v) { browseSpecialFolder_ = v; emit PropertyChanged(QStringLiteral("BrowseSpecialFolder")); }
// clang-format on
