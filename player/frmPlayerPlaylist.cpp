// The playlist, the opening of its rows and the commands that fill it.
#include "player/frmPlayer.h"

#include "dialogs/LumoCommonDialog.h"
#include "dialogs/frmFolder.h"
#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/files/Paths.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "player/ListBox.h"

#include <QLineEdit>

const QString frmPlayer::MediaFilter
    = QStringLiteral("All Media Files (*.avi;*.mpg;*.dat;*.mpeg;*.mpe;*.mp3;*.mp2;*.mp1 "
                     "*.wav;*.aif;*.aiff;*.aifc;*.au;*.mv1;*.mov;*.mpa *.qt;*.snd;*.mpm;*.mpv;*.enc;*.mid;*.rmi;*.vob "
                     "*.wma;*.wmv )|*.avi;*.mpg;*.dat;*.mpeg;*.mpe;*.mp3;*.mp2;*.mp1 "
                     "*.wav;*.aif;*.aiff;*.aifc;*.au;*.mv1;*.mov;*.mpa *.qt;*.snd;*.mpm;*.mpv;*.enc;*.mid;*.rmi;*.vob "
                     ";*.wma;*.wmv|All Files(*.*)|*.*");
const QString frmPlayer::PlaylistFilter = QStringLiteral("Text File(*.txt)|*.txt|All Files(*.*)|*.*");

namespace {

// A row holding one of these, in exactly this case, plays as audio in a window of fixed size.
const char* const AudioMarkers[] = {".mp3", ".wma", ".wav", ".mp2"};
constexpr int AudioWidth = 9495;
constexpr int AudioHeight = 7200;
// Pixels of a movie's own size to twips.
constexpr int TwipsPerMoviePixel = 15;
// The folder dialog's root for a video CD: the drives.
constexpr int DrivesFolder = 17;

bool IsAudio(const QString& row)
{
    for (const char* marker : AudioMarkers)
        if (row.contains(QLatin1String(marker), Qt::CaseSensitive)) return true;
    return false;
}

} // namespace

void frmPlayer::WirePlaylist()
{
    connect(lstPlaylist, &forms::ComboBox::Click, this, &frmPlayer::lstPlaylist_Click);

    // Files dropped on the list arrive at the list itself, not at its edit field.
    if (QLineEdit* edit = lstPlaylist->lineEdit()) edit->setAcceptDrops(false);
    lstPlaylist->events()->AcceptFiles(true);
    connect(lstPlaylist->events(), &forms::Events::FilesDropped, this, &frmPlayer::lstPlaylist_OLEDragDrop);

    connect(mnuOpen, &forms::MenuItem::Click, this, &frmPlayer::OpenCommand);
    connect(mnuCustomOpen, &forms::MenuItem::Click, this, &frmPlayer::OpenCommand);
    connect(mnuAddFile, &forms::MenuItem::Click, this, &frmPlayer::AddFileCommand);
    connect(mnuCustomAddFileToList, &forms::MenuItem::Click, this, &frmPlayer::AddFileCommand);
    connect(mnuOpenList, &forms::MenuItem::Click, this, &frmPlayer::OpenListCommand);
    connect(mnuImportList, &forms::MenuItem::Click, this, &frmPlayer::ImportListCommand);
    connect(mnuSaveList, &forms::MenuItem::Click, this, &frmPlayer::SaveListCommand);
    for (forms::MenuItem* entry : {mnuFileLast, mnuFileLast2, mnuFileLast3, mnuFileLast4})
        connect(entry, &forms::MenuItem::Click, this, [this, entry] { RecentCommand(entry); });
    connect(mnuVCD, &forms::MenuItem::Click, this, &frmPlayer::VideoCDCommand);
    connect(mnuAddDir, &forms::MenuItem::Click, this, &frmPlayer::AddDirCommand);
    connect(mnuPlayerRemove, &forms::MenuItem::Click, this, &frmPlayer::RemoveCommand);
    connect(mnuPlayerClear, &forms::MenuItem::Click, this, &frmPlayer::ClearCommand);
}

