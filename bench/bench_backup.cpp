// How long a clerk's save waits while the database of 1,000,000 documents
// is copied. A clerk (a child process with a connection of its own) saves
// a document every 5 ms; meanwhile the database is copied, and the
// benchmark prints the longest and the 99th percentile wait of the saves
// that ran during the copy, beside the saves' wait without a copy.
//
// On SQLite: velmora-admin backup's copy (write-ahead log, one snapshot,
// in steps), and beside it the one-step copy of a rollback-journal file
// that the program made before. On PostgreSQL: pg_dump of the schema, the
// server's own copy. Goal: no save waits more than 100 ms.
//
// The store is made once and kept in $XDG_CACHE_HOME/velmora-bench (or
// ~/.cache/velmora-bench); on PostgreSQL as the schema velmora_bench_backup
// of the server VELMORA_POSTGRES names (VELMORA_TEST_ENGINE=postgres).
#include "../tests/TestDatabase.h"
#include "db/PostgresDialect.h"
#include "registry/SearchText.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int documentCount = 1000000;
const char* const schema = "velmora_bench_backup";

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string storeFolder()
{
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    std::string base = xdg && *xdg ? xdg : std::string(home ? home : "/tmp") + "/.cache";
    return base + "/velmora-bench/backup-1m-" + (onPostgres() ? "postgres" : "sqlite");
}

std::string udl()
{
    return storeFolder() + "/VelmoraDSC.udl";
}

// The documents, each with a subject of a few words, and their folded text.
void makeStore()
{
    try {
        // The saves measured add their documents to the store.
        if (std::stoll(readRows(udl(), "Select count(*) from Document").at(0)) >= documentCount) return;
    } catch (const std::exception&) {
    }
    std::fprintf(stderr, "Making the store of %d documents in %s...\n", documentCount, storeFolder().c_str());
    std::filesystem::remove_all(storeFolder());
    std::filesystem::create_directories(storeFolder());
    if (onPostgres()) {
        db::TADOConnection admin(nullptr);
        admin.setConnectionString(db::postgresDataLinkLine(testServer(), true));
        admin.open();
        runScript(admin, std::string("DROP SCHEMA IF EXISTS ") + schema + " CASCADE; CREATE SCHEMA " + schema);
        velmora::createDemoDatabaseOnServer(storeFolder(),
                                            testServer() + " options='-csearch_path=" + schema + "'");
    } else {
        velmora::createDemoDatabase(storeFolder());
    }
    const std::string subject = "'Beadvány ' || i || ' Kovács kérelme'";  // within varchar(50)
    nativeScript(udl(),
                 "DROP TRIGGER IF EXISTS VelmoraSearchText_Insert; DROP TRIGGER IF EXISTS VelmoraSearchText_Update; "
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                     std::to_string(documentCount) + ") INSERT INTO Document (Iktatoszam, Targy, Erkezett) SELECT i, " +
                     subject + ", '2026-01-01 00:00:00' FROM n",
                 "DROP TRIGGER IF EXISTS \"VelmoraSearchText\" ON \"Document\"; INSERT INTO \"Document\" "
                 "(\"Iktatoszam\", \"Targy\", \"Erkezett\") SELECT i, " +
                     subject + ", '2026-01-01' FROM generate_series(1, " + std::to_string(documentCount) +
                     ") i; ANALYZE \"Document\"");
    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    velmora::makeSearchText(c, true);
}

// A clerk saving a document every 5 ms until `stop` has something to read
// or is closed; writes each save's start (seconds since `epoch`) and wait
// to `out`, two doubles a save.
[[noreturn]] void clerk(int stop, int out, Clock::time_point epoch)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    for (int i = 1;; ++i) {
        pollfd p{stop, POLLIN, 0};
        if (poll(&p, 1, 0) > 0) break;
        auto start = Clock::now();
        c.beginTrans();
        runScript(c, "Insert into Document (Iktatoszam, Targy) Values (" + std::to_string(documentCount + i) +
                         ", 'Mentés a másolat alatt')");
        c.commitTrans();
        double record[2] = {std::chrono::duration<double>(start - epoch).count(), secondsSince(start)};
        if (write(out, record, sizeof record) != sizeof record) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    _exit(0);
}

struct Waits {
    double longest = 0, p99 = 0;
    size_t saves = 0;
};

