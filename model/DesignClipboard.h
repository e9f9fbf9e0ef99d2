// Copying and pasting placed controls as form text: the selected controls
// (a field control with its caption label) under a root named after their
// tab sheet, without the design-time wiring and the placing marks, so a
// person can read the text and another designer can paste it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tk {
class TControl;
}

namespace velmora {

class DesignModel;

// A paste that is refused changes nothing and says this.
inline constexpr const char* nothingToPaste = "A vágólapon nincs beilleszthető mező.";
class ERefusedPaste : public std::runtime_error {
public:
    ERefusedPaste() : std::runtime_error(nothingToPaste) {}
};

// The text of the selection, or "" when nothing is selected.
std::string copiedText(DesignModel& model);

// Pastes onto the tab sheet of the selection (or the front one), 8 pixels
// down and right of where the controls were copied from: named anew with
// the lowest free numbers, marked as placed (Tag 1), wired for design; a
// caption label points at its pasted field; on the entry page a field name
// that another control there already uses is cleared. The pasted controls
// become the selection. Raises ERefusedPaste for anything but form text of
// placeable controls, changing nothing.
std::vector<tk::TControl*> paste(DesignModel& model, std::string_view text);

// The longest text a paste reads.
constexpr size_t maxPastedText = 1 << 20;

}  // namespace velmora
