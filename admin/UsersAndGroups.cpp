// Groups and users for velmora-admin.
#include "admin/UsersAndGroups.h"

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/Passwords.h"
#include "registry/SchemaUpkeep.h"
#include "registry/SearchText.h"
#include "registry/ServerRoles.h"
#include "toolkit/text/Text.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace velmora {

namespace {

struct Row {
    int64_t id;
    std::string name;
};

// Every row of a two-column query: an id and a name.
std::vector<Row> rows(db::TADOConnection& c, const std::string& sql)
{
    db::TADOQuery q(nullptr);
    db::open(q, c, sql);
    std::vector<Row> out;
    for (; !q.eof(); q.next()) out.push_back({q.field(0)->asInteger(), q.field(1)->asString()});
    return out;
}

// The rows whose name is `name` in any letter case, accented letters too
// (as the database's unique keys over folded names compare them).
std::vector<Row> matching(const std::vector<Row>& all, const std::string& name)
{
    std::vector<Row> out;
    for (const Row& r : all)
        if (tk::sameText(r.name, name)) out.push_back(r);
    return out;
}

int64_t groupNamed(db::TADOConnection& c, const std::string& name)
{
    std::vector<Row> found = matching(rows(c, "Select UserGroupID, UserGroupName from UserGroup"), name);
    if (found.empty()) throw ERefusedAdmin("There is no group " + name);
    if (found.size() > 1) throw ERefusedAdmin("More than one group is called " + name);
    return found.front().id;
}

int64_t userNamed(db::TADOConnection& c, const std::string& login)
{
    std::vector<Row> found = matching(rows(c, "Select UserID, UserLogin from UserTable"), login);
    if (found.empty()) throw ERefusedAdmin("There is no user " + login);
    if (found.size() > 1) throw ERefusedAdmin("More than one user logs in as " + login);
    return found.front().id;
}

// A user's login as stored (the name typed may differ in letter case).
std::string userLogin(db::TADOConnection& c, int64_t userID)
{
    db::TADOQuery q(nullptr);
    db::open(q, c, "Select UserLogin from UserTable where UserID = :ID", {{"ID", userID}});
    return q.field(0)->asString();
}

void checkName(const std::string& what, const std::string& name)
{
    if (name.empty()) throw ERefusedAdmin("The " + what + " is empty");
    if (tk::toU32(name).size() > 50) throw ERefusedAdmin("The " + what + " is longer than 50 characters: " + name);
}

void checkPassword(const std::string& password)
{
    if (password.empty()) throw ERefusedAdmin("The password is empty");
}

// A hash is longer than the 50 characters the table was made with; an
// engine that holds to declared lengths gets the column widened once.
void makeRoomForHashes(db::TADOConnection& c)
{
    c.widenTextColumn("UserTable", "UserPasswd", 255);
}

// Inserts a row named `name` ("Insert ... Returning" its key) and its
// folded name together, and `withRow` (given the key) in the same
// transaction; another program's name that folds alike, added since the
// check, refuses them all.
void insertNamed(db::TADOConnection& c, const std::string& sql, db::NamedValues values, NameKind kind,
                 const std::string& name, const std::string& refusal, const std::function<void(int64_t)>& withRow = {})
{
    db::pausePoint("name-checked");
    try {
        db::inTransaction(c, [&] {
            int64_t id = db::executeReturningInteger(c, sql, values);
            claimFoldedName(c, kind, 0, id, name);
            if (withRow) withRow(id);
        });
    } catch (const db::EDuplicateKey&) {
        throw ERefusedAdmin(refusal);
    }
}

// Where users are roles of the server: a login's role and its password,
// made by the server's own function; the password leaves this program as
// its SCRAM verifier only.
void setLoginRole(db::TADOConnection& c, const std::string& login, const std::string& password)
{
    std::optional<std::string> role = db::loginRoleName(rolePrefixOf(c), login);
    if (!role)
        throw ERefusedAdmin("The login " + login + " is too long for a role of the server (63 bytes with the prefix " +
                            rolePrefixOf(c) + ".)");
    db::execute(c, "Select velmora_set_login(:Login, :Verifier)",
                {{"Login", login}, {"Verifier", c.passwordVerifier(*role, password)}});
}

void checkKind(const std::string& kind)
{
    if (!isKindOfWork(kind)) throw ERefusedAdmin("The kind of work is clerk, designer or admin, not " + kind);
}

}  // namespace

void addGroup(db::TADOConnection& c, const std::string& name, const std::string& kind)
{
    checkName("group name", name);
    checkKind(kind);
    bool roles = usesServerRoles(c);
    if (!roles && kind != clerkKind)
        throw ERefusedAdmin(
            "Kinds of work are kept only where users are roles of the server (velmora-admin roles "
            "enable)");
    std::vector<Row> same = matching(rows(c, "Select UserGroupID, UserGroupName from UserGroup"), name);
    if (!same.empty()) throw ERefusedAdmin("There is a group " + same.front().name + " already");
    insertNamed(c, "Insert into UserGroup (UserGroupName) Values (:Name) Returning UserGroupID", {{"Name", name}},
                NameKind::GroupName, name, "There is a group " + name + " already, in some letter case",
                [&](int64_t id) {
                    if (roles)
                        db::execute(c, "Select velmora_set_group_kind(:Grp, :Kind)", {{"Grp", id}, {"Kind", kind}});
                });
}

