// A new database with the five tables the designer works on, demonstration
// groups and users, and the data-link file that points at it.
#pragma once

#include <string>

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

}  // namespace velmora
