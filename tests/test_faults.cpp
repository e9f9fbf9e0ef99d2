// Faults in the middle of a save, met by the real programs: a disk that
// fills up (a file size limit on the program, its SIGXFSZ ignored, so that
// writes fail as on a full disk) and a PostgreSQL connection cut while a
// document is half written or a search is read. Each time the user is
// told, the form keeps what was typed, nothing is half stored, and the
// next save, once the fault is gone, works.
#include "EntryTest.h"
#include "db/DatabaseError.h"
#include "entry/EntryForm.h"
#include "load/Clerk.h"
#include "load/Designer.h"
#include "load/PauseFile.h"

#include <filesystem>
#include <fstream>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class Faults : public EntryTest {
protected:
    long long databaseSize() const { return static_cast<long long>(std::filesystem::file_size(folder.file("velmora.db"))); }
    std::string count(const std::string& table) { return rows("Select count(*) from " + table).at(0); }
};

TEST_F(Faults, AFullDiskRefusesADocumentSaveKeepsTheFormAndTheNextSaveWorks)
{
    if (onPostgres()) GTEST_SKIP() << "a size limit on the SQLite file";
    ChildProgram program(folder.file("velmora-entry"));
    Clerk clerk(program, velmora::entryDemoLogin);
    // The disk fills up after start-up, which makes the program's tables.
    program.setFileSizeLimit(databaseSize());
    // Documents until the file would have to grow.
    int saved = 0;
    Answers refused;
    std::string subject;
    try {
        for (int i = 0; i < 500 && refused.errors.empty(); ++i) {
            subject = "Tele lemez " + std::to_string(i);
            clerk.fillNew(5000 + i, subject);
            Clerk::Save s;
            Answers a = clerk.save(s);
            if (a.errors.empty()) ++saved;
            else refused = a;
        }
    } catch (const std::exception& e) {
        FAIL() << e.what() << "\n" << program.transcript();
    }
    ASSERT_FALSE(refused.errors.empty()) << "the size limit never stopped a save";
    EXPECT_EQ(refused.errors[0], "Nincs elég hely a lemezen, az adatbázisba nem lehet írni (File too large).");
    // Still entering the same document, with what was typed.
    Gestures& g = clerk.gestures();
    EXPECT_EQ(g.answer("", "get frmClientMain.TZEDit2.Text"), "'" + subject + "'");
    EXPECT_EQ(g.answer("", "get frmClientMain.btnSave.Enabled"), "True");
    // What was saved before is whole; the refused one is not there at all.
    EXPECT_THAT(rows("PRAGMA integrity_check"), ElementsAre("ok"));
    EXPECT_EQ(count("Document"), std::to_string(3 + saved));
    EXPECT_EQ(count("DocumentHistory"), std::to_string(saved));

    // Space again: the same form saves.
    program.setFileSizeLimit(-1);
    Clerk::Save s;
    Answers a = clerk.save(s);
    EXPECT_TRUE(a.errors.empty()) << program.transcript();
    EXPECT_EQ(a.lines[0], "'Dokumentum: " + std::to_string(4 + saved) + "'");
    EXPECT_THAT(rows("Select Targy from Document where DocumentID = " + std::to_string(4 + saved)),
                ElementsAre(subject));
    EXPECT_EQ(count("DocumentHistory"), std::to_string(saved + 1));
    EXPECT_EQ(program.finish(), 0);
}

TEST_F(Faults, AFullDiskRefusesAnAttachedFileAsItRefusesASaveAndLeavesNoPartOfIt)
{
    if (onPostgres()) GTEST_SKIP() << "a size limit on the SQLite file";
    std::string file = folder.file("beolvasott.pdf");
    {
        std::ofstream out(file, std::ios::binary);
        out << "%PDF-1.4\n";
        for (int i = 0; i < 2500000; ++i) out.put(static_cast<char>(i * 7 % 253));
    }
    ChildProgram program(folder.file("velmora-entry"));
    Clerk clerk(program, velmora::entryDemoLogin);
    Clerk::Save shown;
    clerk.show(1002, shown);
    Gestures& g = clerk.gestures();
    // Room for a chunk of the file, not for all of it.
    program.setFileSizeLimit(databaseSize() + 1200000);
    Answers refused = g.ask("attach " + file + "\n", {"get frmClientMain.StatusBar1.SimpleText"});
    ASSERT_EQ(refused.errors.size(), 1u) << program.transcript();
    EXPECT_EQ(refused.errors[0], "Nincs elég hely a lemezen, az adatbázisba nem lehet írni (File too large).");
    EXPECT_THAT(rows("PRAGMA integrity_check"), ElementsAre("ok"));
    EXPECT_EQ(count("DocumentAttachment"), "0");
    EXPECT_EQ(count("DocumentAttachmentChunk"), "0");
    EXPECT_EQ(rows("Select count(*) from DocumentHistory where Action = 'csatolás'").at(0), "0");

    // Space again: the same file is attached whole.
    program.setFileSizeLimit(-1);
    Answers attached = g.ask("attach " + file + "\n", {"get frmClientMain.StatusBar1.SimpleText"});
    EXPECT_TRUE(attached.errors.empty()) << program.transcript();
    EXPECT_EQ(attached.lines[0], "'Csatolva: beolvasott.pdf'");
    EXPECT_THAT(rows("Select FileSize from DocumentAttachment"), ElementsAre("2500009"));
    EXPECT_EQ(program.finish(), 0);
}

