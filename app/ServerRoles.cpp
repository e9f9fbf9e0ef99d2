// Roles mode on a PostgreSQL server.
#include "app/ServerRoles.h"

#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "entry/Attachments.h"
#include "entry/Dictionaries.h"
#include "entry/History.h"
#include "import/DocumentImport.h"
#include "startup/CreateUnlessThere.h"
#include "startup/Numbering.h"
#include "startup/Passwords.h"
#include "startup/SchemaUpkeep.h"
#include "startup/SearchText.h"
#include "toolkit/text/Text.h"

#include <cstdio>
#include <filesystem>
#include <utility>

namespace velmora {

namespace {

constexpr size_t roleNameBytes = 63;

// The roles, the group kinds and the server's functions. {S} is the
// schema, {P} the prefix as a literal, {CLERK} {DESIGNER} {ADMIN} the
// roles as identifiers and {*_T} as literals. Every SECURITY DEFINER
// function fixes its search_path to the schema, then pg_temp, where any
// session may make objects of its own.
const char* const rolesScript = R"sql(
DO $roles$ BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = {CLERK_T}) THEN CREATE ROLE {CLERK} NOLOGIN; END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = {DESIGNER_T}) THEN CREATE ROLE {DESIGNER} NOLOGIN; END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = {ADMIN_T}) THEN CREATE ROLE {ADMIN} NOLOGIN; END IF;
END $roles$;
GRANT {CLERK} TO {DESIGNER};
GRANT {DESIGNER} TO CURRENT_USER;

CREATE TABLE IF NOT EXISTS {S}."GroupKind" (
  "UserGroupID" int PRIMARY KEY,
  "Kind" varchar(10) NOT NULL CHECK ("Kind" IN ('clerk', 'designer', 'admin')));
INSERT INTO {S}."GroupKind" ("UserGroupID", "Kind")
  SELECT "UserGroupID", 'clerk' FROM {S}."UserGroup" ON CONFLICT DO NOTHING;

-- The login of the session's role: its name without the prefix.
CREATE OR REPLACE FUNCTION {S}.velmora_login() RETURNS text LANGUAGE sql STABLE
  SET search_path = {S}, pg_temp AS $f$
  SELECT CASE WHEN starts_with(session_user::text, {P} || '.')
              THEN substr(session_user::text, length({P}) + 2) ELSE session_user::text END
$f$;

CREATE OR REPLACE FUNCTION {S}.velmora_user_group() RETURNS int LANGUAGE sql STABLE SECURITY DEFINER
  SET search_path = {S}, pg_temp AS $f$
  SELECT "UserGroupID" FROM "UserTable" WHERE "UserLogin" = velmora_login() LIMIT 1
$f$;

-- One history row of a document and its changes, [[column, old, new]...]
-- as JSON, by the session's user at the server's time.
CREATE OR REPLACE FUNCTION {S}.velmora_history(document bigint, action text, changes text) RETURNS bigint
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = {S}, pg_temp AS $f$
DECLARE
  given bigint;
BEGIN
  IF action IS NULL OR action NOT IN ({ACTIONS}) THEN
    RAISE EXCEPTION 'No history is kept of %', coalesce(action, 'nothing');
  END IF;
  IF NOT EXISTS (SELECT 1 FROM "Document" WHERE "DocumentID" = document) THEN
    RAISE EXCEPTION 'There is no document %', document;
  END IF;
  INSERT INTO "DocumentHistory" ("DocumentID", "UserID", "ChangedAt", "Action", "UserLogin")
    VALUES (document, coalesce((SELECT "UserID" FROM "UserTable" WHERE "UserLogin" = velmora_login() LIMIT 1), 0),
            localtimestamp(0), action, velmora_login())
    RETURNING "HistoryID" INTO given;
  INSERT INTO "DocumentChange" ("HistoryID", "ColumnName", "OldValue", "NewValue")
    SELECT given, c->>0, c->>1, c->>2 FROM jsonb_array_elements(coalesce(changes, '[]')::jsonb) AS c;
  RETURN given;
END $f$;

-- A document's void: its history row, the reason as its one change, and
-- the void itself, which the unique key lets stand once.
CREATE OR REPLACE FUNCTION {S}.velmora_void(document bigint, reason text) RETURNS bigint
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = {S}, pg_temp AS $f$
DECLARE
  given bigint;
