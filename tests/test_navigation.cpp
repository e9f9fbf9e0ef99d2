// Moving through the registry in the clerk's program: straight to a
// registry number (F3, "Ugrás"), and stepping through the found documents
// on the entry page (PgDn, PgUp) with "N / M" on the status bar.
#include "EntryTest.h"
#include "db/Statement.h"

using testing::HasSubstr;

namespace {

class Navigation : public EntryTest {
protected:
    // The search page's search, as the clerk makes it.
    std::string search() { return searchTab() + click("btnSearch"); }
    // A click on the title of the result column that shows `field`, as
    // it stands after a search and the gestures `before`.
    std::string clickTitle(const std::string& field, const std::string& before = "")
    {
        for (const std::string& line : lines(play(search() + before + "where frmClientMain.dbgSearch." + field + "\n")))
            if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
                Rect title = rect(line);
                return "click " + std::to_string(title.cx()) + " " + std::to_string(title.cy()) + "\n";
            }
        ADD_FAILURE() << "no title for " << field;
        return "";
    }
};

}  // namespace

TEST_F(Navigation, StepsThroughTheFoundDocumentsAndAsksBeforeLeavingAChange)
{
    Rect grid = where("dbgSearch");
    std::string shown = "get frmClientMain.TZEDit1.Text\nget frmClientMain.StatusBar1.SimpleText\n";
    std::string out = play(
        // Before any search there is nothing to step through.
        "key pgdn\nkey enter\n" + search() + "dblclick " + std::to_string(grid.left + 40) + " " +
        std::to_string(grid.top + 28) + "\n" + shown + "key pgdn\n" + shown + "key pgdn\n" + shown + "key pgdn\n" +
        shown + "key pgup\n" + shown +
        // A change in progress is asked about; Mégsem stays on it.
        click("btnModify") + "key end\ntype  javítva\nkey pgup\nwindows\nkey esc\n" + shown +
        // Igen saves it and steps on.
        "key pgup\nkey enter\n" + shown);
    auto l = lines(out);
    ASSERT_GE(l.size(), 13u) << out;
    EXPECT_EQ(l[0], "error: Nincs találat, amelyen lépni lehetne: előbb keressen a Keresés lapon.");
    EXPECT_EQ(l[1], "'1003'");
    EXPECT_EQ(l[3], "'1002'");
    EXPECT_EQ(l[4], "'2 / 3'");
    EXPECT_EQ(l[5], "'1001'");
    EXPECT_EQ(l[6], "'3 / 3'");
    EXPECT_EQ(l[7], "'1001'");  // the last one stays
    EXPECT_EQ(l[9], "'1002'");
    EXPECT_EQ(l[10], "'2 / 3'");
    EXPECT_THAT(out, HasSubstr("frmSaveQuestion"));
    EXPECT_THAT(out, HasSubstr("'1002'\n'Dokumentum: 2 (m'#243'dos'#237't'#225's)'\n'1003'\n'1 / 3'\n"));
    EXPECT_EQ(documents().at(1), "2|1002|Számla reklamáció javítva|2026-11-16 00:00:00|nem");
}

TEST_F(Navigation, GoesStraightToARegistryNumberOrListsTheSeveral)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (2000, 'Egyik')");
        db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (2000, 'Másik')");
    }
    std::string out = play(
        "key f3\nget frmGoTo.lblQuestion.Caption\ntype 1002\nkey enter\n"
        "get frmClientMain.TZEDit2.Text\nget frmClientMain.pcData.ActivePage\n"
        "key f3\ntype 9999\nkey enter\nkey enter\n"
        "key f3\ntype nem sz\xc3\xa1m\nkey enter\nkey enter\n"
        "menu Dokumentum|Ugr\xc3\xa1s\ntype 2000\nkey enter\n"
        "get frmClientMain.pcData.ActivePage\nget frmClientMain.StatusBar1.SimpleText\n"
        "rows frmClientMain.dbgSearch\n");
    auto l = lines(out);
    ASSERT_GE(l.size(), 9u) << out;
    EXPECT_EQ(l[0], "'Ugr'#225's: Iktat'#243'sz'#225'm:'");
    EXPECT_EQ(l[1], "'Sz'#225'mla reklam'#225'ci'#243");
    EXPECT_EQ(l[2], "tsEdit");
    EXPECT_EQ(l[3], "error: Nincs ilyen dokumentum: Iktatószám 9999");
    EXPECT_THAT(l[4], testing::StartsWith("error: "));
    EXPECT_EQ(l[5], "tsSearch");
    EXPECT_EQ(l[6], "'2 tal'#225'lat: Iktat'#243'sz'#225'm 2000'");
    EXPECT_THAT(out, HasSubstr("\n5\t\t2000\tMásik\t"));
    EXPECT_THAT(out, HasSubstr("\n4\t\t2000\tEgyik\t"));
}

