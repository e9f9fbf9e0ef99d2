// A PostgreSQL server, through libpq. Statements are translated from the
// program's dialect; names keep their letter case as quoted identifiers.
// Every statement commits on its own, so what one program stores is whole
// before another can read it, and the server's constraints settle two
// programs writing the same thing at once.
#pragma once

#include "db/Engine.h"

#include <map>
#include <unordered_map>

struct pg_conn;
struct pg_result;

namespace db {

class PostgresEngine : public Engine {
public:
    // Connects with the data-link file's keys (lower case): every libpq
    // keyword is passed on, OLE DB keys (those holding blanks) are passed
    // over, anything else is refused by name.
    // With `credentials`, the role and password are given to libpq as
    // keywords of their own, after and over the file's: a refusal of them
    // raises ELoginRefused.
    struct Credentials {
        std::string role, password;
    };
    explicit PostgresEngine(const std::map<std::string, std::string>& linkValues,
                            const Credentials* credentials = nullptr);
    ~PostgresEngine() override;
    PostgresEngine(const PostgresEngine&) = delete;
    PostgresEngine& operator=(const PostgresEngine&) = delete;

    void query(const std::string& sql, const std::vector<Cell>& params, ResultRows& rows) override;
    int64_t execute(const std::string& sql, const std::vector<Cell>& params) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    void executeScript(const std::string& script) override;
    void executeNative(const std::string& script) override;
    bool isPostgres() const override { return true; }
    std::vector<std::string> primaryKey(const std::string& table) override;
    int64_t updateRow(const RowUpdate& update) override;
    std::vector<std::string> tableNames() override;
    void widenTextColumn(const std::string& table, const std::string& column, int length) override;
    // Fixed-length bytes ("binary(1)") are the domain "binary" over bytea.
    void prepareNewDatabase() override;
    // The server's write-ahead log position: every commit, anyone's, moves
    // it before others can see the change (so do unrelated writes; a kept
    // result is then merely read again).
    std::optional<uint64_t> dataVersion() override;

    // The SCRAM verifier of a role's password, made by libpq, so that the
    // password itself never reaches the server.
    std::string passwordVerifier(const std::string& role, const std::string& password) override;

    // The server process serving this connection.
    int backendPid() const;

private:
    // Makes the session's own SQL functions (vfold).
    void defineFunctions();
    struct Column {
        std::string name, type;
        bool autoIncrement = false;
    };
    struct Table {
        std::string name;
        std::map<int, Column> columns;  // by attribute number
    };
    using Result = std::unique_ptr<pg_result, void (*)(pg_result*)>;
    // Runs a statement already in PostgreSQL's dialect; raises its error.
    Result run(const std::string& sql, const std::vector<const Cell*>& params);
    void reconnectIfLost();
    const Column* tableColumn(unsigned tableOid, int attnum, std::string& tableName);

    pg_conn* conn_ = nullptr;
    // Between begin() and commit() or rollback(): a connection lost then is
    // not made again, since the rest of the transaction would run outside it.
    bool inTransaction_ = false;
    // Logged in as a user's own role (the data-link file's Login Role
    // Prefix): Document belongs to the database's owner role.
    bool loginRole_ = false;
    std::unordered_map<unsigned, Table> tables_;  // catalogue rows read so far
};

}  // namespace db
