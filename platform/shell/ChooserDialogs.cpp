#include "platform/shell/CommonDialogs.h"
#include "platform/shell/DialogOwner.h"

#include <QColorDialog>
#include <QFontDialog>
#include <cmath>

namespace shell {

namespace {

// Colours travel as 0x00BBGGRR.
QColor FromColorRef(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }
int ToColorRef(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

} // namespace

std::optional<forms::ColorResult> ShowColorDialog(const forms::ColorRequest& request)
{
    // The dialog's custom colours are shared by the whole application: hand in the caller's
    // and read them back, so each caller keeps its own.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, FromColorRef(request.customColors[i]));
    QColorDialog dialog(Qt::black, DialogOwner(request.owner));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    forms::ColorResult result;
    result.color = ToColorRef(dialog.selectedColor());
    for (int i = 0; i < 16; ++i)
        result.customColors[i] = ToColorRef(QColorDialog::customColor(i));
    return result;
}

std::optional<forms::FontResult> ShowFontDialog(const forms::FontRequest& request)
{
    QFont initial;
    if (!request.faceName.isEmpty()) initial.setFamily(request.faceName);
    QFontDialog dialog(initial, DialogOwner(request.owner));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont font = dialog.selectedFont();
    forms::FontResult result;
    result.faceName = font.family();
    result.height = font.pixelSize() > 0
        ? -font.pixelSize()
        : -static_cast<int>(std::lround(font.pointSizeF() * LogicalPixelsPerInchY() / 72));
    result.weight = font.weight();
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikeOut = font.strikeOut();
    return result;
}

} // namespace shell
