// One database shared by several programs at once, as a department's
// designers share a server: saves that meet, a server that goes away in
// the middle of a save, and creating the tables on a server.
#include "DesignSession.h"
#include "TestDatabase.h"
#include "db/DatabaseError.h"
#include "designs/FormText.h"
#include "toolkit/core/PropertyAccess.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <libpq-fe.h>
#include <sys/wait.h>
#include <unistd.h>

using testing::HasSubstr;
using testing::Not;

namespace {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    std::string centre() const { return std::to_string(left + width / 2) + " " + std::to_string(top + height / 2); }
    std::string at(int x, int y) const { return std::to_string(left + x) + " " + std::to_string(top + y); }
};

// Copies of the real program in one folder with the database's data-link
// file, started at once, each reading its own script.
class SharedDatabase : public ::testing::Test {
protected:
    SharedDatabase()
    {
        makeDemoDatabase(folder.path());
        std::filesystem::copy_file(VELMORA_EXECUTABLE, folder.file("velmora"));
        std::filesystem::permissions(folder.file("velmora"), std::filesystem::perms::owner_all);
    }

    // Starts one program per script, all before reading any; returns what
    // each printed.
    std::vector<std::string> runAtOnce(const std::vector<std::string>& scripts)
    {
        std::vector<FILE*> pipes;
        for (size_t i = 0; i < scripts.size(); ++i) {
            std::string file = folder.file("script" + std::to_string(i) + ".txt");
            std::ofstream(file) << "type demo\nkey tab\ntype demo\nkey enter\n" << scripts[i];
            std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + folder.file("velmora") +
                                  "' < '" + file + "' 2>&1";
            pipes.push_back(popen(command.c_str(), "r"));
        }
        std::vector<std::string> outputs;
        for (FILE* pipe : pipes) {
            std::string out;
            char buf[4096];
            for (size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
            if (pipe) out += "status " + std::to_string(pclose(pipe)) + "\n";
            outputs.push_back(out);
        }
        return outputs;
    }
    std::vector<Rect> where(const std::vector<std::string>& components)
    {
        std::string script;
        for (const std::string& c : components) script += "where " + c + "\n";
        std::istringstream out(runAtOnce({script + "close\n"}).at(0));
        std::vector<Rect> rects;
        for (std::string line; std::getline(out, line) && rects.size() < components.size();) {
            Rect r;
            if (std::sscanf(line.c_str(), "%d %d %d %d", &r.left, &r.top, &r.width, &r.height) == 4) rects.push_back(r);
        }
        EXPECT_EQ(rects.size(), components.size());
        rects.resize(components.size());
        return rects;
    }
    std::vector<std::string> rows(const std::string& sql) { return readRows(folder.file("VelmoraDSC.udl"), sql); }

    TempFolder folder;
};

TEST_F(SharedDatabase, ProgramsSavingAtOnceAddEachColumnAndNameOnceAndStoreWholeDesigns)
{
    std::vector<Rect> r = where({"frmClientMain.pcData", "frmClientMain.tsEdit", "frmComonentPalette.SpeedButton2",
                                 "frmComonentPalette.btnSave"});
    Rect tabs = r[0], entry = r[1], editTool = r[2], save = r[3];
    std::string place =
        "click " + tabs.at(20, 10) + "\nclick " + editTool.centre() + "\nclick " + entry.at(120, 40) + "\n";
    std::vector<Rect> page = where({"frmPropertyPage.cbxFieldName", "frmPropertyPage.cbxDictionary"});
    // Each program names the same new field and dictionary (in its own
    // letter case) and saves for the same group, twice. They log in to
    // Iktatás and save for Pénzügy, so a program that starts late still
    // begins from the design it logged in to, not from another's save.
    std::vector<std::string> scripts;
    const char* dictionaries[] = {"Közös szótár", "KÖZÖS SZÓTÁR", "közös szótár", "Közös Szótár"};
    for (int i = 0; i < 4; ++i) {
        std::string saveForPenz = "click " + save.centre() + "\ntype Pénz\nkey enter\n";
        scripts.push_back(place + "click " + page[0].centre() + "\ntype Kozos\nkey tab\nclick " + page[1].centre() +
                          "\ntype " + dictionaries[i] + "\nkey tab\n" + saveForPenz + saveForPenz + "close\n");
    }
    std::vector<std::string> outputs = runAtOnce(scripts);
    for (const std::string& out : outputs) {
        EXPECT_THAT(out, Not(HasSubstr("error:"))) << out;
        EXPECT_THAT(out, HasSubstr("status 0\n")) << out;
    }
    // One column, one dictionary and one field name, however the saves met.
    auto names = rows(onPostgres() ? "Select column_name from information_schema.columns where table_name = "
                                     "'Document' and table_schema = current_schema()"
                                   : "Select name from pragma_table_info('Document')");
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](auto& n) { return tk::sameName(n, "Kozos"); }), 1);
    EXPECT_EQ(rows("Select count(*) from DictionaryGroup").at(0), "3");
    // The server's sequence may have skipped the number of a refused insert,
    // so the field is checked by the dictionary it names, not by a number.
    EXPECT_EQ(rows("Select FieldName from Fields where DictionaryGroupID = "
                   "(Select max(DictionaryGroupID) from DictionaryGroup)"),
              std::vector<std::string>{"Kozos"});
    EXPECT_EQ(rows("Select count(*) from Fields").at(0), "1");
    // The group's design is one program's whole text.
    std::string design = storedDesign(folder.file("VelmoraDSC.udl"), 2).value_or("");
    EXPECT_THAT(design, HasSubstr("KeyField = 'Kozos'"));
    EXPECT_NO_THROW(velmora::formTextToImage(design));
    EXPECT_THAT(storedDesign(folder.file("VelmoraDSC.udl"), 1).value_or(""), Not(HasSubstr("Kozos")));
}

