// Writing form text: a component image turned into the readable text that a
// design is stored as, and the literals for strings and floats it uses.
#include "designs/FormText.h"

#include "designs/ClassicNumbers.h"
#include "designs/ImageStream.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora {

namespace {

const char* const crlf = "\r\n";

std::string generalText(long double v, int digits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Lg", digits, v);
    std::string s = buf;
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}

// One character of a string literal: printable ASCII but the quote inside
// quotes, anything else as a "#" code.
void appendLiteralChar(std::string& out, char32_t c, bool& quoted)
{
    if (c >= 32 && c <= 127 && c != U'\'') {
        if (!quoted) out += "'";
        quoted = true;
        out += static_cast<char>(c);
    } else {
        if (quoted) out += "'";
        quoted = false;
        out += "#" + std::to_string(static_cast<uint32_t>(c));
    }
}

class TextWriter {
public:
    explicit TextWriter(std::string_view image) : in_(image) {}

    std::string run()
    {
        // The text of an image is one and a half to two times its size.
        out_.reserve(in_.size() * 2);
        in_.signature();
        object(0);
        return std::move(out_);
    }

private:
    void indent(int level) { out_.append(static_cast<size_t>(2 * level), ' '); }

    void object(int level)
    {
        if (level > maxFormTextDepth) ImageReader::fail();
        uint8_t flags = 0;
        bool hasPosition = false;
        int64_t position = 0;
        if ((in_.peek() & 0xF0) == 0xF0) {
            flags = in_.byte() & 0x0F;
            if (flags & ffChildPos) {
                hasPosition = true;
                position = in_.integerOf(in_.type());
            }
        }
        std::string cls = in_.shortString();
        std::string name = in_.shortString();
        indent(level);
        out_ += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
        if (!name.empty()) out_ += name + ": ";
        out_ += cls;
        if (hasPosition) out_ += " [" + std::to_string(position) + "]";
        out_ += crlf;
        properties(level + 1);
        while (in_.peek() != 0) object(level + 1);
        in_.byte();
        indent(level);
        out_ += "end";
        out_ += crlf;
    }

    void properties(int level)
    {
        while (in_.peek() != 0) {
            std::string path = in_.shortString();
            indent(level);
            out_ += path + " = ";
            value(level);
            out_ += crlf;
        }
        in_.byte();
    }

    void value(int level)
    {
        if (level > maxFormTextDepth) ImageReader::fail();
        ValueType t = in_.type();
        switch (t) {
        case ValueType::Null: out_ += "Null"; break;
        case ValueType::False: out_ += "False"; break;
        case ValueType::True: out_ += "True"; break;
        case ValueType::Nil: out_ += "nil"; break;
        case ValueType::Ident: out_ += in_.shortString(); break;
        case ValueType::Int8:
        case ValueType::Int16:
        case ValueType::Int32:
        case ValueType::Int64: out_ += std::to_string(in_.integerOf(t)); break;
        case ValueType::Extended: out_ += extendedText(in_.extended()); break;
        case ValueType::Single: {
            uint32_t bits = static_cast<uint32_t>(in_.le(4));
            float f;
            std::memcpy(&f, &bits, 4);
            out_ += generalText(f, 15) + "s";
            break;
        }
        case ValueType::Currency:
            out_ += generalText(static_cast<long double>(static_cast<int64_t>(in_.le(8))), 15) + "c";
            break;
        case ValueType::Date: {
            uint64_t bits = in_.le(8);
            double d;
            std::memcpy(&d, &bits, 8);
            out_ += generalText(d, 15) + "d";
            break;
        }
        case ValueType::String: ansi(in_.shortString(), level); break;
        case ValueType::LString: ansi(in_.bytes(in_.le(4)), level); break;
        case ValueType::Utf8String: {
            chars_.clear();
            tk::appendCodePoints(chars_, in_.bytes(in_.le(4)));
            string(chars_, level);
            break;
        }
        case ValueType::WString: string(tk::fromUtf16le(in_.bytes(in_.le(4) * 2)), level); break;
        case ValueType::Binary: binary(in_.bytes(in_.le(4)), level); break;
        case ValueType::Set: {
            out_ += "[";
            bool first = true;
            for (std::string e = in_.shortString(); !e.empty(); e = in_.shortString()) {
                if (!first) out_ += ", ";
                out_ += e;
                first = false;
            }
            out_ += "]";
            break;
        }
        case ValueType::List:
            out_ += "(";
            while (in_.peek() != 0) {
                out_ += crlf;
                indent(level + 1);
                value(level + 1);
            }
            in_.byte();
            out_ += ")";
            break;
        case ValueType::Collection:
            out_ += "<";
            while (in_.peek() != 0) {
                out_ += crlf;
                indent(level + 1);
                out_ += "item";
                ValueType it = in_.type();
                if (it != ValueType::List) out_ += " [" + std::to_string(in_.integerOf(it)) + "]";
                if (it != ValueType::List && in_.type() != ValueType::List) ImageReader::fail();
                out_ += crlf;
                properties(level + 2);
                indent(level + 1);
                out_ += "end";
            }
            in_.byte();
            out_ += ">";
            break;
        }
    }

