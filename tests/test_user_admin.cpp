// Users and groups made without SQL, and passwords stored as hashes: each
// command of velmora-admin on the database as it then stands, refusals
// that change nothing, and logins of the designer and the clerk's program
// with a hashed password, a plain-text one, and a hash typed as a password.
#include "EngineShell.h"
#include "ScriptedLogin.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include "admin/UpgradeCommands.h"
#include "admin/UsersAndGroups.h"
#include "app/DemoEntryForm.h"
#include "app/DesignerComposition.h"
#include "app/EntryComposition.h"
#include "entry/History.h"
#include "load/PauseFile.h"
#include "registry/Passwords.h"
#include "registry/RegistryTables.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

using testing::HasSubstr;

namespace {

class UserAdmin : public ::testing::Test {
protected:
    UserAdmin()
    {
        makeDemoDatabase(folder.path());
        velmora::addEntryDemo(folder.file("VelmoraDSC.udl"));
        openDataLink(c, folder.file("VelmoraDSC.udl"));
    }
    // Everything the two tables hold, as text.
    std::string tables()
    {
        db::TADOQuery q(nullptr);
        q.setConnection(&c);
        std::string out;
        for (const char* sql : {"Select UserGroupID, UserGroupName from UserGroup order by UserGroupID",
                                "Select UserID, UserLogin, UserPasswd, UserGroupID from UserTable order by UserID"}) {
            q.close();
            q.setSqlText(sql);
            q.open();
            for (; !q.eof(); q.next()) {
                for (int f = 0; f < q.fieldCount(); ++f) out += q.field(f)->asString() + "|";
                out += "\n";
            }
        }
        return out;
    }
    std::string stored(const std::string& login)
    {
        db::TADOQuery q(nullptr);
        q.setConnection(&c);
        q.setSqlText("Select UserPasswd from UserTable where UserLogin = :L");
        q.parameters().paramByName("L").setValue(tk::Value(login));
        q.open();
        return q.eof() ? std::string() : q.field(0)->asString();
    }
    // Logs in through the dialog of the designer (or the clerk's program);
    // the exit status: 0 when the login opened the program.
    int login(const std::string& name, const std::string& password, bool entry = false)
    {
        tk::HeadlessPlatform p;
        scriptLogin(p, name, password);
        testing::internal::CaptureStderr();
        int status = entry ? velmora::runVelmoraEntry(p, folder.file("velmora-entry"))
                           : velmora::runVelmora(p, folder.file("velmora"));
        testing::internal::GetCapturedStderr();
        return status;
    }
    void refused(const std::function<void()>& action, const std::string& why)
    {
        std::string before = tables();
        try {
            action();
            ADD_FAILURE() << "not refused: " << why;
        } catch (const velmora::ERefusedAdmin& e) {
            EXPECT_THAT(e.what(), HasSubstr(why));
        }
        EXPECT_EQ(tables(), before);
    }

    TempFolder folder;
    db::TADOConnection c{nullptr};
};

}  // namespace

TEST_F(UserAdmin, EachCommandChangesWhatItSaysAndARefusalNothing)
{
    velmora::addGroup(c, "Jog'; drop table UserTable;--");
    velmora::addUser(c, "Anna", "jog'; DROP table usertable;--", "titok");
    EXPECT_TRUE(velmora::isPasswordHash(stored("Anna")));
    EXPECT_TRUE(velmora::passwordMatches(stored("Anna"), "titok"));
    EXPECT_THAT(velmora::listUsers(c), HasSubstr("Jog'; drop table UserTable;--: no design\n  Anna\n"));
    EXPECT_THAT(velmora::listUsers(c), HasSubstr("Ügyfélszolgálat: design\n  ugyfel (plain-text password)\n"));

    refused([&] { velmora::addGroup(c, "JOG'; DROP TABLE USERTABLE;--"); }, "There is a group");
    refused([&] { velmora::addUser(c, "anna", "Iktatás", "x"); }, "There is a user Anna already");
    refused([&] { velmora::addUser(c, "Béla", "Nincs", "x"); }, "There is no group Nincs");
    refused([&] { velmora::addUser(c, "Béla", "Iktatás", ""); }, "The password is empty");
    refused([&] { velmora::addUser(c, "", "Iktatás", "x"); }, "The login name is empty");
    refused([&] { velmora::setPassword(c, "nobody", "x"); }, "There is no user nobody");
    refused([&] { velmora::moveUser(c, "Anna", "Nincs"); }, "There is no group Nincs");
    refused([&] { velmora::removeUser(c, "nobody"); }, "There is no user nobody");

    velmora::moveUser(c, "ANNA", "pénzügy");
    EXPECT_THAT(velmora::listUsers(c), HasSubstr("Pénzügy: no design\n  Anna\n  penzugy (plain-text password)\n"));
    velmora::setPassword(c, "demo", "új jelszó");
    EXPECT_TRUE(velmora::passwordMatches(stored("demo"), "új jelszó"));
    velmora::removeUser(c, "anna");
    EXPECT_EQ(stored("Anna"), "");
}

