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

} // namespace forms
