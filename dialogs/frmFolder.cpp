#include "dialogs/frmFolder.h"

#include "components/skin/Skin.h"
#include "dialogs/modRegistry.h"
#include "engine/Docking.h"
#include "platform/files/Drives.h"
#include "platform/forms/DoEvents.h"
#include "platform/forms/RuntimeError.h"
#include "platform/registry/Registry.h"
#include "platform/registry/ShellFolders.h"
#include "player/frmPlayer.h"
#include "tools/ToolWindowSetup.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QPointer>
#include <QSet>
#include <QStyle>

namespace {

// The folder chosen last, for the whole run of the program.
QString RememberedFolder;

const QString DesktopKey = QStringLiteral("Desktop");
const QString DocumentsKey = QStringLiteral("My Documents");
const QString ComputerKey = QStringLiteral("My Computer");
constexpr double MinimumSize = 2500;

// False when the registry could not keep the desktop's own folders at load (its file cannot be
// written, on a full disk): those it lacks are then taken from the desktop directly.
bool ShellFoldersKept = true;

QString ShellFolder(const QString& name)
{
    if (!ShellFoldersKept && !registry::QueryValue(registry::HKEY_CURRENT_USER, registry::ShellFoldersKey, name))
        return registry::UserFolder(name);
    return modRegistry::GetStringKey(registry::HKEY_CURRENT_USER, registry::ShellFoldersKey, name);
}

bool HasSubfolders(const QString& path)
{
    return QDirIterator(path, QDir::Dirs | QDir::NoDotAndDotDot).hasNext();
}

// A drive's node key: unique per drive, so that the folders of a drive mounted inside another
// keep keys of their own under each.
QString DriveKey(const QString& mountPoint) { return QLatin1Char('[') + mountPoint + QLatin1Char(']'); }

QString DriveFolder(const QString& mountPoint)
{
    return mountPoint.endsWith(QLatin1Char('/')) ? mountPoint : mountPoint + QLatin1Char('/');
}

} // namespace

frmFolder::frmFolder()
{
    setObjectName(QStringLiteral("frmFolder"));
    setCaption(QStringLiteral("Select Directory"));
    QWidget* client = Client();

    QStyle* style = QApplication::style();
    const struct {
        const char* key;
        QStyle::StandardPixmap picture;
    } pictures[] = {
        {"UnknownDrive", QStyle::SP_DriveHDIcon},
        {"FloppyDrive", QStyle::SP_DriveFDIcon},
        {"FixedDrive", QStyle::SP_DriveHDIcon},
        {"NetworkDrive", QStyle::SP_DriveNetIcon},
        {"CDROMDrive", QStyle::SP_DriveCDIcon},
        {"RAMDrive", QStyle::SP_DriveHDIcon},
        {"Desktop", QStyle::SP_DesktopIcon},
        {"MyComputer", QStyle::SP_ComputerIcon},
        {"MyDocuments", QStyle::SP_DirHomeIcon},
        {"NetworkNeighbourhood", QStyle::SP_DriveNetIcon},
        {"ClosedFolder", QStyle::SP_DirClosedIcon},
        {"OpenFolder", QStyle::SP_DirOpenIcon},
    };
    for (const auto& p : pictures)
        IconList.Add(QString::fromLatin1(p.key), style->standardIcon(p.picture));

    lblSelDir = new SkinLabel(client, QStringLiteral("Select Directory"));
    lblSelDir->Move(0, 0, 3900, 255);
    lblCurDir = new SkinLabel(client);
    lblCurDir->Move(0, 255, 3900, 255);
    DS = new forms::TreeView(client);
    DS->setImageList(&IconList);
    Check1 = new forms::CheckBox(client, QStringLiteral("Add Sub Directorys"));
    Check1->Move(0, 0, 2295, 285);
    cmdOK = new forms::CommandButton(client, QStringLiteral("OK"));
    cmdOK->Move(0, 0, 855, 375);
    cmdCancel = new forms::CommandButton(client, QStringLiteral("Cancel"));
    cmdCancel->Move(0, 0, 855, 375);

    Dir1 = new forms::DirListBox(this);
    File1 = new forms::FileListBox(this);
    List1 = new forms::ListBox(client);
    List1->hide();
    List2 = new forms::ListBox(client);
    List2->hide();

    connect(DS, &forms::TreeView::Expand, this, &frmFolder::DS_Expand);
    connect(DS, &forms::TreeView::NodeClick, this, &frmFolder::DS_NodeClick);
    connect(cmdOK, &forms::CommandButton::Click, this, &frmFolder::cmdOK_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, &frmFolder::cmdCancel_Click);
    connect(Dir1, &forms::DirListBox::Change, this, [this] { File1->setPath(Dir1->Path()); });
}

