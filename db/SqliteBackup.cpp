// Copies of a SQLite database, made and put back with SQLite's online
// backup, page by page under SQLite's own locks: a copy is never of a
// file half-written, a copy made while programs save holds the database as
// it was at one moment, and a restore is one transaction of the database.
#include "db/DatabaseError.h"
#include "db/SqliteEngine.h"

#include <sqlite3.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace db {

namespace {

// A database handle closed on every path.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
};

void openCopy(Handle& h, const std::string& path, int flags, const char* what = "the copy")
{
    if (sqlite3_open_v2(path.c_str(), &h.db, flags, nullptr) != SQLITE_OK)
        throw EDatabaseError(std::string("Cannot open ") + what + " " + path + ": " +
                             (h.db ? sqlite3_errmsg(h.db) : std::string("out of memory")));
    sqlite3_busy_timeout(h.db, 2000);
}

// PRAGMA integrity_check's first answer: "ok" for a whole database.
std::string integrity(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    std::string answer = "the check did not run";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK) {
        int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) answer = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        else answer = sqlite3_errmsg(db);
    } else {
        answer = sqlite3_errmsg(db);
    }
    sqlite3_finalize(st);
    return answer;
}

// Copies every page of `from` into `to` in one step, waiting while a
// writer holds the source for up to half a minute; gives SQLite's last
// result. Used to put a copy back, when no other program has the database.
int copyPages(sqlite3* to, sqlite3* from)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) return sqlite3_errcode(to);
    int rc = SQLITE_OK;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (std::chrono::steady_clock::now() > until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    int finished = sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE ? finished : rc;
}

bool inWalMode(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        wal = sqlite3_strnicmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "wal", 4) == 0;
    sqlite3_finalize(st);
    return wal;
}

// Pages copied in one step: a few megabytes, a few milliseconds.
constexpr int pagesPerStep = 512;

// Copies the database `from` into `to` in steps, telling `progress` the
// share copied after each. In WAL mode the whole copy reads one snapshot,
// held by a read transaction of `from`'s own, while other programs go on
// saving: their commits go to the log and the copy is the database as it
// was when the copy began. In a rollback journal a reader would hold every
// writer off, so the lock is let go between steps; a write from another
// program then starts the copy again, and after a few such restarts the
// rest is copied in one step, holding the writers off until it is done.
int copySnapshot(sqlite3* to, int toFile, sqlite3* from, const std::function<void(double)>& progress)
{
    bool snapshot = inWalMode(from);
    if (snapshot && sqlite3_exec(from, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
                        SQLITE_OK)
        return sqlite3_errcode(from);
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        if (snapshot) sqlite3_exec(from, "COMMIT", nullptr, nullptr, nullptr);
        return sqlite3_errcode(to);
    }
    int rc = SQLITE_OK, restarts = 0, lastRemaining = -1;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        int pages = snapshot || restarts < 3 ? pagesPerStep : -1;
        rc = sqlite3_backup_step(backup, pages);
        if (rc == SQLITE_DONE) break;
        if (rc == SQLITE_OK) {
            int remaining = sqlite3_backup_remaining(backup), total = sqlite3_backup_pagecount(backup);
            if (lastRemaining >= 0 && remaining >= lastRemaining) ++restarts;
            lastRemaining = remaining;
            if (progress && total > 0) progress(1.0 - static_cast<double>(remaining) / total);
            // The copy goes to the disk step by step, not in one burst at the
            // end that would hold up the saves' own syncs.
            if (toFile >= 0) ::sync_file_range(toFile, 0, 0, SYNC_FILE_RANGE_WRITE);
            // Between steps a writer waiting for the lock gets it.
            if (!snapshot) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            continue;
        }
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || std::chrono::steady_clock::now() > until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    int finished = sqlite3_backup_finish(backup);
    if (snapshot) sqlite3_exec(from, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_DONE && progress) progress(1.0);
    return rc == SQLITE_DONE ? finished : rc;
}

bool hasTable(sqlite3* db, const char* table)
{
    sqlite3_stmt* st = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "select 1 from sqlite_master where type = 'table' and name = ?1", -1, &st, nullptr) ==
        SQLITE_OK) {
        sqlite3_bind_text(st, 1, table, -1, SQLITE_STATIC);
        found = sqlite3_step(st) == SQLITE_ROW;
    }
    sqlite3_finalize(st);
    return found;
}

}  // namespace

void SqliteEngine::backupTo(const std::string& path, const std::function<void(double)>& progress)
{
    // The copy holds everything the database does: its owner's alone.
    if (int error = createOwnersFile(path)) {
        if (error == EEXIST) throw EDatabaseError("The file " + path + " exists already; a copy overwrites nothing");
        throw EDatabaseError("Cannot create the copy " + path + ": " + std::strerror(error));
    }
    // The copy's descriptor of our own, for its writing out; closed after
    // SQLite's, as closing a descriptor of a file drops the process's locks.
    int copyFile = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::string failure;
    {
        Handle copy;
        try {
            openCopy(copy, path, SQLITE_OPEN_READWRITE);
            // A failed copy is deleted whole: it needs no journal, and no
            // sync at each step competing with the clerks' saves; it is
            // synced once when it is done.
            sqlite3_exec(copy.db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
            // A connection of the copy's own reads the database, so that its
            // read transaction is nobody else's.
            Handle source;
            openCopy(source, file_, SQLITE_OPEN_READWRITE, "the database");
            int rc = copySnapshot(copy.db, copyFile, source.db, progress);
            if (rc != SQLITE_OK) failure = std::string("the copy was not made: ") + sqlite3_errstr(rc);
            else if (std::string check = integrity(copy.db); check != "ok")
                failure = "the copy does not check whole: " + check;
        } catch (const EDatabaseError& e) {
            failure = e.what();
        }
    }
    if (failure.empty() && (copyFile < 0 || ::fsync(copyFile) != 0))
        failure = std::string("the copy was not written to disk: ") + std::strerror(errno);
    if (copyFile >= 0) ::close(copyFile);
    if (!failure.empty()) {
        ::unlink(path.c_str());
        throw EDatabaseError("The database was not copied to " + path + ": " + failure);
    }
}

void SqliteEngine::restoreFrom(const std::string& path)
{
    Handle copy;
    openCopy(copy, path, SQLITE_OPEN_READONLY);
    if (std::string check = integrity(copy.db); check != "ok")
        throw EDatabaseError("The copy " + path + " does not check whole: " + check);
    for (const char* table : {"UserGroup", "UserTable", "Document"})
        if (!hasTable(copy.db, table))
            throw EDatabaseError("The file " + path + " is no copy of a Velmora database: it has no table " + table);
    if (!held_.takeAlone()) {
        throw EDatabaseError("Another program has the database " + file_ +
                             " open; close every Velmora program that uses it, then restore");
    }
    int rc = copyPages(db_, copy.db);
    held_.share();
    // The kept statements were prepared for the schema the copy replaced.
    forgetStatements();
    if (rc != SQLITE_OK) throw EDatabaseError(std::string("The copy was not put back: ") + sqlite3_errstr(rc));
}

}  // namespace db
