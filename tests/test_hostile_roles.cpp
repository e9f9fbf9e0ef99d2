// Users as roles of the server, attacked from inside: each kind's own
// login, straight through libpq, trying what someone with psql would to
// become more than the kind allows or to change a document without a
// trace. The server refuses each, or records it and keeps the document
// whole.
#include "Scans.h"
#include "ServerRolesTest.h"

#include <sys/stat.h>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

namespace {

class HostileRoles : public ServerRoles {
protected:
    void SetUp() override
    {
        ServerRoles::SetUp();
        if (IsSkipped()) return;
        clerk = connectAs(velmora::entryDemoLogin, velmora::entryDemoPassword);
        designer = connectAs(velmora::demoLogin, velmora::demoPassword);
        ASSERT_EQ(PQstatus(clerk.get()), CONNECTION_OK) << PQerrorMessage(clerk.get());
        ASSERT_EQ(PQstatus(designer.get()), CONNECTION_OK) << PQerrorMessage(designer.get());
    }
    void TearDown() override
    {
        if (IsSkipped()) return;
        // Whatever was tried, no login ends up a superuser, nor the owner.
        EXPECT_THAT(rows("Select r.rolname from pg_roles r where starts_with(r.rolname, '" + prefix() +
                         ".') and (r.rolsuper or r.rolcreaterole or pg_has_role(r.oid, '" + role("owner") +
                         "', 'MEMBER') or pg_has_role(r.oid, '" + role("keeper") + "', 'MEMBER'))"),
                    IsEmpty());
    }
    std::string role(const std::string& kind) { return prefix() + "/" + kind; }
    std::string schema() { return rows("Select current_schema()").at(0); }
    // A statement that must be refused, for the reason given.
    void refused(PGconn* conn, const std::string& sql, const std::string& why)
    {
        EXPECT_THAT(refusal(conn, sql), HasSubstr(why)) << sql;
    }

    Connection clerk{nullptr, PQfinish};
    Connection designer{nullptr, PQfinish};
};

}  // namespace

