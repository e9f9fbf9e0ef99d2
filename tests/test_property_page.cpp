// The property page as a user meets it: controls placed on the design
// surface through the input API, then clicked, typed into and chosen from
// in the page's editors, and read back from the controls by property name.
#include "DesignSession.h"
#include "Fixture.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "db/Command.h"
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
using testing::ElementsAre;
using testing::HasSubstr;
using velmora::frmPropertyPage;

namespace {

class PropertyPage : public DesignSession {
protected:
    PropertyPage()
    {
        page->setBounds(10, 10, 176, 372);
        page->show();
        window->activate();
    }
    // The test's own change of the database, beside the session. Where
    // users are roles of the server it is made as the tables' owner: the
    // designer's role may not delete field names.
    void exec(const std::string& sql)
    {
        if (rolesRun()) {
            db::TADOConnection owner(nullptr);
            openDataLink(owner, folder.file("VelmoraDSC.udl"));
            runScript(owner, sql);
            return;
        }
        velmora::dmClientMain->cmdAlterTable->setCommandText(sql);
        velmora::dmClientMain->cmdAlterTable->executeScript();
    }
    TControl* place(int tool, TTabSheet* sheet, int x, int y) { return DesignSession::place(tool, x, y, sheet); }
    // Types into the field-name box as the user does: a click, then keys.
    void typeFieldName(const std::string& text)
    {
        app.click(page->cbxFieldName, {5, 5});
        app.typeText(text);
    }
    std::string prop(TComponent* c, const char* name) { return getPropText(*c, name); }
};

}  // namespace

TEST_F(PropertyPage, ANewEntryEditShowsItsLabelNumberColumnsAndEnabledEditors)
{
    auto* edit = place(0, entry, 120, 40);
    ASSERT_TRUE(as<velmora::TZEDit>(edit));
    EXPECT_EQ(page->SelectedControl(), edit);
    EXPECT_EQ(page->CaptionControl(), window->findComponent("TZEDText1"));
    EXPECT_EQ(page->edtCaption->text(), "Mezőnév:");
    EXPECT_TRUE(page->pnFieldMod->visible());
    EXPECT_FALSE(page->pnRelation->visible());
    EXPECT_EQ(page->rgFieldType->itemIndex(), 0);
    EXPECT_THAT(page->cbxFieldName->items(), ElementsAre("Iktatoszam"));
    EXPECT_FALSE(page->cbxFieldName->isList());
    EXPECT_TRUE(page->cbxFieldName->enabled());
    EXPECT_TRUE(page->rgFieldType->itemEnabled(1));
    EXPECT_FALSE(page->rgFieldType->itemEnabled(2));
    EXPECT_TRUE(page->cbxDictionary->enabled());
    EXPECT_THAT(page->cbxDictionary->items(), ElementsAre("Ügytípus", "Osztály"));
    EXPECT_TRUE(page->chxRequired->enabled());
    EXPECT_TRUE(page->seTabOrder->enabled());
}

TEST_F(PropertyPage, TypingAFieldNameWritesKeyFieldPerKeyAndAGoodNameLeavesQuietly)
{
    auto* edit = place(0, entry, 120, 40);
    typeFieldName("U");
    EXPECT_EQ(prop(edit, "KeyField"), "U");
    app.typeText("g");
    EXPECT_EQ(prop(edit, "KeyField"), "Ug");
    app.typeText("yszam1");
    app.pressKey(vk::Tab);
    EXPECT_EQ(prop(edit, "KeyField"), "Ugyszam1");
    EXPECT_FALSE(page->ErrorHint->visible());
    EXPECT_NE(app.focusedControl(), page->cbxFieldName);
    EXPECT_THAT(velmora::designText(*window), HasSubstr("KeyField = 'Ugyszam1'"));
}

