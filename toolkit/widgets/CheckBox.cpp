// Check boxes.
#include "toolkit/widgets/CheckBox.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

namespace tk {

TK_DEFINE_CLASS(TCheckBox, TWinControl)
{
    using namespace published;
    tabStop(t);
    action(t);
    t.enumeration("Alignment", types::leftRight(), &TCheckBox::alignment, &TCheckBox::setAlignment,
                  TLeftRight::taRightJustify);
    t.boolean("AllowGrayed", &TCheckBox::allowGrayed, &TCheckBox::setAllowGrayed, false);
    anchors(t);
    bidi(t);
    caption(t);
    t.boolean("Checked", &TCheckBox::checked, &TCheckBox::setChecked, false);
    color(t);
    constraints(t);
    ctl3D(t);
    drag(t);
    enabled(t);
    font(t);
    parentBidi(t);
    parentColor(t, true);
    parentCtl3D(t);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    t.enumeration("State", types::checkBoxState(), &TCheckBox::state, &TCheckBox::setState,
                  TCheckBoxState::cbUnchecked);
    tabOrder(t);
    visible(t);
    t.boolean("WordWrap", &TCheckBox::wordWrap, &TCheckBox::setWordWrap, false);
    click(t);
    contextPopup(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag"});
    focusEvents(t);
    keyEvents(t);
    mouseEvents(t);
    keptEvents(t, {"OnStartDock", "OnStartDrag"});
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner)
{
    setTabStop(true);
    setBoundsRaw(0, 0, 97, 17);
}

void TCheckBox::setState(TCheckBoxState v)
{
    if (v == state_) return;
    state_ = v;
    invalidate();
    if (!loading()) click();
}

void TCheckBox::toggle()
{
    switch (state_) {
    case TCheckBoxState::cbUnchecked:
        setState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbGrayed: setState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked: setState(TCheckBoxState::cbUnchecked); break;
    }
}

bool TCheckBox::handle(InputEvent& e)
{
    bool act = false;
    if (!press_.handle(*this, e, true, act)) return TWinControl::handle(e);
    if (act) toggle();
    return true;
}

}  // namespace tk
