// What velmora-read tells the program that started it, on its standard
// output: a few header lines, then the text of each page.
//
//   velmora-read 1
//   state: done | unreadable | failed | missing
//   engine: Tesseract 5.3.0, Poppler 22.12.0
//   languages: hun+eng
//   pages: 2
//   reason: a line, for every state but done (or a note on a done one)
//   text:
//   page 1's text<FF>page 2's text
//
// A page's text holds no form feed (FF, U+000C), which parts the pages.
// The program reads it as outside data: a reader taken over by a hostile
// file could write anything here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct ReaderOutput {
    std::string state;  // one of the four above
    std::string engine, languages, reason;
    std::vector<std::string> pages;
};

std::string writeReaderOutput(const ReaderOutput& output);
// Nothing for output that does not keep to the form above, or that says
// a state, a page count or text that do not agree.
std::optional<ReaderOutput> parseReaderOutput(std::string_view bytes);

}  // namespace velmora
