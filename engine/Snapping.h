#pragma once

#include <vector>

// The arithmetic of window snapping: where a window that is being moved or sized ends when one of
// its edges comes near the edge of the work area or of another window. Pure functions of screen
// rectangles in pixels; the docking module feeds them from the windows.
namespace Snapping {

// A screen rectangle with exclusive right and bottom edges (right = left + width).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Edges closer than this many pixels snap together.
constexpr int Distance = 10;

// What a move remembers from one step to the next: where the cursor holds the window, and whether
// the last step snapped on each axis. Sticky flags outlive a move loop; the offset is set again
// when a loop starts.
struct MoveState {
    Point offset;
    bool stickyX = false;
    bool stickyY = false;
};

// The edge being dragged while sizing, with the window system's codes.
enum class SizingEdge {
    Left = 1,
    Right = 2,
    Top = 3,
    TopLeft = 4,
    TopRight = 5,
    Bottom = 6,
    BottomLeft = 7,
    BottomRight = 8
};

// A window being moved: the proposed rectangle, adjusted so that its edges snap to the targets'
// edges, keeping its size. A snapped axis stays where it snapped until the cursor has travelled
// the snapping distance away; then the window is back under the cursor where it was grabbed.
Rect SnapMove(Rect proposed, const std::vector<Rect>& targets, Point cursor, MoveState& state);

// A window being sized from an edge or corner: the moving horizontal and vertical edges snap to
// the targets' edges; the opposite edges stay, so the size changes.
Rect SnapSize(Rect proposed, const std::vector<Rect>& targets, SizingEdge edge);

// True when a window touches the main window edge to edge (its bottom on the main window's top,
// its top on the bottom, its right on the left, or its left on the right).
bool IsDocked(const Rect& window, const Rect& main);

} // namespace Snapping
