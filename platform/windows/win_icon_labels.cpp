#include "platform/windows/win_icon_labels.h"

#include <windows.h>

#include <commctrl.h>

namespace deskleaf::windows {

void clearDesktopLabelBackground()
{
    HWND programManager = FindWindowA(nullptr, "Program Manager");
    HWND shellView = FindWindowExA(programManager, nullptr, "SHELLDLL_DefView", nullptr);
    HWND listView = FindWindowExA(shellView, nullptr, "SysListView32", nullptr);
    SendMessageA(listView, LVM_SETTEXTBKCOLOR, 0, LPARAM(CLR_NONE));
    InvalidateRect(listView, nullptr, TRUE);
}

} // namespace deskleaf::windows
