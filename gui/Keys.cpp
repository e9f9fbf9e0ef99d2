// Key and mouse button mapping.
#include "gui/Keys.h"

namespace gui {

uint16_t virtualKey(const QKeyEvent& e)
{
    switch (e.key()) {
    case Qt::Key_Backspace: return tk::vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return tk::vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return tk::vk::Return;
    case Qt::Key_Shift: return tk::vk::Shift;
    case Qt::Key_Control: return tk::vk::Control;
    case Qt::Key_Alt: return tk::vk::Menu;
    case Qt::Key_Escape: return tk::vk::Escape;
    case Qt::Key_Space: return tk::vk::Space;
    case Qt::Key_PageUp: return tk::vk::Prior;
    case Qt::Key_PageDown: return tk::vk::Next;
    case Qt::Key_End: return tk::vk::End;
    case Qt::Key_Home: return tk::vk::Home;
    case Qt::Key_Left: return tk::vk::Left;
    case Qt::Key_Up: return tk::vk::Up;
    case Qt::Key_Right: return tk::vk::Right;
    case Qt::Key_Down: return tk::vk::Down;
    case Qt::Key_Insert: return tk::vk::Insert;
    case Qt::Key_Delete: return tk::vk::Delete;
    default: break;
    }
    int k = e.key();
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return static_cast<uint16_t>(tk::vk::F1 + (k - Qt::Key_F1));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<uint16_t>('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<uint16_t>('A' + (k - Qt::Key_A));
    if (!e.text().isEmpty()) return 0xDE;  // a character key without a code of its own
    return 0;
}

tk::TShiftState shiftState(Qt::KeyboardModifiers m, Qt::MouseButtons buttons)
{
    tk::TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= tk::ssShift;
    if (m & Qt::ControlModifier) s |= tk::ssCtrl;
    if (m & Qt::AltModifier) s |= tk::ssAlt;
    if (buttons & Qt::LeftButton) s |= tk::ssLeft;
    if (buttons & Qt::RightButton) s |= tk::ssRight;
    if (buttons & Qt::MiddleButton) s |= tk::ssMiddle;
    return s;
}

tk::TMouseButton mouseButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return tk::TMouseButton::mbRight;
    case Qt::MiddleButton: return tk::TMouseButton::mbMiddle;
    default: return tk::TMouseButton::mbLeft;
    }
}

}  // namespace gui
