// Creating the demonstration database.
#include "startup/DemoDatabase.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "registry/RegistryTables.h"
#include "registry/SchemaUpkeep.h"
#include "registry/SearchText.h"
#include "startup/Schema.h"
#include "toolkit/text/Text.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace velmora {

namespace {

// The tables in the column order the designer relies on: DocumentID first,
// UserGroup as UserGroupID, UserGroupName, FormData.
const char* const schema = R"sql(
CREATE TABLE UserGroup (
    UserGroupID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserGroupName varchar(50) NOT NULL,
    FormData longbinary
);
CREATE TABLE UserTable (
    UserID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserLogin varchar(50) NOT NULL,
    UserPasswd varchar(50) NOT NULL,
    UserGroupID int NOT NULL REFERENCES UserGroup (UserGroupID)
);
CREATE TABLE Document (
    DocumentID INTEGER PRIMARY KEY AUTOINCREMENT,
    Iktatoszam int,
    Targy varchar(50),
    Erkezett datetime,
    Lezart binary(1)
);
CREATE TABLE DictionaryGroup (
    DictionaryGroupID INTEGER PRIMARY KEY AUTOINCREMENT,
    DictionaryGroupName varchar(50)
);
CREATE TABLE Fields (
    FieldName varchar(50),
    DictionaryGroupID int
);
CREATE UNIQUE INDEX DictionaryGroupNames ON DictionaryGroup (lower(DictionaryGroupName));
CREATE UNIQUE INDEX FieldNames ON Fields (lower(FieldName));
INSERT INTO UserGroup (UserGroupName) VALUES ('Iktatás');
INSERT INTO UserGroup (UserGroupName) VALUES ('Pénzügy');
INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('demo', 'demo', 1);
INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('penzugy', 'penzugy', 2);
INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Ügytípus');
INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Osztály');
)sql";

// The five tables and the demonstration rows, on an open connection.
void createSchema(db::TADOConnection& connection)
{
    connection.prepareNewDatabase();
    db::TADOCommand command(nullptr);
    command.setConnection(&connection);
    command.setCommandText(schema);
    command.executeScript();
    makeNameKeys(connection);
    makeAllSearchIndexes(connection);
    makeSearchText(connection);
}

void writeDataLinkFile(const std::filesystem::path& dir, const std::string& line)
{
    db::writeDataLinkFile((dir / sql::dataLinkFileName).string(), line);
}

