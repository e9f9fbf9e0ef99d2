// Attachments: adding a 100 MiB file (goal 2 s on SQLite, peak memory of
// the process under 64 MiB, shown as the counter peak_rss_MiB), reading it
// back with its checksum, and listing a document's 50 files (goal 20 ms).
// VELMORA_TEST_ENGINE=postgres VELMORA_POSTGRES="..." runs the same on a
// server.
#include "../tests/NoiseFile.h"
#include "../tests/TempFolder.h"
#include "../tests/TestDatabase.h"
#include "entry/Attachments.h"
#include "entry/History.h"
#include "registry/RegistryTables.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sys/resource.h>

namespace {

struct Store {
    TempFolder folder;
    db::TADOConnection connection{nullptr};
    std::string bigFile;
    Store()
    {
        makeDemoDatabase(folder.path());
        openDataLink(connection, folder.file("VelmoraDSC.udl"));
        velmora::ensureHistoryTable(connection);
        velmora::ensureAttachmentTables(connection);
        bigFile = folder.file("scan.pdf");
        writeNoiseFile(bigFile, 100);
    }
};

Store& store()
{
    static Store s;
    return s;
}

double peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_AddHundredMiB(benchmark::State& state)
{
    Store& s = store();
    velmora::Attachments files(s.connection, 1, "demo");
    for (auto _ : state) benchmark::DoNotOptimize(files.add(1, s.bigFile));
    state.counters["peak_rss_MiB"] = peakRssMiB();
}
BENCHMARK(BM_AddHundredMiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadBackHundredMiB(benchmark::State& state)
{
    Store& s = store();
    velmora::Attachments files(s.connection, 1, "demo");
    velmora::Attachment big = files.add(1, s.bigFile);
    for (auto _ : state) {
        size_t bytes = 0;
        files.read(big, [&](std::string_view chunk) { bytes += chunk.size(); });
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["peak_rss_MiB"] = peakRssMiB();
}
BENCHMARK(BM_ReadBackHundredMiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListFiftyAttachments(benchmark::State& state)
{
    Store& s = store();
    velmora::Attachments files(s.connection, 1, "demo");
    std::string small = s.folder.file("levél.txt");
    for (size_t i = files.list(2).size(); i < 50; ++i) {
        std::ofstream(small, std::ios::binary) << "Levél " << i << "\n";
        files.add(2, small);
    }
    for (auto _ : state) benchmark::DoNotOptimize(files.list(2));
    state.counters["files"] = static_cast<double>(files.list(2).size());
}
BENCHMARK(BM_ListFiftyAttachments)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
