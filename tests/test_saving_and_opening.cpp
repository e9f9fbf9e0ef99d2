// Saving and opening form designs as a user does it: controls placed and
// named through the input API, the palette's save or open button clicked,
// a group typed into the lookup list and confirmed; then the database read
// as the next session reads it, through a connection of its own.
#include "DesignSession.h"
#include "Fixture.h"
#include "controls/ZEDText.h"
#include "db/Command.h"
#include "db/Query.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "lookup/SearchList.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "startup/DesignClasses.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/PageControl.h"

#include <gmock/gmock.h>

using namespace tk;
using testing::HasSubstr;
using testing::Not;
using velmora::dmClientMain;
using velmora::frmClientMain;

namespace {

class Storage : public DesignSession {
protected:
    Storage()
    {
        window->setBounds(300, 200, 544, 375);
        reader.setConnectionString(udl());
        reader.open();
    }

    // A field control placed with the palette's tool, with its properties.
    TControl* place(int tool, int x, int y, std::vector<std::pair<const char*, std::string>> props = {})
    {
        TControl* c = DesignSession::place(tool, x, y);
        for (auto& [name, value] : props) setPropText(*c, name, value);
        return c;
    }
    // Clicks the palette's button; `typed` goes into the lookup list, then
    // Enter (an empty `typed` presses Esc).
    void click(const char* button, const std::string& typed)
    {
        platform.script([this, typed] {
            if (typed.empty()) {
                app.pressKey(vk::Escape);
                return;
            }
            app.typeText(typed);
            app.pressKey(vk::Return);
        });
        app.click(as<TControl>(velmora::frmComonentPalette->findComponent(button)), {5, 5});
    }
    std::string formData(int group) { return storedDesign(udlFile(), group).value_or("(null)"); }
    // Each Document column with its kind, as a fresh query sees them.
    std::map<std::string, db::FieldKind> columns()
    {
        db::TADOConnection fresh(nullptr);
        fresh.setConnectionString(udl());
        fresh.open();
        db::TADOQuery q(nullptr);
        q.setConnection(&fresh);
        q.setSqlText("Select* from Document where DocumentID is null");
        q.open();
        std::map<std::string, db::FieldKind> out;
        for (int i = 0; i < q.fieldCount(); ++i) out[q.field(i)->fieldName()] = q.field(i)->kind();
        return out;
    }
    std::vector<std::string> rows(const std::string& sql) { return readRows(reader, sql); }
    void exec(const std::string& sql)
    {
        db::TADOCommand c(nullptr);
        c.setConnection(&reader);
        c.setCommandText(sql);
        c.execute();
    }
    // Moves whenever the database changes, as another program sees it: the
    // data version on SQLite; on PostgreSQL every row version of the five
    // tables, and the Document columns.
    std::string dataVersion()
    {
        if (!onPostgres()) return rows("PRAGMA data_version").at(0);
        std::string all;
        for (const char* table : {"UserGroup", "UserTable", "Document", "DictionaryGroup", "Fields"})
            for (const std::string& row : rows(std::string("Select CAST(xmin AS text) from ") + table))
                all += row + ",";
        return all + std::to_string(columns().size());
    }
    std::string udlFile() const { return folder.file("VelmoraDSC.udl"); }

    db::TADOConnection reader{nullptr};
};

}  // namespace

