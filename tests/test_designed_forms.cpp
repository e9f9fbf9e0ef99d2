// Forms made the designer's way, in the clerk's hands. The designer (the
// real velmora, as demo) places every kind of field with the palette,
// names, types and marks it in the property page and saves the window for
// Pénzügy; the clerk's program (the real velmora-entry, as penzugy) enters,
// modifies, cancels and searches with it, each relation the property page
// offers for each kind; the database is read back after every step.
#include "EntryTest.h"
#include "designs/FormText.h"
#include "load/ChildProgram.h"

#include <map>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

// A designer at a live headless velmora, through the palette, clicks on
// the pages and the property page's boxes, radio items and check boxes.
class FormDesigner {
public:
    explicit FormDesigner(ChildProgram& program) : g_(program)
    {
        g_.answer(Gestures::login("demo", "demo"), "focus");
        pages_ = g_.cornerOf("frmClientMain.pcData");
        sheet_ = g_.cornerOf("frmClientMain.tsEdit");
        save_ = g_.middleOf("frmComonentPalette.btnSave");
    }

    enum class Tool { Edit, Picker, CheckBox };
    // Places a field with a tool on a page, `at` from the sheet's corner,
    // and gives its name; an edit or a picker comes with its caption label.
    std::string place(Tool tool, bool searchPage, Point at)
    {
        const char* button = tool == Tool::Edit     ? "SpeedButton2"
                             : tool == Tool::Picker ? "SpeedButton3"
                                                    : "SpeedButton4";
        std::string focused =
            g_.answer(page(searchPage) + Gestures::click(g_.middleOf(std::string("frmComonentPalette.") + button)) +
                          Gestures::click({sheet_.x + at.x, sheet_.y + at.y}),
                      "focus");
        if (tool != Tool::CheckBox) lastLabel_ = "TZEDText" + std::to_string(++labels_);
        return focused.substr(focused.find('.') + 1);
    }
    std::string page(bool searchPage) const
    {
        return Gestures::click({pages_.x + (searchPage ? 70 : 20), pages_.y + 10});
    }
    // The label placed with the last edit or picker.
    const std::string& lastLabel() const { return lastLabel_; }

    // Selects a control of the shown page.
    void select(const std::string& control) { send(Gestures::click(g_.middleOf("frmClientMain." + control))); }
    // Types `text` over what a box of the property page holds and leaves it.
    void retype(const char* box, const std::string& text)
    {
        send(Gestures::click(g_.middleOf(std::string("frmPropertyPage.") + box)) + Gestures::retype(text) +
             "key tab\n");
    }
    void caption(const std::string& label, const std::string& text)
    {
        select(label);
        retype("edtCaption", text);
    }
    // Clicks an item of the type choice: 0 Szám, 1 Szöveg.
    void type(int item)
    {
        Point corner = g_.cornerOf("frmPropertyPage.rgFieldType");
        Point middle = g_.middleOf("frmPropertyPage.rgFieldType");
        int height = 2 * (middle.y - corner.y), top = 15, row = (height - top - 4) / 4;
        send(Gestures::click({corner.x + 20, corner.y + top + row * item + row / 2}));
    }
    void tick(const char* box) { send(Gestures::click(g_.middleOf(std::string("frmPropertyPage.") + box))); }
    // Chooses an item of a drop-down list of the property page by going
    // through the list with the arrow keys, as a person looking for it.
    void choose(const char* combo, const std::string& item)
    {
        std::string path = std::string("frmPropertyPage.") + combo;
        std::string top = Gestures::click(g_.middleOf(path)) + "key esc\nkey down\n";
        for (int i = 0; i < 30; ++i) top += "key up\n";
        std::string shown = g_.answer(top, "get " + path + ".Text");
        for (int i = 0; i < 30 && shown != velmora::stringLiteral(item); ++i)
            shown = g_.answer("key down\n", "get " + path + ".Text");
        ASSERT_EQ(shown, velmora::stringLiteral(item)) << g_.program().transcript();
    }
    // Saves the window for the group whose name starts so.
    void save(const std::string& group) { send(Gestures::click(save_) + "type " + group + "\nkey enter\n"); }
    std::string get(const std::string& path) { return g_.answer("", "get " + path); }

private:
    void send(const std::string& gestures)
    {
        Answers a = g_.ask(gestures, {"focus"});
        EXPECT_TRUE(a.errors.empty()) << a.errors.front();
    }
    Gestures g_;
    Point pages_, sheet_, save_;
    int labels_ = 0;
    std::string lastLabel_;
};

