// Drawing small glyph pictures in the sixteen standard colours, whose lower
// left pixel (olive, the background) stands for transparent.
#pragma once

#include "toolkit/widgets/Bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace velmora::glyphs {

// The sixteen standard colours.
inline const uint32_t palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                     0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
namespace colours {
enum : uint8_t {
    black = 0,
    maroon = 1,
    green = 2,
    olive = 3,
    navy = 4,
    purple = 5,
    teal = 6,
    silver = 7,
    gray = 8,
    red = 9,
    lime = 10,
    yellow = 11,
    blue = 12,
    fuchsia = 13,
    aqua = 14,
    white = 15
};
}  // namespace colours
// Colours are 0xRRGGBB; olive is the transparent background.

class Picture {
public:
    Picture(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, colours::olive) {}
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
                using namespace colours;
                uint8_t g = c == olive ? olive : (c == white || c == yellow || c == aqua || c == silver) ? white : gray;
                dot(x + half, y, g);
            }
    }
    // A 16-colour BMP file, or the same picture in 24-bit colour.
    std::vector<uint8_t> bmp() const { return tk::TBitmap::encode4Bit(w_, h_, px_, palette); }
    std::vector<uint8_t> bmp24() const
    {
        std::vector<uint32_t> rgb;
        rgb.reserve(px_.size());
        for (uint8_t i : px_) rgb.push_back(palette[i & 15]);
        return tk::TBitmap::encode24Bit(w_, h_, rgb);
    }

private:
    int w_, h_;
    std::vector<uint8_t> px_;
};

}  // namespace velmora::glyphs