BEGIN
  IF reason IS NULL OR reason = '' THEN RAISE EXCEPTION 'A void needs its reason'; END IF;
  IF NOT EXISTS (SELECT 1 FROM "Document" WHERE "DocumentID" = document) THEN
    RAISE EXCEPTION 'There is no document %', document;
  END IF;
  INSERT INTO "DocumentHistory" ("DocumentID", "UserID", "ChangedAt", "Action", "UserLogin")
    VALUES (document, coalesce((SELECT "UserID" FROM "UserTable" WHERE "UserLogin" = velmora_login() LIMIT 1), 0),
            localtimestamp(0), {VOID}, velmora_login())
    RETURNING "HistoryID" INTO given;
  INSERT INTO "DocumentChange" ("HistoryID", "ColumnName", "OldValue", "NewValue") VALUES (given, '', NULL, reason);
  INSERT INTO "DocumentVoid" ("DocumentID", "HistoryID", "Reason") VALUES (document, given, reason);
  RETURN given;
END $f$;

-- A login's role, refused when its name would be cut short.
CREATE OR REPLACE FUNCTION {S}.velmora_role_of(login text) RETURNS text LANGUAGE plpgsql IMMUTABLE
  SET search_path = {S}, pg_temp AS $f$
BEGIN
  IF login IS NULL OR login = '' THEN RAISE EXCEPTION 'The login name is empty'; END IF;
  IF octet_length({P} || '.' || login) > 63 THEN
    RAISE EXCEPTION 'The login name % is too long for a role of the server (% bytes with the prefix, 63 at most)',
      login, octet_length({P} || '.' || login);
  END IF;
  RETURN {P} || '.' || login;
END $f$;

-- Whether a role is one of this database's logins.
CREATE OR REPLACE FUNCTION {S}.velmora_is_login(role text) RETURNS boolean LANGUAGE sql STABLE
  SET search_path = {S}, pg_temp AS $f$
  SELECT EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid
                 JOIN pg_roles r ON r.oid = m.member
                 WHERE r.rolname = role AND g.rolname IN ({CLERK_T}, {DESIGNER_T}, {ADMIN_T}))
$f$;

