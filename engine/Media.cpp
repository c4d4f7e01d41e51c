#include "engine/Media.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"
#include "platform/mci/Mci.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The number at the start of a text, as the program reads numbers from replies: leading blanks are
// skipped and a text that does not start with a number gives 0.
double LeadingNumber(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t'))
        ++i;
    const qsizetype start = i;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) ++i;
    while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9')
        ++i;
    if (i < bytes.size() && bytes[i] == '.') {
        ++i;
        while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9')
            ++i;
    }
    bool ok = false;
    const double value = bytes.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

// A number rounded to a 32-bit integer (halves to the even neighbour); out of range is an overflow.
int ToLong(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max()))
        forms::Raise(forms::Err::Overflow);
    return static_cast<int>(rounded);
}

// 32-bit arithmetic of the position members: a result outside 32 bits is an overflow.
int Checked(qint64 value)
{
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        forms::Raise(forms::Err::Overflow);
    return static_cast<int>(value);
}

QString ProperCase(const QString& text)
{
    QString out = text.toLower();
    bool wordStart = true;
    for (QChar& c : out) {
        if (wordStart && c.isLetter()) c = c.toUpper();
        wordStart = c.isSpace();
    }
    return out;
}

// Reads width and height from a "where" reply: x, y, width and height separated by blanks. The
// width is the number after the second blank, the height the number from the next blank on;
// without that blank the height stays as it was. Nothing here raises an error.
void ReadSize(const QString& size, int& width, int& height)
{
    forms::IgnoreErrors run;
    const qsizetype p1 = size.indexOf(u' ') + 1;
    const qsizetype p2 = size.indexOf(u' ', p1) + 1;
    const QString rest = size.mid(p2);
    const qsizetype p3 = rest.indexOf(u' ') + 1;
    run([&] { width = ToLong(LeadingNumber(rest.left(p3))); });
    if (p3 > 0) run([&] { height = ToLong(LeadingNumber(rest.mid(p3 - 1))); });
}

} // namespace

Media::Media(QWidget* parent)
    : QWidget(parent)
    , Extent(this)
    , Frame1(new forms::PictureBox(this))
    , lblMouse(new forms::Label(this))
    , Timer1(new forms::Timer(this, 1, true))
    , pointer_(new forms::PointerMotion(this))
{
    Frame1->setStyleSheet(QStringLiteral("background: black;"));
    lblMouse->setVisible(false);
    // Frame1 covers the surface: its mouse events are its own and do not reach the surface too.
    Frame1->setAttribute(Qt::WA_NoMousePropagation);
    ForwardEvents(events());
    ForwardEvents(Frame1->events());
    setMouseTracking(true);
    Frame1->setMouseTracking(true);
    connect(Timer1, &forms::Timer::Tick, this, &Media::CursorTick);
    connect(pointer_, &forms::PointerMotion::Moved, this, &Media::CursorMoved);
}

// The control goes with its host: the file is closed, and with it every device of the process.
Media::~Media()
{
    StopMovie();
    closeMovie();
}

void Media::ForwardEvents(forms::Events* events)
{
    events->AcceptFiles(true);
    connect(events, &forms::Events::Click, this, &Media::Click);
    connect(events, &forms::Events::DblClick, this, &Media::DblClick);
    connect(events, &forms::Events::MouseDown, this, &Media::MouseDown);
    connect(events, &forms::Events::MouseMove, this, &Media::MouseMove2);
    connect(events, &forms::Events::MouseUp, this, &Media::MouseUp);
    connect(events, &forms::Events::FilesDropped, this, &Media::OLEDragDrop);
}

unsigned Media::Send(const QString& command)
{
    const QByteArray text = command.toUtf8();
    return mci::SendString(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

QString Media::Query(const QString& command, unsigned* error)
{
    const QByteArray text = command.toUtf8();
    const unsigned result = mci::SendString(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())), reply_.data(), reply_.size());
    if (error) *error = result;
    return QString::fromUtf8(reply_.data(), static_cast<qsizetype>(strnlen(reply_.data(), reply_.size())));
}

