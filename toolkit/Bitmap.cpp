// Bitmaps.
#include "toolkit/Bitmap.h"

#include "toolkit/PropertyTable.h"

#include <cstdlib>

namespace tk {

TK_DEFINE_CLASS(TBitmap, TPersistent) {}

namespace {
int32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
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

void TBitmap::assign(const TPersistent& source)
{
    if (const TBitmap* b = as<TBitmap>(&source)) {
        setBmpData(b->data_);
        return;
    }
    TPersistent::assign(source);
}

}  // namespace tk
