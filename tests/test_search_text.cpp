// Searching by pattern over the folded text kept beside the documents:
// the same rows found with it and without it, kept right by any writer,
// made again when the fold changes, and a broad search counted only so
// far.
#include "EngineShell.h"
#include "EntryTest.h"
#include "admin/UpgradeCommands.h"
#include "admin/UsersAndGroups.h"
#include "db/Engine.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "registry/SchemaUpkeep.h"
#include "registry/SearchText.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

namespace {

class SearchText : public EntryTest {
protected:
    SearchText()
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        int number = 2000;
        for (const char* subject : {"Árvíztűrő tükörfúrógép",
                                    "Kõvári Fûzfa",  // Latin-1's õ and û in place of ő and ű
                                    "KO\u030BVA\u0301RI ko\u0308zmu\u0308",  // decomposed: KŐVÁRI közmű
                                    "100% biztos", "a_b", "xy"})
            db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (:n, :t)",
                        {{"n", number++}, {"t", subject}});
    }
    // The documents whose subject is like `typed`, as the clerk searches.
    std::vector<std::string> like(const std::string& typed) { return found({{"TZEDit5", "type " + typed + "\n"}}); }
    std::string status() { return "get frmClientMain.StatusBar1.SimpleText\n"; }
    void sql(const std::string& script)
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        runScript(c, script);
    }
    bool kept()
    {
        return !rows(onPostgres() ? "Select 1 from pg_tables where tablename = 'DocumentSearchFold'"
                                  : "Select 1 from sqlite_master where name = 'DocumentSearchFold'")
                    .empty();
    }
};

}  // namespace

// Documents 1-3 are the demonstration's; 4-9 the fixture's, in its order.
TEST_F(SearchText, PatternsFindTheSameRowsWithTheFoldedTextAndWithout)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"arvizturo", {"4"}},
        {"TŰRŐ", {"4"}},
        {"kővári", {"6", "5"}},  // õ and the decomposed ő read as ő
        {"fűzfa", {"5"}},
        {"közmű", {"6"}},
        {"*fúró*", {"4"}},
        {"árv*", {"4"}},  // a pattern from the start
        {"?rv*", {"4"}},
        {"*gép", {"4"}},
        {"szamla reklamacio", {"2"}},
        {"xy", {"9"}},                          // two letters: no trigram, a scan
        {"ő", {"7", "6", "5", "4", "3", "2"}},  // one letter: any o
        {"100%", {"7"}},                        // % and _ typed match themselves
        {"a_b", {"8"}},
        {"nincs ilyen", {}},
    };
    // NemHasonló is the rest, a document without a subject among them.
    auto notLike = [&] {
        velmora::DemoSearchRelations r;
        r.subject = "NemHasonló";
        storeFormData(udl(), 3, velmora::entryDemoDesign(r));
        std::vector<std::string> ids = like("kővári");
        storeFormData(udl(), 3, velmora::entryDemoDesign());
        return ids;
    };
    sql("Insert into Document (Iktatoszam) Values (3000)");
    ASSERT_TRUE(kept());
    for (const auto& [typed, ids] : cases) EXPECT_EQ(like(typed), ids) << "with: " << typed;
    EXPECT_THAT(notLike(), ElementsAre("10", "9", "8", "7", "4", "3", "2", "1"));
    // Without it (a database made before), the same.
    sql("DROP TABLE DocumentSearchFold");
    for (const auto& [typed, ids] : cases) EXPECT_EQ(like(typed), ids) << "without: " << typed;
    EXPECT_THAT(notLike(), ElementsAre("10", "9", "8", "7", "4", "3", "2", "1"));
}

