// Roles mode on a PostgreSQL server.
#include "registry/ServerRoles.h"

#include "registry/RegistryTables.h"
#include "registry/ServerRecords.h"

#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/CreateUnlessThere.h"
#include "registry/HistoryActions.h"
#include "registry/Numbering.h"
#include "registry/Passwords.h"
#include "registry/SchemaUpkeep.h"
#include "registry/SearchText.h"
#include "toolkit/text/Text.h"

#include <cstdio>
#include <filesystem>
#include <utility>

namespace velmora {

namespace {

constexpr size_t roleNameBytes = 63;

// The roles and the group kinds, as the role that sets the mode up: {S}
// is the schema as an identifier and {S_T} as a literal, {P} the prefix as
// a literal, {CLERK} {DESIGNER} {ADMIN} {OWNER} {KEEPER} the roles as
// identifiers and {*_T} as literals. {ADOPT} says whether roles of the
// kinds' names made before they were marked may be taken as this
// database's (a database put under roles by an earlier version).
//
// The owner role owns everything in the schema and logs in as nobody; the
// keeper role may create roles and owns only the functions that make and
// change logins. The role running this is their member for this
// transaction alone: the caller revokes it before the commit.
const char* const takingOverScript = R"sql(
DO $roles$
DECLARE
  k text;
  r text;
  mark text;
  existing record;
BEGIN
  FOREACH k IN ARRAY ARRAY['clerk', 'designer', 'admin', 'owner', 'keeper'] LOOP
    r := {P} || '/' || k;
    mark := 'Velmora ' || {P} || ' ' || k;
    SELECT oid, rolsuper, rolcanlogin, rolbypassrls INTO existing FROM pg_roles WHERE rolname = r;
    IF NOT FOUND THEN
      EXECUTE format('CREATE ROLE %I NOLOGIN%s', r, CASE WHEN k = 'keeper' THEN ' CREATEROLE' ELSE '' END);
    ELSIF existing.rolsuper OR existing.rolcanlogin OR existing.rolbypassrls
          OR (shobj_description(existing.oid, 'pg_authid') IS DISTINCT FROM mark
              AND NOT ({ADOPT} AND k IN ('clerk', 'designer', 'admin'))) THEN
      RAISE EXCEPTION 'The server has a role % already, which this database did not make; rename or drop it, then set up again', r;
    END IF;
    EXECUTE format('COMMENT ON ROLE %I IS %L', r, mark);
  END LOOP;
  -- The logins an earlier version made: its users' roles in a kind.
  IF {ADOPT} THEN
    FOR existing IN SELECT DISTINCT x.oid, x.rolname FROM {S}."UserTable" u
        JOIN pg_roles x ON x.rolname = {P} || '.' || u."UserLogin"
        JOIN pg_auth_members m ON m.member = x.oid JOIN pg_roles g ON g.oid = m.roleid
        WHERE g.rolname IN ({CLERK_T}, {DESIGNER_T}, {ADMIN_T}) AND NOT x.rolsuper
          AND shobj_description(x.oid, 'pg_authid') IS NULL LOOP
      EXECUTE format('COMMENT ON ROLE %I IS %L', existing.rolname, 'Velmora ' || {P} || ' login');
    END LOOP;
  END IF;
  -- Nobody is the owner or the keeper.
  FOR existing IN SELECT g.rolname AS grp, x.rolname AS member FROM pg_auth_members m
      JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles x ON x.oid = m.member
      WHERE g.rolname IN ({OWNER_T}, {KEEPER_T}) LOOP
    EXECUTE format('REVOKE %I FROM %I', existing.grp, existing.member);
  END LOOP;
END $roles$;
GRANT {CLERK} TO {DESIGNER};
GRANT {OWNER}, {KEEPER} TO CURRENT_USER;

-- Nobody but the owner creates anything where the server looks names up.
REVOKE CREATE ON SCHEMA {S} FROM PUBLIC, {CLERK}, {DESIGNER}, {ADMIN};
-- public's privileges are the whole database's: changed only where some
-- are there to take away.
DO $public$ BEGIN
  IF EXISTS (SELECT 1 FROM pg_namespace n, aclexplode(n.nspacl) a
             WHERE n.nspname = 'public' AND a.privilege_type = 'CREATE'
               AND (a.grantee = 0 OR pg_get_userbyid(a.grantee) IN ({CLERK_T}, {DESIGNER_T}, {ADMIN_T}))) THEN
    REVOKE CREATE ON SCHEMA public FROM PUBLIC, {CLERK}, {DESIGNER}, {ADMIN};
  END IF;
END $public$;
GRANT USAGE, CREATE ON SCHEMA {S} TO {OWNER}, {KEEPER};
GRANT USAGE ON SCHEMA {S} TO {CLERK}, {ADMIN};

-- Everything in the schema becomes the owner's, but what an extension
-- holds (pg_trgm's functions) and what belongs to a table (its identity
-- sequence, its indexes).
DO $own$
DECLARE
  o record;
  ns oid := (SELECT oid FROM pg_namespace WHERE nspname = {S_T});
BEGIN
  FOR o IN SELECT c.oid::regclass AS name, c.relkind FROM pg_class c
      WHERE c.relnamespace = ns AND c.relkind IN ('r', 'p', 'v', 'm', 'S') AND pg_get_userbyid(c.relowner) <> {OWNER_T}
        AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.classid = 'pg_class'::regclass AND d.objid = c.oid
                        AND d.deptype IN ('a', 'i', 'e')) LOOP
    EXECUTE format('ALTER %s %s OWNER TO %I',
                   CASE o.relkind WHEN 'S' THEN 'SEQUENCE' WHEN 'v' THEN 'VIEW' WHEN 'm' THEN 'MATERIALIZED VIEW'
                                  ELSE 'TABLE' END, o.name, {OWNER_T});
  END LOOP;
  FOR o IN SELECT p.oid::regprocedure AS name FROM pg_proc p
      WHERE p.pronamespace = ns AND pg_get_userbyid(p.proowner) <> {OWNER_T}
        AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.classid = 'pg_proc'::regclass AND d.objid = p.oid
                        AND d.deptype = 'e') LOOP
    EXECUTE format('ALTER ROUTINE %s OWNER TO %I', o.name, {OWNER_T});
  END LOOP;
  FOR o IN SELECT t.oid::regtype AS name FROM pg_type t
      WHERE t.typnamespace = ns AND t.typtype = 'd' AND pg_get_userbyid(t.typowner) <> {OWNER_T}
        AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.classid = 'pg_type'::regclass AND d.objid = t.oid
                        AND d.deptype = 'e') LOOP
    EXECUTE format('ALTER DOMAIN %s OWNER TO %I', o.name, {OWNER_T});
  END LOOP;
