// What edit boxes, combo boxes, check boxes, radio groups and spin edits do
// with the user's typing and clicking, and which events they raise in which
// order.
#include "Fixture.h"

#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/widgets/SpinEdit.h"

using namespace tk;

TEST_F(ToolkitTest, EditTypingMovesTheCaretAndShiftArrowsSelect)
{
    auto* edit = make<TEdit>("edt", 10, 10, 150, 21);
    form->show();
    app.typeText("Mezőnév");
    EXPECT_EQ(edit->text(), "Mezőnév");
    EXPECT_EQ(edit->selStart(), 7);
    app.pressKey(vk::Left, ssShift);
    app.pressKey(vk::Left, ssShift);
    EXPECT_EQ(edit->selStart(), 5);
    EXPECT_EQ(edit->selLength(), 2);
    EXPECT_EQ(edit->selText(), "év");
    app.typeText("ű");  // replaces the selection
    EXPECT_EQ(edit->text(), "Mezőnű");
    app.pressKey(vk::Home);
    app.pressKey(vk::Delete);
    EXPECT_EQ(edit->text(), "ezőnű");
    app.pressKey(vk::End);
    app.pressKey(vk::Back);
    EXPECT_EQ(edit->text(), "ezőn");
    // Setting the text from code puts the caret at the start.
    edit->setText("Budapest");
    EXPECT_EQ(edit->selStart(), 0);
    EXPECT_EQ(edit->selLength(), 0);
}

TEST_F(ToolkitTest, AChangeHandlerCanCompleteTheTypedTextAndKeepTheCaret)
{
    // The incremental search of a lookup list: the text typed so far stays
    // in front of the caret and the completion after it is selected.
    auto* edit = make<TEdit>("edtSearch", 10, 10, 150, 21);
    form->show();
    bool armed = true;
    edit->OnChange = Handler::notify([&](TObject*) {
        if (!armed) return;
        armed = false;
        int p = edit->selStart();
        if (std::string("Budapest").rfind(edit->text(), 0) == 0 && !edit->text().empty()) {
            edit->setText("Budapest");
            edit->setSelStart(p);
            edit->setSelLength(static_cast<int>(edit->text().size()) - p);
        }
        armed = true;
    });
    app.typeText("B");
    EXPECT_EQ(edit->text(), "Budapest");
    EXPECT_EQ(edit->selStart(), 1);
    EXPECT_EQ(edit->selText(), "udapest");
    app.typeText("u");
    EXPECT_EQ(edit->text(), "Budapest");
    EXPECT_EQ(edit->selStart(), 2);
    EXPECT_EQ(edit->selText(), "dapest");
    // Backspace removes the selection only, so the search completes again;
    // a selection moved one character left first removes the "u" as well.
    app.pressKey(vk::Back);
    EXPECT_EQ(edit->selText(), "dapest");
    edit->setSelStart(1);
    edit->setSelLength(7);
    armed = false;
    app.pressKey(vk::Back);
    EXPECT_EQ(edit->text(), "B");
    EXPECT_EQ(edit->selStart(), 1);
}

TEST_F(ToolkitTest, EditRespectsReadOnlyMaxLengthAndPasswordCharacters)
{
    auto* edit = make<TEdit>("edtPasswd", 10, 10, 150, 21);
    form->show();
    edit->setMaxLength(3);
    app.typeText("abcd");
    EXPECT_EQ(edit->text(), "abc");
    edit->setPasswordChar(U'*');
    EXPECT_EQ(edit->displayText(), "***");
    edit->setReadOnly(true);
    app.pressKey(vk::Back);
    EXPECT_EQ(edit->text(), "abc");
    // A click puts the caret where it lands (6 pixels a character here).
    edit->setReadOnly(false);
    edit->setPasswordChar(0);
    app.click(edit, {2 + 6 + 1, 5});
    EXPECT_EQ(edit->selStart(), 1);
    // Copy and paste go through the clipboard.
    edit->selectAll();
    app.pressKey('C', ssCtrl);
    EXPECT_EQ(platform.clipboardText(), "abc");
    edit->setText("");
    edit->setMaxLength(0);
    app.pressKey('V', ssCtrl);
    app.pressKey('V', ssCtrl);
    EXPECT_EQ(edit->text(), "abcabc");
}

TEST_F(ToolkitTest, AnEditFitsItsHeightToItsFont)
{
    auto* edit = make<TEdit>("edt", 10, 10, 121, 50);
    EXPECT_EQ(edit->height(), 21);  // 13 pixels of text and the border
    edit->setHeight(17);
    EXPECT_EQ(edit->height(), 21);
    edit->setAutoSize(false);
    edit->setHeight(17);
    EXPECT_EQ(edit->height(), 17);
}

TEST_F(ToolkitTest, ComboFindsItemsIgnoringCaseAndKeepsItsTextWhenCleared)
{
    auto* combo = make<TComboBox>("cbxFieldName", 10, 10, 150, 21);
    combo->setItems({"Targy", "ŐSZ", "targy", "Datum"});
    EXPECT_EQ(combo->indexOf("TARGY"), 0);
    EXPECT_EQ(combo->indexOf("ősz"), 1);
    EXPECT_EQ(combo->indexOf("Targ"), -1);
    combo->setText("Targy");
    combo->clearItems();
    EXPECT_EQ(combo->text(), "Targy");
    EXPECT_EQ(combo->itemIndex(), -1);
    combo->setItems({"a", "b"});
    combo->setItemIndex(1);
    EXPECT_EQ(combo->text(), "b");
    combo->setItemIndex(-1);
    EXPECT_EQ(combo->text(), "");
}

