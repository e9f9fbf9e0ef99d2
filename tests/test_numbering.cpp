// Registry numbers the database assigns: set by the administrator, given
// inside the insert by the database to the clerk's program and to the
// engine's own shell alike, never taken by a refused save, never given or
// changed by hand, without gaps when many write at once, and starting
// again with the year of the database's clock.
#include "Clocks.h"
#include "EngineShell.h"
#include "EntryTest.h"
#include "admin/NumberingCommand.h"
#include "entry/Documents.h"
#include "entry/EntryForm.h"
#include "entry/History.h"
#include "registry/NumberPattern.h"
#include "registry/Numbering.h"
#include "registry/RegistryTables.h"

#include <algorithm>
#include <ctime>

using testing::ElementsAre;
using testing::HasSubstr;
using velmora::NumberPattern;

TEST(NumberPatterns, ReadSpellAndFindTheirNumbers)
{
    std::string why;
    for (const char* bad : {"", "IK", "{n}{n}", "{x}", "{n", "n}", "{n:0}", "{n:10}", "a\tb{n}",
                            "{n}-0123456789012345678901234567890123456789"})
        EXPECT_FALSE(NumberPattern::parse(bad, &why)) << bad;
    EXPECT_THAT(why, HasSubstr("longer than 40"));

    auto yearly = NumberPattern::parse("IK-{n:4}/{yyyy}", &why);
    ASSERT_TRUE(yearly);
    EXPECT_TRUE(yearly->hasYear());
    EXPECT_FALSE(yearly->isPlainNumber());
    EXPECT_EQ(yearly->spell(7, 2026), "IK-0007/2026");
    EXPECT_EQ(yearly->spell(123456, 2026), "IK-123456/2026");  // widened, never cut
    EXPECT_EQ(yearly->numberIn("IK-0012/2026", 2026), 12);
    EXPECT_EQ(yearly->numberIn("IK-0012/2026", std::nullopt), 12);
    EXPECT_FALSE(yearly->numberIn("IK-0012/2025", 2026));
    EXPECT_FALSE(yearly->numberIn("IK-12/2026", 2026));  // fewer digits than the pattern spells
    EXPECT_FALSE(yearly->numberIn("IK-0012/2026 ", 2026));

    // A number directly before the year leaves the year its four digits.
    auto joined = NumberPattern::parse("{n}{yy}", &why);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->spell(12, 2027), "1227");
    EXPECT_EQ(joined->numberIn("1227", 2027), 12);

    auto plain = NumberPattern::parse("{n}", &why);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->isPlainNumber());
    EXPECT_EQ(plain->numberIn("99999999999999999999", std::nullopt), std::nullopt);  // more than a number holds
    EXPECT_EQ(plain->sqlExpression(true, "given", "y"), "given");
    // Quotes in the text are the SQL's text, not its end.
    EXPECT_EQ(NumberPattern::parse("O'{n}", &why)->sqlExpression(false, "n", "y"), "'O''' || CAST(n AS TEXT)");
}

namespace {

class Numbering : public EntryTest {
protected:
    Numbering() { openDataLink(c, udl()); }
    std::string numbering(const std::vector<std::string>& words) { return velmora::runNumberingCommand(c, words); }
    // Runs `sql` through the engine's own shell.
    std::pair<bool, std::string> byHand(const std::string& sql, const std::string& before = "")
    {
        return shell(udl(), folder.path(), sql, before);
    }
    std::vector<std::string> numbers(const char* column = "Iktatoszam")
    {
        return rows(std::string("Select ") + column + " from Document order by DocumentID");
    }
    void refused(const std::vector<std::string>& words, const std::string& why)
    {
        std::vector<std::string> before = documents(), numbered = velmora::numberedColumns(c);
        try {
            numbering(words);
            ADD_FAILURE() << "not refused: " << why;
        } catch (const velmora::ENumberingRefused& e) {
            EXPECT_THAT(e.what(), HasSubstr(why));
        }
        EXPECT_EQ(velmora::numberedColumns(c), numbered);
        EXPECT_EQ(documents(), before);
    }

    db::TADOConnection c{nullptr};
};

const char* const numberedByHand = "Ezt a számot az adatbázis adja: kézzel nem adható meg, és nem módosítható";

// The year of the database's clock: the server's in UTC, or SQLite's local
// time of this process.
int yearNow()
{
    std::time_t now = std::time(nullptr);
    std::tm t{};
    if (onPostgres()) gmtime_r(&now, &t);
    else localtime_r(&now, &t);
    return t.tm_year + 1900;
}

}  // namespace

