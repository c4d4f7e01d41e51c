// The real program on a virtual display: the DVD window opened from the player's menu draws the
// disc's picture, zooms it, and the disc's menu takes a click on its button.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/tools/DvdImage.h"
#include "tests/tools/MenuDriver.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString Xdotool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(10000);
    return QString::fromUtf8(xdotool.readAllStandardOutput());
}

// Clicks once the pointer is really there: on a loaded machine a click sent with the move can
// land where the pointer was.
void ClickAt(const QString& window, int x, int y)
{
    Xdotool({"mousemove", "--sync", "--window", window, QString::number(x), QString::number(y)});
    Xdotool({"click", "1"});
}

// Share of the pixels of a picture that hold a colour.
double Share(const QImage& image, const std::function<bool(const QColor&)>& colour)
{
    qint64 hits = 0;
    qint64 all = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2, ++all)
            if (colour(image.pixelColor(x, y))) ++hits;
    return all ? double(hits) / all : 0;
}

bool Navy(const QColor& c)
{
    return c.hsvHue() >= 220 && c.hsvHue() <= 260 && c.hsvSaturation() > 150 && c.value() < 180;
}
bool White(const QColor& c) { return c.hsvSaturation() < 40 && c.value() > 200; }
bool Strong(const QColor& c) { return c.hsvSaturation() > 120 && !Navy(c); }

// Clicks a point of the window and photographs it until the picture area passes the test; the
// click is repeated every few seconds, as a window just shown may not take it yet, unless `once`.
// Returns the picture area of the last photograph.
QImage ClickUntil(PlayerProcess& player, const QString& window, const QPoint& point, const QString& name,
    const QRect& area, const std::function<bool(const QImage&)>& done, bool once = false)
{
    QImage image;
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer sinceClick;
    do {
        if (!sinceClick.isValid() || (!once && sinceClick.elapsed() > 4000)) {
            ClickAt(window, point.x(), point.y());
            sinceClick.start();
        }
        image = QImage(player.Screenshot(window, name));
        if (!image.isNull() && done(image.copy(area))) break;
        QThread::msleep(200);
    } while (clock.elapsed() < 20000);
    return image.isNull() ? image : image.copy(area);
}

// Where things are in the window, in pixels of its inner area (592 by 460): the picture between
// the time line and the two rows of buttons.
const QRect PictureArea(0, 21, 592, 377);
const QPoint StartMovie(53, 414);
const QPoint JumpToRoot(441, 443);
const QPoint ZoomIn(247, 443);
const QPoint ZoomOut(344, 443);

} // namespace

TEST(DvdWindow, OpensFromThePlayersMenuShowsAndZoomsTheDiscAndItsMenuTakesAClick)
{
    qputenv("TESSEL_DVD", dvdimage::Folder().toLocal8Bit());
    TempDir home;
    PlayerProcess player(home.path());
    player.Start();
    const QString main = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(main.isEmpty());

    // "DVD" is the second of the three items of the "Play" menu.
    const QString window = OpenFromMenu(player, main, "alt+a", {{1, 3}}, "Tessel DVD Player");
    ASSERT_FALSE(window.isEmpty()) << "the DVD item opens the DVD window";

    // The test picture: coloured bars inside a white ellipse.
    const auto title = [](const QImage& p) { return Share(p, Strong) > 0.3 && Share(p, White) > 0.03; };
    const auto menu = [](const QImage& p) { return Share(p, Navy) > 0.4; };
    QImage picture = ClickUntil(player, window, StartMovie, "dvd-window-playing", PictureArea, title);
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(Share(picture, Strong), 0.3) << "the title's coloured picture is drawn";
    EXPECT_GT(Share(picture, White), 0.03);

    // The root menu, asked for as soon as the title plays: a navy picture with one button in the
    // middle. The user looks at it for a moment, long enough for the menu to come to its pause,
    // then clicks the button once: the title plays.
    picture = ClickUntil(player, window, JumpToRoot, "dvd-window-menu", PictureArea, menu);
    EXPECT_GT(Share(picture, Navy), 0.4) << "the disc's menu is drawn";
    QThread::msleep(2500);
    picture = ClickUntil(player, window, PictureArea.center(), "dvd-window-after-menu", PictureArea, title, true);
    EXPECT_TRUE(title(picture)) << "one click on the menu's button plays the title";

    // Zoomed in on the middle, the white edges of the test picture are out of sight.
    picture = ClickUntil(player, window, ZoomIn, "dvd-window-zoomed", PictureArea,
        [](const QImage& p) { return Share(p, White) < 0.005; });
    EXPECT_LT(Share(picture, White), 0.005) << "the picture is zoomed in";
    picture = ClickUntil(player, window, ZoomOut, "dvd-window-zoomed-out", PictureArea,
        [](const QImage& p) { return Share(p, White) > 0.03; });
    EXPECT_GT(Share(picture, White), 0.03) << "the picture is whole again";

    // From the menu, Start Movie plays the title again.
    picture = ClickUntil(player, window, JumpToRoot, "dvd-window-menu-again", PictureArea, menu);
    EXPECT_TRUE(menu(picture));
    picture = ClickUntil(player, window, StartMovie, "dvd-window-started-from-menu", PictureArea, title, true);
    EXPECT_TRUE(title(picture)) << "Start Movie plays the title from the menu";

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