TEST_F(UserAdmin, AHashedPasswordLogsInAPlainOneStillDoesAndATypedHashNever)
{
    velmora::addUser(c, "Anna", "Ügyfélszolgálat", "titok");
    EXPECT_EQ(login("Anna", "titok"), 0);
    EXPECT_EQ(login("Anna", "titok", true), 0);
    EXPECT_EQ(login("Anna", "Titok"), 1);
    EXPECT_EQ(login("Anna", stored("Anna")), 1);
    EXPECT_EQ(login("anna", "titok"), 1);  // the login name as stored
    // Rows from before hashing: plain text, compared as typed.
    EXPECT_EQ(login("demo", "demo"), 0);
    EXPECT_EQ(login("ugyfel", "ugyfel", true), 0);
    // A hash stored by hand in a plain-text row opens nothing when typed.
    std::string hash = stored("Anna");
    db::TADOCommand cmd(nullptr);
    cmd.setConnection(&c);
    cmd.setCommandText("Update UserTable set UserPasswd = :P where UserLogin = 'demo'");
    cmd.parameters().paramByName("P").setValue(tk::Value(hash));
    cmd.execute();
    EXPECT_EQ(login("demo", hash), 1);
    EXPECT_EQ(login("demo", "titok"), 0);
    // Turned into a hash, the old plain-text password logs in still.
    velmora::setPassword(c, "penzugy", "penzugy");
    EXPECT_EQ(login("penzugy", "penzugy"), 0);
}

TEST_F(UserAdmin, LoginsAndGroupNamesDifferInMoreThanLetterCaseForEveryLetter)
{
    velmora::addUser(c, "Éva", "Iktatás", "titok");
    velmora::addUser(c, "Győző", "Iktatás", "titok");
    refused([&] { velmora::addUser(c, "éva", "Pénzügy", "x"); }, "There is a user Éva already");
    refused([&] { velmora::addUser(c, "GYŐZŐ", "Pénzügy", "x"); }, "There is a user Győző already");
    refused([&] { velmora::addGroup(c, "IKTATÁS"); }, "There is a group Iktatás already");
    refused([&] { velmora::addGroup(c, "ügyfélszolgálat"); }, "There is a group Ügyfélszolgálat already");
    // Found by name in any letter case, too.
    velmora::moveUser(c, "ÉVA", "PÉNZÜGY");
    EXPECT_THAT(velmora::listUsers(c), HasSubstr("Pénzügy: no design\n  penzugy (plain-text password)\n  Éva\n"));

    // The database keeps it for any writer, the engine's own shell included.
    auto [stored, said] = shell(folder.file("VelmoraDSC.udl"), folder.path(),
                                "Insert into \"FoldedName\" (\"NameKind\", \"Scope\", \"OwnerID\", \"Folded\") "
                                "Values ('Login', 0, 999, 'győző')");
    EXPECT_FALSE(stored);
    EXPECT_THAT(said, testing::AnyOf(HasSubstr("UNIQUE constraint failed"), HasSubstr("duplicate key")));
    auto [other, otherSaid] = shell(folder.file("VelmoraDSC.udl"), folder.path(),
                                    "Insert into \"FoldedName\" (\"NameKind\", \"Scope\", \"OwnerID\", \"Folded\") "
                                    "Values ('Login', 0, 999, 'zsófi')");
    EXPECT_TRUE(other) << otherSaid;
}

