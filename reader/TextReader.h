// Reading the text of an attached file on this machine: a PDF's own text
// where a page has one (Poppler), and by optical character recognition in
// Hungarian and English (Tesseract) from images (PNG, JPEG, TIFF, every
// page of a multi-page TIFF) and from PDF pages that are only a picture,
// rendered at 300 dpi. Each picture is turned to grey, straightened and
// made black and white before Tesseract reads it.
//
// Only velmora-read, the process the programs start for each file, links
// this: a hostile or huge file can then take that process down, never
// the clerk's program.
#pragma once

#include <string>
#include <vector>

namespace velmora {

struct ReadLimits {
    int maxPages = 50;  // pages past these are left unread, and said so
};

struct ReadText {
    enum class State {
        Done,        // every page read (a page may hold no words)
        Unreadable,  // not a type the reader reads
        Failed,      // the file is broken, or a limit was reached
        Missing,     // Tesseract's language data is not installed
    };
    State state = State::Failed;
    std::string reason;              // for every state but Done
    std::vector<std::string> pages;  // each page's text, in UTF-8
};

// The languages Tesseract reads in, as it names them.
inline constexpr const char* readerLanguages = "hun+eng";

// The reader's engines and their versions, as a row records them
// ("Tesseract 5.3.0, Poppler 22.12.0"); a text read by older engines is
// read again by velmora-admin attachments read.
std::string readerEngine();

// Reads the file at `path`, of type `mimeType`.
ReadText readFileText(const std::string& path, const std::string& mimeType, const ReadLimits& limits = {});

}  // namespace velmora
