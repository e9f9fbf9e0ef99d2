// A transient window that takes the mouse and keyboard while it is open:
// a context menu, a combo box's drop-down list, a date picker's calendar.
// The application keeps at most one open; a press outside closes it.
#pragma once

#include "toolkit/core/Types.h"

#include <cstdint>

namespace tk {

class TComponent;
class TControl;

class TPopup {
public:
    virtual ~TPopup();
    virtual TRect screenRect() const = 0;
    virtual void popupMouseDown(TMouseButton, TPoint /*screen*/) {}
    virtual void popupMouseMove(TPoint /*screen*/) {}
    virtual void popupMouseUp(TMouseButton, TPoint /*screen*/) {}
    // Returns whether the popup used the key.
    virtual bool popupKeyDown(uint16_t /*key*/, TShiftState) { return false; }
    virtual bool popupKeyPress(char32_t) { return false; }
    // Told after the application closed the popup (press outside, Esc...).
    virtual void popupClosed() {}
    // The control whose popup this is (a combo box, a date picker), if any.
    virtual TControl* popupOwner() const { return nullptr; }
    // The component that is itself the popup (a context menu), if any, so
    // that a caller finds its class through the class table.
    virtual TComponent* popupAsComponent() { return nullptr; }
    bool isOpen() const;
};

}  // namespace tk
