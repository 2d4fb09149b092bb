// The desktop icons' label background through the Win32 API. No Qt here, so that it can be
// checked with a cross compiler on its own.
#pragma once

namespace deskleaf::windows {

// Finds the desktop's list view (Program Manager, then its shell view, then the list view)
// and sets its text background to none, then repaints it. Where a window is not found the
// calls go to no window and do nothing; nothing is reported.
void clearDesktopLabelBackground();

} // namespace deskleaf::windows
