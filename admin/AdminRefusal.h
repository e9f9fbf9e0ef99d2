// What velmora-admin says when it refuses a command: each command checks
// everything first and changes nothing when it refuses.
#pragma once

#include <stdexcept>

namespace velmora {

class ERefusedAdmin : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velmora
