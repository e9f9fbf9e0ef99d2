// Dictionary fields in the clerk's program, as a clerk meets them: the
// Ügyfélszolgálat form's Ügytípus field (TZEDit3, an int column registered
// for the dictionary "Ügytípus": Panasz 1, Árajánlat 2, Megrendelés 3,
// Reklamáció 4), driven through the real velmora-entry and read back from
// the database.
#include "EntryTest.h"
#include "load/PauseFile.h"

using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

class EntryDictionaries : public EntryTest {
protected:
    std::vector<std::string> kinds()
    {
        return rows("Select DocumentID, Ugytipus from Document where DocumentID > 3 order by DocumentID");
    }
    std::vector<std::string> entries()
    {
        return rows(
            "Select DictionaryItemID, DictionaryItemText, Retired from DictionaryItem order by DictionaryItemID");
    }
    // A new document with its number and subject, the focus in Ügytípus.
    std::string newToKind() { return click("btnNew") + "type 2001\nkey tab\ntype Panasz\nkey tab\nkey tab\nkey tab\n"; }
    // The answers to `get` that are texts, in order.
    static std::vector<std::string> texts(const std::string& out)
    {
        std::vector<std::string> t;
        for (const std::string& line : lines(out))
            if (!line.empty() && (line[0] == '\'' || line[0] == '#')) t.push_back(line);
        return t;
    }
};

}  // namespace

TEST_F(EntryDictionaries, TypingCompletesAndAnExactTextTakesTheEntryWhoseKeyIsStored)
{
    std::string out = play(newToKind() + "type me\nget frmClientMain.TZEDit3.Text\nkey tab\n" + click("btnSave") +
                           "get frmClientMain.TZEDit3.Text\n" + newToKind() + "type reklamáció\nkey tab\n" +
                           click("btnSave") + "get frmClientMain.TZEDit3.Text\n");
    EXPECT_THAT(texts(out), ElementsAre("'Megrendel'#233's'", "'Megrendel'#233's'", "'Reklam'#225'ci'#243"));
    EXPECT_THAT(kinds(), ElementsAre("4|3", "5|4"));
    EXPECT_EQ(entries().size(), 4u);
}

TEST_F(EntryDictionaries, ATextOfNoEntryIsAddedWhenTheClerkSaysSoAndNothingChangesWhenNot)
{
    // Nem: back in the field, nothing added, and the save refuses the text.
    // Enter saves without leaving the field.
    std::string refused = play(newToKind() + "type Sürgős\nkey tab\nwindows\nkey esc\nfocus\nkey enter\nkey enter\n");
    EXPECT_THAT(refused, HasSubstr("frmAddEntry \"Velmora Document Store\""));
    EXPECT_THAT(refused, HasSubstr("\nfrmClientMain_1.TZEDit3\n"));
    EXPECT_THAT(refused, HasSubstr("error: Nincs ilyen szótárelem: „Sürgős”\n"));
    EXPECT_EQ(entries().size(), 4u);
    EXPECT_TRUE(kinds().empty());

    // Igen: the entry is added and taken.
    play(newToKind() + "type Sürgős\nkey tab\nkey enter\n" + click("btnSave"));
    EXPECT_THAT(entries(), Contains("5|Sürgős|0"));
    EXPECT_THAT(kinds(), ElementsAre("4|5"));
}

