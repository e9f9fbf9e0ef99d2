// Reading and writing published properties by name, class identity, and
// binding event properties to a window's handlers by their method names.
#include "Fixture.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Menus.h"

using namespace tk;

namespace {

// A window with named handlers, as a designed window has them.
class TDesignForm : public TForm {
    TK_CLASS(TDesignForm)
public:
    explicit TDesignForm(TComponent* owner) : TForm(owner) {}
    void ComponentMouseDown(TObject* sender, TMouseButton, TShiftState, int x, int y)
    {
        calls.push_back("down " + static_cast<TComponent*>(sender)->name() + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
    void ControlKeyDown(TObject*, uint16_t& key, TShiftState) { key = 0; }
    void btnSaveClick(TObject*) { calls.push_back("save"); }
    std::vector<std::string> calls;
};
TK_DEFINE_CLASS(TDesignForm, TForm)
{
    t.method("ComponentMouseDown", &TDesignForm::ComponentMouseDown);
    t.method("ControlKeyDown", &TDesignForm::ControlKeyDown);
    t.method("btnSaveClick", &TDesignForm::btnSaveClick);
}

std::vector<std::string> names(const ClassInfo& c)
{
    std::vector<std::string> out;
    for (const PropInfo* p : c.properties()) out.push_back(p->name);
    return out;
}

}  // namespace

TEST_F(ToolkitTest, PropertiesReadAndWriteByNameAsText)
{
    auto* edit = make<TEdit>("TZEDit1", 120, 16, 121, 21);
    EXPECT_EQ(getPropText(*edit, "Left"), "120");
    EXPECT_EQ(getPropText(*edit, "ReadOnly"), "False");
    EXPECT_EQ(getPropText(*edit, "Name"), "TZEDit1");
    setPropText(*edit, "Text", "Tárgy");
    setPropText(*edit, "readonly", "True");  // names ignore case
    setPropText(*edit, "Tag", "1");
    setPropText(*edit, "Color", "clRed");  // named constants stand for numbers
    EXPECT_EQ(edit->text(), "Tárgy");
    EXPECT_TRUE(edit->readOnly());
    EXPECT_EQ(edit->tag(), 1);
    EXPECT_EQ(getPropText(*edit, "ReadOnly"), "True");
    EXPECT_EQ(getProp(*edit, "Color"), Value(int64_t{255}));
    EXPECT_EQ(getPropText(*edit, "CharCase"), "ecNormal");
    setPropText(*edit, "CharCase", "ecUpperCase");
    EXPECT_EQ(edit->charCase(), TEditCharCase::ecUpperCase);
    setPropText(*edit, "Anchors", "[akLeft,akRight]");
    EXPECT_EQ(edit->anchors(), akLeft | akRight);
    EXPECT_EQ(getPropText(*edit, "Anchors"), "[akLeft,akRight]");
    setPropText(*edit, "Font.Name", "Arial");
    EXPECT_EQ(edit->font()->name(), "Arial");
    EXPECT_EQ(getPropText(*edit, "Font.Height"), "-11");

    setProp(*edit, "Width", 200);
    EXPECT_EQ(edit->width(), 200);
    setProp(*edit, "Enabled", false);
    EXPECT_FALSE(edit->enabled());

    try {
        getPropText(*edit, "Relation");
        FAIL() << "a missing property was read";
    } catch (const EPropertyError& e) {
        EXPECT_STREQ(e.what(), "Property Relation does not exist");
    }
    EXPECT_THROW(setPropText(*edit, "Relation", "Egyenlő"), EPropertyError);
    EXPECT_THROW(setPropText(*edit, "Left", "abc"), EPropertyError);
    EXPECT_THROW(setPropText(*edit, "CharCase", "ecTitle"), EPropertyError);
    EXPECT_THROW(setPropText(*edit, "TabOrder", "40000"), ERangeError);
    EXPECT_FALSE(hasProperty(*edit, "KeyField"));
    EXPECT_TRUE(hasProperty(*edit, "Font.Style"));
}

TEST_F(ToolkitTest, ComponentReferencesReadAndWriteByName)
{
    auto* edit = make<TEdit>("TZEDit1", 120, 16, 121, 21);
    auto* label = make<TStaticText>("TZEDText1", 64, 20, 48, 17);
    setPropText(*label, "FocusControl", "tzedit1");
    EXPECT_EQ(label->focusControl(), edit);
    EXPECT_EQ(getPropText(*label, "FocusControl"), "TZEDit1");
    EXPECT_THROW(setPropText(*label, "FocusControl", "Nobody"), EPropertyError);
    // A reference must be of the property's class.
    auto* menu = new TPopupMenu(form);
    menu->setName("CompPopup");
    EXPECT_THROW(setPropText(*label, "FocusControl", "CompPopup"), EPropertyError);
    setPropText(*label, "PopupMenu", "CompPopup");
    EXPECT_EQ(label->popupMenu(), menu);
    setPropText(*label, "FocusControl", "");
    EXPECT_EQ(label->focusControl(), nullptr);
    // Owner.Name finds a component of another top-level window.
    auto* other = createForm<TForm>(&app);
    other->setName("frmOther");
    auto* far = new TEdit(other);
    far->setName("edtFar");
    setPropText(*label, "FocusControl", "frmOther.edtFar");
    EXPECT_EQ(label->focusControl(), far);
    EXPECT_EQ(getPropText(*label, "FocusControl"), "frmOther.edtFar");
}

TEST_F(ToolkitTest, EventPropertiesBindToAWindowsHandlersByName)
{
    auto* design = createForm<TDesignForm>(&app);
    design->setName("frmClientMain");
    design->setBounds(0, 0, 400, 300);
    auto* btn = new TBitBtn(design);
    btn->setName("btnSave");
    btn->setParent(design);
    btn->setBounds(10, 10, 75, 25);
    auto* edit = new TEdit(design);
    edit->setName("TZEDit1");
    edit->setParent(design);
    edit->setBounds(10, 50, 121, 21);

    bindEvent(*btn, "OnMouseDown", *design, "ComponentMouseDown");
    setPropText(*edit, "OnKeyDown", "ControlKeyDown");  // found in the root window
    setPropText(*btn, "OnClick", "btnSaveClick");
    EXPECT_EQ(getPropText(*btn, "OnClick"), "btnSaveClick");
    EXPECT_EQ(design->methodName(btn->OnClick), "btnSaveClick");

    design->show();
    app.click(btn, {3, 4});
    EXPECT_EQ(design->calls, (std::vector<std::string>{"down btnSave 3,4", "save"}));
    app.click(edit);
    app.typeText("x");  // the key-down handler zeroes the key, the character still comes
    app.pressKey(vk::Home);
    EXPECT_EQ(edit->text(), "x");
    EXPECT_EQ(edit->selStart(), 1);

    // A handler of the wrong signature or an unknown name is refused.
    EXPECT_THROW(setPropText(*btn, "OnClick", "ComponentMouseDown"), EPropertyError);
    EXPECT_THROW(bindEvent(*btn, "OnClick", *design, "NoSuchHandler"), EPropertyError);
    // None clears it.
    setPropText(*btn, "OnClick", "");
    EXPECT_FALSE(btn->OnClick);
    bindEvent(*btn, "OnMouseDown", *design, "nil");
    EXPECT_FALSE(btn->OnMouseDown);
}

TEST_F(ToolkitTest, PropertyTablesListAncestorsFirstAndRedeclarationsInPlace)
{
    const ClassInfo& bitBtn = TBitBtn::staticClassInfo();
    auto list = names(bitBtn);
    ASSERT_GE(list.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 11),
              (std::vector<std::string>{"Name", "Tag", "Left", "Top", "Width", "Height", "Cursor", "Hint", "HelpType",
                                        "HelpKeyword", "HelpContext"}));
    // TBitBtn redeclares Caption with a stored condition; it keeps its place.
    auto button = names(TButton::staticClassInfo());
    auto pos = [](const std::vector<std::string>& v, const std::string& n) {
        return std::find(v.begin(), v.end(), n) - v.begin();
    };
    EXPECT_EQ(pos(list, "Caption"), pos(button, "Caption"));
    EXPECT_EQ(list.back(), "Spacing");
    // A tab sheet withdraws its position and size.
    auto sheet = names(TTabSheet::staticClassInfo());
    EXPECT_EQ(pos(sheet, "Left"), static_cast<long>(sheet.size()));
    EXPECT_EQ(sheet[2], "Cursor");

