// Users and groups made without SQL, and passwords stored as hashes: each
// command of velmora-admin on the database as it then stands, refusals
// that change nothing, and logins of the designer and the clerk's program
// with a hashed password, a plain-text one, and a hash typed as a password.
#include "TempFolder.h"
#include "TestDatabase.h"
#include "app/DemoEntryForm.h"
#include "app/DesignerComposition.h"
#include "app/EntryComposition.h"
#include "app/UserAdministration.h"
#include "startup/Passwords.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gmock/gmock.h>

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
        p.script([=] {
            tk::Application->typeText(name);
            tk::Application->pressKey(tk::vk::Tab);
            tk::Application->typeText(password);
            tk::Application->pressKey(tk::vk::Return);
            tk::Application->terminate();
        });
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
