// A folder of a benchmark's own in the temporary folder, with its
// database; removed with everything in it when the program ends.
#pragma once

#include "../tests/TestDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

inline std::string benchFolderRemovedAtExit()
{
    static std::vector<std::string> made;
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora bench XXXXXX").string();
    std::string folder = mkdtemp(pattern.data());
    if (made.empty())
        std::atexit([] {
            for (const std::string& f : made) {
                std::error_code ec;
                std::filesystem::remove_all(f, ec);
            }
        });
    made.push_back(folder);
    return folder;
}

// A benchmark's database: a folder of its own with a new demonstration
// database (on the engine VELMORA_TEST_ENGINE names) and its data-link file.
struct BenchStore {
    std::string folder = benchFolderRemovedAtExit();
    BenchStore() { makeDemoDatabase(folder); }
    std::string udl() const { return folder + "/VelmoraDSC.udl"; }
};
