// Choosing the platform a program runs on.
#include "app/ProgramMain.h"

#include "ConsolePlatform.h"
#include "gui/QtPlatform.h"
#include "startup/Program.h"
#include "toolkit/text/Locale.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>
#include <iostream>

int programMain(int argc, char** argv, int (*run)(tk::Platform&, const std::string&))
{
    std::setlocale(LC_ALL, "");
    tk::setCurrentLocale(tk::Locale::fromSystem());
    std::string exe = velmora::runningExecutablePath();
    bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
    if (!display) {
        // Numbers in stored texts always use "."; the user's separators live
        // in the locale object only.
        std::setlocale(LC_NUMERIC, "C");
        ConsolePlatform platform(std::cin, std::cout);
        return run(platform, exe);
    }
    QApplication qt(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // Qt set the process locale again
    gui::QtPlatform platform;
    return run(platform, exe);
}
