// The designer's program entry. With a display (or Qt's offscreen platform
// named in QT_QPA_PLATFORM) it runs on Qt; without one it runs headless and
// takes its gestures from standard input (see ConsolePlatform.h).
#include "ConsolePlatform.h"
#include "app/DesignerComposition.h"
#include "gui/QtPlatform.h"
#include "toolkit/text/Locale.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    tk::setCurrentLocale(tk::Locale::fromSystem());
    std::error_code ec;
    std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
    if (!display) {
        // Numbers in stored texts always use "."; the user's separators live
        // in the locale object only.
        std::setlocale(LC_NUMERIC, "C");
        ConsolePlatform platform(std::cin, std::cout);
        return velmora::runVelmora(platform, exe);
    }
    QApplication qt(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // Qt set the process locale again
    gui::QtPlatform platform;
    return velmora::runVelmora(platform, exe);
}