TEST_F(Storage, SavingStoresTheUnwiredWindowAndAddsAColumnOfEachType)
{
    place(0, 120, 20, {{"KeyField", "Ugyszam1"}, {"FieldType", "0"}});
    place(0, 120, 50, {{"KeyField", "Megjegyzes"}, {"FieldType", "1"}});
    place(0, 120, 80, {{"KeyField", "Tipus"}, {"FieldType", "1"}, {"Dictionary", "Ügytípus"}});
    place(2, 120, 110, {{"KeyField", "Hatarido"}});
    place(3, 120, 140, {{"KeyField", "Surgos"}});
    click("btnSave", "Ikt");

    std::string stored = formData(1);
    EXPECT_EQ(stored.rfind("object frmClientMain: TfrmClientMain\r\n", 0), 0u);
    EXPECT_THAT(stored, HasSubstr("  Position = poScreenCenter\r\n"));
    EXPECT_THAT(stored, HasSubstr("  OnShow = FormShow\r\n"));
    EXPECT_THAT(stored, HasSubstr("KeyField = 'Ugyszam1'"));
    EXPECT_THAT(stored, Not(HasSubstr("Component")));
    EXPECT_THAT(stored, Not(HasSubstr("CompPopup")));
    EXPECT_THAT(stored, Not(HasSubstr("Tag = ")));
    EXPECT_THAT(stored, Not(HasSubstr("tsMouseUp")));
    EXPECT_EQ(formData(2), "(null)");

    auto cols = columns();
    EXPECT_EQ(cols["Ugyszam1"], db::FieldKind::Integer);
    EXPECT_EQ(cols["Megjegyzes"], db::FieldKind::String);
    EXPECT_EQ(cols["Tipus"], db::FieldKind::Integer);
    EXPECT_EQ(cols["Hatarido"], db::FieldKind::DateTime);
    EXPECT_EQ(cols["Surgos"], db::FieldKind::Bytes);
    // The dictionary existed in this spelling; the field is linked to it.
    EXPECT_EQ(rows("Select FieldName, DictionaryGroupID from Fields"), std::vector<std::string>{"Tipus|1"});
    EXPECT_EQ(rows("Select count(*) from DictionaryGroup"), std::vector<std::string>{"2"});
    // The new text column is folded for searches, every document's.
    EXPECT_EQ(rows("Select count(Megjegyzes) from DocumentSearchText"), std::vector<std::string>{"0"});
    EXPECT_EQ(rows("Select count(*) from DocumentSearchText"), rows("Select count(*) from Document"));

    // The window is wired again, where it was, and the group unchanged.
    EXPECT_EQ(window->left(), 300);
    EXPECT_EQ(window->top(), 200);
    EXPECT_EQ(getPropText(*window->findComponent("TZEDit1"), "OnMouseDown"), "ComponentMouseDown");
    EXPECT_EQ(getPropText(*window->findComponent("TZEDit1"), "Tag"), "0");
    EXPECT_TRUE(window->CompPopup);
    EXPECT_EQ(dmClientMain->UserGroupID(), 1);
    EXPECT_TRUE(app.errorMessages().empty());
}

TEST_F(Storage, ACancelledSaveStillAddsColumnsAndASecondSaveSendsNothing)
{
    place(0, 120, 20, {{"KeyField", "Ugyszam1"}, {"FieldType", "0"}, {"Dictionary", "üGYTÍPUS"}});
    click("btnSave", "");
    EXPECT_EQ(formData(1), "(null)");
    EXPECT_EQ(columns().count("Ugyszam1"), 1u);
    // The dictionary exists in other letter case: its id is taken.
    EXPECT_EQ(rows("Select FieldName, DictionaryGroupID from Fields"), std::vector<std::string>{"Ugyszam1|1"});
    // The placed control is still new: the cancel unhooked nothing.
    EXPECT_EQ(getPropText(*window->findComponent("TZEDit1"), "Tag"), "1");

    std::string before = dataVersion();
    click("btnSave", "");
    EXPECT_EQ(dataVersion(), before);
    EXPECT_TRUE(app.errorMessages().empty());
}

TEST_F(Storage, ExistingColumnsDictionariesAndFieldNamesInAnyCaseAreNotAddedAgain)
{
    exec("INSERT INTO Fields (FieldName, DictionaryGroupID) VALUES ('TARGY', 2)");
    // Targy exists as a column; its field row links Osztály, and stays so.
    place(0, 120, 20, {{"KeyField", "targy"}, {"FieldType", "1"}, {"Dictionary", "Ügytípus"}});
    int before = static_cast<int>(columns().size());
    click("btnSave", "");
    EXPECT_EQ(static_cast<int>(columns().size()), before);
    EXPECT_EQ(rows("Select FieldName, DictionaryGroupID from Fields"), std::vector<std::string>{"TARGY|2"});
    EXPECT_EQ(rows("Select count(*) from DictionaryGroup"), std::vector<std::string>{"2"});
}

