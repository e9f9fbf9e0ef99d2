// The handles' squares, a handle drag's box on the grid, and touching
// rectangles.
#include "model/SelectionGeometry.h"

#include <algorithm>

namespace velmora {

namespace {

int upToGrid(int v)
{
    return toGrid(v + 3);
}

}  // namespace

std::array<tk::TRect, 8> handleRects(tk::TRect b)
{
    constexpr int s = handleSize;
    int cx = b.left + b.width() / 2 - s / 2, cy = b.top + b.height() / 2 - s / 2;
    auto square = [](int x, int y) { return tk::TRect{x, y, x + s, y + s}; };
    return {square(b.left - s, b.top - s), square(cx, b.top - s), square(b.right, b.top - s),   square(b.right, cy),
            square(b.right, b.bottom),     square(cx, b.bottom),  square(b.left - s, b.bottom), square(b.left - s, cy)};
}

HandleEdges edgesOf(Handle h)
{
    switch (h) {
    case Handle::TopLeft: return {true, true, false, false};
    case Handle::Top: return {false, true, false, false};
    case Handle::TopRight: return {false, true, true, false};
    case Handle::Right: return {false, false, true, false};
    case Handle::BottomRight: return {false, false, true, true};
    case Handle::Bottom: return {false, false, false, true};
    case Handle::BottomLeft: return {true, false, false, true};
    case Handle::Left: break;
    }
    return {true, false, false, false};
}

tk::TRect sizedBox(Handle h, tk::TRect start, tk::TPoint mouse, tk::TPoint grab, int clientWidth, int clientHeight,
                   bool fixedHeight)
{
    HandleEdges e = edgesOf(h);
    if (fixedHeight) e.top = e.bottom = false;
    tk::TRect r = start;
    // One axis: the moved edge on the grid, within its bounds; the box as
    // it was when the bounds leave no room.
    auto axis = [](bool low, bool high, int& from, int& to, int mouse, int grab, int client, int minimum) {
        int at = toGrid(mouse - grab);
        if (low) {
            int lo = 4, hi = toGrid(to - minimum);
            if (lo <= hi) from = std::clamp(at, lo, hi);
        } else if (high) {
            int lo = upToGrid(from + minimum), hi = toGrid(client - 1);
            if (lo <= hi) to = std::clamp(at, lo, hi);
        }
    };
    axis(e.left, e.right, r.left, r.right, mouse.x, grab.x, clientWidth, minimumWidth);
    axis(e.top, e.bottom, r.top, r.bottom, mouse.y, grab.y, clientHeight, minimumHeight);
    return r;
}

bool touches(tk::TRect a, tk::TRect b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace velmora