// The triggers fold with the engine's built-ins: letter for letter what
// the program gives, for every letter it folds and every combining accent.
TEST_F(SearchText, TheDatabaseFoldsAsTheProgramDoes)
{
    std::u32string all;
    for (char32_t c = 0x20; c < 0x250; ++c)
        if (c != 0x7F && (c < 0x80 || c >= 0xA0)) all += c;
    for (char32_t c = 0x300; c <= 0x36F; ++c) all += c;
    all += U"ΑΩαω";  // beyond the folded letters: as they stand
    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    // In pieces that the subject's 50 characters hold.
    std::vector<std::string> pieces;
    for (size_t at = 0; at < all.size(); at += 40) pieces.push_back(tk::toUtf8(all.substr(at, 40)));
    for (size_t i = 0; i < pieces.size(); ++i)
        db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (:n, :t)",
                    {{"n", static_cast<int64_t>(4000 + i)}, {"t", pieces[i]}});
    std::vector<std::string> stored = rows(
        "Select s.Targy from DocumentSearchText s join Document d on d.DocumentID = "
        "s.DocumentID where d.Iktatoszam >= 4000 order by d.Iktatoszam");
    ASSERT_EQ(stored.size(), pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) EXPECT_EQ(stored[i], db::plainedText(pieces[i])) << pieces[i];
}

// The sqlite3 shell and psql know nothing of the program's functions; what
// they insert, change and void is found as the clerk's own saves are.
TEST_F(SearchText, RowsWrittenFromTheEnginesOwnShellAreFound)
{
    std::string document = onPostgres() ? "\"Document\"" : "Document";
    std::string number = onPostgres() ? "\"Iktatoszam\"" : "Iktatoszam";
    std::string subject = onPostgres() ? "\"Targy\"" : "Targy";
    std::string id = onPostgres() ? "\"DocumentID\"" : "DocumentID";
    auto [ok, out] = shell(udl(), folder.path(),
                           "Insert into " + document + " (" + number + ", " + subject +
                               ") Values (5000, 'Kézzel írt ŐRSÉG');\n"
                               "Update " +
                               document + " set " + subject + " = 'Átírt tárgy' where " + id +
                               " = 2;\n"
                               "Delete from " +
                               document + " where " + id + " = 9");
    ASSERT_TRUE(ok) << out;
    EXPECT_THAT(like("orseg"), ElementsAre("10"));
    EXPECT_THAT(like("ATIRT"), ElementsAre("2"));
    EXPECT_THAT(like("reklam"), IsEmpty());
    EXPECT_THAT(like("xy"), IsEmpty());
    EXPECT_THAT(rows("Select count(*) from DocumentSearchText"), ElementsAre("9"));
    // A void from the shell: found, marked by its reason, unless left out.
    std::string voids = onPostgres() ? "\"DocumentVoid\" (\"DocumentID\", \"HistoryID\", \"Reason\")"
                                     : "DocumentVoid (DocumentID, HistoryID, Reason)";
    std::tie(ok, out) = shell(udl(), folder.path(), "Insert into " + voids + " Values (10, 0, 'Tévedés')");
    ASSERT_TRUE(ok) << out;
    found({{"TZEDit5", "type orseg\n"}});
    EXPECT_THAT(last, HasSubstr("\n10\tTévedés\t5000\tKézzel írt ŐRSÉG"));
    EXPECT_THAT(found({{"TZEDit5", "type orseg\n"}}, ""), ElementsAre("10"));
    std::string leftOut = play(searchTab() + click("TZEDit5") + "type orseg\nkey f7\n" + click("btnSearch") +
                               "rows frmClientMain.dbgSearch\n");
    EXPECT_THAT(foundIds(leftOut), IsEmpty());
}

// A database whose folded text an older version made (another fold) is
// searched as one without it, and the upgrade makes it again.
TEST_F(SearchText, AnOlderFoldIsPassedOverAndTheUpgradeMakesItAgain)
{
    sql("Update DocumentSearchFold set Version = 1");
    sql("Update DocumentSearchText set Targy = 'elavult'");
    EXPECT_THAT(like("kővári"), ElementsAre("6", "5"));
    EXPECT_THAT(like("elavult"), IsEmpty());
    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    EXPECT_EQ(velmora::upgradeDatabase(c), "");
    EXPECT_THAT(rows("Select Version from DocumentSearchFold"),
                ElementsAre(std::to_string(velmora::searchFoldVersion)));
    EXPECT_THAT(rows("Select Targy from DocumentSearchText where DocumentID = 5"), ElementsAre("kovari fuzfa"));
    EXPECT_THAT(like("kővári"), ElementsAre("6", "5"));
    // A text column added later is folded when it is made again; the
    // admin command says what it made.
    sql("Alter Table Document Add Megjegyzes varchar(200)");
    sql("Update Document set Megjegyzes = 'Sürgős' where DocumentID = 4");
    std::string said = velmora::remakeSearchText(c, false);
    EXPECT_THAT(said, HasSubstr("The folded text of 2 text columns was made and indexed in "));
    EXPECT_THAT(rows("Select Megjegyzes from DocumentSearchText where DocumentID = 4"), ElementsAre("surgos"));
    sql("Update Document set Megjegyzes = 'Ráér' where DocumentID = 4");
    EXPECT_THAT(rows("Select Megjegyzes from DocumentSearchText where DocumentID = 4"), ElementsAre("raer"));
}