void frmPlayer::lstPlaylist_Click()
{
    forms::IgnoreErrors run;
    run([&] { tmrMax->setEnabled(false); });
    run([&] { OpenFile(); });
    run([&] { tmrMax->setEnabled(true); });
}

void frmPlayer::OpenFile()
{
    forms::IgnoreErrors run;
    int w = 0;
    int h = 0;
    run([&] { Media1->OpenFile(lstPlaylist->Text()); });
    run([&] { Media1->extractDefaultMovieSize(w, h); });

    if (lstPlaylist->Text().isEmpty()) {
        run([&] { lstPlaylist->RemoveItem(lstPlaylist->ListIndex()); });
        return;
    }

    // A file without a picture plays in the sound window's size, whatever its name.
    if (IsAudio(lstPlaylist->Text()) || w <= 0 || h <= 0) {
        run([&] { setWidth(AudioWidth); });
        run([&] { setHeight(AudioHeight); });
        run([&] { Form_Resize(); });
    } else if (mnuResizeOnOpen->Checked()) {
        // The video area takes the picture's size, or, where that is narrower than the buttons
        // and the resize grip beside them need, that width and the picture's shape. The window's
        // size is its outer size: the frame, title and menu bar come on top of the client area.
        double areaWidth = w * TwipsPerMoviePixel;
        double areaHeight = h * TwipsPerMoviePixel;
        const double narrowest = NarrowestClientWidth() - scrVolume->Width();
        if (areaWidth < narrowest) {
            areaHeight = areaHeight * narrowest / areaWidth;
            areaWidth = narrowest;
        }
        run([&] {
            setHeight(areaHeight + scrPosition->Height() + scrSpeed->Height() + lstPlaylist->Height()
                + framControls2->Height() + (Height() - ScaleHeight()));
        });
        run([&] { Form_Resize(); });
        run([&] { setWidth(areaWidth + scrVolume->Width() + (Width() - ScaleWidth())); });
        for (int pass = 0; pass < 3; ++pass)
            run([&] { Form_Resize(); });
    }

    run([&] { Media1->playMovie(); });

    bool ready = false;
    run([&] { ready = Media1->checkDeviceReady().compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0; });
    if (!ready) {
        QString name;
        run([&] {
            QString path = lstPlaylist->Text();
            name = GetFileName(path);
        });
        run([&] {
            forms::MsgBox(QStringLiteral("Error Opening File") + QStringLiteral(" - ") + name,
                forms::MsgBoxStyle::Critical, QStringLiteral("Error Opening File"));
        });
        run([&] { RemoveCommand(); });
        run([&] { setWidth(AudioWidth); });
        run([&] { setHeight(AudioHeight); });
    }

    // The volume bar's change handler applies its value to the playback.
    run([&] { emit scrVolume->Change(); });
    for (int pass = 0; pass < 3; ++pass)
        run([&] { Form_Resize(); });
    run([&] { ListBox::RemoveDuplicateRows(*lstPlaylist); });
    run([&] { mnuLeftSpeaker->Checked() ? Media1->setLeftOn() : Media1->setLeftOff(); });
    run([&] { mnuRightSpeaker->Checked() ? Media1->setRightOn() : Media1->setRightOff(); });
}

QString frmPlayer::GetFileName(QString& Path)
{
    Path = Path.trimmed();
    // The first character is never taken for the folder separator.
    const qsizetype slash = Path.lastIndexOf(QLatin1Char('/'));
    if (slash < 1) return QString();
    const QString rest = Path.mid(slash + 1);
    const qsizetype dot = rest.indexOf(QLatin1Char('.'));
    if (dot < 0) return QString();
    return rest.left(dot);
}

void frmPlayer::framPlayer_OLEDragDrop(const QStringList& files, int, int, double, double)
{
    forms::IgnoreErrors run;
    for (const QString& file : files) {
        run([&] { lstPlaylist->AddItem(file); });
        run([&] { ListBox::RemoveDuplicateRows(*lstPlaylist); });
    }
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListCount() - 1); });
}

