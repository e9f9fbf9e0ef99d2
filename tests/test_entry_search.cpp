// Searching in the clerk's program: the search page's fields with their
// relation codes, driven through the real velmora-entry; what is found is
// read from the result grid ("rows") and the status bar.
#include "EntryTest.h"
#include "db/Statement.h"

#include <regex>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

namespace {

class EntrySearch : public EntryTest {
protected:
    EntrySearch()
    {
        // Texts that a pattern must take literally.
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::TADOCommand cmd(nullptr);
        cmd.setConnection(&c);
        for (const char* subject : {"100% biztos", "a_b", "O'Brien", "x]y"}) {
            cmd.setCommandText("Insert into Document (Iktatoszam, Targy) Values (2000, :Targy)");
            cmd.parameters().paramByName("Targy").setValue(tk::Value(subject));
            cmd.execute();
        }
    }
    // Stores the design with these relations on the search page.
    void relations(const velmora::DemoSearchRelations& r) { storeFormData(udl(), 3, velmora::entryDemoDesign(r)); }
};

std::string text(const std::string& t)
{
    return "type " + t + "\n";
}

}  // namespace

TEST_F(EntrySearch, NoConditionListsEveryDocumentNewestFirstAndNothingFoundIsSaid)
{
    EXPECT_THAT(found({}, "get frmClientMain.StatusBar1.SimpleText\n"), ElementsAre("7", "6", "5", "4", "3", "2", "1"));
    EXPECT_THAT(last, HasSubstr("'7 tal'#225'lat'"));
    EXPECT_THAT(last, HasSubstr("Azonosító\tÉrvénytelenítve\tIktatószám\tTárgy\tÉrkezett\tLezárt\tÜgytípus\n"));
    EXPECT_THAT(last, HasSubstr("\n2\t\t1002\tSzámla reklamáció\t2026.11.16.\tNem\tReklamáció\n"));
    EXPECT_THAT(found({{"TZEDit4", text("999")}}, "get frmClientMain.StatusBar1.SimpleText\n"), IsEmpty());
    EXPECT_THAT(last, HasSubstr("'Nincs tal'#225'lat'"));
}

// Dates read the same on every desk; the user's settings file may choose
// ISO instead, and a value it does not know is said and read as Hungarian.
TEST_F(EntrySearch, DatesAreHungarianWhateverTheLocaleUnlessTheSettingsChooseIso)
{
    std::filesystem::create_directories(folder.file("config/velmora"));
    environment = "XDG_CONFIG_HOME='" + folder.file("config") + "'";
    const std::pair<const char*, const char*> settings[] = {
        {"", "2026.11.16."}, {"# ISO:\ndates = iso\n", "2026-11-16"}, {"dates=ISO # a comment\n", "2026-11-16"},
        {"dates = hungarian\n", "2026.11.16."}, {"dates = amerikai\n", "2026.11.16."}};
    for (const auto& [setting, shown] : settings) {
        std::ofstream(folder.file("config/velmora/velmora.conf")) << setting;
        EXPECT_THAT(found({}), ElementsAre("7", "6", "5", "4", "3", "2", "1")) << setting;
        EXPECT_THAT(last, HasSubstr("\n2\t\t1002\tSzámla reklamáció\t" + std::string(shown) + "\tNem\t")) << setting;
    }
    EXPECT_THAT(last, HasSubstr("velmora.conf:1: dates = amerikai is neither hungarian (2026.11.16.) nor iso"));
}

TEST_F(EntrySearch, NumbersCompareAsNumbersByEveryRelation)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"Egyenlő", {"2"}},
        {"NemEgyenlő", {"7", "6", "5", "4", "3", "1"}},
        {"Kisebb", {"1"}},
        {"Nagyobb", {"7", "6", "5", "4", "3"}},
        {"KisebbEgyenlő", {"2", "1"}},
        {"NagyobbEgyenlő", {"7", "6", "5", "4", "3", "2"}},
        {"egyenlő", {"2"}}};  // codes compare without regard to case
    for (const auto& [relation, ids] : cases) {
        velmora::DemoSearchRelations r;
        r.number = relation;
        relations(r);
        EXPECT_EQ(found({{"TZEDit4", text("1002")}}), ids) << relation;
    }
    velmora::DemoSearchRelations unknown;
    unknown.number = "Valami";
    relations(unknown);
    EXPECT_THAT(found({{"TZEDit4", text("1")}}),
                ElementsAre("error: Ismeretlen keresési feltétel: „Valami” (Iktatószám)"));
}

