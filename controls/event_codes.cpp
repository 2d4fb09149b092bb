#include "controls/event_codes.h"

#include <QKeyEvent>

#include <utility>

namespace deskleaf {

short buttonCode(Qt::MouseButtons buttons)
{
    return short((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                 (buttons & Qt::MiddleButton ? 4 : 0));
}

short shiftCode(Qt::KeyboardModifiers modifiers)
{
    return short((modifiers & Qt::ShiftModifier ? 1 : 0) |
                 (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0));
}

short keyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) ||
        key == Qt::Key_Space)
        return short(key); // Qt uses the same codes for these
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return short(0x70 + key - Qt::Key_F1);
    static const std::pair<int, short> codes[] = {
        {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},    {Qt::Key_Backtab, 0x09},
        {Qt::Key_Return, 0x0d},    {Qt::Key_Enter, 0x0d},  {Qt::Key_Shift, 0x10},
        {Qt::Key_Control, 0x11},   {Qt::Key_Alt, 0x12},    {Qt::Key_Pause, 0x13},
        {Qt::Key_CapsLock, 0x14},  {Qt::Key_Escape, 0x1b}, {Qt::Key_PageUp, 0x21},
        {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},    {Qt::Key_Home, 0x24},
        {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},     {Qt::Key_Right, 0x27},
        {Qt::Key_Down, 0x28},      {Qt::Key_Insert, 0x2d}, {Qt::Key_Delete, 0x2e},
    };
    for (const auto& [qtKey, code] : codes)
        if (qtKey == key)
            return code;
    return 0;
}

} // namespace deskleaf
