// A new database with the five tables the designer works on, demonstration
// groups and users, and the data-link file that points at it.
#pragma once

#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// The demonstration user: login "demo", password "demo", group "Iktatás".
inline constexpr const char* demoLogin = "demo";
inline constexpr const char* demoPassword = "demo";
inline constexpr const char* demoDesignerGroup = "Iktatás";

// Creates FOLDER/velmora.db and FOLDER/VelmoraDSC.udl; refuses to overwrite
// an existing database.
void createDemoDatabase(const std::string& folder);
// Creates DATAFOLDER/velmora.db and LINKFOLDER/VelmoraDSC.udl, which names
// the database by its absolute path; refuses to overwrite either file.
void createDemoDatabase(const std::string& dataFolder, const std::string& linkFolder);

// Creates the tables and rows on a PostgreSQL server (a libpq connection
// string) and FOLDER/VelmoraDSC.udl pointing at it, without a password;
// `droppedPassword` tells whether the connection string held one. Refuses
// a database that holds any of the five tables, and an existing data-link
// file.
void createDemoDatabaseOnServer(const std::string& folder, const std::string& conninfo,
                                bool* droppedPassword = nullptr);

// The clerk's demonstration group, "Ügyfélszolgálat", its user and its
// documents; its design is made with the designer's own classes
// (app/DemoEntryForm.h), which compose the two steps below.
inline constexpr const char* entryDemoGroup = "Ügyfélszolgálat";
inline constexpr const char* entryDemoLogin = "ugyfel";
inline constexpr const char* entryDemoPassword = "ugyfel";
// Document's dictionary column Ugytipus, registered for the dictionary
// "Ügytípus"; its entries are the clerk's program's to add.
void addEntryDemoDictionaryField(db::TADOConnection& connection);
// The group with `design`, its user and three documents (two of a kind),
// then the history's table, the name keys and the search's indexes and
// folded text.
void addEntryDemoGroup(db::TADOConnection& connection, const std::string& design);

}  // namespace velmora
