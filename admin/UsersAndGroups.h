// Groups and users without SQL, for velmora-admin: each action checks
// everything first and changes nothing when it refuses, saying why (ERefusedAdmin).
// Names are bound, never spliced; logins and group names are matched
// without regard to letter case (accented letters too), and the database's
// unique keys over folded names refuse a second program's racing insert.
// Passwords are stored as Argon2id hashes.
#pragma once

#include "admin/AdminRefusal.h"

#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

// A group's kind of work (clerk, designer or admin) says what its users'
// roles may do where users are roles of the server; elsewhere every group
// is a clerk's. Users of such a database are made, given passwords, moved
// and removed together with their roles.
void addGroup(db::TADOConnection& c, const std::string& name, const std::string& kind = "clerk");
void setGroupKind(db::TADOConnection& c, const std::string& group, const std::string& kind);
void addUser(db::TADOConnection& c, const std::string& login, const std::string& group, const std::string& password);
void setPassword(db::TADOConnection& c, const std::string& login, const std::string& password);
void moveUser(db::TADOConnection& c, const std::string& login, const std::string& group);
void removeUser(db::TADOConnection& c, const std::string& login);
// The groups with their users, a line each: "GROUP: design" or
// "GROUP: no design", then "  LOGIN" (with "(plain-text password)" where the
// password is not stored as a hash). Where users are roles of the server,
// a first line says so, each group's line its kind, and a user without a
// role is marked.
std::string listUsers(db::TADOConnection& c);

}  // namespace velmora
