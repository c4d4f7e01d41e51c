#include "player/VideoFit.h"

#include <gtest/gtest.h>

namespace {

// Runs the fit as the layout pass does, one call after another, the video taking each move.
QRectF Passes(int count, const VideoFit::Options& options, int w, int h, QRectF video, QSizeF area)
{
    for (int i = 0; i < count; ++i) {
        const auto moves = VideoFit::Moves(options, w, h, video.size(), area);
        if (!moves.empty()) video = moves.back();
    }
    return video;
}

const QRectF DesignVideo(960, 360, 4920, 3300);

} // namespace

TEST(VideoFit, ZoomTwoHundredCentresFromTheSecondPass)
{
    VideoFit::Options zoom;
    zoom.zoom200 = true;
    const QSizeF area(7000, 5000);
    const QRectF first = Passes(1, zoom, 320, 240, DesignVideo, area);
    EXPECT_EQ(first.size(), QSizeF(9600, 7200));
    EXPECT_EQ(first.topLeft(), QPointF(3500 - 2460, 2500 - 1650)) << "centred from the size before the move";
    EXPECT_EQ(Passes(2, zoom, 320, 240, DesignVideo, area), QRectF(-1300, -1100, 9600, 7200));
    EXPECT_EQ(Passes(3, zoom, 320, 240, DesignVideo, area), QRectF(-1300, -1100, 9600, 7200));
}

TEST(VideoFit, KeepAspectRatioSettlesOverThreePasses)
{
    VideoFit::Options keep;
    keep.keepAspectRatio = true;
    const QSizeF area(8000, 4000);
    const QRectF first = Passes(1, keep, 640, 480, DesignVideo, area);
    EXPECT_EQ(first.left(), 0);
    EXPECT_EQ(first.top(), (4000 - 3300) / 2);
    EXPECT_EQ(first.width(), 8000);
    EXPECT_NEAR(first.height(), 4920 / (4.0 / 3), 0.01);

    const QRectF second = Passes(2, keep, 640, 480, DesignVideo, area);
    EXPECT_NEAR(second.height(), 6000, 0.01);
    EXPECT_NEAR(second.top(), (4000 - 3690) / 2, 0.01);

    const QRectF third = Passes(3, keep, 640, 480, DesignVideo, area);
    EXPECT_EQ(third.left(), 0);
    EXPECT_EQ(third.width(), 8000);
    EXPECT_NEAR(third.height(), 6000, 0.01);
    EXPECT_NEAR(third.top(), -1000, 0.01) << "the height is not fitted inside the area";

    // A tall video fills the height instead.
    const QRectF tall = Passes(3, keep, 480, 640, DesignVideo, area);
    EXPECT_EQ(tall.top(), 0);
    EXPECT_EQ(tall.height(), 4000);
    EXPECT_NEAR(tall.width(), 3000, 0.01);
    EXPECT_NEAR(tall.left(), 2500, 0.01);
}

TEST(VideoFit, ASquareVideoFillsTheWidth)
{
    VideoFit::Options keep;
    keep.keepAspectRatio = true;
    const QRectF square = Passes(3, keep, 240, 240, DesignVideo, QSizeF(8000, 4000));
    EXPECT_EQ(square, QRectF(0, -2000, 8000, 8000));
}

TEST(VideoFit, WithoutAVideoKeepAspectRatioGivesNoWidth)
{
    VideoFit::Options keep;
    keep.keepAspectRatio = true;
    const auto moves = VideoFit::Moves(keep, 0, 0, DesignVideo.size(), QSizeF(8000, 4000));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], QRectF((8000 - 4920) / 2, 0, 0, 4000));
}

TEST(VideoFit, EveryTickedFitMovesInOrderAndTheLastWins)
{
    VideoFit::Options all;
    all.stretch = all.zoom100 = all.zoom200 = all.zoom50 = true;
    const auto moves = VideoFit::Moves(all, 320, 240, QSizeF(4920, 3300), QSizeF(7000, 5000));
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves[0], QRectF(0, 0, 7000, 5000));
    EXPECT_EQ(moves[1].size(), QSizeF(4800, 3600));
    EXPECT_EQ(moves[2].size(), QSizeF(9600, 7200));
    EXPECT_EQ(moves[3], QRectF(1040, 850, 2400, 1800));
    EXPECT_TRUE(VideoFit::Moves({}, 320, 240, QSizeF(4920, 3300), QSizeF(7000, 5000)).empty());

    // The size it starts from counts in whole twips.
    VideoFit::Options zoom;
    zoom.zoom100 = true;
    EXPECT_EQ(
        VideoFit::Moves(zoom, 320, 240, QSizeF(4000.4, 3000.6), QSizeF(7000, 5000))[0].topLeft(), QPointF(1500, 999.5));
}
