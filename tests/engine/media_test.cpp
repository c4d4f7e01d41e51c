// The playback control: the exact command strings it sends, what it makes of the replies, and
// the events of its surface.
#include "engine/Media.h"
#include "platform/forms/RuntimeError.h"
#include "tests/engine/CommandLog.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"

#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace Err = mci::Err;

namespace {

class MediaControl : public ::testing::Test {
protected:
    void SetUp() override { media = std::make_unique<Media>(nullptr); }
    void TearDown() override
    {
        media.reset();
        Send("close all");
    }

    QString Handle() const { return QString::number(media->hWnd()); }

    std::unique_ptr<Media> media;
    CommandLog log;
};

QStringList OpenCommands(const QString& file, const QString& handle)
{
    return {"stop music", "close music", "open \"" + file + "\" TYPE MPEGVideo alias music",
        "set music time format milliseconds", "seek music to start", "setvideo music on",
        "window music handle " + handle, "setvideo music on", "put music destination", "setvideo music on",
        "setvideo music on", "play music ", "setvideo music on"};
}

} // namespace

TEST_F(MediaControl, OpeningTheSameNameAgainOnlyRewindsAndPlays)
{
    const QString file = clips::Video();
    media->OpenFile(file);
    EXPECT_EQ(log.Take(), OpenCommands(file, Handle()));
    EXPECT_EQ(media->checkDeviceReady(), "true");
    EXPECT_TRUE(media->isMoviePlaying());
    EXPECT_EQ(media->GetFileName(), file);

    ASSERT_TRUE(QTest::qWaitFor([&] { return media->getPositionInMS() > 1000; }, Patience));
    const int before = media->getPositionInMS();
    log.Take();
    media->OpenFile(file);
    EXPECT_EQ(log.Take(), OpenCommands(file, Handle()).mid(4)) << "no second open";
    EXPECT_LT(media->getPositionInMS(), before) << "it plays from the start again";
    EXPECT_EQ(media->getStatus(), "Playing");
}

TEST_F(MediaControl, AfterStopMovieTheSameNameIsNotOpenedAgain)
{
    const QString file = clips::Video();
    media->OpenFile(file);
    log.Take();
    media->StopMovie();
    EXPECT_EQ(log.Take(), QStringList({"close music", "stop music"}));

    media->OpenFile(file);
    const QStringList sent = log.Take();
    EXPECT_FALSE(sent.join('\n').contains("open ")) << sent.join('\n').toStdString();
    EXPECT_EQ(media->checkDeviceReady(), "");
    EXPECT_EQ(media->GetFileName(), file);

    const QString other = clips::Mp3();
    media->OpenFile(other);
    EXPECT_EQ(media->checkDeviceReady(), "true") << "another name opens again";
}

TEST_F(MediaControl, NamesWithBlanksAndAccentsOpen)
{
    TempDir folder;
    const QString name = folder.file(QStringLiteral("my clip \u00e9t\u00e9 (1).mp3"));
    ASSERT_TRUE(QFile::copy(clips::Mp3(), name));
    media->OpenFile(name);
    EXPECT_EQ(media->checkDeviceReady(), "true");
    EXPECT_TRUE(log.sent.contains("open \"" + name + "\" TYPE MPEGVideo alias music"));
}

TEST_F(MediaControl, AFileThatDoesNotOpenIsNeverReady)
{
    EXPECT_EQ(media->checkDeviceReady(), "") << "nothing open yet";
    media->OpenFile(clips::Video());
    EXPECT_EQ(media->checkDeviceReady(), "true");

    for (const QString& bad : {clips::Damaged(), QStringLiteral("/no/such/file.mpg")}) {
        media->OpenFile(bad);
        EXPECT_NE(media->checkDeviceReady(), "true") << bad.toStdString();
        EXPECT_EQ(media->GetFileName(), bad);
        EXPECT_FALSE(media->isMoviePlaying());
    }
    media->OpenFile(QStringLiteral("odd \" name.mp4"));
    EXPECT_EQ(media->checkDeviceReady(), "");
}