void frmPlayer::lstPlaylist_OLEDragDrop(const QStringList& files, int, int, double, double)
{
    forms::IgnoreErrors run;
    for (const QString& file : files) {
        run([&] { lstPlaylist->AddItem(file); });
        run([&] { ListBox::RemoveDuplicateRows(*lstPlaylist); });
    }
}

void frmPlayer::OpenCommand()
{
    forms::IgnoreErrors run;
    run([&] { ComDlg->setFilter(MediaFilter); });
    run([&] { ComDlg->ShowOpen(); });
    run([&] { lstPlaylist->Clear(); });
    run([&] { lstPlaylist->AddItem(ComDlg->FileName()); });
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListCount() - 1); });
    run([&] { ListBox::RemoveDuplicateRows(*lstPlaylist); });
}

void frmPlayer::AddFileCommand()
{
    forms::IgnoreErrors run;
    run([&] { ComDlg->setFilter(MediaFilter); });
    run([&] { ComDlg->ShowOpen(); });
    run([&] { lstPlaylist->AddItem(ComDlg->FileName()); });
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListCount() - 1); });
    run([&] { ListBox::RemoveDuplicateRows(*lstPlaylist); });
}

void frmPlayer::OpenListCommand()
{
    forms::IgnoreErrors run;
    run([&] { lstPlaylist->Clear(); });
    run([&] { ComDlg->setFilter(PlaylistFilter); });
    run([&] { ComDlg->ShowOpen(); });
    run([&] { ListBox::LoadListBox(ComDlg->FileName(), *lstPlaylist); });
}

void frmPlayer::ImportListCommand()
{
    forms::IgnoreErrors run;
    run([&] { ComDlg->setFilter(PlaylistFilter); });
    run([&] { ComDlg->ShowOpen(); });
    run([&] { ListBox::LoadListBox(ComDlg->FileName(), *lstPlaylist); });
}

void frmPlayer::SaveListCommand()
{
    forms::IgnoreErrors run;
    run([&] { ComDlg->setFilter(PlaylistFilter); });
    // A cancelled dialog leaves FileName as it was: start it empty to tell, and put the previous
    // name back when nothing was chosen.
    QString previous;
    bool chosen = false;
    run([&] {
        previous = ComDlg->FileName();
        ComDlg->setFileName(QString());
        ComDlg->ShowSave();
        chosen = !ComDlg->FileName().isEmpty();
    });
    if (!chosen) {
        run([&] { ComDlg->setFileName(previous); });
        return;
    }
    run([&] { ListBox::SaveListBox(ComDlg->FileName(), *lstPlaylist); });
}

void frmPlayer::VideoCDCommand()
{
    forms::IgnoreErrors run;
    run([&] { ComDlg->setBrowseSpecialFolder(DrivesFolder); });
    run([&] { ComDlg->ShowBrowseForFolder(); });
    QStringList found;
    run([&] { found = files::FindFiles(ComDlg->FolderPath() + QStringLiteral("/MPEGav/*.dat")); });
    if (found.isEmpty()) {
        run([&] {
            forms::MsgBox(
                QStringLiteral("Cannot Find VCD"), forms::MsgBoxStyle::Critical, QStringLiteral("Error Loading VCD"));
        });
        return;
    }
    for (const QString& file : found)
        run([&] { lstPlaylist->AddItem(file); });
}

void frmPlayer::RecentCommand(forms::MenuItem* entry)
{
    forms::IgnoreErrors run;
    run([&] { lstPlaylist->AddItem(entry->Caption()); });
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListCount() - 1); });
}

// The folder browser shows itself modally and appends the chosen folder's files itself.
void frmPlayer::AddDirCommand()
{
    forms::IgnoreErrors run;
    run([] { forms::Instance<frmFolder>().Show(); });
}

void frmPlayer::RemoveCommand()
{
    forms::IgnoreErrors run;
    run([&] { tmrMax->setEnabled(false); });
    run([&] { lstPlaylist->RemoveItem(lstPlaylist->ListIndex()); });
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListIndex() + 1); });
    run([&] { tmrMax->setEnabled(true); });
}

void frmPlayer::ClearCommand()
{
    forms::IgnoreErrors run;
    run([&] { lstPlaylist->Clear(); });
}
