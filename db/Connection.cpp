// Connections.
#include "db/Connection.h"

#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "toolkit/PropertyTable.h"
#include "toolkit/Text.h"

#include <sqlite3.h>

#include <filesystem>

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

sqlite3* TADOConnection::handle() const
{
    if (!db_) throw EDatabaseError("The connection is not open");
    return db_;
}

void TADOConnection::open()
{
    if (db_) return;
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
    if (!tk::sameName(provider, "SQLite"))
        throw EDatabaseError("Provider " + provider + " is not supported: the data-link file must name Provider=SQLite");
    std::string file = link.value("Data Source");
    if (file.empty()) throw EDatabaseError("The data-link file names no database (Data Source)");
    if (file[0] != '/') file = folder + file;
    sqlite3* db = nullptr;
    // One thread uses a connection: no locking inside SQLite for every call.
    int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw EDatabaseError("Cannot open the database " + file + ": " + why);
    }
    // A file that is not a database shows itself at the first read.
    rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw EDatabaseError("Cannot open the database " + file + ": " + why);
    }
    sqlite3_busy_timeout(db, 2000);
    provider_ = provider;
    databasePath_ = file;
    db_ = db;
}

void TADOConnection::createDatabaseFile(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) throw EDatabaseError("The database " + path + " exists already");
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // The file is written at the first change; make it exist now.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    std::string why = rc == SQLITE_OK ? std::string() : (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw EDatabaseError("Cannot create the database " + path + ": " + why);
}

void TADOConnection::close()
{
    cache_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

}  // namespace db
