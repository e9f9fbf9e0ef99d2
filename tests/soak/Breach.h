// A soak's finding: what broke, reported with the seed and the gesture.
#pragma once

#include <string>

struct Breach {
    std::string what;
};

[[noreturn]] inline void breach(const std::string& what)
{
    throw Breach{what};
}