TEST_F(HostileRoles, NoLoginPlantsAnythingWhereTheServerLooksNamesUpNorBecomesAnotherRole)
{
    const std::string s = db::quoteIdentifier(schema());
    for (PGconn* conn : {clerk.get(), designer.get()}) {
        // A better-matching function or operator where the owner's
        // functions look names up.
        for (const std::string& where : {s, std::string("public")}) {
            refused(conn,
                    "CREATE FUNCTION " + where +
                        ".format(text, text, text) RETURNS text LANGUAGE sql AS $$ SELECT 'x' $$",
                    "permission denied for schema");
            refused(conn,
                    "CREATE FUNCTION " + where +
                        ".velmora_eq(bigint, bigint) RETURNS boolean LANGUAGE sql AS $$ SELECT true $$",
                    "permission denied for schema");
            refused(conn,
                    "CREATE OPERATOR " + where + ".= (LEFTARG = bigint, RIGHTARG = bigint, FUNCTION = int8eq)",
                    "permission denied for schema");
            refused(conn, "CREATE COLLATION " + where + ".hu (locale = 'C')", "permission denied for schema");
            refused(conn, "CREATE TABLE " + where + ".\"DocumentVoid\" (x int)", "permission denied for schema");
        }
        refused(conn, "CREATE CAST (text AS bigint) WITH INOUT AS IMPLICIT", "must be owner");
        // Nor may a login become another role, or alter or drop the
        // server's own objects.
        refused(conn, "SET ROLE \"" + role("owner") + "\"", "permission denied");
        refused(conn, "SET ROLE \"" + role("keeper") + "\"", "permission denied");
        refused(conn, "SET SESSION AUTHORIZATION velmora", "permission denied");
        refused(conn, "DROP TABLE \"Document\"", "must be owner");
        refused(conn, "TRUNCATE \"Document\"", "permission denied");
        refused(conn, "ALTER TABLE \"Document\" DISABLE TRIGGER USER", "must be owner");
        refused(conn, "DROP TRIGGER \"VelmoraRecord\" ON \"Document\"", "must be owner");
        refused(conn, "ALTER FUNCTION velmora_void(bigint, text) OWNER TO CURRENT_USER", "must be owner");
        refused(conn, "CREATE OR REPLACE FUNCTION velmora_login() RETURNS text LANGUAGE sql AS $$ SELECT 'demo' $$",
                "permission denied for schema");
        refused(conn, "DROP FUNCTION velmora_write_history(bigint, text, jsonb)", "must be owner");
        refused(conn, "SELECT velmora_write_history(1, 'felvitel', '[]')", "permission denied");
        // Nor move a history row to the chain's end, nor the head.
        refused(conn, "SELECT velmora_chain(1)", "permission denied");
        refused(conn, "UPDATE \"HistoryChain\" SET \"HeadNo\" = 0", "permission denied");
        refused(conn, "ALTER TABLE \"DocumentHistory\" DISABLE TRIGGER \"VelmoraChain\"", "must be owner");
        refused(conn, "GRANT \"" + role("owner") + "\" TO CURRENT_USER", "must have admin option");
    }
    // What a login makes in its own pg_temp is never the owner's: the
    // temporary schema is not searched for functions and operators, and
    // comes last for the rest.
    EXPECT_EQ(refusal(clerk.get(),
                      "CREATE FUNCTION pg_temp.velmora_login() RETURNS text LANGUAGE sql AS $$ SELECT 'demo' $$; "
                      "CREATE TABLE pg_temp.\"DocumentVoid\" (\"DocumentID\" int, \"HistoryID\" int, \"Reason\" text); "
                      "CREATE FUNCTION pg_temp.int8eq(bigint, bigint) RETURNS boolean LANGUAGE sql AS "
                      "$$ SELECT true $$; "
                      "SELECT set_config('search_path', 'pg_temp, ' || quote_ident(current_schema()), false)"),
              "");
    EXPECT_EQ(value(clerk.get(), "SELECT velmora_void(2, '  teszt  ') > 0"), "t");
    EXPECT_THAT(rows("Select h.UserLogin, v.Reason from DocumentVoid v, DocumentHistory h where v.HistoryID = "
                     "h.HistoryID"),
                ElementsAre("ugyfel|teszt"));
    refused(clerk.get(), "SELECT velmora_void(3, ' \t ')", "needs its reason");
}

TEST_F(HostileRoles, EverythingInTheSchemaIsTheOwnersAndNobodyLogsInAsIt)
{
    const std::string ns = "(Select oid from pg_namespace where nspname = current_schema())";
    EXPECT_THAT(rows("Select distinct pg_get_userbyid(relowner) from pg_class where relnamespace = " + ns),
                ElementsAre(role("owner")));
    EXPECT_THAT(rows("Select distinct pg_get_userbyid(proowner) from pg_proc where pronamespace = " + ns + " order by 1"),
                ElementsAre(role("keeper"), role("owner")));
    EXPECT_THAT(rows("Select proname from pg_proc where pronamespace = " + ns + " and pg_get_userbyid(proowner) = '" +
                     role("keeper") + "' order by 1"),
                ElementsAre("velmora_drop_login", "velmora_refresh_login", "velmora_set_group_kind",
                            "velmora_set_login"));
    EXPECT_THAT(rows("Select case when rolcanlogin then 1 else 0 end, case when rolsuper then 1 else 0 end, case when "
                     "rolcreaterole then 1 else 0 end, case when rolbypassrls then 1 else 0 end from pg_roles where "
                     "rolname in ('" +
                     role("owner") + "', '" + role("keeper") + "') order by rolname"),
                ElementsAre("0|0|1|0", "0|0|0|0"));
    EXPECT_THAT(rows("Select count(*) from pg_auth_members m join pg_roles g on g.oid = m.roleid where g.rolname in "
                     "('" + role("owner") + "', '" + role("keeper") + "')"),
                ElementsAre("0"));
    // No kind may create in the schema.
    for (const char* kind : {"clerk", "designer", "admin"})
        EXPECT_THAT(rows("Select case when has_schema_privilege('" + role(kind) +
                         "', current_schema(), 'CREATE') then 1 else 0 end"),
                    ElementsAre("0"))
            << kind;
}

