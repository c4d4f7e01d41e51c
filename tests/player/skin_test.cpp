// The skin goes on a window by its handle and comes off again.
#include "components/skin/Skin.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Skin, AppliedByHandleAndRemovedToThePreviousLook)
{
    QWidget window;
    window.setStyleSheet("QWidget { color: red; }");
    Skin skin;

    skin.ApplySkin(window.winId());
    EXPECT_TRUE(window.styleSheet().contains("QMenuBar"));

    skin.ApplySkin(window.winId());
    skin.RemoveSkin(window.winId());
    EXPECT_EQ(window.styleSheet(), "QWidget { color: red; }") << "applying twice still restores the original";

    // Handles of no window, and windows never skinned, are left alone.
    skin.ApplySkin(0);
    skin.RemoveSkin(window.winId());
    EXPECT_EQ(window.styleSheet(), "QWidget { color: red; }");
}

TEST(Skin, ShipsItsStyleSheetAndPictures)
{
    EXPECT_FALSE(Skin::StyleSheet().isEmpty());
    EXPECT_FALSE(Skin::ProgramIcon().isNull());
    for (const char* picture : {"arrow-down", "check", "play", "pause", "stop", "prev", "next", "rew", "forw"})
        EXPECT_FALSE(QPixmap(QString(":/skin/images/%1.png").arg(picture)).isNull()) << picture;
    SkinLabel label(nullptr, "Skinned");
    EXPECT_TRUE(label.property("skinned").toBool());
}
