#include "dialogs/frmChangeRes.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

// Without a display that has XRandR (the tests' offscreen platform) there is nothing to list.
TEST(ChangeResolution, WithoutXRandRTheListIsEmptyAndTheButtonDoesNothing)
{
    ScriptedUser user;
    auto& w = forms::Instance<frmChangeRes>();
    w.Show();
    EXPECT_EQ(w.Caption(), QStringLiteral("Change Resolution"));
    EXPECT_EQ(w.SkinLabel1->Caption(), QStringLiteral("Available Resolutions"));
    EXPECT_EQ(w.List1->ListCount(), 0);
    EXPECT_EQ(w.List1->ListIndex(), -1);
    EXPECT_EQ(w.DevModes.size(), 9u);
    EXPECT_EQ(w.LastMode, -1);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(user.Boxes().empty());
    display::DisplayMode mode;
    mode.PelsWidth = 640;
    mode.PelsHeight = 480;
    mode.Fields = display::DisplayField::PelsWidth | display::DisplayField::PelsHeight;
    EXPECT_EQ(display::ChangeDisplaySettings(mode, 0), display::ChangeResult::Failed);
    w.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
