// The pictures of the palette's buttons. The arrow and the open folder are
// 24-bit pictures, the others 16-colour ones; in each the lower left
// pixel's colour stands for transparent.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::glyphs {

std::vector<uint8_t> arrowTool();     // 21 x 19: a mouse pointer arrow
std::vector<uint8_t> editTool();      // 24 x 24: an edit box with "ab" and a text cursor
std::vector<uint8_t> labelTool();     // 24 x 24: a capital A
std::vector<uint8_t> pickerTool();    // 24 x 24: a calendar page under a drop-down bar
std::vector<uint8_t> checkBoxTool();  // 24 x 24: a check box with a cross
std::vector<uint8_t> openDesign();    // 20 x 18: an opening folder with a curved arrow
std::vector<uint8_t> saveDesign();    // 18 x 18: a floppy disk

}  // namespace velmora::glyphs