TEST_F(PropertyPage, ABadNameShowsTheHintBelowTheBoxKeepsTheFocusAndTheTimerHidesIt)
{
    auto* first = place(0, entry, 120, 100);
    auto* firstLabel = as<TControl>(window->findComponent("TZEDText1"));
    auto* edit = place(0, entry, 120, 40);
    typeFieldName("1abc");
    app.pressKey(vk::Tab);
    // The rejected name stays in KeyField; only the hint reports it.
    EXPECT_EQ(prop(edit, "KeyField"), "1abc");
    ASSERT_TRUE(page->ErrorHint->visible());
    EXPECT_THAT(page->ErrorHint->lines(), ElementsAre("Az azonosító érvénytelen"));
    TPoint corner = page->cbxFieldName->clientToScreen({0, page->cbxFieldName->height()});
    EXPECT_EQ(page->ErrorHint->left(), corner.x);
    EXPECT_EQ(page->ErrorHint->top(), corner.y);
    EXPECT_LE(page->ErrorHint->width(), page->cbxFieldName->width());
    EXPECT_EQ(app.focusedControl(), page->cbxFieldName);
    // A click on another field's caption label leaves the page on the bad
    // name while the hint shows.
    app.click(firstLabel, {2, 2});
    EXPECT_EQ(page->SelectedControl(), edit);
    EXPECT_EQ(page->cbxFieldName->text(), "1abc");
    platform.advance(2999);
    EXPECT_TRUE(page->ErrorHint->visible());
    platform.advance(1);
    EXPECT_FALSE(page->ErrorHint->visible());
    EXPECT_FALSE(page->HintTime->enabled());
    // With the bad name taken back, the same click selects.
    for (int i = 0; i < 4; ++i) app.pressKey(vk::Back);
    app.click(firstLabel, {2, 2});
    EXPECT_EQ(page->SelectedControl(), first);
    EXPECT_EQ(page->CaptionControl(), firstLabel);
}

TEST_F(PropertyPage, AKeyPressHidesTheHintAndEmptyingTheBoxLetsTheUserLeave)
{
    place(0, entry, 120, 40);
    typeFieldName("a b");
    app.pressKey(vk::Tab);
    ASSERT_TRUE(page->ErrorHint->visible());
    app.pressKey(vk::Back);
    EXPECT_FALSE(page->ErrorHint->visible());
    app.pressKey(vk::Back);
    app.pressKey(vk::Back);
    EXPECT_EQ(page->cbxFieldName->text(), "");
    app.pressKey(vk::Tab);
    EXPECT_NE(app.focusedControl(), page->cbxFieldName);
}

TEST_F(PropertyPage, ANameUsedByAnotherEntryControlFailsInAnyCaseButPassesOnTheSearchPage)
{
    auto* first = place(0, entry, 120, 40);
    setPropText(*first, "KeyField", "Iktatoszam");
    place(0, entry, 120, 100);
    typeFieldName("IKTATOSZAM");
    app.pressKey(vk::Tab);
    EXPECT_TRUE(page->ErrorHint->visible());
    EXPECT_TRUE(page->FieldNameInUse("iktatoszam"));
    platform.advance(3000);

    // On the search page the name must be an existing column.
    auto* finder = place(0, search, 120, 40);
    ASSERT_EQ(page->SelectedControl(), finder);
    EXPECT_TRUE(page->cbxFieldName->isList());
    EXPECT_THAT(page->cbxFieldName->items(), ElementsAre("Iktatoszam", "Targy"));

    // A column whose own kind the designer cannot type (a small integer,
    // listed among the numbers) is chosen from the list and refused on
    // leaving the box; an integer column then passes.
    exec("ALTER TABLE Document ADD Kisszam smallint");
    place(3, search, 120, 100);
    app.click(finder, {5, 5});
    ASSERT_EQ(page->SelectedControl(), finder);
    EXPECT_THAT(page->cbxFieldName->items(), ElementsAre("Iktatoszam", "Targy", "Kisszam"));
    app.click(page->cbxFieldName, {5, 5});
    app.pressKey(vk::Escape);
    app.typeText("K");
    EXPECT_EQ(prop(finder, "KeyField"), "Kisszam");
    app.pressKey(vk::Tab);
    EXPECT_TRUE(page->ErrorHint->visible());
    EXPECT_EQ(app.focusedControl(), page->cbxFieldName);
    platform.advance(3000);
    app.typeText("I");
    EXPECT_EQ(prop(finder, "KeyField"), "Iktatoszam");
    app.pressKey(vk::Tab);
    EXPECT_FALSE(page->ErrorHint->visible());
    EXPECT_NE(app.focusedControl(), page->cbxFieldName);
}

