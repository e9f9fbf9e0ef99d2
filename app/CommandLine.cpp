// --help, --version and misuse of the command-line programs.
#include "app/CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace velmora {

namespace {

void print(std::FILE* out, const Usage& usage)
{
    std::fprintf(out, "usage: %s%s%s\n", usage.program.c_str(), usage.synopsis.empty() ? "" : " ",
                 usage.synopsis.c_str());
    size_t width = 0;
    for (const auto& [what, _] : usage.lines) width = std::max(width, what.size());
    for (const auto& [what, meaning] : usage.lines)
        std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width), what.c_str(), meaning.c_str());
}

}  // namespace

const char* programVersion()
{
    return VELMORA_VERSION;
}

int usageError(const Usage& usage)
{
    print(stderr, usage);
    return 2;
}

std::optional<int> answerHelpOrVersion(const Usage& usage, int argc, char** argv)
{
    if (argc != 2) return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0) {
        print(stdout, usage);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", usage.program.c_str(), programVersion());
        return 0;
    }
    return std::nullopt;
}

}  // namespace velmora