TEST_F(HostileRoles, AClerkChangesNoDocumentWithoutTheServerRecordingIt)
{
    // A plain update from psql is recorded: who, the stored value before
    // and after.
    EXPECT_EQ(refusal(clerk.get(), "UPDATE \"Document\" SET \"Targy\" = 'kézzel' WHERE \"DocumentID\" = 1"), "");
    EXPECT_THAT(rows("Select h.UserLogin, h.Action, c.ColumnName, case when c.OldStored is not null then 1 else 0 end, "
                     "c.NewStored, c.NewValue "
                     "from DocumentHistory h join DocumentChange c on c.HistoryID = h.HistoryID where h.DocumentID = 1 "
                     "and h.Action = 'módosítás'"),
                ElementsAre("ugyfel|módosítás|Targy|1|kézzel|kézzel"));
    // An insert too, and the key is the server's.
    EXPECT_EQ(refusal(clerk.get(), "INSERT INTO \"Document\" (\"Targy\") VALUES ('psql-ből')"), "");
    EXPECT_THAT(rows("Select h.UserLogin, h.Action, c.NewStored from Document d join DocumentHistory h on "
                     "h.DocumentID = d.DocumentID join DocumentChange c on c.HistoryID = h.HistoryID where d.Targy = "
                     "'psql-ből' and c.ColumnName = 'Targy'"),
                ElementsAre("ugyfel|felvitel|psql-ből"));
    refused(clerk.get(), "INSERT INTO \"Document\" (\"DocumentID\", \"Targy\") VALUES (1000000, 'előre')",
            "kézzel nem adható meg");
    refused(clerk.get(),
            "INSERT INTO \"Document\" (\"DocumentID\", \"Targy\") OVERRIDING SYSTEM VALUE VALUES (1000000, 'előre')",
            "kézzel nem adható meg");
    refused(clerk.get(), "UPDATE \"Document\" SET \"DocumentID\" = \"DocumentID\" + 1000 WHERE \"DocumentID\" = 1",
            "nem módosítható");
    // The clerk's next save takes the next key, unblocked.
    std::string out = play(click("btnNew") + "focus\ntype 7001\nkey tab\ntype Utána\n" + click("btnSave"));
    EXPECT_THAT(rows("Select count(*) from Document where Targy = 'Utána'"), ElementsAre("1")) << out;

    // A voided document stays as it was, and stays voided.
    EXPECT_EQ(value(clerk.get(), "SELECT velmora_void(1, 'teszt') > 0"), "t");
    refused(clerk.get(), "UPDATE \"Document\" SET \"Targy\" = 'később' WHERE \"DocumentID\" = 1",
            "Érvénytelenített dokumentum nem módosítható");
    refused(clerk.get(), "UPDATE \"Document\" SET \"DocumentID\" = 999 WHERE \"DocumentID\" = 1", "nem módosítható");
    refused(clerk.get(), "DELETE FROM \"DocumentVoid\"", "permission denied");
    refused(clerk.get(), "INSERT INTO \"DocumentChange\" VALUES (1, 'Targy', 'a', 'b')", "permission denied");
    EXPECT_THAT(rows("Select Targy from Document where DocumentID = 1"), ElementsAre("kézzel"));
}

