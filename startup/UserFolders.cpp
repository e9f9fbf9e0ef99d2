// Where a program finds its data-link file, and where velmora-initdb puts
// the database and the file without a folder named.
#include "startup/UserFolders.h"

#include "startup/Schema.h"

#include <cstdlib>
#include <filesystem>

namespace velmora {

namespace {

// $VARIABLE/velmora when the variable holds an absolute path, else
// $HOME/FALLBACK/velmora.
std::string xdgFolder(const char* variable, const char* fallback)
{
    const char* set = std::getenv(variable);
    if (set && *set == '/') return std::string(set) + "/velmora";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/" + fallback + "/velmora";
    return {};
}

}  // namespace

std::string userConfigFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string userDataFolder()
{
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

std::string dataLinkFilePath(const std::string& executableFolder)
{
    std::string beside = executableFolder + sql::dataLinkFileName;
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside;
    if (std::string config = userConfigFolder(); !config.empty()) {
        std::string user = config + "/" + sql::dataLinkFileName;
        if (std::filesystem::exists(user, ec)) return user;
    }
    return beside;
}

}  // namespace velmora
