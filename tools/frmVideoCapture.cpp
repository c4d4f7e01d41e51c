#include "tools/frmVideoCapture.h"

#include "components/vidcap/ezVidCap.h"
#include "platform/files/ProgramFolder.h"
#include "platform/forms/DoEvents.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"
#include "tools/mCmnDlg.h"
#include "tools/mVidProcessing.h"

#include <QLocale>
#include <cmath>

namespace {

double Number(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) forms::Raise(forms::Err::TypeMismatch, QStringLiteral("frmVideoCapture"));
    return value;
}

// A size as the text box shows it: plain decimal digits, however large.
QString DecimalText(double value) { return QString::number(value, 'f', QLocale::FloatingPointShortest); }

} // namespace

frmVideoCapture::frmVideoCapture()
{
    setCaption(QStringLiteral("Video Capturing"));
    CreateControls();
    WireHandlers();
}

void frmVideoCapture::CreateControls()
{
    QWidget* client = Client();
    picVideoFrame = new forms::PictureBox(client);
    picVideoFrame->Move(120, 120, 4800, 3600);
    ezVidCap1 = new ezVidCap(picVideoFrame);
    ezVidCap1->Move(0, 0, 4800, 3600);

    cbDriver = new forms::ComboBox(client, forms::ComboBox::Style::DropDownList);
    cbDriver->Move(5040, 120, 5055, 315);
    const struct {
        forms::CheckBox*& box;
        const char* caption;
    } boxes[] = {
        {chkAudio, "Capture Audio"},
        {chkPreRoll, "Use Precise Capture Controls (Preroll)"},
        {chkUserConfirm, "Show VFW defined user dialog to confirm capture"},
        {chkPreview, "Preview video"},
        {chkFrameCallback, "Enable FrameCallback Event"},
        {chkAutoSize, "AutoSize"},
        {chkCenter, "AutoCenter"},
        {chkStretch, "StretchPreview"},
    };
    double top = 555;
    for (const auto& b : boxes) {
        b.box = new forms::CheckBox(client, QString::fromLatin1(b.caption));
        b.box->Move(5040, top, 5055, 285);
        top += 330;
    }

    const struct {
        forms::CommandButton*& button;
        const char* caption;
        double left;
        double top;
        double width;
    } buttons[] = {
        {cmdSourceDlg, "Source", 120, 3840, 1095},
        {cmdFormatDlg, "Format", 1320, 3840, 1095},
        {cmdDisplayDlg, "Display", 2520, 3840, 1095},
        {cmdCompDlg, "Video Compression", 3720, 3840, 1935},
        {cmdAudioDlg, "Audio Compression", 5760, 3840, 1935},
        {cmdCapture, "Capture Video", 120, 4320, 1695},
        {cmdSaveAs, "Save AVI...", 1920, 4320, 1335},
        {cmdSaveDIB, "Save DIB...", 3360, 4320, 1335},
        {cmdWidth, "Set Width", 5040, 3240, 1215},
        {cmdHeight, "Set Height", 7440, 3240, 1215},
    };
    for (const auto& b : buttons) {
        b.button = new forms::CommandButton(client, QString::fromLatin1(b.caption));
        b.button->Move(b.left, b.top, b.width, 375);
    }
    txtWidth = new forms::TextBox(client);
    txtWidth->Move(6300, 3240, 975, 375);
    txtHeight = new forms::TextBox(client);
    txtHeight->Move(8700, 3240, 795, 375);

    picStatus = new forms::PictureBox(client);
    picStatus->Move(0, 4860, 10215, 375);
    const QFont statusFont(QStringLiteral("Arial Unicode MS"), 8);
    lblStatusCode = new forms::Label(picStatus, QStringLiteral("status label"));
    lblStatusCode->setFont(statusFont);
    lblStatusString = new forms::Label(picStatus, QStringLiteral("status label"));
    lblStatusString->setFont(statusFont);

    Move(Left(), Top(), 10215, 5235 + (Height() - ScaleHeight()));
}

