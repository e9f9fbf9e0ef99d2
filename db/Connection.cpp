// Connections.
#include "db/Connection.h"

#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/PostgresEngine.h"
#include "db/SqliteEngine.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"

#include <optional>

namespace db {

TK_DEFINE_CLASS(TADOConnection, tk::TComponent)
{
    t.string("ConnectionString", &TADOConnection::connectionString, &TADOConnection::setConnectionString);
    t.boolean("Connected", &TADOConnection::connected, &TADOConnection::setConnected, false).notStored();
    t.boolean("LoginPrompt", &TADOConnection::loginPrompt, &TADOConnection::setLoginPrompt, true);
    t.string("Provider", &TADOConnection::provider, &TADOConnection::setProvider);
    t.kept("ConnectOptions", tk::PropKind::Integer, 0);
    t.kept("Mode", tk::PropKind::Integer, 0);
}

TADOConnection::TADOConnection(tk::TComponent* owner) : tk::TComponent(owner) {}

TADOConnection::~TADOConnection()
{
    close();
}

void TADOConnection::setConnectionString(const std::string& s)
{
    if (connected()) throw EDatabaseError("Cannot change the connection string of an open connection");
    connectionString_ = s;
}

void TADOConnection::setConnected(bool v)
{
    if (v) open();
    else close();
}

Engine& TADOConnection::engine() const
{
    if (!engine_) throw EDatabaseError("The connection is not open");
    return *engine_;
}

void TADOConnection::prepareNewDatabase()
{
    cache_.written();
    engine().prepareNewDatabase();
}

std::vector<std::string> TADOConnection::tableNames()
{
    return engine().tableNames();
}

void TADOConnection::executeNative(const std::string& script)
{
    cache_.written();
    engine().executeNative(script);
}

bool TADOConnection::isPostgres() const
{
    return engine().isPostgres();
}

void TADOConnection::widenTextColumn(const std::string& table, const std::string& column, int length)
{
    engine().widenTextColumn(table, column, length);
    cache_.written();
}

void TADOConnection::setLogin(const std::string& login, const std::string& password)
{
    login_ = login;
    password_ = password;
}

std::string TADOConnection::passwordVerifier(const std::string& role, const std::string& password)
{
    return engine().passwordVerifier(role, password);
}

void TADOConnection::backupTo(const std::string& path, const std::function<void(double)>& progress)
{
    engine().backupTo(path, progress);
}

void TADOConnection::restoreFrom(const std::string& path)
{
    cache_.clear();
    engine().restoreFrom(path);
}

void TADOConnection::open()
{
    if (engine_) return;
    cache_.clear();
    // "FILE NAME=" takes the rest of the string as the path, blanks and all.
    std::string folder;
    DataLink link;
    if (tk::sameName(connectionString_.substr(0, 10), "FILE NAME=")) {
        std::string path = connectionString_.substr(10);
        link = readDataLinkFile(path);
        size_t slash = path.find_last_of('/');
        folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    } else {
        link.values = parseKeyValues(connectionString_);
    }
    std::string provider = link.value("Provider");
    if (provider.empty()) provider = provider_;
    if (tk::sameName(provider, "PostgreSQL")) {
        // Files the file names by a relative path are beside it, wherever
        // the program was started from.
        for (const char* key : {"sslrootcert", "sslcert", "sslkey", "sslcrl", "sslcrldir", "passfile"}) {
            auto it = link.values.find(key);
            if (it != link.values.end() && !it->second.empty() && it->second[0] != '/' && it->second != "system" &&
                !folder.empty())
                it->second = folder + it->second;
        }
        std::string prefix = link.value("Login Role Prefix");
        if (prefix.empty()) {
            engine_ = std::make_unique<PostgresEngine>(link.values);
        } else {
            std::optional<std::string> role = loginRoleName(prefix, login_);
            if (!role) throw ELoginRefused("The login name is too long to be a role of the PostgreSQL server");
            // libpq would take an empty password from the environment or
            // the password file instead.
            if (!login_.empty() && password_.empty()) throw ELoginRefused("The password is empty");
            PostgresEngine::Credentials credentials{*role, password_};
            engine_ = std::make_unique<PostgresEngine>(link.values, login_.empty() ? nullptr : &credentials);
        }
        loginRolePrefix_ = prefix;
        provider_ = provider;
        databasePath_.clear();
        return;
    }
    if (!tk::sameName(provider, "SQLite"))
        throw EDatabaseError("Provider " + provider +
                             " is not supported: the data-link file must name Provider=SQLite or Provider=PostgreSQL");
    std::string file = link.value("Data Source");
    if (file.empty()) throw EDatabaseError("The data-link file names no database (Data Source)");
    if (file[0] != '/') file = folder + file;
    engine_ = std::make_unique<SqliteEngine>(file);
    loginRolePrefix_.clear();
    provider_ = provider;
    databasePath_ = file;
}

void TADOConnection::createDatabaseFile(const std::string& path)
{
    SqliteEngine::createFile(path);
}

void TADOConnection::close()
{
    cache_.clear();
    engine_.reset();
    transactionDepth_ = 0;
}

static std::string savepointName(int depth)
{
    return "velmora_" + std::to_string(depth);
}

void TADOConnection::beginTrans()
{
    if (transactionDepth_ == 0) engine().begin();
    else engine().executeNative("SAVEPOINT " + savepointName(transactionDepth_));
    ++transactionDepth_;
}

void TADOConnection::atCommit(std::function<void()> work)
{
    if (transactionDepth_ == 0) work();
    else atCommit_.push_back(std::move(work));
}

void TADOConnection::commitTrans()
{
    cache_.written();
    if (transactionDepth_ <= 1) {
        // A failure here leaves the transaction open for the caller's rollback.
        for (size_t i = 0; i < atCommit_.size(); ++i) atCommit_[i]();
        atCommit_.clear();
        transactionDepth_ = 0;
        engine().commit();
        return;
    }
    --transactionDepth_;
    engine().executeNative("RELEASE SAVEPOINT " + savepointName(transactionDepth_));
}

void TADOConnection::rollbackTrans()
{
    cache_.written();
    if (transactionDepth_ <= 1) {
        atCommit_.clear();
        transactionDepth_ = 0;
        if (engine_) engine_->rollback();
        return;
    }
    --transactionDepth_;
    if (!engine_) return;
    try {
        const std::string name = savepointName(transactionDepth_);
        engine_->executeNative("ROLLBACK TO SAVEPOINT " + name + "; RELEASE SAVEPOINT " + name);
    } catch (const std::exception&) {
        // The failure ended the whole transaction (a full disk, a lost
        // server): the outer rollback finds nothing left to undo.
    }
}

}  // namespace db
