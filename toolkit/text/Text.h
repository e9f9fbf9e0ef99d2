// UTF-8 helpers: code point access, case folding for name comparison.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tk {

// Calls `f(code point)` for each character of `utf8`; a byte that does not
// start a whole sequence gives U+FFFD and decoding goes on after it.
template <class F>
void forEachCodePoint(std::string_view utf8, F f)
{
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        int extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            f(U'\uFFFD');
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                ok = false;
                break;
            }
            unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        // An overlong form ("/" as C0 AF), a surrogate or a code point past
        // U+10FFFF is no character: it would let a byte that was checked
        // for ("/", ".") through in disguise.
        static constexpr char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < shortest[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)) ok = false;
        if (!ok) {
            f(U'\uFFFD');
            ++i;
            continue;
        }
        f(cp);
        i += static_cast<size_t>(extra) + 1;
    }
}

std::u32string toU32(std::string_view utf8);
std::string toUtf8(std::u32string_view text);
std::string toUtf8(char32_t c);
// The same conversions appended to a buffer the caller keeps and reuses.
void appendCodePoints(std::u32string& out, std::string_view utf8);
void appendUtf8(std::string& out, std::u32string_view text);
void appendUtf8(std::string& out, char32_t c);
// UTF-16LE bytes to code points; a lone surrogate stays as it is.
std::u32string fromUtf16le(std::string_view bytes);
// Number of code points.
int charCount(std::string_view utf8);

// Lower-cases the letters A to Z only; accented letters keep their case.
std::string lowerAscii(std::string_view s);
// The text without the blanks and control characters at its ends.
std::string trimmed(std::string_view s);
// The text with each key of `values` ("{NAME}") put in its place, every
// time it stands there; a value is not searched again for keys after it.
std::string filled(std::string text, const std::vector<std::pair<std::string, std::string>>& values);
// Names of components, properties, classes and handlers: equal ignoring A-Z case.
bool sameName(std::string_view a, std::string_view b);
// Whether lowerAscii(name) == lower, without making the lower-cased copy.
bool lowersTo(std::string_view name, std::string_view lower);
// Hash and equality of names for unordered containers keyed by name: both
// fold A-Z, so lookups take any letter case without a lower-cased copy.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept;
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return sameName(a, b); }
};

// Case folding for user texts (combo box items, searches): ASCII, Latin-1 and
// Latin Extended-A letters, so "Ő" matches "ő".
char32_t foldCase(char32_t c);
bool sameText(std::string_view a, std::string_view b);
bool startsWithText(std::string_view text, std::string_view prefix);
// The same comparisons against a text folded once in advance (foldCase of
// each character), without allocating: for searches over many rows.
std::u32string foldText(std::string_view text);
bool matchesFolded(std::string_view text, std::u32string_view folded, bool prefixOnly);
// A letter folded and without its accent ("Ű" and "ű" give "u"), for
// searches that clerks type without accents; letters with no plain form
// ("ß", "ø") stay as folded.
char32_t plainLetter(char32_t c);
// Each letter plain, and the combining accents (U+0300 to U+036F) left
// out, so that a text in decomposed form (NFD: "o" and U+030B) reads as
// its composed form does ("ő", then "o").
std::u32string plainText(std::string_view text);
inline bool isCombiningAccent(char32_t c)
{
    return c >= 0x300 && c <= 0x36F;
}

// True for a Pascal-style identifier: a letter or "_", then letters, digits, "_".
bool isValidIdent(std::string_view s);

}  // namespace tk
