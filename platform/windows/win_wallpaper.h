// The desktop wallpaper through the Win32 API. No Qt here, so that it can be checked
// with a cross compiler on its own.
#pragma once

#include <string>

namespace deskleaf::windows {

// Shows the picture at path (a full native path) stretched as the wallpaper and stores it
// in the user's profile; an empty path leaves the desktop without a picture. Returns what
// failed in words for the user, empty on success.
std::wstring setDesktopWallpaper(const std::wstring& path);

} // namespace deskleaf::windows
