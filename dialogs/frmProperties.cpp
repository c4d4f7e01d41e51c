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

frmPlayer& Player()
{
    frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    if (!player)
        throw forms::RuntimeError(91, QStringLiteral("frmProperties"), QStringLiteral("Object variable not set"));
    return *player;
}

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
    // A refresh that fails (the player gone, a path the file system refuses) ends for this tick;
    // the next tick tries again.
    forms::IgnoreErrors run;
    run([&] { Refresh(); });
}

void frmProperties::Refresh()
{
    frmPlayer& player = Player();
    const QString path = player.lstPlaylist->Text();
    QString name = ListedName(path);

    int w = 0;
    int h = 0;
    player.Media1->extractDefaultMovieSize(w, h);
    SetText(txtPosition, player.Media1->getFormatPosition());
    const QString caption = name + QStringLiteral(" - Properties");
    if (Caption() != caption) setCaption(caption);
    SetText(txtFileName, name);
    SetText(txtPath, path);
    SetText(txtSize, Files::FileSizeText(txtPath->Text()));
    SetText(txtPlayLength, player.Media1->getFormatLength());
    SetText(txtType, Files::GetFileExtension(name) + QStringLiteral(" File"));
    SetText(txtVidSize, QString::number(w) + QStringLiteral(" X ") + QString::number(h));
    QString datePath = path;
    SetText(txtDate, Files::FileDateText(datePath));
}
