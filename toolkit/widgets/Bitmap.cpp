// Bitmaps.
#include "toolkit/widgets/Bitmap.h"

#include "toolkit/core/PropertyTable.h"

#include <cstdlib>

namespace tk {

TK_DEFINE_CLASS(TBitmap, TPersistent) {}

namespace {
int32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                (static_cast<uint32_t>(b[at + 3]) << 24));
}
}  // namespace

void TBitmap::setBmpData(std::vector<uint8_t> bytes)
{
    width_ = height_ = bitCount_ = 0;
    // BITMAPFILEHEADER (14 bytes) then BITMAPINFOHEADER (40 bytes or more).
    if (bytes.size() >= 54 && bytes[0] == 'B' && bytes[1] == 'M' && le32(bytes, 14) >= 40) {
        int32_t w = le32(bytes, 18), h = le32(bytes, 22);
        if (w > 0 && w < 65536 && h != INT32_MIN && std::abs(h) < 65536) {
            width_ = w;
            height_ = std::abs(h);
            bitCount_ = bytes[28] | (bytes[29] << 8);
        }
    }
    data_ = std::move(bytes);
    if (onChange) onChange();
}

std::vector<uint32_t> TBitmap::pixels() const
{
    std::vector<uint32_t> out;
    if (empty()) return out;
    const auto& b = data_;
    uint32_t offset = static_cast<uint32_t>(le32(b, 10));
    int32_t headerSize = le32(b, 14);
    int32_t rawHeight = le32(b, 22);
    uint32_t compression = static_cast<uint32_t>(le32(b, 30));
    if (compression != 0 || (bitCount_ != 4 && bitCount_ != 8 && bitCount_ != 24)) return out;
    int colours = bitCount_ == 24 ? 0 : (le32(b, 46) ? le32(b, 46) : 1 << bitCount_);
    size_t paletteAt = 14 + static_cast<size_t>(headerSize);
    size_t stride = ((static_cast<size_t>(width_) * bitCount_ + 31) / 32) * 4;
    if (colours < 0 || colours > 256 || paletteAt + static_cast<size_t>(colours) * 4 > b.size() ||
        offset + stride * height_ > b.size())
        return out;
    out.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        size_t row = offset + stride * static_cast<size_t>(rawHeight > 0 ? height_ - 1 - y : y);
        for (int x = 0; x < width_; ++x) {
            uint32_t rgb;
            if (bitCount_ == 24) {
                size_t p = row + 3 * static_cast<size_t>(x);
                rgb = b[p] | (b[p + 1] << 8) | (b[p + 2] << 16);
            } else {
                int index = bitCount_ == 8 ? b[row + x] : ((b[row + x / 2] >> (x % 2 ? 0 : 4)) & 15);
                if (index >= colours) index = 0;
                size_t p = paletteAt + 4 * static_cast<size_t>(index);
                rgb = b[p] | (b[p + 1] << 8) | (b[p + 2] << 16);
            }
            out[static_cast<size_t>(y) * width_ + x] = 0xFF000000u | rgb;
        }
    }
    return out;
}

namespace {

// An uncompressed BMP file's headers for `bits` per pixel with `colours`
// palette entries, and room for the pixel rows (stride bytes each).
std::vector<uint8_t> bmpFile(int width, int height, int bits, int colours, size_t stride, size_t& pixelsAt)
{
    pixelsAt = 14 + 40 + static_cast<size_t>(colours) * 4;
    size_t size = pixelsAt + stride * height;
    std::vector<uint8_t> b(size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(size));
    put32(10, static_cast<uint32_t>(pixelsAt));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    b[26] = 1;  // planes
    b[28] = static_cast<uint8_t>(bits);
    put32(34, static_cast<uint32_t>(stride * height));
    put32(46, static_cast<uint32_t>(colours));
    return b;
}

size_t strideOf(int width, int bits)
{
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

}  // namespace

std::vector<uint8_t> TBitmap::encode4Bit(int width, int height, const std::vector<uint8_t>& indexes,
                                         const uint32_t palette[16])
{
    size_t stride = strideOf(width, 4), pixelsAt = 0;
    std::vector<uint8_t> b = bmpFile(width, height, 4, 16, stride, pixelsAt);
    for (int i = 0; i < 16; ++i) {
        // Palette entries are blue, green, red, reserved.
        uint32_t c = palette[i];
        b[54 + 4 * i] = static_cast<uint8_t>(c);
        b[55 + 4 * i] = static_cast<uint8_t>(c >> 8);
        b[56 + 4 * i] = static_cast<uint8_t>(c >> 16);
    }
    for (int y = 0; y < height; ++y) {
        size_t row = pixelsAt + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint8_t index = indexes[static_cast<size_t>(y) * width + x] & 15;
            b[row + x / 2] |= x % 2 ? index : static_cast<uint8_t>(index << 4);
        }
    }
    return b;
}

std::vector<uint8_t> TBitmap::encode24Bit(int width, int height, const std::vector<uint32_t>& colours)
{
    size_t stride = strideOf(width, 24), pixelsAt = 0;
    std::vector<uint8_t> b = bmpFile(width, height, 24, 0, stride, pixelsAt);
    for (int y = 0; y < height; ++y) {
        size_t row = pixelsAt + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t c = colours[static_cast<size_t>(y) * width + x];
            // Pixels are blue, green, red.
            b[row + 3 * x] = static_cast<uint8_t>(c);
            b[row + 3 * x + 1] = static_cast<uint8_t>(c >> 8);
            b[row + 3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    return b;
}

void TBitmap::assign(const TPersistent& source)
{
    if (const TBitmap* b = as<TBitmap>(&source)) {
        setBmpData(b->data_);
        return;
    }
    TPersistent::assign(source);
}

}  // namespace tk
