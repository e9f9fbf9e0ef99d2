// Drawing the palette's pictures.
#include "glyphs/PaletteGlyphs.h"

#include "glyphs/Picture.h"

namespace velmora::glyphs {

using namespace colours;

std::vector<uint8_t> arrowTool()
{
    Picture p(21, 19);
    // The pointer: a black outline filled white, tip at the upper left.
    for (int y = 0; y < 12; ++y) p.line(6, 2 + y, 6 + y, 2 + y, white);
    p.line(6, 1, 6, 14, black);
    p.line(6, 1, 17, 12, black);
    p.line(12, 13, 17, 13, black);
    p.line(6, 14, 9, 11, black);
    // The tail.
    p.fill(10, 13, 11, 17, white);
    p.line(9, 12, 11, 17, black);
    p.line(12, 13, 14, 17, black);
    p.line(11, 18, 13, 18, black);
    return p.bmp24();
}

std::vector<uint8_t> editTool()
{
    Picture p(24, 24);
    p.fill(1, 6, 22, 17, white);
    p.frame(1, 6, 22, 17, gray);
    p.line(2, 7, 21, 7, black);
    p.line(2, 7, 2, 16, black);
    // "ab"
    p.line(5, 11, 7, 11, black);
    p.line(8, 12, 8, 15, black);
    p.line(5, 13, 7, 13, black);
    p.line(4, 14, 4, 14, black);
    p.line(5, 15, 8, 15, black);
    p.line(11, 9, 11, 15, black);
    p.line(12, 12, 13, 11, black);
    p.line(14, 12, 14, 14, black);
    p.line(12, 15, 13, 15, black);
    // The text cursor.
    p.line(17, 9, 17, 15, black);
    p.line(16, 9, 18, 9, black);
    p.line(16, 15, 18, 15, black);
    return p.bmp();
}

std::vector<uint8_t> labelTool()
{
    Picture p(24, 24);
    for (int d = 0; d < 2; ++d) {
        p.line(5 + d, 19, 11 + d, 3, black);
        p.line(12 + d, 3, 18 + d, 19, black);
    }
    p.line(8, 13, 16, 13, black);
    p.line(8, 14, 16, 14, black);
    p.line(3, 19, 9, 19, black);
    p.line(15, 19, 21, 19, black);
    return p.bmp();
}

std::vector<uint8_t> pickerTool()
{
    Picture p(24, 24);
    // The drop-down bar with its button.
    p.fill(1, 1, 22, 6, white);
    p.frame(1, 1, 22, 6, gray);
    p.fill(17, 2, 21, 5, silver);
    p.line(18, 3, 20, 3, black);
    p.dot(19, 4, black);
    // The calendar page: a red head and a grid of days.
    p.fill(3, 8, 20, 22, white);
    p.frame(3, 8, 20, 22, black);
    p.fill(4, 9, 19, 11, red);
    for (int y = 13; y <= 21; y += 2)
        for (int x = 5; x <= 18; x += 3) p.dot(x, y, navy);
    return p.bmp();
}

std::vector<uint8_t> checkBoxTool()
{
    Picture p(24, 24);
    p.fill(5, 5, 18, 18, white);
    p.frame(5, 5, 18, 18, gray);
    p.line(6, 6, 17, 6, black);
    p.line(6, 6, 6, 17, black);
    for (int d = 0; d < 2; ++d) {
        p.line(8 + d, 8, 15 + d, 15, black);
        p.line(15 + d, 8, 8 + d, 15, black);
    }
    return p.bmp();
}

std::vector<uint8_t> openDesign()
{
    Picture p(20, 18);
    // The folder's back, its opened front leaf, and the arrow above.
    p.fill(1, 6, 13, 16, yellow);
    p.frame(1, 6, 13, 16, black);
    p.line(1, 5, 5, 5, black);
    p.line(5, 5, 6, 6, black);
    for (int y = 10; y <= 16; ++y) p.line(4 + (16 - y) / 2, y, 17 - (16 - y) / 2, y, yellow);
    p.line(4, 10, 17, 10, black);
    p.line(17, 10, 14, 16, black);
    p.line(4, 10, 1, 16, black);
    p.line(12, 3, 15, 1, navy);
    p.line(15, 1, 18, 3, navy);
    p.line(18, 3, 18, 6, navy);
    p.line(16, 5, 18, 7, navy);
    p.line(19, 5, 18, 7, navy);
    return p.bmp24();
}

std::vector<uint8_t> saveDesign()
{
    Picture p(18, 18);
    p.fill(1, 1, 16, 16, navy);
    p.frame(1, 1, 16, 16, black);
    // The label and the metal shutter.
    p.fill(4, 2, 13, 8, white);
    p.line(5, 4, 12, 4, gray);
    p.line(5, 6, 12, 6, gray);
    p.fill(5, 11, 12, 16, silver);
    p.fill(6, 12, 8, 15, navy);
    return p.bmp();
}

}  // namespace velmora::glyphs
