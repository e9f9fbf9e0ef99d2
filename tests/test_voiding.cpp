// A mistaken document is voided, never deleted: the clerk's reason is
// asked for, the row stays, the void and its history row are stored in
// one transaction, and a voided document says so and cannot be modified.
#include "EntryTest.h"
#include "entry/Documents.h"

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

using Voiding = EntryTest;

}  // namespace

TEST_F(Voiding, AVoidedDocumentStaysSaysWhyAndCannotBeModified)
{
    std::string out =
        play(click("btnNew") + "type 2001\nkey tab\ntype T\xc3\xa9ves\n" + click("btnSave") + click("btnModify") +
             "key end\ntype  t\xc3\xa1rgy\n" + click("btnSave") +
             // A reason of blanks is no reason; Esc takes nothing.
             "key f8\ntype   \nkey enter\nkey enter\nkey f8\ntype Valami\nkey esc\n" +
             "get frmClientMain.StatusBar1.SimpleText\n" + "key f8\ntype K\xc3\xa9tszer iktatva\nkey enter\n" +
             "get frmClientMain.StatusBar1.SimpleText\n" + click("btnModify") + "key enter\n" +
             "key f8\nkey enter\nget frmClientMain.StatusBar1.SimpleText\n" +
             // The history, newest first, each value under its caption.
             "key f9\nget frmHistory.Caption\nrows frmHistory.dbgHistory\nkey esc\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 14u) << out;
    EXPECT_EQ(l[0], "error: Az érvénytelenítés okát meg kell adni; a dokumentum nem lett érvénytelenítve.");
    EXPECT_EQ(l[1], "'Dokumentum: 4'");
    EXPECT_EQ(l[2], "#201'RV'#201'NYTELEN'#205'TVE: K'#233'tszer iktatva'");
    EXPECT_EQ(l[3], "error: Érvénytelenített dokumentum nem módosítható: Kétszer iktatva");
    EXPECT_EQ(l[4], "error: A dokumentum már érvénytelenítve van: Kétszer iktatva");
    EXPECT_EQ(l[5], "#201'RV'#201'NYTELEN'#205'TVE: K'#233'tszer iktatva'");
    EXPECT_EQ(l[6], "'El'#337'zm'#233'nyek: 4'");
    EXPECT_EQ(l[7], "Idő\tIktatószám\tFelhasználó\tMűvelet\tMező\tRégi érték\tÚj érték");
    std::vector<std::string> shown(l.begin() + 8, l.begin() + 13);
    for (std::string& line : shown) {
        EXPECT_THAT(line, testing::MatchesRegex("[0-9]{4}\\.[0-9]{2}\\.[0-9]{2}\\.( [0-9]{2}:[0-9]{2}(:[0-9]{2})?)?\t.*"));
        line = line.substr(line.find('\t') + 1);
    }
    EXPECT_THAT(shown,
                ElementsAre("\tugyfel\térvénytelenítés\tIndok\t\tKétszer iktatva",
                            "\tugyfel\tmódosítás\tTárgy\tTéves\tTéves tárgy",
                            "\tugyfel\tfelvitel\tIktatószám\t\t2001", "\tugyfel\tfelvitel\tLezárt\t\tNem",
                            "\tugyfel\tfelvitel\tTárgy\t\tTéves"));
    EXPECT_EQ(l[13], "end");

    // The row stays as it was; the void is stored beside it, with its
    // history row holding the reason.
    EXPECT_EQ(documents().at(3), "4|2001|Téves tárgy|null|nem");
    EXPECT_THAT(rows("Select DocumentID, Reason from DocumentVoid"), ElementsAre("4|Kétszer iktatva"));
    EXPECT_THAT(rows("Select h.Action, h.UserLogin, c.ColumnName, c.OldValue, c.NewValue from DocumentHistory h "
                     "join DocumentVoid v on v.HistoryID = h.HistoryID join DocumentChange c on c.HistoryID = "
                     "h.HistoryID"),
                ElementsAre("érvénytelenítés|ugyfel||null|Kétszer iktatva"));
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel", "4|3|módosítás", "4|3|érvénytelenítés"));
}

// Voided by another program meanwhile: the second void is refused and
// writes nothing, and the form shows the first one's reason.
TEST_F(Voiding, ADocumentVoidedMeanwhileIsNotVoidedTwice)
{
    Live live(*this);
    live.send(login(velmora::entryDemoLogin) + click("btnNew") + "type 2001\nkey tab\ntype Egy\n" + click("btnSave") +
              "key f8\nget frmClientMain.StatusBar1.SimpleText\n");
    ASSERT_TRUE(live.waitFor("'Dokumentum: 4'"));
    db::TADOConnection other(nullptr);
    openDataLink(other, udl());
    ASSERT_TRUE(velmora::Documents(other, 1).voidDocument(4, "Máshol"));
    EXPECT_FALSE(velmora::Documents(other, 1).voidDocument(4, "Még egyszer"));
    EXPECT_FALSE(velmora::Documents(other, 1).voidDocument(99, "Nincs ilyen"));
    live.send("type Itt\nkey enter\nkey enter\nget frmClientMain.StatusBar1.SimpleText\n");
    std::string out = live.finish();
    EXPECT_THAT(out, HasSubstr("error: A dokumentumot időközben valaki más érvénytelenítette."));
    EXPECT_THAT(out, HasSubstr("TVE: M'#225'shol'"));
    EXPECT_THAT(rows("Select DocumentID, Reason from DocumentVoid"), ElementsAre("4|Máshol"));
    EXPECT_EQ(rows("Select count(*) from DocumentHistory where Action = 'érvénytelenítés'").at(0), "1");
}

// Shown, or being modified, in one program while another voids it: the
// change and any attachment are refused inside the saving transaction,
// and the voided row stays as it was.
TEST_F(Voiding, ADocumentVoidedMeanwhileTakesNoChangeAndNoAttachment)
{
    std::string file = folder.file("kesve.txt");
    std::ofstream(file) << "Késve érkezett\n";
    Live live(*this);
    live.send(login(velmora::entryDemoLogin) + click("btnNew") + "type 2001\nkey tab\ntype Egy\n" + click("btnSave") +
              click("btnModify") + "key end\ntype  kettő\nget frmClientMain.StatusBar1.SimpleText\n");
    ASSERT_TRUE(live.waitFor("(m'#243'dos'#237't'#225's)'"));
    db::TADOConnection other(nullptr);
    openDataLink(other, udl());
    ASSERT_TRUE(velmora::Documents(other, 1).voidDocument(4, "Máshol"));
    live.send(click("btnSave") + "attach " + file + "\n");
    std::string out = live.finish();
    EXPECT_THAT(out, HasSubstr("error: A dokumentumot időközben érvénytelenítették (Máshol), ezért nem módosítható"));
    EXPECT_THAT(out, HasSubstr("nem csatolható"));
    EXPECT_EQ(documents().at(3), "4|2001|Egy|null|nem");
    EXPECT_THAT(rows("Select count(*) from DocumentAttachment"), ElementsAre("0"));
    // Where the server keeps the history, the void names the server's own
    // user who made it here, no user of the database.
    EXPECT_THAT(history(), ElementsAre("4|3|felvitel", rolesRun() ? "4|0|érvénytelenítés" : "4|1|érvénytelenítés"));
}

// The clerk's menu reaches the same actions: from the console by its
// captions, and with F10 and the keys as a person would.
TEST_F(Voiding, TheClerksMenuReachesVoidingAndTheHistory)
{
    std::string out = play(click("btnNew") + "type 2001\nkey tab\ntype Men\xc3\xbc\n" + click("btnSave") +
                           "menu Dokumentum|\xc3\x89rv\xc3\xa9nytelen\xc3\xadt\xc3\xa9s\ntype Elg\xc3\xa9pelve\n"
                           "key enter\nmenu Nincs|Ilyen\n"
                           "key f10\nkey enter\nkey down\nkey enter\nget frmHistory.Caption\nkey esc\n"
                           "menu Sz\xc3\xb3t\xc3\xa1r|Sz\xc3\xb3t\xc3\xa1relemek\nkey enter\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 3u) << out;
    EXPECT_EQ(l[0], "no menu item Nincs|Ilyen");
    EXPECT_EQ(l[1], "'El'#337'zm'#233'nyek: 4'");
    EXPECT_EQ(l[2], "error: A szótárelemek egy szótáras mezőből érhetők el: álljon a mezőre, és válassza újra.");
    EXPECT_THAT(rows("Select DocumentID, Reason from DocumentVoid"), ElementsAre("4|Elgépelve"));
}

// A search finds a voided document marked with its reason, on the grid
// and in the list; F7 (or the menu's option) leaves voided ones out, the
// list saying which it did, and the shown result follows at once.
TEST_F(Voiding, SearchesMarkVoidedDocumentsAndCanLeaveThemOut)
{
    std::string all = folder.file("all.pdf"), valid = folder.file("valid.csv");
    std::string searchPage = searchTab();
    std::string out =
        play(click("btnNew") + "type 2001\nkey tab\ntype T\xc3\xa9ves\n" + click("btnSave") +
             "key f8\ntype Elg\xc3\xa9pelve\nkey enter\n" + searchPage + click("btnSearch") +
             "rows frmClientMain.dbgSearch\n" + click("btnPrint") + "type " + all + "\nkey enter\n" +
             "key f7\nrows frmClientMain.dbgSearch\n" + click("btnPrint") + "type " + valid + "\nkey enter\n" +
             "menu Keres\xc3\xa9s|\xc3\x89rv\xc3\xa9nytelen\xc3\xadtettek n\xc3\xa9lk\xc3\xbcl\n" +
             "get frmClientMain.StatusBar1.SimpleText\n");
    std::vector<std::string> grids;
    for (const std::string& line : lines(out))
        if (line.rfind("QStandardPaths", 0) != 0) grids.push_back(line);
    ASSERT_GE(grids.size(), 12u) << out;
    EXPECT_EQ(grids[0], "Azonosító\tÉrvénytelenítve\tIktatószám\tTárgy\tÉrkezett\tLezárt\tÜgytípus");
    EXPECT_EQ(grids[1], "4\tElgépelve\t2001\tTéves\t\tNem\t");
    EXPECT_EQ(grids[2], "3\t\t1003\tSzerződés módosítás\t\tNem\t");
    EXPECT_EQ(grids[5], "end");
    EXPECT_EQ(grids[6], "Azonosító\tÉrvénytelenítve\tIktatószám\tTárgy\tÉrkezett\tLezárt\tÜgytípus");
    EXPECT_THAT(grids[7], testing::StartsWith("3\t\t1003\t"));
    EXPECT_EQ(grids[10], "end");
    EXPECT_EQ(grids[11], "'4 tal'#225'lat'");  // all four again

    std::string allText = commandOutput("pdftotext -layout '" + all + "' -");
    EXPECT_THAT(allText, HasSubstr("Az érvénytelenített dokumentumok is, megjelölve.\n"));
    EXPECT_THAT(allText, testing::ContainsRegex("\n4 +Elgépelve +2001 +Téves +Nem"));
    std::string validText = commandOutput("cat '" + valid + "'");
    EXPECT_THAT(validText, HasSubstr("Azonosító;Érvénytelenítve;Iktatószám;"));
    EXPECT_THAT(validText, HasSubstr("\r\n3;;1003;Szerződés módosítás;;Nem;\r\n"));
    EXPECT_THAT(validText, testing::Not(HasSubstr("Elgépelve")));
    // The row itself is untouched by any of it.
    EXPECT_EQ(documents().at(3), "4|2001|Téves|null|nem");
}
