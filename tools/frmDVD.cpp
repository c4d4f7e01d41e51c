#include "tools/frmDVD.h"

#include "components/dvd/DvdControl.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"

#include <cmath>

namespace {

constexpr double ButtonWidth = 1395;
constexpr double ButtonHeight = 375;
constexpr double Gap = 60;
constexpr int ButtonsPerRow = 6;

// Seconds of an "hh:mm:ss:ff" text; frames are dropped. False when the text is not of that form.
bool ReadSeconds(const QString& text, int& seconds)
{
    bool ok[3] = {};
    const int h = text.mid(0, 2).toInt(&ok[0]);
    const int m = text.mid(3, 2).toInt(&ok[1]);
    const int s = text.mid(6, 2).toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2]) return false;
    seconds = h * 3600 + m * 60 + s;
    return true;
}

} // namespace

frmDVD::frmDVD()
{
    setCaption(QStringLiteral("Tessel DVD Player"));
    CreateControls();
    WireHandlers();
}

void frmDVD::CreateControls()
{
    QWidget* client = Client();
    const QFont tahoma(QStringLiteral("Tahoma"), 8);

    txtTime = new forms::TextBox(client, QStringLiteral("Time"));
    txtTime->setFont(tahoma);
    txtTime->Move(0, 0, 8880, 315);

    DVD = new DvdControl(client);
    DVD->Move(0, 315, 8880, 5655);

    // The status box lies over the picture, so it has a window of its own above the control's.
    txtStatus = new forms::TextBox(client, QStringLiteral("Text1"));
    txtStatus->setFont(tahoma);
    txtStatus->setAttribute(Qt::WA_NativeWindow);
    txtStatus->Move(120, 435, 2415, 315);
    txtStatus->setVisible(false);
    txtStatus->raise();

    picControls = new forms::PictureBox(client);
    picControls->setToolTipText(QStringLiteral("DVD Playing Controls"));
    const struct {
        forms::CommandButton*& button;
        const char* caption;
    } buttons[] = {
        {cmdStartDVD, "Start Movie"},
        {cmdPlay, "Play"},
        {cmdPause, "Pause"},
        {cmdStop, "Stop"},
        {cmdPrevChapter, "< Chapter"},
        {cmdNextChap, "Chapter >"},
        {cmdRewind, "<< Rewind"},
        {cmdFForward, "F. Forward >>"},
        {cmdZoomIn, "Zoom In"},
        {cmdZoomOut, "Zoom Out"},
        {cmdJumpRoot, "Jump To Root"},
    };
    int i = 0;
    for (const auto& b : buttons) {
        b.button = new forms::CommandButton(picControls, QString::fromLatin1(b.caption));
        const int row = i / ButtonsPerRow;
        const int column = i % ButtonsPerRow;
        b.button->Move(Gap + column * (ButtonWidth + Gap), Gap + row * (ButtonHeight + Gap), ButtonWidth, ButtonHeight);
        ++i;
    }
    picControls->Move(0, 5970, Gap + ButtonsPerRow * (ButtonWidth + Gap), Gap + 2 * (ButtonHeight + Gap));

    Timer1 = new forms::Timer(this, 1, true);
    tmrStatus = new forms::Timer(this, 2000, false);

    Move(Left(), Top(), 8880 + (Width() - ScaleWidth()), 6900 + (Height() - ScaleHeight()));
    Form_Resize();
}