TEST_F(MediaControl, FailedQueriesLeaveTheLastReplyInTheBuffer)
{
    media->OpenFile(clips::Video());
    EXPECT_EQ(media->getStatus(), "Playing");
    media->StopMovie();
    log.Take();
    EXPECT_EQ(media->getStatus(), "Playing") << "the closed device answers nothing";
    EXPECT_TRUE(media->isMoviePlaying());
    EXPECT_EQ(media->getVolume(), 0) << "a reply that is no number reads as 0";
    EXPECT_THROW(media->getRightVolume(), forms::RuntimeError);
    try {
        media->getRightVolume();
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::Err::TypeMismatch);
    }
    EXPECT_EQ(log.Take().first(), "status music mode");

    media->OpenFile(clips::Mp3());
    EXPECT_EQ(media->getLeftVolume(), 1000);
    EXPECT_EQ(media->getNominalFrameRate(), 1000) << "no frame rate for sound: the volume is still there";
}

TEST_F(MediaControl, LengthsPositionsAndTimeFormats)
{
    media->OpenFile(clips::Video());
    EXPECT_NEAR(media->getLengthInMS(), 4000, 50);
    EXPECT_EQ(media->getLengthInSec(), 4);
    EXPECT_EQ(media->getTimeFormat(), "milliseconds");
    EXPECT_EQ(media->getLengthInFrames(), 100);
    EXPECT_EQ(media->getTimeFormat(), "frames") << "the frame members leave frames in force";
    EXPECT_EQ(media->getFormatLength(), "00:00:04");
    EXPECT_EQ(media->getTimeFormat(), "milliseconds");

    media->PauseMovie();
    media->setPositionTo(2);
    EXPECT_NEAR(media->getPositionInMS(), 2000, 40);
    EXPECT_EQ(media->getPositionInSec(), 2);
    EXPECT_EQ(media->getPositionInFrames(), 50);
    EXPECT_EQ(media->getFormatPosition(), "00:00:02");
    media->stepFrames(3);
    EXPECT_EQ(media->getPositionInFrames(), 53);

    int w = -1;
    int h = -1;
    media->extractDefaultMovieSize(w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    media->resize(400, 300);
    int left = 7;
    int top = 8;
    media->extractCurrentMovieSize(left, top, w, h);
    EXPECT_EQ(w, 400) << "the video is bound to the control's surface";
    EXPECT_EQ(h, 300);
    EXPECT_EQ(left, 7);
    EXPECT_EQ(top, 8);
}

TEST_F(MediaControl, SetPositionToPlaysOnWhenPlayingAndSeeksOtherwise)
{
    media->OpenFile(clips::Video());
    log.Take();
    media->setPositionTo(2);
    EXPECT_EQ(log.Take(), QStringList({"status music mode", "play music from 2000"}));
    EXPECT_TRUE(media->isMoviePlaying());
    EXPECT_GE(media->getPositionInMS(), 2000);

    media->PauseMovie();
    log.Take();
    media->setPositionTo(1);
    EXPECT_EQ(log.Take(), QStringList({"status music mode", "status music mode", "seek music to 1000"}));
    EXPECT_NEAR(media->getPositionInMS(), 1000, 40);
    EXPECT_FALSE(media->isMoviePlaying());

    log.Take();
    media->forwardBySeconds(1);
    EXPECT_EQ(log.Take().last(), "play music from 2000");
    EXPECT_TRUE(media->isMoviePlaying()) << "forward also starts playback";

    media->PauseMovie();
    media->setPositionTo(1);
    log.Take();
    media->rewindBySeconds(10);
    EXPECT_EQ(log.Take(),
        QStringList({"set music time format ms", "set music time format ms", "status music position wait",
            "play music from -9000"}))
        << "nothing is clamped";

    media->restartMovie();
    EXPECT_TRUE(media->isMoviePlaying());
    EXPECT_LT(media->getPositionInMS(), 300);
}

TEST_F(MediaControl, RewindAndForwardOverflowReachTheCaller)
{
    media->OpenFile(clips::Video());
    media->PauseMovie();
    media->setPositionTo(1);
    const auto overflow = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const forms::RuntimeError& e) {
            return e.Number() == forms::Err::Overflow;
        }
        return false;
    };
    EXPECT_TRUE(overflow([&] { media->forwardBySeconds(3000000); }));
    EXPECT_TRUE(overflow([&] { media->rewindByMS(INT_MIN); }));
    EXPECT_TRUE(overflow([&] { media->forwardByMS(INT_MAX); }));
    EXPECT_FALSE(media->isMoviePlaying()) << "nothing was sent";
    media->setPositionTo(3000000) /* ignored: the position becomes 0 */;
    EXPECT_EQ(media->getPositionInMS(), 0);
}

