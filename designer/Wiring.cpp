// Design-time wiring: the handlers that make the controls on the two tab
// sheets answer as design objects, switched on and off around saving and
// opening, and the context menu with its one item "Törlés". Every handler
// is bound by its name through the control's published event property, so
// a control that lacks one raises "Property %s does not exist".
#include "designer/ClientMain.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/WinControl.h"

namespace velmora {

namespace {

// The direct child controls of a tab sheet, in child order, as references:
// hooking may destroy nothing, but nothing may dangle either.
std::vector<tk::TControl*> childrenOf(tk::TWinControl* sheet)
{
    return sheet ? sheet->controls() : std::vector<tk::TControl*>{};
}

}  // namespace

void TfrmClientMain::PrepareDesignSurface()
{
    DesignMode = true;
    DragControl.reset();
    DesignModel& model = designModel();
    model.ControlClasses = {&TZEDit::staticClassInfo(), &TZEDText::staticClassInfo(), &TZEDPicker::staticClassInfo(),
                            &TZEDChxBox::staticClassInfo()};
    model.FieldClasses = {db::FieldKind::Integer, db::FieldKind::String, db::FieldKind::DateTime, db::FieldKind::Bytes,
                          db::FieldKind::Field};
    HookDesignEvents();
}

void TfrmClientMain::HookDesignEvents()
{
    auto* menu = new tk::TPopupMenu(this);
    menu->setName("CompPopup");
    CompPopup = menu;
    auto* item = new tk::TMenuItem(this);
    pmiDelete = item;
    item->setCaption("Törlés");
    tk::bindEvent(*item, "OnClick", *this, "pmiDeleteClick");
    menu->items()->add(item);

    for (const char* sheetName : {"tsEdit", "tsSearch"}) {
        auto* sheet = tk::as<tk::TWinControl>(findComponent(sheetName));
        if (!sheet) continue;
        tk::bindEvent(*sheet, "OnMouseMove", *this, "ComponentMouseMove");
        tk::bindEvent(*sheet, "OnMouseUp", *this, "tsMouseUp");
        for (tk::TControl* c : childrenOf(sheet)) HookComponent(c);
    }
    tk::bindEvent(*this, "OnDestroy", *this, "FormDestroy");
    tk::bindEvent(*this, "OnHide", *this, "FormHide");
    tk::bindEvent(*this, "OnShow", *this, "FormShow");
}

void TfrmClientMain::HookComponent(tk::TControl* control)
{
    tk::bindEvent(*control, "OnMouseDown", *this, "ComponentMouseDown");
    tk::bindEvent(*control, "OnMouseMove", *this, "ComponentMouseMove");
    tk::bindEvent(*control, "OnMouseUp", *this, "ComponentMouseUp");
    tk::setProp(*control, "PopupMenu", tk::Value(static_cast<tk::TComponent*>(CompPopup.get())));
    if (!tk::as<TZEDText>(control)) {
        tk::bindEvent(*control, "OnKeyDown", *this, "ControlKeyDown");
        tk::bindEvent(*control, "OnKeyPress", *this, "ControlKeyPress");
        tk::bindEvent(*control, "OnEnter", *this, "ComponentEnter");
    }
    if (tk::as<TZEDPicker>(control)) {
        tk::bindEvent(*control, "OnDropDown", *this, "ZEDPickerDropDownCloseUp");
        tk::bindEvent(*control, "OnCloseUp", *this, "ZEDPickerDropDownCloseUp");
    }
    // A glyph button selects on the design surface; it acts on nothing.
    if (tk::as<tk::TBitBtn>(control)) tk::bindEvent(*control, "OnClick", *this, "");
}

void TfrmClientMain::UnhookDesignEvents()
{
    std::vector<tk::TWinControl*> sheets;
    for (const char* sheetName : {"tsEdit", "tsSearch"})
        if (auto* sheet = tk::as<tk::TWinControl>(findComponent(sheetName))) {
            tk::bindEvent(*sheet, "OnMouseMove", *this, "");
            tk::bindEvent(*sheet, "OnMouseUp", *this, "");
            sheets.push_back(sheet);
        }
    tk::bindEvent(*this, "OnCreate", *this, "");
    tk::bindEvent(*this, "OnDestroy", *this, "");
    tk::bindEvent(*this, "OnHide", *this, "");
    for (tk::TWinControl* sheet : sheets)
        for (tk::TControl* c : childrenOf(sheet)) UnhookComponent(c);
    // The menu's item goes with it; every PopupMenu reference becomes none.
    if (CompPopup) CompPopup->free();
    if (pmiDelete) pmiDelete->free();
}

void TfrmClientMain::UnhookComponent(tk::TControl* control)
{
    tk::bindEvent(*control, "OnMouseDown", *this, "");
    tk::bindEvent(*control, "OnMouseMove", *this, "");
    tk::bindEvent(*control, "OnMouseUp", *this, "");
    if (!tk::as<TZEDText>(control)) {
        tk::bindEvent(*control, "OnKeyDown", *this, "");
        tk::bindEvent(*control, "OnKeyPress", *this, "");
        tk::bindEvent(*control, "OnEnter", *this, "");
    }
    if (tk::as<TZEDPicker>(control)) {
        tk::bindEvent(*control, "OnDropDown", *this, "");
        tk::bindEvent(*control, "OnCloseUp", *this, "");
    }
    // A glyph button gets back the data-entry handler named after it, if
    // the window has one.
    if (tk::as<tk::TBitBtn>(control)) {
        std::string handler = control->name() + "Click";
        tk::bindEvent(*control, "OnClick", *this, findMethod(handler) ? handler : std::string());
    }
    tk::setProp(*control, "Tag", tk::Value(0));
}

}  // namespace velmora
