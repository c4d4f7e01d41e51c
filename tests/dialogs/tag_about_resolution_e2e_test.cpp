// The tag editor, the about box and the display-resolution window, opened from the player's menus
// in the real program.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QImage>
#include <gtest/gtest.h>

// Last: the X headers' names would clash with those above.
#include "tests/dialogs/ExtraModes.h"

namespace {

void KeepScreenshot(PlayerProcess& player, const QString& window, const QString& name)
{
    const QImage shot(player.Screenshot(window, name));
    ASSERT_FALSE(shot.isNull()) << name.toStdString();
    EXPECT_GT(shot.width(), 150);
    EXPECT_GT(shot.height(), 100);
}

} // namespace

TEST(TagAboutResolutionE2E, EachWindowOpensFromItsMenuItem)
{
    ExtraModes modes;
    ASSERT_TRUE(modes.Add(1024, 768, 60));
    ASSERT_TRUE(modes.Add(800, 600, 60));

    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    // Extras > Audio > Mp3 Tag Editor.
    const QString tagEditor = OpenFromMenu(player, window, "alt+e", {{0, 3}, {5, 7}}, "MP3 Tag Editor");
    ASSERT_FALSE(tagEditor.isEmpty()) << "the tag editor opens";
    KeepScreenshot(player, tagEditor, "mp3-tag-editor-window");

    // Help > About, the menu's last item.
    const QString about = OpenFromMenu(player, window, "alt+h", {{9, 10}}, "About tessel");
    ASSERT_FALSE(about.isEmpty()) << "the about box opens";
    KeepScreenshot(player, about, "about-window");

    // View > Change Screen Resolution.
    const QString resolution = OpenFromMenu(player, window, "alt+v", {{1, 7}}, "Change Resolution");
    ASSERT_FALSE(resolution.isEmpty()) << "the display-resolution window opens";
    KeepScreenshot(player, resolution, "change-resolution-window");

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
