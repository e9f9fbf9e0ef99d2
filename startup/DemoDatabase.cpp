// Creating the demonstration database.
#include "startup/DemoDatabase.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "startup/Schema.h"

#include <filesystem>
#include <fstream>

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
INSERT INTO UserGroup (UserGroupName) VALUES ('Iktatás');
INSERT INTO UserGroup (UserGroupName) VALUES ('Pénzügy');
INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('demo', 'demo', 1);
INSERT INTO UserTable (UserLogin, UserPasswd, UserGroupID) VALUES ('penzugy', 'penzugy', 2);
INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Ügytípus');
INSERT INTO DictionaryGroup (DictionaryGroupName) VALUES ('Osztály');
)sql";

}  // namespace

void createDemoDatabase(const std::string& folder)
{
    std::filesystem::path dir(folder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string dbPath = (dir / "velmora.db").string();
    db::TADOConnection::createDatabaseFile(dbPath);
    db::TADOConnection connection(nullptr);
    std::string quoted = "\"";
    for (char c : dbPath) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    connection.setConnectionString("Provider=SQLite;Data Source=" + quoted + "\"");
    connection.open();
    db::TADOCommand command(nullptr);
    command.setConnection(&connection);
    command.setCommandText(schema);
    command.executeScript();
    connection.close();

    std::ofstream link(dir / sql::dataLinkFileName, std::ios::binary);
    link << "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
         << "Provider=SQLite;Data Source=velmora.db\r\n";
    if (!link) throw db::EDatabaseError("Cannot write the data-link file in " + folder);
}

}  // namespace velmora
