// When the platform's windows are to be raised and activated: only when
// the model's stacking or its active window changed since they last were,
// never on every redraw. A redraw that raised them would bury the message
// boxes and file dialogs over them where no window manager keeps order.
#pragma once

#include <vector>

namespace gui {

class WindowStacking {
public:
    // The visible windows back to front; whether they are to be raised.
    bool restack(const std::vector<const void*>& backToFront)
    {
        if (backToFront == stacked_) return false;
        stacked_ = backToFront;
        return true;
    }
    // The model's active window; whether it is to be activated.
    bool activate(const void* active)
    {
        if (active == active_) return false;
        active_ = active;
        return true;
    }

private:
    std::vector<const void*> stacked_;
    const void* active_ = nullptr;
};

}  // namespace gui
