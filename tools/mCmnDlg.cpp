#include "tools/mCmnDlg.h"

#include "components/avi/AviFile.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/UserInterface.h"

#include <QFileInfo>
#include <QImage>

namespace mCmnDlg {

namespace {

constexpr QChar Zero(u'\0');
constexpr int MaxFile = 1024;
constexpr int MaxFileTitle = 512;
constexpr int HookAndTemplate = 0x20 | 0x40;

// Step 1 of the set-up: "|" and ":" become zero characters, and two more end the list.
QString ConvertFilter(const QString& filter)
{
    QString converted = filter;
    converted.replace(u'|', Zero).replace(u':', Zero);
    return converted + Zero + Zero;
}

struct Dialog {
    forms::FileRequest request;
    QString converted;
};

Dialog SetUp(const QString& FileName, const QString& FileTitle, const QString& Filter, int FilterIndex,
    const QString& InitDir, const QString& Title, const QString& DefaultExt, qintptr OwnerHwnd, int flags)
{
    if (FileName.size() > MaxFile || FileTitle.size() > MaxFileTitle)
        forms::Raise(forms::Err::Overflow, QStringLiteral("mCmnDlg"));
    Dialog d;
    d.converted = ConvertFilter(Filter);
    const QStringList pieces = d.converted.split(Zero);
    for (qsizetype i = 0; i + 1 < pieces.size() && !pieces[i].isEmpty(); i += 2) {
        d.request.descriptions << pieces[i];
        d.request.patterns << pieces[i + 1];
    }
    d.request.save = true;
    d.request.fileName = FileName;
    d.request.owner = OwnerHwnd == -1 ? 0 : quintptr(OwnerHwnd);
    d.request.initialFolder = InitDir;
    d.request.title = Title;
    d.request.defaultExtension = DefaultExt;
    d.request.filterIndex = FilterIndex;
    d.request.flags = flags;
    return d;
}

void Cancelled(QString& FileName, QString& FileTitle, QString& Filter, int& Flags)
{
    FileName = QString(Zero);
    FileTitle = QString(Zero);
    Filter = QString(Zero);
    Flags = 0;
}

void Chosen(const Dialog& d, const forms::FileResult& result, QString& FileName, QString& FileTitle,
    QString& Filter, int& FilterIndex, int& Flags)
{
    FileName = result.path;
    FileTitle = QFileInfo(result.path).fileName();
    Flags = result.flags;
    FilterIndex = result.filterIndex;
    Filter = GetFilterPart(d.converted, FilterIndex);
}

} // namespace

bool ShowSaveDialog(QString& FileName, QString& FileTitle, bool OverwritePrompt, QString& Filter, int& FilterIndex,
    const QString& InitDir, const QString& Title, const QString& DefaultExt, qintptr OwnerHwnd, int& Flags)
{
    int flags = Flags & ~HookAndTemplate;
    if (OverwritePrompt) flags |= 0x4 | 0x2;
    const Dialog d = SetUp(FileName, FileTitle, Filter, FilterIndex, InitDir, Title, DefaultExt, OwnerHwnd, flags);
    const std::optional<forms::FileResult> result = forms::UI().FileDialog(d.request);
    if (!result) {
        Cancelled(FileName, FileTitle, Filter, Flags);
        FilterIndex = 0;
        return false;
    }
    Chosen(d, *result, FileName, FileTitle, Filter, FilterIndex, Flags);
    return true;
}

bool ShowSavePreviewDialog(QString& FileName, QString& FileTitle, bool FileMustExist, bool MultiSelect,
    bool& ReadOnly, bool HideReadOnly, QString& Filter, int& FilterIndex, const QString& InitDir,
    const QString& Title, const QString& DefaultExt, qintptr OwnerHwnd, int& Flags)
{
    int flags = Flags & ~HookAndTemplate;
    if (FileMustExist) flags |= 0x1000;
    if (MultiSelect) flags |= 0x200;
    if (ReadOnly) flags |= 0x1;
    if (HideReadOnly) flags |= 0x4;
    Dialog d = SetUp(FileName, FileTitle, Filter, FilterIndex, InitDir, Title, DefaultExt, OwnerHwnd, flags);
    d.request.preview = [](const QString& path) {
        using namespace avifile;
        QImage picture;
        PAVIFILE file = nullptr;
        PAVISTREAM stream = nullptr;
        if (AVIFileOpen(&file, path, OF_SHARE_DENY_WRITE) == AVIERR_OK
            && AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK)
            picture = AVIStreamFirstFrame(stream);
        AVIStreamRelease(stream);
        AVIFileRelease(file);
        return picture;
    };
    const std::optional<forms::FileResult> result = forms::UI().FileDialog(d.request);
    if (!result) {
        Cancelled(FileName, FileTitle, Filter, Flags);
        FilterIndex = -1;
        return false;
    }
    Chosen(d, *result, FileName, FileTitle, Filter, FilterIndex, Flags);
    ReadOnly = Flags & 0x1;
    return true;
}

QString GetFilterPart(const QString& Filter, int n)
{
    if (n < 1 || Filter == QString(Zero)) return {};
    const QStringList pieces = Filter.split(Zero);
    const qsizetype at = qsizetype(n - 1) * 2;
    if (at + 1 >= pieces.size() || pieces[at].isEmpty()) return {};
    return pieces[at] + Zero + pieces[at + 1];
}

} // namespace mCmnDlg
