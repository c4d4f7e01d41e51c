#pragma once

#include <QString>

// The two save dialogs of the video capture window. Filters are written as pairs of description
// and pattern separated by "|" (or ":"); inside, the pieces are separated by zero characters.
namespace mCmnDlg {

// The save-file dialog. FileName, FileTitle, Filter, FilterIndex and Flags come back as the
// dialog left them; false when it was cancelled. A FileName longer than 1024 or a FileTitle
// longer than 512 characters raises an overflow error.
bool ShowSaveDialog(QString& FileName, QString& FileTitle, bool OverwritePrompt, QString& Filter, int& FilterIndex,
    const QString& InitDir, const QString& Title, const QString& DefaultExt, qintptr OwnerHwnd, int& Flags);

// The same dialog with a preview of the chosen video beside its list; ReadOnly comes back too.
bool ShowSavePreviewDialog(QString& FileName, QString& FileTitle, bool FileMustExist, bool MultiSelect,
    bool& ReadOnly, bool HideReadOnly, QString& Filter, int& FilterIndex, const QString& InitDir,
    const QString& Title, const QString& DefaultExt, qintptr OwnerHwnd, int& Flags);

// The n-th description-and-pattern pair (from 1) of a zero-separated filter list, as
// description, zero character, pattern; empty when there is no such pair.
QString GetFilterPart(const QString& Filter, int n);

} // namespace mCmnDlg
