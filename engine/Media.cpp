#include "engine/Media.h"

// Placeholder bodies: the device layer fills these in.

Media::Media(QWidget* parent)
    : QWidget(parent)
    , Extent(this)
    , Frame1(new forms::PictureBox(this))
    , lblMouse(new forms::Label(this))
    , Timer1(new forms::Timer(this, 1, true))
{
    Frame1->setStyleSheet(QStringLiteral("background: black;"));
    lblMouse->setVisible(false);
}

Media::~Media() = default;

void Media::OpenFile(const QString& strFileName) { requestedName_ = strFileName; }
void Media::StopMovie() { }
void Media::PauseMovie() { }
int Media::getLengthInFrames() { return 0; }
void Media::playMovie() { }
void Media::stepFrames(int) { }
void Media::restoreSizeDefault() { }
void Media::minimizeMovie() { }
void Media::hideMovie() { }
void Media::showMovie() { }
void Media::restoreMovie() { }
void Media::extractCurrentMovieSize(int&, int&, int&, int&) { }
void Media::extractDefaultMovieSize(int&, int&) { }
double Media::getBitsPerPixel() { return 0; }
QString Media::getMovieInput() { return {}; }
QString Media::getMovieOutput() { return {}; }
QString Media::getAudioStatus() { return {}; }
bool Media::isMoviePlaying() { return false; }
QString Media::getDeviceName() { return {}; }
QString Media::getDeviceVersion() { return {}; }
int Media::getNominalFrameRate() { return 0; }
int Media::getFramePerSecRate() { return 0; }
QString Media::getCurrentSize() { return {}; }
QString Media::getDefaultSize() { return {}; }
int Media::getLengthInMS() { return 0; }
void Media::playFullScreen() { }
int Media::getLengthInSec() { return 0; }
void Media::setVideoOff() { }
void Media::setVideoOn() { }
void Media::resumeMovie() { }
int Media::getPositionInMS() { return 0; }
int Media::getRate() { return 0; }
int Media::getPositionInFrames() { return 0; }
QString Media::getStatus() { return {}; }
void Media::closeMovie() { }
QString Media::getFormatPosition() { return getThisTime(0); }
QString Media::getFormatLength() { return getThisTime(0); }
QString Media::getThisTime(int) { return QStringLiteral("00:00:00"); }
int Media::getVolume() { return 0; }
QString Media::getVideoStatus() { return {}; }
QString Media::getTimeFormat() { return {}; }
int Media::getLeftVolume() { return 0; }
int Media::getPositionInSec() { return 0; }
int Media::getRightVolume() { return 0; }
void Media::setAudioOff() { }
void Media::setAudioOn() { }
void Media::setLeftOff() { }
void Media::setRightOff() { }
void Media::setLeftOn() { }
void Media::setRightOn() { }
void Media::setDoorOpen() { }
void Media::setDoorClosed() { }
void Media::setVolume(int) { }
void Media::setPositionTo(int) { }
void Media::restartMovie() { }
void Media::rewindByMS(int) { }
void Media::rewindByFrames(int) { }
void Media::rewindBySeconds(int) { }
void Media::forwardByFrames(int) { }
void Media::forwardByMS(int) { }
void Media::forwardBySeconds(int) { }
QString Media::checkDeviceReady() { return {}; }
void Media::setSpeed(int) { }
void Media::setLeftVolume(int) { }
void Media::setRightVolume(int) { }
QString Media::GetFileName() const { return requestedName_; }
void Media::timeOut(double) { }
void Media::sizeLocateMovie(int, int, int, int) { }

void Media::resizeEvent(QResizeEvent* event) { QWidget::resizeEvent(event); }
