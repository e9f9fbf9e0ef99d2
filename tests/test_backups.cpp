// The embedded database on disk: its owner's alone, copied while clerks
// save, and put back whole.
#include "EntryTest.h"
#include "load/Clerk.h"
#include "startup/DemoDatabase.h"

#include <algorithm>
#include <atomic>
#include <set>
#include <sys/stat.h>
#include <thread>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

class Backups : public EntryTest {
protected:
    void SetUp() override
    {
        if (onPostgres()) GTEST_SKIP() << "the SQLite database file";
    }
    std::string admin(const std::string& arguments)
    {
        if (!std::filesystem::exists(folder.file("velmora-admin"))) {
            std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
            std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
        }
        return commandOutput("cd '" + folder.path() + "' && ./velmora-admin " + arguments + " 2>&1 </dev/null");
    }
    static unsigned mode(const std::string& path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
};

// A clerk at a program of its own, saving new documents until told to stop.
struct SavingClerk {
    ChildProgram program;
    Clerk clerk;
    std::atomic<int> saved{0};
    std::atomic<bool> stop{false};
    std::string failure;
    std::thread thread;

    SavingClerk(const std::string& executable, int firstNumber)
        : program(executable), clerk(program, velmora::entryDemoLogin)
    {
        thread = std::thread([this, firstNumber] {
            try {
                for (int i = 0; !stop; ++i) {
                    clerk.fillNew(firstNumber + i, "Mentés " + std::to_string(firstNumber + i));
                    clerk.saveNew();
                    ++saved;
                }
            } catch (const std::exception& e) {
                failure = e.what();
            }
        });
    }
    int finish()
    {
        stop = true;
        thread.join();
        return program.finish();
    }
};

}  // namespace

TEST_F(Backups, TheDatabaseAndTheFoldersInitdbMakesAreTheOwnersAloneAndAnExposedFileIsSaid)
{
    std::string made = folder.file("uj/iroda");
    velmora::createDemoDatabase(made);
    EXPECT_EQ(mode(made + "/velmora.db"), 0600u);
    EXPECT_EQ(mode(made), 0700u);
    EXPECT_EQ(mode(folder.file("uj")), 0700u);

    EXPECT_EQ(mode(folder.file("velmora.db")), 0600u);
    EXPECT_THAT(play("get frmClientMain.StatusBar1.SimpleText\n"), Not(HasSubstr("olvashat")));
    std::filesystem::permissions(folder.file("velmora.db"), std::filesystem::perms::others_read,
                                 std::filesystem::perm_options::add);
    // Said, not refused: the clerk works on.
    std::string out = play("get frmClientMain.StatusBar1.SimpleText\nget frmClientMain.btnNew.Enabled\n");
    EXPECT_THAT(out, HasSubstr("'Az adatb'#225'zisf'#225'jlt a g'#233'p m'#225's felhaszn'#225'l'#243'i is "
                               "olvashatj'#225'k: "));
    EXPECT_THAT(out, HasSubstr("True"));
}

TEST_F(Backups, ACopyMadeWhileClerksSaveHoldsEveryDocumentCommittedBeforeItAndIsPutBackWhole)
{
    std::vector<std::unique_ptr<SavingClerk>> clerks;
    clerks.push_back(std::make_unique<SavingClerk>(folder.file("velmora-entry"), 10000));
    clerks.push_back(std::make_unique<SavingClerk>(folder.file("velmora-entry"), 20000));
    auto savedSoFar = [&] { return clerks[0]->saved + clerks[1]->saved; };
    for (int waited = 0; savedSoFar() < 10 && waited < 600; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));

    // What was committed before the copy began, with its history.
    const char* const documents =
        "Select d.DocumentID, d.Iktatoszam, d.Targy, count(h.HistoryID) from Document d "
        "left join DocumentHistory h on h.DocumentID = d.DocumentID group by d.DocumentID, "
        "d.Iktatoszam, d.Targy order by d.DocumentID";
    std::vector<std::string> before = rows(documents);
    std::string said = admin("backup masolat.db");
    EXPECT_THAT(said, testing::MatchesRegex("Copied .*velmora.db to masolat.db \\([0-9]+ bytes, checked whole\\) in "
                                            "[0-9.]+ s.\n"));
    EXPECT_EQ(mode(folder.file("masolat.db")), 0600u);
    // A copy overwrites nothing; a restore is refused while programs use it.
    EXPECT_THAT(admin("backup masolat.db"), HasSubstr("exists already"));
    EXPECT_THAT(admin("restore masolat.db"), HasSubstr("Another program has the database"));

    for (auto& c : clerks) {
        EXPECT_EQ(c->finish(), 0) << c->failure;
        EXPECT_EQ(c->failure, "");
    }
    std::ofstream(folder.file("masolat.udl")) << "[oledb]\r\nProvider=SQLite;Data Source=masolat.db\r\n";
    std::vector<std::string> copied = readRows(folder.file("masolat.udl"), documents);
    for (const std::string& row : before) EXPECT_THAT(copied, testing::Contains(row));
    // Every copied document is whole: each has its insert's history row.
    for (const std::string& row : copied) {
        if (std::stoi(row.substr(0, row.find('|'))) > 3) {
            EXPECT_EQ(row.substr(row.rfind('|')), "|1") << row;
        }
    }
    EXPECT_THAT(readRows(folder.file("masolat.udl"), "PRAGMA integrity_check"), ElementsAre("ok"));
    // The clerks saved on after the copy began.
    EXPECT_GT(rows(documents).size(), copied.size());

    // Put back, the database is the copy again: what was saved after it is gone.
    said = admin("restore masolat.db");
    EXPECT_THAT(said, HasSubstr("Put the copy masolat.db back into ")) << said;
    EXPECT_EQ(rows(documents), copied);
    EXPECT_THAT(rows("PRAGMA integrity_check"), ElementsAre("ok"));
    // And the programs work on it.
    EXPECT_THAT(play("get frmClientMain.btnNew.Enabled\n"), HasSubstr("True"));
    // A file that is no copy of a Velmora database is refused, and changes nothing.
    std::ofstream(folder.file("zaj.db")) << "not a database";
    EXPECT_THAT(admin("restore zaj.db"), HasSubstr("zaj.db"));
    EXPECT_EQ(rows(documents), copied);
}

