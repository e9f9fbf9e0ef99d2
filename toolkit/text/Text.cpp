// UTF-8 helpers and case folding.
#include "toolkit/text/Text.h"

#include <cstdint>

#include "toolkit/core/Errors.h"

#include <cstdio>

namespace tk {

std::string format(const char* pattern, const std::string& a)
{
    std::string out;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            out += a;
            ++p;
        } else out += *p;
    }
    return out;
}

std::string format(const char* pattern, long long a)
{
    std::string out;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            out += std::to_string(a);
            ++p;
        } else out += *p;
    }
    return out;
}

void appendCodePoints(std::u32string& out, std::string_view utf8)
{
    forEachCodePoint(utf8, [&](char32_t cp) { out += cp; });
}

std::u32string toU32(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    appendCodePoints(out, s);
    return out;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(char32_t c)
{
    std::string out;
    appendUtf8(out, c);
    return out;
}

void appendUtf8(std::string& out, std::u32string_view text)
{
    for (char32_t c : text) appendUtf8(out, c);
}

std::string toUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendUtf8(out, text);
    return out;
}

std::u32string fromUtf16le(std::string_view b)
{
    std::u32string out;
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        char32_t u = static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < b.size()) {
            char32_t lo = static_cast<unsigned char>(b[i + 2]) | (static_cast<unsigned char>(b[i + 3]) << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                out += 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
                continue;
            }
        }
        out += u;
    }
    return out;
}

int charCount(std::string_view s)
{
    int n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string filled(std::string text, const std::vector<std::pair<std::string, std::string>>& values)
{
    for (const auto& [key, value] : values)
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
            text.replace(at, key.size(), value);
    return text;
}

std::string trimmed(std::string_view s)
{
    size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
    return std::string(s.substr(a, b - a));
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool lowersTo(std::string_view name, std::string_view lower)
{
    if (name.size() != lower.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i]) return false;
    }
    return true;
}

size_t NameHash::operator()(std::string_view s) const noexcept
{
    // FNV-1a over the bytes with A-Z folded to a-z.
    uint64_t h = 14695981039346656037ull;
    for (char c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return static_cast<size_t>(h);
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

char32_t foldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    // Latin Extended-A pairs upper/lower at even/odd code points, with a
    // shifted run between U+0139 and U+0148 and again from U+0179.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c % 2 == 0) ? c + 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    return c;
}

bool sameText(std::string_view a, std::string_view b)
{
    std::u32string x = toU32(a), y = toU32(b);
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i)
        if (foldCase(x[i]) != foldCase(y[i])) return false;
    return true;
}

bool startsWithText(std::string_view text, std::string_view prefix)
{
    std::u32string x = toU32(text), y = toU32(prefix);
    if (y.size() > x.size()) return false;
    for (size_t i = 0; i < y.size(); ++i)
        if (foldCase(x[i]) != foldCase(y[i])) return false;
    return true;
}

std::u32string foldText(std::string_view text)
{
    std::u32string out = toU32(text);
    for (char32_t& c : out) c = foldCase(c);
    return out;
}

char32_t plainLetter(char32_t c)
{
    // U+00C0 to U+017F, each letter's plain lower-case form.
    static constexpr char32_t plain[] =
        U"aaaaaaÆceeeeiiiiÐnooooo×ØuuuuyÞß"
        U"aaaaaaæceeeeiiiiðnooooo÷øuuuuyþy"
        U"aaaaaaccccccccddĐđeeeeeeeeeegggg"
        U"gggghhĦħiiiiiiiiiıĲĳjjkkĸllllllĿ"
        U"ŀŁłnnnnnnŉŊŋooooooŒœrrrrrrssssss"
        U"ssttttŦŧuuuuuuuuuuuuwwyyyzzzzzzſ";
    c = foldCase(c);
    return c >= 0xC0 && c <= 0x17F ? plain[c - 0xC0] : c;
}

std::u32string plainText(std::string_view text)
{
    std::u32string out = toU32(text);
    size_t kept = 0;
    for (char32_t c : out)
        if (!isCombiningAccent(c)) out[kept++] = plainLetter(c);
    out.resize(kept);
    return out;
}

bool matchesFolded(std::string_view s, std::u32string_view folded, bool prefixOnly)
{
    size_t i = 0, k = 0;
    while (i < s.size()) {
        if (k == folded.size()) return prefixOnly;
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size()) return false;
        cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int n = 1; n <= extra; ++n) cp = (cp << 6) | (static_cast<unsigned char>(s[i + n]) & 0x3F);
        if (foldCase(cp) != folded[k]) return false;
        i += extra + 1;
        ++k;
    }
    return k == folded.size();
}

bool isValidIdent(std::string_view s)
{
    if (s.empty()) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(s[0])) return false;
    for (char c : s.substr(1))
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

}  // namespace tk
