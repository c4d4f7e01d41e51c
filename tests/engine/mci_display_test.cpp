// The picture on a real (virtual) display: drawn into the window whose handle the device was
// given, and into the new one when the handle changes; the memory of many video loads in one
// process. The playback control's cursor watch, from the display's own motion reports.
#include "engine/Media.h"
#include "tests/engine/CommandLog.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/ResidentMemory.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// The display's drivers (loaded and unloaded by the video output) keep memory until the process
// ends, where a leak checker cannot name them. The device's own memory is checked by the tests
// that run it on null outputs.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
// AddressSanitizer keeps freed memory aside to catch its later use, 256 MB by default, and resident
// memory grows by that much whatever the program keeps. With a smaller quarantine the memory test's
// bound holds what the program and its libraries really keep; a use soon after a free is still
// caught. (Its allocator has no per-thread arenas: glibc's arenas, where the memory of each video
// load used to stay, are measured only in the ordinary build.)
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

namespace {

// How many of the window's pixels on the screen are neither black nor the window's own grey.
int PicturePixels(QWidget& window)
{
    const QPoint at = window.mapToGlobal(QPoint(0, 0));
    const QImage shot
        = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), window.width(), window.height()).toImage();
    int count = 0;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4) {
            const QColor c = shot.pixelColor(x, y);
            if (c.saturation() > 80 && c.value() > 60) ++count;
        }
    return count;
}

bool WaitForPicture(QWidget& window)
{
    return QTest::qWaitFor([&] { return PicturePixels(window) > 50; }, Patience);
}

} // namespace

TEST(VideoWindow, ThePictureIsDrawnIntoTheBoundWindowAndFollowsANewHandle)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
    QWidget first;
    QWidget second;
    for (QWidget* w : {&first, &second}) {
        w->setAttribute(Qt::WA_NativeWindow);
        w->setStyleSheet("background: black;");
        w->resize(320, 240);
    }
    first.move(0, 0);
    second.move(400, 0);
    first.show();
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first, Patience));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second, Patience));

    ASSERT_EQ(Send("open \"" + clips::Video() + "\" type MPEGVideo alias v"), 0u);
    EXPECT_EQ(Send(QStringLiteral("window v handle %1").arg(first.winId())), 0u);
    EXPECT_EQ(Send("play v"), 0u);
    EXPECT_TRUE(WaitForPicture(first)) << "the test picture shows in the first window";
    EXPECT_LT(PicturePixels(second), 10);

    EXPECT_EQ(Send(QStringLiteral("window v handle %1").arg(second.winId())), 0u);
    EXPECT_TRUE(WaitForPicture(second)) << "and moves to the second";
    EXPECT_EQ(Ask("status v mode"), "playing");
    Send("close all");
}

// A playlist of two clips played one after the other, as Next and Previous do: each load closes
// the device and opens the other file. The first load starts the video output and loads the
// drivers; twenty more must not keep memory of their own (each used to keep about 17 MB).
TEST(VideoWindow, TwentyVideoLoadsKeepNoMemoryOfTheirOwnAndEachShowsItsPicture)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
    Media media(nullptr);
    media.resize(320, 240);
    media.move(0, 0);
    media.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&media, Patience));
    const QString files[] = {clips::Video(), clips::LongVideo()};
    const auto load = [&](int i) {
        media.OpenFile(files[i % 2]);
        return QTest::qWaitFor([] { return Ask("status music mode") == "playing"; }, Patience) && WaitForPicture(media);
    };

    ASSERT_TRUE(load(0));
    const double before = ResidentMegabytes();
    for (int i = 1; i <= 20; ++i)
        ASSERT_TRUE(load(i)) << "load " << i << " plays and shows its picture";
    const double growth = ResidentMegabytes() - before;
    EXPECT_LT(growth, 40.0) << "resident memory grew by " << growth << " MB over twenty loads";
    media.StopMovie();
}

// The display reports the moves of the pointing devices (xdotool's relative moves go through the
// same path as a mouse); a pointer warped by another program is reported at its next move.
TEST(CursorWatch, MouseMoveFollowsThePointerAnywhereOnTheScreenAndNeverWhileItRests)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
    const auto run = [](const QStringList& arguments) { ASSERT_EQ(QProcess::execute("xdotool", arguments), 0); };
    const auto moveBy = [&](int dx, int dy) {
        run({"mousemove_relative", "--", QString::number(dx), QString::number(dy)});
    };
    const auto caption = [](int x, int y) { return QStringLiteral("Cursor position (pixels) = %1 , %2").arg(x).arg(y); };
    run({"mousemove", "600", "500"});
    Media media(nullptr);
    QSignalSpy moved(&media, &Media::MouseMove);
    media.resize(200, 150);
    media.move(0, 0);
    media.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&media, Patience));
    ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }, Patience)) << "raised once at the start";
    EXPECT_EQ(media.lblMouse->Caption(), caption(600, 500));

    // Far from the control, then over it: the pointer's moves are reported wherever it is.
    moved.clear();
    moveBy(400, 400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return media.lblMouse->Caption() == caption(1000, 900); }, Patience));
    EXPECT_GE(moved.count(), 1);
    moveBy(-950, -860);
    EXPECT_TRUE(QTest::qWaitFor([&] { return media.lblMouse->Caption() == caption(50, 40); }, Patience));

    // At rest nothing is raised, and the control does not even ask the display where the pointer
    // is: its timer stops until the display reports a move.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !media.Timer1->Enabled(); }, Patience))
        << "no polling while the pointer rests";
    moved.clear();
    QTest::qWait(500);
    EXPECT_EQ(moved.count(), 0) << "a resting pointer raises nothing";
    moveBy(1, 0);
    EXPECT_TRUE(moved.wait(Patience)) << "one pixel is a move";
    EXPECT_EQ(media.lblMouse->Caption(), caption(51, 40));
}
