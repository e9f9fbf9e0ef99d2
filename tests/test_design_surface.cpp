// The design surface in-process, through the input API: placing, the
// wiring switched off for storing and on again (as saving and opening
// switch it), deleting, selection and what the designer's handlers keep.
#include "DesignSession.h"
#include "Fixture.h"
#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "lookup/SearchList.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "startup/DesignClasses.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/PageControl.h"

#include <gmock/gmock.h>

using namespace tk;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

// The design surface of a session, its entry page in front.
class Wiring : public DesignSession {
protected:
    TTabSheet* sheet = entry;
};

}  // namespace

TEST_F(Wiring, UnhookingLeavesNoDesignTimeHandlerNoMenuAndTagZeroInTheStoredText)
{
    auto* edit = place(0, 100, 48);
    ASSERT_TRUE(edit);
    EXPECT_EQ(getPropText(*edit, "Tag"), "1");
    std::string wired = velmora::designText(*window);
    EXPECT_THAT(wired, HasSubstr("OnMouseDown = ComponentMouseDown"));
    EXPECT_THAT(wired, HasSubstr("PopupMenu = CompPopup"));

    window->UnhookDesignEvents();
    std::string stored = velmora::designText(*window);
    EXPECT_THAT(stored, Not(HasSubstr("Component")));
    EXPECT_THAT(stored, Not(HasSubstr("CompPopup")));
    EXPECT_THAT(stored, Not(HasSubstr("Tag = 1")));
    EXPECT_THAT(stored, Not(HasSubstr("tsMouseUp")));
    // Glyph buttons get back the handlers named after them.
    EXPECT_EQ(getPropText(*window->findComponent("btnSave"), "OnClick"), "btnSaveClick");
    EXPECT_EQ(getPropText(*window->findComponent("btnPrint"), "OnClick"), "btnPrintClick");
    EXPECT_FALSE(window->CompPopup);
    EXPECT_FALSE(window->pmiDelete);

    window->HookDesignEvents();
    EXPECT_TRUE(window->CompPopup);
    EXPECT_EQ(getPropText(*edit, "Tag"), "0");
    EXPECT_EQ(getPropText(*edit, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_EQ(getPropText(*window->findComponent("btnSave"), "OnClick"), "");
}

TEST_F(Wiring, AGlyphButtonWithoutANamedHandlerGetsNoneAndADesignWithoutTsSearchWiresTsEdit)
{
    auto* extra = new velmora::TZEDBtn(window);
    extra->setName("btnExtra");
    extra->setParent(sheet);
    window->HookComponent(extra);
    window->UnhookDesignEvents();
    EXPECT_EQ(getPropText(*extra, "OnClick"), "");

    window->findComponent("tsSearch")->free();
    window->HookDesignEvents();
    EXPECT_EQ(getPropText(*sheet, "OnMouseUp"), "tsMouseUp");
}

TEST_F(Wiring, DeletingWithNoPopupComponentDoesNothingAndAFreedMenuLeavesNoReference)
{
    auto* edit = place(0, 100, 48);
    ASSERT_TRUE(edit);
    int before = window->componentCount();
    window->pmiDeleteClick(nullptr);  // the menu was never opened
    EXPECT_EQ(window->componentCount(), before);
    window->CompPopup->free();
    EXPECT_FALSE(window->CompPopup);
    EXPECT_EQ(getPropText(*edit, "PopupMenu"), "");
    window->pmiDeleteClick(nullptr);
    EXPECT_EQ(window->componentCount(), before - 2);  // the menu and its item
}

TEST_F(Wiring, ACheckBoxStateIsRestoredOnlyIntoTheCheckBoxThatWasPressed)
{
    auto* first = tk::as<velmora::TZEDChxBox>(place(3, 40, 20));
    auto* second = tk::as<velmora::TZEDChxBox>(place(3, 40, 60));
    ASSERT_TRUE(first && second);
    first->setChecked(true);
    app.click(first, {3, 3});  // a click on the surface does not toggle it
    EXPECT_TRUE(first->checked());
    // A right click on the second records its state for itself only; the
    // first, released later, keeps its own.
    app.click(second, {3, 3}, TMouseButton::mbRight);
    app.pressKey(vk::Escape);
    window->ComponentMouseUp(first, TMouseButton::mbLeft, 0, 0, 0);
    EXPECT_TRUE(first->checked());
    EXPECT_FALSE(second->checked());
}

TEST_F(Wiring, WhileDesignModeIsSetEveryKeyIsSwallowedAndFocusShowsTheControl)
{
    auto* edit = tk::as<velmora::TZEDit>(place(0, 100, 48));
    ASSERT_TRUE(edit);
    app.typeText("abc");
    app.pressKey(vk::Back);
    EXPECT_EQ(edit->text(), "");
    auto* label = tk::as<velmora::TZEDText>(window->findComponent("TZEDText1"));
    ASSERT_TRUE(label);
    EXPECT_EQ(velmora::frmPropertyPage->CaptionControl(), label);
    // Tab is swallowed too: the focus stays.
    app.pressKey(vk::Tab);
    EXPECT_EQ(app.focusedControl(), edit);
    tk::as<TWinControl>(window->findComponent("btnNew"))->setFocus();
    EXPECT_EQ(velmora::frmPropertyPage->SelectedControl(), window->findComponent("btnNew"));
    edit->setFocus();
    EXPECT_EQ(velmora::frmPropertyPage->SelectedControl(), edit);
    EXPECT_EQ(velmora::frmPropertyPage->CaptionControl(), label);
}

TEST_F(Wiring, AnyButtonPlacesAnArrowClickPlacesNothingAndTheNextNameFillsTheGap)
{
    velmora::frmComonentPalette->setTool(-1);
    int before = window->componentCount();
    app.click(sheet, {50, 50});
    EXPECT_EQ(window->componentCount(), before);
    // A right-button release places just as a left one does.
    velmora::frmComonentPalette->setTool(2);
    app.click(sheet, {120, 40}, TMouseButton::mbRight);
    EXPECT_TRUE(window->findComponent("TZEDPicker1"));
    EXPECT_TRUE(window->findComponent("TZEDText1"));
    EXPECT_EQ(velmora::frmComonentPalette->tool(), -1);
    EXPECT_TRUE(velmora::frmComonentPalette->btnArrow->down());
    // With TZEDit1 and TZEDit3 present, the next edit is TZEDit2.
    for (const char* n : {"TZEDit1", "TZEDit3"}) {
        auto* e = new velmora::TZEDit(window);
        e->setName(n);
        e->setParent(sheet);
    }
    EXPECT_EQ(place(0, 200, 100)->name(), "TZEDit2");
    // A label placed alone is its own caption control and takes no focus.
    place(1, 300, 200);
    auto* label = tk::as<TControl>(window->findComponent("TZEDText3"));
    ASSERT_TRUE(label);
    EXPECT_EQ(velmora::frmPropertyPage->CaptionControl(), label);
    EXPECT_EQ(getPropText(*label, "Caption"), "Mezőnév:");
}

TEST_F(Wiring, TheLabelStandsLeftOfItsFieldByTheMeasuredCaptionWidth)
{
    auto* edit = place(0, 100, 50);
    auto* label = tk::as<velmora::TZEDText>(window->findComponent("TZEDText1"));
    ASSERT_TRUE(edit && label);
    int w = platform.textWidth(*velmora::frmPropertyPage->font(), "Mezőnév:");
    EXPECT_EQ(edit->left(), 100);
    EXPECT_EQ(edit->top(), 50);
    EXPECT_EQ(label->top(), 54);
    EXPECT_EQ(label->left(), 100 - (w + 4));
    EXPECT_EQ(label->focusControl(), edit);
    EXPECT_EQ(label->tag(), 0);
    EXPECT_EQ(getPropText(*label, "OnMouseDown"), "ComponentMouseDown");
    EXPECT_FALSE(hasProperty(*label, "OnEnter"));  // a label takes no focus
}

TEST_F(Wiring, APressWhileAToolIsChosenOrAfterACalendarWasOpenedStartsNoDrag)
{
    auto* edit = place(0, 100, 48);
    auto* picker = place(2, 100, 100);
    ASSERT_TRUE(edit && picker);
    auto drag = [&](TControl* c, int dx) {
        TPoint at = c->clientToScreen({5, 5});
        app.mouseMove(0, at);
        app.mouseDown(TMouseButton::mbLeft, ssLeft, at);
        app.mouseMove(ssLeft, {at.x + dx, at.y});
        app.mouseUp(TMouseButton::mbLeft, 0, {at.x + dx, at.y});
    };
    velmora::frmComonentPalette->setTool(3);
    drag(edit, 8);
    EXPECT_EQ(edit->left(), 100);
    // The press still selects it on release.
    EXPECT_EQ(velmora::frmPropertyPage->SelectedControl(), edit);
    velmora::frmComonentPalette->setTool(-1);
    // The calendar opened with its button and closed with Esc: the next
    // press only clears the mark.
    app.click(picker, {picker->width() - 5, 5});
    app.pressKey(vk::Escape);
    EXPECT_EQ(picker->left(), 100);
    drag(edit, 8);
    EXPECT_EQ(edit->left(), 100);
    drag(edit, 8);
    EXPECT_EQ(edit->left(), 108);
}

TEST_F(Wiring, DraggingALabelMovesItsFieldAndAFieldAloneLeavesItsLabel)
{
    auto* edit = place(0, 200, 48);
    auto* label = tk::as<TControl>(window->findComponent("TZEDText1"));
    int offset = label->left() - edit->left();
    TPoint at = label->clientToScreen({2, 2});
    app.mouseMove(0, at);
    app.mouseDown(TMouseButton::mbLeft, ssLeft, at);
    app.mouseMove(ssLeft, {at.x - 20, at.y + 12});
    app.mouseUp(TMouseButton::mbLeft, 0, {at.x - 20, at.y + 12});
    EXPECT_EQ(label->left() - edit->left(), offset);
    EXPECT_EQ(edit->top(), 60);
    int labelLeft = label->left();
    at = edit->clientToScreen({2, 2});
    app.mouseMove(0, at);
    app.mouseDown(TMouseButton::mbLeft, ssLeft, at);
    app.mouseMove(ssLeft, {at.x + 40, at.y});
    app.mouseUp(TMouseButton::mbLeft, 0, {at.x + 40, at.y});
    EXPECT_EQ(label->left(), labelLeft);
    EXPECT_NE(label->left() - edit->left(), offset);
}

TEST_F(Wiring, DeletingAFieldLeavesItsLabelAndNothingKeepsADeadReference)
{
    auto* edit = place(0, 100, 48);
    auto* label = tk::as<velmora::TZEDText>(window->findComponent("TZEDText1"));
    ASSERT_TRUE(edit && label);
    ASSERT_EQ(window->activeControl(), edit);
    app.click(edit, {3, 3}, TMouseButton::mbRight);
    ASSERT_EQ(window->CompPopup->popupComponent(), edit);
    app.pressKey(vk::Down);
    app.pressKey(vk::Return);
    EXPECT_EQ(window->findComponent("TZEDit1"), nullptr);
    EXPECT_EQ(window->findComponent("TZEDText1"), label);
    EXPECT_EQ(label->focusControl(), nullptr);
    EXPECT_EQ(window->activeControl(), nullptr);
    EXPECT_EQ(velmora::frmPropertyPage->SelectedControl(), nullptr);
    EXPECT_EQ(velmora::frmPropertyPage->CaptionControl(), nullptr);
    EXPECT_EQ(app.focusedControl(), nullptr);
}

TEST_F(Wiring, HidingTheMainWindowHidesThePaletteButNotThePropertyPageAndItsEndEndsTheSession)
{
    velmora::frmComonentPalette->show();
    velmora::frmPropertyPage->show();
    window->hide();
    EXPECT_FALSE(velmora::frmComonentPalette->visible());
    EXPECT_TRUE(velmora::frmPropertyPage->visible());
    window->show();
    EXPECT_TRUE(velmora::frmComonentPalette->visible());
    EXPECT_TRUE(velmora::frmPropertyPage->visible());

    // While the design surface lives, the catalogue types columns by the
    // session's kinds; once it is gone, no column has a type index.
    EXPECT_EQ(velmora::dmClientMain->ColumnTypeIndex("iktatoszam"), 0);
    window->free();
    EXPECT_EQ(velmora::dmClientMain->ColumnTypeIndex("iktatoszam"), -1);
    EXPECT_EQ(velmora::dmClientMain->ColumnTypeIndex("targy"), -1);
}

TEST_F(Wiring, ClickingTheArrowWhileDownKeepsItDownAndTheToolsTagsMatchTheirPlaces)
{
    auto& palette = *velmora::frmComonentPalette;
    std::vector<int> tags;
    for (const char* n : {"btnArrow", "SpeedButton2", "SpeedButton5", "SpeedButton3", "SpeedButton4"}) {
        auto* b = tk::as<TSpeedButton>(palette.findComponent(n));
        ASSERT_TRUE(b) << n;
        tags.push_back(b->tag());
        EXPECT_EQ(b->groupIndex(), 1) << n;
        EXPECT_FALSE(b->glyph()->empty()) << n;
    }
    EXPECT_THAT(tags, ElementsAre(-1, 0, 1, 2, 3));
    palette.show();
    auto* arrow = palette.btnArrow.get();
    auto* edit = tk::as<TSpeedButton>(palette.findComponent("SpeedButton2"));
    app.click(arrow, {5, 5});
    EXPECT_TRUE(arrow->down());
    EXPECT_EQ(palette.tool(), -1);
    app.click(edit, {5, 5});
    EXPECT_TRUE(edit->down());
    EXPECT_FALSE(arrow->down());
    EXPECT_EQ(palette.tool(), 0);
    // The open and save buttons never stay down (the lookup list they
    // show is cancelled).
    platform.script([&] { app.pressKey(vk::Escape); });
    app.click(palette.btnSave.get(), {5, 5});
    EXPECT_FALSE(palette.btnSave->down());
    EXPECT_EQ(palette.btnSave->glyph()->bitCount(), 4);
    EXPECT_EQ(palette.btnOpen->glyph()->bitCount(), 24);
    EXPECT_EQ(arrow->glyph()->bitCount(), 24);
}
