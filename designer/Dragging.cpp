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

// The other controls of a multiple selection that `c` belongs to (as
// itself or as the caption label of a selected field control); none when
// `c` is not selected with others.
std::vector<tk::TControl*> othersSelectedWith(tk::TControl* c)
{
    DesignModel& model = designModel();
    std::vector<tk::TControl*> selected = model.selection();
    if (selected.size() < 2 || !model.isSelected(c)) return {};
    tk::TControl* member = DesignModel::selectionMember(c);
    std::erase_if(selected, [&](tk::TControl* s) { return s == member || s == c; });
    return selected;
}

// Whether every control stays strictly inside its tab sheet when moved by
// (dx, dy), as a dragged control does.
bool allStayInside(const std::vector<tk::TControl*>& controls, int dx, int dy)
{
    for (tk::TControl* c : controls) {
        tk::TWinControl* p = c->parent();
        int left = c->left() + dx, top = c->top() + dy;
        if (!p || (dx && (left <= 0 || left >= p->clientWidth() - c->width())) ||
            (dy && (top <= 0 || top >= p->clientHeight() - c->height())))
            return false;
    }
    return true;
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
    // The rest of a multiple selection moves by the same distance; an axis
    // on which one of them would leave its tab sheet moves none of them.
    std::vector<tk::TControl*> others = othersSelectedWith(c);
    if (step.left) {
        int newLeft = *step.left, dx = newLeft - c->left();
        if (!dx || allStayInside(others, dx, 0)) {
            c->setLeft(newLeft);
            if (field) field->setLeft(newLeft - step.dx);
            for (tk::TControl* o : others) o->setLeft(o->left() + dx);
        }
    }
    if (step.top) {
        int newTop = *step.top, dy = newTop - c->top();
        if (!dy || allStayInside(others, 0, dy)) {
            c->setTop(newTop);
            if (field) field->setTop(newTop - step.dy);
            for (tk::TControl* o : others) o->setTop(o->top() + dy);
        }
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
        std::vector<tk::TControl*> controls = othersSelectedWith(focused);
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
    for (tk::TControl* c : othersSelectedWith(tk::as<tk::TControl>(target))) doomed.emplace_back(c);
    for (tk::ComponentRef<tk::TComponent>& c : doomed) {
        if (!c) continue;
        if (tk::TWinControl* field = labelledField(c.get())) field->free();
        if (c) c->free();
    }
    designModel().showControl(nullptr);
}

}  // namespace velmora