TEST_F(EntryDictionaries, ARetiredEntryIsNoLongerOfferedButStillShownAndARenamedOneShowsItsNewText)
{
    std::string out = play(
        // A document of kind Árajánlat.
        newToKind() + "type Ár\nkey tab\n" + click("btnSave") +
        // While modifying it, F2 in the field: retire Árajánlat.
        click("btnModify") +
        "key tab\nkey tab\nkey tab\nkey F2\nwindows\ntype Á\nkey tab\nkey tab\nkey space\n"
        "key enter\nkey esc\nget frmClientMain.TZEDit3.Text\n" +
        // A new document: Ár completes to nothing.
        click("btnNew") +
        "key tab\nkey tab\nkey tab\nkey tab\ntype Ár\nget frmClientMain.TZEDit3.Text\n"
        // Rename Megrendelés to Rendelés; typing Ren then completes to it.
        "key F2\ntype M\nkey tab\nkey home\nkey end shift\ntype Rendelés\nkey enter\n"
        "key home\nkey end shift\ntype Ren\nget frmClientMain.TZEDit3.Text\n");
    EXPECT_THAT(out, HasSubstr("frmDictionaryUpkeep \"Sz"));
    EXPECT_THAT(texts(out), ElementsAre("#193'raj'#225'nlat'", "#193'r'", "'Rendel'#233's'"));
    EXPECT_THAT(entries(), ElementsAre("1|Panasz|0", "2|Árajánlat|1", "3|Rendelés|0", "4|Reklamáció|0"));
    EXPECT_THAT(kinds(), ElementsAre("4|2"));
}

TEST_F(EntryDictionaries, NewClearsTheChosenEntrySoNoStaleKeyIsStored)
{
    play(newToKind() + "type Pa\nkey tab\n" + click("btnSave") + click("btnNew") +
         "type 2002\nkey tab\ntype Csak t\xc3\xa1rgy\n" + click("btnSave"));
    EXPECT_THAT(kinds(), ElementsAre("4|1", "5|null"));
}

TEST_F(EntryDictionaries, TwoProgramsAddingTheSameEntryAtOnceEndWithOneEntryThatBothStore)
{
    // The first program has found no entry "KÖZÖS" and is held before
    // adding it; meanwhile the second adds "Közös" and saves. Then the first
    // adds: the database refuses its text as folding alike, and it takes
    // the second's entry.
    PauseFile pause(folder.file("paused"));
    ChildProgram first(folder.file("velmora-entry"), pause.environment("dictionary-entry-checked"));
    ChildProgram second(folder.file("velmora-entry"));
    Gestures a(first), b(second);
    a.answer(login(velmora::entryDemoLogin), "focus");
    b.answer(login(velmora::entryDemoLogin), "focus");
    first.send(newToKind() + "type KÖZÖS\nkey tab\nkey enter\n");
    ASSERT_TRUE(pause.held()) << first.transcript();
    EXPECT_EQ(b.answer(newToKind() + "type Közös\nkey tab\nkey enter\n" + click("btnSave"),
                       "get frmClientMain.StatusBar1.SimpleText"),
              "'Dokumentum: 4'");
    pause.release();
    Answers saved =
        a.ask(click("btnSave"), {"get frmClientMain.StatusBar1.SimpleText", "get frmClientMain.TZEDit3.Text"});
    EXPECT_TRUE(saved.errors.empty()) << first.transcript();
    EXPECT_THAT(saved.lines, ElementsAre("'Dokumentum: 5'", "'K'#246'z'#246's'"));
    EXPECT_EQ(first.finish(), 0);
    EXPECT_EQ(second.finish(), 0);
    EXPECT_THAT(entries(),
                ElementsAre("1|Panasz|0", "2|Árajánlat|0", "3|Megrendelés|0", "4|Reklamáció|0", "5|Közös|0"));
    EXPECT_THAT(kinds(), ElementsAre("4|5", "5|5"));
}

