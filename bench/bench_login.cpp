// What a failed login costs, through the login dialog as a person meets
// it: an unknown name, a known name with a plain-text password, and a
// known name with a hashed one, each with a wrong password. The three
// should take the same time (one Argon2id verification), so that the time
// does not tell which logins exist with hashes. On SQLite, or with
// VELMORA_TEST_ENGINE=postgres on the server VELMORA_POSTGRES names; with
// VELMORA_TEST_ENGINE=postgres-roles every user is a role of the server,
// which refuses the password itself: an unknown role and a wrong password
// should then take the same time.
#include "RolesMode.h"
#include "ScriptedLogin.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include "admin/UsersAndGroups.h"
#include "app/DesignerComposition.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

struct Database {
    TempFolder folder;
    Database()
    {
        makeDemoDatabase(folder.path());
        putUnderServerRolesInRolesRun(folder.file("VelmoraDSC.udl"));
        db::TADOConnection c(nullptr);
        openDataLink(c, folder.file("VelmoraDSC.udl"));
        velmora::addUser(c, "hashed", "Iktatás", "titok");
    }
};

// One login through the designer's dialog; the exit status.
int login(const Database& d, const std::string& name, const std::string& password)
{
    tk::HeadlessPlatform p;
    scriptLogin(p, name, password);
    return velmora::runVelmora(p, d.folder.file("velmora"));
}

void BM_FailedLogin(benchmark::State& state, const char* name)
{
    Database d;
    // Start-up's failures go to standard error; not once a round here.
    int saved = dup(STDERR_FILENO);
    std::FILE* null = std::freopen("/dev/null", "w", stderr);
    for (auto _ : state)
        if (login(d, name, "rossz jelszó") == 0) state.SkipWithError("the login opened the program");
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    (void)null;
}
BENCHMARK_CAPTURE(BM_FailedLogin, unknown_login, "senki")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_FailedLogin, plain_text_password, "demo")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_FailedLogin, hashed_password, "hashed")->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