// Two programs adding the same column at the same moment, in different
// letter case: the server settles it, the column is added once and the
// other program's statement is refused.
TEST_F(SharedDatabase, TheSameColumnAddedByTwoAtOnceIsAddedOnce)
{
    if (needsPostgres()) GTEST_SKIP() << "a server's locks";
    std::string udlFile = folder.file("VelmoraDSC.udl");
    PGconn* holder = PQconnectdb(db::postgresConninfo(db::readDataLinkFile(udlFile).values).c_str());
    ASSERT_EQ(PQstatus(holder), CONNECTION_OK);
    auto run = [&](const char* sql) {
        PGresult* r = PQexec(holder, sql);
        std::string value = PQresultStatus(r) == PGRES_TUPLES_OK ? PQgetvalue(r, 0, 0) : "";
        PQclear(r);
        return value;
    };
    // Both wait behind a lock until they are both waiting.
    run("BEGIN; LOCK TABLE \"Document\" IN ACCESS EXCLUSIVE MODE");
    std::vector<pid_t> children;
    for (const char* name : {"Kozos", "KOZOS"}) {
        pid_t pid = fork();
        if (pid == 0) {
            int status = 1;
            try {
                db::TADOConnection c(nullptr);
                c.setConnectionString("FILE NAME=" + udlFile);
                c.open();
                db::TADOCommand cmd(nullptr);
                cmd.setConnection(&c);
                cmd.setCommandText(std::string("Alter Table Document Add [") + name + "] int ");
                cmd.execute();
                status = 0;
            } catch (const db::EDatabaseError&) {
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    const char* waiting = "SELECT count(*) FROM pg_locks WHERE NOT granted AND relation = '\"Document\"'::regclass";
    for (int i = 0; i < 500 && run(waiting) != "2"; ++i) usleep(10000);
    EXPECT_EQ(run(waiting), "2");
    run("COMMIT");
    int added = 0;
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        added += WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    EXPECT_EQ(added, 1);
    EXPECT_EQ(run("SELECT count(*) FROM pg_attribute WHERE attrelid = '\"Document\"'::regclass"
                  " AND lower(attname) = 'kozos'"),
              "1");
    PQfinish(holder);
}

// A save whose connection is cut in the middle reports it, stores nothing
// and leaves the window as it was; once the server answers again, the next
// save goes through.
class ServerGoneAway : public DesignSession {};

TEST_F(ServerGoneAway, ASaveCutOffInTheMiddleStoresNothingAndTheNextSaveWorks)
{
    if (needsPostgres()) GTEST_SKIP() << "a server's connection";
    std::string udlFile = folder.file("VelmoraDSC.udl");
    tk::TControl* edit = place(0, 120, 20);
    tk::setPropText(*edit, "KeyField", "Elso");
    tk::setPropText(*edit, "FieldType", "0");
    std::string backend = readRows(*velmora::dmClientMain->ADOConnection, "Select pg_backend_pid()").at(0);
    // The connection goes while the lookup list asks for the group.
    platform.script([&] {
        nativeScript(udlFile, "", "SELECT pg_terminate_backend(" + backend + ")");
        app.typeText("Ikt");
        app.pressKey(tk::vk::Return);
    });
    app.click(tk::as<tk::TControl>(velmora::frmComonentPalette->findComponent("btnSave")), {5, 5});
    ASSERT_FALSE(app.errorMessages().empty());
    EXPECT_THAT(app.errorMessages().back(), HasSubstr("connection to the PostgreSQL server"));
    EXPECT_EQ(tk::getPropText(*edit, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_TRUE(window->CompPopup);

    EXPECT_FALSE(storedDesign(udlFile, 1));

    size_t errors = app.errorMessages().size();
    platform.script([&] {
        app.typeText("Ikt");
        app.pressKey(tk::vk::Return);
    });
    app.click(tk::as<tk::TControl>(velmora::frmComonentPalette->findComponent("btnSave")), {5, 5});
    EXPECT_EQ(app.errorMessages().size(), errors);
    EXPECT_THAT(storedDesign(udlFile, 1).value_or(""), HasSubstr("KeyField = 'Elso'"));
    db::TADOConnection reader(nullptr);
    reader.setConnectionString("FILE NAME=" + udlFile);
    reader.open();
    db::TADOQuery q(nullptr);
    q.setConnection(&reader);
    q.setSqlText("Select* from Document where DocumentID is null");
    q.open();
    EXPECT_TRUE(q.findField("Elso"));
}

TEST(ServerSetUp, CreatesTheTablesOnceAndWritesNoPasswordIntoTheDataLinkFile)
{
    if (needsPostgres()) GTEST_SKIP() << "a server";
    TempFolder first, second, third;
    std::string schema = freshServerSchema();
    bool dropped = false;
    velmora::createDemoDatabaseOnServer(first.path(), schema + " password=secret", &dropped);
    EXPECT_TRUE(dropped);
    std::ifstream in(first.file("VelmoraDSC.udl"), std::ios::binary);
    std::string link((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_THAT(link, HasSubstr("Provider=PostgreSQL;"));
    EXPECT_THAT(link, Not(HasSubstr("secret")));
    // The same schema again is refused, and nothing is written.
    try {
        velmora::createDemoDatabaseOnServer(second.path(), schema);
        FAIL();
    } catch (const db::EDatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("does not overwrite"));
    }
    EXPECT_FALSE(std::filesystem::exists(second.file("VelmoraDSC.udl")));
    // An existing data-link file is not overwritten either.
    EXPECT_THROW(velmora::createDemoDatabaseOnServer(first.path(), freshServerSchema()), db::EDatabaseError);
    // A server that is not there is named in the error.
    try {
        velmora::createDemoDatabaseOnServer(third.path(), "host='" + third.path() + "' dbname=nincs");
        FAIL();
    } catch (const db::EDatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Cannot connect to the PostgreSQL server"));
    }
}

}  // namespace
