// What velmora-admin says when it refuses a command: each command checks
// everything first and changes nothing when it refuses.
#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// What a command says, and whether it ends in a refusal (exit status 1).
struct CommandResult {
    std::string text;  // what to print
    bool refused = false;
};

class ERefusedAdmin : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velmora
