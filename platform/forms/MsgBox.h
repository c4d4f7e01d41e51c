#pragma once

#include <QString>

namespace forms {

// Message box styles, added together.
namespace MsgBoxStyle {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
} // namespace MsgBoxStyle

namespace MsgBoxResult {
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBoxResult

// The application title that boxes carry when no title is given.
QString AppTitle();

int MsgBox(const QString& prompt, int style = MsgBoxStyle::OKOnly, const QString& title = AppTitle());
QString InputBox(const QString& prompt, const QString& title = AppTitle(), const QString& defaultText = {});

// Tells the user, in one critical box, that a window's settings could not be written to the file
// and that the next start will find those saved before.
void SettingsNotSaved(const QString& what, const QString& path);

} // namespace forms
