#include "player/frmPlayer.h"

#include "engine/Media.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

void FitOnly(frmPlayer& frm, forms::MenuItem* fit)
{
    for (forms::MenuItem* item : {frm.mnuOptionsStretch, frm.mnuOptionsDefaultSize, frm.mnuViewZoom200,
             frm.mnuViewZoom50, frm.mnuOptionsAspectRatio})
        item->setChecked(item == fit);
}

} // namespace

TEST(AspectOfAClip, TheVideoSettlesInTheVideoAreaOverThePasses)
{
    auto frm = std::make_unique<frmPlayer>();
    frm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get(), Patience));
    frm->Media1->OpenFile(clips::Video());
    int w = 0;
    int h = 0;
    frm->Media1->extractDefaultMovieSize(w, h);
    ASSERT_EQ(w, 320);
    ASSERT_EQ(h, 240);

    FitOnly(*frm, frm->mnuViewZoom200);
    frm->framPlayer->Move(0, 0, 7000, 5000);
    frm->Aspect();
    EXPECT_EQ(frm->Media1->Width(), 9600);
    EXPECT_EQ(frm->Media1->Height(), 7200);
    frm->Aspect();
    EXPECT_EQ(frm->Media1->Left(), -1300);
    EXPECT_EQ(frm->Media1->Top(), -1100);

    // 320 x 240 has the ratio of 640 x 480.
    FitOnly(*frm, frm->mnuOptionsAspectRatio);
    frm->framPlayer->Move(0, 0, 8000, 4000);
    for (int pass = 0; pass < 3; ++pass)
        frm->Aspect();
    EXPECT_EQ(frm->Media1->Left(), 0);
    EXPECT_EQ(frm->Media1->Width(), 8000);
    EXPECT_NEAR(frm->Media1->Height(), 6000, 0.01);
    EXPECT_NEAR(frm->Media1->Top(), -1000, 0.01);

    frm->Media1->closeMovie();
}
