#include "ripping/frmExtract.h"

#include "components/cdripper/CDRipperX.h"
#include "dialogs/LumoCommonDialog.h"
#include "platform/forms/DoEvents.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "ripping/frmCDRip.h"
#include "tools/ToolWindowSetup.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// Where the original would propose a file on the first drive, the same name in the home folder.
QString DefaultName(const QString& ext) { return QDir::home().filePath(QStringLiteral("Track") + ext); }

// The output files' path before the track number: the text without its last four characters
// (whatever they are), taken from the file's name only, so that a name shorter than four
// characters still leaves its files in the folder the user chose. A name without a folder goes
// into the home folder, never into whatever folder the program was started from.
QString OutputBase(const QString& text)
{
    const QString path = QDir::isAbsolutePath(text) ? text : QDir::homePath() + QLatin1Char('/') + text;
    const qsizetype nameAt = path.lastIndexOf(QLatin1Char('/')) + 1;
    return path.left(std::max(nameAt, path.size() - 4));
}

} // namespace

frmExtract::frmExtract()
{
    setCaption(QStringLiteral("Extract Audio"));
    CreateControls();
    connect(cmdFileName, &forms::CommandButton::Click, this, &frmExtract::cmdFileName_Click);
    connect(cmdGo, &forms::CommandButton::Click, this, &frmExtract::cmdGo_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, &frmExtract::cmdCancel_Click);
}

frmExtract::~frmExtract() = default;

void frmExtract::CreateControls()
{
    QWidget* client = Client();
    txtFilename = new forms::TextBox(client, QDir::home().filePath(QStringLiteral("Test.wav")));
    txtFilename->Move(120, 120, 4680, 315);
    cmdFileName = new forms::CommandButton(client, QStringLiteral("File..."));
    cmdFileName->Move(4920, 105, 1095, 345);
    lblExtractStatus = new forms::Label(client, QStringLiteral("Status:"));
    lblExtractStatus->Move(120, 570, 1500, 255);
    lstStatus = new forms::ListBox(client);
    lstStatus->Move(120, 840, 5895, 1980);
    lblTrackProgress = new forms::Label(client, QStringLiteral("Track Progress:"));
    lblTrackProgress->Move(120, 2940, 3000, 255);
    prgTrack = new forms::ProgressBar(client);
    prgTrack->Move(120, 3210, 5895, 255);
    lblTotalProgress = new forms::Label(client, QStringLiteral("Total Progress:"));
    lblTotalProgress->Move(120, 3570, 3000, 255);
    prgTotal = new forms::ProgressBar(client);
    prgTotal->Move(120, 3840, 5895, 255);
    cmdGo = new forms::CommandButton(client, QStringLiteral("&Go"));
    cmdGo->Move(3600, 4260, 1095, 375);
    cmdCancel = new forms::CommandButton(client, QStringLiteral("&Cancel"));
    cmdCancel->Move(4920, 4260, 1095, 375);
    CommonDialog1 = new LumoCommonDialog(client);
    CommonDialog1->Move(0, 0, 0, 0);
    sbrTime = new forms::StatusBar(this, 2);
    Move(Left(), Top(), 6255, 4800 + (Height() - ScaleHeight()) + 300);
}

void frmExtract::ShowExtract(CDRipperX& ripper, int format)
{
    m_objRipper = &ripper;
    Connect(ripper);
    const struct {
        const char* ext;
        const char* caption;
    } formats[] = {
        {".mp3", "Extract MP3 Files"},
        {".wav", "Extract Wav Files"},
        {".ogg", "Extract Ogg-Vorbis Files"},
        {".wma", "Extract Windows Media Files"},
    };
    if (format >= 0 && format < 4) {
        m_strExt = QString::fromLatin1(formats[format].ext);
        setCaption(QString::fromLatin1(formats[format].caption));
        txtFilename->setText(DefaultName(m_strExt));
    }
    lstStatus->Clear();
    sbrTime->setPanelText(1, QString());
    prgTotal->setValue(0);
    prgTrack->setValue(0);
    cmdGo->setEnabled(true);
    cmdFileName->setEnabled(true);
    Show(forms::ShowMode::Modal);
}

