#include "components/dvd/DvdControl.h"
#include "platform/forms/RuntimeError.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/Patience.h"
#include "tests/tools/DvdImage.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Seconds of an "hh:mm:ss:ff" text, -1 when the control gives none.
double Seconds(const DvdControl& dvd)
{
    try {
        const QString t = dvd.CurrentLocation();
        return t.mid(0, 2).toInt() * 3600 + t.mid(3, 2).toInt() * 60 + t.mid(6, 2).toInt() + t.mid(9, 2).toInt() / 25.0;
    } catch (const forms::RuntimeError&) {
        return -1;
    }
}

class DvdControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TESSEL_DVD", dvdimage::Folder().toLocal8Bit());
        dvd_ = std::make_unique<DvdControl>(nullptr);
        dvd_->resize(360, 288);
        dvd_->show();
    }
    void TearDown() override { qunsetenv("TESSEL_DVD"); }

    void StartTitle()
    {
        dvd_->Initialise();
        dvd_->PlayTitle(1);
        // The title plays once its first chapter runs.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return dvd_->CurrentTitle() == 1 && ErrorNumber([&] { chapter_ = dvd_->CurrentChapter(); }) == 0
                    && chapter_ == 1;
            },
            Patience));
    }

    std::unique_ptr<DvdControl> dvd_;
    int chapter_ = 0;
};

} // namespace

TEST_F(DvdControlTest, WithoutADiscEveryCommandFailsOrDoesNothing)
{
    qputenv("TESSEL_DVD", "/nonexistent/VIDEO_TS");
    EXPECT_THROW(dvd_->Initialise(), forms::RuntimeError);
    EXPECT_THROW(dvd_->PlayTitle(1), forms::RuntimeError);
    EXPECT_THROW(dvd_->PlayForwards(2.0), forms::RuntimeError);
    EXPECT_THROW(dvd_->CurrentChapter(), forms::RuntimeError);
    EXPECT_THROW(dvd_->CurrentLocation(), forms::RuntimeError);
    EXPECT_THROW(dvd_->TitleLength(), forms::RuntimeError);
    EXPECT_THROW(dvd_->ShowMenu(DvdControl::RootMenu), forms::RuntimeError);
    EXPECT_NO_THROW(dvd_->Stop());
    EXPECT_EQ(dvd_->CurrentTitle(), -1);
}

TEST_F(DvdControlTest, PlaysTheTitleByChaptersPausesAndStops)
{
    StartTitle();
    EXPECT_EQ(dvd_->TitleLength(), QStringLiteral("00:00:12:00"));
    EXPECT_EQ(dvd_->CurrentChapter(), 1);
    EXPECT_EQ(dvd_->Speed(), 1.0);

    dvd_->PlayChapter(3);
    EXPECT_EQ(dvd_->CurrentChapter(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Seconds(*dvd_) >= 8; }, Patience));
    EXPECT_EQ(ErrorNumber([&] { dvd_->PlayChapter(4); }), forms::Err::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumber([&] { dvd_->PlayChapter(0); }), forms::Err::InvalidProcedureCall);
    EXPECT_EQ(dvd_->CurrentChapter(), 3);
    dvd_->PlayChapter(2);
    EXPECT_EQ(dvd_->CurrentChapter(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Seconds(*dvd_) >= 3.5 && Seconds(*dvd_) < 8; }, Patience));

    // Paused, the position holds once the last pictures before the pause are out.
    dvd_->Pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dvd_->Speed() == 0; }, Patience));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const double before = Seconds(*dvd_);
            QTest::qWait(500);
            return Seconds(*dvd_) == before;
        },
        Patience));
    dvd_->PlayForwards(4.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dvd_->Speed() == 4.0; }, Patience));

    // Zooming in crops the picture around the point; zooming out never goes past the whole picture.
    dvd_->Zoom(360, 270, 2.0);
    EXPECT_EQ(dvd_->ZoomRatio(), 2.0);
    dvd_->Zoom(360, 270, 0.5);
    dvd_->Zoom(360, 270, 0.5);
    EXPECT_EQ(dvd_->ZoomRatio(), 1.0);

    dvd_->Stop();
    EXPECT_EQ(dvd_->CurrentTitle(), -1);
    EXPECT_THROW(dvd_->CurrentLocation(), forms::RuntimeError);
    EXPECT_THROW(dvd_->CurrentChapter(), forms::RuntimeError);
    // Starting again after a stop plays the title again.
    dvd_->PlayTitle(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dvd_->CurrentTitle() == 1; }, Patience));
}

TEST_F(DvdControlTest, TheRootMenuIsChosenWithTheKeys)
{
    dvd_->Initialise();
    EXPECT_EQ(ErrorNumber([&] { dvd_->ShowMenu(2); }), forms::Err::InvalidProcedureCall);
    dvd_->ShowMenu(DvdControl::RootMenu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dvd_->CurrentTitle() == 0; }, Patience));
    EXPECT_THROW(dvd_->CurrentChapter(), forms::RuntimeError);
    // The disc is in its menu before the menu's picture and buttons have been read: Enter pressed
    // that soon is lost, as it would be to a user, who presses again.
    QElapsedTimer sinceKey;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!sinceKey.isValid() || sinceKey.elapsed() > 2000) {
                QTest::keyClick(dvd_.get(), Qt::Key_Return);
                sinceKey.start();
            }
            return dvd_->CurrentTitle() == 1;
        },
        Patience));
    EXPECT_EQ(dvd_->CurrentChapter(), 1);

    // From inside the title the menu comes back.
    dvd_->ShowMenu(DvdControl::RootMenu);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dvd_->CurrentTitle() == 0; }, Patience));
}

TEST_F(DvdControlTest, PlayingBackwardsStepsBackToTheStartThenPlaysOn)
{
    StartTitle();
    dvd_->PlayChapter(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Seconds(*dvd_) >= 8.5; }, Patience));
    const double from = Seconds(*dvd_);
    dvd_->PlayBackwards(2.0);
    EXPECT_EQ(dvd_->Speed(), -2.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Seconds(*dvd_) >= 0 && Seconds(*dvd_) < from - 1.5; }, Patience));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dvd_->Speed() == 1.0; }, Patience)) << "plays on at the start";
    EXPECT_LT(Seconds(*dvd_), from - 1.5);
}
