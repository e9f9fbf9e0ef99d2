// The geometry of a visible selection, without windows: the eight sizing
// handles around a control, and where a handle drag puts the control's
// edges. Coordinates are those of the control's parent.
#pragma once

#include "toolkit/core/Types.h"

#include <array>
#include <optional>

namespace velmora {

// The handles clockwise from the top-left corner.
enum class Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

constexpr int handleSize = 5;

// The design surface's 4-pixel grid, for a drag and a sizing alike:
// truncating toward zero, so that a negative offset does not step down.
inline int toGrid(int v)
{
    return v / 4 * 4;
}
// The smallest size that handle sizing leaves a control: two grid steps
// each way, room enough to see it and to grab it again.
constexpr int minimumWidth = 8, minimumHeight = 8;

// The handles of a control at `box`: squares lying just outside it, on its
// corners and on the middle of each edge.
std::array<tk::TRect, 8> handleRects(tk::TRect box);

// Which edges a handle moves.
struct HandleEdges {
    bool left, top, right, bottom;
};
HandleEdges edgesOf(Handle h);

// The box a handle drag gives: each moved edge goes where the mouse is,
// less where it grabbed the handle (`grab`: the mouse's offset from the
// moved edges at the press), truncated onto the 4-pixel grid; a left or top
// edge stays above 0 and at least the minimum from the opposite edge, a
// right or bottom edge below the parent's client size. `fixedHeight`: the
// control keeps its height (the top and bottom edges never move).
tk::TRect sizedBox(Handle h, tk::TRect start, tk::TPoint mouse, tk::TPoint grab, int clientWidth, int clientHeight,
                   bool fixedHeight);

// Whether two rectangles share at least a point (a rubber band touching a
// control).
bool touches(tk::TRect a, tk::TRect b);

}  // namespace velmora
