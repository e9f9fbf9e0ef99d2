// The 4-pixel drag grid.
#include "designer/DragGrid.h"

#include <algorithm>

namespace velmora {

DragStep dragStep(tk::TPoint mouse, tk::TPoint grab, int clientWidth, int clientHeight, DragBox control,
                  std::optional<DragBox> field)
{
    // Integer division truncates toward zero, as the grid does.
    int newTop = ((mouse.y - grab.y) / 4) * 4;
    int newLeft = ((mouse.x - grab.x) / 4) * 4;
    DragStep step;
    int maxLeft, maxTop;
    if (field) {
        step.dy = control.top - field->top;
        step.dx = control.left - field->left;
        maxTop = clientHeight - std::max(field->height - step.dy, control.height);
        maxLeft = clientWidth - std::max(field->width - step.dx, control.width);
    } else {
        maxLeft = clientWidth - control.width;
        maxTop = clientHeight - control.height;
    }
    if (newLeft > 0 && newLeft - step.dx > 0 && newLeft < maxLeft) step.left = newLeft;
    if (newTop > 0 && newTop - step.dy > 0 && newTop < maxTop) step.top = newTop;
    return step;
}

}  // namespace velmora