int Media::NumericReply(const QString& command) { return ToLong(LeadingNumber(Query(command))); }

void Media::PlayFrom(qint64 position) { Send(QStringLiteral("play music from ") + QString::number(Checked(position))); }

void Media::OpenFile(const QString& strFileName)
{
    requestedName_ = strFileName;
    forms::IgnoreErrors run;
    if (strFileName != openName_) {
        Send(QStringLiteral("stop music"));
        Send(QStringLiteral("close music"));
        Send(QStringLiteral("open \"") + strFileName + QStringLiteral("\" TYPE MPEGVideo alias music"));
        Send(QStringLiteral("set music time format milliseconds"));
        openName_ = strFileName;
    }
    Send(QStringLiteral("seek music to start"));
    run([&] { windowHandle_ = QString::number(hWnd()); });
    Send(QStringLiteral("setvideo music on"));
    Send(QStringLiteral("window music handle ") + windowHandle_);
    Send(QStringLiteral("setvideo music on"));
    Send(QStringLiteral("put music destination"));
    Send(QStringLiteral("setvideo music on"));
    Send(QStringLiteral("setvideo music on"));
    Send(QStringLiteral("play music "));
    Send(QStringLiteral("setvideo music on"));
}

void Media::StopMovie()
{
    Send(QStringLiteral("close music"));
    Send(QStringLiteral("stop music"));
}

void Media::PauseMovie() { Send(QStringLiteral("pause music")); }

int Media::getLengthInFrames()
{
    Send(QStringLiteral("set music time format frames"));
    return NumericReply(QStringLiteral("status music length"));
}

void Media::playMovie()
{
    // Stop closes the device but keeps the name; Play then opens the file again and plays it
    // from the start, instead of doing nothing until another file is chosen.
    if (Send(QStringLiteral("play music")) == mci::Err::InvalidDeviceName && !requestedName_.isEmpty()) {
        openName_.clear();
        OpenFile(requestedName_);
    }
}
void Media::stepFrames(int Value) { Send(QStringLiteral("step music by ") + QString::number(Value)); }
void Media::restoreSizeDefault() { Send(QStringLiteral("put music window")); }
void Media::minimizeMovie() { Send(QStringLiteral("window music state minimized")); }
void Media::hideMovie() { Send(QStringLiteral("window music state hide")); }
void Media::showMovie() { Send(QStringLiteral("window music state show")); }
void Media::restoreMovie() { Send(QStringLiteral("window music state restore")); }

void Media::extractCurrentMovieSize(int&, int&, int& wWidth, int& wHeight)
{
    forms::IgnoreErrors run;
    QString size;
    run([&] { size = getCurrentSize(); });
    ReadSize(size, wWidth, wHeight);
}

void Media::extractDefaultMovieSize(int& wWidth, int& wHeight)
{
    forms::IgnoreErrors run;
    QString size;
    run([&] { size = getDefaultSize(); });
    ReadSize(size, wWidth, wHeight);
}

double Media::getBitsPerPixel() { return LeadingNumber(Query(QStringLiteral("status music bitsperpel"))); }
QString Media::getMovieInput() { return Query(QStringLiteral("status music monitor input")); }
QString Media::getMovieOutput() { return Query(QStringLiteral("status music monitor output")); }
QString Media::getAudioStatus() { return Query(QStringLiteral("status music audio")); }

bool Media::isMoviePlaying() { return Query(QStringLiteral("status music mode")).left(7) == QLatin1String("playing"); }

QString Media::getDeviceName() { return Query(QStringLiteral("info music product")); }
QString Media::getDeviceVersion() { return Query(QStringLiteral("info music version")); }
int Media::getNominalFrameRate() { return NumericReply(QStringLiteral("status music nominal frame rate wait")); }
int Media::getFramePerSecRate() { return NumericReply(QStringLiteral("status music frame rate")) / 1000; }
QString Media::getCurrentSize() { return Query(QStringLiteral("where music destination max")); }
QString Media::getDefaultSize() { return Query(QStringLiteral("where music source")); }

