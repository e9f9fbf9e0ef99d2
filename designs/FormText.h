// The form text: the readable form of a component image in which designs
// are stored. Both conversions use "." as the decimal separator whatever
// the locale, and read strings' bytes above 127 in the ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Text to image; a text that breaks the grammar raises EReadError with
// "<what> on line <n>".
std::string formTextToImage(std::string_view text);
// Image to text; a broken image raises EReadError("Invalid stream format").
std::string imageToFormText(std::string_view image);

// A string as the writer puts it, on one line: 'Mez'#337'n'#233'v:'.
std::string stringLiteral(std::string_view utf8);

// The text of a float as the writer puts it: 16 significant digits,
// exactly 18 decimals.
std::string extendedText(long double v);

}  // namespace velmora
