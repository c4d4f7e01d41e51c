#include "platform/shell/CommonDialogs.h"
#include "platform/shell/DialogOwner.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>

namespace shell {

namespace {

// Flags of the open and save dialogs that change how they behave here.
constexpr int OverwritePrompt = 0x2;
constexpr int FileMustExist = 0x1000;

// Special-folder numbers of the folder browser's root.
constexpr int RootPersonal = 5;
constexpr int RootDesktopFolder = 16;
constexpr int RootDrives = 17;

// "Text File(*.txt)" with "*.txt;*.text" becomes "Text File(*.txt) (*.txt *.text)": the dialog
// reads the patterns from the last parentheses and, with the details hidden, shows the
// description as the program wrote it.
QString NameFilter(const QString& description, const QString& patterns)
{
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : list) {
        p = p.trimmed();
        // "*.*" means every file, also those whose names have no dot.
        if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    return description + QStringLiteral(" (") + list.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// The mounted drives: the root, the file system of the home folder and removable media.
QList<QUrl> MountedDrives()
{
    QList<QUrl> drives {QUrl::fromLocalFile(QStringLiteral("/"))};
    const QString homeRoot = QStorageInfo(QDir::homePath()).rootPath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || root == QLatin1String("/")) continue;
        const bool removable = root.startsWith(QLatin1String("/media/"))
            || root.startsWith(QLatin1String("/run/media/")) || root.startsWith(QLatin1String("/mnt/"));
        if (removable || root == homeRoot) drives << QUrl::fromLocalFile(root);
    }
    return drives;
}

QString FolderOfRoot(int root)
{
    switch (root) {
    case RootPersonal: return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case RootDesktopFolder: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    default: return QStringLiteral("/");
    }
}

// A picture of the file under the cursor beside the dialog's list; the dialog draws itself then.
void AddPreview(QFileDialog& dialog, const std::function<QImage(const QString&)>& preview)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) return;
    auto* picture = new QLabel(&dialog);
    picture->setObjectName(QStringLiteral("preview"));
    picture->setFixedSize(200, 150);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(picture, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, picture, [picture, preview](const QString& path) {
        const QImage image = QFileInfo(path).isFile() ? preview(path) : QImage();
        picture->setPixmap(image.isNull() ? QPixmap()
                                          : QPixmap::fromImage(image.scaled(
                                              picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    });
}

} // namespace

std::optional<forms::FileResult> ShowFileDialog(const forms::FileRequest& request)
{
    QFileDialog dialog(DialogOwner(request.owner), request.title, request.initialFolder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(
        request.save || !(request.flags & FileMustExist) ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (request.save && !(request.flags & OverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (request.title.isEmpty()) dialog.setWindowTitle(request.save ? QObject::tr("Save As") : QObject::tr("Open"));
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    QString suffix = request.defaultExtension;
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);

    QStringList filters;
    for (qsizetype i = 0; i < request.descriptions.size(); ++i)
        filters << NameFilter(request.descriptions[i], request.patterns.value(i));
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.first()));
    }

    if (request.preview) AddPreview(dialog, request.preview);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    forms::FileResult result;
    result.path = dialog.selectedFiles().first();
    result.flags = request.flags;
    if (!suffix.isEmpty() && QFileInfo(result.path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        result.flags |= forms::FileResult::ExtensionDifferent;
    if (!filters.isEmpty()) {
        // With the details hidden, some Qt versions report the filter as shown: the description.
        const QString selected = dialog.selectedNameFilter();
        qsizetype at = filters.indexOf(selected);
        if (at < 0) at = request.descriptions.indexOf(selected);
        result.filterIndex = static_cast<int>(std::max<qsizetype>(at, 0)) + 1;
    }
    return result;
}

std::optional<QString> ShowFolderDialog(const forms::FolderRequest& request)
{
    QFileDialog dialog(DialogOwner(request.owner), request.title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (request.root == RootDrives) {
        const QList<QUrl> drives = MountedDrives();
        dialog.setSidebarUrls(drives);
        dialog.setDirectory(drives.size() > 1 ? drives[1].toLocalFile() : drives[0].toLocalFile());
    } else {
        dialog.setDirectory(FolderOfRoot(request.root));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace shell