void frmExtract::Connect(CDRipperX& ripper)
{
    for (auto& c : connections_)
        disconnect(c);
    connections_[0] = connect(&ripper, &CDRipperX::RipStarted, this, &frmExtract::RipStarted);
    connections_[1] = connect(&ripper, &CDRipperX::RipCompleted, this, &frmExtract::RipCompleted);
    connections_[2] = connect(&ripper, &CDRipperX::RipStatus, this, &frmExtract::RipStatus);
    connections_[3] = connect(&ripper, &CDRipperX::TrackStarted, this, &frmExtract::TrackStarted);
    connections_[4] = connect(&ripper, &CDRipperX::TrackCompleted, this, &frmExtract::TrackCompleted);
}

void frmExtract::Form_Load()
{
    ToolWindowSetup(*this);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Move(((screen.width() * 15.0) - Width()) / 2, ((screen.height() * 15.0) - Height()) / 2, Width(), Height());
}

void frmExtract::Form_Unload(int& cancel)
{
    // Closing the window while tracks are being written would leave the extraction running with
    // nobody to follow it: the close asks the ripper to stop and waits for its end instead.
    if (m_bRipping) {
        if (m_objRipper) m_objRipper->CancelRip();
        cancel = 1;
        return;
    }
    for (auto& c : connections_)
        disconnect(c);
    m_objRipper = nullptr;
    lstStatus->Clear();
}

void frmExtract::cmdFileName_Click()
{
    try {
        CommonDialog1->setDialogTitle(QStringLiteral("Extract Selected Audio Tracks"));
        CommonDialog1->setFileName(QStringLiteral("Track") + m_strExt);
        CommonDialog1->setFilter(QStringLiteral("Audio file (*") + m_strExt + QStringLiteral(")|*") + m_strExt);
        CommonDialog1->setCancelError(true);
        CommonDialog1->ShowOpen();
        txtFilename->setText(CommonDialog1->FileName());
    } catch (const forms::RuntimeError&) {
        // A cancelled dialog changes nothing.
    }
}

void frmExtract::cmdGo_Click()
{
    lstStatus->Clear();
    const frmCDRip* rip = forms::Instances::Existing<frmCDRip>();
    if (!rip || !m_objRipper) return;
    forms::ListView* tracks = rip->lvwTracks;
    int checked = 0;
    for (int i = 1; i <= tracks->Count(); ++i)
        if (tracks->Checked(i)) ++checked;
    if (checked == 0) {
        forms::MsgBox(QStringLiteral("No Tracks Selected for Extraction."), forms::MsgBoxStyle::Information);
        Unload();
        return;
    }
    prgTotal->setMin(0);
    prgTotal->setMax(checked);
    prgTotal->setValue(0);
    sbrTime->setPanelText(1, QStringLiteral("Preparing to extract audio..."));
    m_objRipper->ClearRipList();

    const QString base = OutputBase(txtFilename->Text());
    for (m_intTrack = 1; m_intTrack <= tracks->Count(); ++m_intTrack) {
        if (!tracks->Checked(m_intTrack)) continue;
        const QString file = base + TwoDigits(m_intTrack) + m_strExt;
        prgTrack->setMin(0);
        prgTrack->setMax(100);
        prgTrack->setValue(0);
        if (m_objRipper->IsAudioTrack(m_intTrack)) {
            if (!m_objRipper->AddRipTrack(m_intTrack, file, m_intTrack))
                lstStatus->AddItem(QStringLiteral("Track #") + TwoDigits(m_intTrack) + QStringLiteral(" could not be added for extraction!"));
        } else {
            lstStatus->AddItem(QStringLiteral("Track #") + TwoDigits(m_intTrack) + QStringLiteral(" is a data track and cannot be extracted!"));
        }
    }
    if (!m_objRipper->StartRip())
        forms::MsgBox(QStringLiteral("Extraction could not be started."), forms::MsgBoxStyle::Information);
}