TEST_F(PropertyPage, EditorsWriteOnlyTheUsersOwnChanges)
{
    auto* edit = place(0, entry, 120, 40);
    setPropText(*edit, "Required", "True");
    page->ShowControl(edit);
    EXPECT_TRUE(page->chxRequired->checked());

    // Showing writes nothing. A caption emptied outside the page stays
    // empty (the page itself would store "[]"), and the box that a button
    // unchecks writes no Required, which a button would refuse.
    auto* box = place(3, entry, 120, 100);
    setPropText(*box, "Caption", "");
    page->ShowControl(edit);
    page->ShowControl(box);
    EXPECT_EQ(page->edtCaption->text(), "");
    EXPECT_EQ(prop(box, "Caption"), "");
    page->ShowControl(edit);
    page->ShowControl(as<TControl>(window->findComponent("btnNew")));
    EXPECT_FALSE(page->chxRequired->checked());
    EXPECT_TRUE(app.errorMessages().empty());
    page->ShowControl(edit);

    app.click(page->chxRequired, {3, 3});
    EXPECT_EQ(prop(edit, "Required"), "False");
    app.click(page->chxCanModify, {3, 3});
    EXPECT_EQ(prop(edit, "CanModify"), "True");

    // A number field with a registered dictionary shows "Szöveg", and stays a number.
    exec("INSERT INTO Fields (FieldName, DictionaryGroupID) VALUES ('Iktatoszam', 1)");
    setPropText(*edit, "KeyField", "Iktatoszam");
    setPropText(*edit, "FieldType", "0");
    page->ShowControl(edit);
    EXPECT_EQ(page->rgFieldType->itemIndex(), 1);
    EXPECT_EQ(prop(edit, "FieldType"), "0");

    // The caption box edits the label; an empty caption writes "[]".
    auto* label = window->findComponent("TZEDText1");
    app.click(page->edtCaption, {3, 3});
    page->edtCaption->selectAll();
    app.typeText("Ügyszám");
    EXPECT_EQ(prop(label, "Caption"), "Ügyszám");
    page->edtCaption->selectAll();
    app.pressKey(vk::Back);
    EXPECT_EQ(prop(label, "Caption"), "[]");
}

TEST_F(PropertyPage, ChoosingATypeWritesItAndListsThatKindsColumns)
{
    auto* edit = place(0, entry, 120, 40);
    typeFieldName("Sajat");
    app.click(page->rgFieldType, {20, page->rgFieldType->itemRect(1).top + 3});
    EXPECT_EQ(page->rgFieldType->itemIndex(), 1);
    EXPECT_EQ(prop(edit, "FieldType"), "1");
    EXPECT_THAT(page->cbxFieldName->items(), ElementsAre("Targy"));
    // The typed name stays.
    EXPECT_EQ(page->cbxFieldName->text(), "Sajat");
    EXPECT_EQ(prop(edit, "KeyField"), "Sajat");
    // The dictionary box writes what is typed.
    app.click(page->cbxDictionary, {3, 3});
    app.typeText("Új szótár");
    EXPECT_EQ(prop(edit, "Dictionary"), "Új szótár");
}

