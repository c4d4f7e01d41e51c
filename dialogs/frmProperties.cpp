#include "dialogs/frmProperties.h"

#include "components/skin/Skin.h"
#include "dialogs/Files.h"
#include "engine/Docking.h"
#include "engine/Media.h"
#include "platform/files/Paths.h"
#include "platform/forms/RuntimeError.h"
#include "player/frmPlayer.h"
#include "tools/ToolWindowSetup.h"

#include <QFileInfo>

namespace {

// The name of the plain file that the path names, as the folder lists it; empty when there is none.
QString ListedName(const QString& path)
{
    if (path.isEmpty()) return QString();
    const QFileInfo info(path);
    if (info.isFile() && !path.contains(QLatin1Char('*')) && !path.contains(QLatin1Char('?'))) return info.fileName();
    return QFileInfo(files::FindFiles(path).value(0)).fileName();
}

// The refresh runs continuously; a box is only touched when its text changes, which keeps the
// window's cost to the queries themselves.
void SetText(QLineEdit* box, const QString& text)
{
    if (box->text() != text) box->setText(text);
}

} // namespace

frmProperties::frmProperties()
{
    setObjectName(QStringLiteral("frmProperties"));
    setCaption(QStringLiteral(" - Properties"));
    QWidget* client = Client();

    const QFont tahoma(QStringLiteral("Tahoma"), 8);
    struct Row {
        SkinLabel*& label;
        const char* caption;
        forms::TextBox*& box;
    };
    const Row rows[] = {
        {lblFileName, "File Name:", txtFileName},
        {SkinLabel1, "File Path:", txtPath},
        {SkinLabel2, "File Size:", txtSize},
        {SkinLabel3, "Play Length:", txtPlayLength},
        {SkinLabel4, "Video Size:", txtVidSize},
        {SkinLabel6, "File Type:", txtType},
        {SkinLabel7, "Date Last Modified:", txtDate},
        {SkinLabel8, "Current Position:", txtPosition},
    };
    double top = 120;
    for (const Row& row : rows) {
        row.label = new SkinLabel(client, QString::fromLatin1(row.caption));
        row.label->Move(120, top, 2055, 285);
        row.box = new forms::TextBox(client);
        row.box->setFont(tahoma);
        row.box->Move(2280, top - 15, 4335, 315);
        top += 405;
    }

    Timer1 = new forms::Timer(this, 1, false);
    connect(Timer1, &forms::Timer::Tick, this, &frmProperties::Timer1_Timer);

    Move(Left(), Top(), 6855, top + (Height() - ScaleHeight()));
}

void frmProperties::Form_Load()
{
    forms::IgnoreErrors run;
    run([&] { ToolWindowSetup(*this); });
    Timer1->setEnabled(true);
    Timer1_Timer();
}

void frmProperties::Form_Unload(int& /*cancel*/) { Docking::DetachForm(this); }

void frmProperties::Timer1_Timer()
{
    // A step that fails (the player gone, a path the file system refuses, no file open) leaves
    // its field as it was; the other fields are still refreshed, and the next tick tries again.
    forms::IgnoreErrors run;
    frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    if (!player) return;
    Media& media = *player->Media1;
    QString path;
    run([&] { path = player->lstPlaylist->Text(); });
    QString name;
    run([&] { name = ListedName(path); });

    // The picture size and the length belong to the open file: they are asked again only when
    // another file is open, which keeps the window's refresh to one position query a tick.
    run([&] {
        const QString file = media.GetFileName();
        if (file == openFile_ && !lengthText_.isEmpty()) return;
        int w = 0;
        int h = 0;
        media.extractDefaultMovieSize(w, h);
        const QString length = media.getFormatLength();
        openFile_ = file;
        lengthText_ = length == QLatin1String("00:00:00") ? QString() : length;
        SetText(txtVidSize, QString::number(w) + QStringLiteral(" X ") + QString::number(h));
        SetText(txtPlayLength, length);
    });
    run([&] { SetText(txtPosition, media.getFormatPosition()); });
    run([&] {
        const QString caption = name + QStringLiteral(" - Properties");
        if (Caption() != caption) setCaption(caption);
    });
    run([&] { SetText(txtFileName, name); });
    run([&] { SetText(txtPath, path); });
    run([&] { SetText(txtSize, Files::FileSizeText(txtPath->Text())); });
    run([&] { SetText(txtType, Files::GetFileExtension(name) + QStringLiteral(" File")); });
    run([&] {
        QString datePath = path;
        SetText(txtDate, Files::FileDateText(datePath));
    });
}