class DesignedForms : public EntryTest {
protected:
    DesignedForms()
    {
        std::filesystem::copy_file(VELMORA_EXECUTABLE, folder.file("velmora"));
        std::filesystem::permissions(folder.file("velmora"), std::filesystem::perms::owner_all);
    }
    // The clerk of Pénzügy: runs the script, gives what was printed.
    std::string clerk(const std::string& script) { return play(script, "penzugy"); }
    std::string press(const std::string& control)
    {
        if (!clerkSpots.count(control)) {
            auto l = lines(clerk("where frmClientMain." + control + "\n"));
            clerkSpots[control] = l.empty() ? Rect() : rect(l[0]);
        }
        Rect r = clerkSpots[control];
        return "click " + std::to_string(r.cx()) + " " + std::to_string(r.cy()) + "\n";
    }
    // The documents the form made, each as its fields.
    std::vector<std::string> made()
    {
        return rows(
            "Select DocumentID, Sorszam, Megjegyzes, Targy, (Select DictionaryItemText from DictionaryItem where "
            "DictionaryItemID = Ugytipus), (Select DictionaryItemText from DictionaryItem where DictionaryItemID = "
            "Helyszin), Hatarido, CASE WHEN Surgos IS NULL THEN 'null' WHEN Surgos = (Select Lezart from Document "
            "where DocumentID = 1) THEN 'igen' ELSE 'nem' END from Document where DocumentID > 3 order by DocumentID");
    }
    std::vector<std::string> history()
    {
        return rows("Select DocumentID, Action from DocumentHistory order by HistoryID");
    }
    // Searches with `typing` in one field of the search page; the found
    // DocumentIDs, newest first, or the error printed.
    std::vector<std::string> found(const std::string& field, const std::string& typing)
    {
        Rect pages = clerkSpots.count("pcData") ? clerkSpots["pcData"] : (press("pcData"), clerkSpots["pcData"]);
        std::string out = clerk("click " + std::to_string(pages.left + 70) + " " + std::to_string(pages.top + 10) +
                                "\n" + press(field) + typing + press("btnSearch") + "rows frmClientMain.dbgSearch\n");
        return foundIds(out);
    }
    std::map<std::string, Rect> clerkSpots;
};

}  // namespace

