// A new database with the five tables the designer works on, demonstration
// groups and users, and the data-link file that points at it.
#pragma once

#include <string>

namespace velmora {

// The demonstration user: login "demo", password "demo", group "Iktatás".
inline constexpr const char* demoLogin = "demo";
inline constexpr const char* demoPassword = "demo";

// Creates FOLDER/velmora.db and FOLDER/VelmoraDSC.udl; refuses to overwrite
// an existing database.
void createDemoDatabase(const std::string& folder);

}  // namespace velmora
