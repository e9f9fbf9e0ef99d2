// The pictures of the main window's glyph buttons: 16-colour bitmaps whose
// lower left pixel's colour (olive) stands for transparent.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::glyphs {

// 32 x 16: a lined sheet of paper, and its greyed copy.
std::vector<uint8_t> newDocument();
// 32 x 16: a hand writing with a pencil on a sheet, and its greyed copy.
std::vector<uint8_t> modifyDocument();
// 23 x 20: a magnifying glass over a sheet.
std::vector<uint8_t> search();
// 20 x 18: a printer.
std::vector<uint8_t> print();
// 32 x 16: a tick, and its greyed copy.
std::vector<uint8_t> tick();
// 32 x 16: a cross, and its greyed copy.
std::vector<uint8_t> cross();

}  // namespace velmora::glyphs
