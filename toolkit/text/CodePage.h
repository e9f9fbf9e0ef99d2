// The Windows ANSI code page of stored texts and data-link files
// (Windows-1250 on a Hungarian system) and UTF-8, the program's own.
#pragma once

#include <string>
#include <string_view>

namespace tk {

char32_t ansiCharToUnicode(unsigned char byte, int codePage);
// The byte that stands for `c` in the code page, or -1 when there is none.
int unicodeToAnsiChar(char32_t c, int codePage);
std::string ansiToUtf8(std::string_view bytes, int codePage);
// Characters the code page lacks become "?" and set `*lossy`.
std::string utf8ToAnsi(std::string_view utf8, int codePage, bool* lossy = nullptr);
bool isValidUtf8(std::string_view s);

}  // namespace tk