clsNodeCol* frmFolder::Nodes()
{
    if (!nodes_) nodes_ = std::make_unique<clsNodeCol>();
    return nodes_.get();
}

void frmFolder::Form_Load()
{
    Docking::AttachForm(this, false);
    Dir1->setPath(RememberedFolder);
    File1->setPath(Dir1->Path());
    Nodes()->Clear();

    DS->Move(120, lblCurDir->Height() + lblSelDir->Height() + 120);
    // Wide enough that the check box's caption ends before the OK button.
    Move(Left(), Top(), 4400, 6000);
    ArrangeControls();

    // The desktop's own user folders stand in for the shell folders where the registry has none.
    ShellFoldersKept = registry::FillShellFolders();
    AddRootNodes();

    forms::IgnoreErrors run;
    run([&] { ToolWindowSetup(*this); });
    if (frmPlayer* player = forms::Instances::Existing<frmPlayer>()) player->setEnabled(false);
    Show(forms::ShowMode::Modal);
}

void frmFolder::Form_Resize()
{
    if (State() == forms::WindowState::Minimized) return;
    forms::IgnoreErrors run;
    run([&] {
        if (Width() < MinimumSize) setWidth(MinimumSize);
    });
    run([&] {
        if (Height() < MinimumSize) setHeight(MinimumSize);
    });
    ArrangeControls();
}

void frmFolder::ArrangeControls()
{
    forms::IgnoreErrors run;
    run([&] { DS->setWidth(Width() - 350); });
    run([&] { DS->setHeight(Height() - (DS->Top() + 1000)); });
    run([&] { cmdCancel->Move(DS->Width() + 120 - cmdCancel->Width(), DS->Top() + DS->Height() + 120); });
    run([&] { cmdOK->Move(cmdCancel->Left() - (cmdOK->Width() + 120), cmdCancel->Top()); });
    run([&] { Check1->Move(0, DS->Top() + DS->Height()); });
    run([&] { lblSelDir->setWidth(ScaleWidth()); });
    run([&] { lblCurDir->setWidth(ScaleWidth()); });
}

void frmFolder::AddRootNodes()
{
    // A shell folder the registry cannot give leaves its node without a folder.
    forms::IgnoreErrors run;
    DS->Add({}, DesktopKey, QStringLiteral("Desktop"), QStringLiteral("Desktop"));
    Nodes()->AddNode(DesktopKey);
    clsNode* desktop = Nodes()->Item(DesktopKey);
    run([&] { desktop->setFolderPath(ShellFolder(QStringLiteral("Desktop"))); });
    desktop->setHasBeenBrowsed(true);

    DS->Add(DesktopKey, DocumentsKey, QStringLiteral("My Documents"), QStringLiteral("MyDocuments"));
    Nodes()->AddNode(DocumentsKey);
    run([&] { Nodes()->Item(DocumentsKey)->setFolderPath(ShellFolder(QStringLiteral("Personal"))); });
    DS->Add(DocumentsKey, QStringLiteral("t") + DocumentsKey, QStringLiteral("dummy"));

    DS->Add(DesktopKey, ComputerKey, QStringLiteral("My Computer"), QStringLiteral("MyComputer"));
    Nodes()->AddNode(ComputerKey);
    Nodes()->Item(ComputerKey)->setHasBeenBrowsed(true);
    Nodes()->Item(ComputerKey)->setCanClickOK(false);

    for (const files::Drive& drive : files::Drives()) {
        run([&] {
            const QString key = DriveKey(drive.path);
            forms::TreeNode* node
                = DS->Add(ComputerKey, key, drive.path, IconList.Key(static_cast<int>(drive.type) + 1));
            Nodes()->AddNode(key);
            Nodes()->Item(key)->setFolderPath(DriveFolder(drive.path));
            if (drive.ready) {
                DS->Add(key, QStringLiteral("t") + key, QStringLiteral("dummy"));
                node->setText(drive.volumeName + QStringLiteral(" (") + drive.path + QLatin1Char(')'));
            }
        });
    }

    AddSubfolders(DS->Node(DesktopKey));
    DS->Node(DesktopKey)->setExpanded(true);
}

