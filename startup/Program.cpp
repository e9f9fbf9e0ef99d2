// The program entry.
#include "startup/Program.h"

#include "startup/Composition.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/windows/Application.h"

#include <cstdio>
#include <filesystem>

namespace velmora {

namespace {
std::string& folder()
{
    static std::string f;
    return f;
}
}  // namespace

const std::string& executableFolder()
{
    return folder();
}

std::string runningExecutablePath()
{
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

int runProgram(tk::Platform& platform, const std::string& executablePath, Composition& composition)
{
    size_t slash = executablePath.find_last_of('/');
    folder() = slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    tk::TApplication app(platform);
    registerDesignClasses(composition.mainWindowClass());
    try {
        app.createForm(dmClientMain, [&](TdmClientMain& dm) { dm.setComposition(&composition); });
    } catch (const std::exception& e) {
        // Start-up fails before any window exists: end without a message box.
        std::fprintf(stderr, "velmora: %s\n", e.what());
        return 1;
    }
    try {
        app.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora: %s\n", e.what());
        return 1;
    }
    return dmClientMain && !dmClientMain->startupFailure().empty() ? 1 : 0;
}

}  // namespace velmora
