// velmora-read: reads the text of one attached file and writes it to its
// standard output (registry/ReaderOutput.h). The programs start it for
// each file with limits on its time and memory, so that a hostile or huge
// file stops this process alone.
//
//   velmora-read [--max-pages N] MIME-TYPE FILE
//   velmora-read --engine      (the engines' names and versions)
#include "reader/TextReader.h"
#include "registry/ReaderOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--engine") == 0) {
        std::printf("%s\n", velmora::readerEngine().c_str());
        return 0;
    }
    velmora::ReadLimits limits;
    int at = 1;
    if (argc > 2 && std::strcmp(argv[1], "--max-pages") == 0) {
        limits.maxPages = std::max(1, std::atoi(argv[2]));
        at = 3;
    }
    if (argc - at != 2) {
        std::fprintf(stderr, "usage: velmora-read [--max-pages N] MIME-TYPE FILE\n");
        return 2;
    }
    velmora::ReadText read = velmora::readFileText(argv[at + 1], argv[at], limits);
    velmora::ReaderOutput out;
    switch (read.state) {
    case velmora::ReadText::State::Done: out.state = "done"; break;
    case velmora::ReadText::State::Unreadable: out.state = "unreadable"; break;
    case velmora::ReadText::State::Failed: out.state = "failed"; break;
    case velmora::ReadText::State::Missing: out.state = "missing"; break;
    }
    out.engine = velmora::readerEngine();
    out.languages = velmora::readerLanguages;
    out.reason = read.reason;
    out.pages = std::move(read.pages);
    std::string bytes = velmora::writeReaderOutput(out);
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
