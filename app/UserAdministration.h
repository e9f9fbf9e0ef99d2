// Groups and users without SQL, for velmora-admin: each action checks
// everything first and changes nothing when it refuses, saying why (ERefusedAdmin).
// Names are bound, never spliced; logins and group names are matched
// without regard to letter case (accented letters too), and the database's
// unique keys over folded names refuse a second program's racing insert.
// Passwords are stored as Argon2id hashes.
#pragma once

#include <stdexcept>
#include <string>

namespace db {
class TADOConnection;
}

namespace velmora {

class ERefusedAdmin : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
// Makes the keys and indexes of this version that a database made before
// lacks; gives a line for each that could not be made, naming the names
// that stop a unique key. What can be made is made either way.
std::string upgradeDatabase(db::TADOConnection& c);
// Folds and indexes the text of Document's text columns again
// (velmora-admin search-index), each step said on stderr when
// `onTerminal`; says what was made and how long it took.
std::string remakeSearchText(db::TADOConnection& c, bool onTerminal);

}  // namespace velmora
