// The press and release of a button-like control: pressed with the left
// mouse button (or Space while it has the focus) and released over it, the
// control acts. Buttons, check boxes and speed buttons share it.
#pragma once

#include "toolkit/widgets/Control.h"

namespace tk {

class PressTracker {
public:
    // Takes the mouse and Space events of `c`; returns whether it used `e`,
    // and sets `act` when the release means the control should act.
    bool handle(TControl& c, const InputEvent& e, bool withSpace, bool& act);
    // Drawn down: held by Space, or by the mouse while it is over the control.
    bool shownDown() const { return bySpace_ || (byMouse_ && inside_); }

private:
    bool byMouse_ = false;
    bool bySpace_ = false;
    bool inside_ = false;
};

}  // namespace tk