TEST_F(PropertyPage, TabOrderGoesLastForALargeValueAndAnImpossibleOneChangesNothing)
{
    auto* edit = as<TWinControl>(place(0, entry, 120, 40));
    app.click(page->seTabOrder, {3, 3});
    page->seTabOrder->selectAll();
    app.typeText("100");
    EXPECT_EQ(edit->tabOrder(), static_cast<int>(entry->tabList().size()) - 1);
    page->seTabOrder->selectAll();
    app.typeText("0");
    EXPECT_EQ(page->seTabOrder->value(), 0);
    EXPECT_EQ(edit->tabOrder(), 0);
    // A value pasted at once that the property refuses changes nothing.
    platform.setClipboardText("40000");
    page->seTabOrder->selectAll();
    app.pressKey('V', ssCtrl);
    EXPECT_EQ(page->seTabOrder->text(), "40000");
    EXPECT_EQ(edit->tabOrder(), 0);
    EXPECT_TRUE(app.errorMessages().empty());
}

TEST_F(PropertyPage, SearchLayoutOffersRelationsByTypeAndDictionaryAndDeleteClearsTheChoice)
{
    auto* finder = place(0, search, 120, 40);
    EXPECT_TRUE(page->pnRelation->visible());
    EXPECT_FALSE(page->pnFieldMod->visible());
    EXPECT_THAT(page->cbxRelation->items(),
                ElementsAre("Egyenlő", "NemEgyenlő", "Kisebb", "Nagyobb", "KisebbEgyenlő", "NagyobbEgyenlő"));
    page->cbxRelation->setFocus();
    page->cbxRelation->choose(4);
    EXPECT_EQ(prop(finder, "Relation"), "KisebbEgyenlő");
    setPropText(*finder, "Relation", "egyenlő");
    page->ShowControl(finder);
    EXPECT_EQ(page->cbxRelation->itemIndex(), 0);

    setPropText(*finder, "KeyField", "Targy");
    page->ShowControl(finder);
    EXPECT_EQ(page->cbxFieldName->itemIndex(), 1);
    page->cbxFieldName->setFocus();
    app.pressKey(vk::Delete);
    EXPECT_EQ(page->cbxFieldName->itemIndex(), -1);
    EXPECT_EQ(prop(finder, "KeyField"), "Targy");

    for (auto [t, dict, expected] : std::vector<std::tuple<int, bool, std::vector<std::string>>>{
             {0, true, {"Egyenlő", "NemEgyenlő", "Hasonló", "NemHasonló"}},
             {1, false, {"Egyenlő", "NemEgyenlő", "Hasonló", "NemHasonló"}},
             {2, true, {"Egyenlő", "NemEgyenlő"}},
             {3, false, {"Üres", "NemÜres"}},
             {3, true, {"Üres", "NemÜres"}},
             {-1, false, {"Egyenlő", "NemEgyenlő"}}}) {
        page->FillRelations(t, dict);
        EXPECT_EQ(page->cbxRelation->items(), expected) << t << " " << dict;
    }
}

TEST_F(PropertyPage, ARelationChosenForATabSheetReportsTheMissingProperty)
{
    page->ShowControl(search);
    EXPECT_TRUE(page->pnRelation->visible());
    EXPECT_TRUE(page->cbxRelation->enabled());
    app.click(page->cbxRelation, {3, 3});  // opens the list
    app.pressKey(vk::Down);
    app.pressKey(vk::Return);
    ASSERT_FALSE(app.errorMessages().empty());
    EXPECT_EQ(app.errorMessages().back(), "Property Relation does not exist");
}

