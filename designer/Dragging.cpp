// Selecting, dragging, moving, sizing and deleting controls on the design
// surface: the handlers that the wiring hooks into every control.
#include "designer/ClientMain.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "model/MoveDrag.h"
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
    std::vector<tk::TControl*> others = designModel().selectedWith(c);
    std::vector<PlacedBox> placed;
    for (tk::TControl* o : others)
        placed.push_back(
            {boxOf(*o), o->parent() ? o->parent()->clientWidth() : 0, o->parent() ? o->parent()->clientHeight() : 0});
    DragMove move = moveDrag(MousePoint, GrabPoint, parent->clientWidth(), parent->clientHeight(), boxOf(*c),
                             field ? std::optional<DragBox>(boxOf(*field)) : std::nullopt, placed);
    if (move.left) {
        c->setLeft(*move.left);
        if (field) field->setLeft(*move.left - move.dx);
        for (tk::TControl* o : others) o->setLeft(o->left() + move.othersDx);
    }
    if (move.top) {
        c->setTop(*move.top);
        if (field) field->setTop(*move.top - move.dy);
        for (tk::TControl* o : others) o->setTop(o->top() + move.othersDy);
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
    auto* focused = tk::as<tk::TControl>(sender);
    if (focused && (shift & tk::ssAlt)) {
        bool size = shift & tk::ssCtrl;
        // The focused control and the rest of its multiple selection, each
        // by the same steps.
        std::vector<tk::TControl*> controls = designModel().selectedWith(focused);
        controls.insert(controls.begin(), focused);
        for (tk::TControl* c : controls) switch (key) {
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
    // The control the menu was opened on, and the rest of its multiple
    // selection; a caption label takes its field control with it.
    std::vector<tk::ComponentRef<tk::TComponent>> doomed{target};
    for (tk::TControl* c : designModel().selectedWith(tk::as<tk::TControl>(target))) doomed.emplace_back(c);
    for (tk::ComponentRef<tk::TComponent>& c : doomed) {
        if (!c) continue;
        if (tk::TWinControl* field = labelledField(c.get())) field->free();
        if (c) c->free();
    }
    designModel().showControl(nullptr);
}

}  // namespace velmora
