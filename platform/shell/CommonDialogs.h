#pragma once

#include "platform/forms/CommonDialogs.h"

#include <optional>

// The desktop's common dialogs, modal over the window whose handle the request names. Each
// returns nothing when the user cancels.
namespace shell {

std::optional<forms::FileResult> ShowFileDialog(const forms::FileRequest& request);
std::optional<QString> ShowFolderDialog(const forms::FolderRequest& request);
std::optional<forms::ColorResult> ShowColorDialog(const forms::ColorRequest& request);
std::optional<forms::FontResult> ShowFontDialog(const forms::FontRequest& request);
std::optional<forms::PrinterResult> ShowPrintDialog(const forms::PrinterRequest& request);
// Opens the help file with the desktop's viewer for it; nothing is reported.
void ShowHelpFile(const forms::HelpRequest& request);

} // namespace shell