TEST_F(EntrySearch, TextPatternsTakeWildcardsAccentsInAnyCaseAndTypedSpecialCharactersLiterally)
{
    EXPECT_THAT(found({{"TZEDit5", text("REKL")}}), ElementsAre("2"));
    EXPECT_THAT(found({{"TZEDit5", text("SZÁMLA")}}), ElementsAre("2"));  // accents in any case
    EXPECT_THAT(found({{"TZEDit5", text("*kérése")}}), ElementsAre("1"));
    EXPECT_THAT(found({{"TZEDit5", text("Sz?rz*")}}), ElementsAre("3"));
    EXPECT_THAT(found({{"TZEDit5", text("%")}}), ElementsAre("4"));
    EXPECT_THAT(found({{"TZEDit5", text("_")}}), ElementsAre("5"));
    EXPECT_THAT(found({{"TZEDit5", text("'")}}), ElementsAre("6"));
    EXPECT_THAT(found({{"TZEDit5", text("]")}}), ElementsAre("7"));
    // A pattern typed without accents finds the accented text.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        db::execute(c, "Insert into Document (Iktatoszam, Targy) Values (2001, 'Árvíztűrő tükörfúrógép')");
    }
    EXPECT_THAT(found({{"TZEDit5", text("arvizturo")}}), ElementsAre("8"));
    EXPECT_THAT(found({{"TZEDit5", text("TUKORFURO*")}}), IsEmpty());  // a pattern from the start
    EXPECT_THAT(found({{"TZEDit5", text("*TUKORFURO*")}}), ElementsAre("8"));
    EXPECT_THAT(found({{"TZEDit5", text("szamla reklamacio")}}), ElementsAre("2"));
    velmora::DemoSearchRelations r;
    r.subject = "NemHasonló";
    relations(r);
    // "módosítás" holds an "á", which is an "a" to a pattern.
    EXPECT_THAT(found({{"TZEDit5", text("a")}}), ElementsAre("7", "6", "4"));
    r.subject = "Egyenlő";
    relations(r);
    EXPECT_THAT(found({{"TZEDit5", text("számla REKLAMÁCIÓ")}}), ElementsAre("2"));
    // Equality keeps the accents: "kor" is not "kór".
    EXPECT_THAT(found({{"TZEDit5", text("szamla reklamacio")}}), IsEmpty());
    r.subject = "Üres";
    relations(r);
    EXPECT_THAT(found({}), IsEmpty());
}

TEST_F(EntrySearch, ATickedBoxAndADictionaryEntryAddTheirConditions)
{
    // Lezárt: NemÜres finds the closed one; Üres the rest.
    EXPECT_THAT(found({{"TZEDChxBox2", ""}}), ElementsAre("1"));
    velmora::DemoSearchRelations r;
    r.closed = "Üres";
    relations(r);
    EXPECT_THAT(found({{"TZEDChxBox2", ""}}), ElementsAre("7", "6", "5", "4", "3", "2"));
    // Ügytípus: by the entry, in any case, or like its text.
    EXPECT_THAT(found({{"TZEDit6", text("árajánlat")}}), ElementsAre("1"));
    r.kind = "Hasonló";
    relations(r);
    EXPECT_THAT(found({{"TZEDit6", text("A")}}), ElementsAre("2", "1"));
    r.kind = "NemEgyenlő";
    relations(r);
    EXPECT_THAT(found({{"TZEDit6", text("Reklamáció")}}), ElementsAre("7", "6", "5", "4", "3", "1"));
}

TEST_F(EntrySearch, ADoubleClickOrEnterOnAFoundRowShowsItOnTheEntryPage)
{
    Rect grid = where("dbgSearch");
    std::string tab = searchTab();
    std::string row = std::to_string(grid.left + 40) + " " + std::to_string(grid.top + 28) + "\n";
    std::string out = play(tab + click("btnSearch") + "dblclick " + row +
                           "get frmClientMain.pcData.ActivePage\nget frmClientMain.TZEDit2.Text\n"
                           "get frmClientMain.StatusBar1.SimpleText\n" +
                           tab + click("btnSearch") + "click " + row +
                           "key down\nkey enter\n"
                           "get frmClientMain.StatusBar1.SimpleText\n");
    // The first row is the newest; Down then Enter opens the next one.
    EXPECT_THAT(out, HasSubstr("tsEdit\n'x]y'\n'Dokumentum: 7'\n'Dokumentum: 6'\n"));
}