void frmFolder::AddSubfolders(forms::TreeNode* parent)
{
    forms::IgnoreErrors run;
    clsNode* record = Nodes()->Item(parent->Key());
    if (!record || record->FolderPath().isEmpty()) return;
    const QDir base(record->FolderPath());
    for (const QFileInfo& folder : base.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        const QString name = folder.fileName();
        QString key = parent->Key() + QLatin1Char('/') + name;
        key.replace(QStringLiteral("//"), QStringLiteral("/"));
        if (!run([&] { DS->Add(parent->Key(), key, name, QStringLiteral("ClosedFolder"), QStringLiteral("OpenFolder")); }))
            continue;
        Nodes()->AddNode(key);
        clsNode* child = Nodes()->Item(key);
        child->setFolderPath(folder.filePath());
        if (!HasSubfolders(folder.filePath()))
            child->setHasBeenBrowsed(true);
        else
            run([&] { DS->Add(key, QStringLiteral("t") + key, QStringLiteral("dummy")); });
    }
    if (parent->Key() != DesktopKey) parent->SortChildren();
}

void frmFolder::DS_Expand(forms::TreeNode* node)
{
    clsNode* record = Nodes()->Item(node->Key());
    if (!record || record->HasBeenBrowsed()) return;
    node->RemoveChildren();
    AddSubfolders(node);
    record->setHasBeenBrowsed(true);
}

void frmFolder::DS_NodeClick(forms::TreeNode* node)
{
    clsNode* record = Nodes()->Item(node->Key());
    if (!record) return;
    cmdOK->setEnabled(record->CanClickOK());
    if (forms::TreeNode* selected = DS->SelectedItem())
        if (clsNode* chosen = Nodes()->Item(selected->Key())) RememberedFolder = chosen->FolderPath();
    lblCurDir->setCaption(RememberedFolder);
    setCaption(RememberedFolder);
}

void frmFolder::cmdOK_Click()
{
    Dir1->setPath(RememberedFolder);
    // The gather yields to the window between folders: a second OK waits for the first.
    cmdOK->setEnabled(false);
    Check1->setEnabled(false);
    QPointer<frmFolder> alive(this);
    if (Check1->Value() == forms::CheckValue::Checked)
        GatherWithSubfolders();
    else
        GatherFolder();
    // Closed while gathering (Cancel or the close box): nothing is added.
    if (!alive || unloaded_) return;

    if (frmPlayer* player = forms::Instances::Existing<frmPlayer>())
        for (int i = 0; i < List1->ListCount(); ++i)
            player->lstPlaylist->AddItem(List1->List(i));
    Unload();
}

void frmFolder::GatherWithSubfolders()
{
    List1->Clear();
    List2->Clear();
    List2->AddItem(Dir1->Path());
    // A folder reached again through a link is gathered once; a link to a folder above it would
    // otherwise never end the walk.
    QSet<QString> seen;
    QPointer<frmFolder> alive(this);
    for (int i = 0; i < List2->ListCount(); ++i) {
        forms::DoEvents();
        if (!alive || unloaded_) return;
        const QString canonical = QFileInfo(List2->List(i)).canonicalFilePath();
        if (!canonical.isEmpty() && (seen.contains(canonical))) continue;
        seen.insert(canonical);
        Dir1->setPath(List2->List(i));
        File1->setPath(Dir1->Path());
        for (int f = 0; f < File1->ListCount(); ++f)
            List1->AddItem(Dir1->Path() + QLatin1Char('/') + File1->List(f));
        for (int d = 0; d < Dir1->ListCount(); ++d)
            List2->AddItem(Dir1->List(d));
    }
}

void frmFolder::GatherFolder()
{
    List1->Clear();
    File1->setPath(Dir1->Path());
    for (int f = 0; f < File1->ListCount(); ++f)
        List1->AddItem(Dir1->Path() + QLatin1Char('/') + File1->List(f));
}

void frmFolder::cmdCancel_Click()
{
    RememberedFolder.clear();
    Unload();
}

void frmFolder::Form_Unload(int& /*cancel*/)
{
    unloaded_ = true;
    if (frmPlayer* player = forms::Instances::Existing<frmPlayer>()) player->setEnabled(true);
    Docking::DetachForm(this);
}
