// The clerk's program as a clerk meets it: the real velmora-entry run
// through standard input on the demonstration database with the
// Ügyfélszolgálat group's design, the database read afterwards.
#include "EntryTest.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

using Entry = EntryTest;

const char* const documentsAtStart[] = {"1|1001|Árajánlat kérése|2026-11-02 00:00:00|igen",
                                        "2|1002|Számla reklamáció|2026-11-16 00:00:00|nem",
                                        "3|1003|Szerződés módosítás|null|nem"};

// The three demonstration documents, unchanged.
auto untouched()
{
    return ElementsAre(documentsAtStart[0], documentsAtStart[1], documentsAtStart[2]);
}

}  // namespace

TEST_F(Entry, TheFormStartsWithOnlyNewEnabledAndNoDesignSurface)
{
    std::string out = play(
        "get frmClientMain.btnNew.Enabled\nget frmClientMain.btnSave.Enabled\nget frmClientMain.TZEDit1.Enabled\n"
        "get frmClientMain.btnSearch.Enabled\nget frmClientMain.TZEDit1.OnMouseDown\nget "
        "frmClientMain.StatusBar1.SimpleText\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 7u) << out;
    EXPECT_THAT(std::vector<std::string>(l.begin(), l.begin() + 6),
                ElementsAre("True", "False", "False", "True", "nil", "''"));
    // Only the main window: no palette, no property page.
    EXPECT_THAT(l[6], HasSubstr("\"Velmora Document Store\""));
    EXPECT_EQ(l.size(), 7u) << out;
}

TEST_F(Entry, AGroupWithoutADesignGetsTheBuiltInLayoutAndIsToldSo)
{
    std::string out = play("get frmClientMain.StatusBar1.SimpleText\nget frmClientMain.btnNew.Enabled\n", "demo");
    auto l = lines(out);
    ASSERT_GE(l.size(), 2u) << out;
    EXPECT_EQ(l[0], "'Ehhez a csoporthoz m'#233'g nem k'#233'sz'#252'lt '#369'rlap.'");
    EXPECT_EQ(l[1], "True");
    EXPECT_THAT(out, Not(HasSubstr("frmComonentPalette")));
}

TEST_F(Entry, ANewDocumentStoresEveryColumnKindAndItsHistoryRow)
{
    std::string out =
        play(click("btnNew") + "focus\ntype 2001\nkey tab\ntype Panasz\nkey tab\nkey space\nkey tab\nkey space\n" +
             "get frmClientMain.TZEDPicker1.FieldValue\n" + click("btnSave") +
             "get frmClientMain.StatusBar1.SimpleText\nget frmClientMain.TZEDit1.Enabled\n"
             "get frmClientMain.btnModify.Enabled\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 5u) << out;
    EXPECT_EQ(l[0], "frmClientMain_1.TZEDit1");  // the first field in tab order
    EXPECT_EQ(l[2], "'Dokumentum: 4'");
    EXPECT_EQ(l[3], "False");
    EXPECT_EQ(l[4], "True");
    EXPECT_THAT(out, Not(HasSubstr("error:")));
    auto docs = documents();
    ASSERT_EQ(docs.size(), 4u);
    // The picker's date, whatever today is, as a date at midnight.
    EXPECT_THAT(docs[3], testing::MatchesRegex("4\\|2001\\|Panasz\\|[0-9]{4}-[0-9]{2}-[0-9]{2} 00:00:00\\|igen"));
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel"));

    // Empty fields are stored as null; an unchecked box as its false byte.
    play(click("btnNew") + "type 2002\nkey tab\ntype Csak t\xc3\xa1rgy\n" + click("btnSave"));
    EXPECT_EQ(documents().at(4), "5|2002|Csak tárgy|null|nem");
}

TEST_F(Entry, EachRefusalNamesTheFieldFocusesItAndWritesNothing)
{
    std::string fifty(50, 'x');
    std::string out = play(click("btnNew") + "key tab\ntype Targy\n" + click("btnSave") + "key enter\nfocus\n" +
                           "type abc\n" + click("btnSave") + "key enter\n" + "key home\nkey end shift\ntype 12.5\n" +
                           click("btnSave") + "key enter\n" + "key home\nkey end shift\ntype 12\nkey tab\ntype " +
                           fifty + "y\n" + click("btnSave") + "key enter\nfocus\nget frmClientMain.btnSave.Enabled\n");
    EXPECT_THAT(out, HasSubstr("error: Kötelező mező: Iktatószám\nfrmClientMain_1.TZEDit1\n"));
    EXPECT_THAT(out, HasSubstr("error: Érvénytelen szám: Iktatószám\n"));
    EXPECT_THAT(out, HasSubstr("error: Csak egész szám adható meg: Iktatószám\n"));
    EXPECT_THAT(out,
                HasSubstr("error: Túl hosszú szöveg (legfeljebb 50 karakter): Tárgy\nfrmClientMain_1.TZEDit2\nTrue\n"));
    EXPECT_THAT(documents(), untouched());
    EXPECT_TRUE(history().empty());
}

TEST_F(Entry, ANumberWiderThanItsColumnIsRefusedInWordsOnBothEngines)
{
    std::string out = play(click("btnNew") + "type 99999999999\nkey tab\ntype Targy\n" + click("btnSave") +
                           "key enter\nkey home\nkey end shift\ntype -2147483649\n" + click("btnSave") +
                           "key enter\nkey home\nkey end shift\ntype 2147483647\n" + click("btnSave") +
                           "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("error: Túl nagy vagy túl kicsi szám: Iktatószám\n"
                               "error: Túl nagy vagy túl kicsi szám: Iktatószám\n'Dokumentum: 4'\n"));
    EXPECT_THAT(rows("Select Iktatoszam from Document where DocumentID = 4"), ElementsAre("2147483647"));
}
TEST_F(Entry, ModifyingChangesOnlyWhatMayChangeAndCancelBringsBackWhatIsStored)
{
    std::string create = click("btnNew") + "type 2001\nkey tab\ntype Panasz\n" + click("btnSave");
    std::string out = play(create + click("btnModify") + "get frmClientMain.TZEDit1.Enabled\nfocus\n" +
                           "key end\ntype  ma\n" + click("btnSave") + "get frmClientMain.StatusBar1.SimpleText\n" +
                           // Cancel while modifying: the stored text comes back.
                           click("btnModify") + "key end\ntype !!!\nkey esc\nget frmClientMain.TZEDit2.Text\n" +
                           "get frmClientMain.btnModify.Enabled\n" +
                           // Cancel a new one: the document shown before comes back.
                           click("btnNew") +
                           "type 9\nkey esc\nget frmClientMain.TZEDit2.Text\n"
                           "get frmClientMain.StatusBar1.SimpleText\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 7u) << out;
    EXPECT_EQ(l[0], "False");  // Iktatoszam may not be modified
    EXPECT_EQ(l[1], "frmClientMain_1.TZEDit2");
    EXPECT_EQ(l[2], "'Dokumentum: 4'");
    EXPECT_EQ(l[3], "'Panasz ma'");
    EXPECT_EQ(l[4], "True");
    EXPECT_EQ(l[5], "'Panasz ma'");
    EXPECT_EQ(l[6], "'Dokumentum: 4'");
    EXPECT_EQ(documents().at(3), "4|2001|Panasz ma|null|nem");
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel", "4|3|módosítás"));
    // Each value the save gave, and the one the modification changed, as
    // the form showed them, under the clerk's login name.
    EXPECT_THAT(rows("Select h.Action, h.UserLogin, c.ColumnName, c.OldValue, c.NewValue from DocumentHistory h "
                     "join DocumentChange c on c.HistoryID = h.HistoryID order by h.HistoryID, c.ColumnName"),
                ElementsAre("felvitel|ugyfel|Iktatoszam|null|2001", "felvitel|ugyfel|Lezart|null|Nem",
                            "felvitel|ugyfel|Targy|null|Panasz", "módosítás|ugyfel|Targy|Panasz|Panasz ma"));

    // A new document cancelled with nothing shown before: an empty form.
    std::string fresh = play(click("btnNew") +
                             "type 7\nkey esc\nget frmClientMain.TZEDit1.Text\n"
                             "get frmClientMain.btnNew.Enabled\nget frmClientMain.btnSave.Enabled\n");
    auto f = lines(fresh);
    ASSERT_GE(f.size(), 3u) << fresh;
    EXPECT_THAT(std::vector<std::string>(f.begin(), f.begin() + 3), ElementsAre("''", "True", "False"));
    EXPECT_EQ(documents().size(), 4u);
}

TEST_F(Entry, AChangeMadeByAnotherProgramMeanwhileIsNeverOverwritten)
{
    // The clerk's program runs on while another program changes the row.
    Live live(*this);
    live.send(login(velmora::entryDemoLogin) + click("btnNew") + "type 2001\nkey tab\ntype Panasz\n" +
              click("btnSave") + click("btnModify") + "key end\ntype  (clerk)\nfocus\n");
    ASSERT_TRUE(live.waitFor("frmClientMain_1.TZEDit2")) << live.printed();

    db::TADOConnection other(nullptr);
    openDataLink(other, udl());
    runScript(other, "Update Document Set Targy = 'Valaki m\xc3\xa1s' Where DocumentID = 4");

    live.send(click("btnSave") + "key enter\nget frmClientMain.TZEDit2.Text\nget frmClientMain.btnSave.Enabled\n");
    std::string out = live.finish();
    EXPECT_THAT(out, HasSubstr("error: A dokumentumot időközben valaki más módosította, ezért a mentés nem történt "
                               "meg.\n'Panasz (clerk)'\nTrue\n"));
    EXPECT_EQ(documents().at(3), "4|2001|Valaki más|null|nem");
    // Where the server keeps the history, the other program's change is
    // in it too, by whoever made it.
    if (rolesRun()) EXPECT_THAT(history(), ElementsAre("4|3|felvitel", "4|0|módosítás"));
    else EXPECT_THAT(history(), ElementsAre("4|3|felvitel"));
}

TEST_F(Entry, ClosingWithUnsavedChangesAsksWhetherToSave)
{
    // Mégsem keeps the window, Igen saves and ends.
    std::string out =
        play(click("btnNew") + "type 2001\nkey tab\ntype Panasz\nclose\nwindows\nkey esc\nclose\nkey enter\n");
    EXPECT_THAT(out, HasSubstr("frmSaveQuestion \"Velmora Document Store\""));
    EXPECT_EQ(documents().size(), 4u);
    // Nem ends without saving; nothing to save asks nothing.
    std::string no = play(click("btnNew") + "type 2002\nclose\nkey tab\nkey enter\n");
    EXPECT_EQ(documents().size(), 4u);
    std::string quiet = play(click("btnNew") + "close\nwindows\n");
    EXPECT_THAT(quiet, Not(HasSubstr("frmSaveQuestion")));
}

TEST_F(Entry, ALockedDatabaseRefusesTheSaveAndTheFormKeepsTheClerksValues)
{
    if (onPostgres()) GTEST_SKIP() << "a SQLite file's write lock";
    Live live(*this);
    live.send(login(velmora::entryDemoLogin) + click("btnNew") + "type 2001\nkey tab\ntype Panasz\nfocus\n");
    ASSERT_TRUE(live.waitFor("TZEDit2")) << live.printed();
    {
        db::TADOConnection other(nullptr);
        openDataLink(other, udl());
        other.beginTrans();  // holds the write lock
        live.send(click("btnSave") + "get frmClientMain.btnSave.Enabled\n");
        ASSERT_TRUE(live.waitFor("error: ")) << live.printed();
        other.rollbackTrans();
    }
    live.send("key enter\nget frmClientMain.TZEDit2.Text\n" + click("btnSave") +
              "get frmClientMain.StatusBar1.SimpleText\n");
    std::string out = live.finish();
    // In the clerk's words alone.
    EXPECT_THAT(out, HasSubstr("error: Az adatbázist most egy másik program (például egy importálás) írja, ezért a "
                               "művelet nem történt meg; az űrlapon minden megmaradt, próbálja újra, ha az végzett.\n"
                               "True\n'Panasz'\n'Dokumentum: 4'\n"));
    EXPECT_EQ(documents().size(), 4u);
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel"));
}

TEST_F(Entry, AFieldNamingNoColumnIsReportedByNameAndNothingIsWritten)
{
    std::optional<std::string> design = storedDesign(udl(), 3);
    ASSERT_TRUE(design);
    size_t at = design->find("KeyField = 'Targy'");
    ASSERT_NE(at, std::string::npos);
    design->replace(at, 18, "KeyField = 'Nin]cs'");
    storeFormData(udl(), 3, *design);
    std::string out = play(click("btnNew") + "type 2001\nkey tab\ntype Panasz\n" + click("btnSave") + "key enter\n");
    EXPECT_THAT(out, HasSubstr("error: Nincs ilyen oszlop a Document táblában: Nin]cs\n"));
    EXPECT_THAT(documents(), untouched());
}

TEST_F(Entry, AFormWithNoBoundFieldStoresNoEmptyDocumentAndSaysWhy)
{
    // demo's group has no design: the built-in layout binds no field.
    auto spot = [&](const char* button) {
        auto l = lines(play(std::string("where frmClientMain.") + button + "\n", "demo"));
        return l.empty() ? Rect() : rect(l[0]);
    };
    Rect newButton = spot("btnNew"), save = spot("btnSave");
    auto at = [](Rect r) { return "click " + std::to_string(r.cx()) + " " + std::to_string(r.cy()) + "\n"; };
    std::string out =
        play(at(newButton) + at(save) + "get frmClientMain.StatusBar1.SimpleText\nget frmClientMain.btnNew.Enabled\n",
             "demo");
    EXPECT_THAT(out, HasSubstr("'Nincs mit menteni: az '#369'rlap egyetlen mez"));
    EXPECT_THAT(out, Not(HasSubstr("error:")));
    EXPECT_THAT(documents(), untouched());
    EXPECT_TRUE(history().empty());
}

TEST_F(Entry, AModificationChecksAndWritesOnlyTheFieldsOpenForChange)
{
    // Made through another group's form: no number (required here, and not
    // open for change), and a time of day the date field does not show.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        runScript(c, "Insert into Document (Targy, Erkezett) Values ('Más űrlapról', '2026-11-20 14:30:00')");
    }
    Rect grid = where("dbgSearch");
    std::string out =
        play(searchTab() + click("btnSearch") + "dblclick " + std::to_string(grid.left + 40) + " " +
             std::to_string(grid.top + 28) + "\nfocus\n" + click("btnModify") + "focus\nkey end\ntype  (javítva)\n" +
             click("btnSave") + "get frmClientMain.StatusBar1.SimpleText\nfocus\n");
    // The opened row's page has the focus (its fields are closed), then the
    // first field open for change, and after the save "Új felvitel".
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.btnNew\nfrmClientMain_1.TZEDit2\n"));
    EXPECT_THAT(out, HasSubstr("'Dokumentum: 4'\nfrmClientMain_1.btnNew\n"));
    EXPECT_THAT(out, Not(HasSubstr("error:"))) << out;
    EXPECT_THAT(out, HasSubstr("'Dokumentum: 4'"));
    EXPECT_EQ(rows("Select Iktatoszam, Targy, Erkezett, Ugytipus from Document where DocumentID = 4"),
              std::vector<std::string>{"null|Más űrlapról (javítva)|2026-11-20 14:30:00|null"});
    if (rolesRun()) EXPECT_THAT(history(), ElementsAre("4|0|felvitel", "4|3|módosítás"));
    else EXPECT_THAT(history(), ElementsAre("4|3|módosítás"));
}

TEST_F(Entry, ARequiredTextFieldRefusesBlanks)
{
    std::string out =
        play(click("btnNew") + "type 2001\nkey tab\ntype    \n" + click("btnSave") + "key enter\nfocus\n");
    EXPECT_THAT(out, HasSubstr("error: Kötelező mező: Tárgy\n"));
    EXPECT_THAT(out, HasSubstr("frmClientMain_1.TZEDit2\n"));
    EXPECT_THAT(documents(), untouched());
}

// The clerk's start makes no index (on a shared server only the tables'
// owner could), and works without them; the designer's save makes those
// of its search page's columns, velmora-admin upgrade every one.
TEST_F(Entry, IndexesAreMadeWhereTheSchemaChangesNeverAtTheClerksStart)
{
    auto indexes = [&] {
        return rows(onPostgres() ? "Select indexname from pg_indexes where schemaname = current_schema() and "
                                   "indexname like 'VelmoraSearch%' order by indexname"
                                 : "Select name from sqlite_master where type = 'index' and name like "
                                   "'VelmoraSearch%' order by name");
    };
    EXPECT_THAT(indexes(), ElementsAre("VelmoraSearch_Erkezett", "VelmoraSearch_Iktatoszam", "VelmoraSearch_Lezart",
                                       "VelmoraSearch_Ugytipus"));
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        for (const char* name : {"Erkezett", "Iktatoszam", "Lezart", "Ugytipus"})
            runScript(c, std::string("DROP INDEX \"VelmoraSearch_") + name + "\"");
    }
    std::string out = play(searchTab() + click("btnSearch") + "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("'3 tal'#225'lat'"));
    EXPECT_TRUE(indexes().empty());
}
