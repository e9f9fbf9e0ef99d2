// One input event: what a gesture carries from the input API to a control's
// own handling and on to its event handler, in one struct for both.
#pragma once

#include "toolkit/core/Types.h"

#include <cstdint>

namespace tk {

enum class InputType { MouseDown, MouseMove, MouseUp, KeyDown, KeyPress, KeyUp, Enter, Exit };

// Mouse positions are in the receiving control's client coordinates. A key
// or character that an event handler changes (to 0, say) is what the
// control's own handling sees after it.
struct InputEvent {
    InputType type = InputType::MouseMove;
    TMouseButton button = TMouseButton::mbLeft;
    TShiftState shift = 0;
    int x = 0;
    int y = 0;
    uint16_t key = 0;
    char32_t ch = 0;
    bool doubleClick = false;
    bool byKeyboard = false;  // Enter: the focus arrived by Tab
};

}  // namespace tk