// Runs `copy` while a clerk saves; the waits of the saves that began
// while it ran (or, without a copy, during `idle` seconds).
Waits savesDuring(const std::function<void()>& copy, double idle = 0)
{
    int stop[2], out[2];
    if (pipe(stop) != 0 || pipe(out) != 0) std::abort();
    auto epoch = Clock::now();
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(stop[1]);
        close(out[0]);
        clerk(stop[0], out[1], epoch);
    }
    close(stop[0]);
    close(out[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    double from = secondsSince(epoch);
    if (copy) copy();
    else std::this_thread::sleep_for(std::chrono::duration<double>(idle));
    double to = secondsSince(epoch);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    close(stop[1]);
    std::vector<double> waits;
    double record[2];
    while (read(out[0], record, sizeof record) == sizeof record)
        if (record[0] + record[1] >= from && record[0] <= to) waits.push_back(record[1]);
    close(out[0]);
    waitpid(child, nullptr, 0);
    Waits w;
    w.saves = waits.size();
    if (waits.empty()) return w;
    std::sort(waits.begin(), waits.end());
    w.longest = waits.back();
    w.p99 = waits[std::min(waits.size() - 1, waits.size() * 99 / 100)];
    return w;
}

void report(benchmark::State& state, const Waits& w, double seconds)
{
    state.SetIterationTime(seconds);
    state.counters["longest_wait_ms"] = w.longest * 1000;
    state.counters["p99_wait_ms"] = w.p99 * 1000;
    state.counters["saves"] = static_cast<double>(w.saves);
}

// The saves' waits with nothing else running: the reference.
void BM_SaveWaitWithoutACopy(benchmark::State& state)
{
    makeStore();
    for (auto _ : state) report(state, savesDuring({}, 3.0), 3.0);
}
BENCHMARK(BM_SaveWaitWithoutACopy)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// velmora-admin backup while the clerk saves (SQLite), pg_dump (PostgreSQL).
void BM_SaveWaitDuringTheCopy(benchmark::State& state)
{
    makeStore();
    std::string copy = storeFolder() + "/copy.db";
    for (auto _ : state) {
        std::filesystem::remove(copy);
        double seconds = 0;
        Waits w = savesDuring([&] {
            auto start = Clock::now();
            if (onPostgres()) {
                std::string command = "pg_dump -Fc -n " + std::string(schema) + " -f '" + copy + "' '" +
                                      testServer() + "'";
                if (std::system(command.c_str()) != 0) state.SkipWithError("pg_dump failed");
            } else {
                db::TADOConnection c(nullptr);
                openDataLink(c, udl());
                c.backupTo(copy);
            }
            seconds = secondsSince(start);
        });
        report(state, w, seconds);
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(copy)) / 1e6;
    std::filesystem::remove(copy);
}
BENCHMARK(BM_SaveWaitDuringTheCopy)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// Before: the whole file copied in one step from a rollback-journal
// database, as the program copied it before it used the write-ahead log.
void BM_SaveWaitDuringAOneStepCopyOfARollbackJournal(benchmark::State& state)
{
    if (onPostgres()) {
        state.SkipWithError("SQLite's file only");
        return;
    }
    makeStore();
    std::string db = storeFolder() + "/velmora.db", copy = storeFolder() + "/copy.db";
    auto journal = [&](const char* mode) {
        sqlite3* h = nullptr;
        sqlite3_open(db.c_str(), &h);
        sqlite3_exec(h, (std::string("PRAGMA journal_mode = ") + mode).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(h);
    };
    journal("DELETE");
    for (auto _ : state) {
        std::filesystem::remove(copy);
        double seconds = 0;
        Waits w = savesDuring([&] {
            auto start = Clock::now();
            sqlite3 *from = nullptr, *to = nullptr;
            sqlite3_open(db.c_str(), &from);
            sqlite3_open(copy.c_str(), &to);
            sqlite3_backup* b = sqlite3_backup_init(to, "main", from, "main");
            while (sqlite3_backup_step(b, -1) == SQLITE_BUSY) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            sqlite3_backup_finish(b);
            sqlite3_close(to);
            sqlite3_close(from);
            seconds = secondsSince(start);
        });
        report(state, w, seconds);
    }
    journal("WAL");
    std::filesystem::remove(copy);
}
BENCHMARK(BM_SaveWaitDuringAOneStepCopyOfARollbackJournal)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