    void ansi(const std::string& bytes, int level)
    {
        chars_.clear();
        int page = tk::currentLocale().ansiCodePage;
        for (char c : bytes) chars_ += tk::ansiCharToUnicode(static_cast<unsigned char>(c), page);
        string(chars_, level);
    }

    // Quoted runs of printable ASCII, "#" codes for the rest, 64 characters
    // a line with " +" between lines.
    void string(const std::u32string& s, int level)
    {
        if (s.empty()) {
            out_ += "''";
            return;
        }
        if (s.size() > 64) {
            out_ += crlf;
            indent(level + 1);
        }
        int count = 0;
        bool quoted = false;
        for (char32_t c : s) {
            if (count == 64) {
                if (quoted) out_ += "'";
                quoted = false;
                out_ += " +";
                out_ += crlf;
                indent(level + 1);
                count = 0;
            }
            appendLiteralChar(out_, c, quoted);
            ++count;
        }
        if (quoted) out_ += "'";
    }

    void binary(const std::string& bytes, int level)
    {
        static const char hex[] = "0123456789ABCDEF";
        out_ += "{";
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i % 32 == 0 && bytes.size() >= 32) {
                out_ += crlf;
                indent(level + 1);
            }
            unsigned char b = static_cast<unsigned char>(bytes[i]);
            out_ += hex[b >> 4];
            out_ += hex[b & 15];
        }
        out_ += "}";
    }

    ImageReader in_;
    std::string out_;
    std::u32string chars_;  // the string being written, kept to be reused
};

}  // namespace

std::string extendedText(long double v)
{
    ClassicNumbers numbers;
    if (!std::isfinite(v)) return "0.000000000000000000";
    char buf[64];
    // 16 significant digits, then placed as a fixed-point number.
    std::snprintf(buf, sizeof buf, "%.15Le", std::fabs(v));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exponent = std::atoi(p + 1);
    // Digit k stands for 10^(exponent - k); build the integer and 18 decimals.
    std::string intPart, frac(18, '0');
    if (exponent >= 0) {
        for (int k = 0; k <= exponent; ++k) intPart += k < 16 ? digits[k] : '0';
    } else {
        intPart = "0";
    }
    bool roundUp = false;
    for (int k = 0; k < 16; ++k) {
        int place = exponent - k;  // power of ten
        if (place >= 0) continue;
        int index = -place - 1;  // position after the point
        if (index < 18) frac[index] = digits[k];
        else if (index == 18 && digits[k] >= '5') roundUp = true;
    }
    std::string number = intPart + frac;
    if (roundUp) {
        int i = static_cast<int>(number.size()) - 1;
        while (i >= 0 && number[i] == '9') number[i--] = '0';
        if (i >= 0) number[i]++;
        else number.insert(number.begin(), '1');
    }
    std::string out = number.substr(0, number.size() - 18) + "." + number.substr(number.size() - 18);
    bool zero = number.find_first_not_of('0') == std::string::npos;
    return (std::signbit(v) && !zero ? "-" : "") + out;
}

std::string stringLiteral(std::string_view utf8)
{
    std::string out;
    bool quoted = false;
    for (char32_t c : tk::toU32(utf8)) appendLiteralChar(out, c, quoted);
    if (quoted) out += "'";
    return out.empty() ? "''" : out;
}

std::string imageToFormText(std::string_view image)
{
    ClassicNumbers numbers;
    return TextWriter(image).run();
}

}  // namespace velmora
