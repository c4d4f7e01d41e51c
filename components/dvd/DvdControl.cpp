#include "components/dvd/DvdControl.h"

#include "components/dvd/PictureClicks.h"
#include "components/dvd/VlcDvd.h"
#include "platform/forms/RuntimeError.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QString Source = QStringLiteral("DVD");

// The picture steps back this often while playing backwards.
constexpr int BackwardsStepMs = 200;
constexpr double MostZoom = 16;
// How long a chapter jump may take before the player's own report counts again.
constexpr int ChapterJumpMs = 1000;

[[noreturn]] void Fail(const QString& description)
{
    throw forms::RuntimeError(forms::Err::InvalidProcedureCall, Source, description);
}

// Tests and machines without a screen play to null outputs, as the program's other players do.
bool NullOutputs()
{
    return qEnvironmentVariable("TESSEL_NULL_OUTPUTS") == QLatin1String("1")
        || qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen");
}

// The disc TESSEL_DVD names, else the first optical drive; empty when there is none.
QString FindDisc()
{
    const QString chosen = qEnvironmentVariable("TESSEL_DVD");
    if (!chosen.isEmpty()) return QFileInfo::exists(chosen) ? chosen : QString();
    for (const char* device : {"/dev/dvd", "/dev/sr0", "/dev/sr1", "/dev/sr2", "/dev/sr3"})
        if (QFileInfo::exists(QString::fromLatin1(device))) return QString::fromLatin1(device);
    return {};
}

} // namespace

DvdControl::DvdControl(QWidget* parent)
    : QWidget(parent)
    , Extent(this)
{
    // The picture goes into a window of the control's own, which the library draws on.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);

    backwardsTimer_.setInterval(BackwardsStepMs);
    connect(&backwardsTimer_, &QTimer::timeout, this, &DvdControl::StepBackwards);
}

DvdControl::~DvdControl() = default;

void DvdControl::Initialise()
{
    pending_ = nullptr;
    EndBackwards();
    running_ = false;
    title_ = -1;
    frameRate_ = 0;
    zoom_ = 1;
    player_.reset();
    const QString disc = FindDisc();
    if (disc.isEmpty()) Fail(QStringLiteral("There is no DVD drive or disc."));
    player_ = std::make_unique<VlcDvd>(NullOutputs());
    if (!player_->Ok()) {
        player_.reset();
        Fail(QStringLiteral("The DVD player could not start."));
    }
    connect(player_.get(), &VlcDvd::Playing, this, &DvdControl::OnPlaying);
    connect(player_.get(), &VlcDvd::Ended, this, &DvdControl::OnStopped);
    connect(player_.get(), &VlcDvd::Failed, this, &DvdControl::OnStopped);
    connect(player_.get(), &VlcDvd::TitleChanged, this, &DvdControl::OnTitleChanged);
    player_->SetDisc(disc);
    if (!NullOutputs()) player_->SetWindow(winId());
}

void DvdControl::RequireDisc() const
{
    if (!player_) Fail(QStringLiteral("There is no DVD drive or disc."));
}

void DvdControl::RequireTitle() const
{
    RequireDisc();
    if (!running_ || title_ < 1) Fail(QStringLiteral("No title is playing."));
}

void DvdControl::WhenRunning(std::function<void()> command)
{
    if (running_ && player_->Running()) {
        command();
        return;
    }
    pending_ = std::move(command);
    if (!player_->Running()) player_->Start();
}

void DvdControl::OnPlaying()
{
    // A report can arrive after the player was stopped.
    if (!player_->Running()) return;
    running_ = true;
    if (auto command = std::exchange(pending_, nullptr)) command();
}

void DvdControl::OnStopped()
{
    // A report of an earlier run ending tells nothing about a run started since.
    if (player_ && player_->Running()) return;
    running_ = false;
    pending_ = nullptr;
    title_ = -1;
    frameRate_ = 0;
    askedChapter_ = 0;
    pauseSkipArmed_ = false;
    EndBackwards();
}

void DvdControl::OnTitleChanged(int title)
{
    if (!player_->Running()) return;
    // Coming to a menu, the control takes the keys, so that the arrows and Enter choose on it.
    if (title == 0 && title_ != 0 && window()->isActiveWindow()) setFocus(Qt::OtherFocusReason);
    title_ = title;
}

void DvdControl::PlayTitle(int title)
{
    RequireDisc();
    if (title < 1 || (running_ && title >= player_->TitleCount()))
        Fail(QStringLiteral("The disc has no title %1.").arg(title));
    WhenRunning([this, title] {
        EndBackwards();
        if (title >= player_->TitleCount()) return;
        pauseSkipArmed_ = true;
        player_->SetTitle(title);
        player_->SetRate(1);
        player_->SetPause(false);
    });
}

void DvdControl::PlayForwards(double speed)
{
    RequireDisc();
    if (!(speed > 0)) Fail(QStringLiteral("The speed must be above 0."));
    WhenRunning([this, speed] {
        EndBackwards();
        player_->SetRate(speed);
        player_->SetPause(false);
    });
}

void DvdControl::PlayBackwards(double speed)
{
    RequireDisc();
    if (!(speed > 0)) Fail(QStringLiteral("The speed must be above 0."));
    WhenRunning([this, speed] {
        // The library plays forwards only: the picture plays on at normal speed, without sound,
        // and is sent back a little further every step.
        if (backwardsSpeed_ == 0) backwardsPosition_ = double(std::max<std::int64_t>(player_->Time(), 0));
        backwardsSpeed_ = speed;
        player_->SetRate(1);
        player_->SetMute(true);
        player_->SetPause(false);
        backwardsClock_.start();
        backwardsTimer_.start();
    });
}

