// velmora-admin roles enable: the database's users become roles of the
// PostgreSQL server (registry/ServerRoles.h), and the data-link file the
// programs read logs in as the user from then on.
#pragma once

#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// Puts the database `connection` is open on under roles, closes the
// connection and rewrites `dataLinkFile`; says what was done and which
// users still need a password.
std::string enableRolesCommand(db::TADOConnection& connection, const std::string& dataLinkFile);

}  // namespace velmora
