// Every user a role of the PostgreSQL server: what the server itself
// refuses to someone who connects with a user's own credentials, as anyone
// with psql could, and the programs doing their work under the same
// privileges.
#include "ServerRolesTest.h"
#include "admin/NumberingCommand.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

TEST_F(ServerRoles, TheServerRefusesAClerkAndADesignerWhatTheirKindDoesNotAllow)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        velmora::runNumberingCommand(c, {"set", "Iktatoszam"});
    }
    Connection clerk = connectAs(velmora::entryDemoLogin, velmora::entryDemoPassword);
    ASSERT_EQ(PQstatus(clerk.get()), CONNECTION_OK) << PQerrorMessage(clerk.get());

    // Other groups and users are not there for a clerk; the passwords are
    // the server's, not the table's.
    EXPECT_EQ(value(clerk.get(), "SELECT count(*) FROM \"UserGroup\""), "1");
    EXPECT_EQ(value(clerk.get(), "SELECT count(*) FROM \"UserTable\" WHERE \"UserLogin\" = 'demo'"), "0");
    EXPECT_EQ(value(clerk.get(), "SELECT \"UserPasswd\" FROM \"UserTable\""), "");
    EXPECT_THAT(refusal(clerk.get(), "UPDATE \"UserGroup\" SET \"FormData\" = NULL WHERE \"UserGroupID\" = 1"),
                HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(), "UPDATE \"UserGroup\" SET \"FormData\" = NULL"), HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(), "DELETE FROM \"Document\""), HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(), "UPDATE \"DocumentHistory\" SET \"Action\" = 'x'"),
                HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(), "DELETE FROM \"DocumentHistory\""), HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(),
                        "INSERT INTO \"DocumentHistory\" (\"DocumentID\", \"UserID\", \"ChangedAt\", \"Action\") "
                        "VALUES (1, 1, now(), 'felvitel')"),
                HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(), "ALTER TABLE \"Document\" ADD \"Titok\" int"), HasSubstr("must be owner"));
    EXPECT_THAT(refusal(clerk.get(), "INSERT INTO \"Document\" (\"Iktatoszam\", \"Targy\") VALUES (9999, 'kézzel')"),
                HasSubstr("kézzel nem adható meg"));
    EXPECT_THAT(refusal(clerk.get(), "UPDATE \"Document\" SET \"Iktatoszam\" = 9999"), HasSubstr("nem módosítható"));
    // Nor may a clerk make roles or write a void without its history.
    EXPECT_THAT(refusal(clerk.get(), "SELECT velmora_set_login('ugyfel', 'SCRAM-SHA-256$x')"),
                HasSubstr("permission denied"));
    EXPECT_THAT(refusal(clerk.get(), "INSERT INTO \"DocumentVoid\" VALUES (1, 1, 'x')"),
                HasSubstr("permission denied"));
    // The history is the server's own: no function writes it on a
    // clerk's word.
    EXPECT_THAT(refusal(clerk.get(), "SELECT velmora_history(1, 'módosítás', '[[\"Targy\", \"a\", \"b\"]]')"),
                HasSubstr("does not exist"));
    // A function of the program's own in the clerk's pg_temp, first in
    // the session's path, is not the one the server's functions call.
    EXPECT_EQ(refusal(clerk.get(),
                      "CREATE FUNCTION pg_temp.velmora_login() RETURNS text LANGUAGE sql AS $$ SELECT 'demo' $$; "
                      "SELECT set_config('search_path', 'pg_temp, ' || quote_ident(current_schema()), false)"),
              "");
    EXPECT_THAT(value(clerk.get(), "SELECT velmora_void(2, 'teszt')"), Not(HasSubstr("error")));
    EXPECT_THAT(rows("Select UserLogin from DocumentHistory where Action = 'érvénytelenítés'"), ElementsAre("ugyfel"));

    Connection designer = connectAs(velmora::demoLogin, velmora::demoPassword);
    ASSERT_EQ(PQstatus(designer.get()), CONNECTION_OK) << PQerrorMessage(designer.get());
    EXPECT_EQ(value(designer.get(), "SELECT count(*) FROM \"UserGroup\""), "3");
    EXPECT_THAT(refusal(designer.get(), "UPDATE \"DocumentHistory\" SET \"Action\" = 'x'"),
                HasSubstr("permission denied"));
    EXPECT_THAT(refusal(designer.get(), "DELETE FROM \"DocumentHistory\""), HasSubstr("permission denied"));
    EXPECT_THAT(refusal(designer.get(), "DELETE FROM \"DocumentChange\""), HasSubstr("permission denied"));
    EXPECT_THAT(refusal(designer.get(), "DELETE FROM \"DocumentVoid\""), HasSubstr("permission denied"));
    EXPECT_THAT(refusal(designer.get(), "UPDATE \"DocumentNumberCounter\" SET \"LastNumber\" = 1"),
                HasSubstr("permission denied"));
    EXPECT_EQ(value(designer.get(), "SELECT count(*) FROM \"UserTable\" WHERE \"UserLogin\" = 'ugyfel'"), "0");
    // The designer's save adds columns through the owner's function;
    // Document is not the designer's.
    EXPECT_THAT(refusal(designer.get(), "ALTER TABLE \"Document\" ADD \"Uj\" int"), HasSubstr("must be owner"));
    EXPECT_EQ(refusal(designer.get(), "SELECT velmora_add_column('Uj', 'int')"), "");
    EXPECT_THAT(refusal(designer.get(), "SELECT velmora_add_column('UJ', 'varchar(50)')"), HasSubstr("already exists"));
    EXPECT_THAT(refusal(designer.get(), "SELECT velmora_add_column('Más', 'text; DROP TABLE \"Document\"')"),
                HasSubstr("cannot be of type"));
    EXPECT_THAT(refusal(designer.get(), "SELECT velmora_add_column('a\"b', 'int')"), HasSubstr("cannot be named"));
}