TEST_F(MediaControl, SpeedVolumeChannelsAndDeviceFacts)
{
    media->OpenFile(clips::Video());
    EXPECT_EQ(media->getNominalFrameRate(), 25000);
    EXPECT_EQ(media->getFramePerSecRate(), 25);
    EXPECT_GT(media->getBitsPerPixel(), 0);
    EXPECT_EQ(media->getMovieInput(), "file");
    EXPECT_EQ(media->getMovieOutput(), "file");
    EXPECT_FALSE(media->getDeviceName().isEmpty());
    EXPECT_FALSE(media->getDeviceVersion().isEmpty());
    EXPECT_EQ(media->getDefaultSize(), "0 0 320 240");

    media->setSpeed(1500);
    EXPECT_EQ(media->getRate(), 1500);
    media->setVolume(400);
    EXPECT_EQ(media->getVolume(), 400);
    media->setLeftVolume(200);
    media->setRightVolume(700);
    EXPECT_EQ(media->getLeftVolume(), 200);
    EXPECT_EQ(media->getRightVolume(), 700);
    media->setLeftOff();
    EXPECT_EQ(media->getAudioStatus(), "on");
    media->setRightOff();
    EXPECT_EQ(media->getAudioStatus(), "off");
    media->setLeftOn();
    media->setRightOn();
    EXPECT_EQ(media->getAudioStatus(), "on");
    media->setAudioOff();
    EXPECT_EQ(media->getAudioStatus(), "off");
    media->setAudioOn();
    media->setVideoOff();
    EXPECT_EQ(media->getVideoStatus(), "off");
    media->setVideoOn();
    EXPECT_EQ(media->getVideoStatus(), "on");
    EXPECT_TRUE(media->isMoviePlaying());

    log.Take();
    media->setDoorOpen();
    media->setDoorClosed();
    media->minimizeMovie();
    media->restoreMovie();
    media->hideMovie();
    media->showMovie();
    media->sizeLocateMovie(1, 2, 300, 200);
    media->restoreSizeDefault();
    media->playFullScreen();
    media->resumeMovie();
    EXPECT_EQ(log.Take(),
        QStringList({"set cdaudio door open", "set cdaudio door closed", "window music state minimized",
            "window music state restore", "window music state hide", "window music state show",
            "put music window at 1 2 300 200", "put music window", "play music fullscreen", "resume music"}));
}

