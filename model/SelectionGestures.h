// The selection as a person sees and makes it on the design surface: the
// overlay that draws the selected controls' handles and a rubber band, and
// that sees the mouse before the design-time handlers do. It sizes a
// control by a handle, draws a rubber band from an empty spot of a tab
// sheet, adds and takes out controls with Shift, narrows a multiple
// selection to the control clicked, and offers alignment in the context
// menu of a multiple selection. Everything else goes on to the handlers
// unchanged; no gesture sets an event property or owns a component of the
// window. It also takes the keys of undo, redo, copy and paste, and keeps
// the design's history in step with every input.
#pragma once

#include "model/SelectionGeometry.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/windows/Overlay.h"

#include <array>
#include <optional>

namespace tk {
class TWinControl;
}

namespace velmora {

class DesignModel;

class SelectionGestures : public tk::Overlay {
public:
    explicit SelectionGestures(DesignModel& model) : model_(model) {}

    bool mouseDown(tk::TMouseButton button, tk::TShiftState shift, tk::TPoint screen, tk::TControl* target) override;
    bool mouseMove(tk::TShiftState shift, tk::TPoint screen) override;
    bool mouseUp(tk::TMouseButton button, tk::TShiftState shift, tk::TPoint screen, tk::TControl* target) override;
    // Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+C copies and
    // Ctrl+V pastes, Insert places the chosen tool's control, Ctrl+Tab
    // turns the pages, while the design surface is the active window.
    bool keyDown(uint16_t key, tk::TShiftState shift) override;
    // The history starts before the first input and records after each.
    void inputStarting() override;
    void inputHandled() override;
    void marks(const tk::TCustomForm& window, std::vector<Mark>& out) const override;
    std::optional<tk::TRect> band(const tk::TCustomForm& window) const override;
    Cursor cursorAt(tk::TPoint screen) const override;
    bool designs(const tk::TControl& control) const override { return onSurface(&control); }

    // A control's rectangle and its handles in screen coordinates.
    static tk::TRect screenBox(const tk::TControl& c);
    static std::array<tk::TRect, 8> screenHandles(const tk::TControl& c);

private:
    struct HandleHit {
        tk::TControl* control;
        Handle handle;
    };
    std::optional<HandleHit> handleAt(tk::TPoint screen) const;
    // A control placed on a tab sheet of the design surface.
    bool onSurface(const tk::TControl* c) const;
    void offerAlignment(tk::TControl& target);

    DesignModel& model_;
    enum class Gesture { None, Sizing, BandPending, Banding, Swallowed, PressOnSelected };
    Gesture gesture_ = Gesture::None;
    tk::TPoint pressed_;
    // Sizing: the control, its handle, its box at the press, and where the
    // handle was grabbed relative to the moved edges.
    tk::ComponentRef<tk::TControl> sized_;
    Handle handle_ = Handle::TopLeft;
    tk::TRect startBox_;
    tk::TPoint grab_;
    // The rubber band's tab sheet and its far corner.
    tk::ComponentRef<tk::TWinControl> bandSheet_;
    tk::TPoint bandEnd_;
    tk::ComponentRef<tk::TControl> pressedMember_;
    // The box of another window being typed into: its keystrokes make one
    // step, recorded when the focus leaves it.
    tk::ComponentRef<tk::TWinControl> typingIn_;
};

}  // namespace velmora