TEST_F(ServerRoles, TheClerksProgramWorksUnderTheClerksPrivilegesAndTheServerKeepsTheHistory)
{
    std::string out = play(click("btnNew") + "focus\ntype 3001\nkey tab\ntype Szerepben\n" + click("btnSave") +
                           "get frmClientMain.StatusBar1.SimpleText\n" + click("btnModify") + "focus\n" +
                           click("TZEDit2") + "key end\ntype !\n" + click("btnSave"));
    EXPECT_THAT(out, Not(HasSubstr("error"))) << out;
    EXPECT_THAT(rows("Select Iktatoszam, Targy from Document where Iktatoszam = 3001"), ElementsAre("3001|Szerepben!"));
    EXPECT_THAT(rows("Select h.UserLogin, h.Action, c.ColumnName, c.OldValue, c.NewValue from DocumentHistory h, "
                     "DocumentChange c, Document d where c.HistoryID = h.HistoryID and h.DocumentID = d.DocumentID "
                     "and d.Iktatoszam = 3001 and c.ColumnName = 'Targy' order by h.HistoryID"),
                ElementsAre("ugyfel|felvitel|Targy|null|Szerepben", "ugyfel|módosítás|Targy|Szerepben|Szerepben!"));
}

TEST_F(ServerRoles, UsersAreRolesMadeChangedAndRemovedByTheAdministrator)
{
    EXPECT_THAT(admin("list"), HasSubstr("Users are roles of the PostgreSQL server, named " + prefix() + ".LOGIN."));
    EXPECT_THAT(admin("list"), HasSubstr("Iktatás: no design, designer"));

    // A password with a blank, a quote and a backslash is the role's own,
    // typed as it stands.
    const std::string password = "ti tok'\\x\"";
    EXPECT_EQ(admin("add-user kata " + std::string("'Ügyfélszolgálat'"), password), "");
    EXPECT_THAT(rows("Select UserPasswd from UserTable where UserLogin = 'kata'"), ElementsAre(""));
    EXPECT_EQ(PQstatus(connectAs("kata", password).get()), CONNECTION_OK);
    EXPECT_THAT(play("get frmClientMain.btnNew.Enabled\n", "kata"), HasSubstr("0 users match"));
    std::ofstream(folder.file("script.txt"))
        << Gestures::login("kata", password) << "get frmClientMain.btnNew.Enabled\n";
    EXPECT_THAT(commandOutput(command() + " < '" + folder.file("script.txt") + "' 2>&1"), HasSubstr("True"));

    // A wrong password and an unknown login are refused in the same words.
    std::ofstream(folder.file("script.txt")) << Gestures::login("kata", "rossz") << "windows\n";
    std::string wrong = commandOutput(command() + " < '" + folder.file("script.txt") + "' 2>&1");
    std::ofstream(folder.file("script.txt")) << Gestures::login("senki", "rossz") << "windows\n";
    std::string unknown = commandOutput(command() + " < '" + folder.file("script.txt") + "' 2>&1");
    EXPECT_THAT(wrong, HasSubstr("start-up failed: 0 users match the login name and password"));
    EXPECT_EQ(wrong, unknown);

    EXPECT_EQ(admin("set-password kata", "új jelszó"), "");
    EXPECT_NE(PQstatus(connectAs("kata", password).get()), CONNECTION_OK);
    EXPECT_EQ(PQstatus(connectAs("kata", "új jelszó").get()), CONNECTION_OK);

    // Moved to the designer's group, the role may read every group.
    EXPECT_EQ(admin("move-user kata 'Iktatás'"), "");
    EXPECT_EQ(value(connectAs("kata", "új jelszó").get(), "SELECT count(*) FROM \"UserGroup\""), "3");
    EXPECT_EQ(admin("group-kind 'Iktatás' clerk"), "");
    EXPECT_EQ(value(connectAs("kata", "új jelszó").get(), "SELECT count(*) FROM \"UserGroup\""), "1");
    EXPECT_EQ(admin("add-group 'Irattár' --kind admin"), "");
    EXPECT_THAT(admin("list"), HasSubstr("Irattár: no design, admin"));
    EXPECT_THAT(admin("add-group 'Más' --kind főnök"), HasSubstr("clerk, designer or admin"));

    // A login too long for a role's name is refused, not cut short.
    EXPECT_THAT(admin("add-user " + std::string(50, 'k') + " 'Iktatás'", "jelszo"), HasSubstr("too long"));
    EXPECT_THAT(rows("Select count(*) from UserTable where UserLogin like 'kkkk%'"), ElementsAre("0"));

    EXPECT_EQ(admin("remove-user kata"), "");
    EXPECT_NE(PQstatus(connectAs("kata", "új jelszó").get()), CONNECTION_OK);
    EXPECT_THAT(readRows(udl(), "Select count(*) from pg_roles where rolname = '" + prefix() + ".kata'"),
                ElementsAre("0"));
}

