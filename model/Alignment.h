// Aligning selected controls to the primary one, as the context menu of a
// multiple selection offers it.
#pragma once

#include <vector>

namespace tk {
class TControl;
}

namespace velmora {

enum class Alignment { Lefts, Rights, Tops, Bottoms, SameWidth, SameHeight };

inline constexpr Alignment alignments[] = {Alignment::Lefts,   Alignment::Rights,    Alignment::Tops,
                                           Alignment::Bottoms, Alignment::SameWidth, Alignment::SameHeight};

// The menu item's text.
const char* alignmentCaption(Alignment a);

// Moves or sizes each of `others` to match `primary`: its left, right, top
// or bottom edge, or its width or height. A control that keeps its own
// height (an edit fitting its font) keeps it.
void align(Alignment a, const tk::TControl& primary, const std::vector<tk::TControl*>& others);

}  // namespace velmora