TEST_F(PropertyPage, NoneADeletedControlAndALonelyLabelClearThePage)
{
    auto* edit = place(0, entry, 120, 40);
    page->ShowControl(nullptr);
    EXPECT_FALSE(page->edtCaption->enabled());
    EXPECT_FALSE(page->cbxFieldName->enabled());
    EXPECT_FALSE(page->rgFieldType->enabled());
    EXPECT_FALSE(page->seTabOrder->enabled());
    EXPECT_FALSE(page->chxRequired->checked());

    auto* label = as<velmora::TZEDText>(window->findComponent("TZEDText1"));
    edit->free();
    EXPECT_EQ(label->focusControl(), nullptr);
    page->ShowControl(label);
    EXPECT_EQ(page->SelectedControl(), nullptr);
    EXPECT_EQ(page->CaptionControl(), label);
    EXPECT_TRUE(page->edtCaption->enabled());
    EXPECT_EQ(page->seTabOrder->value(), label->tabOrder());
    EXPECT_FALSE(page->seTabOrder->enabled());
    label->free();
    EXPECT_EQ(page->CaptionControl(), nullptr);
}

TEST_F(PropertyPage, ABadNameWhileTheLookupListIsModalDoesNotFightForTheFocus)
{
    place(0, entry, 120, 40);
    typeFieldName("9lives");
    platform.script([&] {
        // The page is deactivated and asked to check the name while the
        // list waits; the list keeps the focus and works.
        page->FormDeactivate(page);
        EXPECT_TRUE(app.errorMessages().empty());
        EXPECT_EQ(app.focusedControl()->parentForm(), velmora::frmSearchList.get());
        velmora::frmSearchList->setModalResult(mrCancel);
    });
    velmora::frmSearchList->showModal();
    EXPECT_TRUE(app.errorMessages().empty());
    EXPECT_TRUE(page->ErrorHint->visible());
}

TEST_F(PropertyPage, ChoosingAnExistingFieldNameBringsItsDictionaryAndTypeWithoutWritingTheType)
{
    exec("INSERT INTO Fields (FieldName, DictionaryGroupID) VALUES ('Iktatoszam', 2)");
    auto* edit = place(0, entry, 120, 40);
    app.click(page->rgFieldType, {20, page->rgFieldType->itemRect(1).top + 3});  // "Szöveg"
    ASSERT_EQ(prop(edit, "FieldType"), "1");
    // Back to numbers, then the number column from the list.
    app.click(page->rgFieldType, {20, page->rgFieldType->itemRect(0).top + 3});
    ASSERT_THAT(page->cbxFieldName->items(), ElementsAre("Iktatoszam"));
    app.click(page->cbxFieldName, {3, 3});
    page->cbxFieldName->setDroppedDown(true);
    app.pressKey(vk::Down);
    app.pressKey(vk::Return);
    EXPECT_EQ(page->cbxFieldName->text(), "Iktatoszam");
    EXPECT_EQ(prop(edit, "KeyField"), "Iktatoszam");
    EXPECT_EQ(page->cbxDictionary->text(), "Osztály");
    EXPECT_EQ(prop(edit, "Dictionary"), "Osztály");
    // A number column with a dictionary shows "Szöveg"; FieldType stays.
    EXPECT_EQ(page->rgFieldType->itemIndex(), 1);
    EXPECT_EQ(prop(edit, "FieldType"), "0");

    // A name without a registered dictionary empties both.
    exec("DELETE FROM Fields");
    page->ShowControl(edit);
    app.click(page->cbxFieldName, {3, 3});
    page->cbxFieldName->setDroppedDown(true);
    app.pressKey(vk::Down);
    app.pressKey(vk::Return);
    EXPECT_EQ(page->cbxDictionary->text(), "");
    EXPECT_EQ(prop(edit, "Dictionary"), "");
}

TEST_F(PropertyPage, TheHintTimerRunsFromTheStartAndItsFirstTickOnlyStopsIt)
{
    EXPECT_TRUE(page->HintTime->enabled());
    EXPECT_EQ(page->HintTime->interval(), 3000);
    platform.advance(3000);
    EXPECT_FALSE(page->HintTime->enabled());
    EXPECT_FALSE(page->ErrorHint->visible());
}