    // Stored conditions are evaluated on the object at hand.
    auto* btn = new TBitBtn(form);
    const PropInfo* glyph = bitBtn.findProperty("Glyph");
    const PropInfo* caption = bitBtn.findProperty("Caption");
    EXPECT_TRUE(glyph->isStored(*btn));
    btn->setKind(TBitBtnKind::bkOK);
    EXPECT_FALSE(glyph->isStored(*btn));
    EXPECT_FALSE(caption->isStored(*btn));
    btn->setCaption("Rendben");
    EXPECT_TRUE(caption->isStored(*btn));
    EXPECT_EQ(btn->modalResult(), mrOk);
    EXPECT_TRUE(btn->isDefault());
}

TEST_F(ToolkitTest, CollectionsAndKeptPropertiesReadBackAsWritten)
{
    auto* bar = make<TStatusBar>("StatusBar1", 0, 0, 536, 19);
    TStatusPanel* p = bar->addPanel();
    p->setWidth(50);
    EXPECT_EQ(bar->panels()->count(), 1);
    EXPECT_EQ(getPropText(*p, "Width"), "50");
    setPropText(*p, "Text", "Kész");
    EXPECT_EQ(p->text(), "Kész");
    EXPECT_EQ(getProp(*bar, "Panels").toObject(), bar->panels());
    // Properties without behaviour keep what is written, defaults otherwise.
    EXPECT_EQ(getPropText(*bar, "HelpType"), "htContext");
    setPropText(*bar, "HelpContext", "12");
    EXPECT_EQ(getPropText(*bar, "HelpContext"), "12");
    EXPECT_EQ(getPropText(*bar, "DragKind"), "dkDrag");
}
