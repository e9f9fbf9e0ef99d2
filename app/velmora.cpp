// The designer's program entry.
#include "ConsolePlatform.h"
#include "startup/Program.h"
#include "toolkit/Locale.h"

#include <clocale>
#include <filesystem>
#include <iostream>

int main()
{
    std::setlocale(LC_ALL, "");
    tk::setCurrentLocale(tk::Locale::fromSystem());
    // Numbers in stored texts always use "."; the user's separators live in
    // the locale object only.
    std::setlocale(LC_NUMERIC, "C");
    std::error_code ec;
    std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    // Without the Qt front end the designer runs headless, its input read
    // from standard input (see ConsolePlatform.h).
    ConsolePlatform platform(std::cin, std::cout);
    return velmora::runVelmora(platform, exe);
}