// A copy larger than one step tells its progress step by step while
// another program writes between the steps. With the write-ahead log the
// copy is the database as it was when the copy began; in a rollback
// journal each write starts the copy again, and after a few restarts it
// finishes in one step, holding every write made before it finished.
TEST_F(Backups, ACopyOvertakenByWritesFinishesWholeAndSaysHowFarItIs)
{
    if (onPostgres()) GTEST_SKIP() << "SQLite's file";
    for (const char* journal : {"wal", "delete"}) {
        SCOPED_TRACE(journal);
        ASSERT_THAT(rows(std::string("PRAGMA journal_mode = ") + journal), ElementsAre(journal));
        db::TADOConnection writer(nullptr);
        openDataLink(writer, udl());
        runScript(writer, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) INSERT "
                          "INTO Document (Iktatoszam, Targy) SELECT i, printf('%.2000c', 'x') FROM n");
        std::string before = rows("Select count(*) from Document").at(0);
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        std::vector<double> told;
        int written = 0;
        std::string name = std::string("masolat-") + journal + ".db", copy = folder.file(name);
        c.backupTo(copy, [&](double done) {
            told.push_back(done);
            if (written < 5 && done < 1.0)
                runScript(writer, "Insert into Document (Iktatoszam) Values (" + std::to_string(9000 + ++written) + ")");
        });
        ASSERT_GE(told.size(), 3u);
        // Only a copy that starts again tells a share it told before.
        bool startedAgain = std::adjacent_find(told.begin(), told.end(), std::greater_equal<>()) != told.end();
        EXPECT_EQ(startedAgain, journal[0] == 'd');
        EXPECT_EQ(told.back(), 1.0);
        std::ofstream(folder.file("masolat.udl")) << "[oledb]\r\nProvider=SQLite;Data Source=" << name << "\r\n";
        EXPECT_THAT(readRows(folder.file("masolat.udl"), "PRAGMA integrity_check"), ElementsAre("ok"));
        EXPECT_EQ(readRows(folder.file("masolat.udl"), "Select count(*) from Document").at(0),
                  journal[0] == 'w' ? before : rows("Select count(*) from Document").at(0));
        runScript(writer, "Delete from Document where Iktatoszam > 9000");
    }
}

// A database made before the write-ahead log is turned to it by the
// upgrade, once, and only when no other program is reading it.
TEST_F(Backups, TheUpgradeTurnsAnOlderDatabaseToTheWriteAheadLogWhenNobodyReadsIt)
{
    if (onPostgres()) GTEST_SKIP() << "SQLite's journal";
    EXPECT_THAT(rows("PRAGMA journal_mode"), ElementsAre("wal"));  // as every new database
    ASSERT_THAT(rows("PRAGMA journal_mode = DELETE"), ElementsAre("delete"));
    db::TADOConnection reader(nullptr);
    openDataLink(reader, udl());
    reader.beginTrans();
    readRows(reader, "Select count(*) from Document");
    EXPECT_THAT(admin("upgrade"), HasSubstr("keeps its rollback journal: another program was reading it"));
    EXPECT_THAT(rows("PRAGMA journal_mode"), ElementsAre("delete"));
    reader.commitTrans();
    EXPECT_THAT(admin("upgrade"), HasSubstr("keeps a write-ahead log from now on"));
    EXPECT_THAT(rows("PRAGMA journal_mode"), ElementsAre("wal"));
    EXPECT_EQ(admin("upgrade"), "");
}