namespace {

// A database made with shared credentials, moved over by velmora-admin.
class ServerRolesMovingOver : public ServerRoles {
protected:
    void SetUp() override
    {
        if (needsPostgres() || rolesRun()) GTEST_SKIP() << "a shared-credential database on a PostgreSQL server";
    }
};

}  // namespace

TEST_F(ServerRolesMovingOver, RolesEnableKeepsPlainPasswordsAsRolesAndNamesWhoNeedsANewOne)
{
    EXPECT_EQ(admin("add-user hashelt 'Ügyfélszolgálat'", "titok"), "");
    EXPECT_THAT(admin("list"), Not(HasSubstr("roles of the PostgreSQL server")));
    EXPECT_THAT(admin("group-kind 'Iktatás' designer"), HasSubstr("only where users are roles of the server"));

    // From here the data-link file names no user: the administrator's own
    // connection is libpq's default, the server's superuser.
    std::string superuser = db::parseKeyValues(db::postgresDataLinkLine(testServer()))["user"];
    setenv("PGUSER", superuser.c_str(), 1);
    std::string said = admin("roles enable");
    EXPECT_THAT(said, HasSubstr("Users are roles of the server now"));
    EXPECT_THAT(said, HasSubstr("hashelt: needs a new password (velmora-admin set-password hashelt)"));
    EXPECT_THAT(said, Not(HasSubstr("ugyfel:")));
    db::DataLink link = db::readDataLinkFile(udl());
    EXPECT_EQ(link.value("user"), "");
    EXPECT_NE(link.value("Login Role Prefix"), "");
    EXPECT_THAT(admin("list"), HasSubstr("hashelt (no role on the server: set a password)"));
    EXPECT_THAT(rows("Select count(*) from UserTable where UserPasswd <> ''"), ElementsAre("0"));
    // The shared login owns nothing any more: everything is the owner role's.
    EXPECT_THAT(rows("Select distinct pg_get_userbyid(relowner) from pg_class where relnamespace = (Select oid from "
                     "pg_namespace where nspname = current_schema())"),
                ElementsAre(prefix() + "/owner"));

    // The clerk logs in with the password of before, now the server's.
    EXPECT_THAT(play("get frmClientMain.btnNew.Enabled\n"), HasSubstr("True"));
    EXPECT_THAT(play("get frmClientMain.btnNew.Enabled\n", "hashelt"), HasSubstr("0 users match"));
    EXPECT_EQ(admin("set-password hashelt", "hashelt"), "");
    EXPECT_THAT(play("get frmClientMain.btnNew.Enabled\n", "hashelt"), HasSubstr("True"));
    // A second time changes nothing and loses nothing.
    EXPECT_THAT(admin("roles enable"), HasSubstr("Users are roles of the server now"));
    EXPECT_THAT(play("get frmClientMain.btnNew.Enabled\n", "hashelt"), HasSubstr("True"));
}
