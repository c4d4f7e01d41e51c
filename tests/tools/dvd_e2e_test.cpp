// The real program on a virtual display: the DVD window opened from the player's menu draws the
// disc's picture, and the disc's menu takes a click on its button.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/tools/DvdImage.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QThread>
#include <gtest/gtest.h>
#include <functional>

namespace {

QString Xdotool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(10000);
    return QString::fromUtf8(xdotool.readAllStandardOutput());
}

QRect WindowGeometry(const QString& window)
{
    QMap<QString, int> values;
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n', Qt::SkipEmptyParts))
        values.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
    return QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
}

QStringList VisibleWindows(qint64 pid)
{
    return Xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)}).split('\n', Qt::SkipEmptyParts);
}

void ClickAt(const QString& window, int x, int y)
{
    Xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"});
}

// Opens the menu the keys open in the window and clicks its middle item: nothing on the virtual
// display hands the keyboard to the menu, so the mouse chooses.
void ChooseMiddleMenuItem(const QString& window, qint64 pid, const QStringList& keys)
{
    const QStringList before = VisibleWindows(pid);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        Xdotool({"windowfocus", "--sync", window});
        Xdotool(QStringList {"key", "--window", window} + keys);
        QElapsedTimer waiting;
        waiting.start();
        while (waiting.elapsed() < 3000) {
            QStringList popups = VisibleWindows(pid);
            popups.removeIf([&](const QString& w) { return before.contains(w); });
            if (!popups.isEmpty()) {
                const QRect menu = WindowGeometry(popups.first());
                Xdotool({"mousemove", QString::number(menu.center().x()), QString::number(menu.center().y()), "click",
                    "1"});
                return;
            }
            QThread::msleep(50);
        }
    }
    ADD_FAILURE() << "the menu did not come up";
}

// Share of the pixels in a part of the picture that hold a colour.
double Share(const QImage& image, const QRect& part, const std::function<bool(const QColor&)>& colour)
{
    qint64 hits = 0;
    qint64 all = 0;
    for (int y = part.top(); y <= part.bottom(); y += 2)
        for (int x = part.left(); x <= part.right(); x += 2, ++all)
            if (colour(image.pixelColor(x, y))) ++hits;
    return all ? double(hits) / all : 0;
}

bool Navy(const QColor& c) { return c.hsvHue() >= 220 && c.hsvHue() <= 260 && c.hsvSaturation() > 150 && c.value() < 180; }
bool Strong(const QColor& c) { return c.hsvSaturation() > 120 && !Navy(c); }

// Clicks a point of the window and photographs it until the picture area passes the test; the
// click is repeated every few seconds, as a window just shown may not take it yet. Returns the
// picture area of the last photograph.
QImage ClickUntil(PlayerProcess& player, const QString& window, const QPoint& point, const QString& name,
    const QRect& area, const std::function<bool(const QImage&)>& done)
{
    QImage image;
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer sinceClick;
    do {
        if (!sinceClick.isValid() || sinceClick.elapsed() > 4000) {
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

} // namespace

TEST(DvdWindow, OpensFromThePlayersMenuShowsTheDiscAndItsMenuTakesAClick)
{
    qputenv("TESSEL_DVD", dvdimage::Folder().toLocal8Bit());
    TempDir home;
    PlayerProcess player(home.path());
    player.Start();
    const QString main = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(main.isEmpty());

    ChooseMiddleMenuItem(main, player.Process().processId(), {"alt+a"});
    const QString window = player.WaitForWindow("Tessel DVD Player");
    ASSERT_FALSE(window.isEmpty()) << "the DVD item opens the DVD window";

    QImage picture = ClickUntil(player, window, StartMovie, "dvd-window-playing", PictureArea,
        [](const QImage& p) { return Share(p, p.rect(), Strong) > 0.3; });
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(Share(picture, picture.rect(), Strong), 0.3) << "the title's coloured picture is drawn";

    // The root menu: a navy picture with one button in the middle, which a click plays.
    picture = ClickUntil(player, window, JumpToRoot, "dvd-window-menu", PictureArea,
        [](const QImage& p) { return Share(p, p.rect(), Navy) > 0.4; });
    EXPECT_GT(Share(picture, picture.rect(), Navy), 0.4) << "the disc's menu is drawn";

    // A click on the menu's button in the middle of the picture plays the title.
    picture = ClickUntil(player, window, PictureArea.center(), "dvd-window-after-menu", PictureArea,
        [](const QImage& p) { return Share(p, p.rect(), Navy) < 0.1 && Share(p, p.rect(), Strong) > 0.3; });
    EXPECT_LT(Share(picture, picture.rect(), Navy), 0.1) << "the menu's button plays the title";

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
