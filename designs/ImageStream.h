// The component image: the binary encoding of a component tree (signature
// "TPF0", then the root object). Value types and the primitives that read
// and write them, with the encoding choices the writers make.
//
// Every number is little-endian. A short string is one length byte (0 to
// 255) and that many bytes.
//
// The image, and each object in it:
//
//   Offset  Size  What
//   0       4     "TPF0"
//   4       ...   the root object
//
//   object   [prefix] class name (short string), component name (short
//            string), properties, 0x00, child objects, 0x00
//   prefix   only when the first byte's high nibble is 0xF: 0xF0 | flags
//            (1 inherited, 2 child position, 4 inline); with flag 2 an
//            integer value follows (the position), read and passed over
//   property name (short string, dotted for a nested object's property),
//            then a value
//
// A value is its type byte, then:
//
//   Type              Byte  Bytes that follow
//   Null              0     none (in a list it ends the list)
//   List              1     values, then 0x00
//   Int8              2     1, signed
//   Int16             3     2, signed
//   Int32             4     4, signed
//   Extended          5     10: an 80-bit float (64-bit mantissa with its
//                           integer bit, then sign and 15-bit exponent)
//   String            6     a short string, ANSI or ASCII
//   Ident             7     a short string (a name; False, True, Null and
//                           nil are written as their own types instead)
//   False, True       8, 9  none
//   Binary            10    4-byte length, then that many bytes
//   Set               11    short strings, one a member, then 0x00
//   LString           12    4-byte length, then that many bytes
//   Nil               13    none
//   Collection        14    items, each [an integer value: its index],
//                           a List type byte, properties and 0x00; then
//                           0x00 (the writer writes no index)
//   Single            15    4: an IEEE float
//   Currency          16    8: the amount times 10,000, signed
//   Date              17    8: an IEEE double, days since 1899-12-30
//   WString           18    4-byte count of UTF-16 units, then 2 bytes each
//   Int64             19    8, signed
//   Utf8String        20    4-byte length, then that many UTF-8 bytes
//
// The writer picks the smallest integer type that holds a number, String
// (LString beyond 255 bytes) for ASCII text, Utf8String for other text (or
// WString where UTF-16 takes no more bytes).
#pragma once

#include "toolkit/core/Errors.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A component image or form text that cannot be read.
class EReadError : public tk::Error {
    using tk::Error::Error;
};

enum class ValueType : uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
    Utf8String = 20
};

// Object prefix flags.
constexpr uint8_t ffInherited = 1, ffChildPos = 2, ffInline = 4;

class ImageWriter {
public:
    std::string& bytes() { return out_; }
    void signature() { out_ += "TPF0"; }
    void byte(uint8_t b) { out_ += static_cast<char>(b); }
    void shortString(std::string_view s);  // raises when longer than 255 bytes
    void le(uint64_t v, int bytes);
    void type(ValueType t) { byte(static_cast<uint8_t>(t)); }
    // The smallest of Int8, Int16, Int32; Int64 only outside 32 bits.
    void integer(int64_t v);
    // False, True, Null and nil (any letter case) have types of their own.
    void ident(std::string_view name);
    // UTF-8 text: String or LString when all ASCII, else Utf8String, or
    // WString when `preferWide` and UTF-8 takes twice the characters or more.
    void string(std::string_view utf8, bool preferWide);
    // Bytes of a one-byte character set (ANSI text): String or LString.
    void ansiString(std::string_view bytes);
    void binary(std::string_view bytes);
    void extended(long double v);
    void single(float v);
    void currency(int64_t timesTenThousand);
    void date(double v);

private:
    std::string out_;
};

class ImageReader {
public:
    explicit ImageReader(std::string_view data) : data_(data) {}
    bool atEnd() const { return pos_ >= data_.size(); }
    size_t size() const { return data_.size(); }
    size_t position() const { return pos_; }
    [[noreturn]] static void fail();
    void signature();
    uint8_t byte();
    uint8_t peek() const;
    uint64_t le(int bytes);
    std::string shortString();
    std::string bytes(uint64_t count);
    ValueType type();
    // Integers of any integer type.
    int64_t integerOf(ValueType t);
    long double extended();

private:
    std::string_view data_;
    size_t pos_ = 0;
};

// 80-bit extended floats, little-endian.
void encodeExtended(long double v, unsigned char out[10]);
long double decodeExtended(const unsigned char in[10]);

}  // namespace velmora