TEST_F(Storage, HostileNamesChangeNothingButWhatTheirOwnRulesAllow)
{
    std::string field = "a] int; DELETE FROM UserTable; --";
    std::string dictionary = "x'); DELETE FROM UserTable; --";
    place(0, 120, 20, {{"KeyField", field}, {"FieldType", "0"}, {"Dictionary", dictionary}});
    auto users = rows("Select * from UserTable");
    int before = static_cast<int>(columns().size());
    click("btnSave", "Ikt");
    EXPECT_EQ(rows("Select * from UserTable"), users);
    EXPECT_EQ(static_cast<int>(columns().size()), before);
    // The names are registered as they stand: bound, not spliced.
    EXPECT_EQ(rows("Select DictionaryGroupName from DictionaryGroup where DictionaryGroupID = 3"),
              std::vector<std::string>{dictionary});
    EXPECT_EQ(rows("Select FieldName, DictionaryGroupID from Fields"), std::vector<std::string>{field + "|3"});
    EXPECT_THAT(formData(1), HasSubstr("KeyField = 'a] int; DELETE FROM UserTable; --'"));
    EXPECT_TRUE(app.errorMessages().empty());
}

TEST_F(Storage, AFailedStoreKeepsThePreviousDesignAndTheWindowWiredInPlace)
{
    place(0, 120, 20, {{"KeyField", "Elso"}, {"FieldType", "0"}});
    click("btnSave", "Ikt");
    std::string first = formData(1);
    ASSERT_THAT(first, HasSubstr("Elso"));

    place(0, 120, 60, {{"KeyField", "Masodik"}, {"FieldType", "0"}});
    nativeScript(udlFile(),
                 "CREATE TRIGGER no_designs BEFORE UPDATE ON UserGroup BEGIN SELECT RAISE(ABORT, 'a disk full'); END",
                 "CREATE FUNCTION no_designs() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'a disk full'; END $$"
                 " LANGUAGE plpgsql; CREATE TRIGGER no_designs BEFORE UPDATE ON \"UserGroup\""
                 " FOR EACH ROW EXECUTE FUNCTION no_designs()");
    click("btnSave", "Ikt");
    ASSERT_FALSE(app.errorMessages().empty());
    EXPECT_THAT(app.errorMessages().back(), HasSubstr("a disk full"));
    EXPECT_EQ(formData(1), first);
    EXPECT_EQ(window->left(), 300);
    EXPECT_EQ(window->top(), 200);
    EXPECT_TRUE(window->CompPopup);
    EXPECT_EQ(getPropText(*window->findComponent("TZEDit2"), "OnMouseDown"), "ComponentMouseDown");
    EXPECT_EQ(getPropText(*entry, "OnMouseUp"), "tsMouseUp");
}

TEST_F(Storage, TheLookupListStartsEmptySoEnterAloneConfirmsNoGroup)
{
    click("btnSave", "Pén");
    ASSERT_NE(formData(2), "(null)");
    place(0, 120, 20, {{"KeyField", "Uj"}, {"FieldType", "0"}});
    // The list shows the groups again; Enter at once cancels.
    platform.script([&] {
        EXPECT_EQ(velmora::frmSearchList->edtSearch->text(), "");
        app.pressKey(vk::Return);
    });
    app.click(velmora::frmComonentPalette->btnSave.get(), {5, 5});
    EXPECT_THAT(formData(2), Not(HasSubstr("Uj")));
    EXPECT_EQ(formData(1), "(null)");
}

TEST_F(Storage, OpeningLoadsTheChosenGroupsDesignAndMakesItCurrent)
{
    place(0, 120, 20, {{"KeyField", "Elso"}, {"FieldType", "0"}});
    click("btnSave", "Pén");
    std::string saved = formData(2);
    place(0, 120, 60);  // unsaved: dropped by the open
    velmora::frmComonentPalette->setTool(3);
    window->setBounds(310, 220, 544, 375);

    click("btnOpen", "Pén");
    EXPECT_TRUE(app.errorMessages().empty()) << app.errorMessages().front();
    EXPECT_EQ(dmClientMain->UserGroupID(), 2);
    EXPECT_TRUE(window->findComponent("TZEDit1"));
    EXPECT_FALSE(window->findComponent("TZEDit2"));
    EXPECT_EQ(window->left(), 310);
    EXPECT_EQ(window->top(), 220);
    EXPECT_EQ(velmora::frmComonentPalette->tool(), 3);
    EXPECT_EQ(getPropText(*window->findComponent("TZEDit1"), "OnMouseDown"), "ComponentMouseDown");
    EXPECT_EQ(velmora::frmPropertyPage->SelectedControl(), window->activeControl());
    // Saving it again from where it was stores the same text, under the
    // window's new name.
    window->setBounds(300, 200, 544, 375);
    click("btnSave", "Pén");
    std::string again = formData(2);
    EXPECT_EQ(again, std::string(saved).replace(saved.find("frmClientMain"), 13, window->name()));
}