int Media::getLengthInMS()
{
    Send(QStringLiteral("set music time format ms"));
    return NumericReply(QStringLiteral("status music length"));
}

void Media::playFullScreen() { Send(QStringLiteral("play music fullscreen")); }
int Media::getLengthInSec() { return getLengthInMS() / 1000; }
void Media::setVideoOff() { Send(QStringLiteral("set all video off")); }
void Media::setVideoOn() { Send(QStringLiteral("set all video on")); }
void Media::resumeMovie() { Send(QStringLiteral("resume music")); }

int Media::getPositionInMS()
{
    Send(QStringLiteral("set music time format ms"));
    return NumericReply(QStringLiteral("status music position wait"));
}

int Media::getRate() { return NumericReply(QStringLiteral("status music speed")); }

int Media::getPositionInFrames()
{
    Send(QStringLiteral("set music time format frames wait"));
    return NumericReply(QStringLiteral("status music position"));
}

QString Media::getStatus() { return ProperCase(Query(QStringLiteral("status music mode"))); }

void Media::closeMovie()
{
    Send(QStringLiteral("close all"));
    Send(QStringLiteral("close music"));
}

QString Media::getFormatPosition() { return getThisTime(getPositionInMS()); }
QString Media::getFormatLength() { return getThisTime(getLengthInMS()); }

