// Clocks a test sets: a program's under libfaketime, and a PostgreSQL
// server of the test's own whose clock is set the same way.
#pragma once

#include "EngineShell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// libfaketime's library, which sets a program's clock.
inline std::string fakeTimeLibrary()
{
    for (const char* dir : {"/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib"})
        if (std::filesystem::exists(std::string(dir) + "/faketime/libfaketime.so.1"))
            return std::string(dir) + "/faketime/libfaketime.so.1";
    return {};
}

// Environment settings that start a program's clock at `moment` (UTC).
inline std::string clockAt(const std::string& moment)
{
    return "env TZ=UTC ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" LD_PRELOAD='" + fakeTimeLibrary() +
           "' FAKETIME='@" + moment + "' ";
}

// A PostgreSQL server of the test's own, whose clock the test sets.
class ClockedServer {
public:
    ClockedServer()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-clock-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
        FILE* started = popen(("'" + std::string(VELMORA_PG_SERVER) + "' start " + dir_ + " 2>&1").c_str(), "r");
        auto [ok, conninfo] = finishShell(started);
        if (ok) conninfo_ = conninfo.substr(0, conninfo.find('\n'));
        else ADD_FAILURE() << conninfo;
    }
    ~ClockedServer()
    {
        std::system(("'" + std::string(VELMORA_PG_SERVER) + "' stop " + dir_ + " >/dev/null 2>&1").c_str());
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& conninfo() const { return conninfo_; }
    // Restarts the server with its clock at `moment` (UTC).
    void setClock(const std::string& moment)
    {
        FILE* p =
            popen(("'" + std::string(VELMORA_PG_SERVER) + "' clock " + dir_ + " '" + moment + "' 2>&1").c_str(), "r");
        auto [ok, said] = finishShell(p);
        EXPECT_TRUE(ok) << said;
    }

private:
    std::string dir_, conninfo_;
};
