// Importing a register through velmora-admin import, as an office runs it:
// the entry demonstration group's form (a number, a text, a date, a yes/no
// box and a dictionary), a CSV file of 10,000 and 100,000 rows, each row
// checked by the form's rules and stored with its history row, the search
// text's triggers and the batch, in one transaction. Goals: 100,000 rows in
// under 10 s on SQLite and under 30 s on PostgreSQL
// (VELMORA_TEST_ENGINE=postgres VELMORA_POSTGRES="..."), with the peak
// memory of the importing program flat in the file's length (it is read a
// piece at a time). Each figure is one run of the real program; peak_rss_MB
// is its maximum resident size.
#include "../tests/TestDatabase.h"
#include "BenchFolder.h"
#include "app/DemoEntryForm.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

const BenchStore& store()
{
    static BenchStore s = [] {
        BenchStore made;
        velmora::addEntryDemo(made.udl());
        std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, made.folder + "/velmora-admin");
        std::filesystem::permissions(made.folder + "/velmora-admin", std::filesystem::perms::owner_all);
        return made;
    }();
    return s;
}

// A register of `rows` rows, numbered from `first`.
std::string registerFile(int rows, int first)
{
    std::string path = store().folder + "/register-" + std::to_string(rows) + ".csv";
    std::ofstream out(path, std::ios::binary);
    const char* kinds[] = {"Panasz", "Árajánlat", "Megrendelés", "Reklamáció", ""};
    out << "Iktatószám;Tárgy;Érkezett;Lezárt;Ügytípus\r\n";
    for (int i = 0; i < rows; ++i)
        out << first + i << ";Beérkezett levél " << i << " ügyében;2026." << 1 + i % 12 << "." << 1 + i % 28 << ".;"
            << (i % 3 ? "Nem" : "Igen") << ";" << kinds[i % 5] << "\r\n";
    return path;
}

// Runs velmora-admin import on `file`; its peak resident size in bytes.
long importPeakRss(const std::string& file)
{
    std::string admin = store().folder + "/velmora-admin";
    std::vector<std::string> words = {admin, "import", "Ügyfélszolgálat", file, "--user", "ugyfel"};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, admin.c_str(), &actions, nullptr, argv.data(), environ) != 0) std::abort();
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
    return usage.ru_maxrss * 1024;
}

void BM_ImportRegister(benchmark::State& state)
{
    static int next = 100000;
    int rows = static_cast<int>(state.range(0));
    long peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string file = registerFile(rows, next);
        next += rows;
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        peak = importPeakRss(file);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImportRegister)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
