// Placing a new control: a release on an empty spot of a tab sheet while
// the palette has a control tool chosen.
#include "designer/ClientMain.h"

#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/PageControl.h"

namespace velmora {

namespace {

// Names `c` with the lowest free number after its class name (TZEDit1,
// TZEDit2, ...), compared without regard to case among the window's
// components.
void nameAfterClass(tk::TComponent& window, tk::TComponent& c)
{
    c.setName(window.uniqueName(c.className()));
}

}  // namespace

void TfrmClientMain::tsMouseUp(tk::TObject* sender, tk::TMouseButton, tk::TShiftState, int x, int y)
{
    DragControl.reset();
    const DesignModel& model = designModel();
    int tool = model.tool();
    auto* sheet = tk::as<tk::TWinControl>(sender);
    if (tool <= -1 || !sheet || tool >= static_cast<int>(model.ControlClasses.size())) return;
    placeControl(*model.ControlClasses[static_cast<size_t>(tool)], sheet, x, y);
}

bool TfrmClientMain::placeChosenTool()
{
    const DesignModel& model = designModel();
    int tool = model.tool();
    if (tool <= -1 || tool >= static_cast<int>(model.ControlClasses.size())) return false;
    auto* pages = tk::as<tk::TPageControl>(findComponent("pcData"));
    tk::TTabSheet* sheet = pages ? pages->activePage() : nullptr;
    if (!sheet) return false;
    // Below the selected control when it stands on this sheet, else at
    // the field column's top; then down a line at a time, on the 4-pixel
    // grid, until the line is free of other controls.
    int x = 104, y = 16;
    if (tk::TControl* selected = model.selectedControl(); selected && selected->parent() == sheet) {
        x = selected->left();
        y = selected->top() + selected->height() + 8;
    }
    x -= x % 4;
    y -= y % 4;
    // The band a field with its caption label takes.
    int left = x - 96, right = x + 184;
    auto lineTaken = [&](int top) {
        for (tk::TControl* c : sheet->controls())
            if (c->top() < top + 24 && c->top() + c->height() > top && c->left() < right &&
                c->left() + c->width() > left)
                return true;
        return false;
    };
    while (lineTaken(y) && y + 24 < sheet->height()) y += 8;
    placeControl(*model.ControlClasses[static_cast<size_t>(tool)], sheet, x, y);
    return true;
}

tk::TControl* TfrmClientMain::placeControl(const tk::ClassInfo& cls, tk::TWinControl* sheet, int x, int y)
{
    auto* control = tk::as<tk::TControl>(cls.create(this));
    if (!control) throw tk::EComponentError("Class " + cls.name + " cannot be placed");
    DesignModel& model = designModel();
    model.setSelectedControl(control);
    control->setParent(sheet);
    nameAfterClass(*this, *control);
    control->setTop(y);
    control->setLeft(x);
    if (auto* edit = tk::as<TZEDit>(control)) edit->setText("");
    tk::setProp(*control, "Tag", tk::Value(1));

    if (tk::as<TZEDit>(control) || tk::as<TZEDPicker>(control)) {
        auto* label = new TZEDText(this);
        model.setCaptionControl(label);
        label->setParent(sheet);
        nameAfterClass(*this, *label);
        label->setCaption("Mezőnév:");
        label->setTop(y + 4);
        int w = model.captionWidth("Mezőnév:");
        label->setLeft(x - (w + 4));
        tk::setProp(*label, "FocusControl", tk::Value(static_cast<tk::TComponent*>(control)));
        // A label's wiring: the mouse handlers and the context menu.
        HookComponent(label);
    } else {
        tk::setProp(*control, "Caption", tk::Value("Mezőnév:"));
        model.setCaptionControl(control);
    }
    HookComponent(control);

    model.setTool(-1);
    if (tk::as<TZEDText>(control)) model.showControl(control);
    else if (auto* w = tk::as<tk::TWinControl>(control)) w->setFocus();
    return control;
}

}  // namespace velmora
