// TADOConnection: the connection to the database, opened from a connection
// string "FILE NAME=<data-link file>" (or the data-link keys themselves).
// The provider SQLite opens the database file named by Data Source; the
// provider PostgreSQL connects to a server with the libpq keywords given
// (host, port, dbname, user...).
#pragma once

#include "db/ResultCache.h"
#include "toolkit/core/Component.h"

#include <memory>
#include <functional>
#include <string>
#include <vector>

namespace db {

class TADOConnection : public tk::TComponent {
    TK_CLASS(TADOConnection)
public:
    explicit TADOConnection(tk::TComponent* owner);
    ~TADOConnection() override;

    const std::string& connectionString() const { return connectionString_; }
    void setConnectionString(const std::string& s);
    bool loginPrompt() const { return loginPrompt_; }
    void setLoginPrompt(bool v) { loginPrompt_ = v; }
    const std::string& provider() const { return provider_; }
    void setProvider(const std::string& v) { provider_ = v; }

    // The name and password typed at the login. When the data-link file
    // names a Login Role Prefix (a PostgreSQL database whose every user is
    // a role of the server), open() connects as the login's role with this
    // password, and a refusal raises ELoginRefused; otherwise they are not
    // used.
    void setLogin(const std::string& login, const std::string& password);
    // The open database's Login Role Prefix, empty when its users share
    // the data-link file's credentials.
    const std::string& loginRolePrefix() const { return loginRolePrefix_; }
    // A checked copy of the database in a new file, and a copy put back
    // (see Engine::backupTo and restoreFrom).
    void backupTo(const std::string& path, const std::function<void(double)>& progress = {});
    void restoreFrom(const std::string& path);
    // The SCRAM verifier of a role's password (PostgreSQL).
    std::string passwordVerifier(const std::string& role, const std::string& password);

    // Opens the database; every failure names what went wrong.
    void open();
    void close();
    bool connected() const { return engine_ != nullptr; }
    void setConnected(bool v);
    // The path of the open database file (SQLite).
    const std::string& databasePath() const { return databasePath_; }
    // Makes what a new schema's statements rely on (PostgreSQL: the
    // domain "binary" for fixed-length bytes).
    void prepareNewDatabase();
    // The names of the tables in the database.
    std::vector<std::string> tableNames();
    // Runs a script in the engine's own SQL (see Engine::executeNative).
    void executeNative(const std::string& script);
    bool isPostgres() const;
    // Lets a text column hold `length` characters (see Engine).
    void widenTextColumn(const std::string& table, const std::string& column, int length);

    // A transaction around several statements (ADO's BeginTrans,
    // CommitTrans, RollbackTrans). One begun inside another is a savepoint
    // of it: its rollback undoes only its own statements, and nothing stays
    // unless the outermost commits.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    // Work done inside the transaction just before its outermost commit
    // (what needs a lock that others wait for takes it as late as it can),
    // in the order given; a rollback drops it. Outside a transaction it is
    // done at once.
    void atCommit(std::function<void()> work);

    // The open engine; raises when the connection is not open.
    Engine& engine() const;
    // Results of parameterless statements kept while nothing changes.
    ResultCache& resultCache() { return cache_; }

    // Creates an empty database file; refuses to overwrite an existing file.
    static void createDatabaseFile(const std::string& path);

private:
    std::string connectionString_;
    std::string provider_ = "SQLite";
    std::string databasePath_;
    std::string login_, password_, loginRolePrefix_;
    bool loginPrompt_ = true;
    std::unique_ptr<Engine> engine_;
    ResultCache cache_;
    int transactionDepth_ = 0;
    std::vector<std::function<void()>> atCommit_;
};

}  // namespace db