void frmVideoCapture::WireHandlers()
{
    using forms::CheckBox;
    using forms::CommandButton;
    connect(cbDriver, &forms::ComboBox::Click, this, &frmVideoCapture::cbDriver_Click);

    // Each check box sets its option of the component.
    const auto option = [this](CheckBox* box, std::function<void(bool)> set) {
        connect(box, &CheckBox::Click, this, [box, set] { set(box->Value() == forms::CheckValue::Checked); });
    };
    option(chkAudio, [this](bool on) { ezVidCap1->setCaptureAudio(on); });
    option(chkPreRoll, [this](bool on) { ezVidCap1->setPreRoll(on); });
    option(chkUserConfirm, [this](bool on) { ezVidCap1->setConfirmCapture(on); });
    option(chkPreview, [this](bool on) { ezVidCap1->setPreview(on); });
    option(chkFrameCallback, [this](bool on) { ezVidCap1->setFrameCallback(on); });
    option(chkAutoSize, [this](bool on) { ezVidCap1->setAutoSize(on); });
    option(chkCenter, [this](bool on) { ezVidCap1->setAutoCenter(on); });
    option(chkStretch, [this](bool on) { ezVidCap1->setStretchPreview(on); });

    // Each device button calls its method of the component.
    const auto device = [this](CommandButton* button, std::function<void()> method) {
        connect(button, &CommandButton::Click, this, [this, method] { Unguarded(method); });
    };
    device(cmdSourceDlg, [this] { ezVidCap1->ShowDlgVideoSource(); });
    device(cmdFormatDlg, [this] { ezVidCap1->ShowDlgVideoFormat(); });
    device(cmdDisplayDlg, [this] { ezVidCap1->ShowDlgVideoDisplay(); });
    device(cmdCompDlg, [this] { ezVidCap1->ShowDlgCompression(); });
    device(cmdAudioDlg, [this] { ezVidCap1->ShowDlgAudioFormat(); });
    device(cmdCapture, [this] { ezVidCap1->CaptureVideo(); });

    connect(cmdSaveAs, &CommandButton::Click, this, &frmVideoCapture::cmdSaveAs_Click);
    connect(cmdSaveDIB, &CommandButton::Click, this, &frmVideoCapture::cmdSaveDIB_Click);
    connect(cmdWidth, &CommandButton::Click, this, [this] { Unguarded([this] { cmdWidth_Click(); }); });
    connect(cmdHeight, &CommandButton::Click, this, [this] { Unguarded([this] { cmdHeight_Click(); }); });

    connect(ezVidCap1, &ezVidCap::StatusEvent, this, &frmVideoCapture::ezVidCap1_StatusEvent);
    connect(ezVidCap1, &ezVidCap::ErrorEvent, this, &frmVideoCapture::ezVidCap1_ErrorEvent);
    connect(ezVidCap1, &ezVidCap::YieldEvent, this, [] { forms::DoEvents(); });
    connect(ezVidCap1, &ezVidCap::FrameEvent, this, &mVidProcessing::CopyFrameHeader);
    connect(ezVidCap1, &ezVidCap::PreRollComplete, this, &frmVideoCapture::ezVidCap1_PreRollComplete);
}

void frmVideoCapture::Unguarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(e.Description(), forms::MsgBoxStyle::Critical);
    }
}

void frmVideoCapture::EnableButtons()
{
    forms::IgnoreErrors run;
    for (forms::CommandButton* b : {cmdAudioDlg, cmdFormatDlg, cmdDisplayDlg, cmdSourceDlg, cmdCapture, cmdCompDlg})
        b->setEnabled(false);
    if (ezVidCap1->NumCapDevs() > 0) {
        cmdCapture->setEnabled(true);
        cmdCompDlg->setEnabled(true);
    }
    run([&] { cmdAudioDlg->setEnabled(ezVidCap1->HasDlgAudioFormat()); });
    run([&] { cmdFormatDlg->setEnabled(ezVidCap1->HasDlgVideoFormat()); });
    run([&] { cmdDisplayDlg->setEnabled(ezVidCap1->HasDlgVideoDisplay()); });
    run([&] { cmdSourceDlg->setEnabled(ezVidCap1->HasDlgVideoSource()); });
}

void frmVideoCapture::Form_Load()
{
    forms::IgnoreErrors run;
    run([&] { EnableButtons(); });
    run([&] { show(); });
    run([&] { ToolWindowSkin(*this); });

    int count = 0;
    run([&] { count = ezVidCap1->NumCapDevs(); });
    if (count <= 0) {
        run([&] { cbDriver->AddItem(QStringLiteral("<none>")); });
        run([&] { cbDriver->setListIndex(0); });
        run([&] { forms::MsgBox(QStringLiteral("No Video Capture Device!"), forms::MsgBoxStyle::Information); });
    } else {
        for (int i = 0; i < count; ++i)
            run([&] { cbDriver->AddItem(ezVidCap1->CapDriverName(i)); });
        run([&] { cbDriver->setListIndex(ezVidCap1->DriverIndex()); });
    }

    run([&] { lblStatusCode->setCaption(QStringLiteral("Status Panel")); });
    run([&] { lblStatusString->setCaption(ezVidCap1->GetStatusText()); });
    run([&] { txtWidth->setText(DecimalText(ezVidCap1->Width())); });
    run([&] { txtHeight->setText(DecimalText(ezVidCap1->Height())); });

    const auto mirror = [](forms::CheckBox* box, bool on) {
        box->setValue(on ? forms::CheckValue::Checked : forms::CheckValue::Unchecked);
    };
    run([&] { mirror(chkAutoSize, ezVidCap1->AutoSize()); });
    run([&] { mirror(chkCenter, ezVidCap1->AutoCenter()); });
    run([&] { mirror(chkStretch, ezVidCap1->StretchPreview()); });
    run([&] { mirror(chkPreRoll, ezVidCap1->PreRoll()); });
    run([&] { mirror(chkUserConfirm, ezVidCap1->ConfirmCapture()); });
    run([&] { mirror(chkPreview, ezVidCap1->Preview()); });
    run([&] { mirror(chkFrameCallback, ezVidCap1->FrameCallback()); });
    run([&] { ezVidCap1->setCaptureAudio(chkAudio->Value() == forms::CheckValue::Checked); });

    run([&] { ToolWindowAttach(*this); });
}

