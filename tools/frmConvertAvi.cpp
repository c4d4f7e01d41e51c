#include "tools/frmConvertAvi.h"

#include "components/avi/AviFile.h"
#include "dialogs/LumoCommonDialog.h"
#include "platform/forms/DoEvents.h"
#include "platform/forms/MsgBox.h"
#include "tools/ToolWindowSetup.h"
#include "tools/mAVIDecs.h"

using namespace avifile;

frmConvertAvi::frmConvertAvi()
{
    setCaption(QStringLiteral("Convert Avi"));
    CreateControls();
    connect(Command1, &forms::CommandButton::Click, this, &frmConvertAvi::Command1_Click);
    connect(Command2, &forms::CommandButton::Click, this, &frmConvertAvi::Command2_Click);
    connect(cmdOpenAVIFile, &forms::CommandButton::Click, this, &frmConvertAvi::cmdOpenAVIFile_Click);
    connect(cmdCancelSave, &forms::CommandButton::Click, this, &frmConvertAvi::cmdCancelSave_Click);
}

void frmConvertAvi::CreateControls()
{
    QWidget* client = Client();
    Command1 = new forms::CommandButton(client, QStringLiteral("Input..."));
    Command1->Move(120, 120, 1215, 375);
    Text1 = new forms::TextBox(client);
    Text1->Move(1440, 120, 3495, 375);
    Command2 = new forms::CommandButton(client, QStringLiteral("Output..."));
    Command2->Move(120, 600, 1215, 375);
    Text2 = new forms::TextBox(client);
    Text2->Move(1440, 600, 3495, 375);
    txtStatus = new forms::TextBox(client, QStringLiteral("Select Input And Output File..."));
    txtStatus->Move(120, 1080, 4815, 375);
    ProgressBar1 = new forms::ProgressBar(client);
    ProgressBar1->Move(120, 1560, 4815, 255);
    cmdOpenAVIFile = new forms::CommandButton(client, QStringLiteral("Start"));
    cmdOpenAVIFile->Move(2400, 1920, 1215, 375);
    cmdCancelSave = new forms::CommandButton(client, QStringLiteral("Stop"));
    cmdCancelSave->Move(3720, 1920, 1215, 375);
    cmdCancelSave->setEnabled(false);

    ComDlg = new LumoCommonDialog(client);
    ComDlg->setDefaultExt(QStringLiteral("avi"));
    ComDlg->setFilter(QStringLiteral("Avi File(*.avi)|*.avi"));
    ComDlg->setMaxFileSize(260);
    ComDlg->setVisible(false);

    Move(Left(), Top(), 5175, 2415 + (Height() - ScaleHeight()));
}

QString frmConvertAvi::GetFileName(QString& path)
{
    path = path.trimmed();
    for (qsizetype i = path.size() - 1; i >= 1; --i) {
        if (path[i] != QLatin1Char('/')) continue;
        const qsizetype dot = path.indexOf(QLatin1Char('.'), i + 1);
        return dot < 0 ? QString() : path.mid(i + 1, dot - i - 1);
    }
    return {};
}

void frmConvertAvi::Form_Load()
{
    AVIFileInit();
    ToolWindowSetup(*this);
}

void frmConvertAvi::Command1_Click()
{
    ComDlg->ShowOpen();
    QString chosen = ComDlg->FileName();
    Text1->setText(GetFileName(chosen));
    sourcePath_ = ComDlg->FileName();
}

void frmConvertAvi::Command2_Click()
{
    ComDlg->ShowSave();
    QString chosen = ComDlg->FileName();
    Text2->setText(GetFileName(chosen));
    targetPath_ = ComDlg->FileName();
}

void frmConvertAvi::cmdOpenAVIFile_Click()
{
    HRESULT r = 0;
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    PAVISTREAM compressed = nullptr;
    AVICOMPRESSOPTIONS options;
    AVICOMPRESSOPTIONS* optionsArray[1] = {&options};

    [&] {
        r = AVIFileOpen(&file, sourcePath_, OF_SHARE_DENY_WRITE, nullptr);
        if (r != AVIERR_OK) return;
        r = AVIFileGetStream(file, &stream, streamtypeVIDEO, 0);
        if (r != AVIERR_OK) return;

        forms::DoEvents();
        if (AVISaveOptions(hWnd(), ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_DATARATE | ICMF_CHOOSE_PREVIEW, 1, &stream,
                optionsArray)
            != 1) {
            forms::MsgBox(QStringLiteral("AviSaveOptions returned an error!"), forms::MsgBoxStyle::Critical);
            r = 0;
            return;
        }

        forms::DoEvents();
        r = AVIMakeCompressedStream(&compressed, stream, &options, nullptr);
        if (r != AVIERR_OK) {
            AVISaveOptionsFree(1, optionsArray);
            return;
        }

        mAVIDecs::fCancelSave = false;
        cmdOpenAVIFile->setEnabled(false);
        cmdCancelSave->setEnabled(true);
        r = AVISaveV(targetPath_, nullptr, &mAVIDecs::SaveProgressCallback, 1, &compressed, optionsArray);
        txtStatus->setText(r == AVIERR_USERABORT ? QStringLiteral("User cancelled!") : QStringLiteral("Finished!"));
        AVISaveOptionsFree(1, optionsArray);
    }();

    cmdCancelSave->setEnabled(false);
    cmdOpenAVIFile->setEnabled(true);
    if (compressed) AVIStreamRelease(compressed);
    if (stream) AVIStreamRelease(stream);
    if (file) AVIFileRelease(file);

    if (r != 0 && r != AVIERR_USERABORT)
        forms::MsgBox(QStringLiteral("There was an error working with the file:\n") + sourcePath_,
            forms::MsgBoxStyle::Information);
}

void frmConvertAvi::cmdCancelSave_Click() { mAVIDecs::fCancelSave = true; }

void frmConvertAvi::Form_Unload(int& cancel)
{
    if (cmdCancelSave->isEnabled()) {
        cancel = 1;
        return;
    }
    AVIFileExit();
}
