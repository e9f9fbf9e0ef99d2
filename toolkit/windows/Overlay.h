// A layer over the windows that a design tool lays there: it sees the mouse
// and the keys before the controls do (and may keep a gesture for itself),
// draws marks over a window, and chooses the mouse cursor. Nothing of it is
// a component, so nothing of it is ever stored with a window.
#pragma once

#include "toolkit/core/Types.h"

#include <optional>
#include <vector>

namespace tk {

class TControl;
class TCustomForm;

class Overlay {
public:
    enum class Cursor { Arrow, SizeWE, SizeNS, SizeNWSE, SizeNESW };
    // A small square over a window, in screen coordinates: filled or hollow.
    struct Mark {
        TRect rect;
        bool filled;
    };

    // Each returns true when the overlay keeps the event: the control under
    // the mouse (`target`, or none) then never hears of it.
    virtual bool mouseDown(TMouseButton, TShiftState, TPoint /*screen*/, TControl* /*target*/) { return false; }
    virtual bool mouseMove(TShiftState, TPoint /*screen*/) { return false; }
    virtual bool mouseUp(TMouseButton, TShiftState, TPoint /*screen*/, TControl* /*target*/) { return false; }
    // A key before the focused control (and a window previewing keys)
    // hears it; true keeps it, and no character follows.
    virtual bool keyDown(uint16_t /*key*/, TShiftState) { return false; }
    // Around every press, release, key and character the application
    // handles (not mouse movements): before anything of it happens, and
    // after all of it has.
    virtual void inputStarting() {}
    virtual void inputHandled() {}

    // What is drawn over `window`: marks, and a rubber band, when one is
    // being drawn, in screen coordinates.
    virtual void marks(const TCustomForm& /*window*/, std::vector<Mark>& /*out*/) const {}
    virtual std::optional<TRect> band(const TCustomForm& /*window*/) const { return std::nullopt; }
    virtual Cursor cursorAt(TPoint /*screen*/) const { return Cursor::Arrow; }
    // The control is one the tool is designing (placed on the window it
    // designs), so that a screen reader describes it as a design's part.
    virtual bool designs(const TControl& /*control*/) const { return false; }

protected:
    ~Overlay() = default;
};

}  // namespace tk