TEST_F(Storage, AStoredDesignThatCannotBeReadLeavesTheShownOneWired)
{
    place(0, 120, 20, {{"KeyField", "Elso"}, {"FieldType", "0"}});
    storeFormData(udlFile(), 2, "object A: TfrmClientMain\r\n  object X: TZEDFoo\r\n  end\r\nend\r\n");
    storeFormData(udlFile(), 1,
                  "object B: TfrmClientMain\r\n  object pcData: TPageControl\r\n    object tsEdit: TTabSheet\r\n"
                  "      Bad = 1\r\n    end\r\n  end\r\nend\r\n");
    for (const char* group : {"Pén", "Ikt"}) {
        click("btnOpen", group);
        ASSERT_FALSE(app.errorMessages().empty()) << group;
        EXPECT_TRUE(window->findComponent("TZEDit1")) << group;
        EXPECT_EQ(getPropText(*window->findComponent("TZEDit1"), "KeyField"), "Elso");
        EXPECT_EQ(getPropText(*window->findComponent("TZEDit1"), "OnMouseDown"), "ComponentMouseDown");
        EXPECT_TRUE(window->CompPopup);
    }
    EXPECT_EQ(app.errorMessages().front(), "Class TZEDFoo not found");
    EXPECT_EQ(app.errorMessages().back(), "Error reading tsEdit.Bad: Property Bad does not exist");
}

TEST_F(Storage, OpeningAnEmptyStoredTextKeepsTheWindowWired)
{
    storeFormData(udlFile(), 2, "");
    place(0, 120, 20);
    click("btnOpen", "Pén");
    EXPECT_EQ(dmClientMain->UserGroupID(), 2);
    EXPECT_TRUE(window->findComponent("TZEDit1"));
    EXPECT_EQ(getPropText(*entry, "OnMouseUp"), "tsMouseUp");
    EXPECT_TRUE(window->CompPopup);
}

TEST_F(Storage, UndoingAnOpenBringsBackTheGroupAndItsDesignAndRedoingOpensAgain)
{
    place(0, 120, 20, {{"KeyField", "Elso"}, {"FieldType", "0"}});
    click("btnSave", "Pén");
    place(0, 120, 60);  // the group's own design now differs from the stored one
    dmClientMain->setUserGroupID(1);
    window->activate();
    std::string shown = velmora::designText(*window);

    click("btnOpen", "Pén");
    ASSERT_EQ(dmClientMain->UserGroupID(), 2);
    ASSERT_FALSE(window->findComponent("TZEDit2"));
    std::string opened = velmora::designText(*window);
    std::string openedName = window->name();
    EXPECT_NE(openedName, "frmClientMain");

    window->activate();
    app.pressKey('Z', ssCtrl);
    EXPECT_EQ(dmClientMain->UserGroupID(), 1);
    EXPECT_EQ(window->name(), "frmClientMain");
    EXPECT_EQ(velmora::designText(*window), shown);
    EXPECT_TRUE(window->findComponent("TZEDit2"));
    app.pressKey('Y', ssCtrl);
    EXPECT_EQ(dmClientMain->UserGroupID(), 2);
    EXPECT_EQ(window->name(), openedName);
    EXPECT_EQ(velmora::designText(*window), opened);
    // Undo changed only the window: the stored design is as saved.
    EXPECT_THAT(formData(2), HasSubstr("Elso"));
    EXPECT_THAT(formData(2), Not(HasSubstr("TZEDit2")));
}
