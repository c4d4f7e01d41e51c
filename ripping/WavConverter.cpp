#include "ripping/WavConverter.h"

#include "components/encoders/AudioEncoder.h"
#include "components/encoders/EncodeError.h"
#include "dialogs/LumoCommonDialog.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"

WavConverter::WavConverter(const QString& caption, OutputFile output, double optionsWidth, double optionsHeight)
    : output_(std::move(output))
{
    setCaption(caption);
    QWidget* client = Client();
    const double width = std::max(optionsWidth + 240, 6600.0);
    fraOptions = new forms::Frame(client, QStringLiteral("Encoding Options"));
    fraOptions->Move(120, 120, width, optionsHeight + 240);

    double top = optionsHeight + 480;
    cmdInputFile = new forms::CommandButton(client, QStringLiteral("Input File..."));
    cmdInputFile->Move(120, top, 1455, 375);
    txtInputFile = new forms::TextBox(client);
    txtInputFile->Move(1680, top + 30, width - 1560, 315);
    top += 480;
    cmdOutputFile = new forms::CommandButton(client, QStringLiteral("Output File..."));
    cmdOutputFile->Move(120, top, 1455, 375);
    txtOutputFile = new forms::TextBox(client);
    txtOutputFile->Move(1680, top + 30, width - 1560, 315);
    top += 600;
    prgStatus = new forms::ProgressBar(client);
    prgStatus->Move(120, top, width, 255);
    top += 360;
    lblPercentageComplete = new forms::Label(client, QStringLiteral("Percent Complete:"));
    lblPercentageComplete->Move(120, top, 3000, 255);
    lblTimeElapsed = new forms::Label(client, QStringLiteral("Elapsed Time:"));
    lblTimeElapsed->Move(3240, top, width - 3120, 255);
    top += 420;
    cmdEncode = new forms::CommandButton(client, QStringLiteral("Encode"));
    cmdEncode->Move(width - 2550, top, 1215, 375);
    cmdCancel = new forms::CommandButton(client, QStringLiteral("Cancel"));
    cmdCancel->Move(width - 1215 + 120, top, 1215, 375);

    CommonDialog1 = new LumoCommonDialog(client);
    CommonDialog1->setVisible(false);

    Move(Left(), Top(), width + 240 + (Width() - ScaleWidth()), top + 495 + (Height() - ScaleHeight()));

    connect(cmdInputFile, &forms::CommandButton::Click, this, &WavConverter::cmdInputFile_Click);
    connect(cmdOutputFile, &forms::CommandButton::Click, this, &WavConverter::cmdOutputFile_Click);
    connect(cmdEncode, &forms::CommandButton::Click, this, &WavConverter::cmdEncode_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, &WavConverter::cmdCancel_Click);
}

void WavConverter::Host(AudioEncoder* encoder)
{
    encoder_ = encoder;
    connect(encoder, &AudioEncoder::EncodeStatus, this, &WavConverter::EncodeStatus);
}

void WavConverter::Form_Load()
{
    PresetSettings();
    ToolWindowSetup(*this);
}

void WavConverter::cmdInputFile_Click()
{
    CommonDialog1->setDialogTitle(QStringLiteral("Selected Audio File To Encode"));
    CommonDialog1->setFileName(QStringLiteral("Test.wav"));
    CommonDialog1->setFilter(QStringLiteral("Wav file (*.wav)|*.wav"));
    CommonDialog1->setCancelError(false);
    CommonDialog1->ShowOpen();
    txtInputFile->setText(CommonDialog1->FileName());
    txtOutputFile->setText(CommonDialog1->FileName() + output_.extension);
}

void WavConverter::cmdOutputFile_Click()
{
    CommonDialog1->setDialogTitle(output_.dialogTitle);
    CommonDialog1->setFileName(output_.presetName);
    CommonDialog1->setFilter(output_.filter);
    CommonDialog1->setCancelError(false);
    CommonDialog1->ShowSave();
    txtOutputFile->setText(CommonDialog1->FileName());
}

void WavConverter::cmdEncode_Click()
{
    if (encoder_->IsEncoding()) {
        forms::MsgBox(QStringLiteral("A file is currently being encoded..."), forms::MsgBoxStyle::Information);
        return;
    }
    if (txtInputFile->Text().trimmed().isEmpty() || txtOutputFile->Text().trimmed().isEmpty()) {
        forms::MsgBox(QStringLiteral("Please select Input/Output files."), forms::MsgBoxStyle::Information);
        return;
    }
    if (!WriteSettings()) return;
    if (!encoder_->EncodeFile(txtInputFile->Text(), txtOutputFile->Text()))
        forms::MsgBox(EncodeError::Text(encoder_->LastError()), forms::MsgBoxStyle::Critical);
}

void WavConverter::cmdCancel_Click() { encoder_->CancelEncode(CancelArgument()); }

void WavConverter::EncodeStatus(int percent, int status)
{
    forms::IgnoreErrors run;
    switch (status) {
    case EncodeStatusCode::Started: m_dtStart = QDateTime::currentDateTime(); break;
    case EncodeStatusCode::Progress:
        run([&] { prgStatus->setValue(percent); });
        run([&] {
            lblPercentageComplete->setCaption(
                QStringLiteral("Percent Complete: %") + QStringLiteral("%1").arg(percent, 2, 10, QLatin1Char('0')));
        });
        run([&] {
            lblTimeElapsed->setCaption(QStringLiteral("Seconds Elapsed: %1")
                                           .arg(m_dtStart.msecsTo(QDateTime::currentDateTime()) / 1000));
        });
        break;
    case EncodeStatusCode::Complete:
        forms::MsgBox(QStringLiteral("Encoding Complete!!!"), forms::MsgBoxStyle::Information);
        break;
    case EncodeStatusCode::Cancelled:
        forms::MsgBox(QStringLiteral("Encoding Cancelled!!!"), forms::MsgBoxStyle::Information);
        break;
    case EncodeStatusCode::Failed:
        // An encode that stops on an error (a full disk, a file that can no longer be read) says
        // so instead of ending without a word.
        forms::MsgBox(EncodeError::Text(encoder_->LastError()), forms::MsgBoxStyle::Critical);
        break;
    default: break;
    }
}

void WavConverter::Form_Unload(int& /*cancel*/) { encoder_->CancelEncode(true); }