TEST_F(Navigation, ATitleClickSortsTheResultBothWaysEmptyLastAndTheListsFollow)
{
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        for (const char* subject : {"'Beadvány'", "NULL", "'Beadvány'", "NULL"})
            db::execute(c, std::string("Insert into Document (Targy) Values (") + subject + ")");
    }
    Rect grid = where("dbgSearch");
    std::string clickSubject = clickTitle("Targy");
    std::string ascending = folder.file("novekvo.csv"), descending = folder.file("csokkeno.csv");
    std::string pdf = folder.file("csokkeno.pdf");
    std::string out =
        play(search() + clickSubject + "rows frmClientMain.dbgSearch\n" + click("btnPrint") + "type " + ascending +
             "\nkey enter\n" + clickSubject + "rows frmClientMain.dbgSearch\n" + click("btnPrint") + "type " +
             descending + "\nkey enter\n" + click("btnPrint") + "type " + pdf + "\nkey enter\n" +
             // The order holds for the next search and for stepping.
             click("btnSearch") + "dblclick " + std::to_string(grid.left + 40) + " " + std::to_string(grid.top + 28) +
             "\nget frmClientMain.TZEDit1.Text\nkey pgdn\n" +
             "get frmClientMain.TZEDit1.Text\nget frmClientMain.StatusBar1.SimpleText\n");

    // Each `rows` listing: its title line, then the ids in the grid's order.
    std::vector<std::string> titles, orders;
    auto l2 = lines(out);
    for (size_t i = 0; i < l2.size(); ++i) {
        if (l2[i].rfind("Azonosító\t", 0) != 0) continue;
        titles.push_back(l2[i]);
        std::string ids;
        for (size_t j = i + 1; j < l2.size() && l2[j] != "end"; ++j)
            ids += (ids.empty() ? "" : ",") + l2[j].substr(0, l2[j].find('\t'));
        orders.push_back(ids);
    }
    ASSERT_EQ(orders.size(), 2u) << out;
    // Texts as a reader orders them ("Árajánlat" among the A's; on
    // PostgreSQL by the database's collation, the test server's is the
    // letters' order), the ties by DocumentID the same way, documents
    // without a subject last both ways.
    EXPECT_EQ(orders[0], onPostgres() ? "4,6,3,2,1,5,7" : "1,4,6,2,3,5,7");
    EXPECT_EQ(orders[1], onPostgres() ? "1,2,3,6,4,7,5" : "3,2,6,4,1,7,5");
    EXPECT_THAT(titles[0], HasSubstr("\tTárgy ▲\t"));
    EXPECT_THAT(titles[1], HasSubstr("\tTárgy ▼\t"));

    auto csvOrder = [&](const std::string& file) {
        return commandOutput(
            "/usr/bin/python3 -c \"import csv,sys; r=list(csv.reader(open(sys.argv[1], "
            "encoding='utf-8-sig', newline=''), delimiter=';')); "
            "print(','.join(row[0] for row in r[1:]))\" '" +
            file + "'");
    };
    EXPECT_EQ(csvOrder(ascending), orders[0] + "\n");
    EXPECT_EQ(csvOrder(descending), orders[1] + "\n");
    std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    EXPECT_THAT(text, HasSubstr("Sorrend: Tárgy, csökkenő"));
    EXPECT_THAT(text, testing::ContainsRegex(onPostgres() ? "Számla reklamáció(.|\n)*Beadvány"
                                                          : "Számla reklamáció(.|\n)*Beadvány(.|\n)*Árajánlat kérése"));
    EXPECT_THAT(out, HasSubstr(onPostgres() ? "'1001'\n'1002'\n'2 / 7'\n" : "'1003'\n'1002'\n'2 / 7'\n"));
}

TEST_F(Navigation, EveryResultColumnOrdersTheResultAsItShowsIt)
{
    // Document 2 voided, so that the reasons' column has a value to order.
    play("key f3\ntype 1002\nkey enter\nkey f8\ntype T\xc3\xa9ved\xc3\xa9s\nkey enter\n");
    // Each column's first row in ascending order, in a program of its own
    // (a title's arrow widens its column and moves the titles after it).
    std::vector<std::string> firsts;
    Rect grid = where("dbgSearch");
    // The last columns lie beyond the grid's right edge until End in the
    // grid selects the last one, which scrolls them into view.
    std::string scrolled =
        "click " + std::to_string(grid.left + 40) + " " + std::to_string(grid.top + 28) + "\nkey end\n";
    EXPECT_THAT(play(search() + "where frmClientMain.dbgSearch.Ugytipus\n"), testing::StartsWith("none\n"));
    for (const char* column : {"DocumentID", "VoidedFor", "Iktatoszam", "Erkezett", "Lezart", "Ugytipus"}) {
        std::string before = std::string(column) == "Lezart" || std::string(column) == "Ugytipus" ? scrolled : "";
        std::string out = play(search() + before + clickTitle(column, before) + "rows frmClientMain.dbgSearch\n");
        EXPECT_THAT(out, testing::Not(HasSubstr("error"))) << column;
        auto l = lines(out);
        auto heading = std::find_if(l.begin(), l.end(), [](const std::string& line) {
            return line.rfind("Azonosító", 0) == 0 && line.find("▲") != std::string::npos;
        });
        ASSERT_TRUE(heading != l.end() && heading + 1 != l.end()) << column << "\n" << out;
        firsts.push_back(heading[1].substr(0, heading[1].find('\t')));
    }
    // The smallest identifier; the voided one before the valid ones; the
    // lowest number; the earliest day; "Igen" before "Nem"; the kinds as
    // their entries' texts read ("Árajánlat" before "Reklamáció" on SQLite;
    // by the letters' code on the test server, "R" before "Á").
    EXPECT_EQ(firsts, (std::vector<std::string>{"1", "2", "1", "1", "1", onPostgres() ? "2" : "1"}));
}
