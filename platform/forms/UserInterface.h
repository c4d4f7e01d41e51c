#pragma once

#include "platform/forms/CommonDialogs.h"

#include <QPoint>
#include <QString>
#include <optional>

class QAction;
class QMenu;

namespace forms {

class Form;

// Everything the program asks of the user in a box of its own goes through the one current
// UserInterface: the desktop's by default, a scripted user in the tests.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A message box; style is the sum of the button, icon and default-button values. Returns the
    // button pressed (MsgBoxResult).
    virtual int MessageBox(const QString& prompt, int style, const QString& title) = 0;
    // An input box; returns the text entered, or an empty text when cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // A menu popped up at a point of the screen; returns the chosen action or null.
    virtual QAction* PopupMenu(QMenu* menu, const QPoint& at) = 0;

    // The common dialogs; each returns nothing when the user cancelled or the dialog failed.
    virtual std::optional<FileResult> FileDialog(const FileRequest& request) = 0;
    virtual std::optional<ColorResult> ColorDialog(const ColorRequest& request) = 0;
    virtual std::optional<FontResult> FontDialog(const FontRequest& request) = 0;
    virtual std::optional<PrinterResult> PrinterDialog(const PrinterRequest& request) = 0;
    // The chosen folder's path, or an empty text for a choice that is no folder of the file system.
    virtual std::optional<QString> FolderDialog(const FolderRequest& request) = 0;
    // Shows a help file; there is nothing to answer.
    virtual void Help(const HelpRequest& request) = 0;
    // A window is being shown modally and waits for its user. The desktop leaves it to the user.
    virtual void ModalForm(Form& /*form*/) { }
};

// The desktop's own boxes, built with Qt widgets.
class DesktopUserInterface : public UserInterface {
public:
    int MessageBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QAction* PopupMenu(QMenu* menu, const QPoint& at) override;
    std::optional<FileResult> FileDialog(const FileRequest& request) override;
    std::optional<ColorResult> ColorDialog(const ColorRequest& request) override;
    std::optional<FontResult> FontDialog(const FontRequest& request) override;
    std::optional<PrinterResult> PrinterDialog(const PrinterRequest& request) override;
    std::optional<QString> FolderDialog(const FolderRequest& request) override;
    void Help(const HelpRequest& request) override;
};

UserInterface& UI();
// Installs another user interface (null restores the desktop's) and returns the previous one.
UserInterface* SetUserInterface(UserInterface* ui);

} // namespace forms
