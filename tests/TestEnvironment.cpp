// What every test process sets up before its tests: the user's folders in
// a temporary folder of its own, so that no test reads or writes the real
// ~/.config/velmora or ~/.local/share/velmora; and, for the PostgreSQL runs,
// a server, without which they are skipped with the reason.
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct UserFolders {
    std::filesystem::path root;
    UserFolders()
    {
        root = std::filesystem::temp_directory_path() / ("velmora-home-" + std::to_string(getpid()));
        std::filesystem::create_directories(root);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    }
    ~UserFolders()
    {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};
const UserFolders userFolders;

// Ends the process before any test with the status ctest counts as a skip
// (the PostgreSQL runs' SKIP_RETURN_CODE), after one line saying why.
class PostgresServerNeeded : public testing::Environment {
public:
    void SetUp() override
    {
        const char* server = std::getenv("VELMORA_POSTGRES");
        if (!onPostgres() || (server && *server)) return;
        std::printf("%s\n", postgresSkipReason);
        std::fflush(stdout);
        std::_Exit(postgresSkipStatus);
    }
};
testing::Environment* const postgresServerNeeded = testing::AddGlobalTestEnvironment(new PostgresServerNeeded);

}  // namespace