TEST_F(HostileRoles, AttachmentsAreWhatTheServerStoredByWhomItSays)
{
    EXPECT_EQ(admin("add-user kata 'Ügyfélszolgálat'", "kata jelszava"), "");
    Connection other = connectAs("kata", "kata jelszava");
    ASSERT_EQ(PQstatus(other.get()), CONNECTION_OK);

    // Begun in another's name, it is the clerk's own.
    std::string id = value(clerk.get(),
                           "INSERT INTO \"DocumentAttachment\" (\"DocumentID\", \"FileName\", \"FileSize\", \"Sha256\", "
                           "\"ContentType\", \"AddedBy\", \"AddedAt\") VALUES (1, 'level.txt', 99, 'ab', 'text/plain', "
                           "'demo', '2000-01-01') RETURNING \"AttachmentID\"");
    ASSERT_THAT(id, Not(HasSubstr("error")));
    const std::string where = " WHERE \"AttachmentID\" = " + id;
    EXPECT_THAT(rows("Select AddedBy, FileSize, Sha256, case when AddedAt > '2001-01-01' then 1 else 0 end from "
                     "DocumentAttachment where AttachmentID = " + id),
                ElementsAre("ugyfel|0||1"));
    // Nobody else writes into it.
    refused(other.get(),
            "INSERT INTO \"DocumentAttachmentChunk\" VALUES (" + id + ", 0, '\\x6c6576656c'::bytea)",
            "saját, még be nem fejezett");
    EXPECT_EQ(refusal(clerk.get(), "INSERT INTO \"DocumentAttachmentChunk\" VALUES (" + id + ", 0, 'levél'::bytea)"),
              "");
    // Finished with a size and hash that are not the chunks', it is refused.
    refused(clerk.get(),
            "UPDATE \"DocumentAttachment\" SET \"FileSize\" = 6, \"Sha256\" = repeat('0', 64)" + where,
            "nem egyezik");
    refused(other.get(),
            "UPDATE \"DocumentAttachment\" SET \"FileSize\" = 6, \"Sha256\" = encode(sha256('levél'::bytea), 'hex')" +
                where,
            "csak az fejezheti be");
    EXPECT_EQ(refusal(clerk.get(),
                      "UPDATE \"DocumentAttachment\" SET \"FileSize\" = 6, \"Sha256\" = encode(sha256('levél'::bytea), "
                      "'hex')" + where),
              "");
    EXPECT_THAT(rows("Select h.UserLogin, h.Action from DocumentHistory h where h.Action = 'csatolás'"),
                ElementsAre("ugyfel|csatolás"));
    // Finished, nothing of it changes but its removal.
    refused(clerk.get(), "INSERT INTO \"DocumentAttachmentChunk\" VALUES (" + id + ", 1, 'több'::bytea)",
            "saját, még be nem fejezett");
    refused(clerk.get(), "UPDATE \"DocumentAttachment\" SET \"Sha256\" = repeat('1', 64)" + where, "nem módosíthatók");
    refused(clerk.get(), "UPDATE \"DocumentAttachment\" SET \"FileSize\" = 1" + where, "nem módosíthatók");
    refused(clerk.get(), "UPDATE \"DocumentAttachmentChunk\" SET \"Bytes\" = 'x'", "permission denied");
    refused(other.get(), "UPDATE \"DocumentAttachment\" SET \"RemovedBy\" = 'kata', \"RemovedAt\" = now()" + where,
            "csak az törölheti");
    EXPECT_EQ(refusal(clerk.get(),
                      "UPDATE \"DocumentAttachment\" SET \"RemovedBy\" = 'demo', \"RemovedAt\" = '2000-01-01'" + where),
              "");
    EXPECT_THAT(rows("Select RemovedBy, case when RemovedAt > '2001-01-01' then 1 else 0 end, FileSize from "
                     "DocumentAttachment where AttachmentID = " + id),
                ElementsAre("ugyfel|1|6"));
    refused(clerk.get(), "UPDATE \"DocumentAttachment\" SET \"RemovedAt\" = NULL" + where, "nem módosíthatók");
    // Nothing is attached to a voided document.
    EXPECT_EQ(value(clerk.get(), "SELECT velmora_void(1, 'teszt') > 0"), "t");
    refused(clerk.get(),
            "INSERT INTO \"DocumentAttachment\" (\"DocumentID\", \"FileName\", \"FileSize\", \"Sha256\", "
            "\"ContentType\", \"AddedBy\", \"AddedAt\") VALUES (1, 'késő.txt', 0, '', 'text/plain', '', now())",
            "Érvénytelenített dokumentumhoz");
}