// Two programs adding names alike at once: the one that checked first but
// inserts second is refused by the database, in words.
TEST_F(UserAdmin, AGroupAddedMeanwhileByAnotherProgramIsRefusedNotDoubled)
{
    std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
    std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
    PauseFile pause(folder.file("paused"));
    std::string command = "cd '" + folder.path() + "' && VELMORA_PAUSE=name-checked:'" + folder.file("paused") +
                          "' ./velmora-admin add-group 'KÖZÖS ÜGYEK' 2>&1";
    FILE* held = popen(command.c_str(), "r");
    ASSERT_TRUE(pause.held());
    velmora::addGroup(c, "Közös ügyek");
    pause.release();
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, held)) > 0;) out.append(buf, n);
    EXPECT_NE(pclose(held), 0);
    EXPECT_THAT(out, HasSubstr("velmora-admin: There is a group KÖZÖS ÜGYEK already, in some letter case"));
    auto groups = readRows(c, "Select UserGroupName from UserGroup where UserGroupID > 3");
    EXPECT_THAT(groups, testing::ElementsAre("Közös ügyek"));
}

// A database made before the keys, holding names alike: the upgrade names
// them, makes everything else, and the programs go on working.
TEST_F(UserAdmin, TheUpgradeNamesNamesAlikeAndMakesTheRest)
{
    runScript(c, "DROP TABLE FoldedName");
    // PostgreSQL's lower() folds Á where SQLite's does not: without this
    // older key both engines can hold entries alike.
    runScript(c, "DROP INDEX DictionaryItemTexts");
    runScript(c, "DROP INDEX \"VelmoraSearch_Iktatoszam\"");
    // History made by a version that did not index it by document.
    velmora::ensureHistoryTable(c);
    runScript(c, "DROP INDEX DocumentHistories");
    runScript(c, "Insert into UserTable (UserLogin, UserPasswd, UserGroupID) Values ('Éva', 'x', 1)");
    runScript(c, "Insert into UserTable (UserLogin, UserPasswd, UserGroupID) Values ('éva', 'y', 2)");
    runScript(c, "Insert into DictionaryItem (DictionaryGroupID, DictionaryItemText) Values (1, 'ÁRAJÁNLAT')");
    std::string notes = velmora::upgradeDatabase(c);
    EXPECT_THAT(notes, HasSubstr("Logins that differ only in letter case (UserTable): Éva, éva;"));
    EXPECT_THAT(notes, HasSubstr("Entries of one dictionary that differ only in letter case (DictionaryItem): "
                                 "Árajánlat, ÁRAJÁNLAT;"));
    EXPECT_EQ(std::count(notes.begin(), notes.end(), '\n'), 2) << notes;
    auto indexes = [&](const std::string& name) {
        return readRows(c, onPostgres() ? "Select count(*) from pg_indexes where lower(indexname) = lower('" + name +
                                              "') and schemaname = current_schema()"
                                        : "Select count(*) from sqlite_master where name = '" + name + "'");
    };
    EXPECT_THAT(indexes("VelmoraSearch_Iktatoszam"), testing::ElementsAre("1"));
    EXPECT_THAT(indexes("DocumentHistories"), testing::ElementsAre("1"));
    // The first of the names alike holds the key; a new one alike is refused.
    refused([&] { velmora::addUser(c, "ÉVA", "Iktatás", "x"); }, "There is a user");
    EXPECT_EQ(login("ugyfel", "ugyfel", true), 0);
    EXPECT_EQ(velmora::upgradeDatabase(c), notes);  // idempotent, and still says it
}

TEST_F(UserAdmin, AZeroLengthDesignCountsAsNone)
{
    storeFormData(folder.file("VelmoraDSC.udl"), 2, "");
    EXPECT_THAT(readRows(c, "Select length(FormData) from UserGroup where UserGroupID = 2"), testing::ElementsAre("0"));
    EXPECT_THAT(velmora::listUsers(c), HasSubstr("Pénzügy: no design\n"));
    EXPECT_THAT(velmora::listUsers(c), HasSubstr("Ügyfélszolgálat: design\n"));
}
