// The entry of a program with windows: with a display (or Qt's offscreen
// platform named in QT_QPA_PLATFORM) it runs on Qt; without one it runs
// headless and takes its gestures from standard input (ConsolePlatform.h).
#pragma once

#include "toolkit/windows/Platform.h"

#include <string>

// `run` is the program: given the platform and the executable's full path,
// it returns the exit status.
int programMain(int argc, char** argv, int (*run)(tk::Platform&, const std::string&));