END $own$;
REVOKE {DESIGNER} FROM CURRENT_USER;
)sql";

// The group kinds, the logins' functions, privileges and row security, as
// the owner (and, for the logins' functions, the keeper).
const char* const rolesScript = R"sql(
SET LOCAL ROLE {OWNER};
CREATE TABLE IF NOT EXISTS {S}."GroupKind" (
  "UserGroupID" int PRIMARY KEY,
  "Kind" varchar(10) NOT NULL CHECK ("Kind" IN ('clerk', 'designer', 'admin')));
INSERT INTO {S}."GroupKind" ("UserGroupID", "Kind")
  SELECT "UserGroupID", 'clerk' FROM {S}."UserGroup" ON CONFLICT DO NOTHING;
ALTER TABLE {S}."DocumentChange" ADD COLUMN IF NOT EXISTS "OldStored" text;
ALTER TABLE {S}."DocumentChange" ADD COLUMN IF NOT EXISTS "NewStored" text;

{RECORDS}

-- A login's role, refused when its name would be cut short.
CREATE OR REPLACE FUNCTION {S}.velmora_role_of(login text) RETURNS text LANGUAGE plpgsql IMMUTABLE
  SET search_path = pg_catalog, {S}, pg_temp AS $f$
BEGIN
  IF login IS NULL OR login = '' THEN RAISE EXCEPTION 'The login name is empty'; END IF;
  IF octet_length({P} || '.' || login) > 63 THEN
    RAISE EXCEPTION 'The login name % is too long for a role of the server (% bytes with the prefix, 63 at most)',
      login, octet_length({P} || '.' || login);
  END IF;
  RETURN {P} || '.' || login;