TEST_F(Faults, AFullDiskRefusesADesignSaveKeepsTheOldDesignAndTheWindow)
{
    if (onPostgres()) GTEST_SKIP() << "a size limit on the SQLite file";
    std::filesystem::copy_file(VELMORA_EXECUTABLE, folder.file("velmora"));
    std::filesystem::permissions(folder.file("velmora"), std::filesystem::perms::owner_all);
    std::optional<std::string> old = storedDesign(udl(), 1);
    ChildProgram program(folder.file("velmora"));
    Designer designer(program, "demo");
    Gestures& g = designer.gestures();
    std::string placing;
    for (int i = 0; i < 6; ++i) placing += designer.placeEdit({20 + 130 * (i / 3), 170 + 24 * (i % 3)});
    g.answer(placing, "focus");
    // The disk fills up now: no file may grow past one page, the log that
    // a save writes first no more than the database.
    program.setFileSizeLimit(4096);
    Answers a = g.ask(designer.save("Ikt"), {"focus"});
    ASSERT_FALSE(a.errors.empty()) << program.transcript();
    EXPECT_EQ(a.errors[0], "Nincs elég hely a lemezen, az adatbázisba nem lehet írni (File too large).");
    program.send("key enter\n");
    EXPECT_EQ(storedDesign(udl(), 1), old);
    EXPECT_THAT(rows("PRAGMA integrity_check"), ElementsAre("ok"));
    // The window keeps the placed edits, still wired for design.
    EXPECT_EQ(g.answer("", "get frmClientMain.TZEDit6.OnMouseDown"), "ComponentMouseDown");

    program.setFileSizeLimit(-1);
    a = g.ask(designer.save("Ikt"), {"focus"});
    EXPECT_TRUE(a.errors.empty()) << program.transcript();
    EXPECT_THAT(storedDesign(udl(), 1).value_or(""), HasSubstr("object TZEDit6: TZEDit"));
    EXPECT_EQ(program.finish(), 0);
}

// The server side of a program's connection, ended as a server restart or
// a network cut would end it.
void cutConnectionOf(const std::string& udlFile, const std::string& applicationName)
{
    nativeScript(udlFile, "",
                 "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = '" +
                     applicationName + "'");
}

TEST_F(Faults, AConnectionCutInTheMiddleOfADocumentSaveStoresNothingAndTheNextSaveReconnects)
{
    if (needsPostgres()) GTEST_SKIP() << "a server's connection";
    PauseFile pause(folder.file("paused"));
    std::string name = "velmora-fault-" + std::to_string(getpid());
    std::vector<std::string> environment = pause.environment("document-written");
    environment.push_back("PGAPPNAME=" + name);
    ChildProgram program(folder.file("velmora-entry"), environment);
    Clerk clerk(program, velmora::entryDemoLogin);
    clerk.fillNew(7001, "Megszakadt");
    clerk.clickSave();
    ASSERT_TRUE(pause.held()) << program.transcript();
    // The document's row is written, its history row not yet: the cut comes now.
    cutConnectionOf(udl(), name);
    pause.release();
    Gestures& g = clerk.gestures();
    std::string error = program.line();
    EXPECT_THAT(error, HasSubstr("error: Nem érhető el az adatbázis-kiszolgáló, ezért a művelet nem történt meg: The "
                                 "connection to the PostgreSQL server was lost"));
    program.send("key enter\n");
    EXPECT_EQ(g.answer("", "get frmClientMain.TZEDit2.Text"), "'Megszakadt'");
    EXPECT_THAT(rows("Select count(*) from Document where Iktatoszam = 7001"), ElementsAre("0"));
    EXPECT_THAT(rows("Select count(*) from DocumentHistory"), ElementsAre("0"));

    // The next save opens a new connection and stores the document whole.
    Clerk::Save s;
    Answers a = clerk.save(s);
    EXPECT_TRUE(a.errors.empty()) << program.transcript();
    EXPECT_THAT(rows("Select Targy from Document where Iktatoszam = 7001"), ElementsAre("Megszakadt"));
    EXPECT_THAT(rows("Select Action from DocumentHistory"), ElementsAre("felvitel"));
    EXPECT_EQ(program.finish(), 0);
}