TEST_F(HostileRoles, OnlyTheLoginsThisDatabaseMadeAreItsLogins)
{
    EXPECT_EQ(admin("add-group 'Irattár' --kind admin"), "");
    EXPECT_EQ(admin("add-user fonok 'Irattár'", "főnök jelszava"), "");
    Connection boss = connectAs("fonok", "főnök jelszava");
    ASSERT_EQ(PQstatus(boss.get()), CONNECTION_OK);
    // The set-up's own role and a role named like a login but made by
    // someone else are no logins of this database.
    EXPECT_EQ(value(boss.get(), "SELECT velmora_is_login('velmora')"), "f");
    std::string stranger = prefix() + ".idegen";
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        c.executeNative("CREATE ROLE \"" + stranger + "\" LOGIN PASSWORD 'idegen'");
        c.executeNative("INSERT INTO \"UserTable\" (\"UserLogin\", \"UserPasswd\", \"UserGroupID\") VALUES ('idegen', "
                     "'', 1)");
    }
    EXPECT_EQ(value(boss.get(), "SELECT velmora_is_login('" + stranger + "')"), "f");
    EXPECT_EQ(refusal(boss.get(), "SELECT velmora_drop_login('idegen')"), "");  // passed over
    EXPECT_THAT(rows("Select count(*) from pg_roles where rolname = '" + stranger + "'"), ElementsAre("1"));
    EXPECT_THAT(admin("set-password idegen", "új"), HasSubstr("not a login of this database"));
    // A verifier is taken only whole.
    for (const std::string& verifier :
         {std::string("SCRAM-SHA-256$x"), std::string("SCRAM-SHA-256$4096:c2FsdA==$a:b"),
          std::string("SCRAM-SHA-256$1:AAAAAAAAAAAAAAAAAAAAAA==$") + std::string(43, 'A') + "=:" +
              std::string(43, 'A') + "=",
          std::string("md5abcdef")})
        refused(boss.get(), "SELECT velmora_set_login('fonok', '" + verifier + "')", "only as its SCRAM-SHA-256");
}

TEST_F(HostileRoles, SetUpAdoptsNoRoleItDidNotMake)
{
    // A database of its own on the server whose clerk role someone made
    // before it was set up.
    std::string link = folder.file("fresh/VelmoraDSC.udl");
    std::filesystem::create_directories(folder.file("fresh"));
    velmora::createDemoDatabaseOnServer(folder.file("fresh"), freshServerSchema());
    db::TADOConnection c(nullptr);
    openDataLink(c, link);
    std::string before = velmora::rolePrefixOf(c) + "/clerk";
    c.executeNative("CREATE ROLE \"" + before + "\" NOLOGIN");
    try {
        velmora::enableServerRoles(c);
        ADD_FAILURE() << "a role made before was adopted";
    } catch (const std::exception& e) {
        EXPECT_THAT(e.what(), HasSubstr("has a role " + before + " already, which this database did not make"));
    }
    EXPECT_THAT(readRows(c, "Select count(*) from pg_roles where rolname = '" + velmora::rolePrefixOf(c) + "/owner'"),
                ElementsAre("0"));
}

namespace {

// A server role that may create roles and owns a database of its own,
// but is no superuser.
class SetUpWithoutSuperuser : public ServerRoles {
protected:
    void SetUp() override
    {
        if (needsPostgres() || rolesRun()) GTEST_SKIP() << "a set-up on a PostgreSQL server by a non-superuser";
    }
};

}  // namespace