TEST_F(EntrySearch, PrintingWritesAPdfOfTheResultAndACsvThatReadsBack)
{
    std::string pdf = folder.file("rekl.pdf"), csv = folder.file("rekl.csv");
    found({{"TZEDit5", text("rekl")}}, click("btnPrint") + "windows\ntype " + pdf + "\nkey enter\n" +
                                           click("btnPrint") + "type " + csv + "\nkey enter\n" +
                                           "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(last, HasSubstr("frmSaveFile \"Mentés\""));
    EXPECT_THAT(last, HasSubstr("rekl.csv'"));
    std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    EXPECT_THAT(text, HasSubstr("Ügyfélszolgálat"));
    EXPECT_THAT(text, HasSubstr("Feltétel: Tárgy (Hasonló): rekl"));
    EXPECT_THAT(text,
                testing::ContainsRegex("Azonosító +Érvénytelenítve +Iktatószám +Tárgy +Érkezett +Lezárt +Ügytípus"));
    EXPECT_THAT(text, testing::ContainsRegex("2 +1002 +Számla reklamáció +2026.11.16. +Nem +Reklamáció"));
    EXPECT_THAT(text, HasSubstr("1. oldal / 1"));
    std::string rows = commandOutput(
        "python3 -c \"import csv,sys; r=list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', "
        "newline=''), delimiter=';')); print(len(r)); print('|'.join(r[0])); print('|'.join(r[1]))\" '" +
        csv + "'");
    EXPECT_EQ(rows,
              "2\nAzonosító|Érvénytelenítve|Iktatószám|Tárgy|Érkezett|Lezárt|Ügytípus\n2||1002|Számla "
              "reklamáció|2026-11-16|Nem|Reklamáció\n");

    // A long list (457 rows, more than two pages of the grid's reading)
    // is found whole and goes over many PDF pages, numbered; another
    // ending is refused.
    {
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        c.beginTrans();
        db::TADOCommand cmd(nullptr);
        cmd.setConnection(&c);
        cmd.setCommandText("Insert into Document (Iktatoszam, Targy) Values (:n, 'Hosszú lista')");
        for (int i = 0; i < 450; ++i) {
            cmd.parameters().paramByName("n").setValue(tk::Value(3000 + i));
            cmd.execute();
        }
        c.commitTrans();
    }
    std::string all = folder.file("all.pdf");
    std::vector<std::string> ids = found({}, click("btnPrint") + "type " + all + "\nkey enter\n" + click("btnPrint") +
                                                 "type " + folder.file("all.txt") + "\nkey enter\n");
    ASSERT_EQ(ids.size(), 457u);
    EXPECT_EQ(ids.front(), "457");
    EXPECT_EQ(ids[200], "257");
    EXPECT_EQ(ids.back(), "1");
    EXPECT_THAT(last, HasSubstr("error: Csak .pdf, .csv vagy .xlsx fájlba lehet menteni: "));
    std::string info = commandOutput("pdfinfo '" + all + "'");
    std::smatch pages;
    ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages: +([0-9]+)\n")));
    EXPECT_GT(std::stoi(pages[1]), 8);
    std::string long_ = commandOutput("pdftotext -layout '" + all + "' -");
    EXPECT_THAT(long_, HasSubstr(pages[1].str() + ". oldal / " + pages[1].str()));
    EXPECT_THAT(long_, HasSubstr("457 dokumentum"));
    EXPECT_THAT(long_, HasSubstr("3449"));
    EXPECT_THAT(long_, HasSubstr("1001"));
}

TEST_F(EntrySearch, DatesCompareByTheDayByEveryRelation)
{
    // The console's today is 6 December 2026: twenty days back is the 16th
    // of November, document 2's day; document 1 came on the 2nd.
    std::string day = "key space\n";
    for (int i = 0; i < 20; ++i) day += "key down\n";
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"Egyenlő", {"2"}}, {"NemEgyenlő", {"7", "6", "5", "4", "3", "1"}},
        {"Kisebb", {"1"}},  {"KisebbEgyenlő", {"2", "1"}},
        {"Nagyobb", {}},    {"NagyobbEgyenlő", {"2"}}};
    for (const auto& [relation, ids] : cases) {
        velmora::DemoSearchRelations r;
        r.arrived = relation;
        relations(r);
        EXPECT_EQ(found({{"TZEDPicker2", day}}), ids) << relation;
    }
    velmora::DemoSearchRelations empty;
    empty.arrived = "Üres";
    relations(empty);
    EXPECT_THAT(found({{"TZEDPicker2", day}}), ElementsAre("7", "6", "5", "4", "3"));
}