TEST_F(Faults, AConnectionCutBeforeASearchIsSaidAndTheNextSearchReconnects)
{
    if (needsPostgres()) GTEST_SKIP() << "a server's connection";
    std::string name = "velmora-fault-" + std::to_string(getpid());
    ChildProgram program(folder.file("velmora-entry"), {"PGAPPNAME=" + name});
    Clerk clerk(program, velmora::entryDemoLogin);
    Gestures& g = clerk.gestures();
    std::string search = clerk.search();
    EXPECT_EQ(g.answer(search, "get frmClientMain.StatusBar1.SimpleText"), "'3 tal'#225'lat'");
    cutConnectionOf(udl(), name);
    Answers cut = g.ask(search, {"get frmClientMain.StatusBar1.SimpleText"});
    ASSERT_FALSE(cut.errors.empty()) << program.transcript();
    EXPECT_THAT(cut.errors[0], HasSubstr("The connection to the PostgreSQL server"));
    program.send("key enter\n");
    EXPECT_EQ(g.answer(search, "get frmClientMain.StatusBar1.SimpleText"), "'3 tal'#225'lat'");
    EXPECT_EQ(program.finish(), 0);
}

}  // namespace

namespace {

// The data access under the form: a connection lost inside a transaction
// is not made again until the transaction is over, so that no statement of
// it lands outside it.
TEST_F(Faults, AConnectionLostInsideATransactionStaysLostUntilItEnds)
{
    if (needsPostgres()) GTEST_SKIP() << "a server's connection";
    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    std::string backend = readRows(c, "Select pg_backend_pid()").at(0);
    db::TADOCommand insert(nullptr);
    insert.setConnection(&c);
    insert.setCommandText("Insert into Document (Iktatoszam, Targy) Values (8001, 'fel')");
    c.beginTrans();
    insert.execute();
    nativeScript(udl(), "", "SELECT pg_terminate_backend(" + backend + ")");
    EXPECT_THROW(insert.execute(), db::EDatabaseError);
    // A caller that carries on anyway is refused, not reconnected.
    EXPECT_THROW(insert.execute(), db::EDatabaseError);
    c.rollbackTrans();
    EXPECT_THAT(rows("Select count(*) from Document where Iktatoszam = 8001"), ElementsAre("0"));
    insert.execute();  // outside the transaction: connects again
    EXPECT_THAT(rows("Select count(*) from Document where Iktatoszam = 8001"), ElementsAre("1"));
}

}  // namespace

namespace {

// A save is stored, then reading the document back outwaits SQLite's busy
// wait: the clerk is told the document was saved, the form shows it as
// saved, and modifying it works from the values written, so a retry never
// stores it twice or is refused as changed by someone else.
TEST_F(Faults, ASaveStoredButNotReadBackIsShownAsSavedAndModifiesOnFromWhatWasWritten)
{
    if (onPostgres()) GTEST_SKIP() << "a SQLite file's lock";
    // A database in its rollback journal, as one made before the write-ahead
    // log and not upgraded: there a program that holds the file exclusively
    // holds every reader off too.
    ASSERT_THAT(rows("PRAGMA journal_mode = DELETE"), ElementsAre("delete"));
    PauseFile pause(folder.file("paused"));
    ChildProgram program(folder.file("velmora-entry"), pause.environment("document-saved"));
    Clerk clerk(program, velmora::entryDemoLogin);
    clerk.fillNew(6001, "Visszaolvasatlan");
    clerk.clickSave();
    ASSERT_TRUE(pause.held()) << program.transcript();
    Gestures& g = clerk.gestures();
    {
        // Another program holds the file exclusively while the saved document is read back.
        db::TADOConnection other(nullptr);
        openDataLink(other, udl());
        runScript(other, "BEGIN EXCLUSIVE");
        pause.release();
        std::string error = program.line();
        EXPECT_EQ(error, std::string("error: ") + velmora::savedButNotReadBack + "database is locked");
        runScript(other, "ROLLBACK");
    }
    program.send("key enter\n");
    EXPECT_EQ(g.answer("", "get frmClientMain.StatusBar1.SimpleText"), "'Dokumentum: 4'");
    EXPECT_EQ(g.answer("", "get frmClientMain.btnModify.Enabled"), "True");
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel"));

    g.answer(Gestures::click(g.middleOf("frmClientMain.btnModify")) + Gestures::retype("Visszaolvasva"), "focus");
    Clerk::Save s;
    Answers a = clerk.save(s);
    EXPECT_TRUE(a.errors.empty()) << program.transcript();
    EXPECT_THAT(rows("Select Targy from Document where DocumentID = 4"), ElementsAre("Visszaolvasva"));
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel", "4|3|módosítás"));
    EXPECT_EQ(program.finish(), 0);
}

}  // namespace
