// Conversion between UTF-8 and the Windows ANSI code page (1250 for
// Hungarian; other pages are read as Latin-1).
#include "toolkit/text/CodePage.h"

#include "toolkit/text/Text.h"

namespace tk {

namespace {
// Windows-1250, bytes 0x80 to 0xFF. The five bytes the page leaves
// undefined map to the control characters of the same number, as Windows does.
const char16_t cp1250[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
}  // namespace

char32_t ansiCharToUnicode(unsigned char byte, int codePage)
{
    if (byte < 0x80 || codePage != 1250) return byte;
    return cp1250[byte - 0x80];
}

std::string ansiToUtf8(std::string_view bytes, int codePage)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) out += toUtf8(ansiCharToUnicode(static_cast<unsigned char>(c), codePage));
    return out;
}

int unicodeToAnsiChar(char32_t c, int codePage)
{
    if (c < 0x80) return static_cast<int>(c);
    if (codePage != 1250) return c <= 0xFF ? static_cast<int>(c) : -1;
    for (int i = 0; i < 128; ++i)
        if (cp1250[i] == c) return 0x80 + i;
    return -1;
}

std::string utf8ToAnsi(std::string_view utf8, int codePage, bool* lossy)
{
    std::string out;
    if (lossy) *lossy = false;
    for (char32_t c : toU32(utf8)) {
        int b = unicodeToAnsiChar(c, codePage);
        if (b < 0) {
            if (lossy) *lossy = true;
            b = '?';
        }
        out += static_cast<char>(b);
    }
    return out;
}

bool isValidUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
        for (int k = 1; k <= extra; ++k)
            if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace tk
