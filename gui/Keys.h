// Qt key events in the model's terms: virtual-key codes and shift states.
#pragma once

#include "toolkit/core/Types.h"

#include <QKeyEvent>

namespace gui {

// The virtual-key code of a Qt key, or 0 when it has none.
uint16_t virtualKey(const QKeyEvent& e);
tk::TShiftState shiftState(Qt::KeyboardModifiers m, Qt::MouseButtons buttons = Qt::NoButton);
tk::TMouseButton mouseButton(Qt::MouseButton b);

}  // namespace gui