TEST_F(ToolkitTest, ChoosingAComboItemRaisesClickBeforeChangeAndCodeRaisesNothing)
{
    auto* combo = make<TComboBox>("cbxRelation", 10, 10, 150, 21);
    combo->setStyle(TComboBoxStyle::csDropDownList);
    combo->setItems({"Egyenlő", "NemEgyenlő", "Kisebb"});
    combo->OnClick = Handler::notify([&](TObject*) { log.push_back("click " + combo->text()); });
    combo->OnChange = Handler::notify([&](TObject*) { log.push_back("change " + combo->text()); });
    combo->OnDropDown = logNotify("dropdown");
    combo->OnCloseUp = logNotify("closeup");
    form->show();

    combo->setItemIndex(0);
    combo->setText("Kisebb");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(combo->itemIndex(), 2);

    // Open the list with the mouse and pick its second row.
    app.click(combo);
    ASSERT_TRUE(combo->droppedDown());
    TRect list = combo->listRect();
    TPoint second{list.left + 5, list.top + 1 + combo->itemHeight() + 2};
    app.mouseMove(0, second);
    app.mouseDown(TMouseButton::mbLeft, 0, second);
    app.mouseUp(TMouseButton::mbLeft, 0, second);
    EXPECT_FALSE(combo->droppedDown());
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup", "click NemEgyenlő", "change NemEgyenlő"}));

    // The arrow keys choose too.
    log.clear();
    app.pressKey(vk::Down);
    EXPECT_EQ(log, (std::vector<std::string>{"click Kisebb", "change Kisebb"}));
    // A press outside the open list only closes it.
    log.clear();
    app.pressKey(vk::Down, ssAlt);
    ASSERT_TRUE(combo->droppedDown());
    app.mouseDown(TMouseButton::mbLeft, 0, {1000, 1000});
    EXPECT_FALSE(combo->droppedDown());
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup"}));
}

TEST_F(ToolkitTest, TypingInAnEditableComboRaisesChangeForEveryKeystroke)
{
    auto* combo = make<TComboBox>("cbxFieldName", 10, 10, 150, 21);
    combo->OnChange = Handler::notify([&](TObject*) { log.push_back(combo->text()); });
    form->show();
    app.typeText("ab");
    EXPECT_EQ(log, (std::vector<std::string>{"a", "ab"}));
}

TEST_F(ToolkitTest, RadioGroupRaisesClickWhenItsItemIsSetFromCodeUnlessDetached)
{
    auto* rg = make<TRadioGroup>("rgFieldType", 10, 10, 150, 120);
    rg->setItems({"Szám", "Szöveg", "Dátum", "Igen/Nem"});
    Handler onClick = Handler::notify([&](TObject*) { log.push_back("click " + std::to_string(rg->itemIndex())); });
    rg->OnClick = onClick;
    rg->setItemIndex(1);
    rg->setItemIndex(1);   // no change, no click
    rg->setItemIndex(7);   // above the last: the last
    rg->setItemIndex(-5);  // below -1: none
    EXPECT_EQ(rg->itemIndex(), -1);
    rg->OnClick = Handler();
    rg->setItemIndex(0);
    rg->OnClick = onClick;
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 3"}));

    // A click on an enabled item selects it; a disabled item stays unselected.
    form->show();
    log.clear();
    rg->setItemEnabled(2, false);
    TRect r1 = rg->itemRect(1), r2 = rg->itemRect(2);
    app.click(rg, {r2.left + 3, r2.top + 3});
    EXPECT_EQ(rg->itemIndex(), 0);
    app.click(rg, {r1.left + 3, r1.top + 3});
    EXPECT_EQ(rg->itemIndex(), 1);
    app.pressKey(vk::Down);  // skips the disabled item
    EXPECT_EQ(rg->itemIndex(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 3"}));
}

TEST_F(ToolkitTest, CheckBoxToggledByClickOrSpaceOrCodeRaisesClick)
{
    auto* chx = make<TCheckBox>("chxRequired", 10, 10, 100, 17);
    chx->OnClick = Handler::notify([&](TObject*) { log.push_back(chx->checked() ? "on" : "off"); });
    form->show();
    app.click(chx);
    EXPECT_TRUE(chx->checked());
    app.pressKey(vk::Space);
    EXPECT_FALSE(chx->checked());
    chx->setChecked(true);
    chx->setChecked(true);
    // A press on the box released elsewhere does not toggle it.
    TPoint inside = chx->clientToScreen({3, 3});
    app.mouseDown(TMouseButton::mbLeft, 0, inside);
    app.mouseUp(TMouseButton::mbLeft, 0, {inside.x + 200, inside.y});
    EXPECT_EQ(log, (std::vector<std::string>{"on", "off", "on"}));
}

TEST_F(ToolkitTest, SpinEditWithMinimumAndMaximumZeroIsUnbounded)
{
    auto* se = make<TSpinEdit>("seTabOrder", 10, 10, 60, 22);
    form->show();
    EXPECT_EQ(se->value(), 0);
    app.pressKey(vk::Down);
    EXPECT_EQ(se->value(), -1);
    se->setValue(40000);
    EXPECT_EQ(se->value(), 40000);
    se->setMinValue(0);
    se->setMaxValue(10);
    EXPECT_EQ(se->value(), 10);
    app.pressKey(vk::Up);
    EXPECT_EQ(se->text(), "10");
    // Only digits and signs can be typed.
    se->setText("");
    app.typeText("1x2");
    EXPECT_EQ(se->text(), "12");
}
