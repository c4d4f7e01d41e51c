#include "player/frmPlayer.h"

#include "engine/Media.h"
#include "engine/Slider.h"
#include "tests/player/PlayerFixture.h"
#include "tests/support/Patience.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QRectF Rect(const forms::Extent& control)
{
    return QRectF(control.Left(), control.Top(), control.Width(), control.Height());
}

class LayoutPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        frm = std::make_unique<frmPlayer>();
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get(), Patience));
    }

    // Gives the window an inner size in pixels.
    void SetClientSize(int width, int height)
    {
        QWidget* client = frm->Client();
        for (int i = 0; i < 3 && client->size() != QSize(width, height); ++i) {
            frm->resize(frm->width() + width - client->width(), frm->height() + height - client->height());
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(client->size(), QSize(width, height));
    }

    std::unique_ptr<frmPlayer> frm;
};

} // namespace

TEST_F(LayoutPass, PlacesTheBarsAroundTheVideoAtTheDesignSize)
{
    SetClientSize(689, 441); // 10335 x 6615 twips
    frm->Form_Resize();
    EXPECT_EQ(Rect(*frm->scrVolume), QRectF(0, 0, 135, 5805));
    EXPECT_EQ(Rect(*frm->scrSpeed), QRectF(135, 0, 10200, 135));
    EXPECT_EQ(Rect(*frm->scrPosition), QRectF(135, 5595, 10435, 210)) << "runs 100 twips past the right edge";
    EXPECT_EQ(Rect(*frm->framPlayer), QRectF(135, 135, 10200, 5460));
    EXPECT_EQ(Rect(*frm->lstPlaylist), QRectF(0, 5805, 10335, 315));
    EXPECT_EQ(Rect(*frm->framControls2), QRectF(0, 6120, 10335, 495));
    EXPECT_EQ(Rect(*frm->framControls), QRectF(1020, 120, 8295, 375));
    EXPECT_EQ(Rect(*frm->Frame1), QRectF(10060, 6340, 375, 375));
}

TEST_F(LayoutPass, ATooSmallWindowKeepsTheVolumeBarsLastHeight)
{
    SetClientSize(689, 441);
    frm->Form_Resize();
    SetClientSize(600, 40); // 9000 x 600 twips: less than the playlist and the strip
    frm->Form_Resize();
    EXPECT_EQ(frm->scrVolume->Height(), 5805);
    EXPECT_EQ(frm->scrPosition->Top(), 5595);
    EXPECT_EQ(frm->framPlayer->Height(), 5460);
    EXPECT_EQ(frm->lstPlaylist->Top(), 5805);
    EXPECT_EQ(frm->framPlayer->Width(), 9000 - 135) << "the widths still follow";
    EXPECT_EQ(frm->framControls2->Top(), 600 - 495);
    EXPECT_EQ(frm->Frame1->Top(), 600 - 375 + 100);
    EXPECT_EQ(frm->Frame1->Left(), 9000 - 375 + 100);
}

TEST_F(LayoutPass, InFullScreenTheVideoAreaTakesTheWholeClientArea)
{
    SetClientSize(689, 441);
    frm->FullScreen = true;
    frm->Form_Resize();
    EXPECT_EQ(Rect(*frm->framPlayer), QRectF(0, 0, 10335, 6615));
    EXPECT_EQ(Rect(*frm->scrPosition), QRectF(135, 5595, 10435, 210));
    EXPECT_EQ(frm->lstPlaylist->Top(), 5805);
    EXPECT_EQ(frm->framControls2->Top(), 6120);
}

TEST_F(LayoutPass, EndsWithTheFitOfTheVideoAndRestartsTheIdleTimer)
{
    SetClientSize(689, 441);
    frm->mnuOptionsAspectRatio->setChecked(false);
    frm->mnuOptionsStretch->setChecked(true);
    frm->tmrMax->setEnabled(false);
    frm->Form_Resize();
    EXPECT_EQ(Rect(*frm->Media1), QRectF(0, 0, 10200, 5460));
    EXPECT_TRUE(frm->tmrMax->Enabled());

    // With nothing open, keeping the aspect ratio leaves the video no width.
    frm->mnuOptionsStretch->setChecked(false);
    frm->mnuOptionsAspectRatio->setChecked(true);
    frm->Aspect();
    EXPECT_EQ(Rect(*frm->Media1), QRectF(0, 0, 0, 5460)) << "centred from its stretched width";
}

TEST_F(LayoutPass, TheResizeGripNeverCoversAButton)
{
    bool shown = false;
    bool hidden = false;
    for (int width = 450; width <= 700; width += 10) {
        SetClientSize(width, 441);
        frm->Form_Resize();
        const bool visible = frm->Frame1->isVisibleTo(frm.get());
        (visible ? shown : hidden) = true;
        if (!visible) continue;
        for (const QPushButton* button : frm->framControls->findChildren<QPushButton*>()) {
            const QRect rect(button->mapTo(frm->Client(), QPoint(0, 0)), button->size());
            EXPECT_FALSE(rect.intersects(frm->Frame1->geometry()))
                << button->objectName().toStdString() << " at a width of " << width;
        }
    }
    EXPECT_TRUE(shown) << "a window wide enough shows the grip";
    EXPECT_TRUE(hidden) << "a narrower one leaves it out";
}

class LoadedPlayerLayout : public PlayerTest { };

TEST_F(LoadedPlayerLayout, RunsWhenTheWindowChangesSize)
{
    frmPlayer& frm = Start();
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm, Patience));
    QWidget* client = frm.Client();
    frm.resize(frm.width() + 500 - client->width(), frm.height() + 400 - client->height());
    QCoreApplication::processEvents();
    ASSERT_EQ(client->size(), QSize(500, 400));
    EXPECT_EQ(frm.framControls2->Width(), 7500);
    EXPECT_EQ(frm.framControls2->Top(), 6000 - 495);
}
