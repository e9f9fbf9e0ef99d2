// Selecting, dragging, moving, sizing and deleting controls on the design
// surface: the handlers that the wiring hooks into every control.
#include "designer/ClientMain.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "designer/DragGrid.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"

namespace velmora {

namespace {

DragBox boxOf(const tk::TControl& c)
{
    return {c.left(), c.top(), c.width(), c.height()};
}

// The field control of a caption label, or none.
tk::TWinControl* labelledField(tk::TObject* c)
{
    auto* label = tk::as<TZEDText>(c);
    return label ? label->focusControl() : nullptr;
}

}  // namespace

void TfrmClientMain::ComponentMouseDown(tk::TObject* sender, tk::TMouseButton button, tk::TShiftState, int, int)
{
    auto* control = tk::as<tk::TControl>(sender);
    // A check box remembers its state at every press, for itself only, so
    // that the release can undo the toggle of a click on the design surface.
    if (auto* box = tk::as<TZEDChxBox>(sender)) {
        CheckedAtDown = box->checked();
        CheckedControl = box;
    }
    int tool = designModel().tool();
    if (button == tk::TMouseButton::mbLeft && tool == -1 && control && !tk::as<tk::TTabSheet>(sender) &&
        !DropDownUsed) {
        DragControl = control;
        MousePoint = control->screenToClient(tk::Application->cursorPos());
        GrabPoint = MousePoint;
    } else {
        DropDownUsed = false;
        DragControl.reset();
    }
}

void TfrmClientMain::ComponentMouseMove(tk::TObject*, tk::TShiftState, int, int)
{
    tk::TControl* c = DragControl.get();
    if (!c || !c->parent()) return;
    tk::TWinControl* parent = c->parent();
    // The cursor, not the handler's X and Y: the event may come from another
    // control than the one dragged.
    MousePoint = parent->screenToClient(tk::Application->cursorPos());
    tk::TWinControl* field = labelledField(c);
    std::optional<DragBox> fieldBox;
    if (field) fieldBox = boxOf(*field);
    DragStep step = dragStep(MousePoint, GrabPoint, parent->clientWidth(), parent->clientHeight(), boxOf(*c), fieldBox);
    if (step.left) {
        c->setLeft(*step.left);
        if (field) field->setLeft(*step.left - step.dx);
    }
    if (step.top) {
        c->setTop(*step.top);
        if (field) field->setTop(*step.top - step.dy);
    }
}

void TfrmClientMain::ComponentMouseUp(tk::TObject* sender, tk::TMouseButton, tk::TShiftState, int, int)
{
    if (auto* box = tk::as<TZEDChxBox>(sender); box && CheckedControl.get() == box) box->setChecked(CheckedAtDown);
    DragControl.reset();
    auto* control = tk::as<tk::TControl>(sender);
    if (!control) return;
    DesignModel& model = designModel();
    if (!model.selectionHeld() && model.selectedControl() != control) model.showControl(control);
}

void TfrmClientMain::ControlKeyDown(tk::TObject* sender, uint16_t& key, tk::TShiftState shift)
{
    auto* c = tk::as<tk::TControl>(sender);
    if (c && (shift & tk::ssAlt)) {
        bool size = shift & tk::ssCtrl;
        switch (key) {
        case tk::vk::Left: size ? c->setWidth(c->width() - 4) : c->setLeft(c->left() - 4); break;
        case tk::vk::Up: size ? c->setHeight(c->height() - 4) : c->setTop(c->top() - 4); break;
        case tk::vk::Right: size ? c->setWidth(c->width() + 4) : c->setLeft(c->left() + 4); break;
        case tk::vk::Down: size ? c->setHeight(c->height() + 4) : c->setTop(c->top() + 4); break;
        default: break;
        }
    }
    if (DesignMode) key = 0;
}

void TfrmClientMain::ControlKeyPress(tk::TObject*, char32_t& key)
{
    if (DesignMode) key = 0;
}

void TfrmClientMain::ComponentEnter(tk::TObject* sender)
{
    designModel().showControl(tk::as<tk::TControl>(sender));
}

void TfrmClientMain::ZEDPickerDropDownCloseUp(tk::TObject*)
{
    DropDownUsed = true;
}

void TfrmClientMain::pmiDeleteClick(tk::TObject*)
{
    tk::TComponent* target = CompPopup ? CompPopup->popupComponent() : nullptr;
    if (!target) return;
    // A caption label takes its field control with it.
    if (tk::TWinControl* field = labelledField(target)) field->free();
    target->free();
    designModel().showControl(nullptr);
}

}  // namespace velmora
