// The data disc window opened from the player's menu in the real program, with its two dialogs.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QImage>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Extras > Burn Data CD; CD-Recorder > Disc Information... and Erase Disc...
constexpr MenuRow BurnDataCd {2, 3};
constexpr MenuRow DiscInformation {2, 5};
constexpr MenuRow EraseDisc {3, 5};

void Keys(const QString& window, const QString& keys)
{
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}

} // namespace

TEST(BurnDataE2E, TheWindowAndItsDialogsOpenFromTheMenus)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    qputenv("TESSEL_RECORDER", home.file("recorder.iso").toLocal8Bit());
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    const QString burn = OpenFromMenu(player, window, "alt+e", {BurnDataCd}, "Burn Data CD");
    ASSERT_FALSE(burn.isEmpty()) << "the data disc window opens";
    QTest::qWait(500);
    EXPECT_GT(QImage(player.Screenshot(burn, "burn-data-window")).width(), 500);

    const QString info = OpenFromMenu(player, burn, "alt+c", {DiscInformation}, "Disc Info");
    ASSERT_FALSE(info.isEmpty()) << "the disc information dialog opens";
    QTest::qWait(500);
    EXPECT_GT(QImage(player.Screenshot(info, "burn-data-disc-info")).width(), 200);
    Keys(info, QStringLiteral("Escape"));

    const QString erase = OpenFromMenu(player, burn, "alt+c", {EraseDisc}, "Erase Re-Writable CD");
    ASSERT_FALSE(erase.isEmpty()) << "the erase dialog opens";
    QTest::qWait(500);
    EXPECT_GT(QImage(player.Screenshot(erase, "burn-data-erase")).width(), 200);
    Keys(erase, QStringLiteral("alt+c"));

    ASSERT_TRUE(player.Terminate());
}