END $f$;

-- Whether a role is a login this database made for one of its users.
CREATE OR REPLACE FUNCTION {S}.velmora_is_login(role text) RETURNS boolean LANGUAGE sql STABLE
  SET search_path = pg_catalog, {S}, pg_temp AS $f$
  SELECT EXISTS (SELECT 1 FROM pg_roles r WHERE r.rolname = role AND NOT r.rolsuper
                 AND starts_with(r.rolname, {P} || '.')
                 AND shobj_description(r.oid, 'pg_authid') = 'Velmora ' || {P} || ' login')
$f$;

-- Makes a login's role a member of its group's kind alone.
CREATE OR REPLACE FUNCTION {S}.velmora_refresh_login(login text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  r text := {S}.velmora_role_of(login);
  k text;
BEGIN
  IF NOT {S}.velmora_is_login(r) THEN RETURN; END IF;
  SELECT coalesce(g."Kind", 'clerk') INTO k FROM {S}."UserTable" u
    LEFT JOIN {S}."GroupKind" g ON g."UserGroupID" = u."UserGroupID"
    WHERE u."UserLogin" = login LIMIT 1;
  IF k IS NULL THEN RAISE EXCEPTION 'There is no user %', login; END IF;
  EXECUTE format('REVOKE %I, %I, %I FROM %I', {CLERK_T}, {DESIGNER_T}, {ADMIN_T}, r);
  EXECUTE format('GRANT %I TO %I', {P} || '/' || k, r);
END $f$;

-- Gives a user's role its password, as the server's verifier, making the
-- role where it is missing; a role of that name that this database did
-- not make is left alone.
CREATE OR REPLACE FUNCTION {S}.velmora_set_login(login text, verifier text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  r text := {S}.velmora_role_of(login);
  parts text[] := regexp_match(coalesce(verifier, ''),
    '^SCRAM-SHA-256\$([1-9][0-9]{3,6}):([A-Za-z0-9+/]+={0,2})\$([A-Za-z0-9+/]{43}=):([A-Za-z0-9+/]{43}=)$');
BEGIN
  IF NOT EXISTS (SELECT 1 FROM {S}."UserTable" WHERE "UserLogin" = login) THEN
    RAISE EXCEPTION 'There is no user %', login;
  END IF;
  IF parts IS NULL OR parts[1]::int < 4096 OR octet_length(parts[2]) % 4 <> 0
     OR octet_length(decode(parts[2], 'base64')) < 16 OR octet_length(decode(parts[3], 'base64')) <> 32
     OR octet_length(decode(parts[4], 'base64')) <> 32 THEN
    RAISE EXCEPTION 'A password is given to the server only as its SCRAM-SHA-256 verifier';
  END IF;
  IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r) THEN
    IF NOT {S}.velmora_is_login(r) THEN
      RAISE EXCEPTION 'The server has a role % already, which is not a login of this database', r;
    END IF;
    EXECUTE format('ALTER ROLE %I PASSWORD %L', r, verifier);
  ELSE
    EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L IN ROLE %I', r, verifier, {CLERK_T});
    EXECUTE format('COMMENT ON ROLE %I IS %L', r, 'Velmora ' || {P} || ' login');
  END IF;
  PERFORM {S}.velmora_refresh_login(login);
END $f$;

CREATE OR REPLACE FUNCTION {S}.velmora_drop_login(login text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  r text := {S}.velmora_role_of(login);
BEGIN
  IF {S}.velmora_is_login(r) THEN EXECUTE format('DROP ROLE %I', r); END IF;
END $f$;

CREATE OR REPLACE FUNCTION {S}.velmora_set_group_kind(grp int, kind text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  u text;
BEGIN
  IF NOT EXISTS (SELECT 1 FROM {S}."UserGroup" WHERE "UserGroupID" = grp) THEN
    RAISE EXCEPTION 'There is no group %', grp;
  END IF;
  INSERT INTO {S}."GroupKind" ("UserGroupID", "Kind") VALUES (grp, kind)
    ON CONFLICT ("UserGroupID") DO UPDATE SET "Kind" = EXCLUDED."Kind";
  FOR u IN SELECT "UserLogin" FROM {S}."UserTable" WHERE "UserGroupID" = grp LOOP
    PERFORM {S}.velmora_refresh_login(u);
  END LOOP;
END $f$;

REVOKE ALL ON ALL FUNCTIONS IN SCHEMA {S} FROM PUBLIC;
GRANT EXECUTE ON FUNCTION {S}.velmora_login(), {S}.velmora_user_group(), {S}.velmora_void(bigint, text),
  {S}.velmora_attachment_text(bigint, text, text, text, text, bigint, text, text) TO {CLERK}, {ADMIN};
GRANT EXECUTE ON FUNCTION {S}.velmora_add_column(text, text) TO {DESIGNER};
GRANT EXECUTE ON FUNCTION {S}.velmora_role_of(text), {S}.velmora_is_login(text), {S}.velmora_refresh_login(text),
  {S}.velmora_set_login(text, text), {S}.velmora_drop_login(text), {S}.velmora_set_group_kind(int, text)
  TO {ADMIN}, {KEEPER};

REVOKE ALL ON ALL TABLES IN SCHEMA {S} FROM PUBLIC, {CLERK}, {DESIGNER}, {ADMIN}, {KEEPER};
REVOKE ALL ON ALL SEQUENCES IN SCHEMA {S} FROM PUBLIC, {CLERK}, {DESIGNER}, {ADMIN}, {KEEPER};
GRANT SELECT, INSERT, UPDATE ON {S}."Document" TO {CLERK};
GRANT SELECT ON {S}."UserGroup", {S}."UserTable", {S}."DictionaryGroup", {S}."Fields", {S}."DictionaryItem",
  {S}."DocumentHistory", {S}."DocumentChange", {S}."DocumentVoid", {S}."DocumentNumbering",
  {S}."DocumentAttachment", {S}."DocumentAttachmentChunk", {S}."DocumentAttachmentLimit", {S}."AttachmentText",
  {S}."ImportBatch", {S}."ImportedDocument", {S}."FoldedName" TO {CLERK};
GRANT INSERT, UPDATE ("DictionaryItemText", "Retired") ON {S}."DictionaryItem" TO {CLERK};
GRANT INSERT, DELETE ON {S}."FoldedName" TO {CLERK};
GRANT INSERT, UPDATE ("FileSize", "Sha256", "RemovedBy", "RemovedAt") ON {S}."DocumentAttachment" TO {CLERK};
GRANT INSERT ON {S}."DocumentAttachmentChunk" TO {CLERK};
{SEARCH_GRANTS}

GRANT UPDATE ("FormData") ON {S}."UserGroup" TO {DESIGNER};
GRANT INSERT ON {S}."DictionaryGroup", {S}."Fields" TO {DESIGNER};

GRANT SELECT, INSERT, UPDATE, DELETE ON {S}."UserGroup", {S}."UserTable", {S}."GroupKind", {S}."FoldedName",
  {S}."DocumentAttachmentLimit" TO {ADMIN};
GRANT SELECT, DELETE ON {S}."DocumentAttachment", {S}."DocumentAttachmentChunk", {S}."AttachmentText" TO {ADMIN};
GRANT SELECT ON {S}."Document", {S}."DocumentHistory", {S}."DocumentChange", {S}."DocumentVoid" TO {ADMIN};
GRANT SELECT ON {S}."HistoryChain" TO {CLERK}, {ADMIN};
GRANT SELECT, INSERT ON {S}."HistoryFingerprint" TO {ADMIN};
GRANT SELECT ON {S}."UserGroup", {S}."UserTable" TO {KEEPER};
GRANT SELECT, INSERT, UPDATE ON {S}."GroupKind" TO {KEEPER};

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
CREATE POLICY velmora_every_group ON {S}."UserGroup" FOR ALL TO {DESIGNER}, {ADMIN}, {KEEPER} USING (true);
CREATE POLICY velmora_own_user ON {S}."UserTable" FOR SELECT TO {CLERK}
  USING ("UserLogin" = {S}.velmora_login());
CREATE POLICY velmora_every_user ON {S}."UserTable" FOR ALL TO {ADMIN}, {KEEPER} USING (true);
CREATE POLICY velmora_entries ON {S}."FoldedName" FOR ALL TO {CLERK} USING ("NameKind" = 'DictionaryEntry');
CREATE POLICY velmora_every_name ON {S}."FoldedName" FOR ALL TO {ADMIN} USING (true);
RESET ROLE;

-- The logins' functions are the keeper's, who alone may make roles.
ALTER FUNCTION {S}.velmora_refresh_login(text) OWNER TO {KEEPER};
ALTER FUNCTION {S}.velmora_set_login(text, text) OWNER TO {KEEPER};
ALTER FUNCTION {S}.velmora_drop_login(text) OWNER TO {KEEPER};
ALTER FUNCTION {S}.velmora_set_group_kind(int, text) OWNER TO {KEEPER};
GRANT EXECUTE ON FUNCTION {S}.velmora_refresh_login(text), {S}.velmora_set_login(text, text),
  {S}.velmora_drop_login(text), {S}.velmora_set_group_kind(int, text) TO {OWNER};
REVOKE CREATE ON SCHEMA {S} FROM {KEEPER};
)sql";

// Given back at the end of the set-up's transaction: the set-up's role is
// no member of the owner or the keeper once it commits.
const char* const handingBackScript = R"sql(
RESET ROLE;
REVOKE {OWNER}, {KEEPER} FROM CURRENT_USER;
)sql";

std::string literal(const std::string& text)
{
    return db::quoteText(text);
}

// Setting up needs a superuser, or a role that may create roles and owns
// the database (whose schemas it may create in): said before anything
// is changed.
void refuseWithoutRightsToSetUp(db::TADOConnection& connection)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             "Select case when r.rolsuper then 1 else 0 end, case when r.rolcreaterole then 1 else 0 end, case when "
             "has_schema_privilege(current_schema(), 'CREATE') then 1 else 0 end from pg_roles r where r.rolname = "
             "getpgusername()");
    if (q.eof()) throw db::EDatabaseError("The server does not know the role this connection runs as");
    bool superuser = q.field(0)->asInteger() != 0, createRole = q.field(1)->asInteger() != 0,
         create = q.field(2)->asInteger() != 0;
    if (superuser) return;
    if (!createRole)
        throw db::EDatabaseError(
            "Putting users under roles of the server needs a superuser or a role with CREATEROLE; nothing was "
            "changed");
    if (!create)
        throw db::EDatabaseError(
            "Putting users under roles of the server needs a role that may create objects in the schema (the "
            "database's owner, or the schema's); nothing was changed");
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