void frmExtract::cmdCancel_Click()
{
    if (m_bRipping) {
        if (m_objRipper) m_objRipper->CancelRip();
        forms::DoEvents();
        return;
    }
    Unload();
}

void frmExtract::RipStarted()
{
    lstStatus->AddItem(QStringLiteral("Preparing for Audio Extraction!"));
    m_dtStart = QDateTime::currentDateTime();
    m_bRipping = true;
    tracksWritten_ = 0;
    cancelled_ = false;
    cmdGo->setEnabled(false);
    cmdFileName->setEnabled(false);
    setCursor(Qt::WaitCursor);
}

void frmExtract::TrackStarted(const QString& file, int start, int end, int track)
{
    lstStatus->AddItem(QStringLiteral("Ripping Track#") + TwoDigits(track) + QStringLiteral(" to ") + file);
    m_lngStart = start;
    m_lngEnd = end;
    m_intTrack = track;
    m_strFile = file;
}

void frmExtract::RipStatus(int code, int value)
{
    const qint64 seconds = std::abs(m_dtStart.secsTo(QDateTime::currentDateTime()));
    sbrTime->setPanelText(2, QStringLiteral("Seconds: ") + QString::number(seconds));
    static const char* const messages[] = {nullptr, nullptr, nullptr, "Speed Adjusted to Correct Error.", "Read Failed.",
        "Retrying Read.", "Retry Failed.", nullptr, "File Aborted.", "Buffer Could Not Be Initialized.",
        "Error Creating File.", "Error Writing File.", "Error Closing File.", "Drive Could Not Be Initialized.",
        "Ripping Cancelled."};
    if (code == 2) {
        lstStatus->AddItem(QStringLiteral("Jitter Could Not Be Corrected.  ") + QString::number(value));
    } else if (code == 7 && m_objRipper) {
        sbrTime->setPanelText(1, QStringLiteral("Track ") + TwoDigits(m_intTrack) + QString(5, QLatin1Char(' '))
                + m_objRipper->FormatTime(value - m_lngStart) + QStringLiteral(" / ")
                + m_objRipper->FormatTime(m_lngEnd - m_lngStart));
        const double span = static_cast<double>(static_cast<qint32>(m_lngEnd - m_lngStart));
        const double done = static_cast<double>(static_cast<qint32>(value - m_lngStart));
        // A track is always announced with its end beyond its start; a bar never goes past its ends.
        const int p = span > 0 ? static_cast<int>(std::nearbyint(done * 100 / span)) : 0;
        prgTrack->setValue(std::clamp(p, 0, 100));
        lblTrackProgress->setCaption(QStringLiteral("Track Progress: ") + QString::number(prgTrack->Value()) + QLatin1Char('%'));
    } else if (code >= 3 && code <= 14 && messages[code]) {
        lstStatus->AddItem(QString::fromLatin1(messages[code]));
        if (code == CDRipperX::Cancelled) cancelled_ = true;
    }
    forms::DoEvents();
}

void frmExtract::TrackCompleted()
{
    lstStatus->AddItem(QStringLiteral("Finished Ripping Track#") + TwoDigits(m_intTrack) + QStringLiteral(" to ") + m_strFile);
    if (prgTotal->Value() < prgTotal->Max()) prgTotal->setValue(prgTotal->Value() + 1);
    ++tracksWritten_;
}

void frmExtract::RipCompleted()
{
    // An extraction that wrote nothing, and was not cancelled, failed: saying it completed would
    // hide the errors listed above it.
    if (tracksWritten_ == 0 && !cancelled_) {
        const QString failed = QStringLiteral("Audio Ripping Failed: no file could be written.");
        lstStatus->AddItem(failed);
        sbrTime->setPanelText(1, failed);
    } else {
        lstStatus->AddItem(QStringLiteral("Audio Ripping Complete!"));
    }
    m_bRipping = false;
    cmdGo->setEnabled(true);
    cmdFileName->setEnabled(true);
    unsetCursor();
}