void frmDVD::WireHandlers()
{
    using forms::CommandButton;
    const auto onClick
        = [this](CommandButton* button, auto handler) { connect(button, &CommandButton::Click, this, handler); };

    onClick(cmdStartDVD, [this] {
        forms::IgnoreErrors run;
        run([&] { DVD->PlayTitle(1); });
        ShowStatus(QStringLiteral("Starting Movie"));
    });
    onClick(cmdPlay, [this] {
        forms::IgnoreErrors run;
        run([&] { DVD->PlayForwards(1.0); });
        ShowStatus(QStringLiteral("Playing"));
    });
    onClick(cmdPause, [this] {
        Guarded([this] {
            DVD->Pause();
            ShowStatus(QStringLiteral("Paused"));
        });
    });
    onClick(cmdStop, [this] {
        Guarded([this] {
            DVD->Stop();
            ShowStatus(QStringLiteral("Stopped"));
        });
    });
    onClick(cmdNextChap, [this] {
        forms::IgnoreErrors run;
        int n = 0;
        run([&] { n = DVD->CurrentChapter(); });
        run([&] { DVD->PlayChapter(n + 1); });
        txtStatus->setVisible(true);
        run([&] { txtStatus->setText(QStringLiteral("Chapter ") + QString::number(DVD->CurrentChapter())); });
        tmrStatus->setEnabled(true);
    });
    onClick(cmdPrevChapter, [this] {
        forms::IgnoreErrors run;
        int n = 0;
        run([&] { n = DVD->CurrentChapter(); });
        run([&] { DVD->PlayChapter(n - 1); });
        txtStatus->setVisible(true);
        run([&] { txtStatus->setText(QStringLiteral("Chapter ") + QString::number(DVD->CurrentChapter())); });
        tmrStatus->setEnabled(true);
    });
    onClick(cmdFForward, [this] {
        forms::IgnoreErrors run;
        const std::int16_t s = NextScanSpeed();
        run([&] { DVD->PlayForwards(s); });
        ShowStatus(QStringLiteral("Playing At %1x").arg(s));
    });
    onClick(cmdRewind, [this] {
        forms::IgnoreErrors run;
        const std::int16_t s = NextScanSpeed();
        run([&] { DVD->PlayBackwards(s); });
        ShowStatus(QStringLiteral("Playing At -%1x").arg(s));
    });
    onClick(cmdZoomIn, [this] {
        Guarded([this] {
            DVD->Zoom(360, 270, 2.0);
            ShowStatus(QStringLiteral("Zooming In"));
        });
    });
    onClick(cmdZoomOut, [this] {
        Guarded([this] {
            DVD->Zoom(360, 270, 0.5);
            ShowStatus(QStringLiteral("Zooming Out"));
        });
    });
    onClick(cmdJumpRoot, [this] {
        Guarded([this] {
            DVD->ShowMenu(DvdControl::RootMenu);
            ShowStatus(QStringLiteral("Root Menu"));
        });
    });

    connect(Timer1, &forms::Timer::Tick, this, &frmDVD::Timer1_Timer);
    connect(tmrStatus, &forms::Timer::Tick, this, [this] {
        txtStatus->setVisible(false);
        tmrStatus->setEnabled(false);
    });
}

void frmDVD::Guarded(const std::function<void()>& handler)
{
    // The control refuses what the disc cannot do (no disc, nothing to zoom); the window stays as
    // it was.
    try {
        handler();
    } catch (const forms::RuntimeError&) {
    }
}

void frmDVD::ShowStatus(const QString& text)
{
    txtStatus->setVisible(true);
    txtStatus->setText(text);
    tmrStatus->setEnabled(true);
}

std::int16_t frmDVD::NextScanSpeed()
{
    if (ScanSpeed == 8) ScanSpeed = 0;
    return ++ScanSpeed;
}

void frmDVD::Form_Load()
{
    forms::IgnoreErrors run;
    run([&] { ToolWindowSetup(*this); });
    run([&] { DVD->Initialise(); });
}

void frmDVD::Form_Resize()
{
    forms::IgnoreErrors run;
    run([&] { txtTime->Move(0, 0, ScaleWidth()); });
    run([&] {
        DVD->Move(0, txtTime->Height(), ScaleWidth(), ScaleHeight() - txtTime->Height() - picControls->Height());
    });
    run([&] { picControls->Move(ScaleWidth() / 2 - picControls->Width() / 2, ScaleHeight() - picControls->Height()); });
}

void frmDVD::Timer1_Timer()
{
    forms::IgnoreErrors run;
    QString cur;
    QString total;
    run([&] { cur = DVD->CurrentLocation(); });
    run([&] { total = DVD->TitleLength(); });
    int curSeconds = 1;
    int totalSeconds = 1;
    // Without a time from the disc, or with one that is not a time, both read one second.
    if (cur.size() < 10 || total.size() < 10 || !ReadSeconds(cur, curSeconds) || !ReadSeconds(total, totalSeconds)) {
        curSeconds = 1;
        totalSeconds = 1;
    }
    const QString line = getThisTime(curSeconds * 1000) + QStringLiteral(" / ") + getThisTime(totalSeconds * 1000);
    if (txtTime->Text() != line) txtTime->setText(line);
}

QString frmDVD::getThisTime(int ms) const
{
    const auto s = static_cast<qint64>(std::nearbyint(ms / 1000.0));
    const qint64 h = s / 3600;
    const qint64 r = s % 3600;
    const qint64 m = r / 60;
    const qint64 sec = r % 60;
    return (h >= 1 ? QString::number(h) + QLatin1Char(':') : QString()) + QString::number(m) + QLatin1Char(':')
        + QStringLiteral("%1").arg(sec, 2, 10, QLatin1Char('0'));
}