ActingAsOwner::ActingAsOwner(db::TADOConnection& connection) : connection_(connection)
{
    if (!connection.isPostgres()) return;
    std::string owner = db::groupRoleName(rolePrefixOf(connection), ownerKind);
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             "Select case when r.rolsuper then 1 else 0 end, case when r.rolcreaterole then 1 else 0 end, case when "
             "pg_has_role(r.oid, o.oid, 'MEMBER') then 1 else 0 end from pg_roles r, pg_roles o where r.rolname = "
             "(Select usename from pg_stat_activity where pid = pg_backend_pid()) and o.rolname = :Owner",
             {{"Owner", owner}});
    if (q.eof()) return;
    bool superuser = q.field(0)->asInteger() != 0, createRole = q.field(1)->asInteger() != 0,
         member = q.field(2)->asInteger() != 0;
    q.close();
    if (!superuser && !member) {
        if (!createRole) return;
        connection.executeNative("GRANT " + db::quoteIdentifier(owner) + " TO SESSION_USER");
        granted_ = owner;
    }
    connection.executeNative("SET ROLE " + db::quoteIdentifier(owner));
    acting_ = true;
}

ActingAsOwner::~ActingAsOwner()
{
    try {
        if (acting_) connection_.executeNative("RESET ROLE");
        if (!granted_.empty()) connection_.executeNative("REVOKE " + db::quoteIdentifier(granted_) + " FROM SESSION_USER");
    } catch (const std::exception&) {
        // The connection is gone, and with it the role it acted as; a
        // membership left behind is taken back by the next roles enable.
    }
}