void DvdControl::StepBackwards()
{
    if (!player_ || backwardsSpeed_ == 0) return;
    backwardsPosition_ -= backwardsSpeed_ * double(backwardsClock_.restart());
    if (backwardsPosition_ <= 0) {
        player_->SetTime(0);
        EndBackwards();
        return;
    }
    player_->SetTime(std::llround(backwardsPosition_));
}

void DvdControl::EndBackwards()
{
    backwardsTimer_.stop();
    if (backwardsSpeed_ == 0) return;
    backwardsSpeed_ = 0;
    if (player_) player_->SetMute(false);
}

void DvdControl::Pause()
{
    RequireDisc();
    EndBackwards();
    if (running_) player_->SetPause(true);
}

void DvdControl::Stop()
{
    if (!player_) return;
    pending_ = nullptr;
    EndBackwards();
    player_->Stop();
    OnStopped();
}

int DvdControl::CurrentChapter() const
{
    RequireTitle();
    const int reported = player_->Chapter() + 1;
    // Until the player has come to a chapter asked for, it may still report the one it leaves.
    if (askedChapter_ > 0 && reported != askedChapter_ && askedClock_.elapsed() < ChapterJumpMs)
        return askedChapter_;
    askedChapter_ = 0;
    return reported;
}

void DvdControl::PlayChapter(int chapter)
{
    RequireTitle();
    if (chapter < 1 || chapter > player_->ChapterCount(title_))
        Fail(QStringLiteral("The title has no chapter %1.").arg(chapter));
    EndBackwards();
    player_->SetChapter(chapter - 1);
    askedChapter_ = chapter;
    askedClock_.start();
}

void DvdControl::ShowMenu(int menu)
{
    RequireDisc();
    if (menu != RootMenu) Fail(QStringLiteral("The disc has no menu %1.").arg(menu));
    // dvdnav.c skips the disc's pause on every change of title (dvdnav_still_skip), and libdvdnav
    // keeps that skip until a cell ends: a menu reached before then would lose its pause and the
    // disc would stop in it, deaf to clicks. After a change of title the menu is shown from a new
    // run, which skips nothing.
    if (running_ && pauseSkipArmed_) Stop();
    WhenRunning([this] {
        EndBackwards();
        player_->SetRate(1);
        player_->SetPause(false);
        // The library keeps the disc's menus as its title 0.
        player_->SetTitle(0);
    });
}

void DvdControl::Zoom(int x, int y, double ratio)
{
    RequireDisc();
    if (!(ratio > 0)) Fail(QStringLiteral("The zoom factor must be above 0."));
    const QSize picture = player_->PictureSize();
    if (!running_ || picture.isEmpty()) Fail(QStringLiteral("There is no picture to zoom."));
    zoom_ = std::clamp(zoom_ * ratio, 1.0, MostZoom);
    if (zoom_ == 1) {
        player_->SetCrop(QString());
        return;
    }
    const int w = std::max(1, int(std::lround(picture.width() / zoom_)));
    const int h = std::max(1, int(std::lround(picture.height() / zoom_)));
    const int left = std::clamp(x - w / 2, 0, picture.width() - w);
    const int top = std::clamp(y - h / 2, 0, picture.height() - h);
    const int right = picture.width() - left - w;
    const int bottom = picture.height() - top - h;
    player_->SetCrop(QStringLiteral("%1+%2+%3+%4").arg(left).arg(top).arg(right).arg(bottom));
}

QString DvdControl::TimeText(std::int64_t ms) const
{
    if (ms < 0) Fail(QStringLiteral("The disc is not playing."));
    // The time line asks many times a second; the disc's frame rate is looked up once per run.
    if (!(frameRate_ > 0)) frameRate_ = player_->FrameRate();
    const double fps = frameRate_ > 0 ? frameRate_ : player_->PictureSize().height() == 480 ? 30 : 25;
    const std::int64_t seconds = ms / 1000;
    const int frames = int(double(ms % 1000) * fps / 1000.0);
    return QStringLiteral("%1:%2:%3:%4")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(frames, 2, 10, QLatin1Char('0'));
}

QString DvdControl::CurrentLocation() const
{
    RequireDisc();
    if (!running_) Fail(QStringLiteral("The disc is not playing."));
    return TimeText(player_->Time());
}

QString DvdControl::TitleLength() const
{
    RequireDisc();
    if (!running_) Fail(QStringLiteral("The disc is not playing."));
    return TimeText(player_->Length(title_));
}

int DvdControl::CurrentTitle() const { return running_ ? title_ : -1; }

double DvdControl::Speed() const
{
    if (!player_ || !running_ || !player_->Running() || player_->Paused()) return 0;
    if (backwardsSpeed_ > 0) return -backwardsSpeed_;
    return player_->Rate();
}

void DvdControl::keyPressEvent(QKeyEvent* event)
{
    using Step = VlcDvd::Navigation;
    std::optional<Step> step;
    switch (event->key()) {
    case Qt::Key_Up: step = Step::Up; break;
    case Qt::Key_Down: step = Step::Down; break;
    case Qt::Key_Left: step = Step::Left; break;
    case Qt::Key_Right: step = Step::Right; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: step = Step::Activate; break;
    default: break;
    }
    if (!step || !player_ || !running_) {
        QWidget::keyPressEvent(event);
        return;
    }
    player_->Navigate(*step);
}

void DvdControl::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (!player_ || !running_ || event->button() != Qt::LeftButton) return;
    const QPoint at = (event->position() * devicePixelRatio()).toPoint();
    if (passedClock_.isValid() && passedClock_.elapsed() < 1000 && at == passedClick_) return;
    passedClick_ = at;
    passedClock_.start();
    dvdclicks::PassClick(winId(), at.x(), at.y());
}
