#include "platform/forms/UserInterface.h"

#include "platform/forms/MsgBox.h"
#include "platform/shell/CommonDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace forms {

namespace {

struct ButtonSet {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonSet> ButtonsOf(int style)
{
    using B = QMessageBox;
    switch (style & 7) {
    case MsgBoxStyle::OKCancel: return {{B::Ok, MsgBoxResult::OK}, {B::Cancel, MsgBoxResult::Cancel}};
    case MsgBoxStyle::AbortRetryIgnore:
        return {{B::Abort, MsgBoxResult::Abort}, {B::Retry, MsgBoxResult::Retry}, {B::Ignore, MsgBoxResult::Ignore}};
    case MsgBoxStyle::YesNoCancel:
        return {{B::Yes, MsgBoxResult::Yes}, {B::No, MsgBoxResult::No}, {B::Cancel, MsgBoxResult::Cancel}};
    case MsgBoxStyle::YesNo: return {{B::Yes, MsgBoxResult::Yes}, {B::No, MsgBoxResult::No}};
    case MsgBoxStyle::RetryCancel: return {{B::Retry, MsgBoxResult::Retry}, {B::Cancel, MsgBoxResult::Cancel}};
    default: return {{B::Ok, MsgBoxResult::OK}};
    }
}

QMessageBox::Icon IconOf(int style)
{
    switch (style & 0x70) {
    case MsgBoxStyle::Critical: return QMessageBox::Critical;
    case MsgBoxStyle::Question: return QMessageBox::Question;
    case MsgBoxStyle::Exclamation: return QMessageBox::Warning;
    case MsgBoxStyle::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

DesktopUserInterface& Desktop()
{
    static DesktopUserInterface desktop;
    return desktop;
}

UserInterface* current = nullptr;

} // namespace

int DesktopUserInterface::MessageBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox box(IconOf(style), title, prompt, QMessageBox::NoButton, QApplication::activeWindow());
    const auto buttons = ButtonsOf(style);
    for (const auto& b : buttons)
        box.addButton(b.button);
    const size_t def = (style & MsgBoxStyle::DefaultButton3) ? 2 : (style & MsgBoxStyle::DefaultButton2) ? 1 : 0;
    if (def < buttons.size()) box.setDefaultButton(buttons[def].button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& b : buttons)
        if (b.button == pressed) return b.result;
    // Closed with the window's own close box: the cancel button if there is one, else the first.
    for (const auto& b : buttons)
        if (b.result == MsgBoxResult::Cancel) return b.result;
    return buttons.front().result;
}

QString DesktopUserInterface::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text
        = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QAction* DesktopUserInterface::PopupMenu(QMenu* menu, const QPoint& at) { return menu->exec(at); }

std::optional<FileResult> DesktopUserInterface::FileDialog(const FileRequest& request)
{
    return shell::ShowFileDialog(request);
}

std::optional<ColorResult> DesktopUserInterface::ColorDialog(const ColorRequest& request)
{
    return shell::ShowColorDialog(request);
}

std::optional<FontResult> DesktopUserInterface::FontDialog(const FontRequest& request)
{
    return shell::ShowFontDialog(request);
}

std::optional<PrinterResult> DesktopUserInterface::PrinterDialog(const PrinterRequest& request)
{
    return shell::ShowPrintDialog(request);
}

std::optional<QString> DesktopUserInterface::FolderDialog(const FolderRequest& request)
{
    return shell::ShowFolderDialog(request);
}

void DesktopUserInterface::Help(const HelpRequest& request) { shell::ShowHelpFile(request); }

UserInterface& UI() { return current ? *current : Desktop(); }

UserInterface* SetUserInterface(UserInterface* ui)
{
    UserInterface* before = current;
    current = ui;
    return before;
}

} // namespace forms
