// Where a dragged control goes for one mouse position: on a 4-pixel grid
// (truncating toward zero), each axis on its own, strictly inside the
// parent's client area. A caption label is bounded together with its field
// control, which keeps its offset from the label. Pure: no window needed.
#pragma once

#include "toolkit/core/Types.h"

#include <optional>

namespace velmora {

struct DragBox {
    int left, top, width, height;
};

struct DragStep {
    std::optional<int> left;  // the control's new Left, when this axis moves
    std::optional<int> top;
    int dx = 0, dy = 0;  // a caption label's offset from its field control
};

// `mouse` in the parent's client coordinates, `grab` where the mouse went
// down in the control; `field` is the caption label's field control.
DragStep dragStep(tk::TPoint mouse, tk::TPoint grab, int clientWidth, int clientHeight, DragBox control,
                  std::optional<DragBox> field);

}  // namespace velmora
