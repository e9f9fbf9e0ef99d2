// Drawing the glyphs.
#include "designer/Glyphs.h"

#include "toolkit/Bitmap.h"

#include <cstdlib>

namespace velmora::glyphs {

namespace {

// The sixteen standard colours.
const uint32_t palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                              0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
enum : uint8_t { black = 0, olive = 3, navy = 4, silver = 7, gray = 8, yellow = 11, blue = 12, aqua = 14, white = 15 };
// Colours are 0xRRGGBB; olive is the transparent background.

class Picture {
public:
    Picture(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, olive) {}
    void dot(int x, int y, uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y) * w_ + x] = c;
    }
    void fill(int x0, int y0, int x1, int y1, uint8_t c)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) dot(x, y, c);
    }
    void frame(int x0, int y0, int x1, int y1, uint8_t c)
    {
        line(x0, y0, x1, y0, c);
        line(x0, y1, x1, y1, c);
        line(x0, y0, x0, y1, c);
        line(x1, y0, x1, y1, c);
    }
    void line(int x0, int y0, int x1, int y1, uint8_t c)
    {
        int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        for (int err = dx + dy;;) {
            dot(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
    }
    void ring(int cx, int cy, int r, uint8_t edge, uint8_t inside)
    {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                int d = x * x + y * y;
                if (d <= (r - 1) * (r - 1)) dot(cx + x, cy + y, inside);
                else if (d <= r * r + r) dot(cx + x, cy + y, edge);
            }
    }
    // Copies the left half into the right half in the greyed look.
    void greyedCopy(int half)
    {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < half; ++x) {
                uint8_t c = px_[static_cast<size_t>(y) * w_ + x];
                uint8_t g = c == olive ? olive : (c == white || c == yellow || c == aqua || c == silver) ? white : gray;
                dot(x + half, y, g);
            }
    }
    std::vector<uint8_t> bmp() const { return tk::TBitmap::encode4Bit(w_, h_, px_, palette); }

private:
    int w_, h_;
    std::vector<uint8_t> px_;
};

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
