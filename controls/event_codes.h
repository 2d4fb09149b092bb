// The numbers the controls' mouse and key events carry, as the original platform gives them.
#pragma once

#include <Qt>

class QKeyEvent;

namespace deskleaf {

// 1 left, 2 right, 4 middle, added together.
short buttonCode(Qt::MouseButtons buttons);
// 1 Shift, 2 Ctrl, 4 Alt, added together.
short shiftCode(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a key: letters, digits, F-keys and the editing and arrow keys;
// 0 for keys without one here.
short keyCode(const QKeyEvent& event);

} // namespace deskleaf
