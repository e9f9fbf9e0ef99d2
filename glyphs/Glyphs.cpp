// Drawing the glyphs.
#include "glyphs/Glyphs.h"

#include "glyphs/Picture.h"

namespace velmora::glyphs {

namespace {

using namespace colours;

void sheet(Picture& p, int x0, int y0, int x1, int y1, bool lines)
{
    p.fill(x0, y0, x1, y1, white);
    p.frame(x0, y0, x1, y1, black);
    // The folded upper right corner.
    p.line(x1 - 3, y0, x1, y0 + 3, black);
    p.fill(x1 - 2, y0, x1, y0, olive);
    p.dot(x1, y0 + 1, olive);
    p.dot(x1 - 3, y0 + 1, black);
    p.line(x1 - 3, y0 + 3, x1, y0 + 3, black);
    if (lines)
        for (int y = y0 + 4; y < y1 - 1; y += 2) p.line(x0 + 2, y, x1 - 2, y, navy);
}

}  // namespace

std::vector<uint8_t> newDocument()
{
    Picture p(32, 16);
    sheet(p, 3, 1, 12, 14, true);
    p.greyedCopy(16);
    return p.bmp();
}

std::vector<uint8_t> modifyDocument()
{
    Picture p(32, 16);
    sheet(p, 1, 1, 10, 14, true);
    // The pencil, held by a hand at its upper end.
    p.line(14, 2, 7, 11, yellow);
    p.line(15, 3, 8, 12, yellow);
    p.line(14, 3, 8, 11, black);
    p.dot(6, 12, black);
    p.dot(7, 12, black);
    p.fill(12, 6, 15, 9, silver);
    p.frame(12, 6, 15, 9, gray);
    p.greyedCopy(16);
    return p.bmp();
}

std::vector<uint8_t> search()
{
    Picture p(23, 20);
    sheet(p, 2, 1, 13, 16, true);
    p.ring(13, 10, 5, black, aqua);
    p.line(17, 14, 21, 18, black);
    p.line(17, 15, 20, 18, black);
    return p.bmp();
}

std::vector<uint8_t> print()
{
    Picture p(20, 18);
    // Paper coming out of the top, the body with its slot and a light.
    p.fill(5, 1, 14, 7, white);
    p.frame(5, 1, 14, 7, black);
    p.fill(1, 7, 18, 14, silver);
    p.frame(1, 7, 18, 14, black);
    p.line(2, 11, 17, 11, gray);
    p.dot(15, 9, 10);
    p.fill(4, 13, 15, 16, white);
    p.frame(4, 13, 15, 16, black);
    return p.bmp();
}

std::vector<uint8_t> tick()
{
    Picture p(32, 16);
    for (int d = 0; d < 3; ++d) {
        p.line(2, 8 + d, 5, 11 + d, 2);
        p.line(5, 11 + d, 13, 3 + d, 2);
    }
    p.greyedCopy(16);
    return p.bmp();
}

std::vector<uint8_t> cross()
{
    Picture p(32, 16);
    for (int d = 0; d < 2; ++d) {
        p.line(3 + d, 3, 12 + d, 12, 9);
        p.line(12 + d, 3, 3 + d, 12, 9);
    }
    p.greyedCopy(16);
    return p.bmp();
}

}  // namespace velmora::glyphs