// Relations a hand-made design can hold although the property page does
// not offer them for the field's kind: each finds exactly its rows, on
// both engines alike.
TEST_F(EntrySearch, RelationsTheDesignerDoesNotOfferFindTheirRows)
{
    {
        // Document 8 has no number and no kind.
        db::TADOConnection c(nullptr);
        openDataLink(c, udl());
        runScript(c, "Insert into Document (Targy) Values ('Sz\xc3\xa1m n\xc3\xa9lk\xc3\xbcl')");
    }
    // Text by its order and inequality, letter case folded (Ő and ő too).
    const std::pair<const char*, std::pair<const char*, std::vector<std::string>>> texts[] = {
        {"Kisebb", {"O'BRIEN", {"5", "4"}}},
        {"Nagyobb", {"SZÁMLA REKLAMÁCIÓ", {"7", "1"}}},
        {"KisebbEgyenlő", {"A_B", {"5", "4"}}},
        {"NagyobbEgyenlő", {"X]Y", {"7", "1"}}},
        {"NemEgyenlő", {"SZERZŐDÉS MÓDOSÍTÁS", {"8", "7", "6", "5", "4", "2", "1"}}}};
    for (const auto& [relation, typedAndFound] : texts) {
        velmora::DemoSearchRelations r;
        r.subject = relation;
        relations(r);
        EXPECT_EQ(found({{"TZEDit5", text(typedAndFound.first)}}), typedAndFound.second) << relation;
    }
    // Numbers: empty or not, and alike by their digits.
    const std::pair<const char*, std::pair<const char*, std::vector<std::string>>> numbers[] = {
        {"Üres", {"", {"8"}}},
        {"NemÜres", {"", {"7", "6", "5", "4", "3", "2", "1"}}},
        {"Hasonló", {"100", {"3", "2", "1"}}},
        {"Hasonló", {"2*", {"7", "6", "5", "4"}}},
        {"NemHasonló", {"100", {"8", "7", "6", "5", "4"}}}};
    for (const auto& [relation, typedAndFound] : numbers) {
        velmora::DemoSearchRelations r;
        r.number = relation;
        relations(r);
        std::string typing = *typedAndFound.first ? text(typedAndFound.first) : std::string();
        EXPECT_EQ(found({{"TZEDit4", typing}}), typedAndFound.second) << relation << " " << typedAndFound.first;
    }
    // A dictionary field: not like an entry's text, or without an entry.
    velmora::DemoSearchRelations kind;
    kind.kind = "NemHasonló";
    relations(kind);
    EXPECT_THAT(found({{"TZEDit6", text("rekl")}}), ElementsAre("8", "7", "6", "5", "4", "3", "1"));
    kind.kind = "Üres";
    relations(kind);
    EXPECT_THAT(found({}), ElementsAre("8", "7", "6", "5", "4", "3"));
    // A date has no text to be alike: refused by the field's name.
    velmora::DemoSearchRelations date;
    date.arrived = "Hasonló";
    relations(date);
    EXPECT_THAT(found({{"TZEDPicker2", "key space\n"}}),
                ElementsAre("error: Ez a feltétel nem használható ennél a mezőnél: Érkezett"));
}

// A hand-made design may lack the result grid: a search still counts what
// it finds, and nothing fails for want of the grid.
TEST_F(EntrySearch, ADesignWithoutAResultGridStillSearches)
{
    std::string design = velmora::entryDemoDesign();
    size_t from = design.find("      object dbgSearch: TDBGrid");
    ASSERT_NE(from, std::string::npos);
    size_t to = design.find("\r\n      end\r\n", from);
    ASSERT_NE(to, std::string::npos);
    design.erase(from, to + 13 - from);
    storeFormData(udl(), 3, design);
    std::string out = play(searchTab() + click("TZEDit5") + "type rekl\n" + click("btnSearch") +
                           "get frmClientMain.StatusBar1.SimpleText\nkey enter\nwhere frmClientMain.dbgSearch\n");
    EXPECT_THAT(out, Not(HasSubstr("error:")));
    EXPECT_THAT(out, HasSubstr("'1 tal'#225'lat'\nnone\n"));
}
