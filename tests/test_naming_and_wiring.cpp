// The owner's index of names kept right through renames and removals, the
// tab order a design reads back, and the design-time wiring switched off
// for storing and on again, as saving and opening will switch it.
#include "Fixture.h"
#include "controls/Design.h"
#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/Edit.h"
#include "toolkit/Errors.h"
#include "toolkit/PageControl.h"
#include "toolkit/PropertyAccess.h"

#include <gmock/gmock.h>

using namespace tk;
using testing::HasSubstr;
using testing::Not;

TEST_F(ToolkitTest, TheNameIndexFollowsRenamesCaseChangesAndRemovals)
{
    auto* a = make<TEdit>("Alpha", 0, 0, 10, 10);
    a->setName("ALPHA");  // only the case changes: still itself
    EXPECT_EQ(form->findComponent("alpha"), a);
    a->setName("Beta");
    EXPECT_EQ(form->findComponent("alpha"), nullptr);
    EXPECT_EQ(form->findComponent("BETA"), a);
    // The old name is free again, the new one taken.
    auto* b = make<TEdit>("alpha", 0, 0, 10, 10);
    EXPECT_THROW(b->setName("beta"), EComponentError);
    EXPECT_EQ(b->name(), "alpha");
    a->setName("");
    EXPECT_EQ(form->findComponent("beta"), nullptr);
    b->setName("Beta");
    EXPECT_EQ(form->findComponent("beta"), b);
    // A component that changes owner leaves the old owner's index.
    TForm* other = nullptr;
    app.createForm(other);
    other->insertComponent(b);
    EXPECT_EQ(form->findComponent("beta"), nullptr);
    EXPECT_EQ(other->findComponent("BETA"), b);
    b->free();
    EXPECT_EQ(other->findComponent("beta"), nullptr);
}

TEST_F(ToolkitTest, UniqueNamesFillTheLowestGapWithoutRegardToCase)
{
    make<TEdit>("tzedit1", 0, 0, 10, 10);
    auto* third = make<TEdit>("TZEDit3", 0, 0, 10, 10);
    EXPECT_EQ(form->uniqueName("TZEDit"), "TZEDit2");
    make<TEdit>("TZEDIT2", 0, 0, 10, 10);
    EXPECT_EQ(form->uniqueName("TZEDit"), "TZEDit4");
    third->free();
    EXPECT_EQ(form->uniqueName("TZEDit"), "TZEDit3");
}

TEST_F(ToolkitTest, TabOrderKeepsItsPlacesThroughInsertMoveAndRemove)
{
    auto* a = make<TEdit>("a", 0, 0, 10, 10);
    auto* b = make<TEdit>("b", 0, 0, 10, 10);
    auto* c = make<TEdit>("c", 0, 0, 10, 10);
    c->setTabOrder(0);
    EXPECT_EQ(c->tabOrder(), 0);
    EXPECT_EQ(a->tabOrder(), 1);
    EXPECT_EQ(b->tabOrder(), 2);
    a->setTabOrder(99);  // clamped to the last place
    EXPECT_EQ(a->tabOrder(), 2);
    EXPECT_EQ(b->tabOrder(), 1);
    b->free();
    EXPECT_EQ(c->tabOrder(), 0);
    EXPECT_EQ(a->tabOrder(), 1);
    EXPECT_THROW(a->setTabOrder(32768), ERangeError);
}

namespace {

// The main window with its palette and property page, without a login.
class Wiring : public ::testing::Test {
protected:
    Wiring() : app(platform)
    {
        velmora::registerDesignClasses();
        new velmora::TdmClientMain(&app);
        app.createForm(velmora::frmClientMain);
        app.createForm(velmora::frmComonentPalette);
        app.createForm(velmora::frmPropertyPage);
        window = velmora::frmClientMain.get();
        window->show();
        window->PrepareDesignSurface();
        sheet = tk::as<TTabSheet>(window->findComponent("tsEdit"));
        tk::as<TPageControl>(window->findComponent("pcData"))->setActivePage(sheet);
    }
    // Places a control with the palette's tool `tool` at (x, y) on tsEdit.
    TControl* place(int tool, int x, int y)
    {
        velmora::frmComonentPalette->setTool(tool);
        app.click(sheet, {x, y});
        return velmora::frmPropertyPage->SelectedControl();
    }

    HeadlessPlatform platform;
    TApplication app;
    velmora::TfrmClientMain* window = nullptr;
    TTabSheet* sheet = nullptr;
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
