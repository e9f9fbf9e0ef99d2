// TBitmap: a picture held as the bytes of a Windows BMP file (the glyphs of
// buttons). Width, height and colour depth are read from its header.
#pragma once

#include "toolkit/core/Object.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tk {

class TBitmap : public TPersistent {
    TK_CLASS(TBitmap)
public:
    const std::vector<uint8_t>& bmpData() const { return data_; }
    // Takes the bytes of a BMP file; anything without a readable header
    // leaves an empty picture.
    void setBmpData(std::vector<uint8_t> bytes);
    bool empty() const { return width_ == 0 || height_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bitCount() const { return bitCount_; }
    void assign(const TPersistent& source) override;

    // Pixels as 0xAARRGGBB, top row first; empty for a format other than
    // uncompressed 4, 8 or 24 bits.
    std::vector<uint32_t> pixels() const;
    // A 16-colour BMP file from palette indexes (top row first).
    static std::vector<uint8_t> encode4Bit(int width, int height, const std::vector<uint8_t>& indexes,
                                           const uint32_t palette[16]);

    // A 24-bit BMP file from 0xRRGGBB colours (top row first).
    static std::vector<uint8_t> encode24Bit(int width, int height, const std::vector<uint32_t>& colours);

    std::function<void()> onChange;

private:
    std::vector<uint8_t> data_;
    int width_ = 0, height_ = 0, bitCount_ = 0;
};

}  // namespace tk