TEST_F(DesignedForms, EveryFieldTheDesignerMakesEntersModifiesCancelsAndFinds)
{
    ChildProgram designer(folder.file("velmora"));
    FormDesigner d(designer);
    using Tool = FormDesigner::Tool;

    // The entry page, field by field in tab order.
    // A number, new name, required, not to be modified.
    std::string number = d.place(Tool::Edit, false, {120, 12});
    d.retype("cbxFieldName", "Sorszam");
    d.type(0);
    d.tick("chxRequired");
    d.caption(d.lastLabel(), "Sorszám:");
    // A text, new name, neither required nor to be modified: its label
    // stays "Mezőnév:", so messages name it by its field.
    std::string text = d.place(Tool::Edit, false, {120, 40});
    d.retype("cbxFieldName", "Megjegyzes");
    d.type(1);
    d.tick("chxCanModify");
    // A registered name, Targy, chosen from the list of text columns.
    std::string registered = d.place(Tool::Edit, false, {120, 68});
    d.type(1);
    d.choose("cbxFieldName", "Targy");
    d.tick("chxRequired");
    d.tick("chxCanModify");
    d.caption(d.lastLabel(), "Tárgy:");
    // A registered dictionary: Ugytipus from the list of number columns
    // brings its dictionary; its type stays a number.
    std::string kind = d.place(Tool::Edit, false, {120, 96});
    d.choose("cbxFieldName", "Ugytipus");
    EXPECT_EQ(d.get("frmPropertyPage.cbxDictionary.Text"), velmora::stringLiteral("Ügytípus"));
    d.tick("chxCanModify");
    d.caption(d.lastLabel(), "Ügytípus:");
    // A new dictionary on a new text field.
    std::string place = d.place(Tool::Edit, false, {120, 124});
    d.retype("cbxFieldName", "Helyszin");
    d.type(1);
    d.retype("cbxDictionary", "Helyszín");
    d.tick("chxCanModify");
    d.caption(d.lastLabel(), "Helyszín:");
    // A required date.
    std::string due = d.place(Tool::Picker, false, {120, 152});
    d.retype("cbxFieldName", "Hatarido");
    d.tick("chxRequired");
    d.tick("chxCanModify");
    d.caption(d.lastLabel(), "Határidő:");
    // A yes/no box, not to be modified.
    std::string urgent = d.place(Tool::CheckBox, false, {120, 180});
    d.retype("cbxFieldName", "Surgos");
    d.retype("edtCaption", "Sürgős");
    d.save("Pénz");
    EXPECT_EQ(d.get("frmClientMain." + kind + ".FieldType"), "0");

    // The columns, dictionaries and field names the save added.
    std::optional<std::string> design = storedDesign(udl(), 2);
    ASSERT_TRUE(design);
    EXPECT_THAT(rows("Select FieldName, DictionaryGroupName from Fields, DictionaryGroup where "
                     "Fields.DictionaryGroupID = DictionaryGroup.DictionaryGroupID order by FieldName"),
                ElementsAre("Helyszin|Helyszín", "Ugytipus|Ügytípus"));
    EXPECT_THAT(made(), testing::IsEmpty());

    // Enter: a required number left empty is refused by its caption; a
    // required date unchecked too; then everything is stored, Budapest
    // added to the new dictionary when the clerk says so.
    std::string fill = press("btnNew") +
                       "key tab\ntype első\nkey tab\ntype Panaszlevél\nkey tab\ntype Pa\nkey tab\n"
                       "type Budapest\nkey tab\nkey enter\n";
    std::string out = clerk(fill + press("btnSave") + "key enter\n" + press(number) + "type 5\n" + press("btnSave") +
                            "key enter\n" + press(due) + "key space\nkey tab\nkey space\n" + press("btnSave") +
                            "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("error: Kötelező mező: Sorszám\n"));
    EXPECT_THAT(out, HasSubstr("error: Kötelező mező: Határidő\n"));
    EXPECT_THAT(out, HasSubstr("'Dokumentum: 4'"));
    EXPECT_THAT(made(), ElementsAre("4|5|első|Panaszlevél|Panasz|Budapest|2026-12-06 00:00:00|igen"));

    // A second one: blanks in a field that is not required store nothing;
    // an entry taken by its text; the box left empty.
    clerk(press("btnNew") +
          "type 7\nkey tab\ntype    \nkey tab\ntype Árajánlat kérés\nkey tab\ntype megr\nkey tab\n"
          "type budapest\nkey tab\nkey space\n" +
          press("btnSave"));
    EXPECT_THAT(made(), ElementsAre("4|5|első|Panaszlevél|Panasz|Budapest|2026-12-06 00:00:00|igen",
                                    "5|7|null|Árajánlat kérés|Megrendelés|Budapest|2026-12-06 00:00:00|nem"));

    // A field whose label still reads "Mezőnév:" is named by its field.
    out = clerk(press("btnNew") + "type 9\nkey tab\ntype " + std::string(51, 'x') + "\n" + press("btnSave") +
                "key enter\n");
    EXPECT_THAT(out, HasSubstr("error: Túl hosszú szöveg (legfeljebb 50 karakter): Megjegyzes\n"));
    EXPECT_EQ(made().size(), 2u);

    // Modify the second: only the fields open for change are enabled; each
    // of them changed is stored, the rest of the row stays.
    auto showSecond = [&] {
        Rect pages = (press("pcData"), clerkSpots["pcData"]);
        Rect grid = (press("dbgSearch"), clerkSpots["dbgSearch"]);
        return "click " + std::to_string(pages.left + 70) + " " + std::to_string(pages.top + 10) + "\n" +
               press("btnSearch") + "dblclick " + std::to_string(grid.left + 40) + " " + std::to_string(grid.top + 28) +
               "\n";
    };
    out = clerk(showSecond() + press("btnModify") + "get frmClientMain." + number + ".Enabled\nget frmClientMain." +
                urgent + ".Enabled\nfocus\ntype javítva\nkey tab\n" + Gestures::retype("Árajánlat") + "key tab\n" +
                Gestures::retype("Rekl") + "key tab\n" + Gestures::retype("Szeged") + "key tab\nkey enter\nkey down\n" +
                press("btnSave") + "get frmClientMain.StatusBar1.SimpleText\n");
    EXPECT_THAT(out, HasSubstr("False\nFalse\nfrmClientMain_1." + text + "\n"));
    EXPECT_THAT(out, Not(HasSubstr("error:"))) << out;
    EXPECT_THAT(made(), ElementsAre("4|5|első|Panaszlevél|Panasz|Budapest|2026-12-06 00:00:00|igen",
                                    "5|7|javítva|Árajánlat|Reklamáció|Szeged|2026-12-05 00:00:00|nem"));
    EXPECT_THAT(history(), ElementsAre("4|felvitel", "5|felvitel", "5|módosítás"));

    // Cancel a modification: nothing is written, the stored values come back.
    out =
        clerk(showSecond() + press("btnModify") + "type  még\nkey tab\n" + Gestures::retype("X") + press("btnCancel") +
              "get frmClientMain." + text + ".Text\nget frmClientMain." + registered + ".Text\n");
    EXPECT_THAT(out, HasSubstr("'jav'#237'tva'\n#193'raj'#225'nlat'\n"));
    EXPECT_THAT(made().at(1), "5|7|javítva|Árajánlat|Reklamáció|Szeged|2026-12-05 00:00:00|nem");
    EXPECT_EQ(history().size(), 3u);

    // The search page, one field of each kind, each saved again with every
    // relation the property page offers it.
    designer.send(d.page(true));
    struct Searched {
        Tool tool;
        const char* column;
        std::string control;
    };
    Searched searched[] = {{Tool::Edit, "Sorszam", ""},    {Tool::Edit, "Megjegyzes", ""},
                           {Tool::Picker, "Hatarido", ""}, {Tool::CheckBox, "Surgos", ""},
                           {Tool::Edit, "Ugytipus", ""},   {Tool::Edit, "Helyszin", ""}};
    int y = 8;
    for (Searched& s : searched) {
        s.control = d.place(s.tool, true, {s.tool == Tool::CheckBox ? 300 : 100, y});
        if (s.tool != Tool::CheckBox) y += 28;
    }
    // What each relation finds: document 4 (5, "első", a date of the 6th,
    // ticked, Panasz, Budapest), 5 (7, "javítva", the 5th, not ticked,
    // Reklamáció, Szeged) and the three demonstration documents without
    // these fields (but 1 Árajánlat and 2 Reklamáció).
    struct Case {
        size_t field;
        const char* relation;
        std::string typing;
        std::vector<std::string> ids;
    };
    const std::string today = "key space\n", dayBefore = "key space\nkey down\n";
    const Case cases[] = {
        {0, "Egyenlő", "type 5\n", {"4"}},
        {0, "NemEgyenlő", "type 5\n", {"5", "3", "2", "1"}},
        {0, "Kisebb", "type 7\n", {"4"}},
        {0, "Nagyobb", "type 5\n", {"5"}},
        {0, "KisebbEgyenlő", "type 7\n", {"5", "4"}},
        {0, "NagyobbEgyenlő", "type 6\n", {"5"}},
        {1, "Egyenlő", "type JAVÍTVA\n", {"5"}},
        {1, "NemEgyenlő", "type javítva\n", {"4", "3", "2", "1"}},
        {1, "Hasonló", "type ELS\n", {"4"}},
        {1, "NemHasonló", "type ELS\n", {"5", "3", "2", "1"}},
        {2, "Egyenlő", today, {"4"}},
        {2, "NemEgyenlő", today, {"5", "3", "2", "1"}},
        {2, "Kisebb", today, {"5"}},
        {2, "Nagyobb", dayBefore, {"4"}},
        {2, "KisebbEgyenlő", dayBefore, {"5"}},
        {2, "NagyobbEgyenlő", dayBefore, {"5", "4"}},
        {3, "Üres", "", {"5", "3", "2", "1"}},  // the click ticks the box
        {3, "NemÜres", "", {"4"}},
        {4, "Egyenlő", "type reklamáció\n", {"5", "2"}},
        {4, "NemEgyenlő", "type Panasz\n", {"5", "3", "2", "1"}},
        {4, "Hasonló", "type aján\n", {"1"}},
        {4, "NemHasonló", "type a\n", {"3"}},
        {5, "Egyenlő", "type SZEGED\n", {"5"}},
        {5, "NemEgyenlő", "type szeged\n", {"4", "3", "2", "1"}},
        {5, "Hasonló", "type buda\n", {"4"}},
        {5, "NemHasonló", "type e\n", {"3", "2", "1"}},
    };
    for (const Case& c : cases) {
        // The page offers a field's relations when its name is chosen (shown
        // again later, a field keeps the number type it was placed with).
        d.select(searched[c.field].control);
        d.choose("cbxFieldName", searched[c.field].column);
        d.choose("cbxRelation", c.relation);
        d.save("Pénz");
        EXPECT_EQ(found(searched[c.field].control, c.typing), c.ids) << searched[c.field].column << " " << c.relation;
    }
    // The save made indexes for the search page's columns but the text one.
    auto indexes = rows(onPostgres() ? "Select indexname from pg_indexes where schemaname = current_schema() and "
                                       "indexname like 'VelmoraSearch%' order by indexname"
                                     : "Select name from sqlite_master where type = 'index' and name like "
                                       "'VelmoraSearch%' order by name");
    for (const char* column : {"Hatarido", "Helyszin", "Sorszam", "Surgos"})
        EXPECT_THAT(indexes, testing::Contains(std::string("VelmoraSearch_") + column));
    EXPECT_THAT(indexes, Not(testing::Contains("VelmoraSearch_Megjegyzes")));
    designer.send("close\n");
    EXPECT_EQ(designer.finish(), 0);
}