// Rows lost from the folded text (a hand edit, an older program) are
// noticed by their count when the clerk's program opens, and made again
// before anything is searched; names' keys made by an older fold are
// folded again by the upgrade.
TEST_F(SearchText, StaleFoldedTextIsMadeAgainOnOpenAndOldNameKeysByTheUpgrade)
{
    sql("Delete from DocumentSearchText where DocumentID = 5");
    std::string out = play(status());
    EXPECT_THAT(out, HasSubstr("A keres'#233'si sz'#246'veg elavult volt, '#250'jra elk'#233'sz'#252'lt."));
    EXPECT_THAT(rows("Select Targy from DocumentSearchText where DocumentID = 5"), ElementsAre("kovari fuzfa"));
    EXPECT_THAT(like("kővári"), ElementsAre("6", "5"));
    EXPECT_THAT(play(status()), Not(HasSubstr("elavult")));

    db::TADOConnection c(nullptr);
    openDataLink(c, udl());
    velmora::upgradeDatabase(c);
    EXPECT_THAT(rows("Select Version from FoldedNameFold"), ElementsAre(std::to_string(velmora::nameFoldVersion)));
    sql("Update FoldedName set Folded = 'regi hajtas' where NameKind = 'Login' and OwnerID = 3");
    EXPECT_EQ(velmora::upgradeDatabase(c), "");
    EXPECT_THAT(rows("Select Folded from FoldedName where NameKind = 'Login' and OwnerID = 3"),
                ElementsAre("regi hajtas"));  // the same fold: kept as stored
    sql("Update FoldedNameFold set Version = 0");
    EXPECT_EQ(velmora::upgradeDatabase(c), "");
    EXPECT_THAT(rows("Select Folded from FoldedName where NameKind = 'Login' and OwnerID = 3"), ElementsAre("ugyfel"));
}

// A broad search shows its first rows and says it found more than it
// counted; the list and stepping still reach every row.
TEST_F(SearchText, ABroadSearchSaysMoreThanItCountedAndTheListHasEveryRow)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::inTransaction(c, [&] {
            for (int i = 0; i < 1200; ++i)
                db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (:n, 'Közös ügy')", {{"n", 6000 + i}});
        });
    }
    std::string csv = folder.file("kozos.csv");
    // Stepping from the first found: the count is still "more than".
    Rect grid = where("dbgSearch");
    std::string stepped =
        play(searchTab() + click("TZEDit5") + "type kozos\n" + click("btnSearch") + "dblclick " +
             std::to_string(grid.left + 40) + " " + std::to_string(grid.top + 28) + "\nkey pgdn\n" + status());
    EXPECT_THAT(stepped, HasSubstr("'2 / t'#246'bb mint 1000'"));
    std::vector<std::string> ids =
        found({{"TZEDit5", "type kozos\n"}}, status() + click("btnPrint") + "type " + csv + "\nkey enter\n");
    EXPECT_THAT(last, HasSubstr("'T'#246'bb mint 1000 tal'#225'lat'"));
    EXPECT_EQ(ids.size(), 1200u);  // the grid's rows, read to the end
    EXPECT_EQ(ids.front(), "1209");
    EXPECT_EQ(lines(commandOutput("cat '" + csv + "'")).size(), 1201u);
    // A narrow one is counted exactly.
    found({{"TZEDit5", "type arvizturo\n"}}, status());
    EXPECT_THAT(last, HasSubstr("'1 tal'#225'lat'"));
}
