// The embedded engine: a SQLite database file.
#pragma once

#include "db/Engine.h"
#include "db/HeldFile.h"

#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

class SqliteEngine : public Engine {
public:
    // Opens an existing database file; raises what went wrong.
    explicit SqliteEngine(const std::string& file);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine&) = delete;
    SqliteEngine& operator=(const SqliteEngine&) = delete;

    void query(const std::string& sql, const std::vector<Cell>& params, ResultRows& rows) override;
    int64_t execute(const std::string& sql, const std::vector<Cell>& params) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    void executeScript(const std::string& script) override;
    void executeNative(const std::string& script) override { executeScript(script); }
    bool isPostgres() const override { return false; }
    std::vector<std::string> primaryKey(const std::string& table) override;
    int64_t updateRow(const RowUpdate& update) override;
    std::vector<std::string> tableNames() override;
    std::optional<uint64_t> dataVersion() override;
    void backupTo(const std::string& path, const std::function<void(double)>& progress) override;
    void restoreFrom(const std::string& path) override;

    // Creates an empty database file, readable and writable by its owner
    // alone; refuses to overwrite an existing file.
    static void createFile(const std::string& path);

private:
    // Creates the new file `path`, empty, readable and writable by its
    // owner alone; 0, or the errno of the refusal (EEXIST when it exists).
    static int createOwnersFile(const std::string& path);
    // The statement for `sql`, prepared once and kept: a statement on
    // Document compiles its triggers too, which costs more than running it.
    // The statement is reset when the caller's StatementUse ends. Raises
    // when `sql` does not prepare, or (with `single`) holds a second
    // statement.
    sqlite3_stmt* prepared(const std::string& sql, bool single);

    sqlite3* db_ = nullptr;
    // The file held with a shared flock() for as long as the connection is
    // open: a restore takes it alone, so it can tell that no other program
    // has the database open. Let go after the destructor closed db_.
    HeldFile held_;
    std::string file_;
    sqlite3_stmt* version_ = nullptr;  // PRAGMA data_version, prepared once
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
    // The columns each kept statement names, as of its last preparing.
    std::shared_ptr<const ResultColumns> columnsOf(sqlite3_stmt* s);
    // Finalizes the kept statements, their columns forgotten with them.
    void forgetStatements();
    struct KeptColumns {
        int prepared = 0;
        std::shared_ptr<const ResultColumns> columns;
    };
    std::unordered_map<sqlite3_stmt*, KeptColumns> columns_;
};

}  // namespace db
