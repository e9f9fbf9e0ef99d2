// What a tool says about its own use: `--help` prints the usage with one
// line per command or option and exits 0, `--version` prints the version;
// an unknown option or a missing argument prints the usage on standard
// error and exits 2.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

struct Usage {
    std::string program;
    std::string synopsis;                                    // after "usage: PROGRAM "
    std::vector<std::pair<std::string, std::string>> lines;  // a command or option, what it does
};

// The version of every program of this build.
const char* programVersion();

// The usage on standard error; returns the exit status 2.
int usageError(const Usage& usage);

// Answers `--help` and `--version` when one of them is the only argument:
// the exit status 0; otherwise none, and the program goes on.
std::optional<int> answerHelpOrVersion(const Usage& usage, int argc, char** argv);

}  // namespace velmora
