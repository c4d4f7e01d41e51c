#include "dialogs/frmAssociate.h"

#include "components/skin/Skin.h"
#include "dialogs/Associate2.h"
#include "engine/Docking.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"
#include "player/frmPlayer.h"
#include "tools/ToolWindowSetup.h"

#include <QCoreApplication>

const QStringList frmAssociate::AssociatedExtensions = {
    QStringLiteral("avi"), QStringLiteral("mpg"), QStringLiteral("dat"), QStringLiteral("mpeg"),
    QStringLiteral("mpe"), QStringLiteral("mp3"), QStringLiteral("mp2"), QStringLiteral("mp1"),
    QStringLiteral("wav"), QStringLiteral("aif"), QStringLiteral("aiff"), QStringLiteral("aifc"),
    QStringLiteral("au"), QStringLiteral("mv1"), QStringLiteral("mov"), QStringLiteral("mpa"),
    QStringLiteral("qt"), QStringLiteral("snd"), QStringLiteral("mpm"), QStringLiteral("mpv"),
    QStringLiteral("enc"), QStringLiteral("mid"), QStringLiteral("rmi"), QStringLiteral("vob"),
    QStringLiteral("wma"), QStringLiteral("wmv"),
};

namespace {
constexpr int Columns = 4;
constexpr double BoxWidth = 1275;
constexpr double RowHeight = 300;
} // namespace

frmAssociate::frmAssociate()
{
    setObjectName(QStringLiteral("frmAssociate"));
    setCaption(QStringLiteral("Associate Tessel"));
    QWidget* client = Client();

    Frame1 = new forms::Frame(client);
    const int rows = int((AssociatedExtensions.size() + Columns - 1) / Columns);
    Frame1->Move(120, 60, Columns * BoxWidth + 240, rows * RowHeight + 240);
    for (int i = 0; i < AssociatedExtensions.size(); ++i) {
        const QString& ext = AssociatedExtensions[i];
        auto* box = new forms::CheckBox(Frame1, ext);
        QString name = QStringLiteral("chk") + ext;
        if (i < 2) name[3] = name[3].toUpper(); // chkAvi, chkMpg
        box->setObjectName(name);
        box->Move(120 + (i % Columns) * BoxWidth, 150 + (i / Columns) * RowHeight, BoxWidth - 60, 285);
        chk.push_back(box);
    }
    double top = Frame1->Top() + Frame1->Height() + 150;

    lblOther = new SkinLabel(client, QStringLiteral("Other ."));
    lblOther->Move(120, top + 30, 855, 285);
    txtExt = new forms::TextBox(client);
    txtExt->Move(990, top, 1215, 315);
    top += 435;
    Label1 = new forms::Label(client, QStringLiteral("Executable to launch associated extension:"));
    Label1->Move(120, top, 5340, 285);
    top += 300;
    txtFile = new forms::TextBox(client);
    txtFile->Move(120, top, 5340, 315);
    top += 480;

    cmdAll = new forms::CommandButton(client, QStringLiteral("Check All"));
    cmdUnCheck = new forms::CommandButton(client, QStringLiteral("Un Check All"));
    cmdAssoc = new forms::CommandButton(client, QStringLiteral("OK"));
    cmdBrowse = new forms::CommandButton(client, QStringLiteral("Cancel"));
    double left = 120;
    for (forms::CommandButton* button : {cmdAll, cmdUnCheck, cmdAssoc, cmdBrowse}) {
        button->Move(left, top, 1275, 375);
        left += 1355;
    }
    top += 495;

    connect(cmdAssoc, &forms::CommandButton::Click, this, &frmAssociate::cmdAssoc_Click);
    connect(cmdAll, &forms::CommandButton::Click, this, &frmAssociate::cmdAll_Click);
    connect(cmdUnCheck, &forms::CommandButton::Click, this, &frmAssociate::cmdUnCheck_Click);
    connect(cmdBrowse, &forms::CommandButton::Click, this, &frmAssociate::cmdBrowse_Click);

    cmdAll_Click();
    // At the first run no window has a frame yet to measure this one's by: the client area keeps
    // the room its controls need whatever frame the desktop then draws around it.
    Client()->setMinimumSize(forms::ToPixels(5580), forms::ToPixels(top));
    Move(Left(), Top(), 5700, top + (Height() - ScaleHeight()));
}

forms::CheckBox* frmAssociate::CheckBoxFor(const QString& ext) const
{
    const qsizetype i = AssociatedExtensions.indexOf(ext);
    return i < 0 ? nullptr : chk[size_t(i)];
}

void frmAssociate::Form_Load()
{
    forms::IgnoreErrors run;
    // The program registered is the one running; the settings folder holds no executable here.
    run([&] { txtFile->setText(QCoreApplication::applicationFilePath()); });
    run([&] { ToolWindowSetup(*this); });
    // At the first run the player is still loading: it comes up behind this window.
    run([&] {
        if (frmPlayer* player = forms::Instances::Existing<frmPlayer>()) player->Show();
    });
}

void frmAssociate::Form_Unload(int& /*cancel*/) { Docking::DetachForm(this); }

void frmAssociate::cmdAssoc_Click()
{
    forms::IgnoreErrors run;
    run([&] {
        if (!txtExt->Text().isEmpty() && !txtFile->Text().isEmpty())
            Associate2::AssociateExtension(txtFile->Text(), txtExt->Text());
    });
    for (size_t i = 0; i < chk.size(); ++i)
        run([&] {
            if (chk[i]->Value() == forms::CheckValue::Checked)
                Associate2::AssociateExtension(txtFile->Text(), AssociatedExtensions[qsizetype(i)]);
        });
    Unload();
}

void frmAssociate::cmdAll_Click()
{
    for (forms::CheckBox* box : chk)
        box->setValue(forms::CheckValue::Checked);
}

void frmAssociate::cmdUnCheck_Click()
{
    for (forms::CheckBox* box : chk)
        box->setValue(forms::CheckValue::Unchecked);
}

void frmAssociate::cmdBrowse_Click() { Unload(); }