// The time text of the whole program, hours:minutes:seconds of a time in milliseconds. Hours
// past a day keep counting; a negative time shows as 00:00:00.
QString Media::getThisTime(int TimeinSec)
{
    const int total = std::max(0, TimeinSec / 1000);
    const int h = total >= 3600 ? total / 3600 : 0;
    const int m = total / 60 - 60 * h;
    const int s = total - 3600 * h - 60 * m;
    return QStringLiteral("%1:%2:%3")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

int Media::getVolume() { return NumericReply(QStringLiteral("status music volume")); }
QString Media::getVideoStatus() { return Query(QStringLiteral("status music video")); }
QString Media::getTimeFormat() { return Query(QStringLiteral("status music time format")); }
int Media::getLeftVolume() { return NumericReply(QStringLiteral("status music left volume")); }
int Media::getPositionInSec() { return getPositionInMS() / 1000; }

int Media::getRightVolume()
{
    bool ok = false;
    const double value = Query(QStringLiteral("status music right volume")).trimmed().toDouble(&ok);
    if (!ok) forms::Raise(forms::Err::TypeMismatch);
    return ToLong(value);
}

void Media::setAudioOff() { Send(QStringLiteral("set music audio all off")); }
void Media::setAudioOn() { Send(QStringLiteral("set music audio all on")); }
void Media::setLeftOff() { Send(QStringLiteral("set music audio left off")); }
void Media::setRightOff() { Send(QStringLiteral("set music audio right off")); }
void Media::setLeftOn() { Send(QStringLiteral("set music audio left on")); }
void Media::setRightOn() { Send(QStringLiteral("set music audio right on")); }
void Media::setDoorOpen() { Send(QStringLiteral("set cdaudio door open")); }
void Media::setDoorClosed() { Send(QStringLiteral("set cdaudio door closed")); }
void Media::setVolume(int Value) { Send(QStringLiteral("setaudio music volume to ") + QString::number(Value)); }

// Seeks to a time in seconds, to the nearest millisecond; playback goes on when it was playing.
// Nothing is clamped.
void Media::setPositionTo(double Second)
{
    forms::IgnoreErrors run;
    int ms = 0;
    run([&] { ms = ToLong(Second * 1000); });
    if (isMoviePlaying())
        Send(QStringLiteral("play music from ") + QString::number(ms));
    else if (!isMoviePlaying())
        Send(QStringLiteral("seek music to ") + QString::number(ms));
}

void Media::restartMovie()
{
    Send(QStringLiteral("seek music to start"));
    playMovie();
}

void Media::rewindByMS(int numMS)
{
    Send(QStringLiteral("set music time format ms"));
    PlayFrom(qint64(getPositionInMS()) - numMS);
}

void Media::rewindByFrames(int numFrames)
{
    Send(QStringLiteral("set music time format frames"));
    PlayFrom(qint64(getPositionInFrames()) - numFrames);
}

void Media::rewindBySeconds(int numSec)
{
    Send(QStringLiteral("set music time format ms"));
    const int position = getPositionInMS();
    PlayFrom(position - qint64(Checked(qint64(numSec) * 1000)));
}

void Media::forwardByFrames(int numFrames)
{
    Send(QStringLiteral("set music time format frames"));
    PlayFrom(qint64(getPositionInFrames()) + numFrames);
}

void Media::forwardByMS(int numMS)
{
    Send(QStringLiteral("set music time format ms"));
    PlayFrom(qint64(getPositionInMS()) + numMS);
}

void Media::forwardBySeconds(int numSec)
{
    Send(QStringLiteral("set music time format ms"));
    const int position = getPositionInMS();
    PlayFrom(position + qint64(Checked(qint64(numSec) * 1000)));
}

// "true" when the file is open and ready. A failed query answers with an empty text instead of
// whatever an earlier query left in the reply area, so that a file that did not open is never
// taken for ready.
QString Media::checkDeviceReady()
{
    unsigned error = 0;
    const QString reply = Query(QStringLiteral("status music ready"), &error);
    return error ? QString() : reply;
}

void Media::setSpeed(int Value) { Send(QStringLiteral("set music speed ") + QString::number(Value)); }

void Media::setLeftVolume(int Value)
{
    Send(QStringLiteral("setaudio music left volume to ") + QString::number(Value));
}

void Media::setRightVolume(int Value)
{
    Send(QStringLiteral("setaudio music right volume to ") + QString::number(Value));
}

QString Media::GetFileName() const { return requestedName_; }

// Waits for a number of seconds while the window events go on.
void Media::timeOut(double duration)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qint64 left = static_cast<qint64>(duration * 1000.0) - clock.elapsed();
        if (left <= 0) return;
        QEventLoop loop;
        QTimer::singleShot(
            static_cast<int>(std::min<qint64>(left, std::numeric_limits<int>::max())), &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void Media::sizeLocateMovie(int left, int top, int Width, int Height)
{
    Send(QStringLiteral("put music window at ") + QString::number(left) + u' ' + QString::number(top) + u' '
        + QString::number(Width) + u' ' + QString::number(Height));
}

// The resize handler: Frame1 fills the control and the video is bound to it.
void Media::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    forms::IgnoreErrors run;
    run([&] { Frame1->Move(0, 0, forms::ToTwips(width()), forms::ToTwips(height())); });
    run([&] { windowHandle_ = QString::number(Frame1->hWnd()); });
    Send(QStringLiteral("window music handle ") + windowHandle_);
    Send(QStringLiteral("put music destination"));
    Send(QStringLiteral("setvideo music on"));
    emit Resize();
}

// The cursor check. MouseMove is raised once at the start and then whenever the cursor has moved
// anywhere on the screen since the last report, never while it rests. Without motion reports every
// tick asks for the cursor's place. With them, the first tick reports, and a motion report starts
// the timer: the report is made at once, and further motion within a tick's time is reported at
// the tick, so at most one MouseMove is raised per tick; a tick that finds no motion stops the
// timer until the next report.
void Media::CursorTick()
{
    if (pointer_->Watching() && !cursorMoved_) {
        Timer1->setEnabled(false);
        return;
    }
    ReportCursor();
}

void Media::CursorMoved()
{
    cursorMoved_ = true;
    if (Timer1->Enabled()) return;
    Timer1->setEnabled(true);
    ReportCursor();
}

void Media::ReportCursor()
{
    cursorMoved_ = false;
    const QPoint at = QCursor::pos();
    const QString caption = QStringLiteral("Cursor position (pixels) = %1 , %2").arg(at.x()).arg(at.y());
    if (caption == lblMouse->Caption()) return;
    lblMouse->setCaption(caption);
    emit MouseMove();
}
