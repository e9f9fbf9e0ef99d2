// The move-drag rule.
#include "model/MoveDrag.h"

#include "model/SelectionGeometry.h"

#include <algorithm>

namespace velmora {

namespace {

// Whether every control stays strictly inside its sheet when moved by
// (dx, dy), as the dragged control does.
bool allStayInside(const std::vector<PlacedBox>& others, int dx, int dy)
{
    return std::all_of(others.begin(), others.end(), [&](const PlacedBox& o) {
        int left = o.box.left + dx, top = o.box.top + dy;
        return !(dx && (left <= 0 || left >= o.clientWidth - o.box.width)) &&
               !(dy && (top <= 0 || top >= o.clientHeight - o.box.height));
    });
}

}  // namespace

DragMove moveDrag(tk::TPoint mouse, tk::TPoint grab, int clientWidth, int clientHeight, DragBox control,
                  std::optional<DragBox> field, const std::vector<PlacedBox>& others)
{
    int newTop = toGrid(mouse.y - grab.y);
    int newLeft = toGrid(mouse.x - grab.x);
    DragMove move;
    int maxLeft, maxTop;
    if (field) {
        move.dy = control.top - field->top;
        move.dx = control.left - field->left;
        maxTop = clientHeight - std::max(field->height - move.dy, control.height);
        maxLeft = clientWidth - std::max(field->width - move.dx, control.width);
    } else {
        maxLeft = clientWidth - control.width;
        maxTop = clientHeight - control.height;
    }
    if (newLeft > 0 && newLeft - move.dx > 0 && newLeft < maxLeft) {
        int dx = newLeft - control.left;
        if (!dx || allStayInside(others, dx, 0)) {
            move.left = newLeft;
            move.othersDx = dx;
        }
    }
    if (newTop > 0 && newTop - move.dy > 0 && newTop < maxTop) {
        int dy = newTop - control.top;
        if (!dy || allStayInside(others, 0, dy)) {
            move.top = newTop;
            move.othersDy = dy;
        }
    }
    return move;
}

}  // namespace velmora
