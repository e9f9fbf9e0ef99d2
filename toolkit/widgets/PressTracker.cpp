// Press and release of button-like controls.
#include "toolkit/widgets/PressTracker.h"

namespace tk {

bool PressTracker::handle(TControl& c, const InputEvent& e, bool withSpace, bool& act)
{
    act = false;
    switch (e.type) {
    case InputType::MouseDown:
        if (e.button == TMouseButton::mbLeft) byMouse_ = inside_ = true;
        c.invalidate();
        return true;
    case InputType::MouseMove: {
        if (!byMouse_) return false;
        bool inside = c.clientRect().contains({e.x, e.y});
        if (inside != inside_) c.invalidate();
        inside_ = inside;
        return true;
    }
    case InputType::MouseUp: {
        bool wasPressed = byMouse_ && e.button == TMouseButton::mbLeft;
        byMouse_ = inside_ = false;
        c.invalidate();
        act = wasPressed && c.clientRect().contains({e.x, e.y});
        return true;
    }
    case InputType::KeyDown:
        if (!withSpace || e.key != vk::Space) return false;
        bySpace_ = true;
        c.invalidate();
        return true;
    case InputType::KeyUp:
        if (!withSpace || e.key != vk::Space || !bySpace_) return false;
        bySpace_ = false;
        c.invalidate();
        act = true;
        return true;
    default: return false;
    }
}

}  // namespace tk