TEST_F(Numbering, RefusalsSayWhyAndChangeNothing)
{
    refused({"set", "Nincs"}, "Document has no column Nincs");
    refused({"set", "DocumentID"}, "DocumentID is the document's key");
    refused({"set", "Erkezett"}, "Erkezett is neither an integer nor a text column");
    refused({"set", "Iktatoszam", "--pattern", "{n}/{yyyy}"},
            "Iktatoszam is an integer column, whose only pattern is {n}");
    refused({"set", "Iktatoszam", "--yearly"}, "cannot show the year");
    refused({"set", "Targy", "--yearly", "--pattern", "T-{n}"}, "the pattern must hold {yyyy} or {yy}");
    refused({"set", "Targy", "--pattern", "{n}{m}"}, "{m} is not a part");
    refused({"set", "Iktatoszam", "--start", "0"}, "The first number must be 1 or more");
    refused({"set", "Iktatoszam", "--start", "sok"}, "--start takes a whole number: sok");
    if (onPostgres()) refused({"set", "Iktatoszam", "--time-zone", "Mars/Olympus"}, "The time zone Mars/Olympus");
    else refused({"set", "Iktatoszam", "--time-zone", "UTC"}, "A time zone is for a PostgreSQL server");
    // Values already there twice are named: numbers must be unique.
    runScript(c, "Insert into Document (Iktatoszam, Targy) Values (1002, 'Másolat')");
    refused({"set", "iktatoszam"}, "Iktatoszam holds the same value in more than one document: 1002 (2 documents)");
    runScript(c, "Delete from Document where Targy = 'Másolat'");

    EXPECT_EQ(numbering({"set", "iktatoszam"}),
              "Iktatoszam is numbered by the database from now on; the next document gets 1004\n");
    refused({"set", "Iktatoszam"}, "Iktatoszam is numbered already");
    EXPECT_EQ(numbering({"list"}), "Iktatoszam: {n}, next 1004\n");
    refused({"off", "Targy"}, "Targy is not numbered");
    EXPECT_EQ(velmora::numberedColumns(c), std::vector<std::string>{"Iktatoszam"});
    // Taken off, the column takes what it is given again.
    numbering({"off", "IKTATOSZAM"});
    EXPECT_EQ(numbering({"list"}), "No column is numbered by the database\n");
    auto [stored, said] = byHand("Insert into \"Document\" (\"Iktatoszam\") Values (1002)");
    EXPECT_TRUE(stored) << said;
}

