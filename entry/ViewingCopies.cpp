// The viewing folder.
#include "entry/ViewingCopies.h"

#include "entry/Attachments.h"
#include "entry/Refusal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

ViewingCopies::~ViewingCopies()
{
    if (folder_.empty()) return;
    std::error_code ec;
    // The copies are read-only; their folders are the program's own.
    std::filesystem::remove_all(folder_, ec);
}

std::string ViewingCopies::pathFor(int64_t id, const std::string& name)
{
    if (folder_.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string base = runtime && *runtime ? runtime : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/velmora-XXXXXX";
        // mkdtemp makes it 0700.
        if (!mkdtemp(pattern.data()))
            throw ERefused("A megnyitáshoz nem készíthető mappa: " + base + ": " + std::strerror(errno));
        folder_ = pattern;
    }
    std::string own = folder_ + "/" + std::to_string(id);
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        throw ERefused("A megnyitáshoz nem készíthető mappa: " + own + ": " + std::strerror(errno));
    std::string path = own + "/" + safeFileName(name);
    ::unlink(path.c_str());
    return path;
}

}  // namespace velmora
