#include "platform/forms/Cursor.h"
#include "platform/forms/Form.h"
#include "player/ChangeBorder.h"
#include "tests/support/Patience.h"

#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace ChangeBorder;

TEST(ChangeBorder, StyleWordsFollowTheBorderStyleAndTheFlags)
{
    const StyleWords none = BorderStyleWords(BorderStyle::None, true, true, true, true, true, false);
    EXPECT_EQ(none.style, 0x160B0000u);
    EXPECT_EQ(none.extended, 0x40000u);
    const StyleWords sizable = BorderStyleWords(BorderStyle::Sizable, true, true, true, true, true, false);
    EXPECT_EQ(sizable.style, 0x16CF0000u);
    EXPECT_EQ(sizable.extended, 0x40100u);
    const StyleWords dialog = BorderStyleWords(BorderStyle::FixedDialog, false, false, false, false, false, true);
    EXPECT_EQ(dialog.style, 0x14C00080u);
    EXPECT_EQ(dialog.extended, 0x501u);
    const StyleWords unknown = BorderStyleWords(9, false, true, false, false, false, false);
    EXPECT_EQ(unknown.style, 0x80000u);
    EXPECT_EQ(unknown.extended, 0u);
}

TEST(ChangeBorder, TheWindowGetsTheDecorationsAsked)
{
    forms::Form form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, Patience));
    form.SetTopmost(true);

    ChangeBorderStyle(&form, BorderStyle::None, true, true, true, true, true, false);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.isVisible()) << "a shown window stays shown";
    EXPECT_TRUE(form.Topmost()) << "and on top";

    ChangeBorderStyle(&form, BorderStyle::FixedSingle, false, true, false, true, true, false);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    ChangeBorderStyle(&form, BorderStyle::SizableToolWindow, false, true, false, false, false, false);
    EXPECT_EQ(form.windowType(), Qt::Tool) << "a tool window without a taskbar entry";
    ChangeBorderStyle(&form, BorderStyle::SizableToolWindow, false, true, false, false, true, false);
    EXPECT_EQ(form.windowType(), Qt::Window) << "asking for a taskbar entry";
}

TEST(Cursor, TheCursorHidesWhileTheDisplayCountIsBelowZero)
{
    const int start = forms::CursorDisplayCount();
    ASSERT_EQ(start, 0);
    EXPECT_EQ(forms::ShowCursor(false), -1);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    EXPECT_EQ(forms::ShowCursor(false), -2);
    EXPECT_EQ(forms::ShowCursor(true), -1);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "still hidden";
    EXPECT_EQ(forms::ShowCursor(true), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(forms::ShowCursor(true), 1);
    EXPECT_EQ(forms::ShowCursor(false), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
