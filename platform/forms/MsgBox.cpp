#include "platform/forms/MsgBox.h"

#include "platform/forms/UserInterface.h"

#include <QCoreApplication>

namespace forms {

QString AppTitle() { return QCoreApplication::applicationName(); }

int MsgBox(const QString& prompt, int style, const QString& title) { return UI().MessageBox(prompt, style, title); }

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return UI().InputBox(prompt, title, defaultText);
}

void SettingsNotSaved(const QString& what, const QString& path)
{
    MsgBox(what + QStringLiteral(" could not be saved to ") + path
            + QStringLiteral(" (the disk may be full, or the folder not writable).\r\n")
            + QStringLiteral("The next start uses the settings saved before."),
        MsgBoxStyle::Critical);
}

} // namespace forms
