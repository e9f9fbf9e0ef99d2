// What the history's chain costs. A clerk's save (a document's subject
// changed, its history row and change row, in one transaction) with the
// chain and without it, by one clerk and by 8 saving at once (on
// PostgreSQL the 8 wait for each other on the chain's head until each
// commits). And velmora-admin verify's walk at 1,000,000 history rows, in
// rows a second, with the one-off chaining of those rows when an older
// history is first chained. VELMORA_TEST_ENGINE=postgres
// VELMORA_POSTGRES="..." runs the same on a server, where users share the
// data-link's login and the program chains (as on SQLite);
// VELMORA_TEST_ENGINE=postgres-roles with every user a role of the server,
// whose own trigger chains each row as its transaction commits.
#include "BenchFolder.h"
#include "RolesMode.h"
#include "app/DemoEntryForm.h"
#include "db/Statement.h"
#include "entry/Documents.h"
#include "registry/HistoryChain.h"
#include "registry/HistoryVerify.h"
#include "registry/RegistryTables.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int clerks = 8;
constexpr int historyRows = 1000000;

// The demonstration database with a document of each clerk's own.
const BenchStore& saving()
{
    static BenchStore s = [] {
        BenchStore made;
        velmora::addEntryDemo(made.udl());
        db::TADOConnection c(nullptr);
        openDataLink(c, made.udl());
        velmora::ensureHistoryTable(c);
        velmora::Documents documents(c, 1);
        for (int i = 0; i < clerks; ++i)
            documents.insert({{"Targy", db::Cell::text("Clerk " + std::to_string(i)), "Clerk " + std::to_string(i)}});
        c.close();
        putUnderServerRolesInRolesRun(made.udl());
        return made;
    }();
    return s;
}

// The chain on or off: off, the head's row is put aside, and the program
// chains nothing (one statement that finds no row is left of the chain).
void setChain(bool on)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, saving().udl());
    if (on) {
        db::execute(c, "Insert into HistoryChain Select 1, Origin, OriginHash, HeadNo, HeadHash from HistoryChainAside "
                       "where not exists (Select 1 from HistoryChain)");
    } else {
        db::execute(c, "Create table if not exists HistoryChainAside as Select * from HistoryChain");
        db::execute(c, "Delete from HistoryChainAside");
        db::execute(c, "Insert into HistoryChainAside Select * from HistoryChain");
        db::execute(c, "Delete from HistoryChain");
    }
}

// One clerk's saves of a change to its own document; gives the seconds.
double saveChanges(int clerk, int saves)
{
    db::TADOConnection c(nullptr);
    if (rolesRun()) c.setLogin(velmora::entryDemoLogin, velmora::entryDemoPassword);
    openDataLink(c, saving().udl());
    velmora::Documents documents(c, 1);
    int64_t id = clerk + 4;  // after the demonstration's three
    std::string shown = documents.read(id, {"Targy"}).value().at(0).s;
    auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < saves; ++n) {
        std::string next = "Clerk " + std::to_string(clerk) + " " + std::to_string(n) + " " + shown.substr(0, 8);
        if (!documents.update(id, {{"Targy", db::Cell::text(next), next}}, {{"Targy", db::Cell::text(shown), shown}}))
            throw std::runtime_error("the document changed under its clerk");
        shown = next;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A save's time, by one clerk or by each of 8 clerks saving at once, each
// a program of its own (args: the chain off or on, the clerks).
void BM_SaveAChange(benchmark::State& state)
{
    bool chained = state.range(0) != 0;
    int clerksNow = static_cast<int>(state.range(1));
    constexpr int saves = 200;
    saving();
    setChain(chained);
    double perSave = 0;
    int rounds = 0;
    for (auto _ : state) {
        std::vector<std::pair<pid_t, int>> children;
        auto start = std::chrono::steady_clock::now();
        for (int clerk = 0; clerk < clerksNow; ++clerk) {
            int fds[2];
            if (pipe(fds) != 0) std::abort();
            pid_t pid = fork();
            if (pid == 0) {
                close(fds[0]);
                double seconds = -1;
                try {
                    seconds = saveChanges(clerk, saves);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "clerk %d: %s\n", clerk, e.what());
                }
                if (write(fds[1], &seconds, sizeof seconds) != sizeof seconds) _exit(1);
                _exit(0);
            }
            close(fds[1]);
            children.push_back({pid, fds[0]});
        }
        for (auto [pid, fd] : children) {
            double seconds = -1;
            if (read(fd, &seconds, sizeof seconds) != sizeof seconds || seconds < 0)
                state.SkipWithError("a clerk's saves failed");
            close(fd);
            waitpid(pid, nullptr, 0);
            perSave += seconds / saves;
            ++rounds;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["ms a save"] = 1000 * perSave / std::max(rounds, 1);
    state.counters["saves/s"] = benchmark::Counter(static_cast<double>(rounds * saves), benchmark::Counter::kIsRate);
    state.SetLabel(chained ? "chained" : "no chain");
    setChain(true);
}
BENCHMARK(BM_SaveAChange)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, clerks})
    ->Args({1, clerks})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// A million history rows of an older version, each with one change row,
// chained once as the upgrade chains them.
const BenchStore& longHistory()
{
    static BenchStore s = [] {
        BenchStore made;
        {
            db::TADOConnection c(nullptr);
            openDataLink(c, made.udl());
            velmora::ensureHistoryTable(c);
        }
        nativeScript(made.udl(),
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
                     "INSERT INTO DocumentHistory (DocumentID, UserID, ChangedAt, Action, UserLogin) SELECT i % 3 + 1, "
                     "3, '2026-01-01 08:00:00', 'módosítás', 'ugyfel' FROM n;"
                     "INSERT INTO DocumentChange (HistoryID, ColumnName, OldValue, NewValue) SELECT HistoryID, 'Targy', "
                     "'régi ' || HistoryID, 'új ' || HistoryID FROM DocumentHistory;"
                     "DELETE FROM HistoryChain",
                     "INSERT INTO \"DocumentHistory\" (\"DocumentID\", \"UserID\", \"ChangedAt\", \"Action\", "
                     "\"UserLogin\") SELECT i % 3 + 1, 3, '2026-01-01 08:00:00', 'módosítás', 'ugyfel' FROM "
                     "generate_series(1, 1000000) i;"
                     "INSERT INTO \"DocumentChange\" (\"HistoryID\", \"ColumnName\", \"OldValue\", \"NewValue\") SELECT "
                     "\"HistoryID\", 'Targy', 'régi ' || \"HistoryID\", 'új ' || \"HistoryID\" FROM \"DocumentHistory\";"
                     "UPDATE \"DocumentHistory\" SET \"ChainNo\" = NULL, \"ChainHash\" = NULL;"
                     "DELETE FROM \"HistoryChain\"");
        db::TADOConnection c(nullptr);
        openDataLink(c, made.udl());
        if (c.isPostgres()) db::execute(c, "Update DocumentHistory set ChainNo = null, ChainHash = null");
        auto start = std::chrono::steady_clock::now();
        velmora::ensureHistoryChain(c);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "Chaining %d older rows took %.1f s (%.0f rows/s)\n", historyRows, seconds,
                     historyRows / seconds);
        return made;
    }();
    return s;
}

void BM_VerifyAMillionRows(benchmark::State& state)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, longHistory().udl());
    int64_t rows = 0;
    for (auto _ : state) {
        velmora::HistoryVerdict v = velmora::verifyHistory(c);
        if (!v.whole) state.SkipWithError(v.problem.c_str());
        rows += v.rows;
    }
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VerifyAMillionRows)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
