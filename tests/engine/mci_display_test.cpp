// The picture on a real (virtual) display: drawn into the window whose handle the device was
// given, and into the new one when the handle changes.
#include "tests/engine/CommandLog.h"
#include "tests/engine/MediaClips.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// The display's drivers (loaded and unloaded by the video output) keep memory until the process
// ends, where a leak checker cannot name them. The device's own memory is checked by the tests
// that run it on null outputs.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

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
    for (int i = 0; i < 40; ++i) {
        QTest::qWait(100);
        if (PicturePixels(window) > 50) return true;
    }
    return false;
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));

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