// Two documents entered by the clerk, one by hand in the engine's shell, a
// save refused by the form, a number changed by hand: the numbers run on
// without a gap, and the form's number field only ever shows them.
TEST_F(Numbering, TheDatabaseNumbersWhatTheClerkAndTheShellInsert)
{
    numbering({"set", "Iktatoszam"});
    std::string out =
        play(click("btnNew") + "get frmClientMain.TZEDit1.Text\nget frmClientMain.TZEDit1.Enabled\n" +
             "focus\ntype Els\xc5\x91\n" + click("btnSave") +
             "get frmClientMain.TZEDit1.Text\nget frmClientMain.StatusBar1.SimpleText\n" + click("btnNew") +
             "type M\xc3\xa1sodik\n" + click("btnSave") +
             // Modifying, the number stays as it is; the rest of the row changes.
             click("btnModify") + "get frmClientMain.TZEDit1.Enabled\nfocus\nkey end\ntype !\n" + click("btnSave"));
    auto l = lines(out);
    ASSERT_GE(l.size(), 7u) << out;
    EXPECT_EQ(l[0], "'(automatikus)'");
    EXPECT_EQ(l[1], "False");
    EXPECT_EQ(l[2], "frmClientMain_1.TZEDit2");  // the subject: the number takes no input
    EXPECT_EQ(l[3], "'1004'");
    EXPECT_EQ(l[4], "'Dokumentum: 4'");
    EXPECT_EQ(l[5], "False");
    EXPECT_EQ(l[6], "frmClientMain_1.TZEDit2");
    EXPECT_THAT(out, testing::Not(HasSubstr("error")));
    EXPECT_THAT(rows("Select Iktatoszam, Targy from Document where DocumentID > 3"),
                ElementsAre("1004|Első", "1005|Második!"));

    auto [stored, said] = byHand("Insert into \"Document\" (\"Targy\") Values ('Kézzel')");
    EXPECT_TRUE(stored) << said;
    // A save the form refuses (the subject is required) takes no number.
    out = play(click("btnNew") + click("btnSave") + "key enter\n" + click("btnCancel") + click("btnNew") +
               "type Negyedik\n" + click("btnSave") + "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("'Dokumentum: 7'"));
    EXPECT_THAT(numbers(), ElementsAre("1001", "1002", "1003", "1004", "1005", "1006", "1007"));

    // Given or changed by hand, a number is refused by the database.
    auto [given, givenSaid] = byHand("Insert into \"Document\" (\"Iktatoszam\", \"Targy\") Values (2000, 'Kézi szám')");
    EXPECT_FALSE(given);
    EXPECT_THAT(givenSaid, HasSubstr(numberedByHand));
    auto [changed, changedSaid] = byHand("Update \"Document\" set \"Iktatoszam\" = 1008 where \"DocumentID\" = 4");
    EXPECT_FALSE(changed);
    EXPECT_THAT(changedSaid, HasSubstr(numberedByHand));
    auto [emptied, emptiedSaid] = byHand("Update \"Document\" set \"Iktatoszam\" = null where \"DocumentID\" = 1");
    EXPECT_FALSE(emptied) << emptiedSaid;
}

// A clerk whose program started before the numbering types a number: the
// database refuses it, and the clerk reads why.
TEST_F(Numbering, ASaveFollowsTheNumberingInForceThenNotWhenTheProgramStarted)
{
    Live live(*this);
    live.send(login(velmora::entryDemoLogin) + click("btnNew") + "focus\ntype 3000\nkey tab\ntype Kézi\n" +
              "get frmClientMain.TZEDit1.Text\n");
    ASSERT_TRUE(live.waitFor("'3000'"));
    numbering({"set", "Iktatoszam"});
    // The number typed is refused in words, the field then shows that the
    // database gives it, and the next save takes the database's number.
    live.send(click("btnSave") + "key enter\nget frmClientMain.StatusBar1.SimpleText\nget frmClientMain.TZEDit1.Text\n" +
              "get frmClientMain.TZEDit1.Enabled\n" + click("btnSave") + "get frmClientMain.StatusBar1.SimpleText\n");
    ASSERT_TRUE(live.waitFor("'Dokumentum: 4'")) << live.printed();
    // Taken off while the clerk enters the next one: the field takes input
    // again and is required again.
    numbering({"off", "Iktatoszam"});
    live.send(click("btnNew") + "type Szám nélkül\n" + click("btnSave") + "key enter\n" +
              "get frmClientMain.TZEDit1.Enabled\n" + click("btnSave") + "key enter\n" + click("TZEDit1") +
              "type 3100\n" + click("btnSave") + "get frmClientMain.StatusBar1.SimpleText\n");
    std::string out = live.finish();
    EXPECT_THAT(out, HasSubstr("error: A számozás időközben megváltozott (Iktatoszam: ezentúl az adatbázis számozza), "
                               "ezért a mentés nem történt meg."));
    EXPECT_THAT(out, HasSubstr("#218'j dokumentum'\n'" + std::string(velmora::automaticNumber) + "'\nFalse\n"));
    EXPECT_THAT(out, HasSubstr("error: A számozás időközben megváltozott (Iktatoszam: már nem számozott)"));
    EXPECT_THAT(out, HasSubstr("True\nerror: "));  // the field open, and the empty number refused
    EXPECT_THAT(out, HasSubstr("'Dokumentum: 5'"));
    EXPECT_THAT(rows("Select Iktatoszam, Targy from Document where DocumentID > 3 order by DocumentID"),
                ElementsAre("1004|Kézi", "3100|Szám nélkül"));
}

// With no documents, the numbers start at 1, or at the start given.
TEST_F(Numbering, AnEmptyRegistryStartsAtOneOrWhereItIsTold)
{
    runScript(c, "Delete from Document");
    numbering({"set", "Iktatoszam"});
    velmora::Documents documents(c, 1);
    documents.insert({{"Targy", db::Cell::text("a")}});
    documents.insert({{"Targy", db::Cell::text("b")}});
    EXPECT_THAT(numbers(), ElementsAre("1", "2"));

    numbering({"off", "Iktatoszam"});
    runScript(c, "Delete from Document");
    EXPECT_EQ(numbering({"set", "Iktatoszam", "--start", "500"}),
              "Iktatoszam is numbered by the database from now on; the next document gets 500\n");
    documents.insert({{"Targy", db::Cell::text("c")}});
    documents.insert({});  // a form of the number alone
    EXPECT_THAT(numbers(), ElementsAre("500", "501"));
}

// A text column's pattern: the numbers already spelled so in this year are
// continued, others are left alone.
TEST_F(Numbering, APatternContinuesAfterTheHighestNumberOfItsYear)
{
    int year = yearNow();
    std::string y = std::to_string(year), last = std::to_string(year - 1);
    runScript(c, "Insert into Document (Targy) Values ('IK-007/" + y +
                     "'); Insert into Document (Targy) Values ('IK-012/" + last +
                     "'); Insert into Document (Targy) Values ('IK-7/" + y + "')");
    std::vector<std::string> words = {"set", "Targy", "--yearly", "--pattern", "IK-{n:3}/{yyyy}"};
    if (onPostgres()) words.insert(words.end(), {"--time-zone", "UTC"});
    EXPECT_THAT(numbering(words), HasSubstr("the next document gets IK-008/" + y));
    velmora::Documents(c, 1).insert({{"Iktatoszam", db::Cell::integer(77)}});
    EXPECT_THAT(rows("Select Targy from Document where Iktatoszam = 77"), ElementsAre("IK-008/" + y));
    EXPECT_THAT(numbering({"list"}), HasSubstr("Targy: IK-{n:3}/{yyyy}, starting again each year, next IK-009/" + y));
}

// Four shells inserting at once, each statement its own transaction: every
// number once, none left out.
TEST_F(Numbering, ManyWritersAtOnceGetNoDuplicateAndNoGap)
{
    numbering({"set", "Iktatoszam"});
    std::vector<FILE*> writers;
    for (int w = 0; w < 4; ++w) {
        std::string script = folder.file("writer" + std::to_string(w) + ".sql");
        std::ofstream out(script);
        for (int i = 0; i < 25; ++i)
            out << "Insert into \"Document\" (\"Targy\") Values ('" << w << "-" << i << "');\n";
        out.close();
        writers.push_back(popen(shellCommand(udl(), folder.path(), script).c_str(), "r"));
    }
    for (FILE* w : writers) {
        auto [ok, said] = finishShell(w);
        EXPECT_TRUE(ok) << said;
    }
    std::vector<std::string> got = rows("Select Iktatoszam from Document where DocumentID > 3 order by Iktatoszam");
    std::vector<std::string> expected;
    for (int n = 1004; n < 1104; ++n) expected.push_back(std::to_string(n));
    EXPECT_EQ(got, expected);
}

// The year is the database's: SQLite's is the clock of the program that
// inserts, PostgreSQL's the server's, whatever the clerk's machine says.
TEST_F(Numbering, YearlyNumbersStartAgainWithTheDatabasesYear)
{
    ASSERT_FALSE(fakeTimeLibrary().empty()) << "libfaketime is not installed (tools/setup installs it)";
    if (!onPostgres()) {
        numbering({"set", "Targy", "--yearly", "--pattern", "{n}/{yyyy}"});
        auto [before, beforeSaid] =
            byHand("Insert into Document (Iktatoszam) Values (1)", clockAt("2026-12-31 23:59:59"));
        EXPECT_TRUE(before) << beforeSaid;
        auto [after, afterSaid] =
            byHand("Insert into Document (Iktatoszam) Values (2)", clockAt("2027-01-01 00:00:01"));
        EXPECT_TRUE(after) << afterSaid;
        // The clerk's program, its clock in the new year too.
        std::ofstream(folder.file("script.txt"))
            << login(velmora::entryDemoLogin) << click("btnNew") << "focus\ntype 3\n"
            << click("btnSave");
        FILE* clerk = popen(
            (clockAt("2027-01-01 08:00:00") + command() + " < '" + folder.file("script.txt") + "' 2>&1").c_str(), "r");
        auto [ran, clerkSaid] = finishShell(clerk);
        EXPECT_THAT(rows("Select Iktatoszam, Targy from Document where DocumentID > 3 order by DocumentID"),
                    ElementsAre("1|1/2026", "2|1/2027", "3|2/2027"))
            << clerkSaid;
        return;
    }
    ClockedServer server;
    ASSERT_FALSE(server.conninfo().empty());
    TempFolder serverFolder;
    velmora::createDemoDatabaseOnServer(serverFolder.path(), server.conninfo());
    db::TADOConnection onServer(nullptr);
    openDataLink(onServer, serverFolder.file("VelmoraDSC.udl"));
    server.setClock("2026-12-31 23:59:00");
    velmora::runNumberingCommand(
        onServer, {"set", "Targy", "--yearly", "--pattern", "{n}/{yyyy}", "--time-zone", "Europe/Budapest"});
    onServer.close();
    onServer.open();
    velmora::ensureHistoryTable(onServer);
    velmora::Documents documents(onServer, 1);
    // 23:59 UTC is already the new year in Budapest.
    documents.insert({{"Iktatoszam", db::Cell::integer(1)}});
    server.setClock("2026-12-31 22:59:00");
    onServer.close();
    onServer.open();
    documents.insert({{"Iktatoszam", db::Cell::integer(2)}});
    documents.insert({{"Iktatoszam", db::Cell::integer(3)}});
    server.setClock("2027-01-01 08:00:00");
    onServer.close();
    onServer.open();
    documents.insert({{"Iktatoszam", db::Cell::integer(4)}});
    EXPECT_THAT(readRows(onServer, "Select Iktatoszam, Targy from Document order by DocumentID"),
                ElementsAre("1|1/2027", "2|1/2026", "3|2/2026", "4|2/2027"));
}
