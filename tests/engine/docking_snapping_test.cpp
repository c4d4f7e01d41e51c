#include "engine/Snapping.h"

#include <gtest/gtest.h>

using namespace Snapping;

namespace {

const Rect WorkArea {0, 0, 1600, 1200};

Rect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// Moves a window in one step with the cursor grabbing it 50 pixels into its top edge.
Rect MoveOnce(Rect proposed, const std::vector<Rect>& targets, MoveState& state)
{
    return SnapMove(proposed, targets, {proposed.left + 50, proposed.top + 5}, state);
}

} // namespace

TEST(Snapping, AnEdgeWithinSevenPixelsSnapsFlushButTenDoesNot)
{
    const Rect other = At(100, 100, 300, 200); // right edge at 400
    MoveState state;
    const Rect snapped = MoveOnce(At(407, 150, 200, 100), {WorkArea, other}, state);
    EXPECT_EQ(snapped, At(400, 150, 200, 100));
    EXPECT_TRUE(state.stickyX);
    EXPECT_FALSE(state.stickyY);

    MoveState fresh;
    EXPECT_EQ(MoveOnce(At(410, 150, 200, 100), {WorkArea, other}, fresh), At(410, 150, 200, 100));
    EXPECT_FALSE(fresh.stickyX);
}

TEST(Snapping, TheNearestEdgeWinsAndTiesGoToTheEarlierTarget)
{
    // The window's left edge is 6 pixels from one window's right edge and 4 from another's.
    const Rect six = At(100, 100, 294, 200); // right edge 394
    const Rect four = At(100, 320, 296, 200); // right edge 396
    MoveState state;
    EXPECT_EQ(MoveOnce(At(400, 250, 200, 100), {WorkArea, six, four}, state).left, 396);
    EXPECT_EQ(MoveOnce(At(400, 250, 200, 100), {WorkArea, four, six}, state).left, 396);

    // 4 and 4: one window's right edge 4 to the left, another's left edge 4 to the right.
    const Rect leftOf = At(100, 100, 296, 200); // right edge 396
    const Rect rightOf = At(404, 320, 200, 200); // left edge 404
    EXPECT_EQ(MoveOnce(At(400, 250, 200, 100), {WorkArea, leftOf, rightOf}, state).left, 396);
    EXPECT_EQ(MoveOnce(At(400, 250, 200, 100), {WorkArea, rightOf, leftOf}, state).left, 404);

    // Within one target the first pair that is close enough wins, even when a later one is closer.
    const Rect narrow = At(395, 380, 12, 100); // left 395, right 407
    EXPECT_EQ(MoveOnce(At(403, 400, 200, 100), {narrow}, state).left, 395);
}

TEST(Snapping, AWindowFarBelowAnotherDoesNotSnapSideways)
{
    const Rect other = At(100, 100, 300, 200); // bottom at 300
    MoveState state;
    // Bottom of the window above, plus the slack, must pass the top of the moving one.
    EXPECT_EQ(MoveOnce(At(405, 310, 200, 100), {other}, state).left, 405);
    EXPECT_EQ(MoveOnce(At(405, 309, 200, 100), {other}, state).left, 400);
}

TEST(Snapping, BothAxesSnapAndTheWorkAreaIsATarget)
{
    MoveState state;
    const Rect snapped = MoveOnce(At(5, 1093, 200, 100), {WorkArea}, state);
    EXPECT_EQ(snapped, At(0, 1100, 200, 100)) << "left to the left edge, bottom to the bottom edge";
    EXPECT_TRUE(state.stickyX);
    EXPECT_TRUE(state.stickyY);
}

TEST(Snapping, ASnappedWindowStaysUntilTheCursorIsTenPixelsAwayThenJumpsBackUnderIt)
{
    const Rect other = At(100, 100, 300, 200); // right edge at 400
    const std::vector<Rect> targets {other};
    MoveState state;
    // Grabbed 50 pixels in from the left edge, which is 7 pixels off the other window's edge.
    Rect r = SnapMove(At(407, 150, 200, 100), targets, {457, 160}, state);
    ASSERT_EQ(r.left, 400);
    EXPECT_EQ(state.offset.x, 50);

    // The proposal drifts from the snapped place; the window is placed from the cursor instead.
    r = SnapMove(At(402, 150, 200, 100), targets, {459, 160}, state);
    EXPECT_EQ(r.left, 400) << "cursor 9 pixels on: still snapped";
    r = SnapMove(At(403, 150, 200, 100), targets, {460, 160}, state);
    EXPECT_EQ(r.left, 410) << "cursor 10 pixels on: back under the cursor where it was grabbed";
    EXPECT_FALSE(state.stickyX);
    EXPECT_EQ(r.Width(), 200);
}

TEST(Snapping, SizingFromTheLeftEdgeAlsoSnapsTheBottomEdge)
{
    const Rect other = At(100, 100, 300, 200); // right 400, bottom 300
    const Rect sized = SnapSize(At(406, 150, 200, 145), {WorkArea, other}, SizingEdge::Left);
    EXPECT_EQ(sized, (Rect {400, 150, 606, 300}));

    // From the right edge the left edge stays, and the right edge snaps.
    EXPECT_EQ(SnapSize(At(50, 150, 45, 100), {other}, SizingEdge::Right), (Rect {50, 150, 100, 250}));
    // From the top-left corner both the left and top edges move.
    EXPECT_EQ(SnapSize(At(405, 296, 200, 100), {other}, SizingEdge::TopLeft), (Rect {400, 300, 605, 396}));
    // Nothing near: the rectangle is as proposed.
    EXPECT_EQ(SnapSize(At(500, 500, 100, 100), {other}, SizingEdge::BottomRight), At(500, 500, 100, 100));
}

TEST(Snapping, ADockedWindowTouchesTheMainWindowEdgeToEdge)
{
    const Rect main = At(100, 100, 300, 200);
    EXPECT_TRUE(IsDocked(At(900, 300, 100, 100), main)) << "top on the bottom edge, far to the side";
    EXPECT_TRUE(IsDocked(At(100, 0, 300, 100), main));
    EXPECT_TRUE(IsDocked(At(0, 100, 100, 200), main));
    EXPECT_TRUE(IsDocked(At(400, 150, 100, 100), main));
    EXPECT_FALSE(IsDocked(At(401, 150, 100, 100), main));
}
