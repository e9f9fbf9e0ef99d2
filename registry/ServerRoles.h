// Users as roles of the PostgreSQL server ("roles mode"): each person logs
// in as a role of their own, and the server, not the program, decides what
// each may do.
//
// Three NOLOGIN roles hold the privileges, one per kind of work: clerk
// (documents, dictionary entries, attachments), designer (a clerk's work,
// and designs, whose save adds Document's columns through the owner's
// function) and admin (users, groups, attachment purges). A user group is
// mapped to one kind in the table GroupKind; a login role
// ("<prefix>.<login>") is a member of its group's kind. The prefix is the
// database's name, with the schema's after a full stop when it is not
// public, so that two Velmora databases on one server share no roles.
//
// Two more NOLOGIN roles, of which no login is a member: the owner owns
// every table, sequence and function of the schema, so that SECURITY
// DEFINER functions and triggers run with its rights alone; the keeper
// (CREATEROLE) owns only the functions that make and change logins. No
// kind may create anything in the schema. Every role this database made
// is marked as its own by its comment ("Velmora <prefix> <kind>", and
// "Velmora <prefix> login" for a user's role); a role of the same name
// that is not marked is never adopted.
//
// Everything that must stay true whoever writes is the server's
// (ServerRecords.h): the history, its changes, voids and attachments.
#pragma once

#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

inline constexpr const char* clerkKind = "clerk";
inline constexpr const char* designerKind = "designer";
inline constexpr const char* adminKind = "admin";
inline constexpr const char* ownerKind = "owner";
inline constexpr const char* keeperKind = "keeper";
bool isKindOfWork(const std::string& kind);

// The Login Role Prefix of the database a connection is open on.
std::string rolePrefixOf(db::TADOConnection& connection);

// Whether the database's users are roles of the server (it has GroupKind).
bool usesServerRoles(db::TADOConnection& connection);

// Puts the database under roles: the three roles, every table the
// programs would make on first use, owners, privileges, row security and
// the server's functions; each user whose stored password is plain text
// gets a login role with that password, which is then no longer stored.
// Run as a role that may create roles; run again, it changes nothing
// that is so already. Gives a line for each user who still needs a
// password (a stored hash cannot become the server's verifier).
std::vector<std::string> enableServerRoles(db::TADOConnection& connection);

// The administrator's own connection (a superuser, or the role that set
// the mode up) acts as the owner role while this lives: a superuser sets
// the role, a role with CREATEROLE is made the owner's member for as long
// and taken out again. Does nothing where the database has no owner role
// or the connection cannot become it.
class ActingAsOwner {
public:
    explicit ActingAsOwner(db::TADOConnection& connection);
    ~ActingAsOwner();
    ActingAsOwner(const ActingAsOwner&) = delete;
    ActingAsOwner& operator=(const ActingAsOwner&) = delete;

private:
    db::TADOConnection& connection_;
    bool acting_ = false;
    std::string granted_;
};

// The data-link file of a database put under roles: no user or password
// of its own, and the Login Role Prefix. Written whole beside it, then
// moved over it.
void rewriteDataLinkForRoles(const std::string& dataLinkFile, const std::string& prefix);

}  // namespace velmora
