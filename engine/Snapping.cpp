#include "engine/Snapping.h"

#include <cstdlib>

namespace Snapping {

namespace {

bool OverlapsVertically(const Rect& r, const Rect& t)
{
    return r.bottom + Distance > t.top && r.top - Distance < t.bottom;
}

bool OverlapsHorizontally(const Rect& r, const Rect& t)
{
    return r.right + Distance > t.left && r.left - Distance < t.right;
}

// Tries the pairs of edges in order; the first one closer than the best so far wins.
struct EdgePair {
    int edge;
    int target;
};

template <size_t N> bool Closer(const EdgePair (&pairs)[N], int& best, int& snappedTarget, size_t& snappedPair)
{
    for (size_t i = 0; i < N; ++i) {
        const int d = std::abs(pairs[i].edge - pairs[i].target);
        if (d < best) {
            best = d;
            snappedTarget = pairs[i].target;
            snappedPair = i;
            return true;
        }
    }
    return false;
}

} // namespace

Rect SnapMove(Rect proposed, const std::vector<Rect>& targets, Point cursor, MoveState& state)
{
    const int w = proposed.Width();
    const int h = proposed.Height();
    if (state.stickyX) {
        proposed.left = cursor.x - state.offset.x;
        proposed.right = proposed.left + w;
    } else {
        state.offset.x = cursor.x - proposed.left;
    }
    if (state.stickyY) {
        proposed.top = cursor.y - state.offset.y;
        proposed.bottom = proposed.top + h;
    } else {
        state.offset.y = cursor.y - proposed.top;
    }

    const Rect r = proposed;
    Rect out = r;
    int bestX = Distance;
    int bestY = Distance;
    bool snappedX = false;
    bool snappedY = false;
    for (const Rect& t : targets) {
        int edge = 0;
        size_t pair = 0;
        if (OverlapsVertically(r, t)) {
            const EdgePair pairs[] = {{r.left, t.left}, {r.left, t.right}, {r.right, t.left}, {r.right, t.right}};
            if (Closer(pairs, bestX, edge, pair)) {
                if (pair < 2) {
                    out.left = edge;
                    out.right = edge + w;
                } else {
                    out.right = edge;
                    out.left = edge - w;
                }
                snappedX = true;
            }
        }
        if (OverlapsHorizontally(r, t)) {
            const EdgePair pairs[] = {{r.top, t.top}, {r.top, t.bottom}, {r.bottom, t.top}, {r.bottom, t.bottom}};
            if (Closer(pairs, bestY, edge, pair)) {
                if (pair < 2) {
                    out.top = edge;
                    out.bottom = edge + h;
                } else {
                    out.bottom = edge;
                    out.top = edge - h;
                }
                snappedY = true;
            }
        }
    }
    state.stickyX = snappedX;
    state.stickyY = snappedY;
    return out;
}

Rect SnapSize(Rect proposed, const std::vector<Rect>& targets, SizingEdge edge)
{
    const bool leftEdge = edge == SizingEdge::Left || edge == SizingEdge::TopLeft || edge == SizingEdge::BottomLeft;
    const bool topEdge = edge == SizingEdge::Top || edge == SizingEdge::TopLeft || edge == SizingEdge::TopRight;
    const Rect r = proposed;
    int x = leftEdge ? r.left : r.right;
    int y = topEdge ? r.top : r.bottom;
    const int fromX = x;
    const int fromY = y;
    int bestX = Distance;
    int bestY = Distance;
    for (const Rect& t : targets) {
        int snapped = 0;
        size_t pair = 0;
        if (OverlapsVertically(r, t)) {
            const EdgePair pairs[] = {{fromX, t.left}, {fromX, t.right}};
            if (Closer(pairs, bestX, snapped, pair)) x = snapped;
        }
        if (OverlapsHorizontally(r, t)) {
            const EdgePair pairs[] = {{fromY, t.top}, {fromY, t.bottom}};
            if (Closer(pairs, bestY, snapped, pair)) y = snapped;
        }
    }
    Rect out = r;
    (leftEdge ? out.left : out.right) = x;
    (topEdge ? out.top : out.bottom) = y;
    return out;
}

bool IsDocked(const Rect& window, const Rect& main)
{
    return window.bottom == main.top || window.top == main.bottom || window.right == main.left
        || window.left == main.right;
}

} // namespace Snapping