TEST_F(SetUpWithoutSuperuser, ARoleWithCreateroleOwningTheDatabasePutsItUnderRoles)
{
    std::string name = "setup" + std::to_string(getpid());
    {
        db::TADOConnection c(nullptr);
        c.setConnectionString(db::postgresDataLinkLine(testServer(), true));
        c.open();
        c.executeNative("CREATE ROLE " + name + " LOGIN CREATEROLE PASSWORD 'beallito'");
        c.executeNative("CREATE DATABASE " + name + " OWNER " + name);
    }
    std::string initdb = std::string(VELMORA_ADMIN_EXECUTABLE);
    initdb = initdb.substr(0, initdb.find_last_of('/')) + "/velmora-initdb";
    std::string conninfo = testServer() + " dbname=" + name + " user=" + name + " password=beallito";
    std::filesystem::create_directories(folder.file("office"));
    // Made with no umask at all, the data-link file is still its owner's alone.
    std::string said = commandOutput("umask 0; PGPASSWORD=beallito '" + initdb + "' '" + folder.file("office") + "' --postgres '" +
                                     conninfo + "' --roles 2>&1");
    EXPECT_THAT(said, HasSubstr("Every user is a role of the server")) << said;
    struct stat info {};
    ASSERT_EQ(::stat(folder.file("office/VelmoraDSC.udl").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // The set-up's role is no member of the owner once done, and the
    // clerk works.
    db::TADOConnection c(nullptr);
    c.setConnectionString(db::postgresDataLinkLine(testServer() + " dbname=" + name, true));
    c.open();
    EXPECT_THAT(readRows(c, "Select count(*) from pg_auth_members m join pg_roles g on g.oid = m.roleid where "
                            "g.rolname like '%/owner' and m.member = (Select oid from pg_roles where rolname = '" +
                                name + "')"),
                ElementsAre("0"));
    std::filesystem::copy_file(folder.file("office/VelmoraDSC.udl"), udl(),
                               std::filesystem::copy_options::overwrite_existing);
    std::string out = play(click("btnNew") + "focus\ntype 8001\nkey tab\ntype Beállítva\n" + click("btnSave"));
    EXPECT_THAT(readRows(c, "Select h.\"UserLogin\", h.\"Action\" from \"Document\" d join \"DocumentHistory\" h on "
                            "h.\"DocumentID\" = d.\"DocumentID\" where d.\"Targy\" = 'Beállítva'"),
                ElementsAre("ugyfel|felvitel"))
        << out;
}

TEST_F(HostileRoles, AnAttachmentsTextIsWrittenOnlyThroughTheServerWhichKeepsAnothersFinishedText)
{
    EXPECT_EQ(admin("add-user kata 'Ügyfélszolgálat'", "kata jelszava"), "");
    Connection other = connectAs("kata", "kata jelszava");
    ASSERT_EQ(PQstatus(other.get()), CONNECTION_OK);
    std::string note = folder.file("level.png");
    scans::writePage(note, scans::pageLines("Kutyaengedély"));
    play("key f3\ntype 1002\nkey enter\nattach " + note + "\n");
    ASSERT_THAT(rows("Select AttachmentID from DocumentAttachment"), ElementsAre("1"));
    auto text = [](const std::string& id, const std::string& state, const std::string& content) {
        return "SELECT velmora_attachment_text(" + id + ", '" + state + "', '', 'kézzel', 'hun', 1, '" + content +
               "', '" + content + "')";
    };
    // Straight into the table, nobody; through the server, as oneself.
    refused(clerk.get(),
            "INSERT INTO \"AttachmentText\" (\"AttachmentID\", \"State\", \"ReadBy\") VALUES (1, 'done', 'kata')",
            "permission denied");
    refused(clerk.get(), text("99", "done", "x"), "There is no attachment 99");
    refused(clerk.get(), text("1", "kész", "x"), "cannot be in state");
    // A failed reading may be read again by anyone; a finished one only by
    // its reader, and by velmora-admin.
    EXPECT_EQ(refusal(other.get(), text("1", "failed", "")), "");
    EXPECT_EQ(refusal(clerk.get(), text("1", "done", "hamis")), "");
    refused(other.get(), text("1", "done", "felülírva"), "már más olvasta be: ugyfel");
    refused(other.get(), "UPDATE \"AttachmentText\" SET \"Content\" = 'x'", "permission denied");
    EXPECT_THAT(rows("Select State, Content, ReadBy from AttachmentText"), ElementsAre("done|hamis|ugyfel"));
    EXPECT_THAT(admin("attachments read --all"), HasSubstr("Read 1 files with Tesseract"));
    EXPECT_THAT(rows("Select State, ReadBy from AttachmentText"), ElementsAre("done|" + std::string(std::getenv("PGUSER"))));
}