void setGroupKind(db::TADOConnection& c, const std::string& group, const std::string& kind)
{
    checkKind(kind);
    if (!usesServerRoles(c))
        throw ERefusedAdmin(
            "Kinds of work are kept only where users are roles of the server (velmora-admin roles "
            "enable)");
    int64_t groupID = groupNamed(c, group);
    db::execute(c, "Select velmora_set_group_kind(:Grp, :Kind)", {{"Grp", groupID}, {"Kind", kind}});
}

void addUser(db::TADOConnection& c, const std::string& login, const std::string& group, const std::string& password)
{
    checkName("login name", login);
    checkPassword(password);
    int64_t groupID = groupNamed(c, group);
    std::vector<Row> same = matching(rows(c, "Select UserID, UserLogin from UserTable"), login);
    if (!same.empty())
        throw ERefusedAdmin("There is a user " + same.front().name +
                            " already; logins must differ in more than letter case");
    std::string refusal =
        "There is a user " + login + " already, in some letter case; logins must differ in more than letter case";
    const char* insert =
        "Insert into UserTable (UserLogin, UserPasswd, UserGroupID) Values (:Login, :Passwd, :Grp) Returning UserID";
    if (usesServerRoles(c)) {
        // The table keeps no password: the server's role does.
        insertNamed(c, insert, {{"Login", login}, {"Passwd", ""}, {"Grp", groupID}}, NameKind::Login, login, refusal,
                    [&](int64_t) { setLoginRole(c, login, password); });
        return;
    }
    std::string hash = hashPassword(password);
    makeRoomForHashes(c);
    insertNamed(c, insert, {{"Login", login}, {"Passwd", hash}, {"Grp", groupID}}, NameKind::Login, login, refusal);
}

void setPassword(db::TADOConnection& c, const std::string& login, const std::string& password)
{
    checkPassword(password);
    int64_t userID = userNamed(c, login);
    if (usesServerRoles(c)) {
        setLoginRole(c, userLogin(c, userID), password);
        return;
    }
    std::string hash = hashPassword(password);
    makeRoomForHashes(c);
    db::execute(c, "Update UserTable Set UserPasswd = :Passwd Where UserID = :ID", {{"Passwd", hash}, {"ID", userID}});
}

void moveUser(db::TADOConnection& c, const std::string& login, const std::string& group)
{
    int64_t userID = userNamed(c, login);
    int64_t groupID = groupNamed(c, group);
    db::inTransaction(c, [&] {
        db::execute(c, "Update UserTable Set UserGroupID = :Grp Where UserID = :ID",
                    {{"Grp", groupID}, {"ID", userID}});
        if (usesServerRoles(c))
            db::execute(c, "Select velmora_refresh_login(:Login)", {{"Login", userLogin(c, userID)}});
    });
}

void removeUser(db::TADOConnection& c, const std::string& login)
{
    int64_t userID = userNamed(c, login);
    std::string stored = userLogin(c, userID);
    db::inTransaction(c, [&] {
        if (usesServerRoles(c)) db::execute(c, "Select velmora_drop_login(:Login)", {{"Login", stored}});
        db::execute(c, "Delete from UserTable Where UserID = :ID", {{"ID", userID}});
        releaseFoldedName(c, NameKind::Login, userID);
    });
}

std::string listUsers(db::TADOConnection& c)
{
    std::set<int64_t> designed;
    // A zero-length design is none.
    for (const Row& r : rows(c,
                             "Select UserGroupID, UserGroupName from UserGroup where FormData is not null and "
                             "length(FormData) > 0"))
        designed.insert(r.id);
    bool roles = usesServerRoles(c);
    std::set<std::string> loginRoles;
    std::map<int64_t, std::string> kinds;
    if (roles) {
        for (const Row& r : rows(c, "Select 0, rolname from pg_roles where rolcanlogin")) loginRoles.insert(r.name);
        db::TADOQuery k(nullptr);
        for (db::open(k, c, "Select UserGroupID, Kind from GroupKind"); !k.eof(); k.next())
            kinds[k.field(0)->asInteger()] = k.field(1)->asString();
    }
    std::string prefix = roles ? rolePrefixOf(c) : std::string();
    db::TADOQuery users(nullptr);
    db::open(users, c, "Select UserGroupID, UserLogin, UserPasswd from UserTable order by UserLogin");
    std::multimap<int64_t, std::string> members;
    for (; !users.eof(); users.next()) {
        std::string login = users.field(1)->asString();
        std::string line = "  " + login;
        if (roles) {
            std::optional<std::string> role = db::loginRoleName(prefix, login);
            if (!role || !loginRoles.count(*role)) line += " (no role on the server: set a password)";
        } else if (!isPasswordHash(users.field(2)->asString())) {
            line += " (plain-text password)";
        }
        members.emplace(users.field(0)->asInteger(), line);
    }
    std::string out = roles ? "Users are roles of the PostgreSQL server, named " + prefix + ".LOGIN.\n" : std::string();
    for (const Row& g : rows(c, "Select UserGroupID, UserGroupName from UserGroup order by UserGroupID")) {
        out += g.name + (designed.count(g.id) ? ": design" : ": no design");
        if (roles) out += ", " + (kinds.count(g.id) ? kinds[g.id] : std::string(clerkKind));
        out += "\n";
        auto [from, to] = members.equal_range(g.id);
        for (auto m = from; m != to; ++m) out += m->second + "\n";
    }
    return out;
}

}  // namespace velmora
