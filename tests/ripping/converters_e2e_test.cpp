// The WAV converters opened from the player's Extras menu in the real program, and one encode.
#include "tests/e2e/PlayerProcess.h"
#include "tests/ripping/EncoderMedia.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Extras > Audio > (Audio CD Burn, Audio CD Rip, WAV --> MP3, WAV --> OGG, WAV --> WMA, ...).
constexpr MenuRow ExtrasAudio {0, 3};
constexpr MenuRow WavToMp3 {2, 7};
constexpr MenuRow WavToOgg {3, 7};
constexpr MenuRow WavToWma {4, 7};

void Xdotool(const QStringList& arguments) { QProcess::execute(QStringLiteral("xdotool"), arguments); }

// Clicks a point of a window given in twips of its client area.
void ClickAt(const QString& window, double x, double y)
{
    Xdotool({"mousemove", "--window", window, QString::number(int(x / 15)), QString::number(int(y / 15))});
    Xdotool({"click", "1"});
}

void TypeInto(const QString& window, double x, double y, const QString& text)
{
    ClickAt(window, x, y);
    Xdotool({"key", "--window", window, "ctrl+a", "BackSpace"});
    Xdotool({"type", "--window", window, "--delay", "5", text});
}

// The program's message boxes carry its name as their title.
bool BoxVisible()
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^tessel$"});
    search.waitForFinished(10000);
    return !search.readAllStandardOutput().trimmed().isEmpty();
}

QString OpenConverter(PlayerProcess& player, const QString& main, MenuRow item, const QString& caption)
{
    return OpenFromMenu(player, main, "alt+e", {ExtrasAudio, item}, caption);
}

} // namespace

TEST(WavConvertersE2E, TheThreeConvertersOpenFromTheExtrasMenuAndOneEncodes)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    const QString input = home.file("song.wav");
    const QString output = home.file("song.mp3");
    media::MakeWav(input, 20.0, 1000);
    PlayerProcess player(home.path());
    player.Start();
    const QString main = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(main.isEmpty());

    const QString ogg = OpenConverter(player, main, WavToOgg, "WAV > OGG");
    ASSERT_FALSE(ogg.isEmpty()) << "the Ogg converter opens";
    EXPECT_FALSE(QImage(player.Screenshot(ogg, "wav-to-ogg-window")).isNull());
    const QString wma = OpenConverter(player, main, WavToWma, "WAV > WMA");
    ASSERT_FALSE(wma.isEmpty()) << "the WMA converter opens";
    EXPECT_FALSE(QImage(player.Screenshot(wma, "wav-to-wma-window")).isNull());
    const QString mp3 = OpenConverter(player, main, WavToMp3, "WAV > MP3");
    ASSERT_FALSE(mp3.isEmpty()) << "the MP3 converter opens";

    // The MP3 window's rows: input and output boxes below the settings frame, Encode at the foot.
    Xdotool({"windowactivate", "--sync", mp3});
    TypeInto(mp3, 3000, 3610, input);
    TypeInto(mp3, 3000, 4090, output);
    ClickAt(mp3, 4650, 5470);

    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(output) && clock.elapsed() < 60000)
        QThread::msleep(100);
    ASSERT_TRUE(QFileInfo::exists(output)) << "the encode finishes";
    const QString box = player.WaitForWindow("tessel", 20000);
    EXPECT_FALSE(box.isEmpty()) << "the completion message shows";
    if (!box.isEmpty()) {
        EXPECT_FALSE(QImage(player.Screenshot(box, "wav-to-mp3-complete-box")).isNull());
        Xdotool({"key", "--window", box, "Return"});
        clock.restart();
        while (BoxVisible() && clock.elapsed() < 20000)
            QThread::msleep(100);
    }
    EXPECT_FALSE(QImage(player.Screenshot(mp3, "wav-to-mp3-encoded")).isNull());
    EXPECT_NEAR(media::Probe(output).value("duration").toDouble(), 20.0, 0.1);

    ASSERT_TRUE(player.Terminate());
}
