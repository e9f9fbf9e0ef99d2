// The program entry: the application object, the start-up data module and
// the message loop, on the platform given.
#pragma once

#include "toolkit/windows/Platform.h"

#include <string>

namespace velmora {

class Composition;

// Runs a program whose windows `composition` makes; `executablePath` is the
// full path of the program, whose folder holds the data-link file. Returns
// the exit status.
int runProgram(tk::Platform& platform, const std::string& executablePath, Composition& composition);

// The folder of the running executable, with its closing "/".
const std::string& executableFolder();

// The full path of the running executable, as the system gives it.
std::string runningExecutablePath();

}  // namespace velmora