void frmVideoCapture::cbDriver_Click()
{
    forms::IgnoreErrors run;
    int previous = -1;
    run([&] { previous = ezVidCap1->DriverIndex(); });
    if (run([&] { ezVidCap1->setDriverIndex(cbDriver->ListIndex()); })) return;
    run([&] { ezVidCap1->setDriverIndex(previous); });
    run([&] { cbDriver->setListIndex(previous); });
    run([&] { lblStatusString->setCaption(QStringLiteral("Could not connect!")); });
}

void frmVideoCapture::cmdWidth_Click()
{
    ezVidCap1->setWidth(Number(txtWidth->Text()));
    txtWidth->setText(DecimalText(ezVidCap1->Width()));
}

void frmVideoCapture::cmdHeight_Click()
{
    ezVidCap1->setHeight(Number(txtHeight->Text()));
    txtHeight->setText(DecimalText(ezVidCap1->Height()));
}

void frmVideoCapture::cmdSaveAs_Click()
{
    forms::IgnoreErrors run;
    QString fileName;
    QString fileTitle;
    bool readOnly = false;
    QString filter = QStringLiteral("AVI files (*.avi)|*.avi");
    int filterIndex = 1;
    int flags = 0;
    bool chosen = false;
    run([&] {
        chosen = mCmnDlg::ShowSavePreviewDialog(fileName, fileTitle, false, false, readOnly, false, filter, filterIndex,
            files::ProgramFolder(), QStringLiteral("Save AVI File"), QStringLiteral("avi"), qintptr(hWnd()), flags);
    });
    if (!chosen) return;
    try {
        ezVidCap1->SaveAs(fileName);
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(e.Description(), forms::MsgBoxStyle::Information);
    }
}

void frmVideoCapture::cmdSaveDIB_Click()
{
    forms::IgnoreErrors run;
    QString fileName;
    QString fileTitle;
    QString filter = QStringLiteral("Bitmap files (*.bmp)|*.bmp");
    int filterIndex = 1;
    int flags = 0;
    bool chosen = false;
    run([&] {
        chosen = mCmnDlg::ShowSaveDialog(fileName, fileTitle, true, filter, filterIndex, files::ProgramFolder(),
            QStringLiteral("Save Frame As Bitmap File"), QStringLiteral("bmp"), qintptr(hWnd()), flags);
    });
    if (!chosen) return;
    try {
        ezVidCap1->SaveDIB(fileName);
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(e.Description(), forms::MsgBoxStyle::Information);
    }
}

void frmVideoCapture::ezVidCap1_StatusEvent(int code, const QString& text)
{
    lblStatusCode->setCaption(QStringLiteral("StatusCode: ") + QString::number(code));
    lblStatusCode->repaint();
    if (code == 0) return;
    lblStatusString->setCaption(text);
    lblStatusString->repaint();
}

void frmVideoCapture::ezVidCap1_ErrorEvent(int code, const QString& text)
{
    if (code == 0) return;
    lblStatusString->setCaption(QStringLiteral("Error ") + text);
    lblStatusString->repaint();
}

void frmVideoCapture::ezVidCap1_PreRollComplete()
{
    const int answer = forms::MsgBox(QStringLiteral("Using precise capture controls.\n"
                                                    "PreRoll complete - Click OK to start capture immediately."),
        forms::MsgBoxStyle::OKCancel);
    if (answer == forms::MsgBoxResult::OK)
        ezVidCap1->CaptureStart();
    else
        ezVidCap1->CaptureCancel();
}

void frmVideoCapture::Form_Resize()
{
    forms::IgnoreErrors run;
    run([&] { lblStatusCode->Move(0, 0, picStatus->ScaleWidth() / 4, picStatus->ScaleHeight()); });
    run([&] {
        lblStatusString->Move(
            picStatus->ScaleWidth() / 4, 0, picStatus->ScaleWidth() * 3 / 4, picStatus->ScaleHeight());
    });
}
