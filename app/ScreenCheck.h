// What a window shows, checked from the toolkit's model rather than from
// its pixels: every text fits the space it is drawn in, or is cut short
// with "…" and has its whole as a tool tip; every child lies inside its
// parent's client area; every date reads in the Hungarian form
// (2026.11.16.). velmora-screens checks each window it pictures.
#pragma once

#include <string>
#include <vector>

namespace tk {
class TCustomForm;
}

namespace velmora {

// One line for each fault found, naming the control.
std::vector<std::string> screenProblems(tk::TCustomForm& window);

}  // namespace velmora