-- Makes a login's role a member of its group's kind alone.
CREATE OR REPLACE FUNCTION {S}.velmora_refresh_login(login text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = {S}, pg_temp AS $f$
DECLARE
  r text := velmora_role_of(login);
  k text;
BEGIN
  IF NOT velmora_is_login(r) THEN RETURN; END IF;
  SELECT coalesce(g."Kind", 'clerk') INTO k FROM "UserTable" u LEFT JOIN "GroupKind" g ON g."UserGroupID" = u."UserGroupID"
    WHERE u."UserLogin" = login LIMIT 1;
  IF k IS NULL THEN RAISE EXCEPTION 'There is no user %', login; END IF;
  EXECUTE format('REVOKE %I, %I, %I FROM %I', {CLERK_T}, {DESIGNER_T}, {ADMIN_T}, r);
  EXECUTE format('GRANT %I TO %I', {P} || '/' || k, r);
END $f$;

-- Gives a user's role its password, as the server's verifier, making the
-- role where it is missing; a role of that name that is not one of this
-- database's logins is left alone.
CREATE OR REPLACE FUNCTION {S}.velmora_set_login(login text, verifier text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = {S}, pg_temp AS $f$
DECLARE
  r text := velmora_role_of(login);
BEGIN
  IF NOT EXISTS (SELECT 1 FROM "UserTable" WHERE "UserLogin" = login) THEN
    RAISE EXCEPTION 'There is no user %', login;
  END IF;
  IF verifier IS NULL OR verifier NOT LIKE 'SCRAM-SHA-256$%' THEN
    RAISE EXCEPTION 'A password is given to the server only as its SCRAM verifier';
  END IF;
  IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r) THEN
    IF NOT velmora_is_login(r) THEN
      RAISE EXCEPTION 'The server has a role % already, which is not a login of this database', r;
    END IF;
    EXECUTE format('ALTER ROLE %I PASSWORD %L', r, verifier);
  ELSE
    EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L IN ROLE %I', r, verifier, {CLERK_T});
  END IF;
  PERFORM velmora_refresh_login(login);
END $f$;

CREATE OR REPLACE FUNCTION {S}.velmora_drop_login(login text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = {S}, pg_temp AS $f$
DECLARE
  r text := velmora_role_of(login);
BEGIN
  IF velmora_is_login(r) THEN EXECUTE format('DROP ROLE %I', r); END IF;
END $f$;

CREATE OR REPLACE FUNCTION {S}.velmora_set_group_kind(grp int, kind text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = {S}, pg_temp AS $f$
DECLARE
  u text;
BEGIN
  IF NOT EXISTS (SELECT 1 FROM "UserGroup" WHERE "UserGroupID" = grp) THEN
    RAISE EXCEPTION 'There is no group %', grp;
  END IF;
  INSERT INTO "GroupKind" ("UserGroupID", "Kind") VALUES (grp, kind)
    ON CONFLICT ("UserGroupID") DO UPDATE SET "Kind" = EXCLUDED."Kind";
  FOR u IN SELECT "UserLogin" FROM "UserTable" WHERE "UserGroupID" = grp LOOP
    PERFORM velmora_refresh_login(u);
  END LOOP;
END $f$;

REVOKE ALL ON FUNCTION {S}.velmora_login(), {S}.velmora_user_group(), {S}.velmora_history(bigint, text, text),
  {S}.velmora_void(bigint, text), {S}.velmora_role_of(text), {S}.velmora_is_login(text),
  {S}.velmora_refresh_login(text), {S}.velmora_set_login(text, text), {S}.velmora_drop_login(text),
  {S}.velmora_set_group_kind(int, text) FROM PUBLIC;
GRANT EXECUTE ON FUNCTION {S}.velmora_login(), {S}.velmora_user_group(), {S}.velmora_history(bigint, text, text),
  {S}.velmora_void(bigint, text) TO {CLERK}, {ADMIN};
GRANT EXECUTE ON FUNCTION {S}.velmora_role_of(text), {S}.velmora_is_login(text), {S}.velmora_refresh_login(text),
  {S}.velmora_set_login(text, text), {S}.velmora_drop_login(text), {S}.velmora_set_group_kind(int, text) TO {ADMIN};

-- Owners: Document is the designer's, whose save adds its columns and
-- remakes the folded search text; everything else stays the set-up role's.
ALTER TABLE {S}."Document" OWNER TO {DESIGNER};
{SEARCH_OWNERS}

REVOKE ALL ON ALL TABLES IN SCHEMA {S} FROM PUBLIC;
GRANT USAGE ON SCHEMA {S} TO {CLERK}, {ADMIN};
GRANT CREATE ON SCHEMA {S} TO {DESIGNER};

GRANT SELECT, INSERT, UPDATE ON {S}."Document" TO {CLERK};
GRANT SELECT ON {S}."UserGroup", {S}."UserTable", {S}."DictionaryGroup", {S}."Fields", {S}."DictionaryItem",
  {S}."DocumentHistory", {S}."DocumentChange", {S}."DocumentVoid", {S}."DocumentNumbering",
  {S}."DocumentAttachment", {S}."DocumentAttachmentChunk", {S}."DocumentAttachmentLimit",
  {S}."ImportBatch", {S}."ImportedDocument", {S}."FoldedName" TO {CLERK};
GRANT INSERT, UPDATE ("DictionaryItemText", "Retired") ON {S}."DictionaryItem" TO {CLERK};
GRANT INSERT, DELETE ON {S}."FoldedName" TO {CLERK};
GRANT INSERT, UPDATE ("FileSize", "Sha256", "RemovedBy", "RemovedAt") ON {S}."DocumentAttachment" TO {CLERK};
GRANT INSERT ON {S}."DocumentAttachmentChunk" TO {CLERK};

GRANT UPDATE ("FormData") ON {S}."UserGroup" TO {DESIGNER};
GRANT INSERT ON {S}."DictionaryGroup", {S}."Fields" TO {DESIGNER};

GRANT SELECT, INSERT, UPDATE, DELETE ON {S}."UserGroup", {S}."UserTable", {S}."GroupKind", {S}."FoldedName",
  {S}."DocumentAttachmentLimit" TO {ADMIN};
GRANT SELECT, DELETE ON {S}."DocumentAttachment", {S}."DocumentAttachmentChunk" TO {ADMIN};
GRANT SELECT ON {S}."Document", {S}."DocumentHistory", {S}."DocumentChange", {S}."DocumentVoid" TO {ADMIN};

-- Rows: a clerk sees the own group and the own user row alone, and the
-- folded names of dictionary entries alone.
ALTER TABLE {S}."UserGroup" ENABLE ROW LEVEL SECURITY;
ALTER TABLE {S}."UserTable" ENABLE ROW LEVEL SECURITY;
ALTER TABLE {S}."FoldedName" ENABLE ROW LEVEL SECURITY;
DROP POLICY IF EXISTS velmora_own_group ON {S}."UserGroup";
DROP POLICY IF EXISTS velmora_every_group ON {S}."UserGroup";
DROP POLICY IF EXISTS velmora_own_user ON {S}."UserTable";
DROP POLICY IF EXISTS velmora_every_user ON {S}."UserTable";
DROP POLICY IF EXISTS velmora_entries ON {S}."FoldedName";
DROP POLICY IF EXISTS velmora_every_name ON {S}."FoldedName";
CREATE POLICY velmora_own_group ON {S}."UserGroup" FOR SELECT TO {CLERK}
  USING ("UserGroupID" = {S}.velmora_user_group());
CREATE POLICY velmora_every_group ON {S}."UserGroup" FOR ALL TO {DESIGNER}, {ADMIN} USING (true);
CREATE POLICY velmora_own_user ON {S}."UserTable" FOR SELECT TO {CLERK}
  USING ("UserLogin" = {S}.velmora_login());
CREATE POLICY velmora_every_user ON {S}."UserTable" FOR ALL TO {ADMIN} USING (true);
CREATE POLICY velmora_entries ON {S}."FoldedName" FOR ALL TO {CLERK} USING ("NameKind" = 'DictionaryEntry');
CREATE POLICY velmora_every_name ON {S}."FoldedName" FOR ALL TO {ADMIN} USING (true);
)sql";

std::string literal(const std::string& text)
{
    return db::quoteText(text);
}

}  // namespace

bool isKindOfWork(const std::string& kind)
{
    return kind == clerkKind || kind == designerKind || kind == adminKind;
}

std::string rolePrefixOf(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select current_database(), current_schema()");
    std::string database = q.field(0)->asString(), schema = q.field(1)->asString();
    return schema == "public" ? database : database + "." + schema;
}

bool usesServerRoles(db::TADOConnection& connection)
{
    return connection.isPostgres() && hasTable(connection, "GroupKind");
}

std::vector<std::string> enableServerRoles(db::TADOConnection& connection)
{
    if (!connection.isPostgres()) throw db::EDatabaseError("Only a PostgreSQL server has roles of its own");
    std::string prefix = rolePrefixOf(connection);
    std::string longest = db::groupRoleName(prefix, designerKind);
    if (longest.size() > roleNameBytes || prefix.size() + 2 > roleNameBytes)
        throw db::EDatabaseError("The database's name " + prefix + " is too long to name roles of the server");

    // Every table the programs would otherwise make on first use: a clerk
    // may make none.
    ensureHistoryTable(connection);
    makeHistoryIndexes(connection);
    ensureDictionaryItemTable(connection);
    ensureAttachmentTables(connection);
    ensureNumberingTables(connection);
    ensureImportTables(connection);
    makeNameKeys(connection);
    makeSearchText(connection);

    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select current_schema()");
    std::string schema = db::quoteIdentifier(q.field(0)->asString());
    q.close();
    // The folded search text is remade by a designer's save, so its
    // objects go with Document.
    std::string searchOwners;
    if (hasTable(connection, "DocumentSearchText"))
        searchOwners = "ALTER TABLE " + schema + ".\"DocumentSearchText\" OWNER TO {DESIGNER};\nALTER TABLE " + schema +
                       ".\"DocumentSearchFold\" OWNER TO {DESIGNER};\nGRANT SELECT ON " + schema +
                       ".\"DocumentSearchText\", " + schema +
                       ".\"DocumentSearchFold\" TO {CLERK};\n"
                       "DO $o$ BEGIN\n"
                       "  IF to_regprocedure(" +
                       literal(schema + ".velmora_fold(text)") + ") IS NOT NULL THEN ALTER FUNCTION " + schema +
                       ".velmora_fold(text) OWNER TO {DESIGNER}; END IF;\n"
                       "  IF to_regprocedure(" +
                       literal(schema + ".\"VelmoraSearchText\"()") + ") IS NOT NULL THEN ALTER FUNCTION " + schema +
                       ".\"VelmoraSearchText\"() OWNER TO {DESIGNER}; END IF;\nEND $o$;\n";
    std::string actions;
    for (const char* action : {historyInsert, historyUpdate, historyImport, historyAttach, historyDetach, historyPurge})
        actions += (actions.empty() ? "" : ", ") + literal(action);
    std::string clerk = db::groupRoleName(prefix, clerkKind), designer = db::groupRoleName(prefix, designerKind),
                admin = db::groupRoleName(prefix, adminKind);
    std::string script = tk::filled(tk::filled(rolesScript, {{"{SEARCH_OWNERS}", searchOwners}}),
                                    {{"{S}", schema},
                                     {"{P}", literal(prefix)},
                                     {"{ACTIONS}", actions},
                                     {"{VOID}", literal(historyVoid)},
                                     {"{CLERK_T}", literal(clerk)},
                                     {"{DESIGNER_T}", literal(designer)},
                                     {"{ADMIN_T}", literal(admin)},
                                     {"{CLERK}", db::quoteIdentifier(clerk)},
                                     {"{DESIGNER}", db::quoteIdentifier(designer)},
                                     {"{ADMIN}", db::quoteIdentifier(admin)}});

    std::vector<std::string> notes;
    db::inTransaction(connection, [&] {
        connection.executeNative(script);
        // A plain-text password was readable by anyone holding the shared
        // connection; it becomes the role's and leaves the table. A hash
        // cannot become a verifier.
        struct User {
            int64_t id;
            std::string login, password;
        };
        std::vector<User> users;
        db::open(q, connection, "Select UserID, UserLogin, UserPasswd from UserTable order by UserLogin");
        for (; !q.eof(); q.next())
            users.push_back({q.field(0)->asInteger(), q.field(1)->asString(), q.field(2)->asString()});
        q.close();
        for (const User& u : users) {
            std::optional<std::string> role = db::loginRoleName(prefix, u.login);
            if (!role) {
                notes.push_back(u.login + ": the login is too long for a role of the server; rename the user");
                continue;
            }
            if (!u.password.empty() && !isPasswordHash(u.password)) {
                db::execute(connection, "Select velmora_set_login(:Login, :Verifier)",
                            {{"Login", u.login}, {"Verifier", connection.passwordVerifier(*role, u.password)}});
            } else {
                db::open(q, connection, "Select velmora_is_login(:Role)", {{"Role", *role}});
                bool hasRole = q.field(0)->asInteger() != 0;
                q.close();
                if (!hasRole)
                    notes.push_back(u.login + ": needs a new password (velmora-admin set-password " + u.login + ")");
            }
            db::execute(connection, "Update UserTable Set UserPasswd = '' Where UserID = :ID", {{"ID", u.id}});
        }
    });
    return notes;
}

void rewriteDataLinkForRoles(const std::string& dataLinkFile, const std::string& prefix)
{
    db::DataLink link = db::readDataLinkFile(dataLinkFile);
    std::string line = "Provider=PostgreSQL";
    for (const auto& [key, value] : link.values) {
        if (key == "provider" || key == "user" || key == "password" || key == "login role prefix") continue;
        line += ";" + key + "=" + db::keyValueText(value);
    }
    line += ";Login Role Prefix=" + db::keyValueText(prefix);
    std::string written = dataLinkFile + ".new";
    db::writeDataLinkFile(written, line);
    std::error_code ec;
    std::filesystem::rename(written, dataLinkFile, ec);
    if (ec) throw db::EDatabaseError("Cannot replace the data-link file " + dataLinkFile + ": " + ec.message());
}

}  // namespace velmora