// Makes the folder and any missing above it; those it makes are its
// owner's alone (0700), as the database and the data-link file in them.
std::filesystem::path makeFolder(const std::string& folder)
{
    std::filesystem::path dir = std::filesystem::absolute(folder);
    std::vector<std::filesystem::path> missing;
    std::error_code ec;
    for (std::filesystem::path p = dir; !p.empty() && !std::filesystem::exists(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    std::filesystem::create_directories(dir, ec);
    for (const std::filesystem::path& made : missing)
        std::filesystem::permissions(made, std::filesystem::perms::owner_all, ec);
    return dir;
}

}  // namespace

void createDemoDatabase(const std::string& folder)
{
    createDemoDatabase(folder, folder);
}

void createDemoDatabase(const std::string& dataFolder, const std::string& linkFolder)
{
    bool together = dataFolder == linkFolder;
    std::filesystem::path linkDir = makeFolder(linkFolder);
    std::error_code ec;
    if (!together && std::filesystem::exists(linkDir / sql::dataLinkFileName, ec))
        throw db::EDatabaseError("The data-link file " + (linkDir / sql::dataLinkFileName).string() +
                                 " exists already");
    std::filesystem::path dir = makeFolder(dataFolder);
    std::string dbPath = std::filesystem::absolute(dir / "velmora.db", ec).string();
    db::TADOConnection::createDatabaseFile(dbPath);
    db::TADOConnection connection(nullptr);
    connection.setConnectionString("Provider=SQLite;Data Source=" + db::keyValueText(dbPath));
    connection.open();
    createSchema(connection);
    connection.close();
    // Beside its database the link names it relatively, so that the folder
    // can move; elsewhere by its absolute path.
    writeDataLinkFile(
        linkDir, "Provider=SQLite;Data Source=" + (together ? std::string("velmora.db") : db::keyValueText(dbPath)));
}

void createDemoDatabaseOnServer(const std::string& folder, const std::string& conninfo, bool* droppedPassword)
{
    std::filesystem::path dir = makeFolder(folder);
    std::error_code ec;
    if (std::filesystem::exists(dir / sql::dataLinkFileName, ec))
        throw db::EDatabaseError("The data-link file " + (dir / sql::dataLinkFileName).string() + " exists already");
    std::string line = db::postgresDataLinkLine(conninfo, false, droppedPassword);
    db::TADOConnection connection(nullptr);
    // This one connection may use a password given on the command line.
    connection.setConnectionString(db::postgresDataLinkLine(conninfo, true));
    connection.open();
    for (const std::string& table : connection.tableNames())
        for (const char* ours : {"UserGroup", "UserTable", "Document", "DictionaryGroup", "Fields"})
            if (tk::sameName(table, ours))
                throw db::EDatabaseError("The database holds a table " + table +
                                         " already; velmora-initdb does not overwrite an existing schema");
    createSchema(connection);
    connection.close();
    writeDataLinkFile(dir, line);
}

void addEntryDemoDictionaryField(db::TADOConnection& connection)
{
    db::execute(connection, "Alter Table Document Add [Ugytipus] int ");
    db::execute(connection, "Insert into Fields (FieldName,DictionaryGroupID) Values (:FieldName,:DictionaryGroupID)",
                {{"FieldName", "Ugytipus"}, {"DictionaryGroupID", 1}});
}

void addEntryDemoGroup(db::TADOConnection& connection, const std::string& design)
{
    db::execute(connection, "Insert into UserGroup (UserGroupName) Values (:Name)", {{"Name", entryDemoGroup}});
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select UserGroupID, FormData from UserGroup where UserGroupName = :Name",
             {{"Name", entryDemoGroup}});
    int64_t group = q.fieldByName("UserGroupID")->asInteger();
    q.edit();
    q.createBlobStream(q.fieldByName("FormData"), db::BlobMode::Write)->write(design);
    q.post();
    q.close();
    db::execute(connection,
                "Insert into UserTable (UserLogin, UserPasswd, UserGroupID) Values (:Login, :Passwd, :Group)",
                {{"Login", entryDemoLogin}, {"Passwd", entryDemoPassword}, {"Group", group}});
    struct Document {
        int number;
        const char* subject;
        const char* arrived;
        bool closed;
    };
    const Document documents[] = {{1001, "Árajánlat kérése", "2026-11-02 00:00:00", true},
                                  {1002, "Számla reklamáció", "2026-11-16 00:00:00", false},
                                  {1003, "Szerződés módosítás", nullptr, false}};
    for (const Document& d : documents)
        db::execute(connection,
                    "Insert into Document (Iktatoszam, Targy, Erkezett, Lezart) Values (:Number, :Subject, :Arrived, "
                    ":Closed)",
                    {{"Number", d.number},
                     {"Subject", d.subject},
                     {"Arrived", d.arrived ? db::Cell::text(d.arrived) : db::Cell{}},
                     {"Closed", db::Cell::bytes(std::string(1, d.closed ? '\x01' : '\x00'))}});
    // The first two documents are of a kind: Árajánlat, Reklamáció.
    db::execute(connection, "Update Document Set Ugytipus = 2 Where DocumentID = 1");
    db::execute(connection, "Update Document Set Ugytipus = 4 Where DocumentID = 2");
    ensureHistoryTable(connection);
    makeNameKeys(connection);
    makeAllSearchIndexes(connection);
    makeSearchText(connection);
}

}  // namespace velmora
