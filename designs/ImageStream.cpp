// Reading and writing the values of a component image.
#include "designs/ImageStream.h"

#include "toolkit/text/Text.h"

#include <cmath>
#include <cstring>

namespace velmora {

void ImageWriter::shortString(std::string_view s)
{
    if (s.size() > 255) throw EReadError("Invalid stream format");
    byte(static_cast<uint8_t>(s.size()));
    out_ += s;
}

void ImageWriter::le(uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) byte(static_cast<uint8_t>(v >> (8 * i)));
}

void ImageWriter::integer(int64_t v)
{
    if (v >= -128 && v <= 127) {
        type(ValueType::Int8);
        le(static_cast<uint64_t>(v), 1);
    } else if (v >= -32768 && v <= 32767) {
        type(ValueType::Int16);
        le(static_cast<uint64_t>(v), 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
        type(ValueType::Int32);
        le(static_cast<uint64_t>(v), 4);
    } else {
        type(ValueType::Int64);
        le(static_cast<uint64_t>(v), 8);
    }
}

void ImageWriter::ident(std::string_view name)
{
    if (tk::sameName(name, "False")) type(ValueType::False);
    else if (tk::sameName(name, "True")) type(ValueType::True);
    else if (tk::sameName(name, "Null")) type(ValueType::Null);
    else if (tk::sameName(name, "nil")) type(ValueType::Nil);
    else {
        type(ValueType::Ident);
        shortString(name);
    }
}

void ImageWriter::ansiString(std::string_view bytes)
{
    if (bytes.size() <= 255) {
        type(ValueType::String);
        shortString(bytes);
    } else {
        type(ValueType::LString);
        le(bytes.size(), 4);
        out_ += bytes;
    }
}

void ImageWriter::string(std::string_view utf8, bool preferWide)
{
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return ansiString(utf8);
    // Wide when UTF-16 takes no more bytes than UTF-8 would.
    size_t chars = 0, units = 0;
    tk::forEachCodePoint(utf8, [&](char32_t c) {
        ++chars;
        units += c >= 0x10000 ? 2 : 1;
    });
    if (preferWide && utf8.size() >= 2 * chars) {
        type(ValueType::WString);
        le(units, 4);
        tk::forEachCodePoint(utf8, [&](char32_t c) {
            if (c >= 0x10000) {
                le(0xD800 + ((c - 0x10000) >> 10), 2);
                le(0xDC00 + ((c - 0x10000) & 0x3FF), 2);
            } else {
                le(c, 2);
            }
        });
        return;
    }
    type(ValueType::Utf8String);
    le(utf8.size(), 4);
    out_ += utf8;
}

void ImageWriter::binary(std::string_view bytes)
{
    type(ValueType::Binary);
    le(bytes.size(), 4);
    out_ += bytes;
}

void ImageWriter::extended(long double v)
{
    type(ValueType::Extended);
    unsigned char b[10];
    encodeExtended(v, b);
    out_.append(reinterpret_cast<char*>(b), 10);
}

void ImageWriter::single(float v)
{
    type(ValueType::Single);
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    le(bits, 4);
}

void ImageWriter::currency(int64_t timesTenThousand)
{
    type(ValueType::Currency);
    le(static_cast<uint64_t>(timesTenThousand), 8);
}

void ImageWriter::date(double v)
{
    type(ValueType::Date);
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    le(bits, 8);
}

void ImageReader::fail()
{
    throw EReadError("Invalid stream format");
}

void ImageReader::signature()
{
    if (data_.substr(0, 4) != "TPF0") fail();
    pos_ = 4;
}

uint8_t ImageReader::byte()
{
    if (pos_ >= data_.size()) fail();
    return static_cast<uint8_t>(data_[pos_++]);
}

uint8_t ImageReader::peek() const
{
    if (pos_ >= data_.size()) fail();
    return static_cast<uint8_t>(data_[pos_]);
}

uint64_t ImageReader::le(int bytes)
{
    if (pos_ > data_.size() || data_.size() - pos_ < static_cast<size_t>(bytes)) fail();
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(data_[pos_ + i])) << (8 * i);
    pos_ += bytes;
    return v;
}

std::string ImageReader::shortString()
{
    return bytes(byte());
}

std::string ImageReader::bytes(uint64_t count)
{
    // Never more than the image holds.
    if (count > data_.size() - pos_) fail();
    std::string s(data_.substr(pos_, count));
    pos_ += count;
    return s;
}

ValueType ImageReader::type()
{
    uint8_t t = byte();
    if (t > static_cast<uint8_t>(ValueType::Utf8String)) fail();
    return static_cast<ValueType>(t);
}

int64_t ImageReader::integerOf(ValueType t)
{
    switch (t) {
    case ValueType::Int8: return static_cast<int8_t>(le(1));
    case ValueType::Int16: return static_cast<int16_t>(le(2));
    case ValueType::Int32: return static_cast<int32_t>(le(4));
    case ValueType::Int64: return static_cast<int64_t>(le(8));
    default: fail();
    }
}

long double ImageReader::extended()
{
    std::string b = bytes(10);
    return decodeExtended(reinterpret_cast<const unsigned char*>(b.data()));
}

void encodeExtended(long double v, unsigned char out[10])
{
    std::memset(out, 0, 10);
    uint16_t signExp = 0;
    uint64_t mantissa = 0;
    if (std::signbit(v)) signExp = 0x8000;
    long double a = std::fabs(v);
    if (std::isnan(v)) {
        signExp |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(v)) {
        signExp |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (a != 0) {
        int e;
        long double m = std::frexp(a, &e);  // a = m * 2^e, 0.5 <= m < 1
        int biased = e - 1 + 16383;
        if (biased <= 0) {
            m = std::ldexp(m, biased - 1);  // denormal
            biased = 0;
        }
        mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        signExp |= static_cast<uint16_t>(biased);
    }
    for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(mantissa >> (8 * i));
    out[8] = static_cast<unsigned char>(signExp);
    out[9] = static_cast<unsigned char>(signExp >> 8);
}

long double decodeExtended(const unsigned char in[10])
{
    uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i) mantissa |= static_cast<uint64_t>(in[i]) << (8 * i);
    uint16_t signExp = static_cast<uint16_t>(in[8] | (in[9] << 8));
    bool negative = signExp & 0x8000;
    int exp = signExp & 0x7FFF;
    long double v;
    if (exp == 0x7FFF) v = mantissa << 1 ? NAN : INFINITY;
    else if (exp == 0 && mantissa == 0) v = 0;
    else v = std::ldexp(static_cast<long double>(mantissa), (exp == 0 ? 1 : exp) - 16383 - 63);
    return negative ? -v : v;
}

}  // namespace velmora