std::vector<std::string> enableServerRoles(db::TADOConnection& connection)
{
    if (!connection.isPostgres()) throw db::EDatabaseError("Only a PostgreSQL server has roles of its own");
    std::string prefix = rolePrefixOf(connection);
    std::string longest = db::groupRoleName(prefix, designerKind);
    if (longest.size() > roleNameBytes || prefix.size() + 2 > roleNameBytes)
        throw db::EDatabaseError("The database's name " + prefix + " is too long to name roles of the server");
    refuseWithoutRightsToSetUp(connection);
    // A database put under roles by an earlier version, before roles were
    // marked as a database's own.
    bool adopt = hasTable(connection, "GroupKind");

    {
        // Every table the programs would otherwise make on first use: a
        // clerk may make none. Run again, as the owner they belong to.
        ActingAsOwner owner(connection);
        ensureHistoryTable(connection);
        makeHistoryIndexes(connection);
        ensureDictionaryItemTable(connection);
        ensureAttachmentTables(connection);
        ensureNumberingTables(connection);
        ensureImportTables(connection);
        makeNameKeys(connection);
        makeSearchText(connection);
    }

    std::string schema = schemaOf(connection);
    std::string s = db::quoteIdentifier(schema);
    std::string searchGrants;
    if (hasTable(connection, "DocumentSearchText"))
        searchGrants = "GRANT SELECT ON " + s + ".\"DocumentSearchText\", " + s + ".\"DocumentSearchFold\" TO {CLERK};";
    std::vector<std::pair<std::string, std::string>> fills = {
        {"{S_T}", literal(schema)},
        {"{S}", s},
        {"{P}", literal(prefix)},
        {"{ADOPT}", adopt ? "true" : "false"},
        {"{INSERT}", literal(historyInsert)},
        {"{UPDATE}", literal(historyUpdate)},
        {"{IMPORT}", literal(historyImport)},
        {"{VOID}", literal(historyVoid)},
        {"{ATTACH}", literal(historyAttach)},
        {"{DETACH}", literal(historyDetach)},
        {"{PURGE}", literal(historyPurge)}};
    for (auto [mark, kind] : {std::pair{"CLERK", clerkKind}, {"DESIGNER", designerKind}, {"ADMIN", adminKind},
                              {"OWNER", ownerKind}, {"KEEPER", keeperKind}}) {
        std::string role = db::groupRoleName(prefix, kind);
        fills.push_back({"{" + std::string(mark) + "_T}", literal(role)});
        fills.push_back({"{" + std::string(mark) + "}", db::quoteIdentifier(role)});
    }
    auto filled = [&](const std::string& text) { return tk::filled(text, fills); };
    std::string roles =
        filled(tk::filled(rolesScript, {{"{RECORDS}", serverRecordsScript()}, {"{SEARCH_GRANTS}", searchGrants}}));

    std::vector<std::string> notes;
    db::inTransaction(connection, [&] {
        connection.executeNative(filled(takingOverScript));
        connection.executeNative(roles);
        // A plain-text password was readable by anyone holding the shared
        // connection; it becomes the role's and leaves the table. A hash
        // cannot become a verifier.
        struct User {
            int64_t id;
            std::string login, password;
        };
        std::vector<User> users;
        db::TADOQuery q(nullptr);
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
        connection.executeNative(filled(handingBackScript));
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