TEST_F(EntryDictionaries, MegsemAsksNothingAndARetiredEntrysTextIsRefusedAsRetired)
{
    // Mégsem while the field holds a text of no entry: no question, nothing added.
    std::string cancelled = play(newToKind() + "type Sürg\n" + click("btnCancel") + "windows\n");
    EXPECT_THAT(cancelled, Not(HasSubstr("frmAddEntry")));
    EXPECT_EQ(entries().size(), 4u);
    EXPECT_TRUE(kinds().empty());

    // A retired entry typed in full is refused when leaving and saving,
    // saying it is retired; it is never offered as new.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        runScript(c, "Update DictionaryItem Set Retired = 1 Where DictionaryItemID = 2");
    }
    std::string retired =
        play(newToKind() + "type árajánlat\nkey tab\nwindows\nkey enter\n" + click("btnSave") + "key enter\n");
    EXPECT_THAT(retired, Not(HasSubstr("frmAddEntry")));
    EXPECT_THAT(retired, HasSubstr("error: Ez a szótárelem ki van vezetve, nem választható: „árajánlat”\n"));
    EXPECT_EQ(entries().size(), 4u);
    EXPECT_TRUE(kinds().empty());
}

TEST_F(EntryDictionaries, EntriesStayUniqueForEveryLetterWhenAddedOrRenamed)
{
    // F2: renaming Panasz to ÁRAJÁNLAT meets Árajánlat.
    std::string out =
        play(newToKind() + "key F2\ntype P\nkey tab\nkey home\nkey end shift\ntype ÁRAJÁNLAT\nkey enter\n");
    EXPECT_THAT(out, HasSubstr("error: Ilyen szótárelem már van: „Árajánlat”"));
    // The same text in capitals, accented ones too, is the existing entry.
    play(newToKind() + "type REKLAMÁCIÓ\nkey tab\n" + click("btnSave"));
    EXPECT_THAT(entries(), ElementsAre("1|Panasz|0", "2|Árajánlat|0", "3|Megrendelés|0", "4|Reklamáció|0"));
    EXPECT_THAT(kinds(), ElementsAre("4|4"));
}

TEST_F(EntryDictionaries, F4AndADoubleClickOpenTheLookupListAndAVanishedKeyShowsWithItsMark)
{
    // F4: the lookup list over the entries offered; Enter takes the row.
    // A double click opens it too; Esc leaves the field as it was.
    std::string out = play(newToKind() + "key F4\nwindows\nkey down\nkey enter\nget frmClientMain.TZEDit3.Text\n" +
                           "key esc\n" + click("btnNew") + "key tab\nkey tab\nkey tab\nkey tab\n" + "dblclick " +
                           std::to_string(where("TZEDit3").cx()) + " " + std::to_string(where("TZEDit3").cy()) +
                           "\nwindows\nkey esc\n" + "get frmClientMain.TZEDit3.Text\n");
    // Both times the list, modal; the second of its rows (by text) taken.
    size_t lists = 0;
    for (size_t at = out.find("frmSearchList \"Keresési lista\""); at != std::string::npos;
         at = out.find("frmSearchList \"Keresési lista\"", at + 1))
        ++lists;
    EXPECT_EQ(lists, 2u) << out;
    EXPECT_THAT(texts(out), ElementsAre("'Panasz'", "''"));

    // Document 2's key names an entry that is gone: its key and "(?)".
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        runScript(c, "Update Document Set Ugytipus = 99 Where DocumentID = 2");
    }
    Rect grid = where("dbgSearch");
    std::string shown = play(searchTab() + click("btnSearch") + "click " + std::to_string(grid.left + 40) + " " +
                             std::to_string(grid.top + 28) + "\nkey down\nkey enter\nget frmClientMain.TZEDit3.Text\n");
    EXPECT_THAT(shown, HasSubstr("'99 (?)'"));
}

TEST_F(EntryDictionaries, ABlankEntryIsRefusedWhenRenaming)
{
    std::string out = play(newToKind() + "key F2\ntype P\nkey tab\nkey home\nkey end shift\ntype    \nkey enter\n");
    EXPECT_THAT(out, HasSubstr("error: Üres szótárelem nem vehető fel."));
    EXPECT_THAT(entries(), ElementsAre("1|Panasz|0", "2|Árajánlat|0", "3|Megrendelés|0", "4|Reklamáció|0"));
}