TEST_F(MediaControl, CloseMovieClosesEveryDeviceOfTheProcess)
{
    media->OpenFile(clips::Video());
    ASSERT_EQ(Send("open \"" + clips::Wav() + "\" type MPEGVideo alias other"), 0u);
    log.Take();
    media->closeMovie();
    EXPECT_EQ(log.Take(), QStringList({"close all", "close music"}));
    EXPECT_EQ(Send("status other mode"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("status music mode"), Err::InvalidDeviceName);

    media->OpenFile(clips::Wav());
    log.Take();
    media.reset();
    EXPECT_EQ(log.Take(), QStringList({"close music", "stop music", "close all", "close music"}));
}

TEST(MediaTime, TimeTextsAreHoursMinutesAndSeconds)
{
    Media media(nullptr);
    EXPECT_EQ(media.getThisTime(0), "00:00:00");
    EXPECT_EQ(media.getThisTime(1999), "00:00:01");
    EXPECT_EQ(media.getThisTime(59999), "00:00:59");
    EXPECT_EQ(media.getThisTime(205000), "00:03:25");
    EXPECT_EQ(media.getThisTime(3600000), "01:00:00");
    EXPECT_EQ(media.getThisTime(3725999), "01:02:05");
    EXPECT_EQ(media.getThisTime(90061000), "25:01:01");
    EXPECT_EQ(media.getThisTime(-5000), "00:00:00");

    QElapsedTimer clock;
    clock.start();
    bool ran = false;
    QTimer::singleShot(50, [&] { ran = true; });
    media.timeOut(0.2);
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_TRUE(ran) << "window events go on while it waits";
}

TEST(MediaSurface, MouseAndDropsOnFrame1AndTheSurfaceRaiseTheSameEvents)
{
    Media media(nullptr);
    media.resize(300, 200);
    media.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&media, Patience));
    EXPECT_EQ(media.Frame1->geometry(), QRect(0, 0, 300, 200)) << "Frame1 fills the control";

    QSignalSpy clicks(&media, &Media::Click);
    QSignalSpy doubles(&media, &Media::DblClick);
    QSignalSpy downs(&media, &Media::MouseDown);
    QSignalSpy ups(&media, &Media::MouseUp);
    QSignalSpy moves(&media, &Media::MouseMove2);
    QSignalSpy drops(&media, &Media::OLEDragDrop);

    for (QWidget* target : {static_cast<QWidget*>(media.Frame1), static_cast<QWidget*>(&media)}) {
        QTest::mouseClick(target, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
        QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(10, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(4, 6), target->mapToGlobal(QPointF(4, 6)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/tmp/a.mp3"), QUrl::fromLocalFile("/tmp/b.avi")});
        QDragEnterEvent enter(QPoint(2, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(2, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(doubles.count(), 2);
    ASSERT_GE(downs.count(), 2);
    EXPECT_EQ(downs.first(), QVariantList({1, 1, 150.0, 300.0})) << "left button, shift, twips";
    EXPECT_GE(ups.count(), 2);
    ASSERT_EQ(moves.count(), 2);
    EXPECT_EQ(moves.first(), QVariantList({0, 0, 60.0, 90.0}));
    ASSERT_EQ(drops.count(), 2);
    EXPECT_EQ(drops.at(0), drops.at(1));
    EXPECT_EQ(drops.at(0).at(0).toStringList(), QStringList({"/tmp/a.mp3", "/tmp/b.avi"}));
}

TEST(MediaSurface, ResizingBindsTheVideoToFrame1)
{
    CommandLog log;
    Media media(nullptr);
    QSignalSpy resized(&media, &Media::Resize);
    media.resize(320, 240);
    media.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&media, Patience));
    log.Take();
    media.resize(400, 250);
    EXPECT_TRUE(QTest::qWaitFor([&] { return resized.count() >= 1; }, Patience));
    EXPECT_EQ(media.Frame1->geometry(), QRect(0, 0, 400, 250));
    EXPECT_EQ(log.Take().mid(0, 3),
        QStringList({"window music handle " + QString::number(media.Frame1->hWnd()), "put music destination",
            "setvideo music on"}));
}

TEST(MediaSurface, TheCursorPollRaisesMouseMoveOnlyWhenTheCursorMoved)
{
    Media media(nullptr);
    QSignalSpy moved(&media, &Media::MouseMove);
    ASSERT_TRUE(moved.wait(Patience)) << "the first poll";
    EXPECT_EQ(media.lblMouse->Caption(),
        QStringLiteral("Cursor position (pixels) = %1 , %2").arg(QCursor::pos().x()).arg(QCursor::pos().y()));
    EXPECT_FALSE(media.lblMouse->isVisible());
    moved.clear();
    QTest::qWait(100);
    EXPECT_EQ(moved.count(), 0) << "a resting cursor raises nothing";
    QCursor::setPos(QCursor::pos() + QPoint(7, 3));
    EXPECT_TRUE(moved.wait(Patience));
}
