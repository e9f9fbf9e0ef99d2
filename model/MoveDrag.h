// A move-drag on the design surface as a pure rule, tested without a
// window, beside the handle sizing and the rubber band: where the dragged
// control goes for one mouse position (on the 4-pixel grid, each axis on
// its own, strictly inside its parent's client area; a caption label
// bounded together with its field control, which keeps its offset from the
// label), and how far the rest of a multiple selection goes with it (an
// axis on which one of them would leave its tab sheet moves none of them).
#pragma once

#include "toolkit/core/Types.h"

#include <optional>
#include <vector>

namespace velmora {

struct DragBox {
    int left, top, width, height;
};

// Another control of the selection, in its own parent's client area.
struct PlacedBox {
    DragBox box;
    int clientWidth, clientHeight;
};

struct DragMove {
    std::optional<int> left;  // the dragged control's new Left, when this axis moves
    std::optional<int> top;
    int dx = 0, dy = 0;              // a caption label's offset from its field control: the field goes to left - dx
    int othersDx = 0, othersDy = 0;  // how far the rest of the selection moves
};

// `mouse` in the parent's client coordinates, `grab` where the mouse went
// down in the dragged control; `field` is a caption label's field control;
// `others` the rest of its multiple selection.
DragMove moveDrag(tk::TPoint mouse, tk::TPoint grab, int clientWidth, int clientHeight, DragBox control,
                  std::optional<DragBox> field, const std::vector<PlacedBox>& others = {});

}  // namespace velmora
